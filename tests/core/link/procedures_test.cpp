#include "link/procedures.h"

#include "app/strtable.h"
#include "data/codec.h"
#include "link/commands.h"
#include "sim_fixture.h"
#include "support/tempdir.h"

namespace kivo {
namespace {

using sim::Fault;
using Events = std::vector<std::string>;

class Procedures : public test::SimLink {
protected:
    // A configuration that the simulated unit does not hold yet.
    void SetUp() override {
        SimLink::SetUp();
        data.image = device->Memory();
        for (unsigned a = 0x20; a < 0x28; ++a) data.image[a] = 0x12;
        data.image[0x120] = 0x33;
        data.image[0xF8] = 0x99; // read-only: never written
    }
    std::size_t Writes() const { return Count('W'); }
    bool FirmwareRead() const {
        for (const auto& c : commands)
            if (c == "R010003") return true;
        return false;
    }

    KivoData data;
    test::RecordingUi ui;
};

TEST_F(Procedures, ReadUnitBringsTheWholeImage) {
    unsigned size = 0;
    int shown = 0;
    auto outcome = ReadUnit(link, data, ui, size, [&] {
        ++shown;
        return -1;
    });
    EXPECT_EQ(outcome, ReadOutcome::Read);
    EXPECT_EQ(size, 512u);
    EXPECT_EQ(data.image, device->Memory());
    EXPECT_EQ(data.reference, data.image);
    EXPECT_EQ(data.imageSource, SourceUnit);
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(ui.events, (Events{"status:" + Str(13804), "status:" + Str(13805), "info:13805"}));
    EXPECT_EQ(ui.lastProgress, std::make_pair(35, 35));
    EXPECT_FALSE(ui.cursor);
    EXPECT_FALSE(link.IsOpen());
}

TEST_F(Procedures, ReadUnitReportsAnImageTheControlsCannotShow) {
    unsigned size = 0;
    Image mem = device->Memory();
    mem[0xC2] = 0;
    device->SetMemory(mem);
    ReadUnit(link, data, ui, size, [] { return 0xC2; });
    EXPECT_EQ(ui.Boxes(), (Events{"error:15023,0,194", "info:13805"}));
}

TEST_F(Procedures, ReadUnitOfAnOldUnit) {
    Device("size=256");
    data.image.fill(0x44);
    unsigned size = 0;
    EXPECT_EQ(ReadUnit(link, data, ui, size), ReadOutcome::Read);
    EXPECT_EQ(size, 256u);
    for (unsigned a = 0x100; a < 0x200; ++a) ASSERT_EQ(data.image[a], 0) << a;
}

TEST_F(Procedures, ReadUnitFailures) {
    struct Case {
        const char* options;
        ReadOutcome outcome;
        int text;
    } cases[] = {
        {"unit=0", ReadOutcome::NoUnit, 15008},
        {"disconnect=6", ReadOutcome::ReadFailed, 13806},
    };
    for (const auto& c : cases) {
        Device(c.options);
        test::RecordingUi u;
        KivoData d;
        unsigned size = 0;
        EXPECT_EQ(ReadUnit(link, d, u, size), c.outcome) << c.options;
        EXPECT_EQ(u.events.back(), "error:" + std::to_string(c.text)) << c.options;
        EXPECT_EQ(d.imageSource, SourceDefault); // nothing taken over
        EXPECT_FALSE(link.IsOpen());
    }
    KobuLink none{TransportFactory{}};
    unsigned size = 0;
    EXPECT_EQ(ReadUnit(none, data, ui, size), ReadOutcome::NoKobu);
    EXPECT_EQ(ui.events, (Events{"status:" + Str(15009), "error:15009"}));
}

TEST_F(Procedures, VerifyUnitListsWhatDiffersInTheWrittenRanges) {
    std::vector<Difference> differences;
    // The unit's own bytes and those beyond a write's ranges do not count.
    data.image = device->Memory();
    data.image[0xF8] ^= 0xFF;
    EXPECT_EQ(VerifyUnit(link, data, ui, differences), VerifyOutcome::Equal);
    EXPECT_EQ(ui.Boxes(), Events{"info:16052"});
    data.image[0x120] ^= 0x01;
    data.image[0x005] ^= 0x80;
    EXPECT_EQ(VerifyUnit(link, data, ui, differences), VerifyOutcome::Differs);
    ASSERT_EQ(differences.size(), 2u);
    EXPECT_EQ(differences[0].addr, 0x005u);
    EXPECT_EQ(differences[0].first, data.image[0x005]);
    EXPECT_EQ(differences[0].second, device->Memory()[0x005]);
    EXPECT_EQ(differences[1].addr, 0x120u);
    EXPECT_EQ(ui.Boxes().back(), "error:15005");
    EXPECT_EQ(Count('W'), 0u);
    EXPECT_FALSE(link.IsOpen());

    Device("unit=0");
    EXPECT_EQ(VerifyUnit(link, data, ui, differences), VerifyOutcome::NoUnit);
    EXPECT_TRUE(differences.empty());
}

TEST_F(Procedures, WriteUnitWritesTheDesignedRangesAndVerifies) {
    EXPECT_EQ(WriteUnit(link, data, ui), WriteOutcome::Verified);
    EXPECT_EQ(Writes(), 32u);
    Image mem = device->Memory();
    EXPECT_TRUE(std::equal(mem.begin(), mem.begin() + 0xF7, data.image.begin()));
    EXPECT_TRUE(std::equal(mem.begin() + 0x103, mem.end(), data.image.begin() + 0x103));
    EXPECT_NE(mem[0xF8], 0x99);
    EXPECT_EQ(ui.events, (Events{"status:" + Str(15001), "status:" + Str(15002),
                                 "status:" + Str(15003), "info:15004"}));
    EXPECT_EQ(ui.repaints, 2);
    EXPECT_EQ(data.imageSource, SourceDefault); // a write changes neither source nor image
    EXPECT_FALSE(ui.cursor);
}

TEST_F(Procedures, WriteToAnOldUnitEndsWithTheTwoPartBox) {
    Device("size=256");
    EXPECT_EQ(WriteUnit(link, data, ui), WriteOutcome::Verified);
    EXPECT_EQ(Writes(), 16u);
    EXPECT_EQ(ui.Boxes(), (Events{"two:15004+15033"}));
}

TEST_F(Procedures, WriteFailuresEndWithTheirMessage) {
    struct Case {
        const char* options;
        WriteOutcome outcome;
        Events boxes;
    } cases[] = {
        {"unit=0", WriteOutcome::NoUnit, {"error:15008"}},
        {"nak=1", WriteOutcome::NoUnit, {"error:15008"}}, // the probe is refused too
        {"ignore=1", WriteOutcome::VerifyFailed, {"error:15005"}},
        {"disconnect=40", WriteOutcome::VerifyFailed, {"error:15005"}},
    };
    for (const auto& c : cases) {
        Device(c.options);
        test::RecordingUi u;
        EXPECT_EQ(WriteUnit(link, data, u), c.outcome) << c.options;
        EXPECT_EQ(u.Boxes(), c.boxes) << c.options;
        EXPECT_FALSE(link.IsOpen());
        EXPECT_FALSE(u.cursor);
    }
}

TEST_F(Procedures, ARefusedWriteChunkIsAWriteFailure) {
    // A NAK on all three attempts of every chunk: 15006, and for basic programming 15007.
    for (auto [options, text] : {std::make_pair(WriteOptions::Editor(), 15006),
                                 std::make_pair(WriteOptions::Basic(0, 512), 15007)}) {
        Device("");
        test::RecordingUi u;
        swallow = [this](const std::string& c) {
            if (c[0] == 'W') device->Plant(Fault::Nak, 1);
            return false;
        };
        EXPECT_EQ(WriteUnit(link, data, u, options), WriteOutcome::WriteFailed);
        swallow = {};
        EXPECT_EQ(u.events[u.events.size() - 2], "status:" + Str(15006));
        EXPECT_EQ(u.events.back(), "error:" + std::to_string(text));
    }
}

TEST_F(Procedures, NoKobu) {
    KobuLink none{TransportFactory{}};
    EXPECT_EQ(WriteUnit(none, data, ui), WriteOutcome::NoKobu);
    EXPECT_EQ(ui.events, (Events{"status:" + Str(15009), "error:15009"}));
    test::RecordingUi u;
    EXPECT_EQ(WriteUnit(none, data, u, WriteOptions::Wizard()), WriteOutcome::NoKobu);
    EXPECT_EQ(u.events, (Events{"error:15009"})); // a box only
}

struct CompatCase {
    const char* name;
    const char* unit;
    std::vector<std::pair<unsigned, std::uint8_t>> bytes;
    Events boxes;
    bool firmwareRead;
};

class Compatibility : public Procedures, public ::testing::WithParamInterface<CompatCase> {};

TEST_P(Compatibility, DecidesBeforeAnythingIsWritten) {
    const CompatCase& c = GetParam();
    Device(c.unit);
    data.image = device->Memory();
    for (unsigned a = 0x8A; a <= 0x8F; ++a) data.image[a] = 1;
    for (unsigned a : {0xA8u, 0xA9u, 0xAAu, 0xABu, 0xACu, 0xADu, 0xAEu, 0xAFu, 0xB2u})
        data.image[a] = 1;
    for (const auto& [addr, value] : c.bytes) data.image[addr] = value;
    WriteOutcome outcome = WriteUnit(link, data, ui);
    Events boxes = ui.Boxes();
    if (c.boxes.empty()) {
        EXPECT_EQ(outcome, WriteOutcome::Verified);
        EXPECT_EQ(boxes.back(), "info:15004");
    } else {
        EXPECT_EQ(boxes, c.boxes);
        EXPECT_EQ(Writes(), 0u);
    }
    EXPECT_EQ(FirmwareRead(), c.firmwareRead);
}

// Protocol bytes 0x8A..0x8F, alarm type bytes 0xA8..0xAF and 0xB2.
const CompatCase kCompat[] = {
    {"p17_on_0650", "firmware=06.50,variant=10", {{0x8B, 17}}, {}, true},
    {"p21_on_0650", "firmware=06.50,variant=10", {{0x8B, 21}}, {"error:15101"}, true},
    {"p21_on_0700", "firmware=07.00,variant=10", {{0x8B, 21}}, {}, true},
    {"p21_v22_0633", "firmware=06.33,variant=22", {{0x8F, 21}}, {}, true},
    {"p21_v22_0632", "firmware=06.32,variant=22", {{0x8F, 21}}, {"error:15101"}, true},
    {"p17_small_unit", "size=256", {{0x8A, 17}}, {"error:15101"}, false},
    {"type44_0720", "firmware=07.20,variant=10", {{0xAA, 44}}, {}, true},
    {"type30_0720", "firmware=07.20,variant=10", {{0xAA, 30}}, {"error:15102"}, true},
    // A one-digit minor counts as tens (07.05 is 0x750), so only minors 0x31..0x3F reach the
    // second window in which nothing is refused.
    {"type30_0735", "firmware=07.35,variant=10", {{0xAA, 30}, {0xB2, 48}}, {}, true},
    {"type48_0705", "firmware=07.05,variant=10", {{0xB2, 48}}, {"error:15102"}, true},
    {"type48_0740", "firmware=07.40,variant=10", {{0xB2, 48}}, {"error:15102"}, true},
    {"type48_v29", "firmware=01.00,variant=29", {{0xB2, 48}}, {"error:15102"}, true},
    {"type44_v29", "firmware=01.00,variant=29", {{0xB2, 44}}, {}, true},
    {"any_v25", "firmware=01.00,variant=25", {{0xB2, 48}, {0x8A, 21}}, {}, true},
    {"other_variant", "firmware=09.00,variant=11", {{0xA8, 45}}, {"error:15102"}, true},
    {"type30_small_unit", "size=256", {{0xA8, 30}}, {"error:15102"}, false},
    {"both",
     "firmware=06.00,variant=10",
     {{0x8A, 17}, {0xA8, 46}},
     {"error:15101", "error:15102"},
     true},
};

INSTANTIATE_TEST_SUITE_P(Table, Compatibility, ::testing::ValuesIn(kCompat),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Procedures, UnreadableFirmware) {
    swallow = [](const std::string& c) { return c.rfind("R010003", 0) == 0; };
    data.image[0x8A] = 17;
    EXPECT_EQ(WriteUnit(link, data, ui), WriteOutcome::NoUnit);
    EXPECT_EQ(ui.Boxes(), (Events{"error:15008"}));
    EXPECT_EQ(Writes(), 0u);
    EXPECT_FALSE(link.IsOpen());

    // Without protocol 17 or 21 the alarm types are tested as for an unknown unit.
    data.image[0x8A] = 1;
    data.image[0xA8] = 44;
    test::RecordingUi u;
    EXPECT_EQ(WriteUnit(link, data, u), WriteOutcome::Refused);
    EXPECT_EQ(u.Boxes(), (Events{"error:15102"}));
}

TEST_F(Procedures, TheWizardSkipsTheCompatibilityCheck) {
    Device("firmware=06.32,variant=22");
    data.image[0x8A] = 21;
    EXPECT_EQ(WriteUnit(link, data, ui, WriteOptions::Wizard()), WriteOutcome::Verified);
    EXPECT_FALSE(FirmwareRead());
    EXPECT_EQ(ui.Boxes(), (Events{"info:15004"}));
}

TEST_F(Procedures, BasicProgrammingStartsBehindTheKeptRadioCodes) {
    // The unit's own codes below the first address differ from the file's and stay.
    Image mem = device->Memory();
    for (unsigned a = 0; a < 0x10; ++a) mem[a] = 0xC0 + a;
    device->SetMemory(mem);
    struct Case {
        unsigned first;
        std::size_t writes;
    } cases[] = {{0x10, 31}, {0x02, 32}, {0x00, 32}};
    for (const auto& c : cases) {
        for (unsigned a = 0; a < 0x10; ++a) data.image[a] = 0;
        commands.clear();
        test::RecordingUi u;
        EXPECT_EQ(WriteUnit(link, data, u, WriteOptions::Basic(c.first, 512)),
                  WriteOutcome::Verified)
            << c.first;
        EXPECT_EQ(Writes(), c.writes);
        const auto first = std::find_if(commands.begin(), commands.end(),
                                        [](const std::string& s) { return s[0] == 'W'; });
        char expected[8];
        std::snprintf(expected, sizeof expected, "W%04X", c.first);
        EXPECT_EQ(first->substr(0, 5), expected);
        device->SetMemory(mem);
    }
}

TEST_F(Procedures, BasicProgrammingNotesAnOlderFile) {
    test::RecordingUi u;
    EXPECT_EQ(WriteUnit(link, data, u, WriteOptions::Basic(0x02, 256)), WriteOutcome::Verified);
    EXPECT_EQ(u.Boxes(), (Events{"info:15035", "info:15004"}));
    Device("size=256");
    test::RecordingUi v;
    EXPECT_EQ(WriteUnit(link, data, v, WriteOptions::Basic(0x02, 256)), WriteOutcome::Verified);
    EXPECT_EQ(v.Boxes(), (Events{"info:15004"})); // no note, and no two-part box
}

TEST_F(Procedures, ABackupOfTheUnitComesBeforeTheWrite) {
    test::TempDir dir;
    const Image before = device->Memory();
    WriteOptions options = WriteOptions::Editor();
    options.backupFolder = dir.file("Backup/");
    std::string written;
    options.backupWritten = [&](const std::string& path) { written = path; };
    EXPECT_EQ(WriteUnit(link, data, ui, options), WriteOutcome::Verified);
    KivoData backup;
    ASSERT_TRUE(backup.LoadImageFile(written)) << written;
    EXPECT_EQ(backup.image, before);
    EXPECT_EQ(written.rfind(dir.file("Backup/Kivo_210417_"), 0), 0u) << written;

    // A second write at once keeps the first backup (the unit's original image) beside its own.
    const std::string first = written;
    EXPECT_EQ(WriteUnit(link, data, ui, options), WriteOutcome::Verified);
    EXPECT_NE(written, first);
    ASSERT_TRUE(backup.LoadImageFile(first));
    EXPECT_EQ(backup.image, before);

    // A backup that cannot be kept stops the write before anything is written.
    Device("");
    const Image untouched = device->Memory();
    dir.Write("blocked", "a file where the folder should be");
    options.backupFolder = dir.file("blocked/");
    test::RecordingUi u;
    commands.clear();
    EXPECT_EQ(WriteUnit(link, data, u, options), WriteOutcome::BackupFailed);
    EXPECT_EQ(u.Boxes().back().rfind("error:16002", 0), 0u);
    EXPECT_NE(u.Boxes().back().find(Str(16201)), std::string::npos); // and why
    EXPECT_EQ(Writes(), 0u);
    EXPECT_EQ(device->Memory(), untouched);
}

TEST(BackupNameTest, SerialAndLocalTime) {
    std::string name = BackupName(66051, 0);
    EXPECT_EQ(name.rfind("Kivo_66051_19", 0), 0u) << name; // 1970 or 1969 by time zone
    EXPECT_EQ(name.size(), std::string("Kivo_66051_19700101-000000.Kivo").size());
}

TEST(WrittenRangesTest, BySizeAndFirstAddress) {
    using R = std::vector<std::pair<unsigned, unsigned>>;
    EXPECT_EQ(WrittenRanges(512, 0), (R{{0x000, 0x0F6}, {0x103, 0x1FF}}));
    EXPECT_EQ(WrittenRanges(256, 0x10), (R{{0x010, 0x0F6}}));
    EXPECT_EQ(WrittenRanges(0, 0), (R{{0x000, 0x0F6}}));
}

} // namespace
} // namespace kivo
