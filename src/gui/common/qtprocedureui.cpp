#include "gui/common/qtprocedureui.h"

#include "gui/common/messages.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QStatusBar>

namespace kivo::gui {

QtProcedureUi::~QtProcedureUi() {
    WaitCursor(false);
    if (t_.progress) t_.progress->hide();
}

void QtProcedureUi::Status(const std::string& text) {
    QString q = QString::fromStdString(text);
    if (t_.statusBar) t_.statusBar->showMessage(q);
    if (t_.statusLabel) t_.statusLabel->setText(q);
    if (t_.progress) t_.progress->hide();
}

void QtProcedureUi::Box(BoxKind kind, int textId, const std::vector<std::string>& args) {
    Messages::Show(t_.window, kind == BoxKind::Error ? MsgKind::Error : MsgKind::Information,
                   textId, args);
}

void QtProcedureUi::TwoPartBox(int firstId, int secondId) {
    if (t_.twoPartBox)
        t_.twoPartBox(firstId, secondId);
    else
        Box(BoxKind::Information, firstId, {});
}

void QtProcedureUi::Repaint() {
    // Only paint and layout: the user cannot start anything else meanwhile.
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void QtProcedureUi::Progress(int done, int total) {
    if (!t_.progress) return;
    t_.progress->setRange(0, total);
    t_.progress->setValue(done);
    if (!t_.progress->isVisible()) t_.progress->show();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void QtProcedureUi::WaitCursor(bool on) {
    if (on == cursor_) return;
    cursor_ = on;
    if (on)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

} // namespace kivo::gui
