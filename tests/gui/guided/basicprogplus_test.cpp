// Basic programming: the list of configurations, the ID number, the radio choices and the
// write into a simulated unit, and the ways the window is opened.
#include "guidedfixture.h"

#include "app/strtable.h"
#include "data/codec.h"
#include "gui/common/guide.h"
#include "gui/editor/enterdata.h"
#include "gui/shell/mainwindow.h"
#include "gui/shell/programwindows.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <QStatusBar>

#include <cstdlib>

namespace kivo::gui::test {
namespace {

class BasicProgTest : public GuidedTest {
protected:
    void SetUp() override {
        GuidedTest::SetUp();
        // The configuration holds codes of its own in every radio position; the unit others.
        config = defaults;
        unit = defaults;
        for (unsigned a = 0; a < 16; ++a) {
            config[a] = static_cast<std::uint8_t>(0x11 + a);
            unit[a] = static_cast<std::uint8_t>(0xA0 + a);
        }
        config[0xBA] = 7; // repeat sequence: the file's, not the unit's
        unit[0xBA] = 2;
        PutConfiguration("Pflegeheim.Kivo", config);
    }

    // The bytes the window should have written for `id`: the file with the ID in all six
    // alarm codes.
    Image Expected(const std::string& id) const {
        Image image = config;
        for (int d = 0; d < mm::kDestinations; ++d)
            TextToAlarmCode(id, &image[mm::AlarmCodeAddr(d)]);
        return image;
    }

    Image config{};
    Image unit{};
};

TEST_F(BasicProgTest, ShowListsTheConfigurationsAndResetsTheRadioChoice) {
    PutConfiguration("b.Kivo", config);
    PutConfiguration("A.KIVO", config, 256);
    PutConfiguration("notes.txt", config);
    QDir().mkpath(QString::fromStdString(ctx.folders.configFolder + "/folder.Kivo"));
    window->SetRadioChoice(2);
    Show();

    EXPECT_EQ(window->windowTitle(), "Schnell Programmierung");
    QStringList listed;
    for (int i = 0; i < window->cmbConfiguration->count(); ++i)
        listed << window->cmbConfiguration->itemText(i);
    EXPECT_EQ(listed, (QStringList{"A.KIVO", "b.Kivo", "Pflegeheim.Kivo"}));
    EXPECT_EQ(window->cmbConfiguration->currentIndex(), 0);
    EXPECT_FALSE(window->cmbConfiguration->isEditable());
    EXPECT_EQ(window->FileSize(), 256u); // the first one is loaded
    EXPECT_EQ(window->RadioChoice(), 1);
    const QStringList radios = {"Alle Funkpositionen im KIVO belassen wie sie sind",
                                QString::fromUtf8("Lösche Funkpositionen 2 bis 8 (Standard)"),
                                QString::fromUtf8("Lösche alle Funkpositionen")};
    const auto buttons = window->rgRadioCodes->findChildren<QRadioButton*>();
    ASSERT_EQ(buttons.size(), 3);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(buttons[i]->text(), radios[i]);
    const int labelWidth = window->GroupBox1->width() * 8 / 10;
    EXPECT_EQ(window->lblSelectConfiguration->width(), labelWidth);
    EXPECT_EQ(window->lblWhatAlarmCode->width(), labelWidth);
    EXPECT_EQ(window->edtAlarmCode->maxLength(), 16);
    EXPECT_TRUE(Boxes().empty());

    // Choosing a file loads it.
    window->cmbConfiguration->setCurrentIndex(2);
    emit window->cmbConfiguration->activated(2);
    EXPECT_EQ(window->FileSize(), 512u);
    EXPECT_EQ(window->Data().image, config);
    EXPECT_TRUE(Boxes().empty());
}

// A status longer than the window's bar ends in an ellipsis; the whole text is its tool tip
// and stays the bar's message.
TEST_F(BasicProgTest, ALongStatusEndsInAnEllipsis) {
    Show();
    window->sbStatus->showMessage(QStr(15008));
    QApplication::processEvents();
    EXPECT_EQ(window->sbStatus->currentMessage(), QStr(15008));
    EXPECT_EQ(window->sbStatus->toolTip(), QStr(15008));
    EXPECT_LT(window->sbStatus->width(),
              window->sbStatus->fontMetrics().horizontalAdvance(QStr(15008)));
    if (const char* where = std::getenv("KIVO_TEST_PICTURES"))
        window->grab().save(QString::fromLocal8Bit(where) + "/basic-status.png");
}

TEST_F(BasicProgTest, AConfigurationThatCannotBeLoadedIsReported) {
    dir.Write(ctx.folders.configFolder + "/0-kaputt.Kivo", std::string(100, 'x'));
    Show();
    EXPECT_EQ(Boxes(), std::vector<int>{15010});
    EXPECT_EQ(Recorded().shown[0].kind, MsgKind::Error);
    ClearBoxes();
    emit window->cmbConfiguration->activated(0);
    EXPECT_EQ(Boxes(), std::vector<int>{15010});
}

// Each radio choice: what the image gets, and from where it is written and compared. Codes
// in the unit below the first address stay the unit's and do not fail the verification.
TEST_F(BasicProgTest, EachRadioChoiceWritesFromItsFirstAddress) {
    struct Case {
        int choice;
        unsigned unitKeptBelow; // the unit's own bytes stay below this address
    };
    for (const Case c : {Case{0, 16}, Case{1, 2}, Case{2, 0}}) {
        SCOPED_TRACE(c.choice);
        Unit(unit);
        Show();
        window->SetRadioChoice(c.choice);
        window->edtAlarmCode->setText("0401234567");
        ClearBoxes();
        window->btnWriteToKivo->click();

        EXPECT_EQ(Boxes(), std::vector<int>{15004});
        EXPECT_EQ(Status(), "Schreiben und Überprüfung erfolgt");
        const auto memory = UnitMemory();
        ASSERT_EQ(memory.size(), 512u);
        const Image expected = Expected("0401234567");
        for (unsigned a = 0; a < 16; ++a)
            EXPECT_EQ(memory[a], a < c.unitKeptBelow ? unit[a] : 0) << a;
        for (unsigned a = 16; a <= 0xF6; ++a) ASSERT_EQ(memory[a], expected[a]) << a;
        for (unsigned a = 0x103; a < 0x200; ++a) ASSERT_EQ(memory[a], expected[a]) << a;
        EXPECT_EQ(AlarmCodeToText(&memory[mm::AlarmCodeAddr(5)]), "0401234567");
        window->hide();
    }
}

// Every write starts from the file: a second write with another ID and choice carries nothing
// of the first over.
TEST_F(BasicProgTest, EveryWriteStartsFromTheFile) {
    Unit(unit);
    Show();
    window->SetRadioChoice(2);
    window->edtAlarmCode->setText("111");
    window->btnWriteToKivo->click();
    window->SetRadioChoice(0);
    window->edtAlarmCode->setText("22");
    window->btnWriteToKivo->click();
    EXPECT_EQ(Boxes(), (std::vector<int>{15004, 15004}));
    EXPECT_EQ(window->Data().image[0], config[0]); // choice 0 leaves the image's codes
    EXPECT_EQ(AlarmCodeToText(&window->Data().image[mm::AlarmCodeA]), "22");
    EXPECT_EQ(AlarmCodeToText(&UnitMemory()[mm::AlarmCodeAddr(3)]), "22");
}

TEST_F(BasicProgTest, AnOlderFileIntoALargerUnitSaysSoAndWritesBothRanges) {
    QDir(QString::fromStdString(ctx.folders.configFolder)).remove("Pflegeheim.Kivo");
    PutConfiguration("Alt.Kivo", config, 256);
    for (unsigned a = 0x103; a < 0x200; ++a) unit[a] = 0x55;
    Unit(unit);
    Show();
    window->edtAlarmCode->setText("77");
    window->btnWriteToKivo->click();

    EXPECT_EQ(Boxes(), (std::vector<int>{15035, 15004}));
    EXPECT_EQ(Recorded().shown[0].kind, MsgKind::Information);
    const auto memory = UnitMemory();
    ASSERT_EQ(memory.size(), 512u);
    for (unsigned a = 0x103; a < 0x200; ++a) ASSERT_EQ(memory[a], 0) << a;
    // The unit's firmware bytes (07.30, variant 10) are never written.
    EXPECT_EQ(std::vector<std::uint8_t>(memory.begin() + 0x100, memory.begin() + 0x103),
              (std::vector<std::uint8_t>{0x07, 0x30, 10}));
    EXPECT_EQ(memory[0xBA], 7);
}

// Enter in the ID field writes exactly as the button does; the field takes alarm-code
// characters only.
TEST_F(BasicProgTest, EnterInTheIdFieldWritesLikeTheButton) {
    Unit(unit);
    Show();
    window->SetRadioChoice(0);
    window->edtAlarmCode->setFocus();
    QTest::keyClicks(window->edtAlarmCode, "12x#a-*W9");
    EXPECT_EQ(window->edtAlarmCode->text(), "12#a*W9");
    QTest::keyClick(window->edtAlarmCode, Qt::Key_Return);
    EXPECT_EQ(Boxes(), std::vector<int>{15004});
    const auto byEnter = UnitMemory();

    Unit(unit);
    window->btnWriteToKivo->click();
    EXPECT_EQ(Boxes(), (std::vector<int>{15004, 15004}));
    EXPECT_EQ(UnitMemory(), byEnter);
    EXPECT_EQ(AlarmCodeToText(&byEnter[mm::AlarmCodeA]), "12#A*W9");
    EXPECT_TRUE(window->isVisible());
}

// Failures before the link is open show only their box; nothing reaches the unit.
TEST_F(BasicProgTest, FailuresBeforeTheLinkShowOnlyTheBox) {
    struct Case {
        const char* name;
        QString id;
        bool removeFile;
        bool kobu;
        int box;
        MsgKind kind;
    };
    const Case cases[] = {
        {"empty ID", "", false, true, 12009, MsgKind::Information},
        {"file gone", "123", true, true, 15010, MsgKind::Error},
        {"no Kobu", "123", false, false, 15009, MsgKind::Error},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PutConfiguration("Pflegeheim.Kivo", config);
        Unit(unit);
        const auto before = UnitMemory();
        Show();
        window->edtAlarmCode->setText(c.id);
        if (c.removeFile)
            QDir(QString::fromStdString(ctx.folders.configFolder)).remove("Pflegeheim.Kivo");
        if (!c.kobu) UseKobu("");
        ClearBoxes();
        window->btnWriteToKivo->click();
        ASSERT_EQ(Boxes(), std::vector<int>{c.box});
        EXPECT_EQ(Recorded().shown[0].kind, c.kind);
        EXPECT_TRUE(Status().isEmpty());
        if (c.kobu) {
            EXPECT_EQ(UnitMemory(), before);
        }
        window->hide();
    }
}

// Failures once the link is open: status line and error box, the write's own texts.
TEST_F(BasicProgTest, FailuresAtTheUnitGoToStatusAndBox) {
    struct Case {
        const char* options;
        int status;
        std::vector<int> boxes;
    };
    const Case cases[] = {
        {"unit=0", 15008, {15008}},
        {"ignore=1", 15005, {15005}},
        {"nak=1", 15008, {15008}}, // no size can be probed
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.options);
        Unit(unit, 512, c.options);
        Show();
        window->edtAlarmCode->setText("5");
        ClearBoxes();
        window->btnWriteToKivo->click();
        EXPECT_EQ(Boxes(), c.boxes);
        EXPECT_EQ(Status(), QString::fromStdString(Str(c.status)));
        for (const MessageRecord& r : Recorded().shown) EXPECT_EQ(r.kind, MsgKind::Error);
        window->hide();
    }
}

TEST_F(BasicProgTest, AnEmptyConfigurationFolderClosesTheWindow) {
    QDir(QString::fromStdString(ctx.folders.configFolder)).remove("Pflegeheim.Kivo");
    window->edtAlarmCode->setText("123");
    // Should the window stay, the test ends it instead of hanging.
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, window.get(), [this] { window->done(99); });
    guard.start(5000);
    const int result = window->exec();
    EXPECT_NE(result, 99);
    EXPECT_EQ(Boxes(), std::vector<int>{12010});
    EXPECT_EQ(Recorded().shown[0].kind, MsgKind::Information);
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(window->edtAlarmCode->text().isEmpty());
}

TEST_F(BasicProgTest, ExitEmptiesTheIdNumberClosingKeepsIt) {
    Show();
    window->edtAlarmCode->setText("123");
    window->close();
    Show();
    EXPECT_EQ(window->edtAlarmCode->text(), "123");
    window->btnExit->click();
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(window->edtAlarmCode->text().isEmpty());
}

// The start window hides while basic programming runs and comes back; the editor's Tools
// menu opens the same window.
TEST(BasicProgOpening, FromTheStartWindowAndFromTheEditor) {
    Folders folders;
    AppContext ctx;
    ProgramWindows windows(ctx, std::string(KIVO_BIN_DIR) + "/kivotool", {});
    const Windows& w = windows.Get();
    ASSERT_NE(w.basicProgPlus, nullptr);
    QDir().mkpath(QString::fromStdString(ctx.folders.configFolder));
    kivo::test::TempDir dir;
    std::vector<std::uint8_t> image(512, 0);
    dir.Write(ctx.folders.configFolder + "/a.Kivo", image);

    w.main->show();
    bool mainHidden = false;
    QWidget* modal = nullptr;
    WhenModal([&](QWidget* m) {
        modal = m;
        mainHidden = !w.main->isVisible();
        w.basicProgPlus->btnExit->click();
    });
    w.main->btnBasicProgramming->click();
    EXPECT_EQ(modal, w.basicProgPlus);
    EXPECT_TRUE(mainHidden);
    EXPECT_TRUE(w.main->isVisible());

    auto* tools = w.enterData->findChild<QAction*>("mnuToolsBasic");
    ASSERT_NE(tools, nullptr);
    EXPECT_TRUE(tools->isEnabled());
    EXPECT_EQ(tools->text(), "&Schnellprogrammierung...");
    modal = nullptr;
    WhenModal([&](QWidget* m) {
        modal = m;
        w.basicProgPlus->btnExit->click();
    });
    tools->trigger();
    EXPECT_EQ(modal, w.basicProgPlus);
    EXPECT_FALSE(w.basicProgPlus->isVisible());
    EXPECT_TRUE(Recorded().shown.empty());
    w.main->hide();
}

TEST_F(BasicProgTest, F1OpensTheGuide) {
    Show();
    QTest::keyClick(window.get(), Qt::Key_F1);
    TfrmGuide* guide = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* g = qobject_cast<TfrmGuide*>(w); g && g->isVisible()) guide = g;
    ASSERT_NE(guide, nullptr);
    EXPECT_TRUE(Boxes().empty());
    guide->close();
}

} // namespace
} // namespace kivo::gui::test
