#include "Beep.h"

#include <QApplication>

#include <cstdio>

#ifdef BANSHO_HAVE_CANBERRA
#include <canberra.h>

#include "LateLibrary.h"
#endif

namespace bansho::platform {

namespace {

BeepHook& Hook() {
    static BeepHook hook;
    return hook;
}

#ifdef BANSHO_HAVE_CANBERRA
// The sound library and the five it pulls in (Vorbis, Ogg, tdb, ltdl) are opened at the first
// beep, not at start: most runs never beep, and loading them cost every start time and memory.
struct Canberra {
    decltype(&ca_context_create) create = nullptr;
    decltype(&ca_context_change_props) changeProps = nullptr;
    decltype(&ca_context_play) play = nullptr;
};

// ALSA prints its complaints to stderr: on a machine without a sound card every beep tried
// through it wrote eight lines. Its messages go to a handler that drops them, set before the
// sound library first opens a device.
void DropAlsaMessage(const char*, int, const char*, int, const char*, ...) {}

void SilenceAlsa() {
    void* alsa = OpenLibrary("libasound.so.2");
    if (!alsa) return;
    using Handler = void (*)(const char*, int, const char*, int, const char*, ...);
    int (*setHandler)(Handler) = nullptr;
    if (Resolve(alsa, "snd_lib_error_set_handler", setHandler)) setHandler(&DropAlsaMessage);
}

const Canberra* OpenCanberra() {
    static const Canberra* const library = []() -> const Canberra* {
        SilenceAlsa();
        void* handle = OpenLibrary("libcanberra.so.0");
        if (!handle) return nullptr;
        static Canberra c;
        const bool all = Resolve(handle, "ca_context_create", c.create) &&
                         Resolve(handle, "ca_context_change_props", c.changeProps) &&
                         Resolve(handle, "ca_context_play", c.play);
        return all ? &c : nullptr;
    }();
    return library;
}

// One context for the whole run. ca_context_play hands the sound to the sound server (or
// its own thread) and returns at once; a failure means there is nothing to play through.
ca_context* SoundContext(const Canberra& ca) {
    static ca_context* context = [&ca] {
        ca_context* c = nullptr;
        if (ca.create(&c) != CA_SUCCESS) return static_cast<ca_context*>(nullptr);
        const QByteArray name = QApplication::applicationDisplayName().toUtf8();
        ca.changeProps(c, CA_PROP_APPLICATION_NAME, name.isEmpty() ? "bansho" : name.constData(),
                       nullptr);
        return c;
    }();
    return context;
}

bool PlaySound(const char* eventId, const char* description) {
    // Once nothing could play a sound, the run goes on with the X bell without trying again:
    // a device that is not there does not come with the next beep. A sound the theme lacks
    // says nothing about the device.
    static bool silent = false;
    if (silent) return false;
    const Canberra* ca = OpenCanberra();
    ca_context* c = ca ? SoundContext(*ca) : nullptr;
    const int played = c ? ca->play(c, 0, CA_PROP_EVENT_ID, eventId, CA_PROP_EVENT_DESCRIPTION,
                                    description, nullptr)
                         : CA_ERROR_NOTAVAILABLE;
    if (played == CA_SUCCESS) return true;
    if (played == CA_ERROR_NOTFOUND) return false;
    silent = true;
    std::fputs("bansho: no sound device answers; the beep is the X bell from now on\n", stderr);
    return false;
}
#else
bool PlaySound(const char*, const char*) {
    return false;
}
#endif

bool PlayBell() {
    return PlaySound("bell", "Alert");
}

} // namespace

void Beep() {
    if (const BeepHook& hook = Hook()) {
        hook();
        return;
    }
    if (!PlayBell()) QApplication::beep();
}

void MismatchBeep() {
    if (const BeepHook& hook = Hook()) {
        hook();
        return;
    }
    if (!PlaySound("dialog-warning", "Check")) {
        QApplication::beep();
        QApplication::beep();
    }
}

BeepHook SetBeepHook(BeepHook hook) {
    BeepHook previous = std::move(Hook());
    Hook() = std::move(hook);
    return previous;
}

} // namespace bansho::platform
