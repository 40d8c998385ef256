#include "Platform.h"

#include "Fonts.h"
#include "KeyMapping.h"

namespace bansho::platform {

void PlatformStartup() {
    InstallFontSubstitutions();
    SetFallbackLayout(SystemKeyLayout());
}

} // namespace bansho::platform
