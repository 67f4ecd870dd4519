// The image shown in the real widgets and stored back from them.
#include "editorfixture.h"

#include "data/codec.h"
#include "gui/common/updown.h"

#include <QFile>
#include <QLocale>
#include <QTableWidget>

#include <algorithm>
#include <variant>

namespace kivo::gui::test {
namespace {

using Bytes = std::vector<std::pair<unsigned, std::uint8_t>>;

class BindingTest : public EditorTest {
protected:
    // Shows the default image with `bytes` changed; returns ImageToControls' result.
    int Show(const Bytes& bytes) {
        Image& image = editor->Data().image;
        KivoData defaults;
        defaults.LoadImageFile(ProgramFolder() + "Default.bin");
        image = defaults.image;
        for (const auto& [addr, value] : bytes) image[addr] = value;
        return editor->ImageToControls();
    }
    Image Store() {
        editor->ControlsToImage();
        return editor->Data().image;
    }
    // The grid row naming `addr`, -1 when there is none.
    int GridRow(int addr) const {
        auto* grid = Find<QTableWidget>("sgAdvanced");
        for (int r = 0; r < grid->rowCount(); ++r)
            if (grid->item(r, 0)->text().toInt() == addr) return r;
        return -1;
    }
};

struct Checked {
    bool on;
};
struct Value {
    int value;
};
// What a control shows: its text, its tick, or the value of its selected item.
using Shown = std::variant<const char*, Checked, Value>;

struct ShowCase {
    Bytes bytes;
    const char* control;
    Shown shown;
};

TEST_F(BindingTest, ImageShownInTheControls) {
    std::uint8_t phone[8], code[8];
    TextToPhone("0W1234*#", phone);
    TextToAlarmCode("12a4", code);
    const ShowCase cases[] = {
        {{{0xBB, 7}}, "edtMaxReminder", "7"},
        {{{0xC0, 255}}, "edtPassiveAlarmInterval", "255"},
        {{{0xBF, 255}}, "edtTimeToReminder", "255"},
        {{{0xD4, 12}}, "edtMaxConversationTime", "120"},
        {{{0xD4, 0}}, "edtMaxConversationTime", "0"},
        {{{0xD0, 15}}, "edtWaitTimeNoDialToneDetector", "1,5"},
        {{{0xD0, 30}}, "edtWaitTimeNoDialToneDetector", "3"},
        {{{0x00, 0x4C}, {0x01, 0x3A}}, "edtRadioPos1", "4C3A"},
        {{{0x0E, 0}, {0x0F, 0}}, "edtRadioPos8", ""},
        {{{0x10, phone[0]},
          {0x11, phone[1]},
          {0x12, phone[2]},
          {0x13, phone[3]},
          {0x14, phone[4]},
          {0x15, phone[5]},
          {0x16, phone[6]},
          {0x17, phone[7]}},
         "edtTelephoneNoA",
         "0W1234*#"},
        {{{0x68, code[0]},
          {0x69, code[1]},
          {0x6A, code[2]},
          {0x6B, code[3]},
          {0x6C, code[4]},
          {0x6D, code[5]},
          {0x6E, code[6]},
          {0x6F, code[7]}},
         "edtAlarmCodeR",
         "12A4"},
        {{{0xFA, 0x13}, {0xFB, 0x12}, {0xFC, 0x24}}, "edtProductionDate", "24.12.2013"},
        {{{0xFA, 0x13}, {0xFB, 0x02}, {0xFC, 0x30}}, "edtProductionDate", "---"},
        {{{0xFD, 0x03}, {0xFE, 0x35}, {0xFF, 0xF1}}, "edtSerialNumber", "210417"},
        {{{0x100, 0x02}, {0x101, 0x1A}, {0x102, 3}}, "edtFirmwareVersion", "02.1A-3"},
        {{{0xF8, 7}}, "edtProductModel", "7"},
        {{{0xF7, 9}}, "edtRadioCalibration", "9"},
        {{{0xA1, 0x7F}}, "cbTestAlarm", Checked{false}},
        {{{0xA1, 0x80}}, "cbTestAlarm", Checked{true}},
        {{{0xDF, 0x80}}, "cbInactivity", Checked{true}},
        {{{0xB0, 0x81}}, "cbTestRadioPos1", Checked{true}},
        {{{0xB0, 0x81}}, "cbTestRadioPos2", Checked{false}},
        {{{0xB0, 0x81}}, "cbTestRadioPos8", Checked{true}},
        {{{0xCD, 0x01}}, "cbbxAlarmButtonIllumination", Value{1}},
        {{{0xCD, 0x00}}, "cbbxAlarmButtonIllumination", Value{0}},
        {{{0xBE, 0x01}}, "cbbxCallerIDTestAlarm", Value{1}},
        {{{0xC6, 3}}, "cbbxWarningFunctions", Value{3}},
        {{{0xA8, 30}}, "cbbxAlarmTypePos1", Value{30}},
        {{{0x7F, 6}}, "cbbxSequence4_4", Value{6}},
        {{{0x104, 15}}, "cbbxLineVolume1", Value{15}},
        {{{0x108, 2}}, "cbbxLineVolumeDialingPhase", Value{2}},
        {{{0x116, 14}}, "cbbxDigitAfterUnsuccesfulDialTone", Value{14}},
        {{{0x117, 6}}, "cbbxCallTypeForServiceCall", Value{6}},
        // A protocol without an item shows no selection.
        {{{0x8A, 7}}, "cbbxProtocolA", Value{-1}},
    };
    for (const ShowCase& c : cases) {
        Show(c.bytes);
        if (auto* text = std::get_if<const char*>(&c.shown))
            EXPECT_EQ(Edit(c.control)->text(), *text) << c.control;
        else if (auto* tick = std::get_if<Checked>(&c.shown))
            EXPECT_EQ(Check(c.control)->isChecked(), tick->on) << c.control;
        else
            EXPECT_EQ(ListValue(c.control), std::get<Value>(c.shown).value) << c.control;
    }
}

TEST_F(BindingTest, SpinnersAndGridFollowTheImage) {
    Show({{0xBA, 9}, {0xB9, 200}, {224, 0x0A}});
    EXPECT_EQ(Find<UpDown>("udRepeatSequence")->Position(), 9);
    EXPECT_EQ(Find<UpDown>("udCallAttemptsR")->Position(), 200);
    auto* grid = Find<QTableWidget>("sgAdvanced");
    ASSERT_GE(GridRow(224), 0);
    EXPECT_EQ(grid->item(GridRow(224), 2)->text(), "10");
}

// Each case: the image bytes first shown, what the user then does to a control, and the
// byte stored for it.
struct StoreCase {
    Bytes shown;
    const char* control;
    std::variant<const char*, Checked, Value> action;
    unsigned addr;
    std::uint8_t stored;
};

TEST_F(BindingTest, ControlsStoredIntoTheImage) {
    const StoreCase cases[] = {
        {{{0xC0, 255}}, "edtPassiveAlarmInterval", "255", 0xC0, 254},
        {{{0xBF, 255}}, "edtTimeToReminder", "255", 0xBF, 254},
        {{}, "edtMaxReminder", "", 0xBB, 0},
        {{}, "edtMaxReminder", "200", 0xBB, 200},
        {{{0xD4, 12}}, "edtMaxConversationTime", "125", 0xD4, 12},
        {{}, "edtMaxConversationTime", "9", 0xD4, 0},
        {{}, "edtWaitTimeNoDialToneDetector", "2,5", 0xD0, 25},
        // Not a number: the byte stays.
        {{{0xD0, 15}}, "edtWaitTimeNoDialToneDetector", "1,,5", 0xD0, 15},
        {{}, "edtRadioPos2", "7b10", 0x02, 0x7B},
        {{}, "edtRadioPos2", "", 0x03, 0x00},
        {{{0xA1, 0x7F}}, "cbTestAlarm", Checked{true}, 0xA1, 0xFF},
        {{{0xA1, 0xFF}}, "cbTestAlarm", Checked{false}, 0xA1, 0x7F},
        {{{0xB0, 0x00}}, "cbTestRadioPos3", Checked{true}, 0xB0, 0x04},
        {{{0xCD, 0x01}}, "cbbxAlarmButtonIllumination", Value{1}, 0xCD, 0x80},
        {{{0xCD, 0x01}}, "cbbxAlarmButtonIllumination", Value{0}, 0xCD, 0x00},
        {{{0xBE, 0x01}}, "cbbxCallerIDTestAlarm", Value{1}, 0xBE, 6},
        {{}, "cbbxAlarmTypePos3", Value{48}, 0xAA, 48},
        {{}, "cbbxProtocolR", Value{21}, 0x8F, 21},
        // A list without a selection keeps its byte.
        {{{0x8A, 7}}, "edtMaxReminder", "1", 0x8A, 7},
        // Shown-only fields leave their bytes alone.
        {{{0xFD, 1}}, "edtSerialNumber", "999", 0xFD, 1},
        {{{0xF7, 9}}, "edtRadioCalibration", "3", 0xF7, 9},
    };
    for (const StoreCase& c : cases) {
        Show(c.shown);
        if (auto* text = std::get_if<const char*>(&c.action))
            Edit(c.control)->setText(*text);
        else if (auto* tick = std::get_if<Checked>(&c.action))
            Check(c.control)->setChecked(tick->on);
        else
            SelectValue(c.control, std::get<Value>(c.action).value);
        EXPECT_EQ(Store()[c.addr], c.stored) << c.control << " at " << c.addr;
    }
}

TEST_F(BindingTest, DialStringsStoredWhole) {
    Show({});
    Edit("edtTelephoneNoB")->setText("0W12*#");
    Edit("edtAlarmCodeD")->setText("1234a");
    std::uint8_t phone[8], code[8];
    TextToPhone("0W12*#", phone);
    TextToAlarmCode("1234a", code);
    const Image image = Store();
    EXPECT_TRUE(std::equal(phone, phone + 8, image.begin() + 0x18));
    EXPECT_TRUE(std::equal(code, code + 8, image.begin() + 0x58));
    // Shown again as the codec reads them.
    editor->ImageToControls();
    EXPECT_EQ(Edit("edtTelephoneNoB")->text(), "0W12*#");
    EXPECT_EQ(Edit("edtAlarmCodeD")->text().toStdString(), AlarmCodeToText(code));
}

TEST_F(BindingTest, GridValuesAreStored) {
    auto* grid = Find<QTableWidget>("sgAdvanced");
    Show({});
    grid->item(GridRow(225), 2)->setText("007");
    grid->item(GridRow(226), 2)->setText("300");
    const Image image = Store();
    EXPECT_EQ(image[225], 7);
    EXPECT_EQ(image[226], 0); // outside 0..255
}

// 0xB0 holds the test boxes; the auto-answer duration overwrites it only where an edition
// shows that field.
TEST_F(BindingTest, AutoAnswerDurationSharesTheTestByteOnlyWhenShown) {
    Show({{0xB0, 0x05}});
    EXPECT_TRUE(Check("cbTestRadioPos1")->isChecked());
    EXPECT_TRUE(Check("cbTestRadioPos3")->isChecked());
    Edit("edtAutoAnswerDuration")->setText("120");
    EXPECT_EQ(Store()[0xB0], 0x05);

    Edit("edtAutoAnswerDuration")->show(); // an edition that names the field
    Show({{0xB0, 0x05}});
    EXPECT_EQ(Edit("edtAutoAnswerDuration")->text(), "50");
    Check("cbTestRadioPos8")->setChecked(true);
    Edit("edtAutoAnswerDuration")->setText("120");
    EXPECT_EQ(Store()[0xB0], 12);
}

// A grid row naming a byte of another page's control wins over that control; the line-volume
// lists win over the grid.
TEST_F(BindingTest, GridStoredAfterTheControlsAndBeforeTheLineVolumes) {
    KivoIni ini;
    ini.SetFileName(ProgramFolder() + "Values.ini");
    ini.WriteValue("ValueAdvanced", "Addr_40", "192");
    ini.WriteValue("ValueAdvanced", "Addr_41", "260");
    MakeEditor();
    auto* grid = Find<QTableWidget>("sgAdvanced");
    ASSERT_GE(GridRow(192), 0);
    ASSERT_GE(GridRow(260), 0);
    Show({});
    Edit("edtPassiveAlarmInterval")->setText("100");
    grid->item(GridRow(192), 2)->setText("50");
    SelectValue("cbbxLineVolume1", 3);
    grid->item(GridRow(260), 2)->setText("9");
    const Image image = Store();
    EXPECT_EQ(image[192], 50);
    EXPECT_EQ(image[260], 3);
}

TEST_F(BindingTest, LastFailingReportedAddressComesBack) {
    EXPECT_EQ(Show({}), -1);
    EXPECT_EQ(Show({{0xA8, 99}}), 0xA8);
    // 0x80 comes later in the order than 0xA8.
    EXPECT_EQ(Show({{0xA8, 99}, {0x80, 0}}), 0x80);
    EXPECT_EQ(ListValue("cbbxAlarmTypePos1"), -1);
    // A protocol without an item is not reported.
    EXPECT_EQ(Show({{0x8A, 7}}), -1);
    ClearBoxes();
    EXPECT_EQ(Show({{0xC2, 0}}), 0xC2);
    EXPECT_EQ(Boxes(), std::vector<int>{15029}); // the field's own check, as it is shown
}

// The production date has the edition's form whatever the platform's locale, and the width
// of the other fields.
TEST_F(BindingTest, ProductionDateHasTheEditionsFormUnderAnyLocale) {
    const int normal = Edit("edtCountry")->maximumWidth();
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::Hungarian, QLocale::Hungary));
    Show({{0xFA, 0x13}, {0xFB, 0x12}, {0xFC, 0x24}});
    EXPECT_EQ(Edit("edtProductionDate")->text(), "24.12.2013");
    EXPECT_EQ(Edit("edtProductionDate")->maximumWidth(), normal);
    QLocale::setDefault(before);
}

} // namespace
} // namespace kivo::gui::test
