#pragma once

#include <QStringList>

namespace pembrill {

enum class Splash { Shown, Hidden };

// Creates every window of the program once, in the program's order, and
// sets the program-wide pointers. The desktop program shows the About box as
// a splash that closes itself after 3.5 s; the command-line program creates
// the same windows with the splash left hidden. The main window is not shown
// here: the desktop program shows it, the command-line program does not.
void CreateWindows(Splash splash);

// The program's one argument, a project file (a file manager's "Open with"),
// opened once the event loop runs, as the Open dialog would open it.
void OpenArgumentProject(const QStringList& arguments);

// Frees the windows in the reverse order and clears the pointers.
void DestroyWindows();

} // namespace pembrill
