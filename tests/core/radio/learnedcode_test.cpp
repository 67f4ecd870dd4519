#include "radio/learnedcode.h"

#include <gtest/gtest.h>

namespace kivo {
namespace {

TEST(LearnedCode, OnlyFourHexDigitsAreACode) {
    const struct {
        const char* text;
        Heard heard;
    } cases[] = {
        {"0000", Heard::Nothing},
        {"4C3A", Heard::Code},
        {"4c3a", Heard::Code},
        {"FFFF", Heard::Code},
        {"ZZZZ", Heard::Malformed},
        {"0G00", Heard::Malformed},
        {"4C3", Heard::Malformed},
        {"4C3A0", Heard::Malformed},
        {"", Heard::Malformed},
        {"4C 3", Heard::Malformed},
        {"\x01\x02\x03\x04", Heard::Malformed},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ClassifyHeard(c.text), c.heard) << c.text;
        EXPECT_EQ(IsTransmitterCode(c.text), c.heard == Heard::Code || c.heard == Heard::Nothing)
            << c.text;
    }
}

} // namespace
} // namespace kivo
