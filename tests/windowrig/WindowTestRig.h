#pragma once
// The rig of the window tests (main window, history window, dialogs): a real QApplication on
// the offscreen platform with screens of given places and sizes, the program's font
// substitutions, beeps silenced and message boxes caught (answered as if closed).
#include <QRect>

#include <initializer_list>

namespace bansho::testing {

// One desktop-sized screen, on which the main window's design place and width fit (the
// offscreen platform's own default, 800 x 600, is narrower than both together).
inline const QRect kDesktopScreen(0, 0, 1920, 1080);

// Sets up the rig with these screens (the first is the primary one) and runs every test.
int RunWindowTests(int& argc, char** argv, std::initializer_list<QRect> screens = {kDesktopScreen});

} // namespace bansho::testing
