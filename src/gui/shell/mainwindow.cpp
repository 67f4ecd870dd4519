#include "gui/shell/mainwindow.h"

#include "app/startup.h"
#include "gui/access/password.h"
#include "gui/common/edition.h"
#include "gui/common/frame.h"
#include "gui/common/guide.h"
#include "gui/common/messages.h"
#include "gui/common/picture.h"
#include "gui/common/placement.h"
#include "gui/editor/enterdata.h"
#include "gui/guided/wizardpictures.h"
#include "transport/choose.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDialog>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace kivo::gui {

namespace {

constexpr QSize kClientSize(689, 285);
constexpr int kPictureSide = 265;
constexpr int kPanelWidth = 401;
constexpr int kPanelMargin = 12;
constexpr int kColumnGap = 12;
constexpr int kButtonMinWidth = 150;
constexpr int kButtonHeight = 30;

QLabel* WrappedLabel(QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return label;
}

} // namespace

TfrmMain::TfrmMain(AppContext& ctx, const std::string& executablePath,
                   const std::vector<std::string>& arguments, QWidget* parent)
    : QWidget(parent, FrameFlags(Frame::SystemMenu, Qt::Window)), ctx_(ctx) {
    setObjectName(QStringLiteral("frmMain"));
    AddGuideAction(this, ctx_); // F1
    FormCreate(executablePath, arguments);
}

void TfrmMain::FormCreate(const std::string& executablePath,
                          const std::vector<std::string>& arguments) {
    BuildControls();
    Arrange();

    // Start-up: folders, installed files and default passwords, before any other window.
    StartupEnvironment env = PlatformEnvironment(executablePath, arguments);
    ctx_.folders = RunStartup(env);
    ctx_.templateFolder = env.templateFolder;
    std::string error;
    ctx_.kobu = ChooseKobu(KobuChoice(""), ctx_.templateFolder, error);
    if (!ctx_.kobu) {
        // The program stays usable for files; every device operation will say that no Kobu
        // can be found.
        Messages::ShowText(this, MsgKind::Error, QStringLiteral("KIVO_KOBU: ") + Q(error));
    }
    ctx_.trace = ChooseTrace("");
    fileArgument_ = Q(FileArgument(arguments));

    SetTexts();
    SetLabelWidths();
    FitFixedSize(this, kClientSize);
}

void TfrmMain::BuildControls() {
    setWindowIcon(ProgramIcon());
    ImageList = WizardPictures();

    imgMain =
        new SvgPicture(QString::fromLatin1(kUnitPicture), QSize(kPictureSide, kPictureSide), this);
    imgMain->setObjectName(QStringLiteral("imgMain"));

    pnlMain = new QFrame(this);
    pnlMain->setObjectName(QStringLiteral("pnlMain"));
    pnlMain->setFrameStyle(QFrame::Panel | QFrame::Raised);
    pnlMain->setFixedWidth(kPanelWidth);
    pnlMain->setMinimumHeight(kPictureSide);

    lblWelcome = WrappedLabel(pnlMain);
    QFont greeting = lblWelcome->font();
    greeting.setBold(true);
    lblWelcome->setFont(greeting);
    lblPleaseSelect = WrappedLabel(pnlMain);

    // The rows in their designed order; Arrange() takes the wizard's row out.
    btnProgrammingGuide = new QPushButton(pnlMain);
    lblAStepByStep = WrappedLabel(pnlMain);
    btnEnterData = new QPushButton(pnlMain);
    lblEditAllParameters = WrappedLabel(pnlMain);
    btnBasicProgramming = new QPushButton(pnlMain);
    lblSelectAPredefined = WrappedLabel(pnlMain);
    btnExit = new QPushButton(pnlMain);

    const std::pair<QObject*, const char*> names[] = {
        {lblWelcome, "lblWelcome"},
        {lblPleaseSelect, "lblPleaseSelect"},
        {btnProgrammingGuide, "btnProgrammingGuide"},
        {lblAStepByStep, "lblAStepByStep"},
        {btnEnterData, "btnEnterData"},
        {lblEditAllParameters, "lblEditAllParameters"},
        {btnBasicProgramming, "btnBasicProgramming"},
        {lblSelectAPredefined, "lblSelectAPredefined"},
        {btnExit, "btnExit"}};
    for (const auto& [object, name] : names) object->setObjectName(QString::fromLatin1(name));

    for (QPushButton* b : {btnProgrammingGuide, btnEnterData, btnBasicProgramming, btnExit}) {
        b->setMinimumHeight(kButtonHeight);
        b->setAutoDefault(false);
    }
    for (QLabel* l :
         {lblWelcome, lblPleaseSelect, lblAStepByStep, lblEditAllParameters, lblSelectAPredefined})
        l->setFocusPolicy(Qt::NoFocus);

    auto* rows = new QGridLayout;
    rows->setHorizontalSpacing(kColumnGap);
    rows->setVerticalSpacing(12);
    rows->addWidget(btnProgrammingGuide, 0, 0, Qt::AlignVCenter);
    rows->addWidget(lblAStepByStep, 0, 1);
    rows->addWidget(btnEnterData, 1, 0, Qt::AlignVCenter);
    rows->addWidget(lblEditAllParameters, 1, 1);
    rows->addWidget(btnBasicProgramming, 2, 0, Qt::AlignVCenter);
    rows->addWidget(lblSelectAPredefined, 2, 1);

    auto* exitRow = new QHBoxLayout;
    exitRow->addWidget(btnExit);
    exitRow->addStretch(1);

    auto* panel = new QVBoxLayout(pnlMain);
    panel->setContentsMargins(kPanelMargin, 12, kPanelMargin, 14);
    panel->setSpacing(6);
    panel->addWidget(lblWelcome);
    panel->addWidget(lblPleaseSelect);
    panel->addSpacing(12);
    panel->addLayout(rows);
    panel->addStretch(1);
    panel->addSpacing(8);
    panel->addLayout(exitRow);

    auto* outer = new QHBoxLayout(this);
    outer->setContentsMargins(8, 10, 7, 10);
    outer->setSpacing(8);
    outer->addWidget(imgMain, 0, Qt::AlignTop);
    outer->addWidget(pnlMain);

    connect(btnEnterData, &QPushButton::clicked, this, &TfrmMain::btnEnterDataClick);
    connect(btnBasicProgramming, &QPushButton::clicked, this, &TfrmMain::btnBasicProgrammingClick);
    connect(btnProgrammingGuide, &QPushButton::clicked, this, &TfrmMain::btnProgrammingGuideClick);
    connect(btnExit, &QPushButton::clicked, this, &TfrmMain::btnExitClick);
}

void TfrmMain::Arrange() {
    // The wizard is not offered: its row goes, and detailed programming takes its place at
    // the top (an empty grid row takes no room).
    btnProgrammingGuide->hide();
    lblAStepByStep->hide();
    setTabOrder(btnEnterData, btnBasicProgramming);
    setTabOrder(btnBasicProgramming, btnExit);
    btnEnterData->setFocus();
    // Service staff can have the wizard's row back (KIVO_WIZARD=1).
    if (WizardOffered()) {
        btnProgrammingGuide->show();
        lblAStepByStep->show();
        setTabOrder(btnProgrammingGuide, btnEnterData);
    }
}

void TfrmMain::SetTexts() {
    setWindowTitle(QStr(10001));
    QCoreApplication::setApplicationName(QStr(10001));
    lblWelcome->setText(QStr(10002));
    lblPleaseSelect->setText(QStr(10003));
    btnProgrammingGuide->setText(QStr(10004));
    btnBasicProgramming->setText(QStr(10005));
    btnEnterData->setText(QStr(10006));
    btnExit->setText(QStr(14001));
    lblAStepByStep->setText(QStr(10007));
    lblSelectAPredefined->setText(QStr(10008));
    lblEditAllParameters->setText(QStr(10009));
}

void TfrmMain::SetLabelWidths() {
    // The method buttons share one width, wide enough for the longest caption; the panel
    // grows only if a button and half the panel no longer fit side by side.
    int buttonWidth = kButtonMinWidth;
    for (QPushButton* b : {btnProgrammingGuide, btnEnterData, btnBasicProgramming, btnExit})
        buttonWidth = std::max(buttonWidth, b->sizeHint().width());
    for (QPushButton* b : {btnProgrammingGuide, btnEnterData, btnBasicProgramming, btnExit})
        b->setFixedWidth(buttonWidth);
    const int panelWidth = std::max(kPanelWidth, 2 * (2 * kPanelMargin + kColumnGap + buttonWidth));
    pnlMain->setFixedWidth(panelWidth);

    const int wide = panelWidth * 9 / 10;
    lblWelcome->setFixedWidth(wide);
    lblPleaseSelect->setFixedWidth(wide);
    for (QLabel* l : {lblAStepByStep, lblSelectAPredefined, lblEditAllParameters})
        l->setFixedWidth(panelWidth / 2);
}

void TfrmMain::FormShow() {
    SetTexts();
    SetLabelWidths();
    CentreOnScreen(this);
}

void TfrmMain::showEvent(QShowEvent* event) {
    FormShow();
    QWidget::showEvent(event);
    // A file from the command line (a double click in the file manager) opens once the start
    // window is up, so that it is there again when the editor closes.
    if (!fileArgument_.isEmpty()) {
        QTimer::singleShot(0, this, [this, path = fileArgument_] { OpenFileWithPassword(path); });
        fileArgument_.clear();
    }
}

void TfrmMain::closeEvent(QCloseEvent* event) {
    event->accept();
    QCoreApplication::quit();
}

void TfrmMain::btnEnterDataClick() {
    OpenFileWithPassword(QString());
}

void TfrmMain::OpenFileWithPassword(const QString& path) {
    auto* prompt = ctx_.windows.As<TfrmPassword>(Role::Password);
    auto* editor = ctx_.windows.As<TfrmEnterData>(Role::Editor);
    if (!prompt || !editor) return; // both exist once start-up has created every window
    OpenEditorWithPassword(*prompt, PasswordStore(ctx_), this, [editor, path](int level) {
        editor->SetAccessLevel(level);
        if (!path.isEmpty()) editor->OpenFile(path);
        editor->exec();
    });
}

void TfrmMain::btnBasicProgrammingClick() {
    RunHidden(Role::BasicProgramming);
}

void TfrmMain::btnProgrammingGuideClick() {
    RunHidden(Role::Wizard);
}

void TfrmMain::RunHidden(Role role) {
    auto* window = ctx_.windows.As<QDialog>(role);
    if (!window) return; // it exists once start-up has created every window
    // Exactly one of the two is visible: the start window comes back however the window ends.
    struct ShowAgain {
        QWidget* window;
        ~ShowAgain() { window->show(); }
    } showAgain{this};
    hide();
    window->exec();
}

void TfrmMain::btnExitClick() {
    close();
}

} // namespace kivo::gui
