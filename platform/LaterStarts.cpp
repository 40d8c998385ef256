#include "LaterStarts.h"

#include <QSocketNotifier>

#include "FirstCopy.h"

namespace bansho::platform {

void AnswerLaterStarts(FirstCopyLock& lock, QObject* context, std::function<void()> comeForward) {
    if (lock.RequestFd() < 0) return;
    auto* notifier = new QSocketNotifier(lock.RequestFd(), QSocketNotifier::Read, context);
    QObject::connect(notifier, &QSocketNotifier::activated, context,
                     [&lock, comeForward = std::move(comeForward)] {
                         while (lock.AnswerRequest(comeForward)) {
                         }
                     });
}

} // namespace bansho::platform
