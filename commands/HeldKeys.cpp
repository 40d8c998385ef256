#include "HeldKeys.h"

#include <algorithm>

namespace bansho {

HeldKeys::Key* HeldKeys::Find(unsigned key) {
    const auto it = std::find_if(keys_.begin(), keys_.end(),
                                 [key](const Key& k) { return k.code == key; });
    return it == keys_.end() ? nullptr : &*it;
}

const HeldKeys::Key* HeldKeys::Find(unsigned key) const {
    return const_cast<HeldKeys*>(this)->Find(key);
}

HeldKeys::Key& HeldKeys::Get(unsigned key) {
    if (Key* k = Find(key)) return *k;
    keys_.push_back(Key{key});
    return keys_.back();
}

bool HeldKeys::Press(unsigned key, std::uint64_t time, bool marked, std::uintptr_t window) {
    if (key == 0) return marked;
    Key& k = Get(key);
    // A time of 0 is no time: the accessibility bridge hands on its own copies of the key
    // events without one, so neither a delivery again nor a release and press at one
    // moment can be told from it; a press without a release still repeats.
    const bool timed = time != 0;
    if (timed && k.down && k.pressTime == time) return k.pressRepeat; // delivered once more
    // Down in another window: that window closed on the press, and the release went nowhere.
    const bool heldHere = k.down && k.pressWindow == window;
    const bool repeat = marked || heldHere || (timed && k.released && k.releaseTime == time);
    k.down = true;
    k.pressTime = time;
    k.pressWindow = window;
    k.pressRepeat = repeat;
    return repeat;
}

void HeldKeys::Release(unsigned key, std::uint64_t time, bool marked) {
    if (key == 0 || marked) return;
    Key& k = Get(key);
    k.down = false;
    k.released = true;
    k.releaseTime = time;
}

bool HeldKeys::WasRepeat(unsigned key, std::uint64_t time) const {
    const Key* k = Find(key);
    return k && k->pressTime == time && k->pressRepeat;
}

void HeldKeys::Clear() {
    keys_.clear();
}

} // namespace bansho
