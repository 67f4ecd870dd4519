// Changing passwords: the new password is written for the row's level, after a question when
// it already opens another level.
#include "accesstest.h"

#include "gui/access/changepasswords.h"
#include "gui/access/newpassword.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <sys/stat.h>

namespace kivo::gui::test {
namespace {

class ChangePasswordsTest : public AccessTest {
protected:
    ChangePasswordsTest() { ctx.windows.Register(Role::NewPassword, &newPassword); }

    // Answers the new-password dialog with `password` typed twice (or cancels it).
    void AnswerWith(const QString& password, bool cancel = false) {
        WhenModal([this, password, cancel](QWidget* modal) {
            EXPECT_EQ(modal, &newPassword);
            QTest::keyClicks(newPassword.edtPassword, password);
            QTest::keyClicks(newPassword.edtPasswordRetype, password);
            if (cancel)
                newPassword.btnCancel->click();
            else
                newPassword.btnOk->click();
        });
    }
    std::vector<int> Asked() const {
        std::vector<int> ids;
        for (const MessageRecord& m : Recorded().shown) ids.push_back(m.textId);
        return ids;
    }

    TfrmNewPassword newPassword;
    TfrmChangePasswords dialog{ctx};
};

TEST_F(ChangePasswordsTest, NewPasswordReplacesTheOldOne) {
    AnswerWith(QStringLiteral("neu12345"));
    dialog.btnChangePass3->click();
    EXPECT_TRUE(Asked().empty());
    EXPECT_EQ(Store().ReadPassword(3), "neu12345");
    EXPECT_EQ(Store().AccessLevel("7093"), 0);
    EXPECT_EQ(Store().AccessLevel("neu12345"), 3);
    EXPECT_EQ(Store().ReadPassword(2), "6747");
}

TEST_F(ChangePasswordsTest, PasswordOfAnotherLevelIsStoredOnlyOnYes) {
    Recorded().answers = {BtnNo};
    AnswerWith(QStringLiteral("qorvu"));
    dialog.btnChangePass2->click();
    EXPECT_EQ(Asked(), std::vector<int>{13770});
    EXPECT_EQ(Recorded().shown[0].kind, MsgKind::Question);
    EXPECT_EQ(Recorded().shown[0].buttons, BtnYes | BtnNo);
    EXPECT_EQ(Store().ReadPassword(2), "6747");

    Recorded().shown.clear();
    Recorded().answers = {BtnYes};
    AnswerWith(QStringLiteral("qorvu"));
    dialog.btnChangePass2->click();
    EXPECT_EQ(Asked(), std::vector<int>{13770});
    EXPECT_EQ(Store().ReadPassword(2), "qorvu");
}

TEST_F(ChangePasswordsTest, ClearingAskedAgainWhenAnotherLevelIsAlreadyCleared) {
    Store().WritePassword(3, "");
    Recorded().answers = {BtnYes, BtnYes}; // clear the password? store it anyway?
    AnswerWith(QString());
    dialog.btnChangePass2->click();
    EXPECT_EQ(Asked(), (std::vector<int>{10014, 13770}));
    EXPECT_EQ(Store().ReadPassword(2), KivoPassword::kClearedMarker);

    // Now the empty text opens levels 2 and 3: clearing level 5 asks as well, and No keeps
    // its password.
    Recorded().shown.clear();
    Recorded().answers = {BtnYes, BtnNo};
    AnswerWith(QString());
    dialog.btnChangePass5->click();
    EXPECT_EQ(Asked(), (std::vector<int>{10014, 13770}));
    EXPECT_EQ(Store().ReadPassword(5), "qorvu");
}

TEST_F(ChangePasswordsTest, ClearingALevelAloneNeedsNoSecondQuestion) {
    Recorded().answers = {BtnYes};
    AnswerWith(QString());
    dialog.btnChangePass5->click();
    EXPECT_EQ(Asked(), std::vector<int>{10014});
    EXPECT_EQ(Store().ReadPassword(5), KivoPassword::kClearedMarker);
    EXPECT_EQ(Store().AccessLevel(""), 5);
}

// A store that cannot be written keeps the old password, and the user is told so.
TEST_F(ChangePasswordsTest, AStoreThatCannotBeWrittenSaysSo) {
    const std::string store = ctx.folders.programFolder + "KivoLng.tbl";
    const auto before = folders.dir().Read(store);
    ::chmod(store.c_str(), 0444);
    AnswerWith(QStringLiteral("neu12345"));
    dialog.btnChangePass3->click();
    ASSERT_EQ(Asked(), std::vector<int>{16200});
    EXPECT_TRUE(Recorded().shown[0].text.contains(QStr(16210)));
    EXPECT_EQ(folders.dir().Read(store), before);
    EXPECT_EQ(Store().ReadPassword(3), "7093");
}

TEST_F(ChangePasswordsTest, CancelWritesNothing) {
    const auto before = folders.dir().Read(ctx.folders.programFolder + "KivoLng.tbl");
    AnswerWith(QStringLiteral("abcdef"), true);
    dialog.btnChangePass2->click();
    EXPECT_EQ(folders.dir().Read(ctx.folders.programFolder + "KivoLng.tbl"), before);
    EXPECT_TRUE(Asked().empty());
}

TEST_F(ChangePasswordsTest, TextsFromTheStringTable) {
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Passwörter ändern"));
    EXPECT_EQ(dialog.btnChangePass5->text(), QStringLiteral("Änderen..."));
    EXPECT_EQ(dialog.btnOk->text(), QStringLiteral("&OK"));
    EXPECT_TRUE(dialog.lblInfoPass2b->text().isEmpty());
    for (QPushButton* b : {dialog.btnChangePass2, dialog.btnChangePass3, dialog.btnChangePass5})
        EXPECT_GE(b->width(), b->sizeHint().width());
}

} // namespace
} // namespace kivo::gui::test
