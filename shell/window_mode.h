// The window of qorvant-viewer: a QApplication with the Qt platform services, the market (on a
// first run generated behind a progress dialog) and the main window on the list of the options.
#pragma once

namespace qv {

struct ShellOptions;

// True when Qt can show a window here: a display, or a platform chosen in QT_QPA_PLATFORM.
bool WindowPossible();

// Runs the window until it is closed; the exit status. With a screenshot path, saves a picture
// of the window once its list is painted and quits.
int RunWindow(const ShellOptions& p_oOptions, int& p_iArgc, char** p_argv);

}  // namespace qv
