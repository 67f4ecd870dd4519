#include "radio/transmitterinfo.h"

#include <gtest/gtest.h>

namespace kivo {
namespace {

TEST(TransmitterInfo, TakesTheReplyApartByPosition) {
    auto info = ParseInfoReply("12AB27182805290232012B2C2F22");
    ASSERT_TRUE(info);
    EXPECT_EQ(info->interval, 0x18);
    EXPECT_EQ(info->limit, 0x05);
    EXPECT_EQ(info->mode, 2);
    EXPECT_EQ(info->userAlarms, 300); // 01 and 2C
    EXPECT_EQ(info->version, "22");
    auto lower = ParseInfoReply("12AB27ff28zz29032A002B0a2F1A");
    ASSERT_TRUE(lower);
    EXPECT_EQ(lower->interval, 255); // lower-case digits count
    EXPECT_EQ(lower->limit, 0);      // anything else counts as 0
    EXPECT_EQ(lower->userAlarms, 10);
    EXPECT_FALSE(ParseInfoReply("12AB2718"));
    EXPECT_FALSE(ParseInfoReply(std::string(29, '0')));
}

TEST(TransmitterInfo, ModesAndTheirBoxes) {
    for (int mode = 0; mode <= 3; ++mode) {
        auto boxes = BoxesForMode(mode);
        ASSERT_TRUE(boxes);
        EXPECT_EQ(ModeFromBoxes(boxes->testAlarm, boxes->powerSave), mode);
    }
    EXPECT_EQ(BoxesForMode(2)->testAlarm, false);
    EXPECT_EQ(BoxesForMode(2)->powerSave, false);
    EXPECT_EQ(BoxesForMode(0)->powerSave, true);
    EXPECT_FALSE(BoxesForMode(4));
}

TEST(TransmitterInfo, VersionsAndThePowerSaveBox) {
    struct Case {
        const char* version;
        const char* shown;
        bool powerSave;
    } cases[] = {{"FF", "2.0", false}, {"22", "2.2", true}, {"1A", "1.A", false},
                 {"21", "2.1", false}, {"30", "3.0", true}, {"2A", "2.A", true}};
    for (const auto& c : cases) {
        EXPECT_EQ(VersionText(c.version), c.shown);
        EXPECT_EQ(PowerSaveShown(c.version), c.powerSave) << c.version;
    }
}

TEST(TransmitterInfo, WriteDataAndItsChecks) {
    EXPECT_EQ(InfoWriteData(24, 0, 2), "2718280029"
                                       "02");
    EXPECT_EQ(InfoWriteData(255, 255, 1), "27FF28FF2901");
    EXPECT_EQ(CheckInfoFields("0", "5"), std::vector<int>{13816});
    EXPECT_EQ(CheckInfoFields("", ""), std::vector<int>{13816});
    EXPECT_EQ(CheckInfoFields("256", "256"), (std::vector<int>{13816, 13817}));
    EXPECT_TRUE(CheckInfoFields("1", "").empty());
}

TEST(TransmitterInfo, PollReplies) {
    EXPECT_EQ(ReadPollResult("04"), InfoPoll::Failed);
    EXPECT_EQ(ReadPollResult(""), InfoPoll::Waiting);
    EXPECT_EQ(ReadPollResult("1234567"), InfoPoll::Waiting);
    EXPECT_EQ(ReadPollResult("12345678"), InfoPoll::Done);
    EXPECT_EQ(WritePollResult("03"), InfoPoll::Done);
    EXPECT_EQ(WritePollResult("04"), InfoPoll::Failed);
    EXPECT_EQ(WritePollResult("0"), InfoPoll::Waiting);
}

} // namespace
} // namespace kivo
