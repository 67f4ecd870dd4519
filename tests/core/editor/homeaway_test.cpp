#include "editor/homeaway.h"

#include <gtest/gtest.h>

namespace kivo {
namespace {

TEST(HomeAway, EachChoiceWritesItsBytes) {
    struct Case {
        int choice;
        std::uint8_t checkIn, checkOut, passive, extra;
    } cases[] = {{0, 0x76, 0x76, 0xF6, 4},
                 {1, 0xF6, 0xF6, 0xF6, 4},
                 {2, 0xC2, 0xC2, 0xF6, 4},
                 {3, 0x76, 0x76, 0x76, 0}};
    for (const auto& c : cases) {
        Image img{};
        img[0x96] = 0x00;
        img[0xDF] = 0x00;
        img[0x93] = 0x80;
        img[0x9C] = 0xC6;
        img[0xB2] = 1;
        img[0x97] = 0x55;
        ApplyHomeAway(img, c.choice);
        EXPECT_EQ(img[0x96], c.checkIn) << c.choice;
        EXPECT_EQ(img[0xDF], c.checkOut) << c.choice;
        EXPECT_EQ(img[0x93], c.passive) << c.choice;
        EXPECT_EQ(img[0xB2], c.extra) << c.choice;
        EXPECT_EQ(img[0x9C], 0x46) << c.choice; // only bit 7 changes
        EXPECT_EQ(img[0x97], 0x55) << c.choice; // nothing else
    }
    Image untouched{};
    untouched[0x96] = 9;
    Image copy = untouched;
    ApplyHomeAway(copy, 4);
    ApplyHomeAway(copy, -1);
    EXPECT_EQ(copy, untouched);
}

} // namespace
} // namespace kivo
