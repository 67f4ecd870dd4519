#include "gui/common/about.h"

#include "app/startup.h"
#include "data/kivoini.h"
#include "gui/common/frame.h"
#include "gui/common/messages.h"
#include "gui/common/picture.h"
#include "gui/common/placement.h"
#include "link/commands.h"

#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cerrno>
#include <cstdlib>

namespace kivo::gui {

namespace {

constexpr QSize kClientSize(442, 250);
constexpr const char* kAboutIni = "./about.ini";
constexpr const char* kSection = "Aboutinfo";
// A count beyond this is a damaged file, not lines anyone wants to read; the box stays usable.
constexpr long kMaxExtraLines = 1000;

// A decimal integer with an optional sign; anything else (and a number too large to be one)
// counts as 0.
long ParseLines(const std::string& text) {
    if (text.empty()) return 0;
    errno = 0;
    char* end = nullptr;
    const long n = std::strtol(text.c_str(), &end, 10);
    if (errno != 0 || end == text.c_str() || *end != '\0') return 0;
    return n;
}

} // namespace

std::vector<std::string> AboutIniLines(const std::string& path) {
    KivoIni ini;
    ini.SetFileName(path);
    std::vector<std::string> lines;
    const long n = ParseLines(ini.ReadValue(kSection, "Lines"));
    if (n != 0) {
        lines.emplace_back();
        for (long i = 1; i <= std::min(n, kMaxExtraLines); ++i)
            lines.push_back(ini.ReadValue(kSection, "Line" + std::to_string(i)));
    } else {
        lines.emplace_back("TAVRA Electronics AB");
    }
    lines.push_back(ini.ReadValue(kSection, "WWW"));
    lines.push_back(ini.ReadValue(kSection, "MAIL"));
    return lines;
}

TfrmAbout::TfrmAbout(AppContext& ctx, QWidget* parent)
    : QDialog(parent, FrameFlags(Frame::SystemMenu)), ctx_(ctx), link_(ctx.MakeLink()) {
    setObjectName(QStringLiteral("frmAbout"));
    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    // Raised inside a lowered edge.
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel1->setLineWidth(1);
    auto* inner = new QFrame(Panel1);
    inner->setFrameStyle(QFrame::Panel | QFrame::Raised);
    inner->setLineWidth(1);

    ProgramIcon = new SvgPicture(QString::fromLatin1(kUnitPicture), QSize(145, 145), inner);
    ProgramIcon->setObjectName(QStringLiteral("ProgramIcon"));
    lblKobuVersion = new QLabel(inner);
    lblKobuVersion->setObjectName(QStringLiteral("lblKobuVersion"));
    lblKobuVersion->setWordWrap(true);
    lblKobuVersion->setTextInteractionFlags(Qt::TextSelectableByMouse);
    GroupBox1 = new QGroupBox(inner);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    mmoInfo = new QPlainTextEdit(GroupBox1);
    mmoInfo->setObjectName(QStringLiteral("mmoInfo"));
    mmoInfo->setReadOnly(true);
    mmoInfo->setFrameShape(QFrame::NoFrame);
    mmoInfo->setMinimumSize(220, 150);
    mmoInfo->setFocusPolicy(Qt::NoFocus);
    // In the dialog's own colour, like a piece of the box rather than an input field.
    QPalette memoColours = mmoInfo->palette();
    memoColours.setColor(QPalette::Base, palette().color(QPalette::Window));
    mmoInfo->setPalette(memoColours);
    btnOK = new QPushButton(this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setMinimumSize(75, 25);
    btnOK->setDefault(true);
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);

    auto* group = new QVBoxLayout(GroupBox1);
    group->setContentsMargins(8, 8, 8, 8);
    group->addWidget(mmoInfo);

    auto* left = new QVBoxLayout;
    left->setSpacing(7);
    left->addWidget(ProgramIcon);
    left->addWidget(lblKobuVersion);
    left->addStretch(1);

    auto* innerLayout = new QHBoxLayout(inner);
    innerLayout->setContentsMargins(6, 6, 6, 6);
    innerLayout->setSpacing(8);
    innerLayout->addLayout(left);
    innerLayout->addWidget(GroupBox1, 1);

    auto* panelLayout = new QVBoxLayout(Panel1);
    panelLayout->setContentsMargins(1, 1, 1, 1);
    panelLayout->addWidget(inner);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnOK);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 5);
    layout->setSpacing(11);
    layout->addWidget(Panel1, 1);
    layout->addLayout(buttons);

    // Room for a Kobu line of the usual width, so the column does not change with it; a wider
    // one wraps after "info:" instead of running under the group box.
    lblKobuVersion->setMinimumWidth(std::max(145, lblKobuVersion->fontMetrics().horizontalAdvance(
                                                      QStringLiteral("KOBU info: 00-0ABCDEFG"))));
    setWindowTitle(QStr(13701));
    btnOK->setText(OkCaption());
    FitFixedSize(this, kClientSize);
}

TfrmAbout::~TfrmAbout() = default;

void TfrmAbout::showEvent(QShowEvent* event) {
    FormShow();
    QDialog::showEvent(event);
}

void TfrmAbout::FormShow() {
    QWidget* editor = ctx_.windows.Window(Role::Editor);
    if (!editor) editor = parentWidget();
    StayAbove(this, editor);
    CentreOver(this, editor);
    setWindowTitle(QStr(13701));
    btnOK->setText(OkCaption());

    QStringList lines;
    // The program's own description and version.
    lines << QStr(10001);
    const std::string version = ProgramVersion();
    lines << QStringLiteral("Version: ") +
                 (version.empty() ? QStringLiteral("unknown") : Q(version));
    ShowKobuVersion();
    for (const std::string& line : AboutIniLines(kAboutIni)) lines << Q(line);
    mmoInfo->setPlainText(lines.join(QLatin1Char('\n')));
}

void TfrmAbout::ShowKobuVersion() {
    std::string version;
    LinkResult result = LinkResult::NoAnswer;
    if (link_) {
        LinkSession session(*link_);
        result = ReadKobuVersion(*link_, version);
    }
    lblKobuVersion->setText(result == LinkResult::Ok ? QStringLiteral("KOBU info: ") + Q(version)
                                                     : QString());
}

} // namespace kivo::gui
