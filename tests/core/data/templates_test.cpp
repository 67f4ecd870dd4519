// The installed templates agree with each other: every list byte of every shipped image has
// its item in the shipped Values.ini, so a new or opened default reports nothing.
#include "data/codec.h"
#include "data/kivodata.h"
#include "data/kivoini.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace kivo {
namespace {

struct ListByte {
    unsigned first, last; // addresses shown through the list
    const char* section;
    int capacity;
    bool keepSeparators;
};

// The list-bound bytes of the editor, with the capacities and separator rules it fills them with.
const ListByte kListBytes[] = {
    {0xA8, 0xAF, "AlarmType", 100, true},        {0xB2, 0xB2, "AlarmType", 100, false},
    {0x80, 0x89, "SequenceNumber", 10, true},    {0x70, 0x7F, "CallSequence", 10, true},
    {0x8A, 0x8F, "Protocol", 20, true},          {0xC6, 0xC6, "WarningFunction", 10, true},
    {0xC7, 0xC8, "LoudspeakerVolume", 10, true}, {0xC9, 0xC9, "PrecallType", 10, true},
    {0xCE, 0xCE, "DiallingMode", 10, true},      {0x116, 0x116, "DigitAfterNoDialTone", 20, true},
    {0x104, 0x108, "LineVolume", 20, true},
};
const unsigned kYesNoBytes[] = {0xDB, 0xCB, 0xCC, 0xDA, 0xCF,  0xD5,
                                0xBD, 0xD9, 0xF5, 0xF3, 0x103, 0x115};

std::string Bin(const std::string& name) {
    return std::string(KIVO_BIN_DIR) + "/" + name;
}

KivoIni Values() {
    KivoIni ini;
    ini.SetFileName(Bin("Values.i"));
    return ini;
}

std::vector<std::string> ShippedImages() {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(KIVO_BIN_DIR)) {
        std::string name = e.path().filename().string();
        if (name == "Default.b" || (name.rfind("KivoDefault(", 0) == 0 && name.size() > 4 &&
                                    name.substr(name.size() - 4) == ".bin"))
            names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

TEST(Templates, EveryShippedImageShowsWithoutAReport) {
    KivoIni ini = Values();
    ASSERT_TRUE(ini.FileFound());
    auto images = ShippedImages();
    ASSERT_GE(images.size(), 3u); // the default and at least two alternatives
    bool hasOldUnit = false;
    for (const auto& name : images) {
        SCOPED_TRACE(name);
        KivoData d;
        ASSERT_TRUE(d.LoadImageFile(Bin(name)));
        hasOldUnit |= d.imageSize == 256;
        if (name == "Default.b") {
            EXPECT_EQ(d.imageSize, 512u);
        }
        for (const auto& l : kListBytes) {
            ItemList items;
            ValueList values{kSentinel};
            ini.FillFromSection(items, l.section, values, l.capacity, l.keepSeparators);
            for (unsigned a = l.first; a <= l.last; ++a)
                EXPECT_NE(IndexOfValue(values, d.image[a]), -1)
                    << l.section << " has no item " << int(d.image[a]) << " for address " << a;
        }
        ItemList items;
        ValueList yesNo{kSentinel};
        ini.FillFromSection(items, "YesNo", yesNo, 5, true);
        for (unsigned a : kYesNoBytes)
            EXPECT_NE(IndexOfValue(yesNo, d.image[a]), -1) << "YesNo at address " << a;
        EXPECT_LE(d.image[mm::ServiceCallType], 6) << "service call type";
        EXPECT_NE(d.image[mm::TestAlarmInterval], 0) << "test alarm interval";
        for (int dest = 0; dest < mm::kDestinations; ++dest) {
            // Dial strings hold only codes their field can show again.
            std::uint8_t again[8];
            TextToPhone(PhoneToText(&d.image[mm::PhoneAddr(dest)]), again);
            EXPECT_TRUE(std::equal(again, again + 8, &d.image[mm::PhoneAddr(dest)]));
            TextToAlarmCode(AlarmCodeToText(&d.image[mm::AlarmCodeAddr(dest)]), again);
            EXPECT_TRUE(std::equal(again, again + 8, &d.image[mm::AlarmCodeAddr(dest)]));
        }
    }
    EXPECT_TRUE(hasOldUnit) << "one alternative is an older unit's 256-byte configuration";
}

TEST(Templates, ValuesIniCarriesTheCodesTheProgramReliesOn) {
    KivoIni ini = Values();
    ItemList items;
    ValueList all{kSentinel}, extra{kSentinel}, protocols{kSentinel}, dest{kSentinel};
    ini.FillFromSection(items, "AlarmType", all, 100, true);
    for (int code : {0, 1, 4, 5, 6, 7, 12, 30, 44, 45, 46, 47, 48})
        EXPECT_NE(IndexOfValue(all, code), -1) << "AlarmType " << code;
    // The extra button's list ends at the separator: the day-button codes lie above it, the
    // codes only some units accept below.
    ini.FillFromSection(items, "AlarmType", extra, 100, false);
    EXPECT_NE(IndexOfValue(extra, 0), -1);
    EXPECT_NE(IndexOfValue(extra, 4), -1);
    EXPECT_LT(extra.size(), all.size());
    ini.FillFromSection(items, "Protocol", protocols, 20, true);
    for (int code : {0, 1, 2, 3, 4, 5, 8, 9, 17, 21})
        EXPECT_NE(IndexOfValue(protocols, code), -1) << "Protocol " << code;
    EXPECT_EQ(ini.FillFromSection(items, "CallSequence", dest, 10, true), 7);
    for (int code = 0; code <= 6; ++code) EXPECT_EQ(ValueAtIndex(dest, code), code);
    EXPECT_EQ(ini.ReadPrintNumber("HeaderTextSize", 0), 18);
    EXPECT_FALSE(ini.ReadAdvancedRows().empty());
    for (const auto& row : ini.ReadAdvancedRows()) {
        int addr = std::atoi(row.addr.c_str());
        EXPECT_TRUE(addr >= 0 && addr <= 511 && std::to_string(addr) == row.addr) << row.addr;
    }
}

TEST(Templates, EveryListSectionEndsWithItsEndKey) {
    KivoIni ini = Values();
    for (const char* section : {"AlarmType", "SequenceNumber", "CallSequence", "Protocol", "YesNo",
                                "WarningFunction", "LoudspeakerVolume", "PrecallType",
                                "DiallingMode", "DigitAfterNoDialTone", "LineVolume"}) {
        bool ended = false;
        for (int n = 0; n < 256 && !ended; ++n)
            ended = ini.ReadValue(section, std::to_string(n)) == "<END>";
        EXPECT_TRUE(ended) << section;
    }
}

} // namespace
} // namespace kivo
