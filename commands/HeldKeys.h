#pragma once
// Tells a key held down from a key pressed again, from the presses and releases of the
// physical keys as the window system delivers them. A held key reaches the program in one
// of three ways: presses marked as repeats; presses without a release in between (what the
// X server sends a client that asked for detectable auto-repeat); or a release and a press
// of the same key with the same timestamp (what it sends any other client, which may read
// them apart on a busy machine and cannot then tell them from a new press).
//
// A key is held in one window. A window that closes on a key's press (a box answered with
// Escape or Enter) never sees its release, which goes to no window of the program; the key's
// next press, in the window that has the keyboard now, is a press of its own.
#include <cstdint>
#include <vector>

namespace bansho {

class HeldKeys {
public:
    // A key went down. `key` names the physical key (the X keycode; 0 when the window system
    // gives none, and then only `marked` counts), `time` is the window system's timestamp in
    // milliseconds (0 when the event carries none, as the accessibility bridge's copies do)
    // and `marked` says whether it marked the press as a repeat; `window` names the window
    // it went to. Returns whether the press repeats a key held down. The same press delivered
    // again (to one widget after another) gets the same answer.
    bool Press(unsigned key, std::uint64_t time, bool marked, std::uintptr_t window);
    // A key came up; a release marked as part of a repeat leaves the key down.
    void Release(unsigned key, std::uint64_t time, bool marked);
    // What Press answered for this key at this time; false for a press never seen.
    bool WasRepeat(unsigned key, std::uint64_t time) const;
    // Forgets every key: the program lost the keyboard, so releases may go elsewhere.
    void Clear();
    // Forgets the keys that `isDown` says are up: the program has the keyboard again, and a
    // key released meanwhile elsewhere is up, while one still held goes on repeating.
    template <typename IsDown>
    void ForgetReleased(IsDown isDown) {
        for (Key& k : keys_)
            if (k.down && !isDown(k.code)) k = Key{k.code};
    }

private:
    struct Key {
        unsigned code = 0;
        bool down = false;
        std::uint64_t pressTime = 0;
        std::uintptr_t pressWindow = 0;
        bool pressRepeat = false;
        bool released = false;
        std::uint64_t releaseTime = 0;
    };
    Key* Find(unsigned key);
    const Key* Find(unsigned key) const;
    Key& Get(unsigned key);

    std::vector<Key> keys_; // the keys seen since the last Clear (a keyboard's worth at most)
};

} // namespace bansho
