#include "data/defaultconfigs.h"

#include "support/tempdir.h"

#include <gtest/gtest.h>

namespace kivo {
namespace {

using test::TempDir;

TEST(DefaultConfigs, ListsAlternativesButNeverTheDefault) {
    TempDir dir;
    const std::string folder = dir.path() + "/";
    dir.Write("Default.bin", "d");
    EXPECT_TRUE(ListDefaultConfigs(folder).empty());
    dir.Write("DEFAULT.BIN", "D");
    dir.Write("KivoDefault(Tag).bin", "t");
    dir.Write("Kunde.Kivo", "k");
    dir.Write("notes.txt", "n");
    dir.Write("sub.bin/x", "a folder is not a file");
    EXPECT_EQ(ListDefaultConfigs(folder),
              (std::vector<std::string>{"KivoDefault(Tag).bin", "Kunde.Kivo"}));
}

TEST(DefaultConfigs, TheDefaultIsFoundInAnyLetterCase) {
    TempDir dir;
    const std::string folder = dir.path() + "/";
    EXPECT_EQ(DefaultBinPath(folder), folder + "Default.bin"); // the name start-up writes
    dir.Write("default.bin", "old");
    EXPECT_EQ(DefaultBinPath(folder), folder + "default.bin");
    dir.Write("Default.bin", "ours");
    EXPECT_EQ(DefaultBinPath(folder), folder + "Default.bin");
}

TEST(DefaultConfigs, ChangingTheDefaultCopiesAndRecordsIt) {
    TempDir dir;
    const std::string folder = dir.path() + "/";
    dir.Write("default.bin", std::string(512, '\x01'));
    dir.Write("Kunde.Kivo", std::string(256, '\x02'));
    KivoIni ini;
    ini.SetFileName(folder + "Values.ini");
    ASSERT_TRUE(ChangeDefaultConfig(folder, "Kunde.Kivo", ini));
    EXPECT_EQ(dir.ReadText("default.bin"), std::string(256, '\x02')); // the existing file
    EXPECT_EQ(ini.ReadValue("Setup", "DefaultBinChanged"), "true");

    KivoIni other;
    other.SetFileName(folder + "Other.ini");
    EXPECT_FALSE(ChangeDefaultConfig(folder, "missing.bin", other));
    EXPECT_FALSE(ChangeDefaultConfig(folder, "../x.bin", other));
    EXPECT_EQ(other.ReadValue("Setup", "DefaultBinChanged"), "");
    EXPECT_EQ(dir.ReadText("default.bin"), std::string(256, '\x02'));
}

} // namespace
} // namespace kivo
