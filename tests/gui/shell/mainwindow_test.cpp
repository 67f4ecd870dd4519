// The start window: start-up through its creation, the buttons it offers, their order, texts
// and tab order, and its place on the screen.
#include "support/apptest.h"

#include "access/kivopassword.h"
#include "gui/access/changepasswords.h"
#include "gui/access/newpassword.h"
#include "gui/access/password.h"
#include "gui/common/about.h"
#include "gui/common/information.h"
#include "gui/common/receiveradio.h"
#include "gui/editor/alarmtypes.h"
#include "gui/editor/enterdata.h"
#include "gui/editor/selectdirectory.h"
#include "gui/editor/selecthomeaway.h"
#include "gui/editor/viewdefault.h"
#include "gui/guided/basicprogplus.h"
#include "gui/guided/kivowizard.h"
#include "gui/radio/inforadio.h"
#include "gui/shell/application.h"
#include "gui/shell/mainwindow.h"
#include "gui/shell/programwindows.h"

#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include <filesystem>

namespace kivo::gui::test {
namespace {

namespace fs = std::filesystem;

TEST(MainWindowStartup, CreationRunsStartUpAndChoosesTheKobu) {
    Folders folders;
    AppContext ctx;
    TfrmMain main(ctx, TestExecutable(), {});

    const std::string program = folders.dir().file("appdata") + "/TAVRA/KIVO Zizadozeve (DE)/";
    EXPECT_EQ(ctx.folders.programFolder, program);
    EXPECT_EQ(ctx.folders.configFolder, folders.dir().file("docs") + "/TAVRA/KIVO config");
    EXPECT_EQ(ctx.templateFolder, std::string(KIVO_BIN_DIR) + "/");
    EXPECT_TRUE(fs::exists(program + "Values.ini"));
    EXPECT_TRUE(fs::exists(program + "Default.bin"));
    KivoPassword store(program + "KivoLng.tbl");
    EXPECT_EQ(store.ReadPassword(2), "6747");
    EXPECT_EQ(store.ReadPassword(3), "7093");
    EXPECT_EQ(store.ReadPassword(5), "qorvu");

    // KIVO_KOBU=sim (the test default): a Kobu that answers.
    ASSERT_TRUE(ctx.kobu);
    EXPECT_EQ(ctx.MakeLink()->OpenLink(), LinkOpen::Open);
    EXPECT_TRUE(Recorded().shown.empty());
}

TEST(MainWindowStartup, OneExistingFolderArgumentIsTheConfigurationFolder) {
    Folders folders;
    const std::string mine = folders.dir().file("mine");
    fs::create_directories(mine);
    AppContext ctx;
    TfrmMain main(ctx, TestExecutable(), {mine});
    EXPECT_EQ(ctx.folders.configFolder, mine);

    AppContext other;
    TfrmMain missing(other, TestExecutable(), {folders.dir().file("nowhere")});
    EXPECT_EQ(other.folders.configFolder, folders.dir().file("docs") + "/TAVRA/KIVO config");
}

TEST(MainWindowStartup, UnknownKobuIsReportedAndTheProgramGoesOnWithout) {
    Folders folders;
    ScopedEnv kobu("KIVO_KOBU", "bluetooth");
    AppContext ctx;
    TfrmMain main(ctx, TestExecutable(), {});

    ASSERT_EQ(Recorded().shown.size(), 1u);
    EXPECT_EQ(Recorded().shown[0].kind, MsgKind::Error);
    EXPECT_TRUE(Recorded().shown[0].text.contains(QStringLiteral("bluetooth")));
    EXPECT_FALSE(ctx.kobu);
    EXPECT_EQ(ctx.MakeLink()->OpenLink(),
              LinkOpen::Failed); // every device operation then finds no Kobu
    EXPECT_FALSE(ctx.folders.programFolder.empty());
}

class MainWindowTest : public ::testing::Test {
protected:
    Folders folders;
    AppContext ctx;
    TfrmMain main{ctx, TestExecutable(), {}};
};

TEST_F(MainWindowTest, OffersDetailedThenBasicProgrammingThenExit) {
    main.show();
    QList<QPushButton*> visible;
    for (QPushButton* b : main.findChildren<QPushButton*>())
        if (b->isVisible()) visible << b;
    std::sort(visible.begin(), visible.end(), [&](QPushButton* a, QPushButton* b) {
        return a->mapTo(&main, QPoint()).y() < b->mapTo(&main, QPoint()).y();
    });
    ASSERT_EQ(visible.size(), 3);
    EXPECT_EQ(visible[0], main.btnEnterData);
    EXPECT_EQ(visible[1], main.btnBasicProgramming);
    EXPECT_EQ(visible[2], main.btnExit);
    EXPECT_FALSE(main.btnProgrammingGuide->isVisible());
    EXPECT_FALSE(main.lblAStepByStep->isVisible());

    // Detailed programming sits where the wizard's button would have been: at the top.
    const int firstRow = main.lblPleaseSelect->mapTo(&main, QPoint()).y();
    EXPECT_LT(main.btnEnterData->mapTo(&main, QPoint()).y() - firstRow, 60);

    // Tab order: detailed, basic, exit, and round again.
    std::vector<QWidget*> tabOrder{main.btnEnterData};
    for (QWidget* w = main.btnEnterData->nextInFocusChain(); w != main.btnEnterData;
         w = w->nextInFocusChain())
        if (w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus))
            tabOrder.push_back(w);
    EXPECT_EQ(tabOrder,
              (std::vector<QWidget*>{main.btnEnterData, main.btnBasicProgramming, main.btnExit}));
    EXPECT_EQ(main.focusWidget(), main.btnEnterData);
}

TEST_F(MainWindowTest, TextsComeFromTheStringTable) {
    main.show();
    EXPECT_EQ(main.windowTitle(), QStringLiteral("KIVO Programmiertool"));
    EXPECT_EQ(main.lblWelcome->text(),
              QStringLiteral("Willkommen zur Programmiersoftware für KIVO von Tavra Electronics"));
    EXPECT_EQ(main.lblPleaseSelect->text(), QStringLiteral("Bitte Programmiermethode auswählen"));
    EXPECT_EQ(main.btnEnterData->text(), QStringLiteral("Profi Programmierung"));
    EXPECT_EQ(main.lblEditAllParameters->text(),
              QStringLiteral("Manuelle Einstellung aller Parameter"));
    EXPECT_EQ(main.btnBasicProgramming->text(), QStringLiteral("Schnell Programmierung"));
    EXPECT_EQ(main.lblSelectAPredefined->text(),
              QStringLiteral("Auswahl eines vordefienierten Programmierfiles mit Eingabe der "
                             "ID-Nummer"));
    EXPECT_EQ(main.btnExit->text(), QStringLiteral("&Beenden"));
    EXPECT_EQ(main.btnProgrammingGuide->text(), QStringLiteral("Programmierassistent"));
}

TEST_F(MainWindowTest, NoTextIsCutOff) {
    main.show();
    EXPECT_GE(main.width(), 689);
    EXPECT_GE(main.height(), 285);
    EXPECT_EQ(main.minimumSize(), main.maximumSize()); // fixed size
    const QRect panel(main.pnlMain->mapTo(&main, QPoint()), main.pnlMain->size());
    for (QLabel* l : {main.lblWelcome, main.lblPleaseSelect, main.lblEditAllParameters,
                      main.lblSelectAPredefined}) {
        SCOPED_TRACE(l->objectName().toStdString());
        EXPECT_GE(l->height(), l->heightForWidth(l->width()));
        EXPECT_TRUE(panel.contains(QRect(l->mapTo(&main, QPoint()), l->size())));
    }
    for (QPushButton* b : {main.btnEnterData, main.btnBasicProgramming, main.btnExit}) {
        SCOPED_TRACE(b->objectName().toStdString());
        EXPECT_GE(b->width(), b->sizeHint().width());
        EXPECT_TRUE(panel.contains(QRect(b->mapTo(&main, QPoint()), b->size())));
    }
    // The explanation stands right of its button, clear of it.
    EXPECT_GT(main.lblEditAllParameters->mapTo(&main, QPoint()).x(),
              main.btnEnterData->mapTo(&main, QPoint()).x() + main.btnEnterData->width());
}

TEST_F(MainWindowTest, CentredOnEveryShow) {
    const QRect screen = main.screen()->geometry();
    auto centred = [&] {
        const QRect outer = main.frameGeometry();
        return QPoint(screen.left() + (screen.width() - outer.width()) / 2,
                      screen.top() + (screen.height() - outer.height()) / 2);
    };
    main.show();
    EXPECT_EQ(main.frameGeometry().topLeft(), centred());
    main.move(3, 4);
    main.hide();
    main.btnEnterData->setText(QStringLiteral("changed"));
    main.show();
    EXPECT_EQ(main.frameGeometry().topLeft(), centred());
    EXPECT_EQ(main.btnEnterData->text(), QStringLiteral("Profi Programmierung"));
}

TEST_F(MainWindowTest, BasicProgrammingDoesNothingYet) {
    main.show();
    main.btnBasicProgramming->click();
    EXPECT_TRUE(main.isVisible());
    EXPECT_TRUE(Recorded().shown.empty());
}

TEST(ProgramWindows, EveryWindowOnceStartWindowFirst) {
    Folders folders;
    AppContext ctx;
    {
        ProgramWindows windows(ctx, TestExecutable(), {});
        const Windows& w = windows.Get();
        ASSERT_NE(w.main, nullptr);
        ASSERT_NE(w.enterData, nullptr);
        ASSERT_NE(w.receiveRadio, nullptr);
        ASSERT_NE(w.password, nullptr);
        ASSERT_NE(w.wizard, nullptr);
        ASSERT_NE(w.about, nullptr);
        ASSERT_NE(w.infoRadio, nullptr);
        ASSERT_NE(w.viewDefault, nullptr);
        ASSERT_NE(w.alarmTypes, nullptr);
        ASSERT_NE(w.selectDirectory, nullptr);
        ASSERT_NE(w.selectHomeAway, nullptr);
        ASSERT_NE(w.changePasswords, nullptr);
        ASSERT_NE(w.newPassword, nullptr);
        ASSERT_NE(w.basicProgPlus, nullptr);
        ASSERT_NE(w.information, nullptr);
        // The designed order of creation.
        const std::vector<QWidget*> expected = {
            w.main,           w.enterData,       w.receiveRadio, w.password,      w.wizard,
            w.about,          w.infoRadio,       w.viewDefault,  w.alarmTypes,    w.selectDirectory,
            w.selectHomeAway, w.changePasswords, w.newPassword,  w.basicProgPlus, w.information};
        std::vector<QWidget*> created;
        for (const auto& p : windows.Created()) created.push_back(p.data());
        EXPECT_EQ(created, expected);
        // The editor's dialogs are not among the editor's own controls.
        for (QWidget* dialog :
             {static_cast<QWidget*>(w.about), static_cast<QWidget*>(w.infoRadio),
              static_cast<QWidget*>(w.receiveRadio), static_cast<QWidget*>(w.viewDefault),
              static_cast<QWidget*>(w.alarmTypes), static_cast<QWidget*>(w.selectDirectory),
              static_cast<QWidget*>(w.selectHomeAway), static_cast<QWidget*>(w.changePasswords),
              static_cast<QWidget*>(w.newPassword), static_cast<QWidget*>(w.information)})
            EXPECT_FALSE(w.enterData->isAncestorOf(dialog));
        EXPECT_FALSE(ctx.folders.programFolder.empty());
    }
    EXPECT_EQ(ctx.windows.Window(Role::Start), nullptr);
}

TEST(CommandLine, OptionsAreNotPositionalArguments) {
    struct Case {
        std::vector<std::string> words;
        std::vector<std::string> positional;
        bool version;
        std::string screenshot;
        bool error;
    };
    const Case cases[] = {
        {{}, {}, false, "", false},
        {{"/data/configs"}, {"/data/configs"}, false, "", false},
        {{"--version"}, {}, true, "", false},
        {{"--screenshot", "/tmp/s", "/data"}, {"/data"}, false, "/tmp/s", false},
        {{"--screenshot=/tmp/s"}, {}, false, "/tmp/s", false},
        {{"a", "b"}, {"a", "b"}, false, "", false},
        {{"--", "--version"}, {"--version"}, false, "", false},
        {{"--screenshot"}, {}, false, "", true},
        {{"--colour"}, {}, false, "", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.words));
        CommandLine cl = ParseCommandLine(c.words);
        EXPECT_EQ(cl.positional, c.positional);
        EXPECT_EQ(cl.version, c.version);
        EXPECT_EQ(cl.screenshotDir, c.screenshot);
        EXPECT_EQ(!cl.error.empty(), c.error);
    }
}

} // namespace
} // namespace kivo::gui::test
