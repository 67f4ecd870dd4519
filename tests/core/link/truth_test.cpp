// Whatever faults strike, a reported success is true: a read reported complete holds the
// unit's bytes, a write reported verified left the image in the unit's written ranges.
#include "link/procedures.h"

#include "sim_fixture.h"

namespace kivo {
namespace {

class Truth : public test::SimLink, public ::testing::WithParamInterface<int> {};

TEST_P(Truth, NoFalseSuccessUnderMixedFaults) {
    const int seed = GetParam();
    const std::string faults = "drop=0.03,corrupt=0.03,nak=0.03,split=0.03,lower=0.03,"
                               "noise=0.03,short=0.03,ignore=0.03,spike=0.01,seed=" +
                               std::to_string(seed) + (seed % 3 == 0 ? ",size=256" : "");
    Device(faults);

    test::RecordingUi ui;
    KivoData data;
    unsigned size = 0;
    if (ReadUnit(link, data, ui, size) == ReadOutcome::Read) {
        const Image unit = device->Memory();
        EXPECT_TRUE(
            std::equal(data.image.begin(), data.image.begin() + device->Size(), unit.begin()));
    }

    KivoData config;
    config.image = device->Memory();
    for (unsigned a = 0x10; a < 0x40; ++a) config.image[a] = static_cast<std::uint8_t>(a + seed);
    for (unsigned a = 0x103; a < 0x200; ++a) config.image[a] = static_cast<std::uint8_t>(a * 3);
    test::RecordingUi wui;
    WriteOutcome outcome = WriteUnit(link, config, wui);
    if (outcome == WriteOutcome::Verified) {
        const Image unit = device->Memory();
        for (const auto& r : WrittenRanges(device->Size(), 0))
            for (unsigned a = r.first; a <= r.second; ++a)
                ASSERT_EQ(unit[a], config.image[a]) << "address " << a << " seed " << seed;
        EXPECT_EQ(wui.Boxes().back().substr(0, 4) == "two:" || wui.Boxes().back() == "info:15004",
                  true);
    } else {
        // A failure always ends with an error box.
        ASSERT_FALSE(wui.Boxes().empty());
        EXPECT_EQ(wui.Boxes().back().rfind("error:", 0), 0u);
    }
    EXPECT_FALSE(link.IsOpen());
}

INSTANTIATE_TEST_SUITE_P(Seeds, Truth, ::testing::Range(1, 41));

} // namespace
} // namespace kivo
