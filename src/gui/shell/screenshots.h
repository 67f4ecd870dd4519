// --screenshot: every window of the shell as the user sees it, saved as PNG files.
#pragma once

#include "gui/common/appcontext.h"
#include "gui/shell/windows.h"

#include <QString>

namespace kivo::gui {

// Pictures of `windows` into `dir`; returns the process's exit code.
int SaveScreenshots(const Windows& windows, const AppContext& ctx, const QString& dir);

} // namespace kivo::gui
