// The alarm type flags dialog opened from the editor: all bits of the 27 bytes, the main
// page's "on" boxes brought along by OK, nothing changed by Abbruch or the close box.
#include "editorfixture.h"

#include "gui/editor/alarmtypes.h"

#include <QAbstractButton>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <map>

namespace kivo::gui::test {
namespace {

class AlarmTypesTest : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        dialog = std::make_unique<TfrmAlarmTypes>(ctx);
        ctx.windows.Register(Role::Editor, editor.get());
        ctx.windows.Register(Role::AlarmTypes, dialog.get());
        editor->SetAccessLevel(3);
    }
    void TearDown() override {
        ctx.windows.Clear();
        dialog.reset();
        EditorTest::TearDown();
    }

    // Presses the editor's button; `inside` runs while the dialog is up.
    void Configure(std::function<void()> inside) {
        bool ran = false;
        WhenModal([&](QWidget* modal) {
            EXPECT_EQ(modal, dialog.get());
            if (modal != dialog.get()) return;
            ran = true;
            inside();
            if (dialog->isVisible()) dialog->reject(); // the action forgot to close it
        });
        Find<QAbstractButton>("btnAlarmTypesConfigure")->click();
        EXPECT_TRUE(ran);
    }
    // The bits of `addr` as the dialog's boxes show them.
    unsigned Shown(unsigned addr) const {
        unsigned byte = 0;
        for (unsigned mask = 1; mask <= 0x80; mask <<= 1)
            if (dialog->Box(addr, mask)->isChecked()) byte |= mask;
        return byte;
    }
    // Every tick box of the editor, by name.
    std::map<QString, bool> MainPage() const {
        std::map<QString, bool> boxes;
        for (QCheckBox* box : editor->findChildren<QCheckBox*>())
            boxes[box->objectName()] = box->isChecked();
        return boxes;
    }

    std::unique_ptr<TfrmAlarmTypes> dialog;
};

TEST_F(AlarmTypesTest, EveryBitOfTheTwentySevenBytesHasItsBox) {
    const unsigned bytes[] = {0x90, 0x91, 0x92, 0x93, 0x94, 0x95, 0x96, 0x97, 0x98,
                              0x99, 0x9A, 0x9B, 0x9C, 0x9D, 0x9E, 0x9F, 0xA0, 0xA1,
                              0xA2, 0xA3, 0xA4, 0xA5, 0xA6, 0xA7, 0xDD, 0xDE, 0xDF};
    for (unsigned addr : bytes) {
        for (unsigned mask = 1; mask <= 0x80; mask <<= 1)
            EXPECT_NE(dialog->Box(addr, mask), nullptr);
        const QString hex = QStringLiteral("%1").arg(addr, 2, 16, QLatin1Char('0')).toUpper();
        EXPECT_NE(dialog->findChild<QLabel*>("lblAlarmType_" + hex), nullptr) << addr;
    }
    EXPECT_EQ(dialog->findChildren<QCheckBox*>().size(), 27 * 8);
    EXPECT_NE(dialog->findChild<QCheckBox*>("cb90_80"), nullptr);
    EXPECT_NE(dialog->findChild<QCheckBox*>("cbDF_01"), nullptr);
    // "&&" in the string table is one ampersand on the screen.
    EXPECT_EQ(dialog->findChild<QLabel*>("lblAlarmType_A5")->text(),
              QString::fromUtf8("Anwender/Handsender & Batterie"));
    for (const char* side : {"L", "R"}) {
        EXPECT_EQ(dialog->findChild<QLabel*>(QStringLiteral("lblOn") + side)->text(), "Ein");
        EXPECT_EQ(dialog->findChild<QLabel*>(QStringLiteral("lblMeetMe") + side)->text(), "....");
    }
    EXPECT_TRUE(dialog->mmExplanationLeft->isReadOnly());
    EXPECT_TRUE(dialog->mmExplanationLeft->toPlainText().startsWith("Ein: Alarmtyp aktiviert.\n"));
    EXPECT_TRUE(dialog->mmExplanationRight->toPlainText().endsWith("sonst niedrig."));
    EXPECT_EQ(dialog->btnOK->text(), "&OK");
    EXPECT_EQ(dialog->btnCancel->text(), "&Abbruch");
    EXPECT_EQ(dialog->windowTitle(), "Alarmtypen konfigurieren");
}

// The dialog opens on the main page's state; unticking "Ein" unticks the main page's box and
// keeps the other bits of the byte.
TEST_F(AlarmTypesTest, OnBitFollowsTheMainPageBothWays) {
    editor->Data().image[0xA1] = 0x46;
    editor->ImageToControls();
    Check("cbTestAlarm")->setChecked(true);
    Configure([&] {
        EXPECT_EQ(Shown(0xA1), 0xC6u);
        EXPECT_EQ(dialog->focusWidget(), dialog->btnOK);
        dialog->Box(0xA1, 0x80)->setChecked(false);
        dialog->btnOK->click();
    });
    EXPECT_FALSE(Check("cbTestAlarm")->isChecked());
    EXPECT_EQ(editor->Data().image[0xA1], 0x46);
    editor->ControlsToImage();
    EXPECT_EQ(editor->Data().image[0xA1], 0x46);
}

// A byte edited only here: the reserved bit is stored, and no main-page box moves.
TEST_F(AlarmTypesTest, BytesWithoutAMainPageBoxChangeNothingThere) {
    editor->ControlsToImage();
    Image before = editor->Data().image;
    before[0x90] &= 0xFE;
    editor->Data().image = before;
    const auto mainPage = MainPage();
    Configure([&] {
        dialog->Box(0x90, 0x01)->setChecked(true);
        dialog->btnOK->click();
    });
    Image expected = before;
    expected[0x90] = static_cast<std::uint8_t>(before[0x90] + 0x01);
    EXPECT_EQ(editor->Data().image, expected);
    EXPECT_EQ(MainPage(), mainPage);
}

TEST_F(AlarmTypesTest, AbbruchAndTheCloseBoxChangeNothing) {
    for (const char* how : {"Abbruch", "close box", "Escape"}) {
        editor->ControlsToImage();
        const Image before = editor->Data().image;
        const auto mainPage = MainPage();
        Configure([&] {
            dialog->Box(0xA1, 0x80)->toggle();
            dialog->Box(0x9D, 0x08)->toggle();
            dialog->Box(0xDF, 0x01)->toggle();
            if (how == std::string("Abbruch"))
                dialog->btnCancel->click();
            else if (how == std::string("close box"))
                dialog->close();
            else
                QTest::keyClick(dialog.get(), Qt::Key_Escape);
        });
        EXPECT_EQ(editor->Data().image, before) << how;
        EXPECT_EQ(MainPage(), mainPage) << how;
    }
}

} // namespace
} // namespace kivo::gui::test
