#include "gui/guided/kivowizard.h"

#include "app/strtable.h"
#include "gui/common/frame.h"
#include "gui/common/guide.h"
#include "gui/common/learning.h"
#include "gui/common/messages.h"
#include "gui/common/placement.h"
#include "gui/common/qtprocedureui.h"
#include "gui/common/receiveradio.h"
#include "gui/guided/wizardpictures.h"
#include "link/commands.h"
#include "link/procedures.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QTimer>

namespace kivo::gui {

namespace {

constexpr QSize kClientSize(689, 459);

} // namespace

TfrmKivoWizard::TfrmKivoWizard(AppContext& ctx, QWidget* parent)
    : QDialog(parent, FrameFlags(Frame::Minimise)), ctx_(ctx) {
    setObjectName(QStringLiteral("frmKivoWizard"));
    AddGuideAction(this, ctx_); // F1
    FormCreate();
}

TfrmKivoWizard::~TfrmKivoWizard() = default;

void TfrmKivoWizard::FormCreate() {
    pictures_ = WizardPictures();
    BuildFrame();
    BuildSheets();
    btnBack->setText(QStr(11351));
    btnNext->setText(QStr(11352));
    btnCancel->setText(CancelCaption());
    setWindowTitle(QStr(11001));
    ini_.SetFileName(ctx_.folders.programFolder + "Values.ini");
    FillChoiceLists();
    AttachKeyFilters();
    // The list pages keep the frame texts of the one-list page; they are there from the start
    // so that a list page shown first has them too.
    gbxInfoReceiverList->setTitle(QStr(11004));
    lblTelephoneNumberTip->setText(QStr(11301));
    lblPhoneNumber->setText(QStr(11244));
    lblProtocol->setText(QStr(11245));
    lblMaxCallAttempts->setText(QStr(11246));
    for (int j = 0; j < wizard::kAttempts; ++j) lblAttempt[j]->setText(QStr(11247 + j));
    FitFixedSize(this, kClientSize);
}

void TfrmKivoWizard::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) FormShow();
    QDialog::showEvent(event);
}

void TfrmKivoWizard::FormShow() {
    CentreOnScreen(this);
    answers_.state = wizard::StateStart;
    HandlePage(wizard::ActionShow);
}

bool TfrmKivoWizard::HandlePage(int action) {
    if (answers_.state != wizard::StateStart) {
        btnBack->setEnabled(true);
        lblProgress->setText(QStr(11003) + QLatin1Char(' ') + QString::number(answers_.step));
    } else {
        btnBack->setEnabled(false);
        lblProgress->clear();
    }
    btnNext->setEnabled(true);
    btnCancel->setText(CancelCaption());

    if (action == wizard::ActionShow) {
        ShowPage();
        return false;
    }
    wizard::PageValues values = ReadPage();
    wizard::Environment env;
    env.configFolder = ctx_.folders.configFolder;
    env.overwrite = [this] {
        return Messages::Show(this, MsgKind::Information, 15013, {}, BtnOk | BtnCancel) == BtnOk;
    };
    const wizard::Outcome out =
        wizard::Leave(answers_, data_, values, static_cast<wizard::Action>(action), env);
    WriteBack(values);
    for (const wizard::Box& box : out.boxes)
        Messages::Show(this, box.error ? MsgKind::Error : MsgKind::Information, box.textId,
                       box.args);
    return out.moved;
}

void TfrmKivoWizard::btnNextClick() {
    if (HandlePage(wizard::ActionNext)) HandlePage(wizard::ActionShow);
}

void TfrmKivoWizard::btnBackClick() {
    if (HandlePage(wizard::ActionBack)) HandlePage(wizard::ActionShow);
}

void TfrmKivoWizard::btnCancelClick() {
    reject();
}

void TfrmKivoWizard::InitAnswers() {
    if (!wizard::InitAnswers(answers_, data_, ctx_.folders.programFolder))
        Messages::Show(this, MsgKind::Error, 15011);
}

void TfrmKivoWizard::ShowPagePicture(int state) {
    imgLeft->SetResource(pictures_.value(wizard::PictureOf(state)));
}

QString TfrmKivoWizard::TransmitterName(int n) const {
    return Q(wizard::TransmitterName(answers_, n));
}

TfrmReceiveRadio* TfrmKivoWizard::ReceiveRadioWindow() {
    if (auto* waiting = ctx_.windows.As<TfrmReceiveRadio>(Role::ReceiveRadio)) return waiting;
    if (!ownReceiveRadio_) ownReceiveRadio_ = std::make_unique<TfrmReceiveRadio>();
    return ownReceiveRadio_.get();
}

void TfrmKivoWizard::btnRadioCodeClick(int n) {
    if (n < 1 || n > wizard::kPositions) return;
    QLineEdit* field = edtRadioCode[n - 1];
    radioLink_ = ctx_.MakeLink();
    {
        LinkSession session(*radioLink_);
        if (!session.Open()) {
            Messages::Show(this, MsgKind::Error, 15009);
        } else if (StartLearning(*radioLink_) == LinkResult::Ok) {
            // A Kobu that does not start listening is passed over without a word.
            receivedCode_.clear();
            const int result =
                WaitForLearnedCode(tmrPollKobu, ReceiveRadioWindow(),
                                   QStr(11286) + QLatin1Char(' ') + TransmitterName(n));
            EndLearning(this, *radioLink_, result, field, receivedCode_, n);
        }
    }
    radioLink_.reset();
}

void TfrmKivoWizard::tmrPollKobuTimer() {
    std::string code;
    if (LearningTick(radioLink_.get(), ReceiveRadioWindow(), code)) receivedCode_ = Q(code);
}

void TfrmKivoWizard::btnProgramKivoClick() {
    if (edtAlarmCode->text().isEmpty()) {
        Messages::Show(this, MsgKind::Information, 11297);
        return;
    }
    wizard::SetIdNumber(data_.image, edtAlarmCode->text().toStdString());
    QtProcedureUi ui({this, nullptr, lblProgramKivoNowStatus, nullptr, {}});
    std::unique_ptr<KobuLink> link = ctx_.MakeLink();
    WriteOptions options = WriteOptions::Wizard();
    options.backupFolder = BackupFolderSetting(ctx_.folders.programFolder);
    WriteUnit(*link, data_, ui, options);
}

} // namespace kivo::gui
