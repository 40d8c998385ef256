// Window tests run offscreen with a real QApplication; beeps and message boxes are caught.
#include "Beep.h"
#include "Fonts.h"
#include "MessageBoxes.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    bansho::platform::InstallFontSubstitutions();
    bansho::platform::SetBeepHook([] {});
    bansho::platform::SetMessageHook([](const bansho::platform::MessageRequest&) { return false; });
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
