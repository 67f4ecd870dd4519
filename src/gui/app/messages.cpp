#include "gui/app/messages.h"

#include "app/strtable.h"
#include "transport/doctor.h"

#include <QMessageBox>
#include <QPushButton>

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

int Messages::ShowText(QWidget* parent, MsgKind kind, const QString& text, int buttons) {
    return Present(parent, kind, 0, text, buttons);
}

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
    box.setWindowTitle(QStringLiteral("KIVO Programmiertool"));
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    box.setText(shown);
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
