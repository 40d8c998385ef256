#include "Beep.h"

#include <QApplication>

#ifdef BANSHO_HAVE_CANBERRA
#include <canberra.h>
#endif

namespace bansho::platform {

namespace {

BeepHook& Hook() {
    static BeepHook hook;
    return hook;
}

#ifdef BANSHO_HAVE_CANBERRA
// One context for the whole run. ca_context_play hands the sound to the sound server (or
// its own thread) and returns at once; a failure means there is nothing to play through.
ca_context* SoundContext() {
    static ca_context* context = [] {
        ca_context* c = nullptr;
        if (ca_context_create(&c) != CA_SUCCESS) return static_cast<ca_context*>(nullptr);
        const QByteArray name = QApplication::applicationDisplayName().toUtf8();
        ca_context_change_props(c, CA_PROP_APPLICATION_NAME,
                                name.isEmpty() ? "bansho" : name.constData(), nullptr);
        return c;
    }();
    return context;
}

bool PlayBell() {
    ca_context* c = SoundContext();
    if (!c) return false;
    return ca_context_play(c, 0, CA_PROP_EVENT_ID, "bell", CA_PROP_EVENT_DESCRIPTION, "Alert",
                           nullptr) == CA_SUCCESS;
}
#else
bool PlayBell() {
    return false;
}
#endif

} // namespace

void Beep() {
    if (const BeepHook& hook = Hook()) {
        hook();
        return;
    }
    if (!PlayBell()) QApplication::beep();
}

BeepHook SetBeepHook(BeepHook hook) {
    BeepHook previous = std::move(Hook());
    Hook() = std::move(hook);
    return previous;
}

} // namespace bansho::platform
