// The editor's radio positions: learning a transmitter's code into a position through the
// Kobu, opening the transmitter info dialog, and the reminder when the user switches a
// position's test-alarm supervision.
#include "gui/editor/enterdata.h"

#include "app/strtable.h"
#include "gui/common/learning.h"
#include "gui/common/messages.h"
#include "gui/common/receiveradio.h"
#include "link/commands.h"
#include "radio/learnedcode.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLineEdit>
#include <QStatusBar>
#include <QTimer>

namespace kivo::gui {

namespace {

// The Kobu firmware that knows the transmitter info commands.
constexpr const char* kInfoKobuVersion = "11-1";

} // namespace

void TfrmEnterData::WireRadioPosition(int n) {
    if (!tmrPollKobu_) {
        tmrPollKobu_ = new QTimer(this);
        tmrPollKobu_->setObjectName(QStringLiteral("tmrPollKobu"));
        tmrPollKobu_->setProperty("Tag", 0);
        connect(tmrPollKobu_, &QTimer::timeout, this, [this] { tmrPollKobuTimer(); });
    }
    const QString N = QString::number(n);
    connect(findChild<QAbstractButton*>("btnReceive" + N), &QAbstractButton::clicked, this,
            [this, n] { btnReceiveRadioCodeClick(n); });
    connect(findChild<QAbstractButton*>("bbtnInfoRadioPos" + N), &QAbstractButton::clicked, this,
            [this, n] { bbtnInfoRadioPosClick(n); });
    // Only the user's own changes: setting the box from the image emits no click.
    connect(findChild<QCheckBox*>("cbTestRadioPos" + N), &QCheckBox::clicked, this,
            [this, n] { cbTestRadioPosClick(n); });
}

TfrmReceiveRadio* TfrmEnterData::ReceiveRadioWindow() {
    if (auto* waiting = ctx_.windows.As<TfrmReceiveRadio>(Role::ReceiveRadio)) return waiting;
    if (!ownReceiveRadio_) ownReceiveRadio_ = std::make_shared<TfrmReceiveRadio>();
    return ownReceiveRadio_.get();
}

void TfrmEnterData::btnReceiveRadioCodeClick(int n) {
    const QString N = QString::number(n);
    auto* field = findChild<QLineEdit*>("edtRadioPos" + N);
    if (!field) return;
    radioLink_ = ctx_.MakeLink();
    {
        LinkSession session(*radioLink_);
        if (!session.Open()) {
            Messages::Show(this, MsgKind::Error, 15009);
        } else if (StartLearning(*radioLink_) != LinkResult::Ok) {
            // The Kobu is there but does not listen: a hint in the status bar is enough.
            status_->showMessage(QStr(15009));
        } else {
            status_->clearMessage();
            receivedCode_.clear();
            const int result = WaitForLearnedCode(tmrPollKobu_, ReceiveRadioWindow(),
                                                  Q(FormatText(Str(13818), {std::to_string(n)})));
            EndLearning(this, *radioLink_, result, field, Q(receivedCode_), n);
        }
    }
    radioLink_.reset();
}

void TfrmEnterData::tmrPollKobuTimer() {
    std::string code;
    if (LearningTick(radioLink_.get(), ReceiveRadioWindow(), code)) receivedCode_ = code;
}

void TfrmEnterData::bbtnInfoRadioPosClick(int n) {
    const QString N = QString::number(n);
    auto* field = findChild<QLineEdit*>("edtRadioPos" + N);
    if (!field) return;
    std::unique_ptr<KobuLink> link = ctx_.MakeLink();
    {
        // Closed before any box: the box waits for the user, the Kobu need not.
        LinkSession session(*link);
        const bool open = session.Open();
        const bool knowsInfo = open && CheckKobuVersion(*link, kInfoKobuVersion) == LinkResult::Ok;
        session.Close();
        if (!open || !knowsInfo) {
            Messages::Show(this, MsgKind::Error, open ? 13808 : 15009);
            return;
        }
    }
    const QString code = field->text();
    if (!IsTransmitterCode(code.toStdString())) {
        Messages::Show(this, MsgKind::Information, 13807);
        return;
    }
    if (TransmitterInfoRole* info = TransmitterInfoWindow(ctx_.windows))
        info->ShowTransmitter(code, n);
}

void TfrmEnterData::cbTestRadioPosClick(int n) {
    if (!testRadioMessages_) return;
    auto* box = findChild<QCheckBox*>("cbTestRadioPos" + QString::number(n));
    if (!box) return;
    Messages::Show(this, MsgKind::Information, box->isChecked() ? 15030 : 15031,
                   {std::to_string(n)});
}

} // namespace kivo::gui
