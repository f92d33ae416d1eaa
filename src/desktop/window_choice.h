#pragma once

#include "desktop/options.h"
#include "desktop/settings.h"

namespace vantorix {

// The window a run opens with: the command line first, then what the player
// last used, then the larger of the desktop's own scale and `roomyScale`, the
// largest that takes up no more than half the screen each way. The window cuts
// the scale down to what fits the screen.
WindowSettings startingWindow(const Options& options, const WindowSettings& remembered,
                              int desktopScale, int roomyScale = 1);

// The settings a run plays with: the command line's where it gives them, else
// what was remembered. The window's are chosen by startingWindow().
Settings settingsForThisRun(const Options& options, const Settings& remembered);

}  // namespace vantorix
