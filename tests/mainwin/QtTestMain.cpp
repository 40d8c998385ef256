// Window tests run offscreen with a real QApplication; beeps and message boxes are caught.
#include "Beep.h"
#include "Fonts.h"
#include "MessageBoxes.h"
#include "OffscreenScreens.h"

#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // One desktop-sized screen, on which the window's design place and width fit.
    QTemporaryDir screens;
    bansho::testing::UseOffscreenScreens(screens.path(), {QRect(0, 0, 1920, 1080)});
    QApplication app(argc, argv);
    bansho::platform::InstallFontSubstitutions();
    bansho::platform::SetBeepHook([] {});
    bansho::platform::SetMessageHook([](const bansho::platform::MessageRequest&) { return false; });
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
