#include "gui/editor/enterdatapages.h"

#include "app/strtable.h"
#include "data/memorymap.h"
#include "editor/binding.h"
#include "gui/common/messages.h"
#include "gui/common/named.h"
#include "gui/common/placement.h"
#include "gui/common/updown.h"

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

#include <initializer_list>
#include <string>

// Resources of a static library are registered by hand; this must stay outside any namespace.
static void InitArtwork() {
    Q_INIT_RESOURCE(artwork);
}

namespace kivo::gui {

namespace {

// Compact spacing: the German captions fill the fixed window.
constexpr int kGroupMargin = 4;
constexpr int kSpacing = 3;

enum class Kind { Edit, ReadOnly, List, Button };

// One row of a group: label, field, and optionally a unit label or a spinner. What kind of
// field it is and what it takes come from the field's binding.
struct Row {
    int text;                      // caption of the label
    const char* label;             // name of the label
    const char* field;             // name of the field
    const char* unit = nullptr;    // name of the unit label
    int unitText = 0;              // its caption
    int hint = 0;                  // hint of the field
    const char* spinner = nullptr; // name of the spinner beside the field
    int buttonText = 0;            // buttons: caption
};

struct Group {
    const char* name;
    int caption;
    std::initializer_list<Row> rows;
    bool stacked = false; // each label above its field, for narrow groups
};

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

// The labels of destination d name it in full where its letter says little.
const char* const kDestinationLabel[] = {"A", "B", "C", "D", "NightMode", "Redirection"};

QLabel* MakeLabel(const QString& name, int text) {
    return Named(new QLabel(QStr(text)), name);
}

// An edit field wide enough for `chars` digits; it takes at most `maxLength` characters.
QLineEdit* MakeEdit(const QString& name, int chars, int maxLength) {
    auto* e = Named(new QLineEdit, name);
    if (maxLength > 0) e->setMaxLength(maxLength);
    const int width = e->fontMetrics().horizontalAdvance(QString(chars, QLatin1Char('0')));
    e->setFixedWidth(width + 14);
    return e;
}

// An edit field as its binding has it: as wide as it is long.
QLineEdit* MakeBoundEdit(const QString& name) {
    const Binding* b = FindBinding(name.toStdString());
    const int maxLength = b ? b->maxLength : 0;
    return MakeEdit(name, maxLength, maxLength);
}

// The fields that only show what the unit reports.
QLineEdit* MakeShowField(const QString& name, int chars) {
    QLineEdit* e = MakeEdit(name, chars, 0);
    e->setReadOnly(true);
    e->setEnabled(false);
    LegibleWhenDisabled(e);
    return e;
}

QComboBox* MakeList(const QString& name) {
    auto* c = Named(new QComboBox, name);
    c->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    return c;
}

QCheckBox* MakeCheck(const QString& name, int text) {
    return Named(new QCheckBox(QStr(text)), name);
}

QPushButton* MakeButton(const QString& name, int text) {
    auto* b = Named(new QPushButton(QStr(text)), name);
    b->setAutoDefault(false);
    return b;
}

void SetHint(QWidget* w, int text) {
    // The tool tip keeps the line break; the status bar shows one line.
    QString hint = QStr(text);
    hint.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    w->setToolTip(hint);
    w->setStatusTip(QString(hint).replace(QLatin1Char('\n'), QLatin1Char(' ')));
}

QGroupBox* MakeGroup(const QString& name, int caption) {
    return Named(new QGroupBox(QStr(caption)), name);
}

template <class L> L* Tight(L* layout) {
    layout->setContentsMargins(kGroupMargin, kGroupMargin, kGroupMargin, kGroupMargin);
    layout->setSpacing(kSpacing);
    return layout;
}

Kind KindOfRow(const Row& r) {
    if (r.buttonText) return Kind::Button;
    const Binding* b = FindBinding(r.field);
    switch (b ? KindOf(b->conversion) : ControlKind::Edit) {
    case ControlKind::List:
        return Kind::List;
    case ControlKind::Shown:
        return Kind::ReadOnly;
    default:
        return Kind::Edit;
    }
}

// The field of a row with its spinner, if any.
QWidget* MakeField(const Row& r, QWidget* page) {
    switch (KindOfRow(r)) {
    case Kind::List:
        return MakeList(r.field);
    case Kind::Button:
        return MakeButton(r.field, r.buttonText);
    case Kind::ReadOnly:
        return MakeShowField(r.field, 10);
    case Kind::Edit:
        break;
    }
    QLineEdit* edit = MakeBoundEdit(r.field);
    if (r.hint) SetHint(edit, r.hint);
    if (!r.spinner) return edit;
    auto* box = new QWidget(page);
    auto* h = new QHBoxLayout(box);
    h->setContentsMargins(0, 0, 0, 0);
    h->setSpacing(0);
    h->addWidget(edit);
    h->addWidget(Named(new UpDown(edit, 0, 255), r.spinner));
    h->addStretch();
    return box;
}

// A group of rows: label, field and unit side by side, or each label above its field.
QGroupBox* BuildGroup(const Group& g, QWidget* page) {
    QGroupBox* box = MakeGroup(g.name, g.caption);
    auto* grid = Tight(new QGridLayout(box));
    int line = 0;
    for (const Row& r : g.rows) {
        QLabel* label = MakeLabel(r.label, r.text);
        QWidget* field = MakeField(r, page);
        if (r.hint && KindOfRow(r) == Kind::List) SetHint(field, r.hint);
        if (g.stacked) {
            grid->addWidget(label, line++, 0);
            grid->addWidget(field, line++, 0, Qt::AlignLeft);
            continue;
        }
        grid->addWidget(label, line, 0);
        if (r.unit) {
            auto* h = new QHBoxLayout;
            h->setSpacing(kSpacing + 1);
            h->addWidget(field);
            h->addWidget(MakeLabel(r.unit, r.unitText));
            h->addStretch();
            grid->addLayout(h, line, 1);
        } else {
            grid->addWidget(field, line, 1, Qt::AlignLeft);
        }
        ++line;
    }
    grid->setColumnStretch(g.stacked ? 0 : 1, 1);
    return box;
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

// Tick boxes in a grid of `columns` columns, filled row by row.
QGroupBox* CheckGroup(const char* name, int caption,
                      std::initializer_list<std::pair<const char*, int>> boxes, int columns) {
    QGroupBox* box = MakeGroup(name, caption);
    auto* grid = Tight(new QGridLayout(box));
    grid->setHorizontalSpacing(10);
    int i = 0;
    for (const auto& [n, text] : boxes) {
        grid->addWidget(MakeCheck(n, text), i / columns, i % columns);
        ++i;
    }
    return box;
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
    row->addWidget(additional);
    row->addStretch();
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
    h->addLayout(Column({BuildGroup(groups, page)}));

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
    h->addLayout(Column({definitions, BuildGroup(cycles, page)}));
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
        const QString L = kDestinationLabel[d];
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
        grid->addWidget(MakeField(attempts, page), top + 1, 3);
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
    h->addLayout(Column({BuildGroup(timers, page)}));
    h->addLayout(Column({BuildGroup(indications, page)}));
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
    h->addLayout(Column({BuildGroup(outgoing, page), BuildGroup(incoming, page)}));
    h->addLayout(Column({BuildGroup(other, page)}));
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
    QGroupBox* productBox = BuildGroup(product, page);
    // The production date may need twice the width of the other fields (a long date form):
    // the fields sit at the right edge of a column with room for that.
    auto* grid = static_cast<QGridLayout*>(productBox->layout());
    const int fieldWidth = productBox->findChild<QLineEdit*>("edtCountry")->maximumWidth();
    grid->setColumnMinimumWidth(1, 2 * fieldWidth);
    for (QLineEdit* e : productBox->findChildren<QLineEdit*>()) {
        grid->setAlignment(e, Qt::AlignRight);
    }
    h->addLayout(Column({productBox}));
    h->addLayout(Column({BuildGroup(functions, page)}));
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
    QGroupBox* infoBox = BuildGroup(info, page);
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
