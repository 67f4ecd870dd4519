// The wizard's pages through the real window: navigation, the checks and what the answers put
// into the working image.
#include "wizard_fixture.h"

#include "app/strtable.h"
#include "data/codec.h"
#include "gui/guided/wizardpictures.h"

#include <QComboBox>
#include <QGroupBox>
#include <QPlainTextEdit>
#include <QSvgRenderer>
#include <QTabBar>
#include <QTabWidget>

#include <cstdio>

namespace kivo::gui::test {
namespace {

std::vector<std::uint8_t> Bytes(const Image& image, unsigned first, unsigned count) {
    return {image.begin() + first, image.begin() + first + count};
}

TEST_F(WizardTest, OpensOnTheWelcomePageWithItsFrame) {
    Show();
    EXPECT_EQ(State(), 0);
    EXPECT_FALSE(window->btnBack->isEnabled());
    EXPECT_TRUE(window->btnNext->isEnabled());
    EXPECT_EQ(window->lblProgress->text(), QString());
    EXPECT_EQ(window->windowTitle(), QStr(11001));
    EXPECT_EQ(window->btnNext->text(), QStr(11352));
    EXPECT_EQ(window->btnBack->text(), QStr(11351));
    EXPECT_EQ(window->btnCancel->text(), QStringLiteral("&Abbruch"));
    EXPECT_EQ(window->lblTopInfo->text(), QStr(11002));
    EXPECT_TRUE(window->mmStart->toPlainText().startsWith(QStringLiteral("Dieser Assistent")));
    EXPECT_FALSE(window->pgcWizard->tabBar()->isVisible());
    EXPECT_EQ(window->pgcWizard->currentIndex(), 0);
    EXPECT_GE(window->width(), 689);
    EXPECT_GE(window->height(), 459);
    EXPECT_EQ(window->imgLeft->Resource(), WizardPictures()[0]);
    EXPECT_TRUE(window->imgLeft->IsValid());
    EXPECT_EQ(Working(), defaults);

    Next();
    EXPECT_EQ(State(), 11);
    EXPECT_TRUE(window->btnBack->isEnabled());
    EXPECT_EQ(window->lblProgress->text(), QStr(11003) + " 1");
    EXPECT_EQ(window->imgLeft->Resource(), WizardPictures()[1]);
    EXPECT_EQ(window->lblHowManyRadioAlarms->text(),
              QString::fromUtf8("Vorgabe: 3. Wie viele Funksender vom Typ „Handsender“ werden "
                                "eingesetzt?"));
    EXPECT_EQ(window->edtHowManyRadioAlarms->text(), QStringLiteral("3"));
    // The count field takes digits only.
    Type(window->edtHowManyRadioAlarms, QStringLiteral("x2"));
    EXPECT_EQ(window->edtHowManyRadioAlarms->text(), QStringLiteral("2"));
}

TEST_F(WizardTest, EveryPagePictureIsADrawingOfThePageSize) {
    const QStringList pictures = WizardPictures();
    ASSERT_EQ(pictures.size(), 21);
    for (const QString& p : pictures) {
        QSvgRenderer r(p);
        EXPECT_TRUE(r.isValid()) << p.toStdString();
        EXPECT_EQ(r.defaultSize(), QSize(112, 160)) << p.toStdString();
    }
    EXPECT_TRUE(QSvgRenderer(QString::fromLatin1(kWizardLogo)).isValid());
}

TEST_F(WizardTest, CountsAboveEightAreRefusedAndRaisedCountsSetTheAlarmTypes) {
    struct Case {
        std::vector<QString> counts;
        bool refused;
        std::vector<std::uint8_t> types;
    } cases[] = {
        {{"3", "2", "1", "1", "1", "1"}, true, {}},
        {{"3", "1", "1", "1", "1", "1"}, false, Bytes(defaults, 0xA8, 8)},
        {{"4", "1", "1", "1", "1", "0"}, false, {1, 1, 1, 1, 12, 5, 6, 7}},
    };
    Show();
    for (const Case& c : cases) {
        ClearBoxes();
        window->btnCancelClick();
        Show();
        Next();
        for (const QString& count : c.counts) {
            Type(window->edtHowManyRadioAlarms, count);
            Next();
        }
        if (c.refused) {
            EXPECT_EQ(State(), 16);
            EXPECT_EQ(Boxes(), std::vector<int>{11343});
            EXPECT_EQ(Recorded().shown[0].kind, MsgKind::Information);
            continue;
        }
        EXPECT_EQ(State(), 20);
        EXPECT_EQ(window->lblProgress->text(), QStr(11003) + " 7");
        EXPECT_TRUE(Boxes().empty());
        EXPECT_EQ(Bytes(Working(), 0xA8, 8), c.types);
    }
}

TEST_F(WizardTest, BackToTheWelcomePageStartsAllOver) {
    Show();
    Next();
    Type(window->edtHowManyRadioAlarms, QString());
    Next(); // an empty count is 0
    EXPECT_EQ(window->Answers().counts[0], 0);
    Working()[0x40] = 0x12;
    Back();
    EXPECT_EQ(window->edtHowManyRadioAlarms->text(), QStringLiteral("0"));
    Back();
    EXPECT_EQ(State(), 0);
    EXPECT_EQ(window->lblProgress->text(), QString());
    EXPECT_EQ(window->Answers().counts, wizard::kDefaultCounts);
    EXPECT_EQ(window->Answers().step, 0);
    EXPECT_EQ(Working(), defaults);
}

TEST_F(WizardTest, WithoutTheDefaultConfigurationItSaysSoAndGoesOn) {
    ASSERT_EQ(std::remove((ctx.folders.programFolder + "Default.bin").c_str()), 0);
    Working().fill(0x11);
    Show();
    ASSERT_EQ(Boxes(), std::vector<int>{15011});
    EXPECT_EQ(Recorded().shown[0].kind, MsgKind::Error);
    EXPECT_EQ(Working()[0x80], 0x11);
    Next();
    EXPECT_EQ(State(), 11);
}

TEST_F(WizardTest, TestAlarmInDaysAndTheTimeCheckOnBack) {
    Show();
    NextUntil(20);
    EXPECT_TRUE(window->cbTestAlarm->isChecked()); // the default configuration's
    EXPECT_EQ(window->edtTestAlarmValue->text(), QStringLiteral("24"));
    window->cbTestAlarm->setChecked(false);
    EXPECT_FALSE(window->edtTestAlarmValue->isEnabled());
    window->cbTestAlarm->setChecked(true);
    EXPECT_TRUE(window->cbbxTestAlarmUnit->isEnabled());
    window->cbbxTestAlarmUnit->setCurrentIndex(1);
    Type(window->edtTestAlarmValue, QStringLiteral("156"));
    Next();
    EXPECT_EQ(Boxes(), std::vector<int>{11342});
    EXPECT_EQ(State(), 20);
    Type(window->edtTestAlarmValue, QStringLiteral("7"));
    Next();
    ASSERT_EQ(State(), 21);
    EXPECT_EQ(Working()[0xC2], 107);
    EXPECT_TRUE(Working()[0xA1] & 0x80);

    // The mains failure page: its time field is checked on Back as well.
    EXPECT_FALSE(window->edtInternalAlarms->isHidden());
    EXPECT_EQ(window->lblInternalAlarmsUnit->text(), QStringLiteral("Std"));
    ClearBoxes();
    window->cbInternalAlarms->setChecked(false);
    EXPECT_FALSE(window->edtInternalAlarms->isEnabled());
    window->cbInternalAlarms->setChecked(true);
    Type(window->edtInternalAlarms, QString());
    Back();
    EXPECT_EQ(Boxes(), std::vector<int>{11045});
    EXPECT_EQ(State(), 21);
    Type(window->edtInternalAlarms, QStringLiteral("3"));
    Back();
    EXPECT_EQ(State(), 20);
    EXPECT_EQ(window->cbbxTestAlarmUnit->currentIndex(), 1); // shown again as stored
    EXPECT_EQ(window->edtTestAlarmValue->text(), QStringLiteral("7"));
    EXPECT_EQ(Working()[0xC1], 3);
}

TEST_F(WizardTest, TheExtraButtonPageShowsItsListInsteadOfTheTickBox) {
    Show();
    NextUntil(29);
    EXPECT_TRUE(window->cbInternalAlarms->isHidden());
    EXPECT_TRUE(window->edtInternalAlarms->isHidden());
    EXPECT_FALSE(window->lblExtraButton->isHidden());
    EXPECT_TRUE(window->cbbxAlarmTypeExtraButton->isEnabled());
    const int door = window->cbbxAlarmTypeExtraButton->findText(QStringLiteral("Türalarm"));
    ASSERT_GE(door, 0);
    window->cbbxAlarmTypeExtraButton->setCurrentIndex(door);
    Next();
    EXPECT_EQ(Working()[0xB2], 5);
    EXPECT_FALSE(window->cbInternalAlarms->isHidden());
    EXPECT_TRUE(window->lblExtraButton->isHidden());
}

TEST_F(WizardTest, OneListWithEveryGroupSkipsTheOtherLists) {
    Show();
    NextUntil(40);
    EXPECT_TRUE(window->rgOnlyOneReceiverListItems[0]->isChecked());
    window->rgOnlyOneReceiverListItems[1]->setChecked(true);
    Next();
    ASSERT_EQ(State(), 50);
    for (QCheckBox* box : window->cbAlarmTypeGroup) {
        EXPECT_TRUE(box->isChecked());
        EXPECT_TRUE(box->isEnabled());
    }
    EXPECT_EQ(window->cbAlarmTypeGroup[0]->text(), QStr(11195));
    EXPECT_EQ(window->lblAlarmTypeGroup[9]->text(), QStr(11214));
    Next();
    ASSERT_EQ(State(), 55);
    EXPECT_EQ(window->Answers().lastList, 1);
    EXPECT_TRUE(window->mmReceiverList->toPlainText().contains(
        QStringLiteral("Anwenderalarme, Externe Alarme, Technische Alarme")));
    EXPECT_EQ(window->lblPhoneNumber->text(), QStr(11244)); // there without page 60
    Back();
    EXPECT_EQ(State(), 50);
    Back();
    EXPECT_EQ(State(), 40);
    EXPECT_TRUE(window->rgOnlyOneReceiverListItems[1]->isChecked());
}

TEST_F(WizardTest, AGroupOnTwoListsIsNamedAndRefused) {
    Show();
    NextUntil(40);
    window->rgOnlyOneReceiverListItems[1]->setChecked(true);
    Next();
    for (int g = 5; g < 10; ++g) window->cbAlarmTypeGroup[g]->setChecked(false);
    Next();
    ASSERT_EQ(State(), 51);
    EXPECT_FALSE(window->cbAlarmTypeGroup[5]->isChecked());
    Next(); // list 2 without a group while groups are left
    EXPECT_EQ(Boxes(), std::vector<int>{11233});
    ClearBoxes();
    for (int g : {2, 5, 6, 7, 8, 9}) window->cbAlarmTypeGroup[g]->setChecked(true);
    Next();
    EXPECT_EQ(State(), 51);
    ASSERT_EQ(Boxes(), std::vector<int>{11232});
    EXPECT_TRUE(Recorded().shown[0].text.contains(QString::fromUtf8("„Technische Alarme“")));
    ClearBoxes();
    window->cbAlarmTypeGroup[2]->setChecked(false);
    window->cbAlarmTypeGroup[9]->setChecked(false);
    Next(); // complete? no: group 10 is still free, so list 3 follows
    EXPECT_EQ(State(), 52);
    Next();
    EXPECT_EQ(Boxes(), std::vector<int>{11233});
    ClearBoxes();
    window->cbAlarmTypeGroup[9]->setChecked(true);
    Next();
    EXPECT_EQ(State(), 55); // every group taken after list 3
    EXPECT_EQ(window->Answers().lastList, 3);
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(WizardTest, SharedDestinationsAndTheFifthDestination) {
    Show();
    NextUntil(40);
    window->rgOnlyOneReceiverListItems[1]->setChecked(true);
    Next();
    for (int g = 5; g < 10; ++g) window->cbAlarmTypeGroup[g]->setChecked(false);
    Next();
    for (int g = 5; g < 10; ++g) window->cbAlarmTypeGroup[g]->setChecked(true);
    Next();
    ASSERT_EQ(State(), 55);
    EXPECT_EQ(window->Answers().lastList, 2);
    Next();
    EXPECT_EQ(Boxes(), std::vector<int>{11302});
    ClearBoxes();
    Type(window->edtPhone[0], QStringLiteral("0123"));
    Type(window->edtPhone[1], QStringLiteral("0456"));
    Next();
    ASSERT_EQ(State(), 56);
    EXPECT_TRUE(window->edtPhone[0]->isEnabled());
    EXPECT_EQ(window->gbxReceiverList->title(), QStr(11226));
    // Five different destinations do not fit.
    Type(window->edtPhone[0], QStringLiteral("1"));
    Type(window->edtPhone[1], QStringLiteral("2"));
    Type(window->edtPhone[2], QStringLiteral("3"));
    const Image before = Working();
    Next();
    EXPECT_EQ(State(), 56);
    ASSERT_EQ(Boxes(), std::vector<int>{11304});
    EXPECT_EQ(Recorded().shown[0].kind, MsgKind::Error);
    EXPECT_EQ(Working(), before);
    ClearBoxes();
    Type(window->edtPhone[0], QStringLiteral("0456"));
    window->edtPhone[1]->clear();
    window->edtPhone[2]->clear();
    Next();
    ASSERT_EQ(State(), 70);
    EXPECT_EQ(Bytes(Working(), 0x70, 8), (std::vector<std::uint8_t>{1, 2, 0, 0, 2, 0, 0, 0}));
    EXPECT_EQ(Bytes(Working(), 0x80, 10),
              (std::vector<std::uint8_t>{1, 1, 1, 1, 1, 2, 2, 2, 2, 2}));
    EXPECT_EQ(PhoneToText(&Working()[0x10]), "0123");
    EXPECT_EQ(PhoneToText(&Working()[0x18]), "0456");
    EXPECT_EQ(Bytes(Working(), 0x20, 16), std::vector<std::uint8_t>(16, 0xAA));
    // Back from night mode returns to the last list.
    Back();
    EXPECT_EQ(State(), 56);
    EXPECT_EQ(window->edtPhone[0]->text(), QStringLiteral("0456"));
}

TEST_F(WizardTest, NightModeUntickedWritesNoNumber) {
    Show();
    NextUntil(70);
    EXPECT_FALSE(window->cbActivateNightMode->isChecked());
    EXPECT_FALSE(window->edtNightModePhone->isEnabled());
    window->cbActivateNightMode->setChecked(true);
    EXPECT_TRUE(window->edtNightModePhone->isEnabled());
    Next();
    EXPECT_EQ(Boxes(), std::vector<int>{11303});
    Type(window->edtNightModePhone, QStringLiteral("0w5t#"));
    EXPECT_EQ(window->edtNightModePhone->text(), QStringLiteral("0W5T#")); // upper case
    Next();
    ASSERT_EQ(State(), 80);
    EXPECT_EQ(PhoneToText(&Working()[0x30]), "0W5T#");
    Back();
    EXPECT_TRUE(window->cbActivateNightMode->isChecked());
    window->cbActivateNightMode->setChecked(false);
    Next();
    EXPECT_EQ(State(), 80);
    EXPECT_EQ(Bytes(Working(), 0x30, 8), std::vector<std::uint8_t>(8, 0xAA));
    Back();
    EXPECT_EQ(window->edtNightModePhone->text(), QString());
}

TEST_F(WizardTest, OneListWritesTheRowsAndKeepsTheSequences) {
    Show();
    NextUntil(60);
    EXPECT_EQ(window->lblAttempt[0]->text(), QStr(11247));
    Type(window->edtPhone[0], QStringLiteral("0301234"));
    Type(window->edtCallAttempts[0], QStringLiteral("9"));
    window->cbbxProtocol[0]->setCurrentIndex(window->cbbxProtocol[0]->findText("CPC"));
    Next();
    ASSERT_EQ(State(), 70);
    EXPECT_EQ(PhoneToText(&Working()[0x10]), "0301234");
    EXPECT_EQ(Working()[0x8A], 2);
    EXPECT_EQ(Working()[0xB4], 9);
    EXPECT_EQ(Bytes(Working(), 0x70, 26), Bytes(defaults, 0x70, 26));
    Back();
    EXPECT_EQ(State(), 60);
    EXPECT_EQ(window->cbbxProtocol[0]->currentText(), QStringLiteral("CPC"));
}

} // namespace
} // namespace kivo::gui::test
