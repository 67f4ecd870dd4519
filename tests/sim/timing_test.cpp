// Latency, pacing at 57600 baud, and the transport's waits on the virtual clock.
#include "sim/wire_fixture.h"

#include "sim/simtransport.h"

#include <chrono>
#include <gtest/gtest.h>

namespace kivo::sim::test {
namespace {

TEST(SimTiming, WireTimeIsElevenBitsAt57600Baud) {
    EXPECT_EQ(SimKobu::WireTime(36), 6875); // 36 * 11 / 57600 s, exactly
    EXPECT_EQ(SimKobu::WireTime(1), 191);   // 190.97 us, rounded up
    EXPECT_EQ(SimKobu::WireTime(0), 0);
}

TEST(SimTiming, PacedReadTakesItsWireTimeBothWays) {
    std::string error;
    auto kobu = SimKobu::Create("pace=1,latency=0", error);
    ASSERT_TRUE(kobu) << error;
    const std::string frame = Frame("R000010"); // 11 bytes
    kobu->Receive(reinterpret_cast<const std::uint8_t*>(frame.data()), frame.size(), 0);
    const Micros complete = SimKobu::WireTime(11);
    ASSERT_TRUE(kobu->NextDue());
    EXPECT_EQ(*kobu->NextDue(), complete + SimKobu::WireTime(1));

    std::uint8_t buffer[64];
    const Micros last = complete + 6875; // 36 bytes: STX, 32 digits, 2 checksum digits, ETX
    EXPECT_EQ(kobu->TakeDue(last - 1, buffer, sizeof buffer), 35u);
    EXPECT_EQ(kobu->TakeDue(last, buffer, sizeof buffer), 1u);
    EXPECT_EQ(buffer[0], 0x03);
}

TEST(SimTiming, PacedRepliesQueueBehindEachOther) {
    std::string error;
    auto kobu = SimKobu::Create("pace=1,latency=0", error);
    ASSERT_TRUE(kobu) << error;
    // Two commands written at once: the second arrives after the first on the line, and its
    // answer can only start when the first answer is through.
    const std::string frames = Frame("v") + Frame("v"); // 5 + 5 bytes
    kobu->Receive(reinterpret_cast<const std::uint8_t*>(frames.data()), frames.size(), 0);
    std::uint8_t buffer[64];
    const Micros firstDone = SimKobu::WireTime(5) + SimKobu::WireTime(15);
    EXPECT_EQ(kobu->TakeDue(firstDone, buffer, sizeof buffer), 15u);
    EXPECT_EQ(kobu->TakeDue(firstDone + SimKobu::WireTime(15) - 1, buffer, sizeof buffer), 14u);
    EXPECT_EQ(kobu->TakeDue(firstDone + SimKobu::WireTime(15), buffer, sizeof buffer), 1u);
}

TEST(SimTiming, LatencyOnTheVirtualClock) {
    Wire wire("latency=20");
    wire.clock.SleepUntilMs(5000);
    EXPECT_EQ(wire.Ask("O"), kAckByte);
    EXPECT_EQ(wire.lastByteMs, 5020);
    // Nothing more comes: a wait costs exactly its time-out.
    EXPECT_FALSE(wire.port->WaitReadable(250));
    EXPECT_EQ(wire.clock.NowMs(), 5020 + 250 + 250);
}

TEST(SimTiming, WaitReadableStopsAtTheFirstByte) {
    Wire wire("latency=30");
    wire.Send(Frame("O"));
    EXPECT_FALSE(wire.port->WaitReadable(29));
    EXPECT_EQ(wire.clock.NowMs(), 29);
    std::uint8_t b = 0;
    EXPECT_EQ(wire.port->ReadAvailable(&b, 1), 0u);
    EXPECT_TRUE(wire.port->WaitReadable(250));
    EXPECT_EQ(wire.clock.NowMs(), 30);
    EXPECT_EQ(wire.port->ReadAvailable(&b, 1), 1u);
    EXPECT_EQ(b, 0x06);
}

TEST(SimTiming, PurgeDropsOnlyWhatHasArrived) {
    Wire wire("latency=10");
    wire.Send(Frame("O"));
    wire.clock.SleepUntilMs(10);
    wire.port->Purge(true, true);
    EXPECT_EQ(wire.Collect(), "");
    // A reply still on its way is not stopped by a purge: it comes afterwards.
    wire.Send(Frame("O"));
    wire.port->Purge(true, true);
    EXPECT_EQ(wire.Collect(), kAckByte);
}

TEST(SimTiming, MemorySurvivesClosingAndReopening) {
    Wire wire("");
    EXPECT_EQ(wire.Ask("W00100212AB"), kAckByte);
    wire.Send(Frame("O"));
    wire.port->Close(); // the answer on its way is lost with the port
    auto second = MakeSimTransport(wire.device, wire.clock);
    ASSERT_EQ(second->Open(), Transport::OpenResult::Open);
    EXPECT_FALSE(second->WaitReadable(250));
    const std::string frame = Frame("R001002");
    second->Write(reinterpret_cast<const std::uint8_t*>(frame.data()), frame.size());
    ASSERT_TRUE(second->WaitReadable(250));
    std::uint8_t buffer[16];
    std::size_t n = second->ReadAvailable(buffer, sizeof buffer);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), n), Frame("12AB"));
}

TEST(SimTiming, ClosedTransportDoesNothing) {
    Wire wire("");
    wire.port->Close();
    EXPECT_EQ(wire.port->Write(reinterpret_cast<const std::uint8_t*>("\x02O4F\x03"), 5), 0u);
    EXPECT_FALSE(wire.port->WaitReadable(250));
    EXPECT_EQ(wire.device->Counters().transactions, 0);
    EXPECT_FALSE(wire.port->Lost());
}

TEST(SimTiming, OpenFailsWhileUnplugged) {
    Wire wire("");
    wire.device->Disconnect();
    EXPECT_TRUE(wire.port->Lost());
    EXPECT_EQ(wire.port->Open(), Transport::OpenResult::Failed);
    wire.device->Reconnect();
    EXPECT_EQ(wire.port->Open(), Transport::OpenResult::Open);
    EXPECT_EQ(wire.Ask("O"), kAckByte);
}

TEST(SimTiming, SteadyClockSleepsUntilTheReply) {
    std::string error;
    auto kobu = SimKobu::Create("latency=20", error);
    ASSERT_TRUE(kobu) << error;
    SteadyClock clock;
    auto port = MakeSimTransport(kobu, clock);
    ASSERT_EQ(port->Open(), Transport::OpenResult::Open);
    const std::string frame = Frame("O");
    const auto start = std::chrono::steady_clock::now();
    port->Write(reinterpret_cast<const std::uint8_t*>(frame.data()), frame.size());
    ASSERT_TRUE(port->WaitReadable(250));
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_GE(waited, std::chrono::milliseconds(19));
    EXPECT_LT(waited, std::chrono::milliseconds(200));
    std::uint8_t b = 0;
    EXPECT_EQ(port->ReadAvailable(&b, 1), 1u);
    EXPECT_EQ(b, 0x06);
}

} // namespace
} // namespace kivo::sim::test
