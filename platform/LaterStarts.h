#pragma once
// The first copy of the program hears later starts: each asks it to come to the front.
#include <functional>

class QObject;

namespace bansho {
class FirstCopyLock;
}

namespace bansho::platform {

// Calls `comeForward` on the event loop each time the program is started again while this
// copy holds `lock`. Nothing happens for a copy that is not the first. `lock` and `context`
// must outlive the event loop.
void AnswerLaterStarts(FirstCopyLock& lock, QObject* context, std::function<void()> comeForward);

} // namespace bansho::platform
