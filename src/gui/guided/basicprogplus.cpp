#include "gui/guided/basicprogplus.h"

#include "app/strtable.h"
#include "data/basicimage.h"
#include "data/codec.h"
#include "data/fileio.h"
#include "gui/common/frame.h"
#include "gui/common/guide.h"
#include "gui/common/keyfilter.h"
#include "gui/common/messages.h"
#include "gui/common/placement.h"
#include "gui/common/printdialog.h"
#include "gui/common/qtprocedureui.h"
#include "gui/common/statusline.h"
#include "link/commands.h"
#include "link/procedures.h"
#include "report/printconfiguration.h"

#include <QAbstractItemView>
#include <QButtonGroup>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <iterator>

namespace kivo::gui {

namespace {

constexpr QSize kClientSize(440, 330);
constexpr int kGroupWidth = 420;
// A long file name widens the window up to here; beyond it the list shows its start only
// (the whole name is its tool tip).
constexpr int kMaxGroupWidth = 760;
constexpr int kMaxAlarmCode = 16;
// The radio choices' texts, in the order of RadioOption.
constexpr int kRadioTexts[] = {12004, 12005, 12006};

} // namespace

TfrmBasicProgPlus::TfrmBasicProgPlus(AppContext& ctx, QWidget* parent)
    : QDialog(parent, FrameFlags(Frame::SystemMenu)), ctx_(ctx) {
    setObjectName(QStringLiteral("frmBasicProgPlus"));
    AddGuideAction(this, ctx_); // F1
    BuildControls();
    SetTexts();
    FitFixedSize(this, kClientSize);
}

void TfrmBasicProgPlus::BuildControls() {
    GroupBox1 = new QGroupBox(this);
    lblSelectConfiguration = new QLabel(GroupBox1);
    cmbConfiguration = new QComboBox(GroupBox1);
    lblWhatAlarmCode = new QLabel(GroupBox1);
    edtAlarmCode = new QLineEdit(GroupBox1);
    rgRadioCodes = new QGroupBox(GroupBox1);
    btnWriteToKivo = new QPushButton(this);
    btnReadAndPrint = new QPushButton(this);
    btnExit = new QPushButton(this);
    sbStatus = new StatusLine(this);

    const std::pair<QObject*, const char*> names[] = {
        {GroupBox1, "GroupBox1"},
        {lblSelectConfiguration, "lblSelectConfiguration"},
        {cmbConfiguration, "cmbConfiguration"},
        {lblWhatAlarmCode, "lblWhatAlarmCode"},
        {edtAlarmCode, "edtAlarmCode"},
        {rgRadioCodes, "rgRadioCodes"},
        {btnWriteToKivo, "btnWriteToKivo"},
        {btnReadAndPrint, "btnReadAndPrint"},
        {btnExit, "btnExit"},
        {sbStatus, "sbStatus"}};
    for (const auto& [object, name] : names) object->setObjectName(QString::fromLatin1(name));

    for (QLabel* l : {lblSelectConfiguration, lblWhatAlarmCode}) {
        l->setWordWrap(true);
        l->setFocusPolicy(Qt::NoFocus);
    }
    lblSelectConfiguration->setBuddy(cmbConfiguration);
    lblWhatAlarmCode->setBuddy(edtAlarmCode);

    // A drop-down list without typing; its width follows the group box, not the names.
    cmbConfiguration->setEditable(false);
    cmbConfiguration->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cmbConfiguration->setMinimumContentsLength(20);
    connect(cmbConfiguration, &QComboBox::activated, this,
            &TfrmBasicProgPlus::cmbConfigurationChange);

    edtAlarmCode->setMaxLength(kMaxAlarmCode);
    // The ID number takes the characters of an alarm code only; Enter writes (eventFilter,
    // installed last so that it sees the key first).
    auto* keys = new KeyFilter(this);
    keys->Attach(edtAlarmCode, KeyRule::AlarmCode);
    edtAlarmCode->installEventFilter(this);

    radioChoices_ = new QButtonGroup(this);
    auto* radios = new QVBoxLayout(rgRadioCodes);
    radios->setContentsMargins(10, 8, 10, 8);
    radios->setSpacing(6);
    for (int i = 0; i < static_cast<int>(std::size(kRadioTexts)); ++i) {
        radioButtons_[i] = new QRadioButton(rgRadioCodes);
        radioButtons_[i]->setObjectName(QStringLiteral("rgRadioCodes%1").arg(i));
        radioChoices_->addButton(radioButtons_[i], i);
        radios->addWidget(radioButtons_[i]);
    }

    progress_ = new QProgressBar(sbStatus);
    progress_->setObjectName(QStringLiteral("pbProgress"));
    progress_->setFixedWidth(120);
    progress_->setTextVisible(false);
    progress_->setMaximumHeight(14);
    progress_->hide();
    sbStatus->addPermanentWidget(progress_);
    sbStatus->setSizeGripEnabled(false);

    for (QPushButton* b : {btnWriteToKivo, btnReadAndPrint, btnExit}) b->setMinimumSize(75, 27);

    auto* group = new QVBoxLayout(GroupBox1);
    group->setContentsMargins(14, 12, 14, 14);
    group->setSpacing(4);
    group->addWidget(lblSelectConfiguration);
    group->addWidget(cmbConfiguration, 0, Qt::AlignLeft);
    group->addSpacing(10);
    group->addWidget(lblWhatAlarmCode);
    group->addWidget(edtAlarmCode, 0, Qt::AlignLeft);
    group->addSpacing(10);
    group->addWidget(rgRadioCodes);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(8);
    buttons->addWidget(btnWriteToKivo);
    buttons->addWidget(btnReadAndPrint);
    buttons->addStretch(1);
    buttons->addWidget(btnExit);

    auto* body = new QVBoxLayout;
    body->setContentsMargins(10, 10, 10, 8);
    body->setSpacing(10);
    body->addWidget(GroupBox1, 0, Qt::AlignLeft);
    body->addLayout(buttons);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addLayout(body, 1);
    layout->addWidget(sbStatus);

    connect(btnWriteToKivo, &QPushButton::clicked, this, &TfrmBasicProgPlus::btnWriteToKivoClick);
    connect(btnReadAndPrint, &QPushButton::clicked, this, &TfrmBasicProgPlus::btnReadAndPrintClick);
    connect(btnExit, &QPushButton::clicked, this, &TfrmBasicProgPlus::btnExitClick);
}

void TfrmBasicProgPlus::SetTexts() {
    setWindowTitle(QStr(12001));
    lblSelectConfiguration->setText(QStr(12002));
    lblWhatAlarmCode->setText(QStr(12003));
    for (int i = 0; i < static_cast<int>(std::size(kRadioTexts)); ++i)
        radioButtons_[i]->setText(QStr(kRadioTexts[i]));
    btnWriteToKivo->setText(QStr(12007));
    btnReadAndPrint->setText(QStr(12008));
    btnExit->setText(QStr(14001));
}

void TfrmBasicProgPlus::ArrangeWidths() {
    // The group box is wide enough for the radio choices and the buttons below it, and for
    // the longest file name where that fits on the screen; labels and list take 0.8 of it.
    const QMargins margins = GroupBox1->layout()->contentsMargins();
    int width =
        std::max(kGroupWidth, rgRadioCodes->sizeHint().width() + margins.left() + margins.right());
    int buttons = 0;
    for (QPushButton* b : {btnWriteToKivo, btnReadAndPrint, btnExit})
        buttons += b->sizeHint().width() + 8;
    width = std::max(width, buttons + 24);
    int longest = 0;
    for (int i = 0; i < cmbConfiguration->count(); ++i)
        longest = std::max(longest, fontMetrics().horizontalAdvance(cmbConfiguration->itemText(i)));
    // Besides the name the list needs room for its frame and arrow.
    const int listNeeds = longest + fontMetrics().horizontalAdvance(QStringLiteral("MMMM"));
    width = std::max(width, std::min(kMaxGroupWidth, listNeeds * 10 / 8 + 1));

    GroupBox1->setFixedWidth(width);
    const int labelWidth = width * 8 / 10;
    for (QLabel* l : {lblSelectConfiguration, lblWhatAlarmCode}) l->setFixedWidth(labelWidth);
    cmbConfiguration->setFixedWidth(labelWidth);
    cmbConfiguration->view()->setMinimumWidth(std::min(kMaxGroupWidth, listNeeds));
    // Room for sixteen characters of the widest kind.
    edtAlarmCode->setFixedWidth(
        std::min(labelWidth, fontMetrics().horizontalAdvance(QString(kMaxAlarmCode + 2, 'W'))));
    FitFixedSize(this, kClientSize);
}

int TfrmBasicProgPlus::RadioChoice() const {
    return radioChoices_->checkedId();
}

void TfrmBasicProgPlus::SetRadioChoice(int index) {
    if (index >= 0 && index < static_cast<int>(std::size(kRadioTexts)))
        radioButtons_[index]->setChecked(true);
}

void TfrmBasicProgPlus::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) FormShow();
    QDialog::showEvent(event);
}

void TfrmBasicProgPlus::FormShow() {
    SetTexts();
    SetRadioChoice(static_cast<int>(kDefaultRadioOption));
    sbStatus->clearMessage();
    const bool found = ListConfigurations();
    ArrangeWidths();
    StayAbove(this, ctx_.windows.Window(Role::Editor));
    CentreOnScreen(this);
    edtAlarmCode->setFocus();
    // The boxes come once the window is up: a modal dialog cannot end before its own loop
    // runs, and the box belongs over the window.
    QTimer::singleShot(0, this, [this, found] {
        if (!isVisible()) return;
        if (!found) {
            Messages::Show(this, MsgKind::Information, 12010);
            btnExitClick();
        } else if (!LoadSelected()) {
            Messages::Show(this, MsgKind::Error, 15010);
        }
    });
}

bool TfrmBasicProgPlus::ListConfigurations() {
    cmbConfiguration->clear();
    // The names match as they do on the platform the files come from: without regard to case.
    QDir folder(QString::fromStdString(ctx_.folders.configFolder));
    const QStringList names =
        folder.entryList({QStringLiteral("*.Kivo")}, QDir::Files, QDir::Name | QDir::IgnoreCase);
    for (const QString& name : names) {
        cmbConfiguration->addItem(name);
        cmbConfiguration->setItemData(cmbConfiguration->count() - 1, name, Qt::ToolTipRole);
    }
    if (names.isEmpty()) return false;
    cmbConfiguration->setCurrentIndex(0);
    return true;
}

bool TfrmBasicProgPlus::LoadSelected() {
    if (cmbConfiguration->currentIndex() < 0) return false;
    const std::string path =
        ctx_.folders.configFolder + "/" + cmbConfiguration->currentText().toStdString();
    if (!data_.LoadImageFile(path)) return false;
    data_.fileName = path;
    data_.imageSource = SourceOpened;
    fileSize_ = static_cast<unsigned>(FileLength(path));
    cmbConfiguration->setToolTip(cmbConfiguration->currentText());
    return true;
}

void TfrmBasicProgPlus::cmbConfigurationChange() {
    if (!LoadSelected()) Messages::Show(this, MsgKind::Error, 15010);
}

bool TfrmBasicProgPlus::eventFilter(QObject* watched, QEvent* event) {
    if (watched == edtAlarmCode && event->type() == QEvent::KeyPress) {
        const auto* k = static_cast<QKeyEvent*>(event);
        if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) {
            // A held key writes once, not again for every repeat queued during the write.
            if (!k->isAutoRepeat()) btnWriteToKivoClick();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmBasicProgPlus::btnWriteToKivoClick() {
    sbStatus->clearMessage();
    if (edtAlarmCode->text().isEmpty()) {
        Messages::Show(this, MsgKind::Information, 12009);
        return;
    }
    // Every write starts from the file: nothing of an earlier write or read carries over.
    if (!LoadSelected()) {
        Messages::Show(this, MsgKind::Error, 15010);
        return;
    }
    const int choice = RadioChoice();
    const unsigned first =
        PrepareBasicImage(data_.image, edtAlarmCode->text().toStdString(),
                          choice < 0 ? kDefaultRadioOption : static_cast<RadioOption>(choice));

    QtProcedureUi ui({this, sbStatus, nullptr, progress_, {}});
    std::unique_ptr<KobuLink> link = ctx_.MakeLink();
    WriteOptions options = WriteOptions::Basic(first, fileSize_);
    options.backupFolder = BackupFolderSetting(ctx_.folders.programFolder);
    WriteUnit(*link, data_, ui, options);
}

void TfrmBasicProgPlus::btnReadAndPrintClick() {
    QtProcedureUi ui({this, sbStatus, nullptr, progress_, {}});
    std::unique_ptr<KobuLink> link = ctx_.MakeLink();
    unsigned size = 0;
    if (ReadUnit(*link, data_, ui, size, {}, ReadOptions::ReadAndPrint()) != ReadOutcome::Read)
        return;

    QPrinter printer(QPrinter::HighResolution);
    if (!PrintDialog::Run(this, printer)) return;
    PrintDialog::ReportOutcome(
        this, printer,
        PrintReadConfiguration(data_, size, {ctx_.folders.programFolder, ctx_.templateFolder},
                               printer));
}

void TfrmBasicProgPlus::btnExitClick() {
    edtAlarmCode->clear();
    reject();
}

} // namespace kivo::gui
