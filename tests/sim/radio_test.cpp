// Learning a transmitter and reading and writing a transmitter's registers through the Kobu.
#include "sim/wire_fixture.h"

#include <gtest/gtest.h>

namespace kivo::sim::test {
namespace {

TEST(SimRadio, LearningHearsTheTransmitterAfterTheDelay) {
    Wire wire("learn=BEEF,learndelay=1500,latency=0");
    wire.clock.SleepUntilMs(1000);
    ASSERT_EQ(wire.Ask("s1", 1), kAckByte);
    wire.clock.SleepUntilMs(1000 + 1499);
    EXPECT_EQ(wire.Ask("c1", 1), Frame("00000000"));
    wire.clock.SleepUntilMs(1000 + 1500);
    EXPECT_EQ(wire.Ask("c1", 1), Frame("BEEF01C8"));
    EXPECT_EQ(wire.Ask("s0"), kAckByte);
    EXPECT_EQ(wire.Ask("c1"), Frame("BEEF01C8")); // the code last heard stays
    // A new round starts from nothing again.
    EXPECT_EQ(wire.Ask("s1"), kAckByte);
    EXPECT_EQ(wire.Ask("c1"), Frame("00000000"));
}

TEST(SimRadio, NothingIsHeardWithoutListeningOrWithoutATransmitter) {
    Wire idle("learndelay=0");
    idle.clock.SleepUntilMs(10000);
    EXPECT_EQ(idle.Ask("c1"), Frame("00000000")); // no "s1"

    Wire none("learn=none,learndelay=0");
    none.Ask("s1");
    none.clock.SleepUntilMs(60000);
    EXPECT_EQ(none.Ask("c1"), Frame("00000000"));
}

// The full read request of the info dialog.
const std::string kReadAll = "2728292A2B2F";

TEST(SimRadio, InfoReadAnswersAfterTheDelayByResult) {
    struct Case {
        const char* options;
        std::string ready; // exact reply bytes once the result is there
    };
    const Case cases[] = {
        {"", Frame("4C3A2718280529032A012B2C2F22")},
        {"inforesult=fail", Frame("04")},
        {"inforesult=silent", ""},
    };
    for (const auto& c : cases) {
        Wire wire(std::string("infodelay=1500,latency=0,") + c.options);
        ASSERT_EQ(wire.Ask("a4C3A" + kReadAll, 1), kAckByte) << c.options;
        const std::int64_t asked = wire.sentMs;
        const std::string notYet = c.ready.empty() ? "" : Frame("");
        wire.clock.SleepUntilMs(asked + 1499);
        EXPECT_EQ(Hex(wire.Ask("A", 1)), Hex(notYet)) << c.options;
        wire.clock.SleepUntilMs(asked + 1500);
        EXPECT_EQ(Hex(wire.Ask("A", 1)), Hex(c.ready)) << c.options;
        EXPECT_EQ(Hex(wire.Ask("A", 1)), Hex(c.ready)) << c.options << " (asked again)";
    }
}

TEST(SimRadio, InfoReadOfTheOtherBuiltInTransmittersAndAnAddedOne) {
    Wire wire("infodelay=0,tx=ABCD:FF0A0102FF1A");
    const std::pair<std::string, std::string> cases[] = {
        {"7B10", "7B10270C280029012A002B072FFF"},
        {"2E95", "2E9527A8280A29022A002B002F21"},
        {"ABCD", "ABCD27FF280A29012A022BFF2F1A"},
    };
    for (const auto& [code, data] : cases) {
        ASSERT_EQ(wire.Ask("a" + code + kReadAll), kAckByte);
        EXPECT_EQ(wire.Ask("A"), Frame(data)) << code;
    }
    // A code no transmitter has: never triggered, so never ready.
    ASSERT_EQ(wire.Ask("a1234" + kReadAll), kAckByte);
    wire.clock.SleepUntilMs(wire.clock.NowMs() + 60000);
    EXPECT_EQ(wire.Ask("A"), Frame(""));
}

TEST(SimRadio, MalformedRequestsAreRefused) {
    Wire wire("");
    for (const char* c : {"a4C3A", "a4C3A2", "a4c3a27", "a4C3", "f4C3A", "f4C3A270", "f4C3A27G0"})
        EXPECT_EQ(wire.Ask(c), kNakByte) << c;
}

TEST(SimRadio, InfoWriteChangesTheRegistersOnlyWhenItSucceeds) {
    struct Case {
        const char* options;
        std::string data;
        std::string ready;
        bool changed;
    };
    const Case cases[] = {
        {"", "270C28002902", Frame("03"), true},
        {"writeresult=fail", "270C28002902", Frame("04"), false},
        {"writeresult=silent", "270C28002902", "", false},
        {"", "270C2A05", Frame("04"), false}, // the alarm count cannot be written
    };
    for (const auto& c : cases) {
        Wire wire(std::string("infodelay=1500,latency=0,") + c.options);
        ASSERT_EQ(wire.Ask("f4C3A" + c.data, 1), kAckByte) << c.options;
        const std::int64_t asked = wire.sentMs;
        wire.clock.SleepUntilMs(asked + 1499);
        EXPECT_EQ(Hex(wire.Ask("F", 1)), Hex(c.ready.empty() ? "" : Frame(""))) << c.options;
        wire.clock.SleepUntilMs(asked + 1500);
        EXPECT_EQ(Hex(wire.Ask("F", 1)), Hex(c.ready)) << c.options;

        const SimTransmitter* t = wire.device->Transmitter("4C3A");
        ASSERT_NE(t, nullptr);
        EXPECT_EQ(t->registers.at(kRegInterval), c.changed ? 0x0C : 24) << c.options;
        EXPECT_EQ(t->registers.at(kRegMode), c.changed ? 2 : 3) << c.options;
        EXPECT_EQ(t->registers.at(kRegCountHigh), 1) << c.options;
    }
}

TEST(SimRadio, AWrittenValueIsReadBack) {
    Wire wire("infodelay=0");
    wire.Ask("f7B10271828FF2900");
    ASSERT_EQ(wire.Ask("F"), Frame("03"));
    wire.Ask("a7B10" + kReadAll);
    EXPECT_EQ(wire.Ask("A"), Frame("7B10271828FF29002A002B072FFF"));
}

} // namespace
} // namespace kivo::sim::test
