// The main routine: titles the program, creates the main window (which runs its start-up
// sequence) and runs the event loop until the main window closes.
#include "Platform.h"
#include "ProgramPicture.h"
#include "TCForm.h"
#include "THForm.h"
#include "TMForm.h"
#include "TerminationSave.h"
#include "WindowHelpers.h"

#include <QApplication>

int main(int argc, char** argv) {
    bansho::platform::PreferXWayland(argc, argv);
    QApplication app(argc, argv);
    // The program's display name is the main window's title, which the main window sets.
    QGuiApplication::setDesktopFileName(QString::fromLatin1(bansho::about::kDesktopFileId));
    bansho::platform::PlatformStartup();

    bansho::TMForm mform;
    bansho::InstallCustomizeDialog(mform); // command 151
    bansho::THForm hform(mform);           // the history window, docked to the main window
    bansho::InstallTerminationSave(mform); // SIGTERM, SIGHUP and logout save as a close does
    bansho::about::SetWindowIconAfterFirstPaint(mform);
    mform.show();
    return app.exec();
}
