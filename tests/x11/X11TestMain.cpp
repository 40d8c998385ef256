// Tests that need a real X server: each run starts its own Xvfb on a free display and runs
// the program's windows there through Qt's xcb platform. No window manager runs, so what the
// windows write is what the tests read.
#include "Beep.h"
#include "Fonts.h"
#include "PrivateXServer.h"

#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdio>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // gtest_discover_tests lists the tests without running them: no server is needed then.
    if (::testing::GTEST_FLAG(list_tests)) return RUN_ALL_TESTS();

    bansho::testing::PrivateXServer server(1280, 1024);
    if (!server.Ok()) {
        std::fprintf(stderr, "no private X server: %s\n", server.Error().c_str());
        return 1;
    }
    // Nothing reaches the user's session: not the display, nor the session bus (a bus that
    // does not exist, so that none is started either).
    QTemporaryDir runtime;
    qputenv("DISPLAY", server.Display().c_str());
    qputenv("QT_QPA_PLATFORM", "xcb");
    qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
    qputenv("DBUS_SESSION_BUS_ADDRESS", ("unix:path=" + runtime.path() + "/no-bus").toUtf8());
    qunsetenv("WAYLAND_DISPLAY");

    QApplication app(argc, argv);
    bansho::platform::InstallFontSubstitutions();
    bansho::platform::SetBeepHook([] {});
    return RUN_ALL_TESTS();
}
