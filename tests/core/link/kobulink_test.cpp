#include "link/kobulink.h"

#include "link/trace.h"
#include "scripted_transport.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

namespace kivo {
namespace {

using test::Frame;
using test::ScriptedWire;

std::string Bytes(const std::vector<std::uint8_t>& v) {
    return std::string(v.begin(), v.end());
}

TEST(Frames, CarryTheCommandAndItsChecksum) {
    EXPECT_EQ(KobuLink::BuildFrame("O"), std::string("\x02O4F\x03"));
    EXPECT_EQ(KobuLink::BuildFrame("s1"), std::string("\x02s1A4\x03"));
    EXPECT_EQ(KobuLink::BuildFrame("R01FF01"), std::string("\x02R01FF01A0\x03"));
}

class LinkTest : public ::testing::Test {
protected:
    ScriptedWire wire;
    KobuLink link{wire.Factory()};
    void SetUp() override { ASSERT_EQ(link.OpenLink(), LinkOpen::Open); }
};

TEST_F(LinkTest, SendFrameWritesExactlyTheFrame) {
    EXPECT_EQ(link.SendFrame("O"), 5u);
    ASSERT_EQ(wire.written.size(), 1u);
    EXPECT_EQ(Bytes(wire.written[0]), std::string("\x02\x4F\x34\x46\x03"));
    EXPECT_EQ(link.SendFrame(""), 0u);
    EXPECT_EQ(link.SendFrame(std::string(200, 'W')), 0u); // longer than the frame buffer
    EXPECT_EQ(wire.written.size(), 1u);
}

TEST_F(LinkTest, ValidFramesAndSingleBytes) {
    struct Case {
        std::string wire;
        int expected;
        int count;
        std::string text;
    } cases[] = {
        {"\x02"
         "4165\x03",
         2, 2, "41"}, // payload 41, checksum 0x65
        {"\x02"
         "4166\x03",
         2, 0, ""}, // wrong checksum
        {"\x02"
         "1a92"
         "\x03",
         2, 2, "1a"}, // the link checks only the sum
        {"\x02"
         "ZZB4"
         "\x03",
         2, 2, "ZZ"}, // checksum 0xB4
        {"\x02"
         "ZZb4"
         "\x03",
         2, 0, ""},                    // the same in lower case: refused
        {"\x06", 1, 1, "\x06"},        // ACK
        {"\x15", 2, 1, "\x15"},        // a lone NAK where a frame was expected
        {"\x06\x41", 1, 0, ""},        // ACK followed by noise
        {"x" + Frame("41"), 2, 0, ""}, // noise in front of a frame
        {"\x02\x03", 2, 0, ""},        // too short to be a frame
        {Frame(""), 2, 0, ""},         // empty payload: count 0
    };
    for (const auto& c : cases) {
        wire.Arrive(c.wire);
        Reply r = link.ReceiveReply(250, c.expected);
        EXPECT_EQ(r.count, c.count) << testing::PrintToString(c.wire);
        if (c.count) {
            EXPECT_EQ(r.text, c.text);
        }
        wire.incoming.clear();
    }
}

TEST_F(LinkTest, PiecesWithinTheGapAreJoined) {
    std::string frame = Frame("0123456789ABCDEF");
    wire.Arrive(frame.substr(0, 6), 5);
    wire.Arrive(frame.substr(6), 155); // 150 ms after the first piece
    EXPECT_EQ(link.ReceiveReply(250, 2).count, 16);
    wire.incoming.clear();

    wire.Arrive(frame.substr(0, 6), 5);
    wire.Arrive(frame.substr(6), 255); // 250 ms after: too late
    EXPECT_EQ(link.ReceiveReply(250, 2).count, 0);
}

TEST_F(LinkTest, TimingOfSilenceAndOfALoneNak) {
    std::int64_t start = wire.clock.NowMs();
    EXPECT_EQ(link.ReceiveReply(250, 2).count, 0);
    EXPECT_EQ(wire.clock.NowMs() - start, 500); // the first wait, then a fresh deadline

    start = wire.clock.NowMs();
    wire.Arrive("\x15", 10);
    EXPECT_EQ(link.ReceiveReply(250, 2).count, 1);
    EXPECT_EQ(wire.clock.NowMs() - start, 30); // it came, then a short tail

    start = wire.clock.NowMs();
    wire.Arrive(Frame("41"), 3);
    EXPECT_EQ(link.ReceiveReply(250, 2).count, 2);
    EXPECT_EQ(wire.clock.NowMs() - start, 3); // a complete reply is taken at once
}

TEST_F(LinkTest, ALongReplyIsCutAndRefused) {
    wire.Arrive(Frame(std::string(100, '0')));
    EXPECT_EQ(link.ReceiveReply(250, 2).count, 0);
}

TEST_F(LinkTest, TransactPurgesStaleInputFirst) {
    wire.Arrive("\x06", 0); // left over from an earlier exchange
    wire.respond = [](ScriptedWire& w, const std::vector<std::uint8_t>&) {
        w.Arrive(Frame("4142"), 2);
    };
    Reply r = link.Transact("v", 2);
    EXPECT_EQ(r.count, 4);
    EXPECT_EQ(r.text, "4142");
}

// Replies carry no address: after anything unexpected the next command waits until the line
// has been quiet for kQuietMs, dropping whatever comes meanwhile.
TEST_F(LinkTest, AfterAnAnomalyTheNextCommandWaitsForAQuietLine) {
    std::vector<std::int64_t> sentAt;
    wire.respond = [&](ScriptedWire& w, const std::vector<std::uint8_t>&) {
        sentAt.push_back(w.clock.NowMs());
        if (sentAt.size() == 1) {
            w.Arrive("\x06\x41", 1);    // garbage: the real answer may still come...
            w.Arrive(Frame("41"), 100); // ...and it does, late
        } else {
            w.Arrive(Frame("42"), 1);
        }
    };
    EXPECT_EQ(link.Transact("v", 2).count, 0);
    EXPECT_EQ(link.Anomalies(), 1);
    const Reply r = link.Transact("v", 2);
    EXPECT_EQ(r.text, "42"); // not the late "41"
    ASSERT_EQ(sentAt.size(), 2u);
    EXPECT_EQ(sentAt[1] - sentAt[0], 100 + KobuLink::kQuietMs); // quiet since the late reply
    EXPECT_EQ(link.Anomalies(), 2);                             // the late reply was counted
    // On a clean line nothing is waited for.
    const std::int64_t before = wire.clock.NowMs();
    EXPECT_EQ(link.Transact("v", 2).text, "42");
    EXPECT_EQ(wire.clock.NowMs() - before, 1);
    EXPECT_EQ(link.Anomalies(), 2);
}

TEST_F(LinkTest, BytesWaitingBeforeACommandAndLateRepliesAreAnomalies) {
    wire.respond = [](ScriptedWire& w, const std::vector<std::uint8_t>&) {
        w.Arrive(Frame("42"), 1);
    };
    wire.Arrive("\x06", 0); // a second answer to something earlier
    EXPECT_EQ(link.Transact("v", 2).text, "42");
    EXPECT_EQ(link.Anomalies(), 1);

    // A reply that comes only after the first wait is taken, but marks the line as troubled.
    wire.respond = [](ScriptedWire& w, const std::vector<std::uint8_t>&) {
        w.Arrive(Frame("43"), KobuLink::kReplyWaitMs + 50);
    };
    EXPECT_EQ(link.Transact("v", 2).text, "43");
    EXPECT_EQ(link.Anomalies(), 2);
}

TEST_F(LinkTest, NoStrayByteStretchesAWait) {
    // The start of a frame, then a byte every 150 ms that never ends it, for longer than
    // anything may take: each piece comes within the gap that the next one is waited for.
    wire.Arrive("\x02", 10);
    for (int ms = 160; ms < 20000; ms += 150) wire.Arrive("A", ms);
    std::int64_t start = wire.clock.NowMs();
    EXPECT_EQ(link.ReceiveReply(KobuLink::kReplyWaitMs, 2).count, 0);
    EXPECT_LE(wire.clock.NowMs() - start, KobuLink::kReplyCapMs);
    start = wire.clock.NowMs();
    EXPECT_FALSE(link.AwaitQuiet());
    EXPECT_LE(wire.clock.NowMs() - start, KobuLink::kQuietCapMs);
}

TEST_F(LinkTest, ACancelledOrExpiredLinkEndsEveryTransactionAtOnce) {
    bool cancelled = true;
    link.SetCancel([&] { return cancelled; });
    EXPECT_EQ(link.Transact("O", 1).count, 0);
    EXPECT_TRUE(wire.written.empty());
    EXPECT_EQ(wire.clock.NowMs(), 0);
    cancelled = false;

    // A deadline cuts a wait short; the budget of an inner operation ends with it.
    {
        LinkBudget outer(link, 2000);
        {
            LinkBudget inner(link, 100);
            EXPECT_EQ(link.Transact("O", 1).count, 0);
            EXPECT_EQ(wire.clock.NowMs(), 100);
        }
        EXPECT_EQ(link.Deadline(), 2000);
    }
    EXPECT_EQ(link.Deadline(), 0);
}

TEST(LinkState, ClosedLinksDoNothing) {
    ScriptedWire wire;
    KobuLink link(wire.Factory());
    EXPECT_EQ(link.SendFrame("O"), 0u);
    EXPECT_EQ(link.ReceiveReply(250, 1).count, 0);
    EXPECT_EQ(link.Transact("O", 1).count, 0);
    EXPECT_EQ(wire.clock.NowMs(), 0); // and costs no time
    link.CloseLink();
    EXPECT_EQ(wire.closes, 0);
}

TEST(LinkState, OpenFailures) {
    ScriptedWire wire;
    KobuLink link(wire.Factory());
    wire.openFails = true;
    EXPECT_EQ(link.OpenLink(), LinkOpen::Failed);
    EXPECT_FALSE(link.IsOpen());
    wire.openFails = false;
    wire.notConfigured = true;
    EXPECT_EQ(link.OpenLink(), LinkOpen::Failed);
    EXPECT_TRUE(link.IsOpen()); // the caller closes it on its way out
    link.CloseLink();
    EXPECT_EQ(wire.closes, 1);
    KobuLink none(TransportFactory{});
    EXPECT_EQ(none.OpenLink(), LinkOpen::Failed);
}

TEST(LinkState, ALostDeviceClosesTheLinkAtOnce) {
    ScriptedWire wire;
    KobuLink link(wire.Factory());
    ASSERT_EQ(link.OpenLink(), LinkOpen::Open);
    wire.lost = true;
    EXPECT_EQ(link.Transact("O", 1).count, 0);
    EXPECT_FALSE(link.IsOpen());
    std::int64_t t = wire.clock.NowMs();
    EXPECT_EQ(link.Transact("O", 1).count, 0);
    EXPECT_EQ(wire.clock.NowMs(), t);
}

TEST(LinkTraceTest, LogsFramesAndReplies) {
    test::TempDir dir;
    ScriptedWire wire;
    KobuLink link(wire.Factory());
    link.SetTrace(LinkTrace::Open(dir.file("trace.txt")));
    ASSERT_EQ(link.OpenLink(), LinkOpen::Open);
    wire.respond = [](ScriptedWire& w, const std::vector<std::uint8_t>&) { w.Arrive("\x06"); };
    link.Transact("O", 1);
    link.CloseLink();
    std::string trace = dir.ReadText("trace.txt");
    EXPECT_NE(trace.find("-> 02 4F 34 46 03  |.O4F.|"), std::string::npos) << trace;
    EXPECT_NE(trace.find("<- 06"), std::string::npos) << trace;
}

} // namespace
} // namespace kivo
