#include "gui/app/messages.h"

#include "app/strtable.h"

#include <QMessageBox>
#include <QPushButton>

namespace kivo::gui {

MessageRecorder* Messages::recorder_ = nullptr;

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

int Messages::Present(QWidget* parent, MsgKind kind, int textId, const QString& text, int buttons) {
    if (recorder_) {
        recorder_->shown.push_back({kind, textId, text, buttons});
        if (!recorder_->answers.empty()) {
            int answer = recorder_->answers.front();
            recorder_->answers.pop_front();
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
    int result = box.exec();
    for (const Pair& p : pairs)
        if (result == p.qt) return p.ours;
    return buttons & BtnCancel ? BtnCancel : (buttons & BtnNo ? BtnNo : BtnOk);
}

} // namespace kivo::gui
