// Every message box of the program goes through here, so that tests can see which text was
// shown and answer questions without a real modal box.
#pragma once

#include "app/filemessages.h"

#include <QString>
#include <QWidget>

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace kivo::gui {

enum class MsgKind { Error, Information, Warning, Question };

enum MsgButton { BtnOk = 1, BtnYes = 2, BtnNo = 4, BtnCancel = 8 };
// The extra button of a box after which the connection diagnosis is offered: it opens the
// diagnosis, and the box counts as answered with OK.
constexpr int BtnDiagnosis = 16;

struct MessageRecord {
    MsgKind kind;
    int textId; // 0 for a text that does not come from the string table
    QString text;
    int buttons;
    bool diagnosisOffered = false; // the box had the diagnosis button and its hint
};

// While installed, boxes are recorded instead of shown, and questions take their answers from
// `answers` (in order; BtnOk/the first button when it runs dry).
struct MessageRecorder {
    std::vector<MessageRecord> shown;
    std::deque<int> answers;
};

class Messages {
public:
    // Shows string-table text `textId` with its %s arguments; returns the button pressed.
    static int Show(QWidget* parent, MsgKind kind, int textId,
                    const std::vector<std::string>& args = {}, int buttons = BtnOk);
    // The same for a text that is not in the string table (e.g. an exception's message).
    static int ShowText(QWidget* parent, MsgKind kind, const QString& text, int buttons = BtnOk);

    static void Install(MessageRecorder* recorder) { recorder_ = recorder; }
    static MessageRecorder* Recorder() { return recorder_; }

    // What the diagnosis button does (shows the diagnosis over the given window); the boxes
    // offer it only while one is set.
    static void SetDiagnosis(std::function<void(QWidget*)> show) { diagnosis_ = std::move(show); }

private:
    static int Present(QWidget* parent, MsgKind kind, int textId, const QString& text, int buttons);
    static MessageRecorder* recorder_;
    static std::function<void(QWidget*)> diagnosis_;
};

// A file that was not written: a write-protected target as the information that it was
// refused, every other failure as an error.
void ShowFileMessage(QWidget* parent, const FileMessage& message);

// Strings from the core (UTF-8) as Qt texts.
inline QString Q(const std::string& s) {
    return QString::fromStdString(s);
}
// A string-table text as a Qt text.
QString QStr(int id);

} // namespace kivo::gui
