#include "gui/common/diagnosisdialog.h"

#include "gui/common/frame.h"
#include "gui/common/messages.h"
#include "gui/common/placement.h"
#include "transport/choose.h"

#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTextEdit>
#include <QVBoxLayout>

namespace kivo::gui {

namespace {

constexpr int kTitle = 16013;
constexpr int kCopy = 16015;

// Readable on light and dark window colours alike.
QString ColourOf(FindingState state) {
    switch (state) {
    case FindingState::Ok:
        return QStringLiteral("#2e7d32");
    case FindingState::Warning:
        return QStringLiteral("#b26a00");
    case FindingState::Problem:
        return QStringLiteral("#d32f2f");
    }
    return {};
}

// One row per finding: the marker in its colour, the text, and the advice beneath it. Every
// text is escaped: USB strings and process names come from outside.
QString Html(const DoctorReport& report) {
    QString html = QStringLiteral("<table cellspacing=\"0\" cellpadding=\"3\">");
    for (const Finding& f : report.findings) {
        html += QStringLiteral("<tr><td valign=\"top\" style=\"color:%1; font-weight:bold\">%2"
                               "</td><td>%3")
                    .arg(ColourOf(f.state), Q(FindingMarker(f.state)).toHtmlEscaped(),
                         Q(f.text).toHtmlEscaped());
        if (!f.advice.empty()) html += QStringLiteral("<br>") + Q(f.advice).toHtmlEscaped();
        html += QStringLiteral("</td></tr>");
    }
    return html + QStringLiteral("</table>");
}

// The wait cursor for as long as it lives, also when the diagnosis throws.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

} // namespace

DoctorReport DiagnosisDialog::Diagnose(const AppContext& ctx) {
    DoctorOptions options;
    options.choice = KobuChoice("");
    options.factory = ctx.kobu;
    options.trace = ctx.trace;
    options.installPrefix = InstallPrefixOf(ctx.templateFolder);
    WaitCursor wait;
    return RunDoctor(options, SystemTree());
}

void DiagnosisDialog::Show(QWidget* parent, const AppContext& ctx) {
    const DoctorReport report = Diagnose(ctx);
    // Not a child of `parent`: it stays above it without joining its widget tree, as the
    // editor's dialogs do.
    DiagnosisDialog dialog(report);
    dialog.owner_ = parent;
    dialog.exec();
}

void DiagnosisDialog::showEvent(QShowEvent* event) {
    StayAbove(this, owner_);
    CentreOver(this, owner_);
    QDialog::showEvent(event);
}

DiagnosisDialog::DiagnosisDialog(const DoctorReport& report, QWidget* parent)
    : QDialog(parent, FrameFlags(Frame::SystemMenu)), plain_(Q(ReportText(report))) {
    setObjectName(QStringLiteral("frmDiagnosis"));
    setWindowTitle(QStr(kTitle));

    mmoReport = new QTextEdit(this);
    mmoReport->setObjectName(QStringLiteral("mmoReport"));
    mmoReport->setReadOnly(true);
    mmoReport->setHtml(Html(report));
    mmoReport->setMinimumSize(640, 320);

    btnCopy = new QPushButton(QStr(kCopy), this);
    btnCopy->setObjectName(QStringLiteral("btnCopy"));
    btnCopy->setMinimumSize(75, 25);
    connect(btnCopy, &QPushButton::clicked, this, &DiagnosisDialog::btnCopyClick);
    btnClose = new QPushButton(OkCaption(), this);
    btnClose->setObjectName(QStringLiteral("btnClose"));
    btnClose->setMinimumSize(75, 25);
    btnClose->setDefault(true);
    connect(btnClose, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnCopy);
    buttons->addStretch(1);
    buttons->addWidget(btnClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(mmoReport, 1);
    layout->addLayout(buttons);
}

void DiagnosisDialog::btnCopyClick() {
    QApplication::clipboard()->setText(plain_);
}

} // namespace kivo::gui
