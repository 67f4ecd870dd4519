// Where the unit's memory comes from and where it lives: memory=PATH and image=PATH.
#include "sim/wire_fixture.h"

#include "support/tempdir.h"

#include <gtest/gtest.h>

namespace kivo::sim::test {
namespace {

using kivo::test::TempDir;

TEST(SimMemory, MemoryFilePersistsAcrossInstances) {
    TempDir dir;
    const std::string options = "memory=" + dir.file("unit.bin");
    {
        Wire wire(options);
        // Created at start from the built-in image, with the unit's own bytes stamped in.
        auto file = dir.Read("unit.bin");
        ASSERT_EQ(file.size(), 512u);
        const Image m = wire.device->Memory();
        EXPECT_TRUE(std::equal(file.begin(), file.end(), m.begin()));
        EXPECT_EQ(m[0x100], 0x07);
        ASSERT_EQ(wire.Ask("W01FE02BEEF"), kAckByte);
        EXPECT_EQ(dir.Read("unit.bin")[0x1FF], 0xEF); // written at once, not at the end
    }
    Wire again(options);
    EXPECT_EQ(again.Ask("R01FE02"), Frame("BEEF"));
}

TEST(SimMemory, RefusedAndIgnoredWritesLeaveTheFileAlone) {
    TempDir dir;
    Wire wire("nak=1x,ignore=1x,memory=" + dir.file("unit.bin"));
    const auto before = dir.Read("unit.bin");
    EXPECT_EQ(wire.Ask("W00000155"), kNakByte);
    EXPECT_EQ(wire.Ask("W00000155"), kAckByte); // ignored
    EXPECT_EQ(dir.Read("unit.bin"), before);
}

TEST(SimMemory, SmallUnitFileHas256Bytes) {
    TempDir dir;
    Wire wire("size=256,memory=" + dir.file("small.bin"));
    EXPECT_EQ(dir.Read("small.bin").size(), 256u);
    EXPECT_EQ(wire.device->Size(), 256u);
    const Image m = wire.device->Memory();
    for (unsigned a = 0x100; a < 0x200; ++a) ASSERT_EQ(m[a], 0) << a;
}

TEST(SimMemory, StartsFromAConfigurationFile) {
    TempDir dir;
    std::vector<std::uint8_t> small(256, 0x42);
    const std::string path = dir.Write("old.Kivo", small);
    Wire wire("image=" + path + ",firmware=07.50,variant=29,memory=" + dir.file("unit.bin"));
    const Image m = wire.device->Memory();
    EXPECT_EQ(m[0x00], 0x42);
    EXPECT_EQ(m[0xF6], 0x42);
    EXPECT_NE(m[0xF8], 0x42); // filled by the unit, not taken from the file
    EXPECT_EQ(m[0x100], 0x07);
    EXPECT_EQ(m[0x101], 0x50);
    EXPECT_EQ(m[0x102], 29);
    EXPECT_EQ(m[0x103], 0); // a 256-byte file leaves the extended area empty
    EXPECT_EQ(dir.Read("unit.bin").size(), 512u);
}

TEST(SimMemory, FirmwareOptionsWinOverTheMemoryFile) {
    TempDir dir;
    const std::string memory = "memory=" + dir.file("unit.bin");
    { Wire first(memory); }
    Wire second("firmware=06.32,variant=22," + memory);
    EXPECT_EQ(second.Ask("R010003"), Frame("063216"));
}

TEST(SimMemory, BadFilesAreReported) {
    TempDir dir;
    dir.Write("short.bin", std::vector<std::uint8_t>(300, 0));
    const std::pair<std::string, std::string> cases[] = {
        {"memory=" + dir.file("short.bin"), "holds 300 bytes"},
        {"size=256,memory=" + dir.file("short.bin"), "holds 300 bytes"},
        {"image=" + dir.file("short.bin"), "not 256 or 512"},
        {"image=" + dir.file("missing.Kivo"), "cannot be read"},
        {"memory=" + dir.file("no/such/folder/unit.bin"), "cannot create"},
    };
    for (const auto& [options, message] : cases) {
        std::string error;
        EXPECT_EQ(SimKobu::Create(options, error), nullptr) << options;
        EXPECT_NE(error.find(message), std::string::npos) << options << " -> " << error;
    }
}

TEST(SimMemory, StartImageLooksLikeAProgrammedUnit) {
    Wire wire("");
    const Image m = wire.device->Memory();
    EXPECT_EQ(m[0x00], 0x4C); // transmitter 1 learned: the default learn code
    EXPECT_EQ(m[0x01], 0x3A);
    EXPECT_EQ(m[0x02], 0x00);
    EXPECT_NE(m[0x10], 0xAA); // number A set
    EXPECT_EQ(m[0x20], 0xAA); // number C not
    EXPECT_EQ(m[0xC2], 24);   // test alarm every 24 h (0 is not valid)
}

} // namespace
} // namespace kivo::sim::test
