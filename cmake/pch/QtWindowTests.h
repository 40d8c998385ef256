// The window tests' common headers: the windows' own and the test framework's. Not QtTest:
// its headers test a macro whose value differs from one test program to the next, and a
// precompiled header is refused where a macro it tested is defined otherwise.
#include "QtWindows.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>
