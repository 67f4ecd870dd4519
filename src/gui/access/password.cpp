#include "gui/access/password.h"

#include "gui/common/frame.h"
#include "gui/common/messages.h"
#include "gui/common/placement.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kivo::gui {

namespace {

constexpr QSize kClientSize(192, 110);
constexpr int kMaxPassword = 32;

} // namespace

void MakePasswordField(QLineEdit* field) {
    field->setEchoMode(QLineEdit::Password);
    field->setMaxLength(kMaxPassword);
    // '*' whatever the style would use.
    field->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));
}

KivoPassword PasswordStore(const AppContext& ctx) {
    return KivoPassword(ctx.folders.programFolder + "KivoLng.tbl");
}

TfrmPassword::TfrmPassword(QWidget* parent) : QDialog(parent, FrameFlags(Frame::TitleOnly)) {
    setObjectName(QStringLiteral("frmPassword"));
    lblEnterPassword = new QLabel(this);
    lblEnterPassword->setObjectName(QStringLiteral("lblEnterPassword"));
    lblEnterPassword->setWordWrap(true);
    edtPassword = new QLineEdit(this);
    edtPassword->setObjectName(QStringLiteral("edtPassword"));
    MakePasswordField(edtPassword);
    edtPassword->setMinimumWidth(161);
    btnOK = new QPushButton(this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnCancel = new QPushButton(this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    for (QPushButton* b : {btnOK, btnCancel}) b->setMinimumSize(75, 25);
    // Enter in the field confirms: the field passes it on to the default button.
    btnOK->setDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(13);
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 14, 13, 13);
    layout->setSpacing(8);
    layout->addWidget(lblEnterPassword);
    layout->addWidget(edtPassword);
    layout->addSpacing(6);
    layout->addLayout(buttons);

    setTabOrder(edtPassword, btnOK);
    setTabOrder(btnOK, btnCancel);
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);

    SetTexts();
    FitFixedSize(this, kClientSize);
}

void TfrmPassword::SetTexts() {
    setWindowTitle(QStr(10011));
    lblEnterPassword->setText(QStr(10012));
    btnOK->setText(OkCaption());
    btnCancel->setText(CancelCaption());
}

void TfrmPassword::ClearPassword() {
    edtPassword->clear();
}

QString TfrmPassword::GetPassword() const {
    return edtPassword->text();
}

void TfrmPassword::showEvent(QShowEvent* event) {
    SetTexts();
    CentreOnScreen(this);
    edtPassword->setFocus();
    QDialog::showEvent(event);
}

void OpenEditorWithPassword(TfrmPassword& prompt, const KivoPassword& store, QWidget* startWindow,
                            const EditorRun& runEditor) {
    prompt.ClearPassword();
    if (prompt.exec() != QDialog::Accepted) return;
    const int level = store.AccessLevel(prompt.GetPassword().toStdString());
    if (level == 0) {
        Messages::Show(startWindow, MsgKind::Information, 10013);
        return;
    }
    // Exactly one of the two is visible: the start window comes back however the editor ends.
    struct ShowAgain {
        QWidget* window;
        ~ShowAgain() {
            if (window) window->show();
        }
    } showAgain{startWindow};
    if (startWindow) startWindow->hide();
    runEditor(level);
}

} // namespace kivo::gui
