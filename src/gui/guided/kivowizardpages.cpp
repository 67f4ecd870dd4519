// Building the wizard: the frame, the twelve sheets with their controls, the choice lists and
// the key filters.
#include "gui/guided/kivowizard.h"

#include "gui/common/formbuilder.h"
#include "gui/common/keyfilter.h"
#include "gui/common/messages.h"
#include "gui/common/named.h"
#include "gui/common/picture.h"
#include "gui/common/placement.h"
#include "gui/common/updown.h"
#include "gui/guided/wizardpictures.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardItemModel>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <cstring>
#include <utility>

namespace kivo::gui {

namespace {

constexpr QSize kPictureSize(112, 160);
constexpr QSize kLogoSize(44, 44);
constexpr int kTopHeight = 58;
constexpr int kButtonWidth = 96;
constexpr int kCapacityAlarmType = 100;
constexpr int kCapacityPrecall = 20;
constexpr int kCapacityProtocol = 30;

QPlainTextEdit* Memo(QWidget* parent, const char* name) {
    // Borderless and read-only: it reads like a text on the page, not like a field.
    auto* memo = Named(new QPlainTextEdit(parent), name);
    memo->setReadOnly(true);
    memo->setFrameShape(QFrame::NoFrame);
    memo->setFocusPolicy(Qt::NoFocus);
    memo->setTextInteractionFlags(Qt::NoTextInteraction);
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    memo->viewport()->setAutoFillBackground(false);
    memo->setStyleSheet(QStringLiteral("QPlainTextEdit { background: transparent; }"));
    memo->document()->setDocumentMargin(2);
    // The memo takes the room the question leaves; the question always gets what it needs.
    memo->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Ignored);
    memo->setMinimumHeight(48);
    return memo;
}

QLabel* Label(QWidget* parent, const char* name, bool wrap = false) {
    auto* label = Named(new QLabel(parent), name);
    label->setWordWrap(wrap);
    return label;
}

QLineEdit* Field(QWidget* parent, const QString& name, int maxLength, int width = 0) {
    auto* field = Named(new QLineEdit(parent), name);
    field->setMaxLength(maxLength);
    if (width) field->setFixedWidth(width);
    return field;
}

// The fields of the rows built from tables.
FieldSpec SheetField(const char* field) {
    static const std::pair<const char*, FieldSpec> kFields[] = {
        {"cbbxPrecallType", {FieldKind::List}},
        {"edtPrecallDuration", {FieldKind::Edit, 3, 0, 48}},
        {"edtAlarmCode", {FieldKind::Edit, 16, 0, 150}},
    };
    for (const auto& [name, spec] : kFields)
        if (std::strcmp(name, field) == 0) return spec;
    return {};
}

// A control of a group built from a table, into the window's member of that name.
template <class W> void Take(QWidget* group, W*& member, const char* name) {
    member = group->findChild<W*>(QLatin1String(name));
}

// A choice list from a section of Values.ini; separator items are shown but cannot be chosen.
void Fill(const KivoIni& ini, QComboBox* combo, const char* section, ValueList& values,
          int capacity) {
    ItemList list;
    values = {kSentinel};
    ini.FillFromSection(list, section, values, capacity, true);
    combo->clear();
    for (const std::string& item : list.items) combo->addItem(Q(item));
    auto* model = qobject_cast<QStandardItemModel*>(combo->model());
    for (int i = 0; i < combo->count(); ++i)
        if (combo->itemText(i).startsWith(QStringLiteral("---")) && model)
            model->item(i)->setFlags(Qt::NoItemFlags);
    combo->setCurrentIndex(list.selected);
}

} // namespace

void TfrmKivoWizard::BuildFrame() {
    pnlTop = Named(new QFrame(this), "pnlTop");
    pnlTop->setAutoFillBackground(true);
    QPalette white = pnlTop->palette();
    white.setColor(QPalette::Window, Qt::white);
    pnlTop->setPalette(white);
    pnlTop->setFixedHeight(kTopHeight);
    lblTopInfo = Label(pnlTop, "lblTopInfo");
    lblProgress = Label(pnlTop, "lblProgress");
    lblProgress->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblProgress->setMinimumWidth(110);
    for (QLabel* l : {lblTopInfo, lblProgress}) {
        QFont bold = l->font();
        bold.setBold(true);
        l->setFont(bold);
    }
    QFont title = lblTopInfo->font();
    title.setPointSizeF(title.pointSizeF() * 1.25);
    lblTopInfo->setFont(title);
    imgLogo = Named(new SvgPicture(QString::fromLatin1(kWizardLogo), kLogoSize, pnlTop), "imgLogo");
    auto* top = new QHBoxLayout(pnlTop);
    top->setContentsMargins(14, 6, 10, 6);
    top->setSpacing(12);
    top->addWidget(lblTopInfo, 1);
    top->addWidget(lblProgress);
    top->addWidget(imgLogo);

    auto* topLine = new QFrame(this);
    topLine->setFrameShape(QFrame::HLine);
    topLine->setFrameShadow(QFrame::Sunken);

    imgLeft = Named(new PagePicture(kPictureSize, this), "imgLeft");
    pgcWizard = Named(new QTabWidget(this), "pgcWizard");
    pgcWizard->tabBar()->hide();
    pgcWizard->setDocumentMode(true);
    auto* middle = new QHBoxLayout;
    middle->setContentsMargins(10, 10, 10, 4);
    middle->setSpacing(12);
    middle->addWidget(imgLeft, 0, Qt::AlignTop);
    middle->addWidget(pgcWizard, 1);

    auto* bevel = new QFrame(this);
    bevel->setFrameShape(QFrame::HLine);
    bevel->setFrameShadow(QFrame::Sunken);

    btnBack = Named(new QPushButton(this), "btnBack");
    btnNext = Named(new QPushButton(this), "btnNext");
    btnCancel = Named(new QPushButton(this), "btnCancel");
    for (QPushButton* b : {btnBack, btnNext, btnCancel}) {
        b->setMinimumWidth(kButtonWidth);
        b->setAutoDefault(false);
    }
    btnNext->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(10, 4, 10, 10);
    buttons->setSpacing(6);
    buttons->addStretch(1);
    buttons->addWidget(btnBack);
    buttons->addWidget(btnNext);
    buttons->addSpacing(14);
    buttons->addWidget(btnCancel);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    outer->addWidget(pnlTop);
    outer->addWidget(topLine);
    outer->addLayout(middle, 1);
    outer->addWidget(bevel);
    outer->addLayout(buttons);

    tmrPollKobu = Named(new QTimer(this), "tmrPollKobu");
    tmrPollKobu->setProperty("Tag", 0);

    connect(btnNext, &QPushButton::clicked, this, &TfrmKivoWizard::btnNextClick);
    connect(btnBack, &QPushButton::clicked, this, &TfrmKivoWizard::btnBackClick);
    connect(btnCancel, &QPushButton::clicked, this, &TfrmKivoWizard::btnCancelClick);
    connect(tmrPollKobu, &QTimer::timeout, this, &TfrmKivoWizard::tmrPollKobuTimer);
}

QWidget* TfrmKivoWizard::Sheet(int index, QGroupBox* info, QPlainTextEdit* memo, QWidget* question,
                               QWidget* extra) {
    QWidget* sheet = tbs[index];
    auto* infoLayout = new QVBoxLayout(info);
    infoLayout->setContentsMargins(8, 4, 8, 6);
    infoLayout->setSpacing(4);
    infoLayout->addWidget(memo, 1);
    if (extra) infoLayout->addWidget(extra);
    auto* layout = new QVBoxLayout(sheet);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);
    layout->addWidget(info, 1);
    if (question) layout->addWidget(question);
    return sheet;
}

void TfrmKivoWizard::BuildSheets() {
    for (int i = 0; i < wizard::kSheets; ++i) {
        tbs[i] = Named(new QWidget, QStringLiteral("tbs%1").arg(i));
        pgcWizard->addTab(tbs[i], QString());
    }

    // tbs0: the welcome text only.
    gbxInfoStart = Named(new QGroupBox(tbs[0]), "gbxInfoStart");
    mmStart = Memo(gbxInfoStart, "mmStart");
    Sheet(0, gbxInfoStart, mmStart, nullptr);

    // tbs1: how many transmitters of a kind.
    gbxInfoRadio = Named(new QGroupBox(tbs[1]), "gbxInfoRadio");
    mmRadioAlarms = Memo(gbxInfoRadio, "mmRadioAlarms");
    gbxQuestionRadio = Named(new QGroupBox(tbs[1]), "gbxQuestionRadio");
    lblHowManyRadioAlarms = Label(gbxQuestionRadio, "lblHowManyRadioAlarms", true);
    edtHowManyRadioAlarms = Field(gbxQuestionRadio, "edtHowManyRadioAlarms", 1, 36);
    {
        auto* row = new QHBoxLayout(gbxQuestionRadio);
        row->addWidget(lblHowManyRadioAlarms, 1);
        row->addWidget(edtHowManyRadioAlarms);
    }
    Sheet(1, gbxInfoRadio, mmRadioAlarms, gbxQuestionRadio);

    // tbs2: test alarm.
    gbxInfoTestAlarm = Named(new QGroupBox(tbs[2]), "gbxInfoTestAlarm");
    mmTestAlarm = Memo(gbxInfoTestAlarm, "mmTestAlarm");
    gbxQuestionTestAlarm = Named(new QGroupBox(tbs[2]), "gbxQuestionTestAlarm");
    cbTestAlarm = Named(new QCheckBox(gbxQuestionTestAlarm), "cbTestAlarm");
    edtTestAlarmValue = Field(gbxQuestionTestAlarm, "edtTestAlarmValue", 3, 48);
    cbbxTestAlarmUnit = Named(new QComboBox(gbxQuestionTestAlarm), "cbbxTestAlarmUnit");
    {
        auto* row = new QHBoxLayout(gbxQuestionTestAlarm);
        row->addWidget(cbTestAlarm);
        row->addWidget(edtTestAlarmValue);
        row->addWidget(cbbxTestAlarmUnit);
        row->addStretch(1);
    }
    Sheet(2, gbxInfoTestAlarm, mmTestAlarm, gbxQuestionTestAlarm);

    // tbs3: one of the unit's own alarms; each page shows only what it uses.
    gbxInfoMainsReminder = Named(new QGroupBox(tbs[3]), "gbxInfoMainsReminder");
    mmInternalAlarms = Memo(gbxInfoMainsReminder, "mmInternalAlarms");
    gbxInternalAlarms = Named(new QGroupBox(tbs[3]), "gbxInternalAlarms");
    cbInternalAlarms = Named(new QCheckBox(gbxInternalAlarms), "cbInternalAlarms");
    lblExtraButton = Label(gbxInternalAlarms, "lblExtraButton");
    cbbxAlarmTypeExtraButton = Named(new QComboBox(gbxInternalAlarms), "cbbxAlarmTypeExtraButton");
    edtInternalAlarms = Field(gbxInternalAlarms, "edtInternalAlarms", 3, 48);
    lblInternalAlarmsUnit = Label(gbxInternalAlarms, "lblInternalAlarmsUnit");
    {
        auto* row = new QHBoxLayout(gbxInternalAlarms);
        row->addWidget(cbInternalAlarms);
        row->addWidget(lblExtraButton);
        row->addWidget(cbbxAlarmTypeExtraButton);
        row->addWidget(edtInternalAlarms);
        row->addWidget(lblInternalAlarmsUnit);
        row->addStretch(1);
    }
    Sheet(3, gbxInfoMainsReminder, mmInternalAlarms, gbxInternalAlarms);

    // tbs4: pre-call signal.
    gbxInfoPreCall = Named(new QGroupBox(tbs[4]), "gbxInfoPreCall");
    mmPrecallSignal = Memo(gbxInfoPreCall, "mmPrecallSignal");
    const Group precall = {"gbxPrecallSignal",
                           0,
                           {
                               {0, "lblPrecall_1", "cbbxPrecallType"},
                               {0, "lblPrecall_2", "edtPrecallDuration", "lblPrecall_3"},
                           }};
    gbxPrecallSignal = BuildGroup(precall, tbs[4], SheetField, Density::Roomy);
    Take(gbxPrecallSignal, lblPrecall_1, "lblPrecall_1");
    Take(gbxPrecallSignal, cbbxPrecallType, "cbbxPrecallType");
    Take(gbxPrecallSignal, lblPrecall_2, "lblPrecall_2");
    Take(gbxPrecallSignal, edtPrecallDuration, "edtPrecallDuration");
    Take(gbxPrecallSignal, lblPrecall_3, "lblPrecall_3");
    Sheet(4, gbxInfoPreCall, mmPrecallSignal, gbxPrecallSignal);

    // tbs5: one receiver list or several.
    gbxInfoChooseReceiverList = Named(new QGroupBox(tbs[5]), "gbxInfoChooseReceiverList");
    mmChooseReceiverList = Memo(gbxInfoChooseReceiverList, "mmChooseReceiverList");
    rgOnlyOneReceiverList = Named(new QGroupBox(tbs[5]), "rgOnlyOneReceiverList");
    {
        auto* items = new QButtonGroup(rgOnlyOneReceiverList);
        auto* column = new QVBoxLayout(rgOnlyOneReceiverList);
        for (int i = 0; i < 2; ++i) {
            rgOnlyOneReceiverListItems[i] = Named(new QRadioButton(rgOnlyOneReceiverList),
                                                  QStringLiteral("rgOnlyOneReceiverList%1").arg(i));
            items->addButton(rgOnlyOneReceiverListItems[i], i);
            column->addWidget(rgOnlyOneReceiverListItems[i]);
        }
    }
    Sheet(5, gbxInfoChooseReceiverList, mmChooseReceiverList, rgOnlyOneReceiverList);

    // tbs6: the alarm groups of a receiver list, two columns of five.
    gbxInfoSelectGroup = Named(new QGroupBox(tbs[6]), "gbxInfoSelectGroup");
    mmSelectGroupInfo = Memo(gbxInfoSelectGroup, "mmSelectGroupInfo");
    gbxMultiReceiverList = Named(new QGroupBox(tbs[6]), "gbxMultiReceiverList");
    {
        auto* grid = new QGridLayout(gbxMultiReceiverList);
        grid->setVerticalSpacing(0);
        grid->setHorizontalSpacing(16);
        for (int g = 0; g < wizard::kGroups; ++g) {
            cbAlarmTypeGroup[g] = Named(new QCheckBox(gbxMultiReceiverList),
                                        QStringLiteral("cbAlarmTypeGroup%1").arg(g + 1));
            lblAlarmTypeGroup[g] = Named(new QLabel(gbxMultiReceiverList),
                                         QStringLiteral("lblAlarmTypeGroup%1").arg(g + 1));
            lblAlarmTypeGroup[g]->setIndent(22);
            QPalette grey = lblAlarmTypeGroup[g]->palette();
            grey.setColor(QPalette::WindowText, QColor(0x55, 0x5d, 0x66));
            lblAlarmTypeGroup[g]->setPalette(grey);
            const int row = 2 * (g % 5);
            const int column = g / 5;
            grid->addWidget(cbAlarmTypeGroup[g], row, column);
            grid->addWidget(lblAlarmTypeGroup[g], row + 1, column);
        }
    }
    Sheet(6, gbxInfoSelectGroup, mmSelectGroupInfo, gbxMultiReceiverList);

    // tbs7: the four call attempts of a receiver list.
    gbxInfoReceiverList = Named(new QGroupBox(tbs[7]), "gbxInfoReceiverList");
    mmReceiverList = Memo(gbxInfoReceiverList, "mmReceiverList");
    lblTelephoneNumberTip = Label(gbxInfoReceiverList, "lblTelephoneNumberTip", true);
    gbxReceiverList = Named(new QGroupBox(tbs[7]), "gbxReceiverList");
    lblPhoneNumber = Label(gbxReceiverList, "lblPhoneNumber");
    lblProtocol = Label(gbxReceiverList, "lblProtocol");
    lblMaxCallAttempts = Label(gbxReceiverList, "lblMaxCallAttempts");
    {
        auto* grid = new QGridLayout(gbxReceiverList);
        grid->setVerticalSpacing(4);
        grid->addWidget(lblPhoneNumber, 0, 1);
        grid->addWidget(lblProtocol, 0, 2);
        grid->addWidget(lblMaxCallAttempts, 0, 3, 1, 2);
        for (int j = 0; j < wizard::kAttempts; ++j) {
            const QString n = QString::number(j + 1);
            lblAttempt[j] = Named(new QLabel(gbxReceiverList), "lblAttempt" + n);
            edtPhone[j] = Field(gbxReceiverList, "edtPhone" + n, 16, 150);
            cbbxProtocol[j] = Named(new QComboBox(gbxReceiverList), "cbbxProtocol" + n);
            edtCallAttempts[j] = Field(gbxReceiverList, "edtCallAttempts" + n, 3, 44);
            udAttempts[j] =
                Named(new UpDown(edtCallAttempts[j], 0, 255, gbxReceiverList), "udAttempts" + n);
            auto* attempts = new QHBoxLayout;
            attempts->setSpacing(0);
            attempts->addWidget(edtCallAttempts[j]);
            attempts->addWidget(udAttempts[j]);
            attempts->addStretch(1);
            grid->addWidget(lblAttempt[j], j + 1, 0);
            grid->addWidget(edtPhone[j], j + 1, 1);
            grid->addWidget(cbbxProtocol[j], j + 1, 2);
            grid->addLayout(attempts, j + 1, 3);
        }
        grid->setColumnStretch(2, 1);
    }
    Sheet(7, gbxInfoReceiverList, mmReceiverList, gbxReceiverList, lblTelephoneNumberTip);

    // tbs8: night mode.
    gbxInfoNightMode = Named(new QGroupBox(tbs[8]), "gbxInfoNightMode");
    mmNightMode = Memo(gbxInfoNightMode, "mmNightMode");
    lblNightModePhoneNumberTip = Label(gbxInfoNightMode, "lblNightModePhoneNumberTip", true);
    gbxQuestionNightMode = Named(new QGroupBox(tbs[8]), "gbxQuestionNightMode");
    cbActivateNightMode = Named(new QCheckBox(gbxQuestionNightMode), "cbActivateNightMode");
    lblNightModePhone = Label(gbxQuestionNightMode, "lblNightModePhone");
    edtNightModePhone = Field(gbxQuestionNightMode, "edtNightModePhone", 16, 150);
    lblNightModeProtocol = Label(gbxQuestionNightMode, "lblNightModeProtocol");
    cbbxNightModeProtocol = Named(new QComboBox(gbxQuestionNightMode), "cbbxNightModeProtocol");
    lblNightModeCallAttempts = Label(gbxQuestionNightMode, "lblNightModeCallAttempts");
    edtNightModeCallAttempts = Field(gbxQuestionNightMode, "edtNightModeCallAttempts", 3, 44);
    udNightModeCallAttempts =
        Named(new UpDown(edtNightModeCallAttempts, 0, 255, gbxQuestionNightMode),
              "udNightModeCallAttempts");
    {
        auto* grid = new QGridLayout(gbxQuestionNightMode);
        grid->setVerticalSpacing(4);
        grid->addWidget(cbActivateNightMode, 0, 0, 1, 3);
        grid->addWidget(lblNightModePhone, 1, 0);
        grid->addWidget(lblNightModeProtocol, 1, 1);
        grid->addWidget(lblNightModeCallAttempts, 1, 2);
        grid->addWidget(edtNightModePhone, 2, 0);
        grid->addWidget(cbbxNightModeProtocol, 2, 1);
        auto* attempts = new QHBoxLayout;
        attempts->setSpacing(0);
        attempts->addWidget(edtNightModeCallAttempts);
        attempts->addWidget(udNightModeCallAttempts);
        attempts->addStretch(1);
        grid->addLayout(attempts, 2, 2);
        grid->setColumnStretch(1, 1);
    }
    Sheet(8, gbxInfoNightMode, mmNightMode, gbxQuestionNightMode, lblNightModePhoneNumberTip);

    // tbs9: saving the configuration.
    gbxInfoSaveConfig = Named(new QGroupBox(tbs[9]), "gbxInfoSaveConfig");
    mmSaveConfig = Memo(gbxInfoSaveConfig, "mmSaveConfig");
    gbxQuestionSaveConfig = Named(new QGroupBox(tbs[9]), "gbxQuestionSaveConfig");
    cbSaveConfigAs = Named(new QCheckBox(gbxQuestionSaveConfig), "cbSaveConfigAs");
    edtSaveConfigAs = Field(gbxQuestionSaveConfig, "edtSaveConfigAs", 100);
    {
        auto* column = new QVBoxLayout(gbxQuestionSaveConfig);
        column->addWidget(cbSaveConfigAs);
        column->addWidget(edtSaveConfigAs);
    }
    Sheet(9, gbxInfoSaveConfig, mmSaveConfig, gbxQuestionSaveConfig);

    // tbs10: learning the transmitters, positions 1-4 left and 5-8 right.
    gbxInfoLearnRadio = Named(new QGroupBox(tbs[10]), "gbxInfoLearnRadio");
    mmRadioAlarmInfo = Memo(gbxInfoLearnRadio, "mmRadioAlarmInfo");
    gbxQuestionLearnRadio = Named(new QGroupBox(tbs[10]), "gbxQuestionLearnRadio");
    lblLearnRadioTransmitter = Label(gbxQuestionLearnRadio, "lblLearnRadioTransmitter", true);
    {
        auto* grid = new QGridLayout(gbxQuestionLearnRadio);
        grid->setVerticalSpacing(4);
        grid->setHorizontalSpacing(6);
        grid->addWidget(lblLearnRadioTransmitter, 0, 0, 1, 5);
        for (int n = 0; n < wizard::kPositions; ++n) {
            const QString N = QString::number(n + 1);
            btnLearnRadioCode[n] =
                Named(new QPushButton(gbxQuestionLearnRadio), "btnLearnRadioCode" + N);
            btnLearnRadioCode[n]->setAutoDefault(false);
            edtRadioCode[n] = Field(gbxQuestionLearnRadio, "edtRadioCode" + N, 4, 52);
            edtRadioCode[n]->setReadOnly(true);
            LegibleWhenDisabled(edtRadioCode[n]);
            const int row = 1 + n % 4;
            const int column = n < 4 ? 0 : 3;
            grid->addWidget(btnLearnRadioCode[n], row, column);
            grid->addWidget(edtRadioCode[n], row, column + 1);
            connect(btnLearnRadioCode[n], &QPushButton::clicked, this,
                    [this, n] { btnRadioCodeClick(n + 1); });
        }
        grid->setColumnMinimumWidth(2, 12);
        grid->setColumnStretch(0, 1);
        grid->setColumnStretch(3, 1);
    }
    Sheet(10, gbxInfoLearnRadio, mmRadioAlarmInfo, gbxQuestionLearnRadio);

    // tbs11: the ID number and programming.
    gbxProgramKivoInfo = Named(new QGroupBox(tbs[11]), "gbxProgramKivoInfo");
    mmProgramKivo = Memo(gbxProgramKivoInfo, "mmProgramKivo");
    // The button follows the ID number as a unit would; the status line is a note below.
    const Group program = {
        "gbxProgramKivo",
        0,
        {
            {0, "lblAlarmCode", "edtAlarmCode", "btnProgramKivo", 0, 0, nullptr, 0, true},
            {0, "lblProgramKivoNowStatus", nullptr},
        }};
    gbxProgramKivo = BuildGroup(program, tbs[11], SheetField, Density::Roomy);
    Take(gbxProgramKivo, lblAlarmCode, "lblAlarmCode");
    Take(gbxProgramKivo, edtAlarmCode, "edtAlarmCode");
    Take(gbxProgramKivo, btnProgramKivo, "btnProgramKivo");
    Take(gbxProgramKivo, lblProgramKivoNowStatus, "lblProgramKivoNowStatus");
    Sheet(11, gbxProgramKivoInfo, mmProgramKivo, gbxProgramKivo);

    connect(cbTestAlarm, &QCheckBox::toggled, this, &TfrmKivoWizard::cbTestAlarmClick);
    connect(cbInternalAlarms, &QCheckBox::toggled, this, &TfrmKivoWizard::cbInternalAlarmsClick);
    connect(cbActivateNightMode, &QCheckBox::toggled, this,
            &TfrmKivoWizard::cbActivateNightModeClick);
    connect(cbSaveConfigAs, &QCheckBox::toggled, this, &TfrmKivoWizard::cbSaveConfigAsClick);
    connect(btnProgramKivo, &QPushButton::clicked, this, &TfrmKivoWizard::btnProgramKivoClick);
}

void TfrmKivoWizard::FillChoiceLists() {
    Fill(ini_, cbbxAlarmTypeExtraButton, "AlarmType", alarmTypeValues_, kCapacityAlarmType);
    Fill(ini_, cbbxPrecallType, "PrecallType", precallValues_, kCapacityPrecall);
    for (QComboBox* c : cbbxProtocol) Fill(ini_, c, "Protocol", protocolValues_, kCapacityProtocol);
    Fill(ini_, cbbxNightModeProtocol, "Protocol", protocolValues_, kCapacityProtocol);
    cbbxTestAlarmUnit->addItems({QStr(13197), QStr(13198)});
}

void TfrmKivoWizard::AttachKeyFilters() {
    keys_ = new KeyFilter(this);
    for (QLineEdit* f : {edtHowManyRadioAlarms, edtTestAlarmValue, edtPrecallDuration})
        keys_->Attach(f, KeyRule::Numeric);
    for (int j = 0; j < wizard::kAttempts; ++j) {
        keys_->Attach(edtCallAttempts[j], KeyRule::Numeric, udAttempts[j]);
        keys_->Attach(edtPhone[j], KeyRule::Telephone);
    }
    keys_->Attach(edtNightModeCallAttempts, KeyRule::Numeric, udNightModeCallAttempts);
    keys_->Attach(edtNightModePhone, KeyRule::Telephone);
    keys_->Attach(edtAlarmCode, KeyRule::AlarmCode);
    for (QLineEdit* f : edtRadioCode) keys_->Attach(f, KeyRule::Radio);
}

} // namespace kivo::gui
