#pragma once
// The settings are written when the system ends the program as when the user closes it:
// on SIGTERM, SIGINT and SIGHUP (a logout, a shutdown, Ctrl+C or a closed terminal) and when the session
// manager asks the program to save its data. Nothing here shows a box.

namespace bansho {

class TMForm;

// Installs the handlers for the program's one main window. The signals reach the event loop
// through a pipe, so the save runs on the user-interface thread like every other handler.
void InstallTerminationSave(TMForm& form);

} // namespace bansho
