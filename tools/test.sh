#!/bin/sh
# Installs what is missing, builds everything in build/ and runs every test.
set -e
cd "$(dirname "$0")/.."
./tools/install-deps.sh
export QT_QPA_PLATFORM=offscreen
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build
ctest --test-dir build --output-on-failure -j2
