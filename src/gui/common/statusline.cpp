#include "gui/common/statusline.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOption>

namespace kivo::gui {

StatusLine::StatusLine(QWidget* parent) : QStatusBar(parent) {
    connect(this, &QStatusBar::messageChanged, this,
            [this](const QString& message) { setToolTip(message); });
}

void StatusLine::paintEvent(QPaintEvent* event) {
    const QString message = currentMessage();
    if (message.isEmpty()) {
        QStatusBar::paintEvent(event);
        return;
    }
    // Drawn as QStatusBar draws a message, but elided to the room there is.
    QPainter painter(this);
    QStyleOption option;
    option.initFrom(this);
    style()->drawPrimitive(QStyle::PE_PanelStatusBar, &option, &painter, this);
    const QRect room = rect().adjusted(6, 0, -6, 0);
    painter.setPen(palette().windowText().color());
    painter.drawText(room, Qt::AlignLeading | Qt::AlignVCenter | Qt::TextSingleLine,
                     fontMetrics().elidedText(message, Qt::ElideRight, room.width()));
}

} // namespace kivo::gui
