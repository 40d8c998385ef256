#include "TerminationSave.h"

#include "TMForm.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>

#include <fcntl.h>
#include <unistd.h>

namespace bansho {

namespace {

int g_wakeFds[2] = {-1, -1};

// Only async-signal-safe work here: one byte into the pipe.
void OnTerminationSignal(int sig) {
    const int saved = errno;
    const char byte = static_cast<char>(sig);
    [[maybe_unused]] const ssize_t n = ::write(g_wakeFds[1], &byte, 1);
    errno = saved;
}

} // namespace

void InstallTerminationSave(TMForm& form) {
    if (g_wakeFds[0] < 0 && ::pipe2(g_wakeFds, O_CLOEXEC | O_NONBLOCK) != 0) {
        g_wakeFds[0] = g_wakeFds[1] = -1;
    }
    if (g_wakeFds[0] >= 0) {
        auto* notifier = new QSocketNotifier(g_wakeFds[0], QSocketNotifier::Read, &form);
        QObject::connect(notifier, &QSocketNotifier::activated, &form, [&form] {
            char buf[64];
            while (::read(g_wakeFds[0], buf, sizeof buf) > 0) {
            }
            form.SaveAndQuit();
        });
        struct sigaction sa {};
        sa.sa_handler = OnTerminationSignal;
        sigemptyset(&sa.sa_mask);
        sa.sa_flags = SA_RESTART;
        ::sigaction(SIGTERM, &sa, nullptr);
        // Ctrl+C in the terminal and a closed terminal end the program as SIGTERM does,
        // unless whoever started it asked to ignore them (nohup, a background job).
        for (const int sig : {SIGINT, SIGHUP}) {
            struct sigaction old {};
            if (::sigaction(sig, nullptr, &old) == 0 && old.sa_handler == SIG_IGN) continue;
            ::sigaction(sig, &sa, nullptr);
        }
    }

    // The session manager asks before a logout; the close that may follow asks nothing.
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        QObject::connect(app, &QGuiApplication::commitDataRequest, &form,
                         [&form](QSessionManager&) { form.SaveSettingsQuietly(); });
    }
    // Any other end of the event loop that did not pass through a close.
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, &form,
                     [&form] { form.FinalSave(); });
}

} // namespace bansho
