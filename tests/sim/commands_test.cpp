// The memory commands and the Kobu's own commands, byte for byte on the wire.
#include "sim/wire_fixture.h"

#include <gtest/gtest.h>

namespace kivo::sim::test {
namespace {

std::string HexOf(const Image& m, unsigned first, unsigned count) {
    static const char d[] = "0123456789ABCDEF";
    std::string s;
    for (unsigned a = first; a < first + count; ++a) s += {d[m[a] >> 4], d[m[a] & 15]};
    return s;
}

struct Case {
    const char* options;
    std::string command;
    std::string reply; // exact bytes; empty: silence
};

TEST(SimCommands, AnswersEachCommandAsTheDevicesWould) {
    const Image p = Pattern();
    const Case cases[] = {
        {"", "O", kAckByte},
        {"unit=0", "O", kNakByte},
        {"unit=0", "R01FF01", ""},
        {"unit=0", "W0000010A", ""},
        {"", "R01FF01", Frame(HexOf(p, 0x1FF, 1))},
        {"size=256", "R01FF01", kNakByte}, // how the probe tells the sizes apart
        {"size=256", "R00FF01", Frame(HexOf(p, 0xFF, 1))},
        {"size=256", "R00F010", Frame(HexOf(p, 0xF0, 16))},
        {"size=256", "R00F110", kNakByte},
        {"", "R000010", Frame(HexOf(p, 0, 16))},
        {"", "R01F010", Frame(HexOf(p, 0x1F0, 16))},
        {"", "R01F110", kNakByte},  // one byte past the end
        {"", "R000011", kNakByte},  // more than 16 bytes
        {"", "R000000", kNakByte},  // no bytes
        {"", "R01ff01", kNakByte},  // the devices speak upper case only
        {"", "R01FF", kNakByte},    // too short
        {"", "R01FF010", kNakByte}, // too long
        {"", "W0000", kNakByte},
        {"", "W000002AA", kNakByte},   // fewer data digits than the count says
        {"", "W000001AAAA", kNakByte}, // more
        {"", "W000001aa", kNakByte},   // lower-case data
        {"", "W000001G0", kNakByte},   // not hex
        {"size=256", "W01000100", kNakByte},
        {"", "W01FF0100", kAckByte},
        {"", "v", Frame("11-1 SIM1.0")},
        {"version=10-1 OLD KOBU", "v", Frame("10-1 OLD KOBU")},
        {"unit=0", "v", Frame("11-1 SIM1.0")}, // the Kobu answers for itself
        {"", "c1", Frame("00000000")},
        {"", "A", Frame("")}, // nothing asked yet: not ready
        {"", "F", Frame("")},
        {"", "s1", kAckByte},
        {"", "s0", kAckByte},
        {"", "s2", kNakByte},
        {"", "c0", kNakByte},
        {"", "vv", kNakByte},
        {"", "OO", kNakByte},
        {"", "AA", kNakByte},
        {"", "X", kNakByte},
        {"", "", kNakByte}, // a valid frame around nothing
    };
    for (const auto& c : cases) {
        Wire wire(c.options);
        wire.device->SetMemory(Pattern());
        EXPECT_EQ(Hex(wire.Ask(c.command)), Hex(c.reply))
            << "options \"" << c.options << "\", command \"" << c.command << "\"";
    }
}

TEST(SimCommands, ReadReplyMatchesTheWorkedExample) {
    Wire wire("");
    Image m = wire.device->Memory();
    m[0x1FF] = 0x41;
    wire.device->SetMemory(m);
    EXPECT_EQ(Hex(wire.Ask("R01FF01")), "02 34 31 36 35 03");
}

TEST(SimCommands, WriteThenReadRoundTrip) {
    Wire wire("");
    EXPECT_EQ(wire.Ask("W01030411223344"), kAckByte);
    EXPECT_EQ(wire.Ask("R010304"), Frame("11223344"));
    EXPECT_EQ(wire.device->Counters().storedWrites, 1);
}

TEST(SimCommands, ReadOnlyBytesKeepTheirValuesButTheWriteIsAccepted) {
    for (const char* options : {"", "size=256"}) {
        Wire wire(options);
        const Image before = wire.device->Memory();
        const unsigned size = wire.device->Size();
        // 0xF0..0xFF on both sizes, and 0x100..0x10F where it exists.
        std::string data(32, 'E');
        EXPECT_EQ(wire.Ask("W00F010" + data), kAckByte) << options;
        if (size == 512) {
            EXPECT_EQ(wire.Ask("W010010" + data), kAckByte);
        }
        const Image after = wire.device->Memory();
        for (unsigned a = 0xF0; a < size && a < 0x110; ++a) {
            bool readOnly = a >= 0xF7 && a <= 0x102;
            EXPECT_EQ(after[a], readOnly ? before[a] : 0xEE) << options << " address " << a;
        }
    }
}

TEST(SimCommands, ProductAndFirmwareBytesComeFromTheOptions) {
    Wire wire("firmware=06.3A,variant=22,serial=1193046");
    const Image m = wire.device->Memory();
    EXPECT_EQ(m[0x100], 0x06);
    EXPECT_EQ(m[0x101], 0x3A);
    EXPECT_EQ(m[0x102], 22);
    EXPECT_EQ(m[0xFD], 0x12);
    EXPECT_EQ(m[0xFE], 0x34);
    EXPECT_EQ(m[0xFF], 0x56);
    EXPECT_EQ(wire.Ask("R010003"), Frame("063A16"));
}

TEST(SimCommands, DamagedFramesGetNoAnswer) {
    Wire wire("");
    std::string bad = Frame("O");
    bad[2] = '5'; // checksum 5F instead of 4F
    const std::string cases[] = {
        bad,
        "\x02O4f\x03",                             // lower-case checksum digits
        "O4F\x03",                                 // no STX
        "\x02\x03",                                // no checksum at all
        "\x02O4F",                                 // no ETX (and then nothing)
        "\x02" + std::string(120, 'R') + "00\x03", // overlong
    };
    for (const auto& c : cases) {
        wire.Send(c);
        EXPECT_EQ(Hex(wire.Collect()), "") << Hex(c);
    }
    EXPECT_EQ(wire.device->Counters().transactions, 0);
    EXPECT_GE(wire.device->Counters().garbageFrames, 4);
    // The frame left open above is abandoned by the next STX; that frame is answered.
    EXPECT_EQ(wire.Ask("O"), kAckByte);
    // Noise around a frame does not hide it.
    wire.Send(std::string("\xFF\x00zz", 4) + Frame("O") + "\x7F");
    EXPECT_EQ(wire.Collect(), kAckByte);
}

TEST(SimCommands, CountsCommandsByLetter) {
    Wire wire("");
    for (const char* c : {"O", "R000001", "R000101", "W00000100", "v", "Q"}) wire.Ask(c);
    const auto& n = wire.device->Counters();
    EXPECT_EQ(n.transactions, 6);
    EXPECT_EQ(n.commands.at('O'), 1);
    EXPECT_EQ(n.commands.at('R'), 2);
    EXPECT_EQ(n.commands.at('W'), 1);
    EXPECT_EQ(n.commands.at('Q'), 1);
}

} // namespace
} // namespace kivo::sim::test
