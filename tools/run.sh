#!/bin/sh
# Installs what is missing, builds バンショ in build/ and starts it.
set -e
cd "$(dirname "$0")/.."
./tools/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build
if [ -x build/bansho ]; then
  exec ./build/bansho
else
  echo "build/bansho is not built yet: the main window does not exist; the engine and its tests were built."
fi
