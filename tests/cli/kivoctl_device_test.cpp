// kivoctl against the built-in simulator and against kobu-sim on a pseudo-terminal.
#include "app/strtable.h"
#include "data/codec.h"
#include "data/fileio.h"
#include "data/kivodata.h"
#include "kivoctl_run.h"
#include "support/kobusim.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

namespace kivo {
namespace {

using test::RunKivoctl;
using test::TempDir;

// A configuration file made from the installed default with some changes.
std::string Config(const TempDir& dir, const std::string& name,
                   std::initializer_list<std::pair<unsigned, std::uint8_t>> bytes,
                   unsigned length = 512) {
    KivoData d;
    EXPECT_TRUE(d.LoadImageFile(std::string(KIVO_BIN_DIR) + "/Default.b"));
    for (auto [a, v] : bytes) d.image[a] = v;
    TextToPhone("0301234567", &d.image[mm::PhoneA]);
    EXPECT_TRUE(d.SaveImageFile(dir.file(name), length).ok());
    return name;
}

Image UnitMemory(const TempDir& dir, const std::string& name) {
    KivoData d;
    EXPECT_TRUE(d.LoadImageFile(dir.file(name)));
    return d.image;
}

TEST(KivoctlDevice, CompatibilityRefusalExitsWithSix) {
    TempDir dir;
    std::string file = Config(dir, "p21.Kivo", {{0x8C, 21}});
    auto refused = RunKivoctl(dir, "write " + file + " --kobu sim:firmware=06.32,variant=22");
    EXPECT_EQ(refused.exit, 6) << refused.err;
    EXPECT_NE(refused.err.find(Str(15101)), std::string::npos) << refused.err;
    auto passed =
        RunKivoctl(dir, "write " + file + " --no-backup --kobu sim:firmware=06.33,variant=22");
    EXPECT_EQ(passed.exit, 0) << passed.err;
    EXPECT_EQ(passed.out, Str(15004) + "\n");
}

TEST(KivoctlDevice, ReadWriteVerifyAgainstAPersistentUnit) {
    TempDir dir;
    const std::string unit = "--kobu sim:memory=" + dir.file("unit.bin");
    std::string file = Config(dir, "mine.Kivo", {{0xC4, 48}});
    ASSERT_EQ(RunKivoctl(dir, "write " + file + " " + unit).exit, 0);
    Image mem = UnitMemory(dir, "unit.bin");
    EXPECT_EQ(mem[0xC4], 48);
    EXPECT_EQ(PhoneToText(&mem[mm::PhoneA]), "0301234567");

    EXPECT_EQ(RunKivoctl(dir, "verify " + file + " " + unit).exit, 0);
    std::string other = Config(dir, "other.Kivo", {{0xC4, 49}});
    auto mismatch = RunKivoctl(dir, "verify " + other + " " + unit);
    EXPECT_EQ(mismatch.exit, 5);
    EXPECT_NE(mismatch.out.find("0x0C4 Battery check interval: 49 -> 48"), std::string::npos)
        << mismatch.out;

    auto read = RunKivoctl(dir, "read back.Kivo " + unit);
    ASSERT_EQ(read.exit, 0) << read.err;
    EXPECT_EQ(UnitMemory(dir, "back.Kivo"), mem);
}

TEST(KivoctlDevice, AnOldUnitGivesOldFilesAndTheTwoPartNote) {
    TempDir dir;
    ASSERT_EQ(RunKivoctl(dir, "read old.Kivo --kobu sim:size=256").exit, 0);
    EXPECT_EQ(FileLength(dir.file("old.Kivo")), 256u);
    auto write = RunKivoctl(dir, "write old.Kivo --kobu sim:size=256");
    EXPECT_EQ(write.exit, 0) << write.err;
    EXPECT_NE(write.out.find(Str(15004)), std::string::npos);
    EXPECT_NE(write.out.find("Die Parameter auf der Seite 'Erweiterte Funktionen'"),
              std::string::npos)
        << write.out;
}

TEST(KivoctlDevice, BasicProgrammingWrite) {
    TempDir dir;
    const std::string unit = "--kobu sim:memory=" + dir.file("unit.bin");
    ASSERT_EQ(RunKivoctl(dir, "read start.Kivo " + unit).exit, 0); // holds code 4C3A at 1
    std::string file = Config(dir, "basic.Kivo", {{0x00, 0x11}, {0x01, 0x22}, {0x02, 0x33}});
    auto keep = RunKivoctl(dir, "write " + file + " --id 4711 --radio keep " + unit);
    ASSERT_EQ(keep.exit, 0) << keep.err;
    Image mem = UnitMemory(dir, "unit.bin");
    EXPECT_EQ(RadioCodeToText(&mem[mm::RadioCodeAddr(1)]), "4C3A");
    for (int d = 0; d < mm::kDestinations; ++d)
        EXPECT_EQ(AlarmCodeToText(&mem[mm::AlarmCodeAddr(d)]), "4711");

    ASSERT_EQ(RunKivoctl(dir, "write " + file + " --id 12A4 " + unit).exit, 0);
    mem = UnitMemory(dir, "unit.bin");
    EXPECT_EQ(RadioCodeToText(&mem[mm::RadioCodeAddr(1)]), "4C3A"); // position 1 stays
    EXPECT_EQ(RadioCodeToText(&mem[mm::RadioCodeAddr(2)]), "");     // 2..8 are freed
    EXPECT_EQ(AlarmCodeToText(&mem[mm::AlarmCodeAddr(5)]), "12A4");

    ASSERT_EQ(RunKivoctl(dir, "write " + file + " --id 1 --radio clear-all " + unit).exit, 0);
    EXPECT_EQ(RadioCodeToText(&UnitMemory(dir, "unit.bin")[0]), "");

    std::string old = Config(dir, "old.Kivo", {}, 256);
    auto note = RunKivoctl(dir, "write " + old + " --id 1 --no-backup " + unit);
    EXPECT_EQ(note.exit, 0);
    EXPECT_EQ(note.out, Str(15035) + "\n" + Str(15004) + "\n");
}

TEST(KivoctlDevice, AWriteKeepsTheUnitsImageFirst) {
    TempDir dir;
    const std::string unit = "--kobu sim:memory=" + dir.file("unit.bin");
    ASSERT_EQ(RunKivoctl(dir, "read before.Kivo " + unit).exit, 0);
    std::string file = Config(dir, "new.Kivo", {{0xC4, 99}});
    auto write = RunKivoctl(dir, "write " + file + " " + unit);
    ASSERT_EQ(write.exit, 0) << write.err;
    const std::string backups = test::ProgramFolder(dir) + "Backup";
    std::vector<std::string> kept;
    for (const auto& e : std::filesystem::directory_iterator(backups))
        kept.push_back(e.path().string());
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_NE(write.out.find(kept[0]), std::string::npos) << write.out;
    EXPECT_NE(kept[0].find("Kivo_210417_"), std::string::npos);
    KivoData backup;
    ASSERT_TRUE(backup.LoadImageFile(kept[0]));
    EXPECT_EQ(backup.image, UnitMemory(dir, "before.Kivo"));
    EXPECT_EQ(UnitMemory(dir, "unit.bin")[0xC4], 99);

    // Without a backup nothing is written: the unit vanishes during the backup's read.
    auto failed = RunKivoctl(dir, "write " + file + " --kobu sim:disconnect=6");
    EXPECT_EQ(failed.exit, 5);
    EXPECT_NE(failed.err.find(Str(13806)), std::string::npos) << failed.err;
    EXPECT_EQ(RunKivoctl(dir, "write " + file + " --no-backup --kobu sim:disconnect=6").exit, 5);
}

TEST(KivoctlDevice, DiffListsTheDifferingParameters) {
    TempDir dir;
    std::string a = Config(dir, "a.Kivo", {});
    std::string b = Config(dir, "b.Kivo", {{0xC4, 49}, {0xF8, 3}, {0x104, 9}});
    auto same = RunKivoctl(dir, "diff a.Kivo a.Kivo");
    EXPECT_EQ(same.exit, 0);
    EXPECT_EQ(same.out, Str(16006) + "\n");
    auto diff = RunKivoctl(dir, "diff a.Kivo b.Kivo");
    EXPECT_EQ(diff.exit, 1); // as diff(1) says it
    EXPECT_NE(diff.out.find("0x0C4 Battery check interval: "), std::string::npos) << diff.out;
    EXPECT_NE(diff.out.find("0x0F8 Product model: 0 -> 3 " + Str(16328)), std::string::npos);
    EXPECT_NE(diff.out.find("0x104 Line volume, speaker level 1:"), std::string::npos);
    EXPECT_NE(diff.out.find(Str(16329)), std::string::npos);
    EXPECT_EQ(RunKivoctl(dir, "diff a.Kivo missing.Kivo").exit, 4);
}

TEST(KivoctlDevice, UsageAndReachability) {
    TempDir dir;
    std::string file = Config(dir, "a.Kivo", {});
    struct Case {
        std::string args;
        int exit;
    } cases[] = {
        {"info --kobu sim", 0},
        {"info --kobu sim:unit=0", 3},
        {"info --kobu " + dir.file("no-such-tty"), 3},
        {"info --kobu bogus", 2},
        {"info --kobu sim:size=300", 2},
        {"read x.Kivo --kobu sim:unit=0", 3},
        {"write a.Kivo --kobu sim:unit=0", 3},
        {"write missing.Kivo --kobu sim", 4},
        {"write a.Kivo --id 12x4 --kobu sim", 2},
        {"write a.Kivo --id 1 --radio some --kobu sim", 2},
        {"write a.Kivo --radio keep --kobu sim", 2},
        {"learn 9 a.Kivo --kobu sim", 2},
        {"read --kobu sim", 2},
        {"read x.Kivo --bogus", 2},
        {"read " + dir.file("no-folder/x.Kivo") + " --kobu sim", 4},
    };
    for (const auto& c : cases) EXPECT_EQ(RunKivoctl(dir, c.args).exit, c.exit) << c.args;
    auto info = RunKivoctl(dir, "info --kobu sim:firmware=06.33,variant=22");
    EXPECT_EQ(info.out, FormatText(Str(16323), {"11-1 SIM1.0"}) + "\n" +
                            FormatText(Str(16324), {"512"}) + "\n" +
                            FormatText(Str(16325), {"06.33-22"}) + "\n" +
                            FormatText(Str(16326), {"210417"}) + "\n");
}

TEST(KivoctlDevice, LearnFillsThePosition) {
    TempDir dir;
    std::string file = Config(dir, "l.Kivo", {});
    auto r = RunKivoctl(dir, "learn 3 " + file + " --kobu sim:learn=1A2B,learndelay=300");
    ASSERT_EQ(r.exit, 0) << r.err;
    EXPECT_EQ(RadioCodeToText(&UnitMemory(dir, file)[mm::RadioCodeAddr(3)]), "1A2B");
}

TEST(KivoctlDevice, OverAPseudoTerminalWithKobuSim) {
    TempDir dir;
    test::KobuSimProcess sim(KOBU_SIM, {"latency=2,pace=1,memory=" + dir.file("unit.bin")});
    const std::string tty = sim.FirstLine();
    ASSERT_EQ(tty.rfind("/dev/", 0), 0u) << tty;
    std::string file = Config(dir, "pty.Kivo", {{0xC4, 72}});
    auto write = RunKivoctl(dir, "write " + file + " --kobu " + tty + " --trace trace.txt");
    ASSERT_EQ(write.exit, 0) << write.err;
    EXPECT_EQ(RunKivoctl(dir, "verify " + file + " --kobu " + tty).exit, 0);
    EXPECT_EQ(sim.Terminate(), 0);
    EXPECT_EQ(UnitMemory(dir, "unit.bin")[0xC4], 72);
    EXPECT_NE(dir.ReadText("trace.txt").find("-> 02 4F 34 46 03"), std::string::npos);
}

TEST(KivoctlDevice, AVanishingAdapterEndsTheCommand) {
    TempDir dir;
    test::KobuSimProcess sim(KOBU_SIM, {"latency=2,pace=1"});
    const std::string tty = sim.FirstLine();
    ASSERT_EQ(tty.rfind("/dev/", 0), 0u) << tty;
    std::thread killer([&sim] {
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
        sim.Kill();
    });
    auto start = std::chrono::steady_clock::now();
    auto r = RunKivoctl(dir, "read gone.Kivo --kobu " + tty);
    killer.join();
    auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start);
    EXPECT_TRUE(r.exit == 3 || r.exit == 5) << r.exit << r.err;
    EXPECT_LT(seconds.count(), 20.0); // ends; never hangs on a vanished device
    EXPECT_FALSE(std::filesystem::exists(dir.file("gone.Kivo")));
}

} // namespace
} // namespace kivo
