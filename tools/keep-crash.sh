#!/bin/sh
# The kept receipt's crash test at full length: the real program on a private X server, typed
# into with real keys and killed with SIGKILL 200 times (ctest runs 20). Usage:
#   tools/keep-crash.sh [build-dir] [rounds]
set -eu
build=${1:-build}
rounds=${2:-200}
BANSHO_CRASH_ROUNDS=$rounds exec "$build/tests/x11/keep_crash_tests" \
  --gtest_filter='KeptReceiptProgram.AKilledProgramLosesAtMostTheActionBeingTyped'
