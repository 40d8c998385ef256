// The main routine of the window tests: the rig with one desktop-sized screen.
#include "WindowTestRig.h"

int main(int argc, char** argv) {
    return bansho::testing::RunWindowTests(argc, argv);
}
