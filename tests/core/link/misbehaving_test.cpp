// Adapters that misbehave in ways a clean simulator never does: replies doubled, late and
// overtaken, silence instead of a refusal, a line that hums while the unit says nothing. Every
// success must be true, and every operation must end in bounded time.
#include "link/commands.h"
#include "link/procedures.h"

#include "sim_fixture.h"
#include "support/tempdir.h"

#include <algorithm>

namespace kivo {
namespace {

// The shipped default's shape: from 0x120 on every 16-byte block is alike, so a reply taken
// for the neighbouring chunk's compares equal there. The unit adds its firmware bytes.
Image BlocksAlike() {
    Image image{};
    for (unsigned a = 0; a < 0x120; ++a) image[a] = static_cast<std::uint8_t>(a * 7 + 1);
    for (unsigned a = 0x120; a < 0x200; ++a) image[a] = static_cast<std::uint8_t>(0x30 + a % 16);
    return image;
}

class Misbehaving : public test::SimLink {
protected:
    // A unit whose memory is `image` (its own read-only bytes kept) behind the adapter.
    void Unit(const std::string& options, const Image& image) {
        Device(options);
        Image memory = device->Memory();
        for (unsigned a = 0; a < device->Size(); ++a)
            if (a < mm::ReadOnlyFirst || a > mm::ReadOnlyLast) memory[a] = image[a];
        device->SetMemory(memory);
    }
    Image UnitBytes() const {
        Image truth{};
        const Image m = device->Memory();
        std::copy(m.begin(), m.begin() + device->Size(), truth.begin());
        return truth;
    }
    std::int64_t Took(const std::function<void()>& run) {
        const std::int64_t start = clock.NowMs();
        run();
        return clock.NowMs() - start;
    }
    test::RecordingUi ui;
};

// Doubled replies, copies soon and late, and replies held back past the wait while the
// Kobu's own answers overtake them. A doubled reply costs time but no truth: the read gets
// through. A reply always later than the wait cannot be told from another command's: the read
// fails.
const struct Line {
    const char* options;
    bool getsThrough;
} kLines[] = {
    {"double=1,doublems=2", true},
    {"double=1,doublems=20", true},
    {"double=1,doublems=20,pace=1,latency=2", true},
    {"double=1,doublems=300", true},
    {"double=0.3,doublems=5", true},
    {"late=1,latems=600", false},
    {"late=0.3,latems=600", false},
    {"late=1,latems=300", false},
    {"double=0.2,late=0.2,drop=0.05", false},
};

std::string Options(const Line& line, int seed) {
    return std::string(line.options) + ",seed=" + std::to_string(seed);
}

TEST_F(Misbehaving, AReadIsTheUnitsBytesOrAFailure) {
    for (const Line& line : kLines) {
        for (int seed = 1; seed <= 4; ++seed) {
            SCOPED_TRACE(Options(line, seed));
            Unit(Options(line, seed), BlocksAlike());
            KivoData data;
            unsigned size = 0;
            const ReadOutcome outcome = ReadUnit(link, data, ui, size);
            if (line.getsThrough) {
                EXPECT_EQ(outcome, ReadOutcome::Read);
            }
            if (outcome == ReadOutcome::Read) {
                EXPECT_EQ(data.image, UnitBytes());
                EXPECT_EQ(size, 512u);
            }
        }
    }
}

TEST_F(Misbehaving, AVerificationFindsTheLastBlockThatDiffers) {
    // The unit takes every write without storing it; it differs from the configuration only
    // in its last block. A read-back that took the neighbouring chunk's reply would verify.
    Image unit = BlocksAlike();
    std::fill(unit.begin() + 0x1F3, unit.end(), 0x5A);
    for (const Line& line : kLines) {
        for (int seed = 1; seed <= 4; ++seed) {
            SCOPED_TRACE(Options(line, seed));
            Unit(Options(line, seed) + ",ignore=1", unit);
            KivoData data;
            data.image = BlocksAlike();
            EXPECT_NE(WriteUnit(link, data, ui), WriteOutcome::Verified);
            std::vector<Difference> differences;
            const VerifyOutcome outcome = VerifyUnit(link, data, ui, differences);
            EXPECT_NE(outcome, VerifyOutcome::Equal);
            if (line.getsThrough) {
                ASSERT_EQ(outcome, VerifyOutcome::Differs);
                EXPECT_EQ(differences.front().addr, 0x1F3u);
                EXPECT_EQ(differences.size(), 13u);
            }
        }
    }
}

TEST_F(Misbehaving, TheBackupHoldsTheUnitFromBefore) {
    for (const Line& line : kLines) {
        SCOPED_TRACE(line.options);
        test::TempDir dir;
        Unit(line.options, BlocksAlike());
        const Image before = UnitBytes();
        KivoData data;
        data.image = Image{};
        WriteOptions options = WriteOptions::Editor();
        options.backupFolder = dir.file("Backup/");
        std::string kept;
        options.backupWritten = [&](const std::string& path) { kept = path; };
        WriteUnit(link, data, ui, options);
        if (!kept.empty()) {
            KivoData backup;
            ASSERT_TRUE(backup.LoadImageFile(kept));
            EXPECT_EQ(backup.image, before);
        }
    }
}

TEST_F(Misbehaving, A256ByteUnitThatStaysSilentAboveItsMemoryIsReadAndWritten) {
    Image image{};
    for (unsigned a = 0; a < 256; ++a) image[a] = static_cast<std::uint8_t>(a ^ 0x5A);
    Unit("size=256,refuse=silent", image);
    KivoData data;
    unsigned size = 0;
    EXPECT_EQ(ReadUnit(link, data, ui, size), ReadOutcome::Read);
    EXPECT_EQ(size, 256u);
    EXPECT_EQ(data.image, UnitBytes());
    for (unsigned a = 0x10; a < 0x20; ++a) data.image[a] = 0x44;
    EXPECT_EQ(WriteUnit(link, data, ui), WriteOutcome::Verified);
    EXPECT_EQ(device->Memory()[0x10], 0x44);
    EXPECT_EQ(ui.Boxes().back(), "two:15004+15033");
}

// A unit that answers no memory command (or none of 16 bytes) behind a line that brings a
// stray byte every 150 ms: no stray byte may stretch a wait, so every operation ends soon.
TEST_F(Misbehaving, ASilentUnitOnANoisyLineEndsEveryOperationInTime) {
    for (const char* line : {"hum=150,mute=1", "hum=150,mute=16", "mute=1", "mute=16"}) {
        SCOPED_TRACE(line);
        Unit(line, BlocksAlike());
        KivoData data;
        unsigned size = 0;
        EXPECT_LT(Took([&] { EXPECT_NE(ReadUnit(link, data, ui, size), ReadOutcome::Read); }),
                  30000);
        for (WriteOptions options :
             {WriteOptions::Editor(), WriteOptions::Wizard(), WriteOptions::Basic(0x10, 512)}) {
            options.backupFolder = "";
            EXPECT_LT(Took([&] {
                          EXPECT_NE(WriteUnit(link, data, ui, options), WriteOutcome::Verified);
                      }),
                      60000);
        }
        EXPECT_FALSE(link.IsOpen());
    }
}

} // namespace
} // namespace kivo
