#include "print/reporttext.h"

#include "app/strtable.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

namespace kivo::report {
namespace {

KivoIni ShippedValues() {
    KivoIni ini;
    ini.SetFileName(std::string(KIVO_BIN_DIR) + "/Values.i");
    return ini;
}

struct FormatCase {
    Format format;
    int v;
    const char* section;
    const char* text;
};

TEST(ReportText, ValueFormats) {
    const KivoIni ini = ShippedValues();
    const FormatCase cases[] = {
        {Format::IntervalWithDays, 0, nullptr, "0 (AUS)"},
        {Format::IntervalWithDays, 1, nullptr, "1 Std"},
        {Format::IntervalWithDays, 100, nullptr, "100 Std"},
        {Format::IntervalWithDays, 101, nullptr, "1 Tage"},
        {Format::IntervalWithDays, 200, nullptr, "100 Tage"},
        {Format::IntervalWithDays, 201, nullptr, "1 Min"},
        {Format::IntervalWithDays, 255, nullptr, "55 Min"},
        {Format::IntervalWithoutDays, 0, nullptr, "0 (AUS)"},
        {Format::IntervalWithoutDays, 150, nullptr, "150 Std"},
        {Format::IntervalWithoutDays, 200, nullptr, "200 Std"},
        {Format::IntervalWithoutDays, 201, nullptr, "1 Min"},
        {Format::TensOfSeconds, 12, nullptr, "120 Sek"},
        {Format::TensOfSeconds, 0, nullptr, "00 Sek"},
        {Format::TenthsOfSeconds, 25, nullptr, "2.5 Sek"},
        {Format::TenthsOfSeconds, 0, nullptr, "0.0 Sek"},
        {Format::TenthsOfSeconds, 255, nullptr, "25.5 Sek"},
        {Format::Seconds, 3, nullptr, "3 Sek"},
        {Format::Minutes, 60, nullptr, "60 Min"},
        {Format::Hours, 24, nullptr, "24 Std"},
        {Format::Number, 255, nullptr, "255"},
        {Format::SwitchNotZero, 5, nullptr, "Ja"},
        {Format::SwitchNotZero, 0, nullptr, "Nein"},
        {Format::SwitchBit7, 0x80, nullptr, "Ja"},
        {Format::SwitchBit7, 0x7F, nullptr, "Nein"},
        {Format::List, 3, "Protocol", "Tunstall"},
        {Format::List, 6, "Protocol", ""},   // no key 6
        {Format::List, 49, "AlarmType", ""}, // the list's end marker is no item
        {Format::List, 1, "NoSuchSection", ""},
    };
    for (const FormatCase& c : cases)
        EXPECT_EQ(ValueText(c.format, static_cast<std::uint8_t>(c.v), ini, c.section), c.text)
            << "format " << static_cast<int>(c.format) << " value " << c.v;
}

TEST(ReportText, MissingValuesIniLeavesListsAndSwitchesBlank) {
    KivoIni none;
    none.SetFileName("/nonexistent/Values.ini");
    EXPECT_EQ(ValueText(Format::List, 1, none, "YesNo"), "");
    EXPECT_EQ(ValueText(Format::SwitchNotZero, 1, none, nullptr), "");
    EXPECT_EQ(ValueText(Format::Hours, 2, none, nullptr), "2 Std");
}

TEST(ReportText, RunsOfAmpersandsPrintAsOne) {
    const std::pair<const char*, const char*> cases[] = {
        {"&&", "&"}, {"&&&&", "&"}, {"a&b", "a&b"}, {"A && B &&& C", "A & B & C"}, {"", ""}};
    for (const auto& [in, out] : cases) EXPECT_EQ(SingleAmpersand(in), out) << in;
    EXPECT_EQ(BodyText(13324), "Anwender/Handsender & Batterie");

    test::TempDir dir;
    KivoIni ini;
    ini.SetFileName(dir.Write("Values.ini", "[YesNo]\r\n0=Aus && Ende\r\n1=<EMPTY>\r\n"));
    EXPECT_EQ(ItemText(ini, "YesNo", 0), "Aus & Ende");
    EXPECT_EQ(ItemText(ini, "YesNo", 1), "");
}

TEST(ReportText, SequenceLettersAndSupervision) {
    const std::string letters = Str(15034);
    EXPECT_EQ(SequenceLetterText(letters, 1), "A");
    EXPECT_EQ(SequenceLetterText(letters, 0), "-");
    EXPECT_EQ(SequenceLetterText(letters, 6), "U");
    EXPECT_EQ(SequenceLetterText(letters, 7), "?");
    EXPECT_EQ(SequenceLetterText(letters, 255), "?");
    EXPECT_EQ(SequenceLetterText("-AB", 4), "?"); // a shorter letter text has no letter 4

    Image image{};
    image[mm::RadioTestSupervision] = 0x05;
    image[mm::RadioCodeAddr(2)] = 0x4C;
    image[mm::RadioCodeAddr(2) + 1] = 0x3A;
    std::string supervised, codes;
    for (int n = 1; n <= 8; ++n) {
        supervised += SupervisionText(image, n) + " ";
        codes += RadioText(image, n) + " ";
    }
    EXPECT_EQ(supervised, "AN AUS AN AUS AUS AUS AUS AUS ");
    EXPECT_EQ(codes, "---- 4C3A ---- ---- ---- ---- ---- ---- ");
}

TEST(ReportText, InformationBoxValues) {
    struct DateCase {
        std::uint8_t year, month;
        const char* text;
    };
    const DateCase dates[] = {
        {0x13, 0x08, "Aug/2013"}, {0x13, 0x13, ""}, {0x1A, 0x08, ""},
        {0x13, 0x0A, ""},         {0x13, 0x00, ""}, {0x99, 0x12, "Dez/2099"},
        {0x00, 0x01, "Jan/2000"},
    };
    Image image{};
    for (const DateCase& d : dates) {
        image[mm::ProductionYear] = d.year;
        image[mm::ProductionMonth] = d.month;
        EXPECT_EQ(ManufactureDateText(image), d.text) << int(d.year) << "/" << int(d.month);
    }
    image[mm::SerialNumber] = 0x01;
    image[mm::SerialNumber + 1] = 0x02;
    image[mm::SerialNumber + 2] = 0x03;
    EXPECT_EQ(SerialNumberText(image), "66051");
    EXPECT_EQ(ShortDateText(2021, 3, 4), "04.03.2021");
}

} // namespace
} // namespace kivo::report
