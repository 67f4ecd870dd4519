#include "gui/common/messages.h"

#include "app/strtable.h"
#include "transport/doctor.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>

#include <algorithm>

namespace kivo::gui {

MessageRecorder* Messages::recorder_ = nullptr;
std::function<void(QWidget*)> Messages::diagnosis_;

namespace {

constexpr int kDiagnosisHint = 16101;   // the box's second line
constexpr int kDiagnosisButton = 16014; // "Verbindungsdiagnose..."

} // namespace

QString QStr(int id) {
    return QString::fromStdString(Str(id));
}

int Messages::Show(QWidget* parent, MsgKind kind, int textId, const std::vector<std::string>& args,
                   int buttons) {
    return Present(parent, kind, textId, QString::fromStdString(FormatText(Str(textId), args)),
                   buttons);
}

void ShowFileMessage(QWidget* parent, const FileMessage& message) {
    Messages::Show(parent, message.refusal ? MsgKind::Information : MsgKind::Error, message.textId,
                   message.args);
}

int Messages::ShowText(QWidget* parent, MsgKind kind, const QString& text, int buttons) {
    return Present(parent, kind, 0, text, buttons);
}

namespace {

// Qt wraps a box's text at a width of its own; a text with line breaks of its own (15101,
// 15102) then ends up with single words on lines. The text is given the width of its longest
// line, and the box room for its title, within most of the screen.
void FitText(QMessageBox& box, const QString& text, const QString& title) {
    auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    if (!label) return;
    const QFontMetrics metrics(label->font());
    // A single line counts too: given less than its width, Qt neither wraps it nor widens the
    // box, and the sentence is cut off at the edge (15008, 15009 beside the diagnosis hint).
    int widest = metrics.horizontalAdvance(title) + 2 * metrics.averageCharWidth() * 8;
    for (const QString& line : text.split(QLatin1Char('\n')))
        widest = std::max(widest, metrics.horizontalAdvance(line) + 4);
    const QScreen* screen = box.screen() ? box.screen() : QGuiApplication::primaryScreen();
    const int limit = screen ? screen->availableGeometry().width() * 3 / 4 : widest;
    label->setMinimumWidth(std::min(widest, limit));
}

} // namespace

int Messages::Present(QWidget* parent, MsgKind kind, int textId, const QString& text, int buttons) {
    // "Cannot find the Kobu" and "no connection with the unit" mostly have causes on the PC
    // (permissions, BRLTTY, the serial driver) that the diagnosis finds and names.
    const bool diagnosis = diagnosis_ && kind == MsgKind::Error && OffersDiagnosis(textId);
    if (recorder_) {
        recorder_->shown.push_back({kind, textId, text, buttons, diagnosis});
        if (!recorder_->answers.empty()) {
            int answer = recorder_->answers.front();
            recorder_->answers.pop_front();
            if (answer == BtnDiagnosis && diagnosis) {
                diagnosis_(parent);
                return BtnOk;
            }
            return answer;
        }
        for (int b : {BtnOk, BtnYes, BtnNo, BtnCancel})
            if (buttons & b) return b;
        return BtnOk;
    }
    QMessageBox box(parent);
    const QString title = QStringLiteral("KIVO Programmiertool");
    box.setWindowTitle(title);
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    box.setText(shown);
    FitText(box, shown, title);
    switch (kind) {
    case MsgKind::Error:
        box.setIcon(QMessageBox::Critical);
        break;
    case MsgKind::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case MsgKind::Warning:
        box.setIcon(QMessageBox::Warning);
        break;
    case MsgKind::Question:
        box.setIcon(QMessageBox::Question);
        break;
    }
    struct Pair {
        int ours;
        QMessageBox::StandardButton qt;
        const char* caption;
    };
    // The edition's own captions for the standard buttons.
    const Pair pairs[] = {{BtnOk, QMessageBox::Ok, "&OK"},
                          {BtnYes, QMessageBox::Yes, "&Ja"},
                          {BtnNo, QMessageBox::No, "&Nein"},
                          {BtnCancel, QMessageBox::Cancel, "&Abbruch"}};
    for (const Pair& p : pairs)
        if (buttons & p.ours) box.addButton(p.qt)->setText(QString::fromUtf8(p.caption));
    QPushButton* diagnose = nullptr;
    if (diagnosis) {
        box.setInformativeText(QStr(kDiagnosisHint));
        diagnose = box.addButton(QStr(kDiagnosisButton), QMessageBox::ActionRole);
        diagnose->setObjectName(QStringLiteral("btnDiagnosis"));
        // With a button of its own beside them Qt finds no button for Esc and the close box of
        // the title bar any more, and the box could not be closed without choosing one.
        for (auto standard : {QMessageBox::Cancel, QMessageBox::No, QMessageBox::Ok})
            if (QAbstractButton* escape = box.button(standard)) {
                box.setEscapeButton(escape);
                break;
            }
    }
    int result = box.exec();
    if (diagnose && box.clickedButton() == diagnose) {
        // The box has closed; the diagnosis comes up over the window that showed it.
        std::function<void(QWidget*)> show = diagnosis_;
        show(parent);
        return BtnOk;
    }
    for (const Pair& p : pairs)
        if (result == p.qt) return p.ours;
    return buttons & BtnCancel ? BtnCancel : (buttons & BtnNo ? BtnNo : BtnOk);
}

} // namespace kivo::gui
