#include "gui/access/changepasswords.h"

#include "gui/access/newpassword.h"
#include "gui/access/password.h"
#include "gui/common/frame.h"
#include "gui/common/messages.h"
#include "gui/common/placement.h"

#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <iterator>

namespace kivo::gui {

namespace {

constexpr QSize kClientSize(562, 275);
const char* const kLevelProperty = "kivoLevel";

QFrame* Separator(QWidget* parent, const char* name) {
    auto* line = new QFrame(parent);
    line->setObjectName(QString::fromLatin1(name));
    line->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    line->setFixedHeight(3);
    return line;
}

} // namespace

TfrmChangePasswords::TfrmChangePasswords(AppContext& ctx, QWidget* parent)
    : QDialog(parent, FrameFlags(Frame::Close)), ctx_(ctx) {
    setObjectName(QStringLiteral("frmChangePasswords"));
    gbChangePasswords = new QGroupBox(this);
    gbChangePasswords->setObjectName(QStringLiteral("gbChangePasswords"));

    auto* rows = new QGridLayout(gbChangePasswords);
    rows->setContentsMargins(16, 16, 16, 16);
    rows->setHorizontalSpacing(20);
    rows->setVerticalSpacing(4);
    rows->setColumnStretch(0, 1);

    struct Row {
        int level;
        QLabel*& info;
        QLabel*& second;
        QPushButton*& button;
        const char* names[3];
    };
    Row table[] = {
        {2,
         lblInfoPass2,
         lblInfoPass2b,
         btnChangePass2,
         {"lblInfoPass2", "lblInfoPass2b", "btnChangePass2"}},
        {3,
         lblInfoPass3,
         lblInfoPass3b,
         btnChangePass3,
         {"lblInfoPass3", "lblInfoPass3b", "btnChangePass3"}},
        {5,
         lblInfoPass5,
         lblInfoPass5b,
         btnChangePass5,
         {"lblInfoPass5", "lblInfoPass5b", "btnChangePass5"}},
    };
    QFrame** separators[] = {&Panel1, &Panel2};
    const char* separatorNames[] = {"Panel1", "Panel2"};
    int gridRow = 0;
    for (std::size_t i = 0; i < std::size(table); ++i) {
        Row& r = table[i];
        if (i > 0) {
            *separators[i - 1] = Separator(gbChangePasswords, separatorNames[i - 1]);
            rows->addWidget(*separators[i - 1], gridRow++, 0, 1, 2);
        }
        r.info = new QLabel(gbChangePasswords);
        r.second = new QLabel(gbChangePasswords);
        r.button = new QPushButton(gbChangePasswords);
        r.info->setObjectName(QString::fromLatin1(r.names[0]));
        r.second->setObjectName(QString::fromLatin1(r.names[1]));
        r.button->setObjectName(QString::fromLatin1(r.names[2]));
        r.info->setWordWrap(true);
        r.second->setWordWrap(true);
        r.button->setMinimumSize(113, 25);
        r.button->setAutoDefault(false);
        r.button->setProperty(kLevelProperty, r.level);
        connect(r.button, &QPushButton::clicked, this, &TfrmChangePasswords::btnChangePassClick);
        rows->addWidget(r.info, gridRow, 0);
        rows->addWidget(r.button, gridRow, 1, 2, 1, Qt::AlignTop);
        rows->addWidget(r.second, gridRow + 1, 0);
        rows->setRowMinimumHeight(gridRow + 1, 18);
        gridRow += 2;
    }

    btnOk = new QPushButton(this);
    btnOk->setObjectName(QStringLiteral("btnOk"));
    btnOk->setMinimumSize(75, 25);
    btnOk->setDefault(true);
    connect(btnOk, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnOk);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 7, 10);
    layout->setSpacing(7);
    layout->addWidget(gbChangePasswords, 1);
    layout->addLayout(buttons);

    SetTexts();
    FitFixedSize(this, kClientSize);
}

void TfrmChangePasswords::SetTexts() {
    setWindowTitle(QStr(13761));
    gbChangePasswords->setTitle(QStr(13762));
    lblInfoPass2->setText(QStr(13763));
    lblInfoPass2b->setText(QStr(13764));
    lblInfoPass3->setText(QStr(13765));
    lblInfoPass3b->setText(QStr(13766));
    lblInfoPass5->setText(QStr(13767));
    lblInfoPass5b->setText(QStr(13768));
    for (QPushButton* b : {btnChangePass2, btnChangePass3, btnChangePass5}) b->setText(QStr(13769));
    btnOk->setText(OkCaption());
}

void TfrmChangePasswords::showEvent(QShowEvent* event) {
    SetTexts();
    QWidget* editor = ctx_.windows.Window(Role::Editor);
    if (!editor) editor = parentWidget();
    StayAbove(this, editor);
    CentreOver(this, editor);
    QDialog::showEvent(event);
}

void TfrmChangePasswords::btnChangePassClick() {
    QObject* button = sender();
    if (!button) return;
    ChangePassword(button->property(kLevelProperty).toInt());
}

void TfrmChangePasswords::ChangePassword(int level) {
    auto* dialog = ctx_.windows.As<TfrmNewPassword>(Role::NewPassword);
    if (!dialog) return; // created at start-up, right after this dialog
    if (dialog->exec() != QDialog::Accepted) return;
    const std::string password = dialog->GetPassword().toStdString();
    const KivoPassword store = PasswordStore(ctx_);
    if (store.UsedByOtherLevel(password, level) &&
        Messages::Show(this, MsgKind::Question, 13770, {}, BtnYes | BtnNo) != BtnYes)
        return;
    // The old password stays in force when the store cannot be written; the user must know.
    if (const WriteStatus saved = store.WritePassword(level, password); !saved.ok())
        ShowFileMessage(this, WriteFailureMessage(saved, store.Path()));
}

} // namespace kivo::gui
