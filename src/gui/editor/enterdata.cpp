#include "gui/editor/enterdata.h"

#include "app/strtable.h"
#include "data/defaultconfigs.h"
#include "editor/binding.h"
#include "editor/rules.h"
#include "gui/common/diagnosisdialog.h"
#include "gui/common/edition.h"
#include "gui/common/frame.h"
#include "gui/common/guide.h"
#include "gui/common/keyfilter.h"
#include "gui/common/messages.h"
#include "gui/common/placement.h"
#include "gui/common/statusline.h"
#include "gui/common/updown.h"
#include "gui/editor/advancedgrid.h"
#include "gui/editor/enterdatapages.h"
#include "gui/editor/widgetcontrols.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QProgressBar>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <optional>
#include <string>

namespace kivo::gui {

namespace {

// Designed client area below the menu bar.
constexpr int kClientWidth = 772;
constexpr int kClientHeight = 496;

// What an access level shows: levels 2, 3, 4, 5 in that order.
struct AccessRow {
    std::initializer_list<const char*> controls;
    bool shown[4];
};

const AccessRow kAccessLevels[] = {
    {{"lblAnswerRadioMessageWithAck", "cbbxAnswerRadioMessageWithAck", "lblAlarmTypes",
      "btnAlarmTypesConfigure"},
     {false, true, true, true}},
    {{"tbshtAdvanced", "mnuToolsCreateTextFile", "lblSingleCallTestAlarm", "cbbxCallerIDTestAlarm"},
     {false, false, true, false}},
    {{"mnuToolsChangePasswords"}, {false, false, false, true}},
};

// The key rule of a field, from its binding; nullopt for a field without one.
std::optional<KeyRule> KeyRuleOf(const std::string& control) {
    const Binding* b = FindBinding(control);
    return b ? b->key : std::nullopt;
}

// The one local configuration file (a name ending in ".Kivo", any letter case) that a drag
// carries; an empty text when it carries anything else, several files among them.
QString DraggedConfiguration(const QMimeData* mime) {
    if (!mime || !mime->hasUrls()) return QString();
    const QList<QUrl> urls = mime->urls();
    if (urls.size() != 1 || !urls.front().isLocalFile()) return QString();
    const QString path = urls.front().toLocalFile();
    if (!path.endsWith(QLatin1String(".kivo"), Qt::CaseInsensitive)) return QString();
    // A folder of that name is no configuration; the open dialog takes existing files only.
    return QFileInfo(path).isFile() ? path : QString();
}

} // namespace

TfrmEnterData::TfrmEnterData(AppContext& ctx, QWidget* parent) : QDialog(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("frmEnterData"));
    // Fixed border with the system menu and a minimise button.
    setWindowFlags(FrameFlags(Frame::Minimise));
    FormCreate();
}

TfrmEnterData::~TfrmEnterData() = default;

void TfrmEnterData::FormCreate() {
    ini_.SetFileName(ctx_.folders.programFolder + "Values.ini");
    const bool haveIni = ini_.FileFound();
    if (!haveIni) Messages::Show(this, MsgKind::Error, 15028);

    BuildMenus();
    pages_ = BuildEditorPages(this);
    status_ = new StatusLine(this);
    status_->setObjectName(QStringLiteral("sbStatus"));
    status_->setSizeGripEnabled(false);
    progress_ = new QProgressBar(status_);
    progress_->setObjectName(QStringLiteral("pbProgress"));
    progress_->setFixedWidth(160);
    progress_->setTextVisible(false);
    progress_->setMaximumHeight(14);
    progress_->hide();
    status_->addPermanentWidget(progress_);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(menu_);
    layout->addWidget(pages_, 1);
    layout->addWidget(status_);

    controls_ = std::make_unique<WidgetControls>(this);
    // Without Values.ini every list and the grid stay empty.
    if (haveIni) controls_->FillLists(ini_);
    BuildAdvancedGrid(haveIni);
    WireControls();
    // Edit fields take dragged text of their own; a dragged file is the window's business on
    // them too, or a dropped configuration would end up as its path in a field.
    setAcceptDrops(true);
    for (QWidget* w : findChildren<QWidget*>())
        if (w->acceptDrops()) w->installEventFilter(this);

    FitFixedSize(this, QSize(kClientWidth, kClientHeight + menu_->sizeHint().height()));

    doc_.data.imageSource = SourceDefault;
    UpdateTitle();
    mnuFileNewClick();
    doc_.imageSize = 512;
    RefreshRecentFiles();
}

void TfrmEnterData::BuildAdvancedGrid(bool haveIni) {
    auto* grid = findChild<QTableWidget*>(QStringLiteral("sgAdvanced"));
    QStringList headings;
    for (const char* key : {"Addr", "Desc", "Value", "Unit"})
        headings << (haveIni ? Q(ini_.ReadValue("ValueAdvanced", key)) : QString());
    grid->setHorizontalHeaderLabels(headings);
    const std::vector<AdvancedRow> rows =
        haveIni ? ini_.ReadAdvancedRows() : std::vector<AdvancedRow>();
    grid->setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < grid->rowCount(); ++r) {
        const AdvancedRow& row = rows[static_cast<std::size_t>(r)];
        const QString texts[] = {Q(row.addr), Q(row.desc), QStringLiteral("0"), Q(row.unit)};
        for (int c = 0; c < 4; ++c) {
            auto* item = new QTableWidgetItem(texts[c]);
            // Only the value can be changed; a long description shows whole as a tool tip.
            if (c != 2) item->setFlags(item->flags() & ~Qt::ItemIsEditable);
            if (c == 1) item->setToolTip(texts[c]);
            item->setTextAlignment(c == 1 || c == 3 ? Qt::AlignLeft | Qt::AlignVCenter
                                                    : Qt::AlignRight | Qt::AlignVCenter);
            grid->setItem(r, c, item);
        }
    }
    // Only the value cells can be edited, three digits at most, held to 0..255 as typed.
    new AdvancedValueDelegate(grid);
}

void TfrmEnterData::BuildMenus() {
    menu_ = new QMenuBar(this);
    menu_->setObjectName(QStringLiteral("mnuEnterData"));
    menu_->setNativeMenuBar(false);
    auto menu = [this](const char* name, int text) {
        QMenu* m = menu_->addMenu(QStr(text));
        m->setObjectName(QLatin1String(name));
        m->menuAction()->setObjectName(QLatin1String(name));
        return m;
    };
    auto item = [this](QMenu* m, const char* name, int text, QKeySequence key,
                       std::function<void()> handler) {
        QAction* a = m->addAction(QStr(text));
        a->setObjectName(QLatin1String(name));
        if (!key.isEmpty()) a->setShortcut(key);
        connect(a, &QAction::triggered, this, [handler] { handler(); });
        return a;
    };
    QMenu* file = menu("mnuFile", 13001);
    item(file, "mnuFileNew", 13002, QKeySequence(Qt::CTRL | Qt::Key_N),
         [this] { mnuFileNewClick(); });
    item(file, "mnuFileOpen", 13003, QKeySequence(Qt::CTRL | Qt::Key_O),
         [this] { mnuFileOpenClick(); });
    item(file, "mnuFileSave", 13004, QKeySequence(Qt::CTRL | Qt::Key_S),
         [this] { mnuFileSaveClick(); });
    item(file, "mnuFileSaveAs", 13005, {}, [this] { mnuFileSaveAsClick(); });
    item(file, "mnuFileRestoreBackup", 16003, {}, [this] { mnuFileRestoreBackupClick(); });
    file->addSeparator();
    item(file, "mnuFileSelectDefaultDirectory", 13006, {},
         [this] { mnuFileSelectDefaultDirectoryClick(); });
    item(file, "mnuFileChangeDefaultConfig", 13007, {},
         [this] { mnuFileChangeDefaultConfigClick(); });
    file->addSeparator();
    item(file, "mnuFilePrint", 13008, QKeySequence(Qt::CTRL | Qt::Key_P),
         [this] { mnuFilePrintClick(); });
    file->addSeparator();
    // The recently used files, between separators; hidden while the list is empty.
    for (int n = 1; n <= static_cast<int>(recentActions_.size()); ++n) {
        QAction* a = file->addAction(QString());
        a->setObjectName(QStringLiteral("mnuFileRecent%1").arg(n));
        a->setVisible(false);
        connect(a, &QAction::triggered, this, [this, n] { mnuFileRecentClick(n); });
        recentActions_[static_cast<std::size_t>(n - 1)] = a;
    }
    recentSeparator_ = file->addSeparator();
    recentSeparator_->setObjectName(QStringLiteral("mnuFileRecentSeparator"));
    recentSeparator_->setVisible(false);
    item(file, "mnuFileExit", 13009, {}, [this] { mnuFileExitClick(); });
    // The full path of a recent entry shows as its tool tip; no other item sets one.
    file->setToolTipsVisible(true);
    // Another editor may have changed the list since.
    connect(file, &QMenu::aboutToShow, this, [this] { RefreshRecentFiles(); });

    QMenu* comm = menu("mnuCommunication", 13010);
    item(comm, "mnuCommRead", 13011, QKeySequence(Qt::CTRL | Qt::Key_R),
         [this] { mnuCommReadClick(); });
    item(comm, "mnuCommWrite", 13012, QKeySequence(Qt::CTRL | Qt::Key_W),
         [this] { mnuCommWriteClick(); });

    QMenu* tools = menu("mnuTools", 13013);
    // The wizard is not part of this edition, except for service staff (KIVO_WIZARD=1).
    QAction* guide = item(tools, "mnuToolsGuide", 13014, {}, [this] { mnuToolsGuideClick(); });
    guide->setVisible(WizardOffered());
    item(tools, "mnuToolsBasic", 13015, {}, [this] { mnuToolsBasicClick(); });
    item(tools, "mnuToolsCreateTextFile", 13016, {}, [this] { mnuToolsCreateTextFileClick(); });
    item(tools, "mnuToolsConfigureHomeAway", 13017, {},
         [this] { mnuToolsConfigureHomeAwayClick(); });
    item(tools, "mnuToolsCompare", 16004, {}, [this] { mnuToolsCompareClick(); });
    // Enabled when the window exists (see FormShow).
    item(tools, "mnuToolsChangePasswords", 13018, {}, [this] { mnuToolsChangePasswordsClick(); });

    QMenu* help = menu("mnuHelp", 13019);
    item(help, "mnuHelpGuide", 16432, QKeySequence(Qt::Key_F1), [this] { ShowGuide(this, ctx_); });
    item(help, "mnuHelpDiagnosis", 16014, {}, [this] { DiagnosisDialog::Show(this, ctx_); });
    help->addSeparator();
    item(help, "mnuHelpAbout", 13020, {}, [this] { mnuHelpAboutClick(); });
}

void TfrmEnterData::WireControls() {
    keyFilter_ = new KeyFilter(this);
    for (QLineEdit* edit : findChildren<QLineEdit*>()) {
        const std::string name = edit->objectName().toStdString();
        if (name.empty()) continue; // the grid's cell editors and the like
        if (auto rule = KeyRuleOf(name)) {
            // edtRepeatSequence goes with udRepeatSequence, and so on.
            auto* spinner = findChild<UpDown*>(QString::fromStdString("ud" + name.substr(3)));
            keyFilter_->Attach(edit, *rule, spinner);
        }
        if (RuleOf(name)) {
            const QString control = edit->objectName();
            connect(edit, &QLineEdit::textChanged, this,
                    [this, control](const QString& text) { OnValueChanged(control, text); });
        }
    }
    for (int n = 1; n <= 8; ++n) {
        const QString N = QString::number(n);
        QComboBox* list = controls_->List(("cbbxAlarmTypePos" + N).toStdString());
        const int tag = list->property("Tag").toInt();
        connect(list, &QComboBox::activated, this,
                [this, tag](int index) { cbbxAlarmTypePosNSelect(tag, index); });
        // Learning, transmitter info and the test-supervision tick box of position n.
        WireRadioPosition(n);
    }
    connect(controls_->List("cbbxAnswerRadioMessageWithAck"), &QComboBox::currentIndexChanged, this,
            [this](int index) { cbbxAnswerRadioMessageWithAckChange(index); });
    auto* alarmTypes = findChild<QAbstractButton*>(QStringLiteral("btnAlarmTypesConfigure"));
    connect(alarmTypes, &QAbstractButton::clicked, this, [this] { btnAlarmTypesConfigureClick(); });
}

void TfrmEnterData::SetAccessLevel(int level) {
    if (level < 2 || level > 5) return;
    for (const AccessRow& row : kAccessLevels) {
        const bool shown = row.shown[level - 2];
        for (const char* name : row.controls) {
            const QString n = QLatin1String(name);
            if (QWidget* w = pages_->findChild<QWidget*>(n);
                w && n.startsWith(QLatin1String("tbsht"))) {
                pages_->setTabVisible(pages_->indexOf(w), shown);
            } else if (w) {
                w->setVisible(shown);
            } else if (auto* action = menu_->findChild<QAction*>(n)) {
                action->setVisible(shown);
            }
        }
    }
}

void TfrmEnterData::UpdateTitle() {
    setWindowTitle(Q(FormatText("%s - %s", {doc_.TitleSource(), Str(10001)})));
}

int TfrmEnterData::ImageToControls() {
    testRadioMessages_ = false;
    ++programmatic_;
    const int failing = kivo::ImageToControls(doc_.data.image, *controls_);
    --programmatic_;
    testRadioMessages_ = true;
    for (UpDown* spinner : findChildren<UpDown*>())
        spinner->SetPosition(
            static_cast<int>(conv::ReadNumber(spinner->Associate()->text().toStdString())));
    doc_.Shown(*controls_);
    return failing;
}

void TfrmEnterData::ControlsToImage() {
    kivo::ControlsToImage(doc_.data.image, *controls_);
}

void TfrmEnterData::ShowImageAndReport() {
    const int failing = ImageToControls();
    if (failing >= 0)
        Messages::Show(this, MsgKind::Error, 15023,
                       {std::to_string(doc_.data.image[static_cast<std::size_t>(failing)]),
                        std::to_string(failing)});
}

void TfrmEnterData::OnValueChanged(const QString& control, const QString& text) {
    const auto rule = RuleOf(control.toStdString());
    if (!rule) return;
    const RuleVerdict verdict =
        CheckValue(*rule, text.toStdString(), controls_->DecimalSeparator());
    if (verdict.box) Messages::Show(this, MsgKind::Error, verdict.box);
    // Setting the corrected text runs the check again; the corrected value passes it.
    if (verdict.corrected)
        if (auto* edit = qobject_cast<QLineEdit*>(controls_->Widget(control.toStdString())))
            edit->setText(Q(*verdict.corrected));
}

void TfrmEnterData::cbbxAlarmTypePosNSelect(int tag, int index) {
    QComboBox* list = controls_->List("cbbxAlarmTypePos" + std::to_string(tag));
    std::vector<std::string> items;
    items.reserve(static_cast<std::size_t>(list->count()));
    for (int i = 0; i < list->count(); ++i) items.push_back(list->itemText(i).toStdString());
    const int target = StepOverSeparator(items, index, lastAlarmTypeIndex_[tag]);
    if (target != index) list->setCurrentIndex(target < list->count() ? target : -1);
    lastAlarmTypeIndex_[tag] = list->currentIndex();
}

void TfrmEnterData::cbbxAnswerRadioMessageWithAckChange(int index) {
    if (programmatic_) return;
    const int box =
        AckWarning(ValueAtIndex(controls_->Values("cbbxAnswerRadioMessageWithAck"), index));
    if (box) Messages::Show(this, MsgKind::Warning, box);
}

bool TfrmEnterData::event(QEvent* e) {
    // Hints of the controls appear in the status bar as well.
    if (e->type() == QEvent::StatusTip) {
        status_->showMessage(static_cast<QStatusTipEvent*>(e)->tip());
        return true;
    }
    return QDialog::event(e);
}

void TfrmEnterData::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    if (!e->spontaneous()) FormShow();
}

void TfrmEnterData::FormShow() {
    CentreOnScreen(this);
    pages_->setCurrentIndex(0);
    auto* grid = findChild<QTableWidget*>(QStringLiteral("sgAdvanced"));
    if (grid->rowCount() > 0) grid->setCurrentCell(0, 0);
    // The windows of the program are created after the editor: look for them now.
    menu_->findChild<QAction*>(QStringLiteral("mnuHelpAbout"))
        ->setEnabled(ctx_.windows.Window(Role::About) != nullptr);
    menu_->findChild<QAction*>(QStringLiteral("mnuToolsChangePasswords"))
        ->setEnabled(ctx_.windows.Window(Role::ChangePasswords) != nullptr);
    RefreshRecentFiles();
}

void TfrmEnterData::keyPressEvent(QKeyEvent* e) {
    // Escape does not close the editor: leaving goes through File > Exit or the close box.
    if (e->key() == Qt::Key_Escape) {
        e->accept();
        return;
    }
    QDialog::keyPressEvent(e);
}

void TfrmEnterData::closeEvent(QCloseEvent* e) {
    // Closing without a word would throw away the user's work: with unsaved changes the close
    // box asks as File > Exit does, and Cancel or a save that does not happen keeps the editor.
    if (isVisible() && HasUnsavedChanges()) {
        const int answer =
            Messages::Show(this, MsgKind::Information, 13801, {}, BtnYes | BtnNo | BtnCancel);
        if (answer == BtnCancel || (answer == BtnYes && !mnuFileSaveClick())) {
            e->ignore();
            return;
        }
    }
    QDialog::closeEvent(e);
}

bool TfrmEnterData::AcceptDrag(QDropEvent* e) {
    // While a device operation runs (its wait cursor is up) it lets the window repaint, and a
    // drop would then replace the image under it.
    const bool busy = QApplication::overrideCursor() != nullptr;
    if (busy || DraggedConfiguration(e->mimeData()).isEmpty()) {
        e->ignore();
        return false;
    }
    // A copy (or a link), never a move: the program the file came from must not delete it.
    if (e->possibleActions() & Qt::CopyAction) {
        e->setDropAction(Qt::CopyAction);
    } else if (e->possibleActions() & Qt::LinkAction) {
        e->setDropAction(Qt::LinkAction);
    } else {
        e->ignore();
        return false;
    }
    e->accept();
    return true;
}

void TfrmEnterData::dragEnterEvent(QDragEnterEvent* e) {
    AcceptDrag(e);
}

void TfrmEnterData::dragMoveEvent(QDragMoveEvent* e) {
    AcceptDrag(e);
}

void TfrmEnterData::dropEvent(QDropEvent* e) {
    if (!AcceptDrag(e)) return;
    const QString path = DraggedConfiguration(e->mimeData());
    // Opened once the drop is over: the program the file came from waits for the drop to
    // finish, and must not wait for the questions and messages of opening.
    QTimer::singleShot(0, this, [this, path] { OpenDroppedFile(path); });
}

bool TfrmEnterData::eventFilter(QObject* watched, QEvent* e) {
    const QEvent::Type type = e->type();
    if (type == QEvent::DragEnter || type == QEvent::DragMove || type == QEvent::Drop) {
        auto* drop = static_cast<QDropEvent*>(e);
        // Dragged text stays the edit field's own.
        if (drop->mimeData() && drop->mimeData()->hasUrls()) {
            if (type == QEvent::Drop)
                dropEvent(drop);
            else
                AcceptDrag(drop);
            return true;
        }
    }
    return QDialog::eventFilter(watched, e);
}

bool TfrmEnterData::LoadDefaultImage() {
    if (doc_.data.LoadImageFile(DefaultBinPath(ctx_.folders.programFolder))) return true;
    Messages::Show(this, MsgKind::Error, 15011);
    return false;
}

void TfrmEnterData::mnuFileExitClick() {
    const int answer =
        Messages::Show(this, MsgKind::Information, 13801, {}, BtnYes | BtnNo | BtnCancel);
    if (answer == BtnCancel) return;
    // A save that did not happen (dialog cancelled, refused or failed) keeps the editor open
    // with its changes, as Cancel does: closing now would discard them.
    if (answer == BtnYes && !mnuFileSaveClick()) return;
    LoadDefaultImage();
    ImageToControls();
    // The link is opened and closed by each device operation: nothing is left open here.
    done(QDialog::Rejected);
}

void TfrmEnterData::done(int result) {
    FormClose();
    QDialog::done(result);
}

void TfrmEnterData::FormClose() {
    // The editor always opens again on the default configuration, in the state File > New
    // leaves: a full-size image that counts as unchanged. (Keeping the size and reference of
    // the configuration closed would make the default image ask to be converted on its first
    // save, and the report call it changed.)
    LoadDefaultImage();
    ImageToControls();
    doc_.imageSize = 512;
    doc_.data.reference = doc_.data.image;
    doc_.data.imageSource = SourceDefault;
    UpdateTitle();
}

void TfrmEnterData::mnuToolsGuideClick() {
    ctx_.windows.Exec(Role::Wizard);
}

void TfrmEnterData::mnuToolsChangePasswordsClick() {
    ctx_.windows.Exec(Role::ChangePasswords);
}

void TfrmEnterData::mnuHelpAboutClick() {
    ctx_.windows.Exec(Role::About);
}

} // namespace kivo::gui
