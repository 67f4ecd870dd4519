// The gate in front of the detailed editor: prompt, access level, editor, start window.
#include "accesstest.h"

#include "gui/access/password.h"
#include "gui/editor/enterdata.h"
#include "gui/shell/mainwindow.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <algorithm>
#include <fstream>
#include <iterator>

namespace kivo::gui::test {
namespace {

class GateTest : public AccessTest {
protected:
    GateTest() { start.show(); }

    // Types `password` into the prompt once it is up and confirms with Enter.
    void TypeWhenAsked(const QString& password) {
        WhenModal([this, password](QWidget* modal) {
            EXPECT_EQ(modal, &prompt);
            EXPECT_TRUE(prompt.edtPassword->text().isEmpty()); // emptied before every use
            TypeKeys(prompt.edtPassword, password);
            QTest::keyClick(prompt.edtPassword, Qt::Key_Return);
        });
    }

    struct Run {
        int level = -1;
        bool startVisible = true;
    };
    // The gate with an editor that notes its level and whether the start window was up.
    std::vector<Run> Gate() {
        std::vector<Run> runs;
        OpenEditorWithPassword(prompt, Store(), &start, [&](int level) {
            runs.push_back({level, start.isVisible()});
        });
        return runs;
    }

    QWidget start;
    TfrmPassword prompt;
};

TEST_F(GateTest, PasswordsOpenTheirLevels) {
    struct Case {
        const char* typed;
        int level;
    };
    for (const Case& c : {Case{"6747", 2}, Case{"7093", 3}, Case{"qorvu", 5}}) {
        SCOPED_TRACE(c.typed);
        prompt.edtPassword->setText(QStringLiteral("left over"));
        TypeWhenAsked(QString::fromLatin1(c.typed));
        const auto runs = Gate();
        ASSERT_EQ(runs.size(), 1u);
        EXPECT_EQ(runs[0].level, c.level);
        EXPECT_FALSE(runs[0].startVisible); // hidden while the editor runs
        EXPECT_TRUE(start.isVisible());     // and back afterwards
    }
    EXPECT_TRUE(Recorded().shown.empty());
}

TEST_F(GateTest, WrongPasswordSaysSoAndTheStartWindowStays) {
    for (const char* typed : {"6748", "QORVU", ""}) {
        SCOPED_TRACE(typed);
        Recorded().shown.clear();
        TypeWhenAsked(QString::fromLatin1(typed));
        EXPECT_TRUE(Gate().empty());
        ASSERT_EQ(Recorded().shown.size(), 1u);
        EXPECT_EQ(Recorded().shown[0].textId, 10013);
        EXPECT_EQ(Recorded().shown[0].kind, MsgKind::Information);
        EXPECT_TRUE(start.isVisible());
    }
}

TEST_F(GateTest, CancelledPromptDoesNothing) {
    WhenModal([this](QWidget*) {
        QTest::keyClicks(prompt.edtPassword, QStringLiteral("6747"));
        prompt.btnCancel->click();
    });
    EXPECT_TRUE(Gate().empty());
    EXPECT_TRUE(Recorded().shown.empty());
    EXPECT_TRUE(start.isVisible());
}

TEST_F(GateTest, EmptyPasswordOpensTheHighestClearedLevel) {
    Store().WritePassword(3, "");
    TypeWhenAsked(QString());
    const auto runs = Gate();
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].level, 3);
}

TEST_F(GateTest, PromptTakesAnyCharacter) {
    Store().WritePassword(2, "grün&ß");
    TypeWhenAsked(QStringLiteral("grün&ß"));
    const auto runs = Gate();
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].level, 2);
    EXPECT_EQ(prompt.GetPassword(), QStringLiteral("grün&ß"));
    EXPECT_EQ(prompt.edtPassword->maxLength(), 32);
    EXPECT_EQ(prompt.edtPassword->echoMode(), QLineEdit::Password);
}

TEST_F(AccessTest, DetailedProgrammingRunsTheEditorWhileTheStartWindowIsHidden) {
    TfrmMain start(ctx, std::string(KIVO_BIN_DIR) + "/kivotool", {});
    TfrmPassword prompt;
    TfrmEnterData editor(ctx, nullptr);
    ctx.windows.Register(Role::Start, &start);
    ctx.windows.Register(Role::Password, &prompt);
    ctx.windows.Register(Role::Editor, &editor);
    start.show();
    start.move(5, 5);

    bool editorRan = false;
    WhenModal([&](QWidget*) {
        EXPECT_EQ(prompt.windowTitle(), QStringLiteral("Passwort erforderlich"));
        QTest::keyClicks(prompt.edtPassword, QStringLiteral("6747"));
        prompt.btnOK->click();
        WhenModal([&](QWidget* modal) {
            EXPECT_EQ(modal, &editor);
            EXPECT_FALSE(start.isVisible());
            editorRan = true;
            Recorded().answers.push_back(BtnNo); // should the editor ask to save on leaving
            editor.reject();
        });
    });
    start.btnEnterData->click();

    EXPECT_TRUE(editorRan);
    EXPECT_TRUE(start.isVisible());
    EXPECT_NE(start.pos(), QPoint(5, 5)); // centred again
    for (const MessageRecord& m : Recorded().shown) EXPECT_NE(m.textId, 10013);
}

// A file named on the command line (a double click in the file manager) opens in the editor
// after the password, as File > Open would; a cancelled prompt opens nothing.
TEST_F(AccessTest, AFileArgumentOpensInTheEditorAfterThePassword) {
    kivo::test::TempDir files;
    const std::string good = files.file("unit.Kivo");
    // The shipped default, a configuration every editor field can show.
    std::ifstream shipped(std::string(KIVO_BIN_DIR) + "/Default.b", std::ios::binary);
    const std::string image((std::istreambuf_iterator<char>(shipped)), {});
    ASSERT_EQ(image.size(), 512u);
    files.Write("unit.Kivo", image);
    files.Write("damaged.Kivo", std::string(100, '\x01'));
    struct Case {
        const char* name;
        std::string file;
        bool cancel;
        bool editorRuns;
        int box; // 0: none
    };
    const Case cases[] = {
        {"a configuration", good, false, true, 0},
        {"the prompt cancelled", good, true, false, 0},
        {"a damaged file: File > Open's message, and the editor", files.file("damaged.Kivo"), false,
         true, 15010},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Recorded().shown.clear();
        TfrmMain start(ctx, std::string(KIVO_BIN_DIR) + "/kivotool", {c.file});
        TfrmPassword prompt;
        TfrmEnterData editor(ctx, nullptr);
        ctx.windows.Register(Role::Start, &start);
        ctx.windows.Register(Role::Password, &prompt);
        ctx.windows.Register(Role::Editor, &editor);
        bool asked = false, editorRan = false;
        std::string opened;
        WhenModal([&](QWidget* modal) {
            asked = modal == &prompt;
            if (c.cancel) {
                prompt.reject();
                return;
            }
            QTest::keyClicks(prompt.edtPassword, QStringLiteral("6747"));
            prompt.btnOK->click();
            WhenModal([&](QWidget* modal) {
                editorRan = modal == &editor;
                opened = editor.Data().fileName;
                Recorded().answers.push_back(BtnNo);
                editor.reject();
            });
        });
        start.show();
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return asked && (c.cancel || editorRan) && start.isVisible(); }, 5000));
        EXPECT_TRUE(asked);
        EXPECT_EQ(editorRan, c.editorRuns);
        if (c.editorRuns && !c.box) {
            EXPECT_EQ(opened, c.file);
            EXPECT_TRUE(std::equal(image.begin(), image.end(), editor.Data().image.begin(),
                                   [](char a, std::uint8_t b) { return std::uint8_t(a) == b; }));
        }
        int box = 0;
        for (const MessageRecord& m : Recorded().shown)
            if (m.textId != 13801) box = m.textId;
        EXPECT_EQ(box, c.box);
        ctx.windows.Clear();
    }
}

} // namespace
} // namespace kivo::gui::test
