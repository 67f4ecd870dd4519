#include "app/startup.h"

#include "access/kivopassword.h"
#include "data/fileio.h"
#include "data/inifile.h"
#include "data/kivoini.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace kivo {
namespace {

using test::TempDir;
namespace fs = std::filesystem;

// A template folder (the executable's), an application-data and a documents folder.
class StartupTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir.Write("exe/Values.i", "[Setup]\r\nConfigDirectory=\r\nAppVersion=\r\n"
                                  "DefaultBinChanged=false\r\n[YesNo]\r\n0=Nein\r\n1=Ja\r\n"
                                  "2=<END>\r\n");
        dir.Write("exe/Default.b", std::string(512, '\x11'));
        fs::create_directories(dir.file("appdata"));
        fs::create_directories(dir.file("docs"));
        env.templateFolder = dir.file("exe/");
        env.appDataFolder = dir.file("appdata");
        env.documentsFolder = dir.file("docs");
        env.programVersion = "1.2.0";
    }

    std::string Program() const { return dir.file("appdata/TAVRA/KIVO Zizadozeve (DE)/"); }
    std::string Setup(const std::string& key) const {
        KivoIni ini;
        ini.SetFileName(Program() + "Values.ini");
        return ini.ReadValue("Setup", key);
    }
    void SetSetup(const std::string& key, const std::string& value) const {
        KivoIni ini;
        ini.SetFileName(Program() + "Values.ini");
        ini.WriteValue("Setup", key, value);
    }
    std::string DefaultBin() const { return dir.ReadText(Program() + "Default.bin"); }

    TempDir dir;
    StartupEnvironment env;
};

TEST_F(StartupTest, FirstStartInstallsEverything) {
    Folders f = RunStartup(env);
    EXPECT_EQ(f.programFolder, Program());
    EXPECT_EQ(f.standardConfigFolder, dir.file("docs/TAVRA/KIVO config/"));
    EXPECT_EQ(f.configFolder, dir.file("docs/TAVRA/KIVO config"));
    EXPECT_TRUE(fs::is_directory(f.standardConfigFolder));
    EXPECT_EQ(Setup("AppVersion"), "1.2.0");
    EXPECT_EQ(DefaultBin(), std::string(512, '\x11'));
    KivoPassword store(Program() + "KivoLng.tbl");
    EXPECT_EQ(store.ReadPassword(2), "6747");
    EXPECT_EQ(store.ReadPassword(3), "7093");
    EXPECT_EQ(store.ReadPassword(4), "");
    EXPECT_EQ(store.ReadPassword(5), "qorvu");
}

TEST_F(StartupTest, SameVersionKeepsValuesIniAndRefreshesDefaultBin) {
    RunStartup(env);
    SetSetup("Marker", "kept");
    SetSetup("DefaultBinChanged", "");
    dir.Write(Program() + "Default.bin", std::string(256, '\x22'));
    RunStartup(env);
    EXPECT_EQ(Setup("Marker"), "kept");
    EXPECT_EQ(DefaultBin(), std::string(512, '\x11'));
}

TEST_F(StartupTest, ChosenDefaultSurvivesInAnyLetterCase) {
    RunStartup(env);
    SetSetup("DefaultBinChanged", "True");
    dir.Write(Program() + "Default.bin", std::string(256, '\x22'));
    RunStartup(env);
    EXPECT_EQ(DefaultBin(), std::string(256, '\x22'));
}

TEST_F(StartupTest, UpdateReplacesValuesIniButKeepsTheUsersSettings) {
    RunStartup(env);
    SetSetup("Marker", "old");
    SetSetup("ConfigDirectory", dir.file("docs"));
    SetSetup("DefaultBinChanged", "TRUE");
    SetSetup("Recent1", "/home/anna/Kunde.Kivo");
    SetSetup("Recent2", "/home/anna/Alt.Kivo");
    env.programVersion = "1.3.0";
    Folders f = RunStartup(env);
    EXPECT_EQ(Setup("Recent1"), "/home/anna/Kunde.Kivo");
    EXPECT_EQ(Setup("Recent2"), "/home/anna/Alt.Kivo");
    EXPECT_EQ(Setup("Marker"), "");
    EXPECT_EQ(Setup("AppVersion"), "1.3.0");
    EXPECT_EQ(Setup("ConfigDirectory"), dir.file("docs"));
    EXPECT_EQ(Setup("DefaultBinChanged"), "true");
    EXPECT_EQ(f.configFolder, dir.file("docs"));
}

TEST_F(StartupTest, ConfigurationFolderChoice) {
    fs::create_directories(dir.file("elsewhere"));
    RunStartup(env);
    SetSetup("ConfigDirectory", dir.file("docs") + "/");
    EXPECT_EQ(RunStartup(env).configFolder, dir.file("docs")); // trailing '/' dropped
    env.arguments = {dir.file("elsewhere")};
    EXPECT_EQ(RunStartup(env).configFolder, dir.file("elsewhere"));
    env.arguments = {dir.file("missing")};
    EXPECT_EQ(RunStartup(env).configFolder, dir.file("docs"));
    env.arguments = {dir.file("elsewhere"), dir.file("elsewhere")};
    EXPECT_EQ(RunStartup(env).configFolder, dir.file("docs"));
}

TEST_F(StartupTest, AFileArgumentIsAConfigurationToOpen) {
    fs::create_directories(dir.file("folder"));
    dir.Write("unit.Kivo", std::string(512, '\0'));
    const std::string cwd = fs::current_path();
    fs::current_path(dir.path());
    const struct {
        std::vector<std::string> arguments;
        std::string file;
    } cases[] = {
        {{dir.file("unit.Kivo")}, dir.file("unit.Kivo")},
        {{"unit.Kivo"}, dir.file("unit.Kivo")}, // relative to where the program was started
        {{dir.file("folder")}, ""},             // the configuration folder's argument
        {{dir.file("missing.Kivo")}, ""},
        {{dir.file("unit.Kivo"), dir.file("unit.Kivo")}, ""},
        {{""}, ""},
        {{}, ""},
    };
    for (const auto& c : cases) EXPECT_EQ(FileArgument(c.arguments), c.file) << c.arguments.size();
    fs::current_path(cwd);
    // A file leaves the configuration folder as it would be without an argument.
    env.arguments = {dir.file("unit.Kivo")};
    EXPECT_EQ(RunStartup(env).configFolder, dir.file("docs/TAVRA/KIVO config"));
}

TEST_F(StartupTest, TheEnglishEditionHasItsOwnProgramFolderAndSettings) {
    dir.Write("exe/Values.en.i", "[Setup]\r\nConfigDirectory=\r\nAppVersion=\r\n"
                                 "DefaultBinChanged=false\r\n[YesNo]\r\n0=No\r\n1=Yes\r\n"
                                 "2=<END>\r\n");
    RunStartup(env); // the German edition first, as the tests run
    ::setenv("KIVO_EDITION", "en", 1);
    const Folders english = RunStartup(env);
    ::setenv("KIVO_EDITION", "de", 1);
    EXPECT_EQ(english.programFolder, dir.file("appdata/TAVRA/KIVO Zizadozeve (EN)/"));
    EXPECT_EQ(english.configFolder, RunStartup(env).configFolder); // shared
    KivoIni ini;
    ini.SetFileName(english.programFolder + "Values.ini");
    EXPECT_EQ(ini.ReadValue("YesNo", "1"), "Yes");
    EXPECT_EQ(ini.ReadValue("Setup", "AppVersion"), "1.2.0");
    EXPECT_TRUE(fs::is_regular_file(english.programFolder + "Default.bin"));
    EXPECT_TRUE(fs::is_regular_file(english.programFolder + "KivoLng.tbl"));
    // The German edition's settings are its own.
    EXPECT_EQ(Setup("AppVersion"), "1.2.0");
    KivoIni german;
    german.SetFileName(Program() + "Values.ini");
    EXPECT_EQ(german.ReadValue("YesNo", "1"), "Ja");
}

// The shipped templates of both editions: the same sections and keys, and the same layout of
// the report; only the texts differ.
TEST(ShippedTemplates, TheEnglishSettingsHaveTheGermanKeys) {
    auto read = [](const std::string& name) {
        std::ifstream in(std::string(KIVO_BIN_DIR) + "/" + name, std::ios::binary);
        return ini::Document(std::string((std::istreambuf_iterator<char>(in)), {}));
    };
    const ini::Document german = read("Values.i"), english = read("Values.en.i");
    for (const char* section :
         {"Setup", "Print", "AlarmType", "SequenceNumber", "CallSequence", "Protocol", "YesNo",
          "WarningFunction", "LoudspeakerVolume", "PrecallType", "DiallingMode",
          "DigitAfterNoDialTone", "LineVolume", "ValueAdvanced"}) {
        const ini::Keys de = german.SectionKeys(section), en = english.SectionKeys(section);
        EXPECT_FALSE(de.empty()) << section;
        EXPECT_EQ(de.size(), en.size()) << section;
        for (const auto& [key, value] : de) {
            auto it = en.find(key);
            ASSERT_NE(it, en.end()) << section << " " << key;
            EXPECT_EQ(it->second.empty(), value.empty()) << section << " " << key;
            // Addresses, the end marks and the report's layout are the same in both.
            if (std::string(section) == "Print" || value == "<END>" || key.rfind("addr_", 0) == 0) {
                EXPECT_EQ(it->second, value) << section << " " << key;
            }
        }
    }
}

TEST_F(StartupTest, MissingPlatformFoldersFallBackToTheExecutablesFolder) {
    env.appDataFolder = dir.file("no-appdata");
    env.documentsFolder.reset();
    Folders f = RunStartup(env);
    EXPECT_EQ(f.programFolder, dir.file("exe/"));
    EXPECT_EQ(f.standardConfigFolder, dir.file("exe/Config/"));
    EXPECT_EQ(f.configFolder, dir.file("exe/Config"));
    EXPECT_TRUE(fs::is_regular_file(dir.file("exe/Values.ini")));
    EXPECT_TRUE(fs::is_directory(dir.file("exe/Config")));
}

TEST_F(StartupTest, AnInstalledProgramFindsItsTemplatesBesideItsBinFolder) {
    // An unpacked package under any prefix: prefix/bin/kivoctl, prefix/share/kivotool/.
    dir.Write("prefix/share/kivotool/Values.i", "[Setup]\r\n");
    fs::create_directories(dir.file("prefix/bin"));
    EXPECT_EQ(PlatformEnvironment(dir.file("prefix/bin/kivoctl"), {}).templateFolder,
              dir.file("prefix/share/kivotool/"));
    // A new account's folders are made, so start-up never falls back to the program's
    // own (unwritable) folder.
    setenv("KIVO_APPDATA_DIR", dir.file("new/.local/share").c_str(), 1);
    setenv("KIVO_DOCUMENTS_DIR", dir.file("new/Dokumente").c_str(), 1);
    const StartupEnvironment fresh = PlatformEnvironment(dir.file("prefix/bin/kivoctl"), {});
    unsetenv("KIVO_APPDATA_DIR");
    unsetenv("KIVO_DOCUMENTS_DIR");
    EXPECT_TRUE(fs::is_directory(dir.file("new/.local/share")));
    EXPECT_TRUE(fs::is_directory(dir.file("new/Dokumente")));
    EXPECT_EQ(RunStartup(fresh).programFolder.rfind(dir.file("new/.local/share/"), 0), 0u);

    // A build tree keeps them beside the program, and that copy wins.
    dir.Write("prefix/bin/Values.i", "[Setup]\r\n");
    EXPECT_EQ(PlatformEnvironment(dir.file("prefix/bin/kivoctl"), {}).templateFolder,
              dir.file("prefix/bin/"));
}

TEST_F(StartupTest, StoredPasswordsSurviveAndDamagedOnesGetTheirDefault) {
    RunStartup(env);
    KivoPassword store(Program() + "KivoLng.tbl");
    store.WritePassword(3, "geheim");
    store.WritePassword(2, "");
    RunStartup(env);
    EXPECT_EQ(store.ReadPassword(3), "geheim");
    EXPECT_EQ(store.ReadPassword(2), KivoPassword::kClearedMarker); // cleared stays cleared
}

TEST_F(StartupTest, MissingTemplatesArePassedOver) {
    fs::remove(dir.file("exe/Values.i"));
    fs::remove(dir.file("exe/Default.b"));
    Folders f = RunStartup(env);
    EXPECT_FALSE(fs::exists(Program() + "Values.ini"));
    EXPECT_FALSE(fs::exists(Program() + "Default.bin"));
    EXPECT_EQ(f.configFolder, dir.file("docs/TAVRA/KIVO config"));
}

TEST_F(StartupTest, AlternativeDefaultsAreCopiedAtEveryStart) {
    dir.Write("exe/KivoDefault(Tag).bin", std::string(512, '\x33'));
    dir.Write("exe/KivoDefaultTag.bin", std::string(512, '\x44')); // no parentheses
    RunStartup(env);
    EXPECT_EQ(dir.ReadText(Program() + "KivoDefault(Tag).bin"), std::string(512, '\x33'));
    EXPECT_FALSE(fs::exists(Program() + "KivoDefaultTag.bin"));
    dir.Write(Program() + "KivoDefault(Tag).bin", "changed");
    RunStartup(env);
    EXPECT_EQ(dir.ReadText(Program() + "KivoDefault(Tag).bin"), std::string(512, '\x33'));
}

TEST(InstallFileTest, CopiesWholeFilesAndFailsCleanly) {
    TempDir dir;
    std::string content;
    for (int i = 0; i < 300; ++i) content += static_cast<char>(i);
    dir.Write("src/a.bin", content);
    fs::create_directories(dir.file("dst"));
    EXPECT_TRUE(InstallFile(dir.file("src/"), "a.bin", "b.bin", dir.file("dst/")));
    EXPECT_EQ(dir.ReadText("dst/b.bin"), content);
    dir.Write("dst/c.bin", "keep");
    EXPECT_FALSE(InstallFile(dir.file("src/"), "missing", "c.bin", dir.file("dst/")));
    EXPECT_EQ(dir.ReadText("dst/c.bin"), "keep");
    EXPECT_FALSE(InstallFile(dir.file("src/"), "a.bin", "c.bin", dir.file("nowhere/")));
}

} // namespace
} // namespace kivo
