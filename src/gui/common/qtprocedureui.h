// The read/write procedures' texts shown in a window: status line (a status bar or a label),
// boxes through Messages, a progress bar for the chunks, and the wait cursor.
#pragma once

#include "link/procedures.h"

#include <QPointer>
#include <QWidget>

#include <functional>

class QLabel;
class QProgressBar;
class QStatusBar;

namespace kivo::gui {

class QtProcedureUi : public ProcedureUi {
public:
    struct Targets {
        QWidget* window = nullptr;
        QStatusBar* statusBar = nullptr; // or
        QLabel* statusLabel = nullptr;
        QProgressBar* progress = nullptr; // shown while chunks move, hidden afterwards
        // The two-part information box (first and second string-table text).
        std::function<void(int, int)> twoPartBox;
    };
    explicit QtProcedureUi(Targets targets) : t_(std::move(targets)) {}
    ~QtProcedureUi() override;

    void Status(const std::string& text) override;
    void Box(BoxKind kind, int textId, const std::vector<std::string>& args) override;
    void TwoPartBox(int firstId, int secondId) override;
    void Repaint() override;
    void Progress(int done, int total) override;
    void WaitCursor(bool on) override;

private:
    Targets t_;
    bool cursor_ = false;
};

} // namespace kivo::gui
