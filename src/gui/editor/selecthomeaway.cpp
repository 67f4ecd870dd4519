#include "gui/editor/selecthomeaway.h"

#include "gui/common/frame.h"
#include "gui/common/messages.h"
#include "gui/common/placement.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace kivo::gui {

namespace {

constexpr QSize kClientSize(610, 242);
constexpr int kItemTexts[] = {13753, 13754, 13755, 13756};

} // namespace

TfrmSelectHomeAway::TfrmSelectHomeAway(AppContext& ctx, QWidget* parent)
    : QDialog(parent, FrameFlags(Frame::SystemMenu)), ctx_(ctx) {
    setObjectName(QStringLiteral("frmSelectHomeAway"));
    setWindowTitle(QStr(13751));

    rgSelectHomeAway = new QGroupBox(QStr(13752), this);
    rgSelectHomeAway->setObjectName(QStringLiteral("rgSelectHomeAway"));
    items_ = new QButtonGroup(this);
    auto* group = new QVBoxLayout(rgSelectHomeAway);
    group->setContentsMargins(12, 10, 12, 10);
    group->setSpacing(10);
    for (int i = 0; i < 4; ++i) {
        rbItems[i] = new QRadioButton(QStr(kItemTexts[i]), rgSelectHomeAway);
        rbItems[i]->setObjectName(QStringLiteral("rbSelectHomeAway%1").arg(i + 1));
        items_->addButton(rbItems[i], i);
        group->addWidget(rbItems[i]);
    }
    group->addStretch(1);
    connect(items_, &QButtonGroup::idClicked, this, [this] { rgSelectHomeAwayClick(); });

    QHBoxLayout* buttons = OkCancelRow(this, btnOk, btnCancel, "btnOk");
    connect(btnOk, &QPushButton::clicked, this, &TfrmSelectHomeAway::btnOkClick);
    connect(btnCancel, &QPushButton::clicked, this, &TfrmSelectHomeAway::btnCancelClick);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->setSpacing(8);
    layout->addWidget(rgSelectHomeAway, 1);
    layout->addLayout(buttons);

    FitFixedSize(this, kClientSize);
}

void TfrmSelectHomeAway::SetSelection(int index) {
    if (index >= 0 && index < static_cast<int>(rbItems.size())) {
        rbItems[index]->setChecked(true);
        return;
    }
    // An exclusive group cannot uncheck its last checked button by itself.
    items_->setExclusive(false);
    for (QRadioButton* item : rbItems) item->setChecked(false);
    items_->setExclusive(true);
}

int TfrmSelectHomeAway::GetSelection() const {
    return items_->checkedId();
}

void TfrmSelectHomeAway::showEvent(QShowEvent* event) {
    FormShow();
    QDialog::showEvent(event);
}

void TfrmSelectHomeAway::FormShow() {
    QWidget* editor = ctx_.windows.Window(Role::Editor);
    StayAbove(this, editor);
    CentreOver(this, editor);
    btnOk->setEnabled(false);
}

void TfrmSelectHomeAway::rgSelectHomeAwayClick() {
    btnOk->setEnabled(true);
}

void TfrmSelectHomeAway::btnOkClick() {
    if (GetSelection() >= 0) accept();
}

void TfrmSelectHomeAway::btnCancelClick() {
    reject();
}

} // namespace kivo::gui
