#!/bin/sh
# Installs what is missing, checks that every signal connection has a context object, builds
# everything in build/ and runs every test; then builds the program and its tests once more
# in build-asan/ with AddressSanitizer and UndefinedBehaviorSanitizer and runs the whole
# suite again. Any sanitizer report fails that run. The second build leaves out the developer
# tools and benchmarks to save time.
set -e
cd "$(dirname "$0")/.."
./tools/install-deps.sh
./tools/check-connect.sh
export QT_QPA_PLATFORM=offscreen
# Many tests spend part of their time waiting (for a private X server, a child program, a
# timer), so twice as many test processes as cores keep the cores busy.
JOBS=$(( $(nproc) * 2 ))
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build
ctest --test-dir build --output-on-failure -j"$JOBS"

# A sanitizer error stops the process (abort_on_error, -fno-sanitize-recover) and a leak
# makes it exit non-zero, so ctest counts either as a failed test.
export ASAN_OPTIONS="abort_on_error=1:detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$(pwd)/tools/lsan.supp:print_suppressions=0"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBANSHO_SANITIZE=ON \
  -DBANSHO_TOOLS=OFF >/dev/null
cmake --build build-asan
ctest --test-dir build-asan --output-on-failure -j"$JOBS"
