#include "gui/editor/selectdirectory.h"

#include "gui/common/frame.h"
#include "gui/common/messages.h"
#include "gui/common/placement.h"

#include <QFileDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kivo::gui {

namespace {

constexpr QSize kClientSize(469, 226);
constexpr int kMargin = 8;
constexpr int kGroupMargin = 8;

// A folder without its trailing delimiters; the root keeps its one.
QString WithoutDelimiter(QString path) {
    while (path.size() > 1 && path.endsWith(QLatin1Char('/'))) path.chop(1);
    return path;
}

} // namespace

TfrmSelectDirectory::TfrmSelectDirectory(AppContext& ctx, QWidget* parent)
    : QDialog(parent, FrameFlags(Frame::SystemMenu)), ctx_(ctx) {
    setObjectName(QStringLiteral("frmSelectDirectory"));
    setWindowTitle(QStr(13741));

    gbxSelectDirectory = new QGroupBox(QStr(13742), this);
    gbxSelectDirectory->setObjectName(QStringLiteral("gbxSelectDirectory"));
    lblDirectoryInfo = new QLabel(QStr(13743), gbxSelectDirectory);
    lblDirectoryInfo->setObjectName(QStringLiteral("lblDirectoryInfo"));
    lblDirectoryInfo->setWordWrap(true);
    lblDirectoryInfo->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // Nine tenths of the group box's width.
    const int groupWidth = kClientSize.width() - 2 * kMargin;
    lblDirectoryInfo->setFixedWidth(groupWidth * 9 / 10);
    edtActiveConfigDirectory = new QLineEdit(gbxSelectDirectory);
    edtActiveConfigDirectory->setObjectName(QStringLiteral("edtActiveConfigDirectory"));
    btnBrowse = new QPushButton(QStr(14003), gbxSelectDirectory);
    btnBrowse->setObjectName(QStringLiteral("btnBrowse"));
    btnBrowse->setMinimumHeight(25);
    btnBrowse->setAutoDefault(false);
    connect(btnBrowse, &QPushButton::clicked, this, &TfrmSelectDirectory::btnBrowseClick);

    auto* folder = new QHBoxLayout;
    folder->setSpacing(8);
    folder->addWidget(edtActiveConfigDirectory, 1);
    folder->addWidget(btnBrowse);
    auto* group = new QVBoxLayout(gbxSelectDirectory);
    group->setContentsMargins(kGroupMargin, kGroupMargin, kGroupMargin, kGroupMargin);
    group->setSpacing(10);
    // In a row of its own, so the layout asks the label how tall its width makes it.
    auto* info = new QHBoxLayout;
    info->setContentsMargins(0, 0, 0, 0);
    info->addWidget(lblDirectoryInfo);
    info->addStretch(1);
    group->addLayout(info);
    group->addStretch(1);
    group->addLayout(folder);

    QHBoxLayout* buttons = OkCancelRow(this, btnOK, btnCancel);
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    layout->setSpacing(8);
    layout->addWidget(gbxSelectDirectory, 1);
    layout->addLayout(buttons);

    FitFixedSize(this, kClientSize);
}

void TfrmSelectDirectory::SetDirectory(const QString& path) {
    edtActiveConfigDirectory->setText(WithoutDelimiter(path));
}

QString TfrmSelectDirectory::GetDirectory() const {
    return WithoutDelimiter(edtActiveConfigDirectory->text());
}

void TfrmSelectDirectory::showEvent(QShowEvent* event) {
    FormShow();
    QDialog::showEvent(event);
}

void TfrmSelectDirectory::FormShow() {
    QWidget* editor = ctx_.windows.Window(Role::Editor);
    StayAbove(this, editor);
    CentreOver(this, editor);
}

void TfrmSelectDirectory::btnBrowseClick() {
    const QString title = QStr(15032);
    const QString start = edtActiveConfigDirectory->text();
    QString chosen;
    if (chooser_)
        chosen = chooser_(this, title, start);
    else
        chosen = QFileDialog::getExistingDirectory(this, title, start, QFileDialog::ShowDirsOnly);
    // A cancelled browser leaves the field as it was.
    if (!chosen.isEmpty()) SetDirectory(chosen);
}

} // namespace kivo::gui
