#include "gui/editor/viewdefault.h"

#include "data/defaultconfigs.h"
#include "gui/common/frame.h"
#include "gui/common/messages.h"
#include "gui/common/placement.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace kivo::gui {

namespace {

constexpr QSize kClientSize(415, 184);
constexpr int kMargin = 8;
constexpr int kGroupMargin = 8;

} // namespace

TfrmViewDefault::TfrmViewDefault(AppContext& ctx, QWidget* parent)
    : QDialog(parent, FrameFlags(Frame::SystemMenu)), ctx_(ctx) {
    setObjectName(QStringLiteral("frmViewDefault"));
    setWindowTitle(QStr(13731));

    gbxSelectNewConfiguration = new QGroupBox(QStr(13732), this);
    gbxSelectNewConfiguration->setObjectName(QStringLiteral("gbxSelectNewConfiguration"));
    cmbDefaultConfig = new QComboBox(gbxSelectNewConfiguration);
    cmbDefaultConfig->setObjectName(QStringLiteral("cmbDefaultConfig"));
    // An edit field with a drop-down list; typing never adds an item.
    cmbDefaultConfig->setEditable(true);
    cmbDefaultConfig->setInsertPolicy(QComboBox::NoInsert);
    lblConfigInfo = new QLabel(QStr(13733), gbxSelectNewConfiguration);
    lblConfigInfo->setObjectName(QStringLiteral("lblConfigInfo"));
    lblConfigInfo->setWordWrap(true);
    lblConfigInfo->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // Nine tenths of the group box's width.
    const int groupWidth = kClientSize.width() - 2 * kMargin;
    lblConfigInfo->setFixedWidth(groupWidth * 9 / 10);

    auto* group = new QVBoxLayout(gbxSelectNewConfiguration);
    group->setContentsMargins(kGroupMargin, kGroupMargin, kGroupMargin, kGroupMargin);
    group->setSpacing(6);
    group->addWidget(cmbDefaultConfig);
    // In a row of its own, so the layout asks the label how tall its width makes it.
    auto* info = new QHBoxLayout;
    info->setContentsMargins(0, 0, 0, 0);
    info->addWidget(lblConfigInfo);
    info->addStretch(1);
    group->addLayout(info);
    group->addStretch(1);

    QHBoxLayout* buttons = OkCancelRow(this, btnOK, btnCancel);
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    layout->setSpacing(6);
    layout->addWidget(gbxSelectNewConfiguration, 1);
    layout->addLayout(buttons);

    FitFixedSize(this, kClientSize);
}

int TfrmViewDefault::CountDefaultConfigs() const {
    return static_cast<int>(ListDefaultConfigs(ctx_.folders.programFolder).size());
}

std::string TfrmViewDefault::SelectedConfig() const {
    // The item chosen in the list counts, not a text typed over it.
    const int index = cmbDefaultConfig->currentIndex();
    if (index < 0 || index >= static_cast<int>(names_.size())) return std::string();
    return names_[static_cast<std::size_t>(index)];
}

void TfrmViewDefault::showEvent(QShowEvent* event) {
    FormShow();
    QDialog::showEvent(event);
}

void TfrmViewDefault::FormShow() {
    QWidget* editor = ctx_.windows.Window(Role::Editor);
    StayAbove(this, editor);
    CentreOver(this, editor);
    names_ = ListDefaultConfigs(ctx_.folders.programFolder);
    cmbDefaultConfig->clear();
    for (const std::string& name : names_) cmbDefaultConfig->addItem(Q(name));
    if (names_.empty()) cmbDefaultConfig->addItem(QStr(13734));
    cmbDefaultConfig->setCurrentIndex(0);
}

} // namespace kivo::gui
