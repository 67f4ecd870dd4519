#include "editor/binding.h"

#include "data/codec.h"
#include "editor/controlmodel.h"

#include <gtest/gtest.h>

namespace kivo {
namespace {

KivoIni ShippedValues() {
    KivoIni ini;
    ini.SetFileName(std::string(KIVO_BIN_DIR) + "/Values.i");
    return ini;
}

Image ShippedDefault() {
    KivoData d;
    EXPECT_TRUE(d.LoadImageFile(std::string(KIVO_BIN_DIR) + "/Default.b"));
    return d.image;
}

// The model without the shipped grid rows, so each test sets the rows it needs.
ControlModel Bare(const KivoIni& ini) {
    ControlModel m(ini);
    m.grid.clear();
    return m;
}

class Binding : public ::testing::Test {
protected:
    KivoIni ini = ShippedValues();
    ControlModel controls = Bare(ini);
    Image image = ShippedDefault();

    // Shows the image, lets `edit` change the controls, stores them into a copy.
    template <typename Edit> Image RoundTrip(Edit edit) {
        ImageToControls(image, controls);
        edit(controls);
        Image out = image;
        ControlsToImage(out, controls);
        return out;
    }
};

TEST_F(Binding, TheDefaultImageShowsAndStoresUnchanged) {
    // The shipped default is stored as the editor stores it: a round trip changes nothing.
    EXPECT_EQ(ImageToControls(image, controls), -1);
    Image out = image;
    ControlsToImage(out, controls);
    EXPECT_EQ(out, image);
}

TEST_F(Binding, EveryShippedImageRoundTripsWithTheShippedGrid) {
    ControlModel full(ini); // with the [ValueAdvanced] rows
    for (const char* name :
         {"Default.b", "KivoDefault(Tagestaste).bin", "KivoDefault(Zweitzentrale).bin"}) {
        KivoData d;
        ASSERT_TRUE(d.LoadImageFile(std::string(KIVO_BIN_DIR) + "/" + name));
        EXPECT_EQ(ImageToControls(d.image, full), -1) << name;
        Image out = d.image;
        ControlsToImage(out, full);
        EXPECT_EQ(out, d.image) << name;
    }
}

TEST_F(Binding, ConversionsBothWays) {
    struct Case {
        unsigned addr;
        std::uint8_t byte;
        const char* control;
        const char* shown;
        const char* typed; // nullptr: keep the shown text
        std::uint8_t stored;
    } cases[] = {
        {0xC0, 255, "edtPassiveAlarmInterval", "255", nullptr, 254}, // capped
        {0xBF, 255, "edtTimeToReminder", "255", nullptr, 254},
        {0xC1, 255, "edtTimeToMainsFailure", "255", nullptr, 255},
        {0xD4, 12, "edtMaxConversationTime", "120", "125", 12}, // tens
        {0xD4, 12, "edtMaxConversationTime", "120", "9", 0},
        {0xD4, 0, "edtMaxConversationTime", "0", "2550", 255},
        {0xD0, 15, "edtWaitTimeNoDialToneDetector", "1,5", "2,5", 25}, // tenths
        {0xD0, 10, "edtWaitTimeNoDialToneDetector", "1", "25,5", 255},
        {0xD0, 7, "edtWaitTimeNoDialToneDetector", "0,7", "1,2,3", 7}, // not a number: kept
        {0xD0, 7, "edtWaitTimeNoDialToneDetector", "0,7", "", 7},
        {0xBA, 3, "edtRepeatSequence", "3", "300", 44}, // low 8 bits
        {0xBA, 3, "edtRepeatSequence", "3", "abc", 0},
        {0xB3, 9, "edtUserDefinedAlarmTypeID", "9", "", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.control);
        image[c.addr] = c.byte;
        Image out = RoundTrip([&](ControlModel& f) {
            EXPECT_EQ(f.texts[c.control], c.shown);
            if (c.typed) f.texts[c.control] = c.typed;
        });
        EXPECT_EQ(out[c.addr], c.stored);
    }
}

TEST_F(Binding, TickBoxesAndYesBits) {
    image[0xA1] = 0x7F;
    Image out = RoundTrip([](ControlModel& f) {
        EXPECT_FALSE(f.checks["cbTestAlarm"]);
        f.checks["cbTestAlarm"] = true;
    });
    EXPECT_EQ(out[0xA1], 0xFF);
    image[0xA1] = 0xFF;
    out = RoundTrip([](ControlModel& f) { f.checks["cbTestAlarm"] = false; });
    EXPECT_EQ(out[0xA1], 0x7F);

    image[0xB0] = 0x81;
    out = RoundTrip([](ControlModel& f) {
        EXPECT_TRUE(f.checks["cbTestRadioPos1"]);
        EXPECT_TRUE(f.checks["cbTestRadioPos8"]);
        EXPECT_FALSE(f.checks["cbTestRadioPos2"]);
        f.checks["cbTestRadioPos3"] = true;
    });
    EXPECT_EQ(out[0xB0], 0x85);

    image[0xCD] = 0x01;
    image[0xBE] = 0x01;
    out = RoundTrip([](ControlModel& f) {
        EXPECT_EQ(ValueAtIndex(f.Values("cbbxAlarmButtonIllumination"),
                               f.Selected("cbbxAlarmButtonIllumination")),
                  1);
    });
    EXPECT_EQ(out[0xCD], 0x80);
    EXPECT_EQ(out[0xBE], 6);
}

TEST_F(Binding, CodesAndNumbers) {
    TextToRadioCode("1A2B", &image[0x04]);
    TextToPhone("0301234567", &image[0x18]);
    TextToAlarmCode("12A4", &image[0x40]);
    Image out = RoundTrip([](ControlModel& f) {
        EXPECT_EQ(f.texts["edtRadioPos3"], "1A2B");
        EXPECT_EQ(f.texts["edtTelephoneNoB"], "0301234567");
        EXPECT_EQ(f.texts["edtAlarmCodeA"], "12A4");
        f.texts["edtRadioPos8"] = "beef";
        f.texts["edtTelephoneNoR"] = "112";
    });
    EXPECT_EQ(out[0x0E], 0xBE);
    EXPECT_EQ(out[0x0F], 0xEF);
    EXPECT_EQ(PhoneToText(&out[0x38]), "112");
    EXPECT_EQ(AlarmCodeToText(&out[0x40]), "12A4");
}

TEST_F(Binding, ReportsTheLastFailingAddress) {
    image[0xC2] = 0;
    EXPECT_EQ(ImageToControls(image, controls), 0xC2);
    image = ShippedDefault();
    image[0xA8] = 99; // no AlarmType item
    image[0x80] = 77; // no SequenceNumber item; comes later in the order
    EXPECT_EQ(ImageToControls(image, controls), 0x80);
    EXPECT_EQ(controls.Selected("cbbxAlarmTypePos1"), -1);

    image = ShippedDefault();
    image[0x8A] = 7; // no Protocol item: shown empty, not reported, stored back unchanged
    Image out = RoundTrip([](ControlModel& f) { EXPECT_EQ(f.Selected("cbbxProtocolA"), -1); });
    EXPECT_EQ(ImageToControls(image, controls), -1);
    EXPECT_EQ(out[0x8A], 7);
}

TEST_F(Binding, ShownOnlyFields) {
    image[0xF8] = 4;
    image[0xFA] = 0x13;
    image[0xFB] = 0x12;
    image[0xFC] = 0x24;
    image[0xFD] = 0x01;
    image[0xFE] = 0x02;
    image[0xFF] = 0x03;
    image[0x100] = 0x02;
    image[0x101] = 0x1A;
    image[0x102] = 3;
    Image out = RoundTrip([](ControlModel& f) {
        EXPECT_EQ(f.texts["edtProductModel"], "4");
        EXPECT_EQ(f.texts["edtProductionDate"], "24.12.2013");
        EXPECT_EQ(f.texts["edtSerialNumber"], "66051");
        EXPECT_EQ(f.texts["edtFirmwareVersion"], "02.1A-3");
        f.texts["edtProductModel"] = "9";
        f.texts["edtFirmwareVersion"] = "07.30-10";
    });
    EXPECT_EQ(out[0xF8], 4);
    EXPECT_EQ(out[0x100], 0x02);

    struct Date {
        std::uint8_t y, m, d;
        const char* shown;
    } dates[] = {{0x13, 0x02, 0x30, "---"},
                 {0x12, 0x02, 0x29, "29.02.2012"},
                 {0x13, 0x02, 0x29, "---"},
                 {0x13, 0x1A, 0x01, "---"},
                 {0x13, 0x00, 0x01, "---"}};
    for (const auto& d : dates) {
        image[0xFA] = d.y;
        image[0xFB] = d.m;
        image[0xFC] = d.d;
        ImageToControls(image, controls);
        EXPECT_EQ(controls.texts["edtProductionDate"], d.shown);
    }
}

TEST_F(Binding, SharedBytesFollowTheOrderOfStoring) {
    // The auto-answer duration, when shown, overwrites the test boxes' 0xB0.
    controls.hidden.clear();
    image[0xB0] = 0x03;
    Image out = RoundTrip([](ControlModel& f) {
        EXPECT_EQ(f.texts["edtAutoAnswerDuration"], "30");
        f.texts["edtAutoAnswerDuration"] = "120";
    });
    EXPECT_EQ(out[0xB0], 12);

    // A grid row overrides another page's control; the line-volume lists override a row.
    controls.hidden = {"edtAutoAnswerDuration"};
    controls.grid = {{"192", "Passiv", "", "h"}, {"260", "Stufe 1", "", ""}};
    out = RoundTrip([](ControlModel& f) {
        f.texts["edtPassiveAlarmInterval"] = "12";
        f.grid[0][2] = "48";
        f.grid[1][2] = "9";
    });
    EXPECT_EQ(out[0xC0], 48);
    EXPECT_EQ(out[0x104], image[0x104]);
}

TEST_F(Binding, GridRowsThatNameNoAddressAreSkipped) {
    controls.grid = {{"230", "", "", ""}, {"abc", "", "", ""}, {"512", "", "", ""},
                     {"-1", "", "", ""},  {"", "", "", ""},    {"231", "", "", ""}};
    image[230] = 10;
    image[231] = 11;
    Image out = RoundTrip([](ControlModel& f) {
        EXPECT_EQ(f.grid[0][2], "10");
        EXPECT_EQ(f.grid[1][2], "");
        EXPECT_EQ(f.grid[5][2], "11");
        f.grid[0][2] = " 007 ";
        f.grid[5][2] = "300"; // out of range: 0
        f.grid[1][2] = "5";
    });
    EXPECT_EQ(out[230], 7);
    EXPECT_EQ(out[231], 0);
}

TEST_F(Binding, AListWithoutSelectionKeepsItsByte) {
    image[0xC6] = 2;
    Image out = RoundTrip([](ControlModel& f) { f.selected["cbbxWarningFunctions"] = -1; });
    EXPECT_EQ(out[0xC6], 2);
    out = RoundTrip([](ControlModel& f) { f.Choose("cbbxWarningFunctions", 3); });
    EXPECT_EQ(out[0xC6], 3);
}

TEST_F(Binding, TheServiceCallListIsBuiltFromTwoSections) {
    const FilledList& list = controls.lists[kServiceCallList];
    ASSERT_EQ(list.items.items.size(), 7u);
    EXPECT_EQ(list.items.items[0], ini.ReadValue("YesNo", "0"));
    EXPECT_EQ(list.items.items[6], ini.ReadValue("CallSequence", "6"));
    EXPECT_EQ(ValueAtIndex(list.values, 6), 6);
}

TEST(BindingTableTest, NamesAreUniqueAndAddressesInside) {
    std::set<std::string> names;
    for (const auto& b : BindingTable()) {
        EXPECT_TRUE(names.insert(b.control).second) << b.control;
        EXPECT_LT(b.addr, 512u) << b.control;
    }
    EXPECT_GE(names.size(), 150u);
}

} // namespace
} // namespace kivo
