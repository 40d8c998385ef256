// The window tests' common headers: the windows' own and the test frameworks'.
#include "QtWindows.h"

#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>
