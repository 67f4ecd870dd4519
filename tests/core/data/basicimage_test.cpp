#include "data/basicimage.h"

#include "data/codec.h"

#include <gtest/gtest.h>

namespace kivo {
namespace {

TEST(BasicImage, TheIdGoesIntoEveryAlarmCodeAndTheOptionFreesItsPositions) {
    const struct {
        RadioOption option;
        unsigned first;
        unsigned keptUpTo; // radio bytes below this keep their value
    } cases[] = {
        {RadioOption::KeepAll, 0x10, 0x10},
        {RadioOption::ClearTwoToEight, 0x02, 0x02},
        {RadioOption::ClearAll, 0x00, 0x00},
    };
    for (const auto& c : cases) {
        Image image;
        image.fill(0x77);
        EXPECT_EQ(PrepareBasicImage(image, "12A4", c.option), c.first);
        EXPECT_EQ(BasicFirstAddress(c.option), c.first);
        for (unsigned a = 0; a < mm::PhoneA; ++a)
            EXPECT_EQ(image[a], a < c.keptUpTo ? 0x77 : 0x00) << a;
        for (int d = 0; d < mm::kDestinations; ++d)
            EXPECT_EQ(AlarmCodeToText(&image[mm::AlarmCodeAddr(d)]), "12A4");
        EXPECT_EQ(image[mm::PhoneA], 0x77); // telephone numbers are left alone
    }
}

} // namespace
} // namespace kivo
