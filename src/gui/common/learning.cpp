#include "gui/common/learning.h"

#include "app/strtable.h"
#include "data/codec.h"
#include "data/memorymap.h"
#include "gui/common/messages.h"
#include "gui/common/receiveradio.h"
#include "link/commands.h"
#include "link/kobulink.h"
#include "radio/learnedcode.h"

#include <QLineEdit>
#include <QTimer>
#include <QVariant>

namespace kivo::gui {

namespace {

constexpr int kPollMs = 500;
constexpr int kTagLearning = 100;

} // namespace

int WaitForLearnedCode(QTimer* timer, TfrmReceiveRadio* waiting, const QString& action) {
    timer->setProperty("Tag", kTagLearning);
    timer->setInterval(kPollMs);
    timer->start();
    waiting->SetActionText(action);
    waiting->SetTitle(QStr(15014));
    const int result = waiting->exec();
    timer->stop();
    timer->setProperty("Tag", 0);
    return result;
}

bool LearningTick(KobuLink* link, TfrmReceiveRadio* waiting, std::string& code) {
    // A tick that was already on its way when the wait ended.
    if (!link || !waiting->isVisible()) return false;
    if (PollLearnedCode(*link, code) != LinkResult::Ok) {
        if (!link->IsOpen()) waiting->done(TfrmReceiveRadio::mrAbort);
        return false;
    }
    // A code, or something that is none: either way the wait is over.
    if (ClassifyHeard(code) != Heard::Nothing) waiting->done(TfrmReceiveRadio::mrOk);
    return true;
}

void EndLearning(QWidget* parent, KobuLink& link, int result, QLineEdit* field, const QString& code,
                 int position) {
    if (!link.IsOpen()) {
        Messages::Show(parent, MsgKind::Error, 15009);
        return;
    }
    if (result == TfrmReceiveRadio::mrOk && ClassifyHeard(code.toStdString()) == Heard::Malformed) {
        // Taken as a code it would become 0000 and free the position.
        StopLearning(link);
        Messages::Show(
            parent, MsgKind::Error, 15023,
            {PrintableText(code.toStdString()), std::to_string(mm::RadioCodeAddr(position))});
        return;
    }
    field->setText(result == TfrmReceiveRadio::mrOk ? code : QString());
    // The Kobu stops listening whatever the outcome; its answer changes nothing.
    StopLearning(link);
}

} // namespace kivo::gui
