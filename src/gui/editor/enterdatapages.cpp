#include "gui/editor/enterdatapages.h"

#include "app/strtable.h"
#include "data/memorymap.h"
#include "editor/binding.h"
#include "gui/common/formbuilder.h"
#include "gui/common/messages.h"
#include "gui/common/named.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QSvgRenderer>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <initializer_list>
#include <string>

// Resources of a static library are registered by hand; this must stay outside any namespace.
static void InitArtwork() {
    Q_INIT_RESOURCE(artwork);
}

namespace kivo::gui {

namespace {

// The edition switches: a control is shown only when its text is not empty.
struct Switch {
    int text;
    std::initializer_list<const char*> controls;
};

const Switch kEditionSwitches[] = {
    {13615, {"cbEmergencyAlarm"}},
    {13608, {"cbReminder"}},
    {13609, {"cbPassive"}},
    {13616, {"cbCarpetAlarm"}},
    {13617, {"cbAssaultAlarm"}},
    {13219, {"lblAutoAnswerDuration", "edtAutoAnswerDuration", "lblAutoAnswerDurationUnit"}},
    {13230, {"cbbxLineVolume1"}},
    {13231, {"cbbxLineVolume2"}},
    {13232, {"cbbxLineVolume3"}},
    {13233, {"cbbxLineVolumeExtra"}},
    {13234, {"cbbxLineVolumeDialingPhase"}},
};

// Controls no edition shows; the lists among them are still filled and bound.
const char* const kAlwaysHidden[] = {
    "lblCallBack",
    "cbCallBackA",
    "cbCallBackB",
    "cbCallBackC",
    "cbCallBackD",
    "cbCallBackN",
    "cbCallBackR",
    "lblCallTypeForServiceCall",
    "cbbxCallTypeForServiceCall",
    "lblServiceCallInterval",
    "edtServiceCallInterval",
    "lblServiceCallIntervalUnit",
};

// The labels of a destination are named by its letter, but night mode and redirection in full.
QString DestinationLabelName(int d) {
    const char letter = mm::kDestinationLetters[d];
    if (letter == 'N') return QStringLiteral("NightMode");
    if (letter == 'R') return QStringLiteral("Redirection");
    return QString(QLatin1Char(letter));
}

// An edit field as its binding has it: as wide as it is long.
QLineEdit* MakeBoundEdit(const QString& name) {
    const Binding* b = FindBinding(name.toStdString());
    const int maxLength = b ? b->maxLength : 0;
    return MakeEdit(name, maxLength, maxLength);
}

// What kind of field a row has and what it takes follow from the field's binding.
FieldSpec BoundField(const char* field) {
    const Binding* b = FindBinding(field);
    switch (b ? KindOf(b->conversion) : ControlKind::Edit) {
    case ControlKind::List:
        return {FieldKind::List};
    case ControlKind::Shown:
        return {FieldKind::ReadOnly, 0, 10};
    default:
        return {FieldKind::Edit, b ? b->maxLength : 0, b ? b->maxLength : 0};
    }
}

QWidget* MakePage(QTabWidget* pages, const char* name, int caption) {
    auto* page = Named(new QWidget, name);
    pages->addTab(page, QStr(caption));
    return page;
}

QVBoxLayout* Column(std::initializer_list<QWidget*> widgets) {
    auto* v = new QVBoxLayout;
    v->setSpacing(4);
    for (QWidget* w : widgets) v->addWidget(w);
    v->addStretch();
    return v;
}

QHBoxLayout* PageLayout(QWidget* page) {
    auto* h = new QHBoxLayout(page);
    h->setContentsMargins(2, 2, 2, 2);
    h->setSpacing(4);
    return h;
}

void BuildAlarmSources(QTabWidget* pages) {
    QWidget* page = MakePage(pages, "tbshtAlarmSources", 13101);
    auto* v = new QVBoxLayout(page);
    v->setContentsMargins(2, 2, 2, 2);
    v->setSpacing(4);

    QGroupBox* radio = MakeGroup("gbxRadioAlarms", 13111);
    auto* grid = Tight(new QGridLayout(radio));
    grid->setVerticalSpacing(2);
    grid->addWidget(MakeLabel("lblRadioTestAlarm", 13229), 0, 6, Qt::AlignHCenter);
    const QIcon info = InfoButtonIcon();
    for (int n = 1; n <= 8; ++n) {
        const QString N = QString::number(n);
        auto* pos = Named(new QLabel(QStr(13140) + QLatin1Char(' ') + N), "lblRadioPos" + N);
        grid->addWidget(pos, n, 0);
        grid->addWidget(MakeBoundEdit("edtRadioPos" + N), n, 1);
        QPushButton* receive = MakeButton("btnReceive" + N, 13501);
        receive->setFixedWidth(receive->fontMetrics().horizontalAdvance(receive->text()) + 16);
        grid->addWidget(receive, n, 2);
        auto* infoButton = Named(new QToolButton, "bbtnInfoRadioPos" + N);
        infoButton->setIcon(info);
        infoButton->setIconSize(QSize(16, 16));
        infoButton->setAutoRaise(false);
        grid->addWidget(infoButton, n, 3);
        auto* type = Named(new QLabel(QStr(13141) + QLatin1Char(' ') + N), "lblAlarmTypePos" + N);
        grid->addWidget(type, n, 4);
        QComboBox* list = MakeList("cbbxAlarmTypePos" + N);
        list->setProperty("Tag", n);
        grid->addWidget(list, n, 5, Qt::AlignLeft);
        auto* test = Named(new QCheckBox, "cbTestRadioPos" + N);
        grid->addWidget(test, n, 6, Qt::AlignHCenter);
    }
    grid->setColumnStretch(7, 1);
    v->addWidget(radio);

    auto* row = new QHBoxLayout;
    row->setSpacing(6);
    row->addWidget(CheckGroup("gbxInternal", 13112,
                              {{"cbTestAlarm", 13601},
                               {"cbMainsFailure", 13602},
                               {"cbMainsOK", 13603},
                               {"cbRadioInterference", 13606},
                               {"cbRadioOutOfRange", 13612},
                               {"cbRadioWithinRange", 13613},
                               {"cbAccumulator", 13604},
                               {"cbEmergencyAlarm", 13615}},
                              2));

    // Reminder and passive alarm share the first place: an edition names at most one of them.
    QGroupBox* additional = MakeGroup("gbxAdditional", 13114);
    auto* ag = Tight(new QGridLayout(additional));
    ag->setHorizontalSpacing(10);
    ag->addWidget(MakeCheck("cbReminder", 13608), 0, 0);
    ag->addWidget(MakeCheck("cbPassive", 13609), 0, 0);
    const std::pair<const char*, int> more[] = {
        {"cbAssistance", 13610}, {"cbLogCall", 13611},     {"cbAutoReady", 13605},
        {"cbInactivity", 13614}, {"cbCarpetAlarm", 13616}, {"cbAssaultAlarm", 13617}};
    int i = 1;
    for (const auto& [n, text] : more) {
        ag->addWidget(MakeCheck(n, text), i % 4, i / 4);
        ++i;
    }
    row->addWidget(additional, 1); // its right edge lines up with the groups above and below
    v->addLayout(row);

    QGroupBox* buttons = MakeGroup("gbxButtons", 13113);
    auto* bh = Tight(new QHBoxLayout(buttons));
    bh->addWidget(MakeCheck("cbFrontButton", 13607));
    bh->addSpacing(24);
    bh->addWidget(MakeLabel("lblExtraButtonAlarmType", 13142));
    bh->addWidget(MakeList("cbbxAlarmTypeExtraButton"));
    bh->addStretch();
    v->addWidget(buttons);
    v->addStretch();
}

void BuildSequences(QTabWidget* pages) {
    QWidget* page = MakePage(pages, "tbshtSequences", 13102);
    auto* h = PageLayout(page);

    const Group groups = {
        "gbxSequenceForAlarmTypeGroups",
        13115,
        {
            {13143, "lblUserAlarms", "cbbxUserAlarms", nullptr, 0, 13702},
            {13144, "lblExternalAlarms", "cbbxExternalAlarms", nullptr, 0, 13703},
            {13145, "lblPowerAlarms", "cbbxPowerAlarms", nullptr, 0, 13704},
            {13146, "lblSmokeDetectorAlarm", "cbbxSmokeDetectorAlarm", nullptr, 0, 13705},
            {13147, "lblAssaultAlarms", "cbbxAssaultAlarms", nullptr, 0, 13706},
            {13148, "lblPresenceAlarms", "cbbxPresenceAlarms", nullptr, 0, 13707},
            {13149, "lblTestAlarm", "cbbxTestAlarm", nullptr, 0, 13708},
            {13150, "lblEmergencyAlarm", "cbbxEmergencyAlarm", nullptr, 0, 13709},
            {13151, "lblAssistanceAlarm", "cbbxAssistanceAlarm", nullptr, 0, 13710},
            {13152, "lblUserDefinedAlarm", "cbbxUserDefinedAlarm", nullptr, 0, 13711},
        }};
    h->addLayout(Column({BuildGroup(groups, page, BoundField)}));

    QGroupBox* definitions = MakeGroup("gbxSequenceDefinitions", 13116);
    auto* dg = Tight(new QGridLayout(definitions));
    dg->setSpacing(6);
    for (int s = 1; s <= 4; ++s) {
        const QString S = QString::number(s);
        QGroupBox* seq = MakeGroup("gbxSequence" + S, 13116 + s);
        auto* sv = Tight(new QVBoxLayout(seq));
        for (int step = 1; step <= 4; ++step)
            sv->addWidget(MakeList("cbbxSequence" + S + "_" + QString::number(step)));
        dg->addWidget(seq, (s - 1) / 2, (s - 1) % 2);
    }

    const Group cycles = {
        "gbxCycles",
        13121,
        {
            {13153, "lblRepeatSequence", "edtRepeatSequence", nullptr, 0, 0, "udRepeatSequence"},
            {13154, "lblMaxNumberOfCallAttempts", "edtMaxNoCallAttempts", nullptr, 0, 0,
             "udMaxNoCallAttempts"},
        }};
    h->addLayout(Column({definitions, BuildGroup(cycles, page, BoundField)}));
    h->addStretch();
}

void BuildCallNumbers(QTabWidget* pages) {
    QWidget* page = MakePage(pages, "tbshtCallNumbers", 13103);
    auto* h = PageLayout(page);
    QGroupBox* box = MakeGroup("gbxCallInformation", 13122);
    auto* grid = Tight(new QGridLayout(box));
    grid->setHorizontalSpacing(14);
    grid->setVerticalSpacing(1);
    grid->addWidget(MakeLabel("lblCallBack", 13179), 0, 4);
    for (int d = 0; d < 6; ++d) {
        const QString X(QLatin1Char(mm::kDestinationLetters[d]));
        const QString L = DestinationLabelName(d);
        const int top = 3 * d; // label line, field line, a little air
        grid->addWidget(MakeLabel("lblTelephoneNumber" + L, 13155 + d), top, 0);
        grid->addWidget(MakeLabel("lblAlarmCode" + L, 13161 + d), top, 1);
        grid->addWidget(MakeLabel("lblProtocol" + L, 13167 + d), top, 2);
        grid->addWidget(MakeLabel("lblCallAttempts" + L, 13173 + d), top, 3);
        grid->addWidget(MakeBoundEdit("edtTelephoneNo" + X), top + 1, 0, Qt::AlignLeft);
        grid->addWidget(MakeBoundEdit("edtAlarmCode" + X), top + 1, 1, Qt::AlignLeft);
        grid->addWidget(MakeList("cbbxProtocol" + X), top + 1, 2, Qt::AlignLeft);
        const QByteArray field = ("edtCallAttempts" + X).toLatin1();
        const QByteArray spinner = ("udCallAttempts" + X).toLatin1();
        Row attempts{0, "", field.constData()};
        attempts.spinner = spinner.constData();
        grid->addWidget(MakeField(attempts, page, BoundField), top + 1, 3);
        grid->addWidget(MakeCheck("cbCallBack" + X, 0), top + 1, 4);
        grid->setRowMinimumHeight(top + 2, 8);
    }
    grid->setRowStretch(18, 1);
    h->addLayout(Column({box}));
    h->addStretch();
}

void BuildTimersAndIndication(QTabWidget* pages) {
    QWidget* page = MakePage(pages, "tbshtTimersAndIndication", 13104);
    auto* h = PageLayout(page);
    const Group timers = {
        "gbxAlarmActivationAndTimers",
        13123,
        {
            {13180, "lblPassiveAlarmInterval", "edtPassiveAlarmInterval",
             "lblPassiveAlarmIntervalUnit", 13181, 13714},
            {13182, "lblTimeToReminderAlarm", "edtTimeToReminder", "lblTimeToReminderAlarmUnit",
             13195},
            {13183, "lblMaxReminderAlarms", "edtMaxReminder"},
            {13184, "lblTimeToMainsFailure", "edtTimeToMainsFailure", "lblTimeToMainsFailureUnit",
             13185, 13713},
            {13186, "lblTestAlarmInterval", "edtTestAlarmInterval", "lblTestAlarmIntervalUnit",
             13187, 13712},
            {13188, "lblBlockHomeCarePhone", "edtBlockHomeCarePhone", "lblBlockHomeCarePhoneUnit",
             13195},
            {13189, "lblBatteryCheckInterval", "edtBatteryCheckInterval",
             "lblBatteryCheckIntervalUnit", 13196},
            {13190, "lblMaxTimeInPresence", "edtMaxTimeInPresence", "lblMaxTimeInPresenceUnit",
             13196},
            {13191, "lblTimeBetweenInterferenceAlarm", "edtTimeBetweenInterferenceAlarm",
             "lblTimeBetweenInterferenceAlarmUnit", 13195},
            {13192, "lblResetTestAlarmTimer", "cbbxResetTestAlarmTimer"},
            {13193, "lblRadioTestAlarmInterval", "edtRadioTestAlarmPeriod",
             "lblRadioTestAlarmPeriodUnit", 13196},
        }};
    const Group indications = {
        "gbxIndications",
        13124,
        {
            {13199, "lblWarningFunctions", "cbbxWarningFunctions"},
            {13200, "lblSignalVolume", "cbbxSignalLevel"},
            {13201, "lblSpeechVolume", "cbbxConversationLevel"},
            {13202, "lblPreCallSignal", "cbbxPrecallSignalType"},
            {13203, "lblPreCallSignalDuration", "edtPrecallSignalDelay",
             "lblPreCallSignalDurationUnit", 13194},
            {13204, "lblRingingSignalInSpeaker", "cbbxRingingSignalInSpeaker"},
            {13205, "lblDiallingInSpeaker", "cbbxDiallingInSpeaker"},
            {13206, "lblIndicationDuringCall", "cbbxIndicationInBatteryMode"},
            {13207, "lblAlarmButtonIllumination", "cbbxAlarmButtonIllumination"},
        }};
    h->addLayout(Column({BuildGroup(timers, page, BoundField)}));
    h->addLayout(Column({BuildGroup(indications, page, BoundField)}));
    h->addStretch();
}

void BuildCallParameters(QTabWidget* pages) {
    QWidget* page = MakePage(pages, "tbshtCallParameters", 13105);
    auto* h = PageLayout(page);
    const Group outgoing = {
        "gbxOutgoingCall",
        13125,
        {
            {13208, "lblDiallingMode", "cbbxDiallingMode"},
            {13209, "lblDialToneDetection", "cbbxDialToneDetection"},
            {13210, "lblTimeIfNoDialToneDetector", "edtWaitTimeNoDialToneDetector",
             "lblTimeIfNoDialToneDetectorUnit", 13194},
            {13211, "lblTimeToWaitForAnswer", "edtTimeToWaitForAnswer",
             "lblTimeToWaitForAnswerUnit", 13194},
            {13212, "lblTonesToWaitForAnswer", "edtTonesToWaitForAnswer"},
            {13213, "lblMaxTonesInSpeech", "edtMaxTonesInSpeech"},
            {13214, "lblTimeBetweenCalls", "edtTimeBetweenCalls", "lblTimeBetweenCallsUnit", 13194},
            {13215, "lblMaxConversationTime", "edtMaxConversationTime",
             "lblMaxConversationTimeUnit", 13194},
            {13216, "lblPolarityChangeDetection", "cbbxPolarityChangeDetection"},
            {13217, "lblInterruptTimeTestAlarm", "edtMaxOrdinaryCallTime",
             "lblInterruptTimeTestAlarmUnit", 13195},
            {13218, "lblRequireDisconnection", "cbbxRequireDisconnection"},
            {13219, "lblAutoAnswerDuration", "edtAutoAnswerDuration", "lblAutoAnswerDurationUnit",
             13194},
        }};
    const Group incoming = {"gbxIncomingCall",
                            13126,
                            {
                                {13220, "lblAnswerByPortableTrigger", "cbbxTransmitterAnswer"},
                                {13221, "lblAutoAnswerProgrammingMode", "edtAutoAnswerProgramming"},
                                {13222, "lblAutoAnswerHomePhoneMode", "edtAutoAnswerHomephone"},
                            }};
    const Group other = {
        "gbxOtherFunctions",
        13127,
        {
            {13224, "lblReplaceLastDigitInCode", "cbbxReplaceLastDigit"},
            {13225, "lblUserDefinedAlarmTypeId", "edtUserDefinedAlarmTypeID"},
            {13227, "lblAlarmTypes", "btnAlarmTypesConfigure", nullptr, 0, 0, nullptr, 13228},
            {13226, "lblAnswerRadioMessageWithAck", "cbbxAnswerRadioMessageWithAck"},
            {13223, "lblSingleCallTestAlarm", "cbbxCallerIDTestAlarm"},
        }};
    // The fields of both groups in one column, at the outgoing group's: the incoming group's
    // longer labels break into two lines rather than widen the window.
    QGroupBox* out = BuildGroup(outgoing, page, BoundField);
    QGroupBox* in = BuildGroup(incoming, page, BoundField);
    auto* outGrid = static_cast<QGridLayout*>(out->layout());
    auto* inGrid = static_cast<QGridLayout*>(in->layout());
    int labels = 0;
    for (int r = 0; r < outGrid->rowCount(); ++r)
        if (QLayoutItem* item = outGrid->itemAtPosition(r, 0))
            labels = std::max(labels, item->sizeHint().width());
    for (int r = 0; r < inGrid->rowCount(); ++r) {
        auto* label = inGrid->itemAtPosition(r, 0)
                          ? qobject_cast<QLabel*>(inGrid->itemAtPosition(r, 0)->widget())
                          : nullptr;
        if (!label) continue;
        label->setWordWrap(true);
        label->setFixedWidth(labels);
    }
    h->addLayout(Column({out, in}));
    h->addLayout(Column({BuildGroup(other, page, BoundField)}));
    h->addStretch();
}

void BuildExtendedFunctions(QTabWidget* pages) {
    QWidget* page = MakePage(pages, "tbshtExtendedFunctions", 13106);
    auto* h = PageLayout(page);
    const Group product = {"gbxProductInformation",
                           13128,
                           {
                               {13250, "lblProductModel", "edtProductModel"},
                               {13251, "lblCountry", "edtCountry"},
                               {13255, "lblProductionDate", "edtProductionDate"},
                               {13256, "lblSerialNumber", "edtSerialNumber"},
                               {13258, "lblFirmwareVersion", "edtFirmwareVersion"},
                           }};
    const Group functions = {
        "gbxFunctions",
        13130,
        {
            {13235, "lblTransmitterBeepDuringConversation",
             "cbbxTransmitterBeepDuringConversation"},
            {13236, "lblPassiveAlarmOnceOnly", "cbbxPassiveAlarmOnceOnly"},
            {13237, "lblDigitAfterUnsuccesfulDialTone", "cbbxDigitAfterUnsuccesfulDialTone"},
            {13238, "lblCallTypeForServiceCall", "cbbxCallTypeForServiceCall"},
            {13239, "lblServiceCallInterval", "edtServiceCallInterval",
             "lblServiceCallIntervalUnit", 13198},
        }};
    QGroupBox* productBox = BuildGroup(product, page, BoundField);
    // The production date may need twice the width of the other fields (a long date form):
    // the fields sit at the right edge of a column with room for that.
    auto* grid = static_cast<QGridLayout*>(productBox->layout());
    const int fieldWidth = productBox->findChild<QLineEdit*>("edtCountry")->maximumWidth();
    grid->setColumnMinimumWidth(1, 2 * fieldWidth);
    for (QLineEdit* e : productBox->findChildren<QLineEdit*>()) {
        grid->setAlignment(e, Qt::AlignRight);
    }
    h->addLayout(Column({productBox}));
    h->addLayout(Column({BuildGroup(functions, page, BoundField)}));
    h->addStretch();
}

void BuildAdvanced(QTabWidget* pages) {
    QWidget* page = MakePage(pages, "tbshtAdvanced", 13107);
    auto* h = PageLayout(page);
    auto* grid = Named(new QTableWidget(0, 4), "sgAdvanced");
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    grid->verticalHeader()->hide();
    grid->verticalHeader()->setDefaultSectionSize(18);
    grid->verticalHeader()->setMinimumSectionSize(18);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setSelectionBehavior(QAbstractItemView::SelectItems);
    grid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                          QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
    grid->setWordWrap(false);
    QHeaderView* header = grid->horizontalHeader();
    header->setHighlightSections(false);
    header->setSectionsClickable(false);
    header->setSectionResizeMode(QHeaderView::Fixed);
    header->setSectionResizeMode(1, QHeaderView::Stretch);
    // Narrow number and unit columns leave the descriptions room to show whole.
    grid->setColumnWidth(0, 46);
    grid->setColumnWidth(2, 42);
    grid->setColumnWidth(3, 68);
    h->addWidget(grid, 1);

    const Group info = {"gbxAdvancedInfo",
                        13129,
                        {
                            {13230, "lblLineVolume1", "cbbxLineVolume1"},
                            {13231, "lblLineVolume2", "cbbxLineVolume2"},
                            {13232, "lblLineVolume3", "cbbxLineVolume3"},
                            {13233, "lblLineVolumeExtra", "cbbxLineVolumeExtra"},
                            {13234, "lblLineVolumeDialingPhase", "cbbxLineVolumeDialingPhase"},
                            {13257, "lblRadioCalibration", "edtRadioCalibration"},
                        },
                        true};
    QGroupBox* infoBox = BuildGroup(info, page, BoundField);
    infoBox->findChild<QLineEdit*>("edtRadioCalibration")
        ->setFixedWidth(infoBox->fontMetrics().horizontalAdvance(QStringLiteral("000")) + 14);
    h->addLayout(Column({infoBox}));
}

} // namespace

QIcon InfoButtonIcon() {
    InitArtwork();
    QSvgRenderer svg(QStringLiteral(":/artwork/inforadio.svg"));
    QIcon icon;
    for (int size : {16, 24, 32}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        svg.render(&painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

QTabWidget* BuildEditorPages(QWidget* parent) {
    auto* pages = Named(new QTabWidget(parent), "pgcntrlMain");
    pages->setUsesScrollButtons(false);
    BuildAlarmSources(pages);
    BuildSequences(pages);
    BuildCallNumbers(pages);
    BuildTimersAndIndication(pages);
    BuildCallParameters(pages);
    BuildExtendedFunctions(pages);
    BuildAdvanced(pages);

    for (const Switch& s : kEditionSwitches) {
        if (!Str(s.text).empty()) continue;
        for (const char* name : s.controls) {
            QWidget* w = pages->findChild<QWidget*>(name);
            if (auto* box = qobject_cast<QCheckBox*>(w)) box->setText(QString());
            w->hide();
        }
    }
    for (const char* name : kAlwaysHidden) pages->findChild<QWidget*>(name)->hide();
    return pages;
}

} // namespace kivo::gui
