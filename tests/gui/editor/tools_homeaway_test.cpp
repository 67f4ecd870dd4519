// The day-button settings: what each choice writes into the image and which controls follow.
#include "editorfixture.h"

#include "gui/editor/selecthomeaway.h"

#include <QAction>
#include <QFile>
#include <QPushButton>
#include <QRadioButton>

namespace kivo::gui::test {
namespace {

class HomeAwayTest : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        Register();
    }
    void TearDown() override {
        ctx.windows.Clear();
        dialog.reset();
        EditorTest::TearDown();
    }
    void Register() {
        dialog = std::make_unique<TfrmSelectHomeAway>(ctx);
        ctx.windows.Register(Role::Editor, editor.get());
        ctx.windows.Register(Role::SelectHomeAway, dialog.get());
    }

    // The image of the worked example: check-in and check-out off, passive alarm on, the
    // burglar alarm on and sent at once, transmitter alarm on the extra button.
    void ShowExample() {
        Image& image = editor->Data().image;
        image[0x96] = 0x00;
        image[0xDF] = 0x00;
        image[0x93] = 0x80;
        image[0x9C] = 0xC6;
        image[0xB2] = 1;
        editor->ImageToControls();
    }

    // Opens the dialog from the Tools menu; `inside` runs while it is up.
    void Configure(std::function<void()> inside) {
        bool ran = false;
        WhenModal([&](QWidget* modal) {
            EXPECT_EQ(modal, dialog.get());
            if (modal != dialog.get()) return;
            ran = true;
            inside();
            if (dialog->isVisible()) dialog->reject();
        });
        Find<QAction>("mnuToolsConfigureHomeAway")->trigger();
        EXPECT_TRUE(ran);
    }
    void Choose(int item) {
        Configure([this, item] {
            EXPECT_EQ(dialog->GetSelection(), -1);
            EXPECT_FALSE(dialog->btnOk->isEnabled());
            dialog->rbItems[static_cast<std::size_t>(item)]->click();
            EXPECT_TRUE(dialog->btnOk->isEnabled());
            dialog->btnOk->click();
        });
    }

    std::unique_ptr<TfrmSelectHomeAway> dialog;
};

TEST_F(HomeAwayTest, EachChoiceWritesItsBytesAndTheControlsFollow) {
    struct Case {
        std::uint8_t checkIn, checkOut, passive, extraButton;
    };
    const Case cases[] = {
        {0x76, 0x76, 0xF6, 4},
        {0xF6, 0xF6, 0xF6, 4},
        {0xC2, 0xC2, 0xF6, 4},
        {0x76, 0x76, 0x76, 0},
    };
    for (int item = 0; item < 4; ++item) {
        const Case& c = cases[item];
        ShowExample();
        Choose(item);
        const Image& image = editor->Data().image;
        EXPECT_EQ(image[0x96], c.checkIn) << item;
        EXPECT_EQ(image[0xDF], c.checkOut) << item;
        EXPECT_EQ(image[0x93], c.passive) << item;
        EXPECT_EQ(image[0x9C], 0x46) << item; // only bit 7 cleared
        EXPECT_EQ(image[0xB2], c.extraButton) << item;
        EXPECT_EQ(Check("cbCarpetAlarm")->isChecked(), (c.checkIn & 0x80) != 0) << item;
        EXPECT_EQ(Check("cbInactivity")->isChecked(), (c.checkOut & 0x80) != 0) << item;
        EXPECT_EQ(Check("cbPassive")->isChecked(), (c.passive & 0x80) != 0) << item;
        EXPECT_FALSE(Check("cbAssaultAlarm")->isChecked()) << item;
        EXPECT_EQ(ListValue("cbbxAlarmTypeExtraButton"), c.extraButton) << item;

        // Storing the controls afterwards keeps what the choice wrote.
        editor->ControlsToImage();
        EXPECT_EQ(image[0x96], c.checkIn) << item;
        EXPECT_EQ(image[0xDF], c.checkOut) << item;
        EXPECT_EQ(image[0x93], c.passive) << item;
        EXPECT_EQ(image[0x9C], 0x46) << item;
        EXPECT_EQ(image[0xB2], c.extraButton) << item;
    }
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(HomeAwayTest, WithoutAChoiceNothingChanges) {
    for (const char* how : {"OK unchosen", "Abbruch", "close box"}) {
        ShowExample();
        const Image before = editor->Data().image;
        Configure([&] {
            if (how == std::string("OK unchosen")) {
                dialog->btnOkClick(); // what the disabled button would do: nothing
                EXPECT_TRUE(dialog->isVisible());
                dialog->btnCancel->click();
                return;
            }
            dialog->rbItems[1]->click();
            if (how == std::string("Abbruch"))
                dialog->btnCancel->click();
            else
                dialog->close();
        });
        EXPECT_EQ(editor->Data().image, before) << how;
        EXPECT_FALSE(Check("cbCarpetAlarm")->isChecked()) << how;
        EXPECT_EQ(ListValue("cbbxAlarmTypeExtraButton"), 1) << how;
    }
}

// An edition whose extra-button list has no item of the written value shows no selection.
TEST_F(HomeAwayTest, AValueWithoutItemLeavesTheListUnselected) {
    QFile file(QString::fromStdString(ProgramFolder() + "Values.ini"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QByteArray text = file.readAll();
    file.close();
    const QByteArray item = "\n4=Anwender An-/Abmeldung (Tagestaste)";
    ASSERT_TRUE(text.contains(item));
    text.replace(item, "");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text);
    file.close();
    MakeEditor();
    Register();
    ShowExample();
    Choose(1);
    EXPECT_EQ(editor->Data().image[0xB2], 4);
    EXPECT_EQ(List("cbbxAlarmTypeExtraButton")->currentIndex(), -1);
}

} // namespace
} // namespace kivo::gui::test
