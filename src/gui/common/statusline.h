// A status bar whose message, when longer than the bar, ends in an ellipsis instead of being
// cut off mid-word; the whole message is its tool tip. currentMessage() stays the whole text.
#pragma once

#include <QStatusBar>

namespace kivo::gui {

class StatusLine : public QStatusBar {
public:
    explicit StatusLine(QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace kivo::gui
