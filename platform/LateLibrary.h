#pragma once
// Libraries that most runs never need (sound, the about box's JPEG decoder, the print
// dialog) are opened when first used rather than linked, so that starting pays nothing for
// them. Each stays open for the rest of the run.
#include <dlfcn.h>

namespace bansho::platform {

// The library `file` (a soname or a path); null when it cannot be opened.
inline void* OpenLibrary(const char* file) {
    return dlopen(file, RTLD_NOW | RTLD_LOCAL);
}

// Points `function` at `symbol` of `library`; false when the library has no such symbol.
template <typename F> bool Resolve(void* library, const char* symbol, F& function) {
    function = reinterpret_cast<F>(dlsym(library, symbol));
    return function != nullptr;
}

} // namespace bansho::platform
