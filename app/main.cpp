// The main routine: titles the program, creates the main window (which runs its start-up
// sequence) and runs the event loop until the main window closes.
//
// A start while the program runs for the same user brings the running copy to the front and
// ends; "--new-instance" starts another copy all the same.
#include "FirstCopy.h"
#include "LaterStarts.h"
#include "Platform.h"
#include "ProgramPicture.h"
#include "Settings.h"
#include "TCForm.h"
#include "THForm.h"
#include "TMForm.h"
#include "TerminationSave.h"
#include "WindowHelpers.h"

#include <QApplication>

#include <cstring>

namespace {

// Removes `option` from the arguments (Qt never sees it); returns whether it was there.
bool TakeOption(int& argc, char** argv, const char* option) {
    bool found = false;
    int out = 1;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], option) == 0)
            found = true;
        else
            argv[out++] = argv[i];
    }
    argv[out] = nullptr;
    argc = out;
    return found;
}

} // namespace

int main(int argc, char** argv) {
    const bool newInstance = TakeOption(argc, argv, "--new-instance");
    bansho::FirstCopyLock firstCopy(bansho::EnvFileName());
    if (!newInstance && firstCopy.GetRole() == bansho::FirstCopyLock::Role::Later &&
        firstCopy.AskFirstCopyToComeForward())
        return 0;

    bansho::platform::PreferXWayland(argc, argv);
    QApplication app(argc, argv);
    // The program's display name is the main window's title, which the main window sets.
    QGuiApplication::setDesktopFileName(QString::fromLatin1(bansho::about::kDesktopFileId));
    bansho::platform::PlatformStartup();

    bansho::TMForm mform;
    bansho::InstallCustomizeDialog(mform); // command 151
    bansho::THForm hform(mform);           // the history window, docked to the main window
    bansho::InstallTerminationSave(mform); // SIGTERM, SIGINT, SIGHUP and logout save as a close does
    bansho::about::SetWindowIconAfterFirstPaint(mform);
    bansho::platform::AnswerLaterStarts(firstCopy, &mform, [&mform] { mform.ComeForward(); });
    mform.show();
    return app.exec();
}
