#include "gui/common/guide.h"

#include "app/strtable.h"
#include "gui/common/frame.h"
#include "gui/common/messages.h"

#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace kivo::gui {

namespace {
constexpr int kGuidePage = 16431;    // the start page's path under the templates, per edition
constexpr int kGuideTitle = 16432;   // "Handbuch"
constexpr int kGuideMissing = 16430; // the guide is not installed
} // namespace

std::string GuidePath(const std::string& templateFolder) {
    std::string folder = templateFolder;
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return folder + Str(kGuidePage);
}

TfrmGuide::TfrmGuide(QWidget* parent) : QDialog(parent, FrameFlags(Frame::Minimise)) {
    setObjectName(QStringLiteral("frmGuide"));
    setWindowTitle(QStr(kGuideTitle));
    // The one window of the program that the user may size: a guide is read, not filled in.
    setSizeGripEnabled(true);
    browser = new QTextBrowser(this);
    browser->setObjectName(QStringLiteral("txbGuide"));
    browser->setOpenExternalLinks(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(browser);
    layout->addWidget(buttons);
    resize(860, 700);
}

bool TfrmGuide::Open(const std::string& path) {
    const QFileInfo page(Q(path));
    if (!page.isFile() || !page.isReadable()) return false;
    browser->setSource(QUrl::fromLocalFile(page.absoluteFilePath()));
    return !browser->document()->isEmpty();
}

void ShowGuide(QWidget* over, const AppContext& ctx) {
    QWidget* owner = over ? over->window() : nullptr;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* open = qobject_cast<TfrmGuide*>(w); open && open->isVisible()) {
            open->raise();
            open->activateWindow();
            return;
        }
    }
    const std::string path = GuidePath(ctx.templateFolder);
    // A top-level window of its own: it stays open beside the window it was asked from, even
    // over a modal one, and goes away when closed.
    auto* guide = new TfrmGuide(nullptr);
    guide->setAttribute(Qt::WA_DeleteOnClose);
    if (!guide->Open(path)) {
        delete guide;
        Messages::Show(owner, MsgKind::Error, kGuideMissing, {path});
        return;
    }
    guide->show();
    guide->raise();
}

QAction* AddGuideAction(QWidget* window, const AppContext& ctx) {
    auto* action = new QAction(QStr(kGuideTitle), window);
    action->setObjectName(QStringLiteral("actGuide"));
    action->setShortcut(QKeySequence(Qt::Key_F1));
    action->setShortcutContext(Qt::WindowShortcut);
    QObject::connect(action, &QAction::triggered, window,
                     [window, &ctx] { ShowGuide(window, ctx); });
    window->addAction(action);
    return action;
}

} // namespace kivo::gui
