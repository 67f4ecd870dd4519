#include "gui/access/newpassword.h"

#include "gui/access/password.h"
#include "gui/common/frame.h"
#include "gui/common/messages.h"
#include "gui/common/placement.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <QValidator>

namespace kivo::gui {

namespace {

constexpr QSize kClientSize(292, 235);
constexpr int kMinLength = 4;

bool IsPrintableAscii(QChar c) {
    return c.unicode() >= 32 && c.unicode() <= 126;
}

// The last word on what a field may hold, whatever way the text comes in (pasting from the
// context menu or with the middle button, dropping): printable ASCII only.
class PrintableAscii : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override {
        for (QChar c : input)
            if (!IsPrintableAscii(c)) return Invalid;
        return Acceptable;
    }
};

} // namespace

TfrmNewPassword::TfrmNewPassword(QWidget* parent) : QDialog(parent, FrameFlags(Frame::Close)) {
    setObjectName(QStringLiteral("frmNewPassword"));
    gbSetNewPassword = new QGroupBox(this);
    gbSetNewPassword->setObjectName(QStringLiteral("gbSetNewPassword"));
    lblEnterNewPassword = new QLabel(gbSetNewPassword);
    lblEnterNewPassword->setObjectName(QStringLiteral("lblEnterNewPassword"));
    edtPassword = new QLineEdit(gbSetNewPassword);
    edtPassword->setObjectName(QStringLiteral("edtPassword"));
    lblRetypeNewPassword = new QLabel(gbSetNewPassword);
    lblRetypeNewPassword->setObjectName(QStringLiteral("lblRetypeNewPassword"));
    edtPasswordRetype = new QLineEdit(gbSetNewPassword);
    edtPasswordRetype->setObjectName(QStringLiteral("edtPasswordRetype"));
    btnOk = new QPushButton(this);
    btnOk->setObjectName(QStringLiteral("btnOk"));
    btnCancel = new QPushButton(this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));

    auto* validator = new PrintableAscii(this);
    for (QLabel* l : {lblEnterNewPassword, lblRetypeNewPassword}) l->setWordWrap(true);
    for (QLineEdit* field : {edtPassword, edtPasswordRetype}) {
        MakePasswordField(field);
        field->setMinimumWidth(209);
        field->setValidator(validator);
        field->setContextMenuPolicy(Qt::NoContextMenu);
        field->setAcceptDrops(false);
        field->installEventFilter(this);
        connect(field, &QLineEdit::textChanged, this, &TfrmNewPassword::UpdateOk);
    }
    for (QPushButton* b : {btnOk, btnCancel}) {
        b->setMinimumSize(75, 25);
        b->setAutoDefault(false);
        b->installEventFilter(this); // Enter presses the button that has the focus
    }

    auto* group = new QVBoxLayout(gbSetNewPassword);
    group->setContentsMargins(16, 14, 16, 18);
    group->setSpacing(6);
    group->addWidget(lblEnterNewPassword);
    group->addWidget(edtPassword);
    group->addSpacing(18);
    group->addWidget(lblRetypeNewPassword);
    group->addWidget(edtPasswordRetype);
    group->addStretch(1);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(13);
    buttons->addStretch(1);
    buttons->addWidget(btnOk);
    buttons->addWidget(btnCancel);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 11, 10);
    layout->setSpacing(7);
    layout->addWidget(gbSetNewPassword, 1);
    layout->addLayout(buttons);

    setTabOrder(edtPassword, edtPasswordRetype);
    setTabOrder(edtPasswordRetype, btnOk);
    setTabOrder(btnOk, btnCancel);
    connect(btnOk, &QPushButton::clicked, this, &TfrmNewPassword::btnOkClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);

    SetTexts();
    FitFixedSize(this, kClientSize);
}

void TfrmNewPassword::SetTexts() {
    setWindowTitle(QStr(13781));
    gbSetNewPassword->setTitle(QStr(13782));
    lblEnterNewPassword->setText(QStr(13783));
    lblRetypeNewPassword->setText(QStr(13784));
    btnOk->setText(OkCaption());
    btnCancel->setText(CancelCaption());
}

QString TfrmNewPassword::GetPassword() const {
    return edtPassword->text();
}

void TfrmNewPassword::showEvent(QShowEvent* event) {
    SetTexts();
    CentreOnScreen(this);
    edtPassword->clear();
    edtPasswordRetype->clear();
    edtPassword->setFocus();
    btnOk->setEnabled(true);
    QDialog::showEvent(event);
}

void TfrmNewPassword::UpdateOk() {
    const int a = edtPassword->text().size();
    const int b = edtPasswordRetype->text().size();
    btnOk->setEnabled(a == b && (a == 0 || a >= kMinLength));
}

bool TfrmNewPassword::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && (watched == btnOk || watched == btnCancel)) {
        const int k = static_cast<QKeyEvent*>(event)->key();
        if (k != Qt::Key_Return && k != Qt::Key_Enter) return QDialog::eventFilter(watched, event);
        auto* button = static_cast<QPushButton*>(watched);
        if (button->isEnabled()) button->click();
        return true;
    }
    if (event->type() != QEvent::KeyPress ||
        (watched != edtPassword && watched != edtPasswordRetype))
        return QDialog::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);

    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
        if (watched == edtPassword)
            edtPasswordRetype->setFocus();
        else if (btnOk->isEnabled())
            btnOk->setFocus();
        return true;
    }
    if (key->matches(QKeySequence::Paste)) return true;
    // Ctrl, Alt or Meta make a shortcut (Ctrl+V, Ctrl+A ...), except Ctrl+Alt together, which
    // is how AltGr reaches some platforms when it types "@" or a backslash.
    const Qt::KeyboardModifiers mods = key->modifiers();
    const bool altGr = (mods & Qt::ControlModifier) && (mods & Qt::AltModifier);
    if ((mods & Qt::MetaModifier) || (!altGr && (mods & (Qt::ControlModifier | Qt::AltModifier))))
        return true;

    // Keys that put no character into the field: deleting, moving and leaving.
    switch (key->key()) {
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Escape:
        return false;
    case Qt::Key_Insert:
        return true;
    default:
        break;
    }
    const QString text = key->text();
    if (text.isEmpty()) return false;
    // Everything that types must be one printable ASCII character: no umlauts, no control
    // characters.
    return !(text.size() == 1 && IsPrintableAscii(text[0]));
}

void TfrmNewPassword::btnOkClick() {
    if (edtPassword->text() != edtPasswordRetype->text()) {
        Messages::Show(this, MsgKind::Information, 13785);
        return;
    }
    if (edtPassword->text().isEmpty() &&
        Messages::Show(this, MsgKind::Question, 10014, {}, BtnYes | BtnNo) != BtnYes)
        return;
    accept();
}

} // namespace kivo::gui
