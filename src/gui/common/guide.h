// The user guide: installed HTML beside the templates, shown in a window of the program's own
// so that it works offline and looks the same on every desktop.
#pragma once

#include "gui/common/appcontext.h"

#include <QDialog>

#include <string>

class QAction;
class QTextBrowser;

namespace kivo::gui {

// The guide's start page for this edition under `templateFolder` (it may not exist).
std::string GuidePath(const std::string& templateFolder);

class TfrmGuide : public QDialog {
    Q_OBJECT
public:
    explicit TfrmGuide(QWidget* parent = nullptr);
    // Shows the page at `path`; false when it cannot be read.
    bool Open(const std::string& path);

    QTextBrowser* browser = nullptr;
};

// Shows the guide over `over`'s window (one guide window, raised when already open); a guide
// missing from the installation is said in a box.
void ShowGuide(QWidget* over, const AppContext& ctx);

// An action on F1 that shows the guide, added to `window` so that F1 works anywhere in it.
QAction* AddGuideAction(QWidget* window, const AppContext& ctx);

} // namespace kivo::gui
