#pragma once
// Start-up of the platform layer: call once after QApplication is created.
namespace bansho::platform {

// Font substitutions, and the fallback key layout from the system's keyboard configuration.
void PlatformStartup();

// Qt's own texts (the labels and buttons of its standard dialogs: print, colour, message
// boxes) in the user's language, from Qt's translations folder. Cheap to call again: the
// catalogue is read when a dialog first opens, not at start, and again only when the locale
// has changed since. False when Qt has no catalogue for the language (its English stays).
bool LoadQtTranslations();

} // namespace bansho::platform
