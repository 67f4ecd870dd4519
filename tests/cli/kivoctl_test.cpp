#include "app/strtable.h"
#include "kivoctl_run.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

namespace kivo {
namespace {

using test::TempDir;

using Result = test::CliResult;
Result Kivoctl(const TempDir& dir, const std::string& args) {
    return test::RunKivoctl(dir, args);
}

std::vector<std::string> CrLfLines(const std::string& text) {
    std::vector<std::string> lines;
    for (std::size_t start = 0; start < text.size();) {
        auto end = text.find("\r\n", start);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

std::string Program(const TempDir& dir) {
    return test::ProgramFolder(dir);
}

TEST(KivoctlCli, FoldersRunsStartUp) {
    TempDir dir;
    Result r = Kivoctl(dir, "folders");
    ASSERT_EQ(r.exit, 0) << r.err;
    EXPECT_EQ(r.out, Program(dir) + "\n" + dir.file("docs/TAVRA/KIVO config") + "\n" +
                         dir.file("docs/TAVRA/KIVO config/") + "\n");
    EXPECT_TRUE(std::filesystem::exists(Program(dir) + "Values.ini"));
    EXPECT_TRUE(std::filesystem::exists(Program(dir) + "Default.bin"));
    EXPECT_TRUE(std::filesystem::exists(Program(dir) + "KivoLng.tbl"));
}

TEST(KivoctlCli, UsageErrorsExitWithTwo) {
    TempDir dir;
    EXPECT_EQ(Kivoctl(dir, "").exit, 2);
    EXPECT_EQ(Kivoctl(dir, "no-such-command").exit, 2);
    EXPECT_EQ(Kivoctl(dir, "export").exit, 2);
    EXPECT_EQ(Kivoctl(dir, "export a b c").exit, 2);
    Result help = Kivoctl(dir, "--help");
    EXPECT_EQ(help.exit, 0);
    EXPECT_EQ(help.out, Str(16300) + "\n");
}

TEST(KivoctlCli, ExportOfTheDefaultImage) {
    TempDir dir;
    ASSERT_EQ(Kivoctl(dir, "folders").exit, 0);
    std::string config = dir.file("Default.Kivo");
    std::filesystem::copy_file(Program(dir) + "Default.bin", config);
    Result r = Kivoctl(dir, "export '" + config + "'");
    ASSERT_EQ(r.exit, 0) << r.err;
    EXPECT_EQ(r.out, Str(15021) + config + ".txt\n");
    auto lines = CrLfLines(dir.ReadText("Default.Kivo.txt"));
    ASSERT_EQ(lines.size(), 253u);
    EXPECT_EQ(lines[1], "<" + config + ">");
    EXPECT_EQ(lines[4], "1. User area");
    EXPECT_EQ(lines[35], "1.4 Call sequences");
    EXPECT_EQ(lines[36], "-=0, A=1, B=2, C=3, D=4, N=5, U=6");
}

TEST(KivoctlCli, ExportOfAnOldUnitsFile) {
    TempDir dir;
    std::string file = dir.Write("old.Kivo", std::string(256, '\x05'));
    Result r = Kivoctl(dir, "export old.Kivo out.txt");
    ASSERT_EQ(r.exit, 0) << r.err;
    auto lines = CrLfLines(dir.ReadText("out.txt"));
    ASSERT_EQ(lines.size(), 253u);
    auto has = [&](const std::string& l) {
        return std::find(lines.begin(), lines.end(), l) != lines.end();
    };
    EXPECT_TRUE(has("[0x100-0x102] Firmware:___ 00.00-0"));
    EXPECT_TRUE(has("[0x104] Line volume, speaker level 1:____ 0"));
    EXPECT_TRUE(has("[0xFD-0xFF] Serial number: 328965"));
    EXPECT_TRUE(has("[0x70-0x73] Call sequence 1: N N N N "));
}

TEST(KivoctlCli, ExportSeesTheImageAsTheEditorStoresIt) {
    TempDir dir;
    std::string image = dir.ReadText(std::string(KIVO_BIN_DIR) + "/Default.b");
    image[0xC0] = '\xFF'; // the passive alarm field stores 255 as 254
    image[0xCD] = '\x01'; // the illumination list stores "yes" as 0x80
    dir.Write("edited.Kivo", image);
    ASSERT_EQ(Kivoctl(dir, "export edited.Kivo").exit, 0);
    auto lines = CrLfLines(dir.ReadText("edited.Kivo.txt"));
    auto has = [&](const std::string& l) {
        return std::find(lines.begin(), lines.end(), l) != lines.end();
    };
    EXPECT_TRUE(has("[0xC0] Passive alarm:________________________ 54 (minutes)"));
    EXPECT_TRUE(has("[0xCD] Alarm button illumination:_____________ 128 (0=LED off, 1-255=Yes)"));
}

TEST(KivoctlCli, FileFailuresExitWithFour) {
    TempDir dir;
    dir.Write("short.Kivo", std::string(300, '\0'));
    Result r = Kivoctl(dir, "export short.Kivo");
    EXPECT_EQ(r.exit, 4);
    EXPECT_NE(r.err.find(Str(15010)), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir.file("short.Kivo.txt")));
    dir.Write("good.Kivo", std::string(512, '\0'));
    r = Kivoctl(dir, "export good.Kivo missing/out.txt");
    EXPECT_EQ(r.exit, 4);
    EXPECT_NE(r.err.find("missing/out.txt"), std::string::npos);
}

} // namespace
} // namespace kivo
