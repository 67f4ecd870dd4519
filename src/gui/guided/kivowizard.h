// The programming wizard: one question per page, a picture on the left, Back, Next and
// Cancel. What the pages store and check is the core's (wizard/wizard.h); this window moves
// values between its controls and the core, shows the boxes, saves, learns transmitters and
// programs the unit.
#pragma once

#include "data/kivodata.h"
#include "data/kivoini.h"
#include "gui/common/appcontext.h"
#include "wizard/wizard.h"

#include <QDialog>
#include <QStringList>

#include <array>
#include <memory>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTimer;

namespace kivo::gui {

class KeyFilter;
class PagePicture;
class SvgPicture;
class TfrmReceiveRadio;
class UpDown;

class TfrmKivoWizard : public QDialog {
    Q_OBJECT
public:
    explicit TfrmKivoWizard(AppContext& ctx, QWidget* parent = nullptr);
    ~TfrmKivoWizard() override;

    // Show = 1, Next = 2, Back = 4; true when the page state changed.
    bool HandlePage(int action);
    void InitAnswers();
    void ShowPagePicture(int state);
    QString TransmitterName(int n) const;
    // The page pictures by index; the start window's image list in the program (the shell
    // hands it over), the drawings of WizardPictures() otherwise.
    void SetPictures(const QStringList& pictures) { pictures_ = pictures; }

    int PageState() const { return answers_.state; }
    const wizard::Answers& Answers() const { return answers_; }
    KivoData& Data() { return data_; }

    // Frame
    QFrame* pnlTop = nullptr;
    QLabel* lblTopInfo = nullptr;
    QLabel* lblProgress = nullptr;
    SvgPicture* imgLogo = nullptr;
    PagePicture* imgLeft = nullptr;
    QTabWidget* pgcWizard = nullptr;
    std::array<QWidget*, wizard::kSheets> tbs{};
    QPushButton* btnBack = nullptr;
    QPushButton* btnNext = nullptr;
    QPushButton* btnCancel = nullptr;
    QTimer* tmrPollKobu = nullptr;

    // tbs0
    QGroupBox* gbxInfoStart = nullptr;
    QPlainTextEdit* mmStart = nullptr;
    // tbs1
    QGroupBox* gbxInfoRadio = nullptr;
    QPlainTextEdit* mmRadioAlarms = nullptr;
    QGroupBox* gbxQuestionRadio = nullptr;
    QLabel* lblHowManyRadioAlarms = nullptr;
    QLineEdit* edtHowManyRadioAlarms = nullptr;
    // tbs2
    QGroupBox* gbxInfoTestAlarm = nullptr;
    QPlainTextEdit* mmTestAlarm = nullptr;
    QGroupBox* gbxQuestionTestAlarm = nullptr;
    QCheckBox* cbTestAlarm = nullptr;
    QLineEdit* edtTestAlarmValue = nullptr;
    QComboBox* cbbxTestAlarmUnit = nullptr;
    // tbs3
    QGroupBox* gbxInfoMainsReminder = nullptr;
    QPlainTextEdit* mmInternalAlarms = nullptr;
    QGroupBox* gbxInternalAlarms = nullptr;
    QCheckBox* cbInternalAlarms = nullptr;
    QLineEdit* edtInternalAlarms = nullptr;
    QLabel* lblInternalAlarmsUnit = nullptr;
    QLabel* lblExtraButton = nullptr;
    QComboBox* cbbxAlarmTypeExtraButton = nullptr;
    // tbs4
    QGroupBox* gbxInfoPreCall = nullptr;
    QPlainTextEdit* mmPrecallSignal = nullptr;
    QGroupBox* gbxPrecallSignal = nullptr;
    QLabel* lblPrecall_1 = nullptr;
    QComboBox* cbbxPrecallType = nullptr;
    QLabel* lblPrecall_2 = nullptr;
    QLineEdit* edtPrecallDuration = nullptr;
    QLabel* lblPrecall_3 = nullptr;
    // tbs5
    QGroupBox* gbxInfoChooseReceiverList = nullptr;
    QPlainTextEdit* mmChooseReceiverList = nullptr;
    QGroupBox* rgOnlyOneReceiverList = nullptr;
    std::array<QRadioButton*, 2> rgOnlyOneReceiverListItems{};
    // tbs6
    QGroupBox* gbxInfoSelectGroup = nullptr;
    QPlainTextEdit* mmSelectGroupInfo = nullptr;
    QGroupBox* gbxMultiReceiverList = nullptr;
    std::array<QCheckBox*, wizard::kGroups> cbAlarmTypeGroup{};
    std::array<QLabel*, wizard::kGroups> lblAlarmTypeGroup{};
    // tbs7
    QGroupBox* gbxInfoReceiverList = nullptr;
    QPlainTextEdit* mmReceiverList = nullptr;
    QLabel* lblTelephoneNumberTip = nullptr;
    QGroupBox* gbxReceiverList = nullptr;
    QLabel* lblPhoneNumber = nullptr;
    QLabel* lblProtocol = nullptr;
    QLabel* lblMaxCallAttempts = nullptr;
    std::array<QLabel*, wizard::kAttempts> lblAttempt{};
    std::array<QLineEdit*, wizard::kAttempts> edtPhone{};
    std::array<QComboBox*, wizard::kAttempts> cbbxProtocol{};
    std::array<QLineEdit*, wizard::kAttempts> edtCallAttempts{};
    std::array<UpDown*, wizard::kAttempts> udAttempts{};
    // tbs8
    QGroupBox* gbxInfoNightMode = nullptr;
    QPlainTextEdit* mmNightMode = nullptr;
    QLabel* lblNightModePhoneNumberTip = nullptr;
    QGroupBox* gbxQuestionNightMode = nullptr;
    QCheckBox* cbActivateNightMode = nullptr;
    QLabel* lblNightModePhone = nullptr;
    QLineEdit* edtNightModePhone = nullptr;
    QLabel* lblNightModeProtocol = nullptr;
    QComboBox* cbbxNightModeProtocol = nullptr;
    QLabel* lblNightModeCallAttempts = nullptr;
    QLineEdit* edtNightModeCallAttempts = nullptr;
    UpDown* udNightModeCallAttempts = nullptr;
    // tbs9
    QGroupBox* gbxInfoSaveConfig = nullptr;
    QPlainTextEdit* mmSaveConfig = nullptr;
    QGroupBox* gbxQuestionSaveConfig = nullptr;
    QCheckBox* cbSaveConfigAs = nullptr;
    QLineEdit* edtSaveConfigAs = nullptr;
    // tbs10
    QGroupBox* gbxInfoLearnRadio = nullptr;
    QPlainTextEdit* mmRadioAlarmInfo = nullptr;
    QGroupBox* gbxQuestionLearnRadio = nullptr;
    QLabel* lblLearnRadioTransmitter = nullptr;
    std::array<QPushButton*, wizard::kPositions> btnLearnRadioCode{};
    std::array<QLineEdit*, wizard::kPositions> edtRadioCode{};
    // tbs11
    QGroupBox* gbxProgramKivoInfo = nullptr;
    QPlainTextEdit* mmProgramKivo = nullptr;
    QGroupBox* gbxProgramKivo = nullptr;
    QLabel* lblAlarmCode = nullptr;
    QLineEdit* edtAlarmCode = nullptr;
    QPushButton* btnProgramKivo = nullptr;
    QLabel* lblProgramKivoNowStatus = nullptr;

public slots:
    void btnNextClick();
    void btnBackClick();
    void btnCancelClick();
    void cbTestAlarmClick();
    void cbInternalAlarmsClick();
    void cbActivateNightModeClick();
    void cbSaveConfigAsClick();
    void btnRadioCodeClick(int n);
    void tmrPollKobuTimer();
    void btnProgramKivoClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormCreate();
    void FormShow();
    // Building the window (kivowizardpages.cpp).
    void BuildFrame();
    void BuildSheets();
    QWidget* Sheet(int index, QGroupBox* info, QPlainTextEdit* memo, QWidget* question,
                   QWidget* extra = nullptr);
    void FillChoiceLists();
    void AttachKeyFilters();
    // Showing and reading a page (kivowizardshow.cpp).
    void ShowPage();
    wizard::PageValues ReadPage() const;
    void WriteBack(const wizard::PageValues& values);
    void RunEnablingRules();
    TfrmReceiveRadio* ReceiveRadioWindow();

    AppContext& ctx_;
    KivoIni ini_;
    KivoData data_;
    wizard::Answers answers_;
    QStringList pictures_;
    ValueList alarmTypeValues_;
    ValueList precallValues_;
    ValueList protocolValues_;
    KeyFilter* keys_ = nullptr;
    // Learning: the link while the Kobu listens, and the last code it reported.
    std::unique_ptr<KobuLink> radioLink_;
    QString receivedCode_;
    std::unique_ptr<TfrmReceiveRadio> ownReceiveRadio_;
};

} // namespace kivo::gui
