// Every fault the simulator injects, as the host sees it on the wire.
#include "sim/wire_fixture.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace kivo::sim::test {
namespace {

int Struck(const Wire& wire, Fault f) {
    return wire.device->Counters().faults[int(f)];
}

TEST(SimFaults, DropSendsNothingOnce) {
    Wire wire("drop=1x");
    EXPECT_EQ(wire.Ask("O"), "");
    EXPECT_EQ(wire.Ask("O"), kAckByte);
    EXPECT_EQ(Struck(wire, Fault::Drop), 1);
}

TEST(SimFaults, CorruptKeepsThePayloadButBreaksTheChecksum) {
    Wire wire("corrupt=1x");
    std::string got = wire.Ask("v");
    const std::string good = Frame("11-1 SIM1.0");
    ASSERT_EQ(got.size(), good.size());
    EXPECT_FALSE(ValidFrame(got)) << Hex(got);
    EXPECT_EQ(got.substr(0, got.size() - 3), good.substr(0, good.size() - 3));
    EXPECT_EQ(wire.Ask("v"), good);
    // A single byte has no checksum: corruption waits for the next frame.
    wire.device->Plant(Fault::Corrupt, 1);
    EXPECT_EQ(wire.Ask("O"), kAckByte);
    EXPECT_FALSE(ValidFrame(wire.Ask("c1")));
}

TEST(SimFaults, NakRefusesAMemoryCommandAndStoresNothing) {
    Wire wire("nak=2x");
    const Image before = wire.device->Memory();
    EXPECT_EQ(wire.Ask("O"), kAckByte); // not a memory command
    EXPECT_EQ(wire.Ask("W000001AB"), kNakByte);
    EXPECT_EQ(wire.device->Memory(), before);
    EXPECT_EQ(wire.Ask("R000001"), kNakByte);
    EXPECT_EQ(wire.Ask("W000001AB"), kAckByte);
    EXPECT_EQ(wire.Ask("R000001"), Frame("AB"));
}

TEST(SimFaults, SplitSendsTwoPiecesWithTheGapBetween) {
    Wire wire("split=1x,splitgap=300,latency=0");
    const std::string whole = Frame("00000000");
    std::string first = wire.Ask("c1", 250);
    std::int64_t firstAt = wire.lastByteMs;
    ASSERT_LT(first.size(), whole.size());
    ASSERT_GT(first.size(), 0u);
    std::string second = wire.Collect(300);
    EXPECT_EQ(first + second, whole);
    EXPECT_EQ(wire.lastByteMs - firstAt, 300);
}

TEST(SimFaults, LowerPutsHexLettersInLowerCase) {
    Wire wire("lower=1x");
    Image m = wire.device->Memory();
    m[0] = 0xAB; // payload "AB": sum 0x83; in lower case "ab": sum 0xC3
    wire.device->SetMemory(m);
    EXPECT_EQ(Hex(wire.Ask("R000001")), Hex(std::string("\x02") + "abc3\x03"));
    EXPECT_EQ(wire.Ask("R000001"), Frame("AB"));
    // A reply without any hex letter cannot show the fault: it waits for one that can.
    m[0] = 0x12; // "12" sums to 0x63
    wire.device->SetMemory(m);
    wire.device->Plant(Fault::Lower, 1);
    EXPECT_EQ(wire.Ask("R000001"), Frame("12"));
    EXPECT_EQ(Struck(wire, Fault::Lower), 1);
}

TEST(SimFaults, NoiseAddsStrayBytesAroundTheReply) {
    Wire wire("noise=4x,seed=3");
    for (int i = 0; i < 4; ++i) {
        std::string got = wire.Ask("O");
        ASSERT_GT(got.size(), 1u);
        ASSERT_LE(got.size(), 4u);
        EXPECT_TRUE(got.front() == '\x06' || got.back() == '\x06') << Hex(got);
        for (char c : got) EXPECT_TRUE(c != '\x02' && c != '\x03' && c != '\x15') << Hex(got);
    }
    EXPECT_EQ(wire.Ask("O"), kAckByte);
}

TEST(SimFaults, SpikeMakesTheReplyLate) {
    Wire wire("spike=1x,spikems=600,latency=2");
    EXPECT_EQ(wire.Ask("O", 700), kAckByte);
    EXPECT_EQ(wire.lastByteMs - wire.sentMs, 602);
    EXPECT_EQ(wire.Ask("O", 700), kAckByte);
    EXPECT_EQ(wire.lastByteMs - wire.sentMs, 2);
}

TEST(SimFaults, IgnoreAcknowledgesAWriteWithoutStoringIt) {
    Wire wire("ignore=1x");
    const Image before = wire.device->Memory();
    EXPECT_EQ(wire.Ask("W000001AB"), kAckByte);
    EXPECT_EQ(wire.device->Memory(), before);
    EXPECT_EQ(wire.device->Counters().storedWrites, 0);
    EXPECT_EQ(wire.Ask("W000001AB"), kAckByte);
    EXPECT_EQ(wire.device->Memory()[0], 0xAB);
}

TEST(SimFaults, ShortAnswersTwoCharactersTooFew) {
    Wire wire("short=1x");
    wire.device->SetMemory(Pattern());
    std::string got = wire.Ask("R000010");
    ASSERT_TRUE(ValidFrame(got)) << Hex(got);
    EXPECT_EQ(got.size(), 4u + 30u);
    EXPECT_EQ(wire.Ask("R000010").size(), 4u + 32u);
}

TEST(SimFaults, DoubleSendsAReadReplyAgainLater) {
    Wire wire("double=1x,doublems=20,latency=0");
    wire.device->SetMemory(Pattern());
    const std::string reply = Frame("03");
    EXPECT_EQ(wire.Ask("R000001", 10), reply);
    EXPECT_EQ(wire.Collect(30), reply); // the copy
    EXPECT_EQ(wire.lastByteMs - wire.sentMs, 20);
    EXPECT_EQ(wire.Ask("R000001", 50), reply);
}

TEST(SimFaults, LateMemoryRepliesAreOvertakenByTheKobusOwnAnswers) {
    Wire wire("late=1x,latems=600,latency=0");
    wire.device->SetMemory(Pattern());
    wire.Send(Frame("R000001"));
    EXPECT_EQ(wire.Ask("O", 100), kAckByte); // the Kobu answers at once
    EXPECT_EQ(wire.Collect(700), Frame("03"));
    EXPECT_EQ(wire.lastByteMs, 600);
}

TEST(SimFaults, BadCodeReportsALearnedCodeThatIsNotHex) {
    Wire wire("badcode=1x,learndelay=0,seed=4");
    EXPECT_EQ(wire.Ask("s1"), kAckByte);
    const std::string got = wire.Ask("c1");
    ASSERT_TRUE(ValidFrame(got)) << Hex(got);
    EXPECT_TRUE(got.substr(1, 4) == "ZZZZ" || got.substr(1, 4) == "0G00") << Hex(got);
    EXPECT_EQ(wire.Ask("c1").substr(1, 4), "4C3A");
}

TEST(SimFaults, HumSendsAStrayByteEveryPeriodWhateverHappens) {
    Wire wire("hum=150");
    wire.Send(Frame("O"));
    std::string got; // the ACK, then a byte every 150 ms: never quiet for long
    while (wire.clock.NowMs() < 400) {
        std::uint8_t b[16];
        if (wire.port->WaitReadable(50)) got.append(b, b + wire.port->ReadAvailable(b, 16));
    }
    ASSERT_EQ(got.size(), 3u) << Hex(got);
    EXPECT_EQ(got.substr(0, 1), kAckByte);
    for (char c : got.substr(1)) EXPECT_TRUE(c != '\x02' && c != '\x03' && c != '\x06');
}

TEST(SimFaults, MuteAndSilentRefusalLeaveMemoryCommandsUnanswered) {
    Wire mute("mute=16");
    EXPECT_EQ(mute.Ask("R000010"), "");
    EXPECT_EQ(mute.Ask("W000010" + std::string(32, '0')), "");
    EXPECT_EQ(mute.Ask("R00000F").size(), 4u + 30u);
    EXPECT_EQ(mute.Ask("O"), kAckByte);

    Wire silent("size=256,refuse=silent");
    EXPECT_EQ(silent.Ask("R01FF01"), "");
    EXPECT_EQ(silent.Ask("W010001AB"), "");
    EXPECT_EQ(silent.Ask("R00FF01").size(), 6u);
    EXPECT_EQ(Wire("size=256").Ask("R01FF01"), kNakByte);
}

TEST(SimFaults, DisconnectLeavesTheTransportLost) {
    Wire wire("disconnect=2");
    EXPECT_EQ(wire.Ask("O"), kAckByte);
    EXPECT_FALSE(wire.port->Lost());
    EXPECT_EQ(wire.Ask("R000001").size(), 6u); // the second transaction is still answered
    EXPECT_TRUE(wire.port->Lost());
    EXPECT_EQ(wire.port->Write(reinterpret_cast<const std::uint8_t*>("\x02O4F\x03"), 5), 0u);
    EXPECT_FALSE(wire.port->WaitReadable(250));
    wire.port->Close();
    EXPECT_EQ(wire.port->Open(), Transport::OpenResult::Failed);

    wire.device->Reconnect();
    EXPECT_EQ(wire.port->Open(), Transport::OpenResult::Open);
    EXPECT_EQ(wire.Ask("O"), kAckByte);
}

// Whether each of `n` "O" commands got its answer.
std::string AnswerPattern(const std::string& options, int n) {
    Wire wire(options);
    std::string pattern;
    for (int i = 0; i < n; ++i) pattern += wire.Ask("O").empty() ? '.' : 'A';
    return pattern;
}

TEST(SimFaults, RatesReplayWithTheSameSeed) {
    const std::string a = AnswerPattern("drop=0.5,seed=7", 60);
    EXPECT_EQ(AnswerPattern("drop=0.5,seed=7", 60), a);
    // Another fault switched on does not move the drops around.
    EXPECT_EQ(AnswerPattern("drop=0.5,seed=7,noise=0.5,spike=0.3,spikems=10", 60), a);
    EXPECT_NE(AnswerPattern("drop=0.5,seed=8", 60), a);
    const auto dropped = std::count(a.begin(), a.end(), '.');
    EXPECT_GT(dropped, 15);
    EXPECT_LT(dropped, 45);
    EXPECT_EQ(AnswerPattern("drop=1", 5), ".....");
}

} // namespace
} // namespace kivo::sim::test
