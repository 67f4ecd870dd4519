// kivoctl --kobu ftdi as a user with a real Kobu runs it: the system's libftdi1 and libusb-1.0,
// unmodified, find and drive the emulated chip (ftdi-emu) with the simulated unit behind it.
// Every result is checked against the unit's memory and the chip's own notes of how the host
// set it up, so a transport that sends the wrong settings or mishandles the USB packets fails
// here even where the link layer would hide it.
#include "app/strtable.h"
#include "data/memorymap.h"
#include "kivoctl_run.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <sstream>
#include <sys/stat.h>

namespace kivo {
namespace {

using test::CliResult;
using test::RunKivoctl;
using test::TempDir;

constexpr char kDoctorLine[] = "kivoctl doctor";

// kivoctl under ftdi-emu with FTDI_EMU=`emu`; the chips' notes go to chip.log.
CliResult UnderEmu(const TempDir& dir, const std::string& emu, const std::string& args) {
    const std::string items = "log=" + dir.file("chip.log") + (emu.empty() ? "" : "," + emu);
    return RunKivoctl(dir, args + " --kobu ftdi", "FTDI_EMU='" + items + "' " FTDI_EMU_BIN);
}

std::vector<std::string> Notes(const TempDir& dir, const std::string& chip) {
    std::istringstream in(dir.ReadText("chip.log"));
    std::vector<std::string> notes;
    std::string line;
    // "0.003 kobu1 baud 57554 divisor C034 0000" -> "baud 57554 divisor C034 0000"
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::string time, who;
        words >> time >> who;
        if (who != chip) continue;
        std::string rest;
        std::getline(words, rest);
        notes.push_back(rest.substr(rest.find_first_not_of(' ')));
    }
    return notes;
}

bool Has(const std::vector<std::string>& notes, const std::string& note) {
    return std::find(notes.begin(), notes.end(), note) != notes.end();
}

// The last note that starts with `prefix`; empty when none does.
std::string Last(const std::vector<std::string>& notes, const std::string& prefix) {
    for (auto it = notes.rbegin(); it != notes.rend(); ++it)
        if (it->compare(0, prefix.size(), prefix) == 0) return *it;
    return {};
}

std::vector<std::uint8_t> Bytes(const TempDir& dir, const std::string& name) {
    return dir.Read(name);
}

TEST(KivoctlUsb, ReadWriteVerifyAndLearnThroughTheChipAreByteExact) {
    TempDir dir;
    const std::string unit = "memory=" + dir.file("unit.bin") + ",learndelay=300";
    auto info = UnderEmu(dir, unit, "info");
    ASSERT_EQ(info.exit, 0) << info.err;
    EXPECT_EQ(info.out, FormatText(Str(16323), {"11-1 SIM1.0"}) + "\n" +
                            FormatText(Str(16324), {"512"}) + "\n" +
                            FormatText(Str(16325), {"07.30-10"}) + "\n" +
                            FormatText(Str(16326), {"210417"}) + "\n");

    auto read = UnderEmu(dir, unit, "read read.Kivo");
    ASSERT_EQ(read.exit, 0) << read.err;
    EXPECT_EQ(Bytes(dir, "read.Kivo"), Bytes(dir, "unit.bin"));

    // A change in the main range and one in the extended area, written and verified.
    std::vector<std::uint8_t> image = Bytes(dir, "read.Kivo");
    image[0xC4] ^= 0x01;
    image[0x150] ^= 0x5A;
    dir.Write("mine.Kivo", image);
    auto write = UnderEmu(dir, unit, "write mine.Kivo --no-backup");
    ASSERT_EQ(write.exit, 0) << write.err;
    EXPECT_EQ(Bytes(dir, "unit.bin"), image);
    EXPECT_EQ(UnderEmu(dir, unit, "verify mine.Kivo").exit, 0);

    auto learn = UnderEmu(dir, unit, "learn 3 mine.Kivo");
    ASSERT_EQ(learn.exit, 0) << learn.err;
    EXPECT_NE(learn.out.find("3: 4C3A"), std::string::npos) << learn.out;
    const std::vector<std::uint8_t> learned = Bytes(dir, "mine.Kivo");
    std::vector<std::uint8_t> expected = image;
    expected[mm::RadioCodeAddr(3)] = 0x4C;
    expected[mm::RadioCodeAddr(3) + 1] = 0x3A;
    EXPECT_EQ(learned, expected);
}

TEST(KivoctlUsb, AnOldUnitIsReadWithItsSize) {
    TempDir dir;
    auto read = UnderEmu(dir, "size=256,memory=" + dir.file("unit.bin"), "read old.Kivo");
    ASSERT_EQ(read.exit, 0) << read.err;
    EXPECT_EQ(Bytes(dir, "old.Kivo"), Bytes(dir, "unit.bin"));
    EXPECT_EQ(Bytes(dir, "old.Kivo").size(), 256u);
}

TEST(KivoctlUsb, TheHostSetsTheChipAsTheKobuNeedsIt) {
    TempDir dir;
    ASSERT_EQ(UnderEmu(dir, "", "info").exit, 0);
    const auto notes = Notes(dir, "kobu1");
    EXPECT_EQ(Last(notes, "baud "), "baud 57554 divisor C034 0000");
    EXPECT_EQ(Last(notes, "line "), "line 8N2");
    EXPECT_EQ(Last(notes, "flow "), "flow 0");
    EXPECT_EQ(Last(notes, "dtr "), "dtr 0 rts 0");
    EXPECT_EQ(Last(notes, "latency "), "latency 2");
    EXPECT_EQ(Last(notes, "refused"), "");
    // Each frame is sent on a clean line: what waits for the host is purged before it. Closing
    // discards what waits for the host (the link asks, the transport makes sure), never what
    // the host has sent.
    EXPECT_TRUE(Has(notes, "purge to-host"));
    ASSERT_GE(notes.size(), 3u);
    EXPECT_EQ(std::vector<std::string>(notes.end() - 3, notes.end()),
              (std::vector<std::string>{"purge to-host", "purge to-host", "release"}));
}

TEST(KivoctlUsb, TheKobuIsFoundByItsDescriptionAmongOtherChips) {
    // Its product id is none of the chip maker's own; the other chips (listed first) are
    // asked for their description and left alone.
    TempDir dir;
    auto info =
        UnderEmu(dir, "pid=fa21,other=USB <-> Serial Cable,other=FT232R USB UART", "read r.Kivo");
    ASSERT_EQ(info.exit, 0) << info.err;
    for (const char* other : {"other1", "other2"})
        EXPECT_EQ(Notes(dir, other), std::vector<std::string>{"opened"}) << other;
    EXPECT_TRUE(Has(Notes(dir, "kobu1"), "claim"));
}

TEST(KivoctlUsb, OfTwoKobusTheFirstFreeOneIsUsed) {
    TempDir dir;
    // The second Kobu (listed first) is held by another program; the first one's unit has the
    // serial number 210417 (03 35 F1), the second one's 210418.
    auto read = UnderEmu(dir, "kobus=2,held=1", "read r.Kivo");
    ASSERT_EQ(read.exit, 0) << read.err;
    const auto image = Bytes(dir, "r.Kivo");
    ASSERT_EQ(image.size(), 512u);
    EXPECT_EQ(std::vector<std::uint8_t>(image.begin() + 0xFD, image.begin() + 0x100),
              (std::vector<std::uint8_t>{0x03, 0x35, 0xF1}));
    EXPECT_TRUE(Has(Notes(dir, "kobu2"), "claim refused: held by another program"));
    EXPECT_FALSE(Has(Notes(dir, "kobu2"), "claim"));
    EXPECT_TRUE(Has(Notes(dir, "kobu1"), "claim"));

    // Both free: one is used, the other is never claimed.
    TempDir both;
    ASSERT_EQ(UnderEmu(both, "kobus=2", "info").exit, 0);
    EXPECT_NE(Has(Notes(both, "kobu1"), "claim"), Has(Notes(both, "kobu2"), "claim"));
}

TEST(KivoctlUsb, AKobuPulledOutInTheMiddleOfAReadFailsAtOnceAndIsLetGo) {
    TempDir dir;
    const auto start = std::chrono::steady_clock::now();
    auto read = UnderEmu(dir, "unplug=10", "read r.Kivo");
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(read.exit, 5) << read.err;
    EXPECT_NE(read.err.find(Str(13806)), std::string::npos) << read.err;
    EXPECT_FALSE(std::filesystem::exists(dir.file("r.Kivo")));
    // Far below the read's own time budget: the lost device ends the waits.
    EXPECT_LT(took, std::chrono::seconds(15));
    const auto notes = Notes(dir, "kobu1");
    ASSERT_TRUE(Has(notes, "unplugged"));
    EXPECT_EQ(notes.back(), "release");
}

TEST(KivoctlUsb, ADeniedDeviceNodeEndsWithThreeAndPointsToTheDiagnosis) {
    TempDir dir;
    // ftdi-emu runs the command as nobody when it runs as root: its folders must be open.
    for (const char* sub : {"", "/appdata", "/docs"}) {
        std::filesystem::create_directories(dir.path() + sub);
        ::chmod((dir.path() + sub).c_str(), 0777);
    }
    auto info = UnderEmu(dir, "denied", "info");
    EXPECT_EQ(info.exit, 3) << info.err;
    EXPECT_NE(info.err.find(Str(15009)), std::string::npos) << info.err;
    EXPECT_NE(info.err.find(kDoctorLine), std::string::npos) << info.err;

    auto doctor = UnderEmu(dir, "denied", "doctor");
    EXPECT_EQ(doctor.exit, 3);
    EXPECT_NE(doctor.out.find("Sie dürfen /dev/bus/usb/001/002 nicht öffnen"), std::string::npos)
        << doctor.out;
    // The advice is the rule, not the cable.
    EXPECT_EQ(doctor.out.find(Str(16046)), std::string::npos) << doctor.out;
}

TEST(KivoctlUsb, NoUnitBehindTheKobuPointsToTheDiagnosisToo) {
    TempDir dir;
    auto info = UnderEmu(dir, "unit=0", "info");
    EXPECT_EQ(info.exit, 3);
    EXPECT_NE(info.err.find(Str(15008)), std::string::npos) << info.err;
    EXPECT_NE(info.err.find(kDoctorLine), std::string::npos) << info.err;
    // A failure that has nothing to do with the connection does not.
    auto missing = UnderEmu(dir, "", "write nothing.Kivo");
    EXPECT_EQ(missing.exit, 4);
    EXPECT_EQ(missing.err.find(kDoctorLine), std::string::npos) << missing.err;
}

TEST(KivoctlUsb, TheDiagnosisLooksAtTheEmulatedSystem) {
    TempDir dir;
    auto doctor = UnderEmu(dir, "other=FT232R USB UART", "doctor");
    EXPECT_EQ(doctor.exit, 0) << doctor.out;
    for (const std::string& line :
         {std::string("Anderes FTDI-Gerät, keine KOBU: „FT232R USB UART“ an Bus 1, Gerät 3."),
          std::string("KOBU angeschlossen: Bus 1, Gerät 2, Seriennummer KOBU1001."),
          std::string("Sie dürfen /dev/bus/usb/001/002 öffnen."),
          std::string("Die KOBU antwortet: Version 11-1 SIM1.0."),
          std::string("Das KIVO antwortet.")})
        EXPECT_NE(doctor.out.find(line), std::string::npos) << line << "\n" << doctor.out;
}

TEST(KivoctlUsb, TheSystemsLibrariesServeTheChip) {
    TempDir dir;
    // The dynamic loader names every library it starts; libftdi1 and libusb must be the
    // installed ones, not a stand-in from the build.
    auto info = RunKivoctl(dir, "info --kobu ftdi", "LD_DEBUG=libs " FTDI_EMU_BIN);
    ASSERT_EQ(info.exit, 0) << info.err;
    for (const char* library : {"libftdi1.so.2", "libusb-1.0.so.0"}) {
        const std::string line = "calling init: ";
        std::size_t at = info.err.find(std::string("/") + library);
        ASSERT_NE(at, std::string::npos) << library;
        const std::size_t start = info.err.rfind(line, at);
        ASSERT_NE(start, std::string::npos);
        const std::string path = info.err.substr(start + line.size(), at - start - line.size());
        EXPECT_TRUE(path.rfind("/lib/", 0) == 0 || path.rfind("/usr/lib/", 0) == 0) << path;
    }
}

TEST(KivoctlUsb, LinkbenchRunsThroughTheChip) {
    TempDir dir;
    // Once, for the numbers in its last line; its goals are judged by hand, not here.
    const std::string cmd = "cd '" + dir.path() +
                            "' && FTDI_EMU=latency=2 " FTDI_EMU_BIN " " LINKBENCH
                            " --ftdi --runs 1 2>&1";
    FILE* p = ::popen(cmd.c_str(), "r");
    std::string out;
    char buf[4096];
    while (std::size_t n = std::fread(buf, 1, sizeof buf, p)) out.append(buf, n);
    EXPECT_EQ(::pclose(p), 0) << out;
    EXPECT_NE(out.find("\nratio "), std::string::npos) << out;
    EXPECT_EQ(out.find("FAILED"), std::string::npos) << out;
}

} // namespace
} // namespace kivo
