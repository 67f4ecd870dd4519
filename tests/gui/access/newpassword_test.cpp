// The new-password dialog: when OK may be pressed, what the fields take, and what OK says.
#include "support/guitest.h"

#include "gui/access/newpassword.h"
#include "gui/access/password.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace kivo::gui::test {
namespace {

class NewPasswordTest : public ::testing::Test {
protected:
    NewPasswordTest() { dialog.show(); }
    void Type(const QString& first, const QString& second) {
        QTest::keyClicks(dialog.edtPassword, first);
        QTest::keyClicks(dialog.edtPasswordRetype, second);
    }

    TfrmNewPassword dialog;
};

TEST_F(NewPasswordTest, OkOnlyForEqualLengthsOfNoneOrAtLeastFour) {
    struct Case {
        const char* first;
        const char* second;
        bool enabled;
    };
    const Case cases[] = {
        {"abc", "abc", false},          {"abcd", "abcd", true}, {"abcd", "abc", false},
        {"abcd", "wxyz", true},         {"", "", true},         {"a", "", false},
        {"abcdefgh", "abcdefgh", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.first) + " / " + c.second);
        dialog.hide();
        dialog.show(); // empties both fields
        EXPECT_TRUE(dialog.edtPassword->text().isEmpty());
        Type(QString::fromLatin1(c.first), QString::fromLatin1(c.second));
        EXPECT_EQ(dialog.btnOk->isEnabled(), c.enabled);
    }
    // Backspace counts as a change.
    dialog.hide();
    dialog.show();
    Type(QStringLiteral("abcd"), QStringLiteral("abcde"));
    EXPECT_FALSE(dialog.btnOk->isEnabled());
    QTest::keyClick(dialog.edtPasswordRetype, Qt::Key_Backspace);
    EXPECT_TRUE(dialog.btnOk->isEnabled());
}

TEST_F(NewPasswordTest, FieldsTakePrintableAsciiOnly) {
    QGuiApplication::clipboard()->setText(QStringLiteral("pasted"));
    for (QLineEdit* field : {dialog.edtPassword, dialog.edtPasswordRetype}) {
        SCOPED_TRACE(field->objectName().toStdString());
        TypeKeys(field, QStringLiteral("aä ß~é1"));
        QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
        QTest::keyClick(field, Qt::Key_Insert, Qt::ShiftModifier);
        QTest::keyClick(field, Qt::Key_Tab);
        EXPECT_EQ(field->text(), QStringLiteral("a ~1"));
        EXPECT_EQ(field->maxLength(), 32);
        // Pasting around the keys is refused as well when the text is not plain ASCII.
        field->clear();
        field->insert(QStringLiteral("Größe"));
        EXPECT_EQ(field->text(), QString());
    }

    // The prompt in front of the editor is not filtered: Ctrl+V pastes there.
    TfrmPassword prompt;
    QTest::keyClick(prompt.edtPassword, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(prompt.GetPassword(), QStringLiteral("pasted"));
}

TEST_F(NewPasswordTest, EnterMovesOnInsteadOfConfirming) {
    Type(QStringLiteral("abcd"), QString());
    QTest::keyClick(dialog.edtPassword, Qt::Key_Return);
    EXPECT_EQ(dialog.focusWidget(), dialog.edtPasswordRetype);
    QTest::keyClicks(dialog.edtPasswordRetype, QStringLiteral("abc"));
    QTest::keyClick(dialog.edtPasswordRetype, Qt::Key_Return);
    EXPECT_EQ(dialog.focusWidget(), dialog.edtPasswordRetype); // OK is disabled
    QTest::keyClicks(dialog.edtPasswordRetype, QStringLiteral("d"));
    QTest::keyClick(dialog.edtPasswordRetype, Qt::Key_Return);
    EXPECT_EQ(dialog.focusWidget(), dialog.btnOk);
    EXPECT_TRUE(dialog.isVisible()); // Enter never ends the dialog from a field
    EXPECT_TRUE(Recorded().shown.empty());
}

// Type, Enter, retype, Enter: the focus is on OK, and Enter there confirms; on Cancel it
// cancels.
TEST_F(NewPasswordTest, EnterOnTheFocusedButtonPressesIt) {
    Type(QStringLiteral("abcd"), QString());
    QTest::keyClick(dialog.edtPassword, Qt::Key_Return);
    QTest::keyClicks(dialog.edtPasswordRetype, QStringLiteral("abcd"));
    QTest::keyClick(dialog.edtPasswordRetype, Qt::Key_Return);
    ASSERT_EQ(dialog.focusWidget(), dialog.btnOk);
    QTest::keyClick(dialog.btnOk, Qt::Key_Return);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.GetPassword(), QStringLiteral("abcd"));

    dialog.show();
    dialog.btnCancel->setFocus();
    QTest::keyClick(dialog.btnCancel, Qt::Key_Enter);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

TEST_F(NewPasswordTest, DifferentPasswordsKeepTheDialogOpen) {
    Type(QStringLiteral("abcd"), QStringLiteral("abce"));
    dialog.btnOk->click();
    ASSERT_EQ(Recorded().shown.size(), 1u);
    EXPECT_EQ(Recorded().shown[0].textId, 13785);
    EXPECT_EQ(Recorded().shown[0].kind, MsgKind::Information);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.edtPassword->text(), QStringLiteral("abcd"));
    EXPECT_EQ(dialog.edtPasswordRetype->text(), QStringLiteral("abce"));
}

TEST_F(NewPasswordTest, TwoEmptyFieldsAskWhetherToClear) {
    Recorded().answers = {BtnNo};
    dialog.btnOk->click();
    ASSERT_EQ(Recorded().shown.size(), 1u);
    EXPECT_EQ(Recorded().shown[0].textId, 10014);
    EXPECT_EQ(Recorded().shown[0].kind, MsgKind::Question);
    EXPECT_EQ(Recorded().shown[0].buttons, BtnYes | BtnNo);
    EXPECT_TRUE(dialog.isVisible());

    Recorded().answers = {BtnYes};
    dialog.btnOk->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.GetPassword(), QString());
}

TEST_F(NewPasswordTest, MatchingPasswordsConfirm) {
    Type(QStringLiteral("Neu 1234"), QStringLiteral("Neu 1234"));
    dialog.btnOk->click();
    EXPECT_TRUE(Recorded().shown.empty());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.GetPassword(), QStringLiteral("Neu 1234"));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Neues Passwort"));
    EXPECT_EQ(dialog.btnCancel->text(), QStringLiteral("&Abbruch"));
}

} // namespace
} // namespace kivo::gui::test
