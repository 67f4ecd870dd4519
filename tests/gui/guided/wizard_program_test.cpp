// The wizard's device and file work through the real window: learning transmitters, saving
// the configuration, programming a simulated unit, and its hidden entries.
#include "wizard_fixture.h"

#include "app/strtable.h"
#include "data/codec.h"
#include "gui/common/receiveradio.h"
#include "gui/editor/enterdata.h"
#include "gui/shell/mainwindow.h"
#include "gui/shell/programwindows.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>

#include <cstdlib>

namespace kivo::gui::test {
namespace {

std::vector<std::uint8_t> Bytes(const std::vector<std::uint8_t>& v, unsigned first,
                                unsigned count) {
    return {v.begin() + first, v.begin() + first + count};
}

TEST_F(WizardTest, LearningFillsAFieldAbortFreesItAndDuplicatesAreRefused) {
    Show();
    NextUntil(90);
    EXPECT_EQ(window->btnLearnRadioCode[0]->text(), QStringLiteral("Handsender 1"));
    EXPECT_EQ(window->btnLearnRadioCode[7]->text(), QStringLiteral("Funk-Tagestaste"));
    EXPECT_FALSE(window->edtRadioCode[0]->isEnabled());

    QString instruction;
    WhenModal([&](QWidget* modal) {
        if (auto* waiting = qobject_cast<TfrmReceiveRadio*>(modal))
            instruction = waiting->lblAction->text();
    });
    window->btnLearnRadioCode[1]->click();
    EXPECT_EQ(window->edtRadioCode[1]->text(), QStringLiteral("4C3A"));
    EXPECT_EQ(instruction, QStr(11286) + QStringLiteral(" Handsender 2"));
    EXPECT_FALSE(window->tmrPollKobu->isActive());

    // The same transmitter twice.
    window->btnLearnRadioCode[4]->click();
    EXPECT_EQ(window->edtRadioCode[4]->text(), QStringLiteral("4C3A"));
    Next();
    EXPECT_EQ(State(), 90);
    ASSERT_EQ(Boxes(), std::vector<int>{11287});
    EXPECT_EQ(Recorded().shown[0].kind, MsgKind::Error);

    // Abort empties the position.
    WhenModal([](QWidget* modal) {
        if (auto* waiting = qobject_cast<TfrmReceiveRadio*>(modal)) waiting->btbtnAbort->click();
    });
    UseKobu("sim:learn=none");
    window->btnLearnRadioCode[4]->click();
    EXPECT_EQ(window->edtRadioCode[4]->text(), QString());
    Next();
    ASSERT_EQ(State(), 100);
    EXPECT_EQ(RadioCodeToText(&Working()[2]), "4C3A");
    EXPECT_EQ(RadioCodeToText(&Working()[8]), "");

    // No Kobu: a box, no waiting window, the field as it was.
    Back();
    ClearBoxes();
    UseKobu("");
    window->btnLearnRadioCode[1]->click();
    EXPECT_EQ(Boxes(), std::vector<int>{15009});
    EXPECT_EQ(window->edtRadioCode[1]->text(), QStringLiteral("4C3A"));
}

TEST_F(WizardTest, SavingAsksBeforeReplacingAFile) {
    Show();
    NextUntil(80);
    EXPECT_TRUE(window->cbSaveConfigAs->isChecked());
    EXPECT_TRUE(window->edtSaveConfigAs->isEnabled());
    Next();
    EXPECT_EQ(Boxes(), std::vector<int>{11276});
    ClearBoxes();
    Type(window->edtSaveConfigAs, QString::fromUtf8("Frau Müller"));
    Next();
    ASSERT_EQ(State(), 90);
    EXPECT_EQ(Boxes(), std::vector<int>{11275});
    const std::string file = ctx.folders.configFolder + "/Frau Müller.Kivo";
    const auto saved = dir.Read(file);
    ASSERT_EQ(saved.size(), 512u);
    EXPECT_TRUE(std::equal(saved.begin(), saved.end(), Working().begin()));

    // Again, the user keeps the old file.
    Back();
    ClearBoxes();
    Working()[0x20] = 0x99;
    Recorded().answers.push_back(BtnCancel);
    Next();
    EXPECT_EQ(State(), 80);
    ASSERT_EQ(Boxes(), std::vector<int>{15013});
    EXPECT_EQ(Recorded().shown[0].buttons, BtnOk | BtnCancel);
    EXPECT_EQ(dir.Read(file)[0x20], saved[0x20]);
    // A name the file system refuses.
    ClearBoxes();
    Type(window->edtSaveConfigAs, QStringLiteral("a:b"));
    Next();
    EXPECT_EQ(Boxes(), std::vector<int>{15012});
    // Not ticked: on without saving.
    window->cbSaveConfigAs->setChecked(false);
    EXPECT_FALSE(window->edtSaveConfigAs->isEnabled());
    Next();
    EXPECT_EQ(State(), 90);
}

TEST_F(WizardTest, AnEmptyIdNumberIsRefusedAndASmallUnitGetsOnlyItsUserArea) {
    Image start{};
    for (unsigned a = 0; a < 256; ++a) start[a] = static_cast<std::uint8_t>(0xF0 ^ a);
    Unit(start, 256);
    Show();
    NextUntil(100);
    EXPECT_FALSE(window->btnNext->isEnabled());
    EXPECT_EQ(window->btnCancel->text(), QStr(11353));
    EXPECT_EQ(window->lblProgramKivoNowStatus->text(), QStr(11296));
    window->btnProgramKivo->click();
    EXPECT_EQ(Boxes(), std::vector<int>{11297});
    ClearBoxes();

    Type(window->edtAlarmCode, QStringLiteral("12a4"));
    Working()[0x68] = 0x77; // alarm code R stays as the image has it
    window->btnProgramKivo->click();
    EXPECT_EQ(Boxes(), std::vector<int>{15004});
    EXPECT_EQ(window->lblProgramKivoNowStatus->text(), QStr(15003));
    const auto unit = UnitMemory();
    ASSERT_EQ(unit.size(), 256u);
    EXPECT_EQ(Bytes(unit, 0, 247),
              std::vector<std::uint8_t>(Working().begin(), Working().begin() + 247));
    // Written and compared up to 0xF6 only: a write beyond the unit's 256 bytes would fail.
    for (unsigned a : {0x40u, 0x48u, 0x50u, 0x58u, 0x60u})
        EXPECT_EQ(AlarmCodeToText(&unit[a]), "12A4") << a;
    EXPECT_EQ(unit[0x68], 0x77);
}

TEST_F(WizardTest, ProgrammingFailuresAreToldInTheLabelAndABox) {
    Show();
    NextUntil(100);
    Type(window->edtAlarmCode, QStringLiteral("4711"));
    UseKobu("");
    window->btnProgramKivo->click();
    EXPECT_EQ(Boxes(), std::vector<int>{15009});
    EXPECT_EQ(window->lblProgramKivoNowStatus->text(), QStr(11296)); // a box only
    ClearBoxes();
    UseKobu("sim:unit=0");
    window->btnProgramKivo->click();
    EXPECT_EQ(Boxes(), std::vector<int>{15008});
    EXPECT_EQ(window->lblProgramKivoNowStatus->text(), QStr(15008));
}

TEST_F(WizardTest, FromTheWelcomePageToAProgrammedUnit) {
    Image start = defaults;
    start[0x100] = 0x07;
    start[0x101] = 0x30;
    start[0x102] = 10;
    Unit(start, 512);
    Show();
    Next();
    for (const char* count : {"2", "1", "1", "1", "1", "1"}) { // one trigger less
        Type(window->edtHowManyRadioAlarms, QString::fromLatin1(count));
        Next();
    }
    ASSERT_EQ(State(), 20);
    window->cbbxTestAlarmUnit->setCurrentIndex(0);
    Type(window->edtTestAlarmValue, QStringLiteral("48"));
    Next();
    ASSERT_EQ(State(), 21);
    NextUntil(24);
    window->cbInternalAlarms->setChecked(true);
    Type(window->edtInternalAlarms, QStringLiteral("30"));
    NextUntil(33);
    Type(window->edtPrecallDuration, QStringLiteral("10"));
    Next();
    ASSERT_EQ(State(), 40);
    Next();
    ASSERT_EQ(State(), 60);
    Type(window->edtPhone[0], QStringLiteral("0301234"));
    Type(window->edtPhone[1], QStringLiteral("0305678"));
    Next();
    ASSERT_EQ(State(), 70);
    Next();
    ASSERT_EQ(State(), 80);
    Type(window->edtSaveConfigAs, QStringLiteral("Wohnung 12"));
    Next();
    ASSERT_EQ(State(), 90);
    EXPECT_EQ(window->btnLearnRadioCode[1]->text(), QStringLiteral("Handsender 2"));
    EXPECT_EQ(window->btnLearnRadioCode[7]->text(), QStr(11285));
    EXPECT_FALSE(window->btnLearnRadioCode[7]->isEnabled());
    window->btnLearnRadioCode[0]->click();
    Next();
    ASSERT_EQ(State(), 100);
    EXPECT_EQ(window->lblProgress->text(), QStr(11003) + QStringLiteral(" 26"));
    Type(window->edtAlarmCode, QStringLiteral("123456"));
    window->btnProgramKivo->click();
    EXPECT_EQ(Boxes(), (std::vector<int>{11275, 15004}));

    const auto unit = UnitMemory();
    ASSERT_EQ(unit.size(), 512u);
    EXPECT_EQ(RadioCodeToText(&unit[0]), "4C3A");
    EXPECT_EQ(Bytes(unit, 0xA8, 8), Bytes({defaults.begin(), defaults.end()}, 0xA8, 8));
    EXPECT_EQ(unit[0xC2], 48);
    EXPECT_EQ(unit[0xBF], 30);
    EXPECT_EQ(unit[0xCA], 10);
    EXPECT_EQ(PhoneToText(&unit[0x10]), "0301234");
    EXPECT_EQ(PhoneToText(&unit[0x18]), "0305678");
    EXPECT_EQ(AlarmCodeToText(&unit[0x40]), "123456");
    EXPECT_EQ(AlarmCodeToText(&unit[0x60]), "123456");
    EXPECT_EQ(Bytes(unit, 0x103, 253), Bytes({Working().begin(), Working().end()}, 0x103, 253));
    EXPECT_EQ(Bytes(unit, 0x100, 3), (std::vector<std::uint8_t>{0x07, 0x30, 10})); // not written
    // The saved file has no transmitter and no ID number: it was saved before both.
    const auto saved = dir.Read(ctx.folders.configFolder + "/Wohnung 12.Kivo");
    ASSERT_EQ(saved.size(), 512u);
    EXPECT_EQ(RadioCodeToText(&saved[0]), "");
    EXPECT_EQ(Bytes(saved, 0x40, 8), std::vector<std::uint8_t>(8, 0xAA));
    EXPECT_EQ(saved[0xC2], 48);

    // Finished: the last button closes the wizard.
    window->btnCancel->click();
    EXPECT_FALSE(window->isVisible());
}

TEST_F(WizardTest, TheEntriesAppearOnlyForServiceStaff) {
    window.reset();
    for (bool offered : {false, true}) {
        if (offered)
            ::setenv("KIVO_WIZARD", "1", 1);
        else
            ::unsetenv("KIVO_WIZARD");
        AppContext app;
        ProgramWindows windows(app, std::string(KIVO_BIN_DIR) + "/kivotool", {});
        ASSERT_NE(windows.Get().wizard, nullptr);
        EXPECT_EQ(!windows.Get().main->btnProgrammingGuide->isHidden(), offered);
        EXPECT_EQ(!windows.Get().main->lblAStepByStep->isHidden(), offered);
        auto* item = windows.Get().enterData->findChild<QAction*>(QStringLiteral("mnuToolsGuide"));
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(item->isVisible(), offered);
        EXPECT_EQ(windows.Get().main->ImageList.size(), 21);
        if (!offered) continue;
        // The start window's button opens the wizard and hides the start window meanwhile.
        windows.Get().main->show();
        bool mainHidden = false;
        QWidget* opened = nullptr;
        WhenModal([&](QWidget* modal) {
            opened = modal;
            mainHidden = !windows.Get().main->isVisible();
            if (modal) modal->close();
        });
        windows.Get().main->btnProgrammingGuide->click();
        EXPECT_EQ(opened, windows.Get().wizard);
        EXPECT_TRUE(mainHidden);
        EXPECT_TRUE(windows.Get().main->isVisible());
        windows.Get().main->hide();
    }
    ::unsetenv("KIVO_WIZARD");
}

} // namespace
} // namespace kivo::gui::test
