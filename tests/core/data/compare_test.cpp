#include "data/compare.h"

#include "data/textexport.h"

#include <gtest/gtest.h>

namespace kivo {
namespace {

TEST(Compare, ListsEveryDifferingByteWithItsName) {
    Image a{}, b{};
    b[0x05] = 0x12;  // transmitter 3
    b[0xC4] = 48;    // battery check interval
    b[0xF8] = 3;     // product model: read-only
    b[0x101] = 0x30; // firmware: read-only and extended
    b[0x150] = 1;    // no meaning in this system: extended, no name
    auto d = CompareImages(a, b, 512);
    ASSERT_EQ(d.size(), 5u);
    EXPECT_EQ(DescribeDifference(d[0]), "0x005 ID code, transmitter 3: 0 -> 18");
    EXPECT_EQ(DescribeDifference(d[1]), "0x0C4 Battery check interval: 0 -> 48");
    EXPECT_EQ(DescribeDifference(d[2]), "0x0F8 Product model: 0 -> 3 (nur lesen)");
    EXPECT_EQ(DescribeDifference(d[3]), "0x101 Firmware: 0 -> 48 (nur lesen) (erweitert)");
    EXPECT_EQ(DescribeDifference(d[4]), "0x150 (ohne Namen): 0 -> 1 (erweitert)");
    EXPECT_EQ(CompareImages(a, b, 256).size(), 3u);
    EXPECT_TRUE(CompareImages(a, a, 512).empty());
}

TEST(Compare, NamesComeFromTheExportLines) {
    EXPECT_EQ(ParameterName(0x8F), "Protocol V");
    EXPECT_EQ(ParameterName(0x7D), "Call sequence 4");
    EXPECT_EQ(ParameterName(0xB0), "Radio test alarm on/off");
    EXPECT_EQ(ParameterName(0xFE), "Serial number");
    EXPECT_EQ(ParameterName(0x11C), "");
    EXPECT_EQ(ParameterName(9999), "");
}

} // namespace
} // namespace kivo
