#pragma once
// Start-up of the platform layer: call once after QApplication is created.
namespace bansho::platform {

// Font substitutions, and the fallback key layout from the system's keyboard configuration.
void PlatformStartup();

} // namespace bansho::platform
