#include "gui/common/placement.h"

#include <QBoxLayout>
#include <QGuiApplication>
#include <QLayout>
#include <QPalette>
#include <QPushButton>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <algorithm>

namespace kivo::gui {

QString OkCaption() {
    return QStringLiteral("&OK");
}

QString CancelCaption() {
    return QStringLiteral("&Abbruch");
}

QHBoxLayout* OkCancelRow(QWidget* dialog, QPushButton*& ok, QPushButton*& cancel,
                         const char* okName) {
    ok = new QPushButton(OkCaption(), dialog);
    ok->setObjectName(QString::fromLatin1(okName));
    ok->setMinimumSize(75, 25);
    ok->setDefault(true);
    cancel = new QPushButton(CancelCaption(), dialog);
    cancel->setObjectName(QStringLiteral("btnCancel"));
    cancel->setMinimumSize(75, 25);
    cancel->setAutoDefault(false);
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(ok);
    row->addWidget(cancel);
    return row;
}

namespace {

QRect ScreenOf(const QWidget* window) {
    QScreen* screen = window->screen();
    if (!screen) screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry() : QRect(0, 0, 0, 0);
}

// The outer size: with the frame once the window system has told us its size.
QSize OuterSize(const QWidget* window) {
    return window->frameGeometry().size();
}

} // namespace

void CentreOnScreen(QWidget* window) {
    const QRect screen = ScreenOf(window);
    const QSize size = OuterSize(window);
    window->move(screen.left() + (screen.width() - size.width()) / 2,
                 screen.top() + (screen.height() - size.height()) / 2);
}

void CentreOver(QWidget* window, QWidget* over) {
    if (!over || !over->isVisible()) {
        CentreOnScreen(window);
        return;
    }
    const QRect outer = over->frameGeometry();
    const QSize size = OuterSize(window);
    window->move(outer.left() + (outer.width() - size.width()) / 2,
                 outer.top() + (outer.height() - size.height()) / 2);
}

void StayAbove(QWidget* dialog, QWidget* owner) {
    QWindow* window = dialog->windowHandle();
    if (!window || !owner || dialog->parentWidget()) return;
    window->setTransientParent(owner->isVisible() ? owner->window()->windowHandle() : nullptr);
}

void LegibleWhenDisabled(QWidget* field) {
    QPalette palette = field->palette();
    for (QPalette::ColorRole role : {QPalette::Text, QPalette::WindowText})
        palette.setColor(QPalette::Disabled, role, palette.color(QPalette::Active, role));
    field->setPalette(palette);
}

void FitFixedSize(QWidget* window, QSize designed) {
    QLayout* layout = window->layout();
    if (!layout) {
        window->setFixedSize(designed);
        return;
    }
    layout->activate();
    const int width = std::max(designed.width(), layout->totalMinimumSize().width());
    int needed = layout->totalMinimumSize().height();
    if (layout->hasHeightForWidth()) needed = std::max(needed, layout->totalHeightForWidth(width));
    window->setFixedSize(width, std::max(designed.height(), needed));
}

} // namespace kivo::gui
