// The chip model on its own: what the host's control requests set, how received bytes reach
// the host in status-led packets on the latency timer, and that a line set otherwise than the
// Kobu's is caught, not ignored.
#include "chip.h"
#include "usbdevice.h"

#include <gtest/gtest.h>

#include <cmath>

namespace ftdiemu {
namespace {

using kivo::sim::SimKobu;

constexpr Micros kMs = 1000;

ControlSetup Out(std::uint8_t request, std::uint16_t value, std::uint16_t index = 0) {
    return {0x40, request, value, index, 0};
}

// The frame of the command "v" and the Kobu's 15-byte answer to it.
const std::vector<std::uint8_t> kVersionCommand = {0x02, 'v', '7', '6', 0x03};

struct ChipFixture : ::testing::Test {
    std::shared_ptr<SimKobu> kobu;
    std::unique_ptr<Chip> chip;
    std::vector<std::string> notes;

    void SetUp() override {
        std::string error;
        kobu = SimKobu::Create("pace=1,latency=1", error);
        ASSERT_TRUE(kobu) << error;
        chip = std::make_unique<Chip>(kobu);
        chip->SetLog([this](const std::string& line) { notes.push_back(line); });
    }

    bool Control(const ControlSetup& s, Micros now = 0) {
        std::vector<std::uint8_t> data;
        return chip->Control(s, data, now);
    }

    // The settings libftdi sends for 57600 8N2, no flow control, latency 2 ms.
    void SetLikeTheKobu() {
        ASSERT_TRUE(Control(Out(3, 0xC034, 0)));
        ASSERT_TRUE(Control(Out(4, 0x1008)));
        ASSERT_TRUE(Control(Out(2, 0, 0)));
        ASSERT_TRUE(Control(Out(9, 2)));
    }

    // Polls one IN transfer of 4096 bytes submitted at `at` every 100 us until it completes.
    std::vector<std::uint8_t> In(Micros at, Micros* done = nullptr) {
        std::vector<std::uint8_t> out;
        for (Micros now = at; now < at + 1000 * kMs; now += 100)
            if (chip->BulkIn(4096, at, now, out)) {
                if (done) *done = now;
                return out;
            }
        ADD_FAILURE() << "the IN transfer never completed";
        return out;
    }

    // The payload bytes of transfers taken one after another until `until`, status removed.
    std::vector<std::uint8_t> Collect(Micros from, Micros until) {
        std::vector<std::uint8_t> data;
        Micros at = from;
        while (at < until) {
            Micros done = at;
            const std::vector<std::uint8_t> packets = In(at, &done);
            for (std::size_t p = 0; p < packets.size(); p += Chip::kPacketSize) {
                EXPECT_EQ(packets[p], 0x01);
                EXPECT_EQ(packets[p + 1] & 0x0E, 0) << "a line error was reported";
                const std::size_t end = std::min(packets.size(), p + Chip::kPacketSize);
                data.insert(data.end(), packets.begin() + std::ptrdiff_t(p + 2),
                            packets.begin() + std::ptrdiff_t(end));
            }
            at = done + 100;
        }
        return data;
    }
};

TEST(ChipBaud, DivisorsDecodeAsTheChipDoes) {
    struct Case {
        unsigned value, index;
        double baud;
    };
    const Case cases[] = {
        {0xC034, 0, 3000000.0 / 52.125}, // what libftdi sends for 57600
        {0x4138, 0, 9600},               // 312.5: libftdi's 9600 at open
        {0x4035, 1, 3000000.0 / 53.625}, // 56000 asked: the third fraction bit in wIndex
        {0x001A, 0, 3000000.0 / 26},     // 115200 asked
        {0x0000, 0, 3000000},            // the two special divisors
        {0x0001, 0, 2000000},
        {0x8001, 0, 0}, // a fraction on divisor 1 is not defined
    };
    for (const Case& c : cases)
        EXPECT_NEAR(BaudOfDivisor(c.value, c.index), c.baud, 0.01)
            << std::hex << c.value << " " << c.index;
}

TEST_F(ChipFixture, ControlRequestsSetTheLine) {
    SetLikeTheKobu();
    EXPECT_TRUE(Control(Out(1, 0x0100))); // DTR low
    const LineSettings& s = chip->Settings();
    EXPECT_NEAR(s.baud, 57553.96, 0.01);
    EXPECT_EQ(s.Format(), "8N2");
    EXPECT_EQ(s.flow, 0u);
    EXPECT_EQ(s.latencyMs, 2u);
    EXPECT_FALSE(s.dtr);
    EXPECT_TRUE(chip->MatchesKobu());

    std::vector<std::uint8_t> got;
    ASSERT_TRUE(chip->Control({0xC0, 0x0A, 0, 0, 1}, got, 0)); // latency read back
    EXPECT_EQ(got, std::vector<std::uint8_t>{2});
    ASSERT_TRUE(chip->Control({0xC0, 0x05, 0, 0, 2}, got, 0)); // modem status
    EXPECT_EQ(got, (std::vector<std::uint8_t>{0x01, 0x60}));

    EXPECT_FALSE(Control(Out(9, 0)));      // latency 0 is refused
    EXPECT_FALSE(Control(Out(4, 0x1809))); // 9 data bits, stop code 3
    EXPECT_FALSE(Control(Out(0x42, 0)));   // no such request
    EXPECT_EQ(chip->Settings().latencyMs, 2u);
}

TEST_F(ChipFixture, EveryWrongSettingIsCaught) {
    struct Case {
        const char* name;
        ControlSetup setup;
    };
    const Case cases[] = {
        {"56000 baud", Out(3, 0x4035, 1)}, {"115200 baud", Out(3, 0x001A)},
        {"8N1", Out(4, 0x0008)},           {"8E2", Out(4, 0x1208)},
        {"7N2", Out(4, 0x1007)},           {"RTS/CTS flow control", Out(2, 0, 0x0100)},
        {"break", Out(4, 0x5008)},
    };
    for (const Case& c : cases) {
        SetUp();
        SetLikeTheKobu();
        ASSERT_TRUE(Control(c.setup)) << c.name;
        EXPECT_FALSE(chip->MatchesKobu()) << c.name;
        chip->BulkOut(kVersionCommand.data(), kVersionCommand.size(), 0);
        EXPECT_EQ(kobu->Counters().transactions, 0) << c.name << ": the Kobu heard the frame";
        EXPECT_NE(notes.back().find("refused"), std::string::npos) << c.name;
    }
}

TEST_F(ChipFixture, AReplyReachesTheHostInStatusLedPacketsOnTheLatencyTimer) {
    SetLikeTheKobu();
    chip->BulkOut(kVersionCommand.data(), kVersionCommand.size(), 0);
    const std::vector<std::uint8_t> data = Collect(0, 20 * kMs);
    const std::string expected = "\x02"
                                 "11-1 SIM1.0"
                                 "58\x03";
    EXPECT_EQ(std::string(data.begin(), data.end()), expected);
}

TEST_F(ChipFixture, TheLatencyTimerDecidesWhenAnIdleChipAnswers) {
    // Power-up default: 16 ms, a status-only packet every time it runs out.
    std::vector<std::uint8_t> out;
    EXPECT_FALSE(chip->BulkIn(4096, 0, 15 * kMs, out));
    ASSERT_TRUE(chip->BulkIn(4096, 0, 16 * kMs, out));
    EXPECT_EQ(out, (std::vector<std::uint8_t>{0x01, 0x60}));
    ASSERT_TRUE(Control(Out(9, 2)));
    EXPECT_FALSE(chip->BulkIn(4096, 16 * kMs, 17 * kMs, out));
    ASSERT_TRUE(chip->BulkIn(4096, 16 * kMs, 18 * kMs, out));
    EXPECT_EQ(out.size(), 2u);
}

TEST_F(ChipFixture, LongDataComesInFullPacketsEachWithItsStatus) {
    std::string error;
    kobu = SimKobu::Create("pace=1,latency=1,hum=1", error); // a stray byte every ms
    chip = std::make_unique<Chip>(kobu);
    SetLikeTheKobu();
    ASSERT_TRUE(Control(Out(9, 100)));
    chip->BulkOut(kVersionCommand.data(), kVersionCommand.size(), 0); // starts the hum
    std::vector<std::uint8_t> out;
    ASSERT_TRUE(chip->BulkIn(4096, 0, 100 * kMs, out));
    // 15 reply bytes and about 100 stray ones: full packets of 62 data bytes, then a short one.
    ASSERT_GT(out.size(), Chip::kPacketSize);
    for (std::size_t p = 0; p < out.size(); p += Chip::kPacketSize) {
        EXPECT_EQ(out[p], 0x01);
        EXPECT_EQ(out[p + 1], 0x60);
    }
    EXPECT_NE(out.size() % Chip::kPacketSize, 0u) << "no short packet ended the transfer";
}

TEST_F(ChipFixture, PurgesClearTheirOwnDirectionOnly) {
    SetLikeTheKobu();
    chip->BulkOut(kVersionCommand.data(), kVersionCommand.size(), 0);
    // The reply has arrived in the chip by 10 ms. Purging what the host sent keeps it...
    ASSERT_TRUE(Control(Out(0, 1), 10 * kMs));
    EXPECT_FALSE(Collect(10 * kMs, 20 * kMs).empty());

    chip->BulkOut(kVersionCommand.data(), kVersionCommand.size(), 30 * kMs);
    // ...purging what waits for the host drops it.
    ASSERT_TRUE(Control(Out(0, 2), 40 * kMs));
    EXPECT_TRUE(Collect(40 * kMs, 50 * kMs).empty());
}

TEST_F(ChipFixture, AtTheWrongRateTheUnitsBytesArriveMangledWithAFramingError) {
    std::string error;
    kobu = SimKobu::Create("pace=1,hum=1", error); // a stray byte every ms
    chip = std::make_unique<Chip>(kobu);
    SetLikeTheKobu();
    chip->BulkOut(kVersionCommand.data(), 1, 0); // the line comes alive
    ASSERT_TRUE(Control(Out(3, 0x001A)));        // then 115200
    std::vector<std::uint8_t> out;
    ASSERT_TRUE(chip->BulkIn(4096, 0, 10 * kMs, out));
    ASSERT_GT(out.size(), 2u);
    EXPECT_EQ(out[1] & 0x08, 0x08);
}

TEST(UsbDevice, TellsTheHostWhatItIs) {
    UsbIdentity id;
    id.product = 0xFA21;
    id.description = "Tavra KOBU - Active USB Interface";
    id.serial = "KOBU1001";
    id.address = 7;
    UsbDevice device(id, nullptr);
    EXPECT_EQ(device.Node(), "/dev/bus/usb/001/007");
    const std::vector<std::uint8_t> d = device.Descriptors();
    ASSERT_EQ(d.size(), 18u + 32u);
    EXPECT_EQ(d[8] | d[9] << 8, 0x0403);
    EXPECT_EQ(d[10] | d[11] << 8, 0xFA21);
    EXPECT_EQ(d[12] | d[13] << 8, 0x0600); // the chip type libftdi reads: FT232R
    EXPECT_EQ(d[18 + 18 + 2], UsbDevice::kEndpointIn);
    EXPECT_EQ(d[18 + 25 + 2], UsbDevice::kEndpointOut);
    EXPECT_EQ(d[18 + 18 + 4], 64); // packets of 64 bytes

    std::vector<std::uint8_t> got;
    ASSERT_TRUE(device.Control({0x80, 6, 0x0302, 0x0409, 255}, got, 0));
    std::string text;
    for (std::size_t i = 2; i < got.size(); i += 2) text += char(got[i]);
    EXPECT_EQ(text, id.description);
    ASSERT_TRUE(device.Control({0x80, 6, 0x0302, 0x0409, 10}, got, 0));
    EXPECT_EQ(got.size(), 10u); // cut to what the host asked for
    EXPECT_FALSE(device.Control({0x80, 6, 0x0309, 0x0409, 255}, got, 0));
}

TEST(UsbDevice, GoneAfterTheAskedNumberOfWrites) {
    UsbDevice device(UsbIdentity{}, nullptr);
    device.unplugAfter = 2;
    const std::uint8_t byte = 0;
    device.BulkOut(&byte, 1, 0);
    EXPECT_FALSE(device.Gone());
    device.BulkOut(&byte, 1, 0);
    EXPECT_TRUE(device.Gone());
}

} // namespace
} // namespace ftdiemu
