#include "data/codec.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace kivo {
namespace {

using Bytes8 = std::array<std::uint8_t, 8>;
constexpr Bytes8 kNoNumber = {0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA};

Bytes8 Dial(std::initializer_list<std::uint8_t> head) {
    Bytes8 b = kNoNumber;
    std::size_t i = 0;
    for (auto v : head) b[i++] = v;
    return b;
}

TEST(DialString, DecodesBothForms) {
    struct Case {
        Bytes8 bytes;
        const char* phone;
        const char* alarm;
    } cases[] = {
        {kNoNumber, "", ""},
        {Dial({0x1A}), "1", "1"},
        {Dial({0xA1, 0x23}), "", ""}, // an end code first hides the digits after it
        {Dial({0x12, 0xC4}), "12C4", "12A4"},
        {Dial({0xEF}), "*#", "*#"},
        {Dial({0x0B, 0x5D}), "0W5T", "0W5T"},
        {{0x01, 0x23, 0x45, 0x67, 0x89, 0xBC, 0xDE, 0xF0}, "0123456789WCT*#0", "0123456789WAT*#0"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PhoneToText(c.bytes.data()), c.phone);
        EXPECT_EQ(AlarmCodeToText(c.bytes.data()), c.alarm);
    }
}

TEST(DialString, EncodesTelephoneNumbers) {
    struct Case {
        const char* text;
        Bytes8 bytes;
    } cases[] = {
        {"112", Dial({0x11, 0x2A})},
        {"0W5", Dial({0x0B, 0x5A})},
        {"", kNoNumber},
        {"12A4", Dial({0x12, 0x04})}, // A is not a telephone character
        {"*#", Dial({0xEF})},
        {"c", Dial({0xCA})},
        {"x1", Dial({0x01})},
        {"wt", Dial({0xBD})},
        {"0123456789012345", {0x01, 0x23, 0x45, 0x67, 0x89, 0x01, 0x23, 0x45}},
    };
    for (const auto& c : cases) {
        Bytes8 out{};
        TextToPhone(c.text, out.data());
        EXPECT_EQ(out, c.bytes) << c.text;
    }
}

TEST(DialString, EncodesAlarmCodesAndRoundTrips) {
    Bytes8 out{};
    TextToAlarmCode("12A4", out.data());
    EXPECT_EQ(out, Dial({0x12, 0xC4}));
    EXPECT_EQ(AlarmCodeToText(out.data()), "12A4");
    TextToAlarmCode("12c4", out.data());
    EXPECT_EQ(out, Dial({0x12, 0x04})); // C is not an alarm-code character
}

TEST(DialString, LongTextNeverWritesPastEightBytes) {
    std::vector<std::uint8_t> buffer(12, 0x55);
    TextToPhone(std::string(40, '7'), buffer.data() + 2);
    EXPECT_EQ(buffer[0], 0x55);
    EXPECT_EQ(buffer[1], 0x55);
    for (int i = 2; i < 10; ++i) EXPECT_EQ(buffer[i], 0x77);
    EXPECT_EQ(buffer[10], 0x55);
    EXPECT_EQ(buffer[11], 0x55);
    EXPECT_EQ(PhoneToText(buffer.data() + 2), std::string(16, '7'));
}

TEST(PrintableText, KeepsPlainTextAndEscapesEverythingElse) {
    EXPECT_EQ(PrintableText("11-1 SIM1.0"), "11-1 SIM1.0");
    EXPECT_EQ(PrintableText(std::string("\x1b[2J\x00\x7f\xff", 7)), "\\x1B[2J\\x00\\x7F\\xFF");
    EXPECT_EQ(PrintableText("a\\b"), "a\\x5Cb"); // an escape cannot be faked
}

TEST(RadioCode, ConvertsBothWays) {
    struct Case {
        const char* text;
        std::uint8_t b0, b1;
        const char* shown;
    } cases[] = {
        {"1A2b", 0x1A, 0x2B, "1A2B"}, {"12", 0x12, 0x00, "1200"},
        {"0000", 0, 0, ""},           {"", 0, 0, ""},
        {"G123", 0x01, 0x23, "0123"}, {"ABCDEF", 0xAB, 0xCD, "ABCD"},
    };
    for (const auto& c : cases) {
        std::uint8_t out[2] = {0x99, 0x99};
        TextToRadioCode(c.text, out);
        EXPECT_EQ(out[0], c.b0) << c.text;
        EXPECT_EQ(out[1], c.b1) << c.text;
        EXPECT_EQ(RadioCodeToText(out), c.shown) << c.text;
    }
}

TEST(ByteCodecs, HexAndBcd) {
    EXPECT_EQ(ByteToHex(0x00), "00");
    EXPECT_EQ(ByteToHex(0x0A), "0A");
    EXPECT_EQ(ByteToHex(0xFF), "FF");
    EXPECT_EQ(BcdToNumber(0x25), 25u);
    EXPECT_EQ(BcdToNumber(0x99), 99u);
    EXPECT_EQ(BcdToNumber(0x1A), 0u);
    EXPECT_EQ(BcdToNumber(0xA1), 0u);
}

TEST(KeyTests, AcceptTheirCharactersAndTheEditingKeys) {
    using Test = bool (*)(char);
    struct Case {
        Test test;
        const char* accepted;
        const char* refused;
    } cases[] = {
        {IsRadioKey, "0123456789ABCDEFabcdef", " gG-*#"},
        {IsPhoneKey, "0123456789#*CTWctw", " Aa,+-"},
        {IsAlarmCodeKey, "0123456789#*ATWatw", " Cc,+-"},
        {IsNumericKey, "0123456789", " ,-aA"},
        {IsDecimalKey, "0123456789,", " .-a"},
    };
    for (const auto& c : cases) {
        for (const char* p = c.accepted; *p; ++p) EXPECT_TRUE(c.test(*p)) << *p;
        for (const char* p = c.refused; *p; ++p) EXPECT_FALSE(c.test(*p)) << *p;
        for (char editing : {3, 8, 22, 24}) EXPECT_TRUE(c.test(editing));
        EXPECT_FALSE(c.test('\0'));
    }
}

TEST(CodedDurations, DecodeAtTheirBorders) {
    struct Case {
        std::uint8_t value;
        Duration hdm, hm;
    } cases[] = {
        {0, {0, DurationUnit::Hours}, {0, DurationUnit::Hours}},
        {100, {100, DurationUnit::Hours}, {100, DurationUnit::Hours}},
        {101, {1, DurationUnit::Days}, {101, DurationUnit::Hours}},
        {200, {100, DurationUnit::Days}, {200, DurationUnit::Hours}},
        {201, {1, DurationUnit::Minutes}, {1, DurationUnit::Minutes}},
        {255, {55, DurationUnit::Minutes}, {55, DurationUnit::Minutes}},
    };
    for (const auto& c : cases) {
        auto hdm = DecodeHoursDaysMinutes(c.value);
        auto hm = DecodeHoursMinutes(c.value);
        EXPECT_EQ(hdm.amount, c.hdm.amount) << int(c.value);
        EXPECT_EQ(hdm.unit, c.hdm.unit) << int(c.value);
        EXPECT_EQ(hm.amount, c.hm.amount) << int(c.value);
        EXPECT_EQ(hm.unit, c.hm.unit) << int(c.value);
    }
}

TEST(DestinationLetters, SevenCodesHaveLetters) {
    EXPECT_EQ(DestinationLetter("-ABCDNU", 0), '-');
    EXPECT_EQ(DestinationLetter("-ABCDNU", 6), 'U');
    EXPECT_EQ(DestinationLetter("-ABCDNU", 7), '\0');
    EXPECT_EQ(DestinationLetter("-AB", 5), '\0'); // a short text never reads past its end
}

} // namespace
} // namespace kivo
