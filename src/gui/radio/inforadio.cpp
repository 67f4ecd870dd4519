#include "gui/radio/inforadio.h"

#include "gui/common/frame.h"
#include "gui/common/messages.h"
#include "gui/common/placement.h"
#include "gui/common/receiveradio.h"
#include "link/commands.h"
#include "radio/transmitterinfo.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace kivo::gui {

namespace {

constexpr int kGroupWidth = 460;
constexpr int kGroupMargin = 10;
constexpr int kLabelGap = 8;
constexpr int kPollMs = 500;

QLabel* MakeLabel(QWidget* parent, const char* name) {
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    return label;
}

QLineEdit* MakeField(QWidget* parent, const char* name) {
    auto* field = new QLineEdit(parent);
    field->setObjectName(QLatin1String(name));
    return field;
}

// Keys that make no character: moving about and leaving the field always work.
bool NavigationKey(int key) {
    switch (key) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_Delete:
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return true;
    default:
        return false;
    }
}

} // namespace

TfrmInfoRadio::TfrmInfoRadio(AppContext& ctx, QWidget* parent)
    : QDialog(parent, FrameFlags(Frame::SystemMenu)), ctx_(ctx) {
    setObjectName(QStringLiteral("frmInfoRadio"));
    gbxInfoParameters = new QGroupBox(this);
    gbxInfoParameters->setObjectName(QStringLiteral("gbxInfoParameters"));
    QWidget* g = gbxInfoParameters;
    lblInfoRadioCode = MakeLabel(g, "lblInfoRadioCode");
    edtInfoRadioCode = MakeField(g, "edtInfoRadioCode");
    edtInfoRadioCode->setEnabled(false);
    lblInfoProgramVersion = MakeLabel(g, "lblInfoProgramVersion");
    edtInfoProgramVersion = MakeField(g, "edtInfoProgramVersion");
    edtInfoProgramVersion->setReadOnly(true);
    edtInfoProgramVersion->setFocusPolicy(Qt::NoFocus);
    lblUserAlarmCount = MakeLabel(g, "lblUserAlarmCount");
    edtUserAlarmCount = MakeField(g, "edtUserAlarmCount");
    edtUserAlarmCount->setReadOnly(true);
    edtUserAlarmCount->setFocusPolicy(Qt::NoFocus);
    // The two values read from the transmitter in the dialog's own colour: nothing to type.
    for (QLineEdit* shown : {edtInfoProgramVersion, edtUserAlarmCount}) {
        QPalette colours = shown->palette();
        colours.setColor(QPalette::Base, palette().color(QPalette::Window));
        shown->setPalette(colours);
    }
    cbInfoEnableTestAlarmFunction = new QCheckBox(g);
    cbInfoEnableTestAlarmFunction->setObjectName(QStringLiteral("cbInfoEnableTestAlarmFunction"));
    lblInfoTestAlarmInterval = MakeLabel(g, "lblInfoTestAlarmInterval");
    edtInfoTestAlarmInterval = MakeField(g, "edtInfoTestAlarmInterval");
    lblInfoMaxNoTestAlarms = MakeLabel(g, "lblInfoMaxNoTestAlarms");
    edtInfoMaxNoTestAlarms = MakeField(g, "edtInfoMaxNoTestAlarms");
    cbInfoPowerSaveMode = new QCheckBox(g);
    cbInfoPowerSaveMode->setObjectName(QStringLiteral("cbInfoPowerSaveMode"));
    for (QLineEdit* number : {edtInfoTestAlarmInterval, edtInfoMaxNoTestAlarms}) {
        number->setMaxLength(3);
        // Digits only, also for what is pasted or dropped; the key filter below drops the
        // other keys before the field sees them.
        number->setValidator(
            new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), number));
        number->setAttribute(Qt::WA_InputMethodEnabled, false);
        number->installEventFilter(this);
    }
    for (QCheckBox* box : {cbInfoEnableTestAlarmFunction, cbInfoPowerSaveMode})
        connect(box, &QCheckBox::clicked, this, [this] { cbInfoEnableTestAlarmFunctionClick(); });

    btnOK = new QPushButton(this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setMinimumSize(75, 25);
    btnOK->setDefault(true);
    connect(btnOK, &QPushButton::clicked, this, [this] { btnOKClick(); });
    btnCancel = new QPushButton(this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnCancel->setMinimumSize(75, 25);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);

    tmrPollKobuInfo = new QTimer(this);
    tmrPollKobuInfo->setObjectName(QStringLiteral("tmrPollKobuInfo"));
    tmrPollKobuInfo->setProperty("Tag", 0);
    connect(tmrPollKobuInfo, &QTimer::timeout, this, [this] { tmrPollKobuInfoTimer(); });

    SetCaptions();
    // The labels take 0.8 and the tick boxes 0.9 of the group's width; the group is as wide as
    // the longest label needs.
    int longest = 0;
    for (QLabel* label : {lblInfoRadioCode, lblInfoProgramVersion, lblUserAlarmCount,
                          lblInfoTestAlarmInterval, lblInfoMaxNoTestAlarms})
        longest = std::max(longest, label->sizeHint().width());
    for (QCheckBox* box : {cbInfoEnableTestAlarmFunction, cbInfoPowerSaveMode})
        longest =
            std::max(longest, static_cast<int>(std::ceil(box->sizeHint().width() / 0.9 * 0.8)));
    // One pixel to spare against rounding.
    const int width = std::max(kGroupWidth, static_cast<int>(std::ceil((longest + 1) / 0.8)));
    gbxInfoParameters->setFixedWidth(width);
    const int labelWidth = static_cast<int>(0.8 * width);
    const int boxWidth = static_cast<int>(0.9 * width);

    auto* grid = new QGridLayout(gbxInfoParameters);
    grid->setContentsMargins(kGroupMargin, kGroupMargin, kGroupMargin, kGroupMargin);
    grid->setHorizontalSpacing(kLabelGap);
    grid->setVerticalSpacing(6);
    int row = 0;
    auto addRow = [&](QLabel* label, QLineEdit* field) {
        label->setFixedWidth(labelWidth);
        label->setBuddy(field);
        grid->addWidget(label, row, 0);
        grid->addWidget(field, row, 1);
        ++row;
    };
    auto addBox = [&](QCheckBox* box) {
        box->setFixedWidth(boxWidth);
        grid->addWidget(box, row, 0, 1, 2);
        ++row;
    };
    addRow(lblInfoRadioCode, edtInfoRadioCode);
    addRow(lblInfoProgramVersion, edtInfoProgramVersion);
    addRow(lblUserAlarmCount, edtUserAlarmCount);
    addBox(cbInfoEnableTestAlarmFunction);
    addRow(lblInfoTestAlarmInterval, edtInfoTestAlarmInterval);
    addRow(lblInfoMaxNoTestAlarms, edtInfoMaxNoTestAlarms);
    addBox(cbInfoPowerSaveMode);
    // Without the power-save box the rows keep their places.
    grid->setRowStretch(row, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->setSpacing(10);
    layout->addWidget(gbxInfoParameters);
    layout->addLayout(buttons);

    // Until a transmitter has been read: no version, so no power-save mode.
    ShowVersion(std::string());
    cbInfoEnableTestAlarmFunctionClick();
    FitFixedSize(this, QSize(width + 16, 0));
}

TfrmInfoRadio::~TfrmInfoRadio() = default;

void TfrmInfoRadio::SetCaptions() {
    setWindowTitle(QStr(13721));
    gbxInfoParameters->setTitle(QStr(13722));
    lblInfoRadioCode->setText(QStr(13723));
    cbInfoEnableTestAlarmFunction->setText(QStr(13724));
    lblInfoTestAlarmInterval->setText(QStr(13725));
    lblInfoMaxNoTestAlarms->setText(QStr(13726));
    lblUserAlarmCount->setText(QStr(13727));
    lblInfoProgramVersion->setText(QStr(13728));
    cbInfoPowerSaveMode->setText(QStr(13729));
    btnOK->setText(OkCaption());
    btnCancel->setText(CancelCaption());
}

void TfrmInfoRadio::SetCode(const QString& code) {
    code_ = code.toUpper();
}

void TfrmInfoRadio::SetPosition(int position) {
    position_ = position;
}

void TfrmInfoRadio::ShowTransmitter(const QString& code, int position) {
    SetCode(code);
    SetPosition(position);
    if (ReadTransmitterInfo()) exec();
}

TfrmReceiveRadio* TfrmInfoRadio::Waiting() {
    if (auto* waiting = ctx_.windows.As<TfrmReceiveRadio>(Role::ReceiveRadio)) return waiting;
    if (!ownWaiting_) ownWaiting_ = std::make_unique<TfrmReceiveRadio>();
    return ownWaiting_.get();
}

QWidget* TfrmInfoRadio::BoxParent() {
    if (isVisible()) return this;
    return ctx_.windows.Window(Role::Editor);
}

int TfrmInfoRadio::WaitForTransmitter(int tag, int titleId, int actionId) {
    reply_.clear();
    tmrPollKobuInfo->setProperty("Tag", tag);
    tmrPollKobuInfo->setInterval(kPollMs);
    tmrPollKobuInfo->start();
    TfrmReceiveRadio* waiting = Waiting();
    waiting->SetTitle(QStr(titleId));
    waiting->SetActionText(QStr(actionId) + QLatin1Char(' ') + QString::number(position_));
    const int result = waiting->exec();
    tmrPollKobuInfo->stop();
    tmrPollKobuInfo->setProperty("Tag", 0);
    return result;
}

bool TfrmInfoRadio::ReadTransmitterInfo() {
    edtInfoRadioCode->setText(code_);
    link_ = ctx_.MakeLink();
    int result = 0;
    bool lost = false;
    {
        // A link that did not open shows up as the unanswered request.
        LinkSession session(*link_);
        if (RequestInfo(*link_, code_.toStdString(), kInfoRegisters) != LinkResult::Ok) {
            session.Close();
            Messages::Show(BoxParent(), MsgKind::Error, 13809);
            return false;
        }
        result = WaitForTransmitter(kTagRead, 13814, 13812);
        lost = !link_->IsOpen();
    }
    if (lost) {
        Messages::Show(BoxParent(), MsgKind::Error, 15009);
        return false;
    }
    // Aborted by the user (or by Escape), or the Kobu reported that the read failed.
    if (result != TfrmReceiveRadio::mrOk) return false;
    if (reply_.size() == kInfoReplyLength)
        ShowReply(reply_);
    else
        Messages::Show(BoxParent(), MsgKind::Information, 13809);
    return true;
}

void TfrmInfoRadio::ShowReply(const std::string& reply) {
    const std::optional<TransmitterInfo> info = ParseInfoReply(reply);
    if (!info) return;
    edtInfoTestAlarmInterval->setText(QString::number(info->interval));
    edtInfoMaxNoTestAlarms->setText(QString::number(info->limit));
    // A mode the dialog does not know leaves the boxes as they are.
    if (const std::optional<ModeBoxes> boxes = BoxesForMode(info->mode)) {
        cbInfoEnableTestAlarmFunction->setChecked(boxes->testAlarm);
        cbInfoPowerSaveMode->setChecked(boxes->powerSave);
    }
    edtUserAlarmCount->setText(QString::number(info->userAlarms));
    ShowVersion(info->version);
    cbInfoEnableTestAlarmFunctionClick();
}

void TfrmInfoRadio::ShowVersion(const std::string& version) {
    edtInfoProgramVersion->setText(Q(VersionText(version)));
    cbInfoPowerSaveMode->setVisible(PowerSaveShown(version));
}

void TfrmInfoRadio::cbInfoEnableTestAlarmFunctionClick() {
    const bool on = cbInfoEnableTestAlarmFunction->isChecked();
    for (QWidget* w : std::initializer_list<QWidget*>{
             lblInfoTestAlarmInterval, edtInfoTestAlarmInterval, lblInfoMaxNoTestAlarms,
             edtInfoMaxNoTestAlarms, cbInfoPowerSaveMode})
        w->setEnabled(on);
}

void TfrmInfoRadio::tmrPollKobuInfoTimer() {
    TfrmReceiveRadio* waiting = Waiting();
    // A tick that was already on its way when the wait ended.
    if (!link_ || !waiting->isVisible()) return;
    std::string reply;
    InfoPoll outcome = InfoPoll::Waiting;
    switch (tmrPollKobuInfo->property("Tag").toInt()) {
    case kTagRead:
        PollInfo(*link_, reply);
        reply_ = reply;
        outcome = ReadPollResult(reply);
        break;
    case kTagWrite:
        if (PollWrite(*link_, reply) != LinkResult::Ok && link_->IsOpen()) return;
        reply_ = reply;
        outcome = WritePollResult(reply);
        break;
    default:
        return;
    }
    // The Kobu has gone (the link closes then): no amount of waiting would mend that.
    if (!link_->IsOpen()) outcome = InfoPoll::Failed;
    if (outcome == InfoPoll::Done) waiting->done(TfrmReceiveRadio::mrOk);
    if (outcome == InfoPoll::Failed) waiting->done(TfrmReceiveRadio::mrAbort);
}

void TfrmInfoRadio::btnOKClick() {
    const std::string interval = edtInfoTestAlarmInterval->text().toStdString();
    const std::string limit = edtInfoMaxNoTestAlarms->text().toStdString();
    const std::vector<int> refused = CheckInfoFields(interval, limit);
    for (int id : refused) Messages::Show(this, MsgKind::Information, id);
    if (!refused.empty()) return;

    // The fields take three digits at most, and both passed the range check.
    const std::string data = InfoWriteData(edtInfoTestAlarmInterval->text().toInt(),
                                           edtInfoMaxNoTestAlarms->text().toInt(),
                                           ModeFromBoxes(cbInfoEnableTestAlarmFunction->isChecked(),
                                                         cbInfoPowerSaveMode->isChecked()));
    link_ = ctx_.MakeLink();
    int result = 0;
    bool lost = false;
    {
        LinkSession session(*link_);
        if (!session.Open() || WriteInfo(*link_, code_.toStdString(), data) != LinkResult::Ok) {
            // Nothing was written: say so and stay open, so the user can try again.
            const bool open = session.Open();
            session.Close();
            Messages::Show(this, MsgKind::Error, open ? 13811 : 15009);
            return;
        }
        result = WaitForTransmitter(kTagWrite, 13815, 13813);
        lost = !link_->IsOpen();
    }
    if (lost) {
        // Whether the transmitter took the settings is unknown: stay open for another try.
        Messages::Show(this, MsgKind::Error, 15009);
        return;
    }
    const bool written = result == TfrmReceiveRadio::mrOk;
    Messages::Show(this, written ? MsgKind::Information : MsgKind::Error, written ? 13810 : 13811);
    done(written ? QDialog::Accepted : QDialog::Rejected);
}

void TfrmInfoRadio::done(int result) {
    tmrPollKobuInfo->stop();
    if (link_) link_->CloseLink();
    QDialog::done(result);
}

bool TfrmInfoRadio::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress ||
        (watched != edtInfoTestAlarmInterval && watched != edtInfoMaxNoTestAlarms))
        return QDialog::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Backspace || NavigationKey(key->key())) return false;
    const QString text = key->text();
    // Modifier keys alone make no character.
    if (text.isEmpty() && !(key->modifiers() & Qt::ControlModifier)) return false;
    for (QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return true; // dropped
    return text.isEmpty();
}

void TfrmInfoRadio::showEvent(QShowEvent* event) {
    FormShow();
    QDialog::showEvent(event);
}

void TfrmInfoRadio::FormShow() {
    SetCaptions();
    QWidget* editor = ctx_.windows.Window(Role::Editor);
    StayAbove(this, editor);
    CentreOver(this, editor);
    if (edtInfoTestAlarmInterval->isEnabled())
        edtInfoTestAlarmInterval->setFocus();
    else
        btnOK->setFocus();
}

} // namespace kivo::gui
