#include "link/commands.h"

#include "sim_fixture.h"

namespace kivo {
namespace {

using sim::Fault;

class Commands : public test::SimLink {
protected:
    void SetUp() override {
        SimLink::SetUp();
        ASSERT_EQ(link.OpenLink(), LinkOpen::Open);
    }
    void Reopen(const std::string& options) {
        link.CloseLink();
        Device(options);
        ASSERT_EQ(link.OpenLink(), LinkOpen::Open);
        commands.clear();
    }
};

TEST_F(Commands, ChunkingOfRanges) {
    EXPECT_EQ(ChunkCount(0x000, 0x0F6), 16);
    EXPECT_EQ(ChunkCount(0x103, 0x1FF), 16);
    EXPECT_EQ(ChunkCount(0x000, 0x1FF), 32);
    EXPECT_EQ(ChunkCount(0x1FF, 0x1FF), 1);

    Image img{};
    EXPECT_EQ(ReadRange(link, img, 0x1FF, 0x1FF), LinkResult::Ok);
    EXPECT_EQ(commands.back(), "R01FF01");
    commands.clear();
    EXPECT_EQ(ReadRange(link, img, 0x000, 0x0F6), LinkResult::Ok);
    ASSERT_EQ(commands.size(), 16u);
    EXPECT_EQ(commands.front(), "R000010");
    EXPECT_EQ(commands.back(), "R00F007");

    commands.clear();
    for (unsigned a = 0; a < 512; ++a) img[a] = static_cast<std::uint8_t>(a * 5);
    EXPECT_EQ(WriteRange(link, img, 0x103, 0x1FF), LinkResult::Ok);
    ASSERT_EQ(commands.size(), 16u);
    EXPECT_EQ(commands.front().substr(0, 7), "W010310");
    EXPECT_EQ(commands.front().size(), 7u + 32u);
    EXPECT_EQ(commands.front().substr(7, 6), "0F1419"); // bytes 0x103.. as upper-case hex
    EXPECT_EQ(commands.back().substr(0, 7), "W01F30D");
    EXPECT_EQ(commands.back().size(), 7u + 26u);
}

TEST_F(Commands, ReadAndWriteRoundTrip) {
    Image img{};
    for (unsigned a = 0; a < 512; ++a) img[a] = static_cast<std::uint8_t>(255 - a);
    int progressCalls = 0;
    EXPECT_EQ(WriteRange(link, img, 0x000, 0x0F6,
                         [&](int done, int total) {
                             EXPECT_EQ(total, 16);
                             EXPECT_EQ(done, ++progressCalls);
                         }),
              LinkResult::Ok);
    Image back{};
    EXPECT_EQ(ReadRange(link, back, 0x000, 0x0F6), LinkResult::Ok);
    EXPECT_TRUE(std::equal(img.begin(), img.begin() + 0xF7, back.begin()));
    EXPECT_EQ(back[0xF7], 0); // outside the range: untouched
}

TEST_F(Commands, ProbeAndWholeImageOfBothSizes) {
    EXPECT_EQ(ProbeImageSize(link), 512u);
    Image img;
    img.fill(0xEE);
    EXPECT_EQ(ReadWholeImage(link, img), LinkResult::Ok);
    EXPECT_EQ(img, device->Memory());

    Reopen("size=256");
    EXPECT_EQ(ProbeImageSize(link), 256u);
    img.fill(0xEE);
    EXPECT_EQ(ReadWholeImage(link, img), LinkResult::Ok);
    EXPECT_TRUE(std::equal(img.begin(), img.begin() + 256, device->Memory().begin()));
    for (unsigned a = 0x100; a < 0x200; ++a) ASSERT_EQ(img[a], 0) << a;

    Reopen("unit=0");
    EXPECT_EQ(CheckUnit(link), LinkResult::NoAnswer);
    EXPECT_EQ(ProbeImageSize(link), 0u);
    img.fill(0xEE);
    EXPECT_EQ(ReadWholeImage(link, img), LinkResult::ReadFailed);
    EXPECT_EQ(img, Image{});
}

TEST_F(Commands, OnlyARefusingUnitIsTakenForA256ByteOne) {
    // A 512-byte unit whose 0x1FF is lost to the line, or refused three times by chance, is
    // never taken for one without the extended area: its extended area would be lost.
    for (Fault f : {Fault::Short, Fault::Corrupt, Fault::Nak, Fault::Drop, Fault::Spike}) {
        for (int count : {3, 6}) {
            SCOPED_TRACE(std::to_string(static_cast<int>(f)) + " x" + std::to_string(count));
            Reopen("spikems=1500");
            device->Plant(f, count);
            EXPECT_NE(ProbeImageSize(link), 256u);
            device->Plant(f, count);
            unsigned found = 1;
            Image img{};
            if (ReadWholeImage(link, img, {}, &found) == LinkResult::Ok) {
                EXPECT_EQ(found, 512u);
                EXPECT_EQ(img, device->Memory());
            } else {
                EXPECT_NE(found, 256u);
            }
        }
    }
}

TEST_F(Commands, A256ByteUnitIsFoundWhetherItRefusesOrStaysSilent) {
    for (const char* refusal : {"refuse=nak", "refuse=silent"}) {
        SCOPED_TRACE(refusal);
        Reopen(std::string("size=256,") + refusal);
        const std::int64_t start = clock.NowMs();
        EXPECT_EQ(ProbeImageSize(link), 256u);
        unsigned found = 0;
        Image img;
        img.fill(0xEE);
        EXPECT_EQ(ReadWholeImage(link, img, {}, &found), LinkResult::Ok);
        EXPECT_EQ(found, 256u);
        EXPECT_TRUE(std::equal(img.begin(), img.begin() + 256, device->Memory().begin()));
        EXPECT_TRUE(std::all_of(img.begin() + 256, img.end(), [](std::uint8_t b) { return !b; }));
        // Refusals cost only their wire time and the short tail after a lone NAK; silence costs
        // each attempt its wait and a quiet line after it.
        if (refusal == std::string("refuse=nak")) {
            EXPECT_LT(clock.NowMs() - start, 1000);
        }
    }
}

TEST_F(Commands, RetriesRecoverFromTwoBadReplies) {
    for (Fault f : {Fault::Drop, Fault::Corrupt, Fault::Nak, Fault::Lower, Fault::Short}) {
        SCOPED_TRACE(static_cast<int>(f));
        commands.clear();
        device->Plant(f, 2);
        Image img{};
        EXPECT_EQ(ReadRange(link, img, 0x010, 0x01F), LinkResult::Ok);
        EXPECT_EQ(commands, std::vector<std::string>(3, "R001010")); // nothing else is sent
        EXPECT_TRUE(
            std::equal(img.begin() + 0x10, img.begin() + 0x20, device->Memory().begin() + 0x10));
    }
}

TEST_F(Commands, ALateReplyNeverPassesForTheNextChunk) {
    // Replies carry no address: a chunk's reply that comes after its wait would otherwise be
    // taken as the next chunk's bytes. Late by more than one wait, and by several; in order
    // (the replies behind it wait too) and overtaken by quicker ones.
    for (const char* late : {"spikems=600", "spikems=1500"}) {
        SCOPED_TRACE(late);
        Reopen(late);
        for (int n = 1; n <= 3; ++n) {
            device->Plant(Fault::Spike, n);
            Image img{};
            if (ReadRange(link, img, 0x000, 0x03F) == LinkResult::Ok) {
                EXPECT_TRUE(std::equal(img.begin(), img.begin() + 0x40, device->Memory().begin()));
            }
            device->Plant(Fault::Spike, n);
            EXPECT_EQ(ReadWholeImage(link, img), LinkResult::Ok);
            EXPECT_EQ(img, device->Memory());
        }
    }
}

TEST_F(Commands, AChunkThatNeverArrivesFailsTheRead) {
    // Three bad replies: the chunk's bytes never came, so the read must not succeed.
    for (Fault f : {Fault::Short, Fault::Nak, Fault::Lower, Fault::Corrupt, Fault::Drop}) {
        SCOPED_TRACE(static_cast<int>(f));
        device->Plant(f, 3);
        Image img;
        img.fill(0x77);
        EXPECT_EQ(ReadRange(link, img, 0x000, 0x01F), LinkResult::ReadFailed);
        EXPECT_EQ(img[0x00], 0x77);                   // the failed chunk keeps what the buffer held
        EXPECT_EQ(img[0x10], device->Memory()[0x10]); // the next chunk was still read
    }
    // Two chunks that never come: the unit has stopped answering, the rest is not asked for.
    device->Plant(Fault::Drop, 6);
    commands.clear();
    Image img{};
    EXPECT_EQ(ReadRange(link, img, 0x000, 0x03F), LinkResult::ReadFailed);
    EXPECT_EQ(commands.size(), 6u);
}

TEST_F(Commands, WriteCountsOnlyARefusalOnTheLastAttempt) {
    Image img{};
    img.fill(0x5A);
    device->Plant(Fault::Nak, 3);
    EXPECT_EQ(WriteRange(link, img, 0x020, 0x02F), LinkResult::WriteFailed);
    device->Plant(Fault::Drop, 3);
    EXPECT_EQ(WriteRange(link, img, 0x020, 0x02F), LinkResult::Ok); // the read-back catches it
    device->Plant(Fault::Nak, 2);
    EXPECT_EQ(WriteRange(link, img, 0x030, 0x03F), LinkResult::Ok);
    EXPECT_EQ(device->Memory()[0x030], 0x5A);
}

TEST_F(Commands, KobuVersion) {
    struct Case {
        std::string version;
        LinkResult result;
    } cases[] = {
        {"11-1 SIM1.0", LinkResult::Ok},      {"12-1xxxxxxx", LinkResult::Ok},
        {"21-1xxxxxxx", LinkResult::Ok},      {"10-1xxxxxxx", LinkResult::OldKobu},
        {"01-1xxxxxxx", LinkResult::OldKobu}, {"11-2xxxxxxx", LinkResult::OldKobu},
        {"11-1xxxxxx", LinkResult::NoAnswer},
    };
    for (const auto& c : cases) {
        Reopen("version=" + c.version);
        EXPECT_EQ(CheckKobuVersion(link, "11-1"), c.result) << c.version;
    }
    std::string v;
    Reopen("");
    EXPECT_EQ(ReadKobuVersion(link, v), LinkResult::Ok);
    EXPECT_EQ(v, "11-1 SIM1.0");
}

TEST_F(Commands, LearningAndTransmitterInfo) {
    std::string code;
    EXPECT_EQ(StartLearning(link), LinkResult::Ok);
    EXPECT_EQ(PollLearnedCode(link, code), LinkResult::Ok);
    EXPECT_EQ(code, "0000");
    clock.Advance(2000);
    EXPECT_EQ(PollLearnedCode(link, code), LinkResult::Ok);
    EXPECT_EQ(code, "4C3A");
    EXPECT_EQ(StopLearning(link), LinkResult::Ok);

    std::string reply;
    EXPECT_EQ(RequestInfo(link, "4C3A", "2728292A2B2F"), LinkResult::Ok);
    clock.Advance(2000);
    EXPECT_EQ(PollInfo(link, reply), LinkResult::Ok);
    EXPECT_EQ(reply.size(), 28u);
    EXPECT_EQ(reply.substr(0, 6), "4C3A27");
    EXPECT_EQ(WriteInfo(link, "4C3A",
                        "270C280029"
                        "03"),
              LinkResult::Ok);
    clock.Advance(2000);
    EXPECT_EQ(PollWrite(link, reply), LinkResult::Ok);
    EXPECT_EQ(reply, "03");
}

TEST_F(Commands, AClosedOrVanishedLinkFailsFast) {
    link.CloseLink();
    Image img{};
    std::int64_t t = clock.NowMs();
    EXPECT_EQ(CheckUnit(link), LinkResult::NoAnswer);
    EXPECT_EQ(ReadRange(link, img, 0, 0x1FF), LinkResult::ReadFailed);
    EXPECT_EQ(WriteRange(link, img, 0, 0x1FF), LinkResult::Ok); // silent chunks are not counted
    EXPECT_EQ(ProbeImageSize(link), 0u);
    EXPECT_EQ(clock.NowMs(), t);

    ASSERT_EQ(link.OpenLink(), LinkOpen::Open);
    device->DisconnectAfter(5);
    EXPECT_EQ(ReadWholeImage(link, img), LinkResult::ReadFailed);
    EXPECT_LT(clock.NowMs() - t, 3000); // not 32 chunks x 3 attempts x 500 ms
}

} // namespace
} // namespace kivo
