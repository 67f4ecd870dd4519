#include "editor/recentfiles.h"

#include "data/fileio.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

namespace kivo {
namespace {

using Paths = std::vector<std::string>;

class RecentFilesTest : public ::testing::Test {
protected:
    // A settings file with `content` as its raw (Windows-1252) bytes.
    KivoIni Ini(const std::string& content) {
        KivoIni ini;
        ini.SetFileName(dir.Write("Values.ini", content));
        return ini;
    }
    Paths Loaded(const std::string& content) {
        RecentFiles recent;
        recent.Load(Ini(content));
        return recent.Paths();
    }
    kivo::test::TempDir dir;
};

TEST_F(RecentFilesTest, OddSettingsGiveACleanList) {
    const std::string huge = "/" + std::string(5000, 'x') + ".Kivo";
    struct Case {
        const char* what;
        std::string content;
        Paths expected;
    } cases[] = {
        {"in order", "[Setup]\nRecent1=/c/a.Kivo\nRecent2=/c/b.Kivo\n", {"/c/a.Kivo", "/c/b.Kivo"}},
        {"gaps close up", "[Setup]\nRecent2=/b\nRecent5=/e\nRecent8=/h\n", {"/b", "/e", "/h"}},
        {"empty keys", "[Setup]\nRecent1=\nRecent2=  \nRecent3=/c\n", {"/c"}},
        {"repeats keep the newer place",
         "[Setup]\nRecent1=/a\nRecent2=/b\nRecent3=/a\n",
         {"/a", "/b"}},
        {"names in any case, blanks trimmed",
         "[SETUP]\r\n  recent1 =  /a b.Kivo  \r\n",
         {"/a b.Kivo"}},
        {"a repeated key: the first counts",
         "[Setup]\nRecent1=/first\nRecent1=/second\n",
         {"/first"}},
        {"only Recent1..Recent8", "[Setup]\nRecent0=/zero\nRecent9=/nine\nRecent01=/x\n", {}},
        {"relative names", "[Setup]\nRecent1=a.Kivo\nRecent2=../b.Kivo\nRecent3=/c\n", {"/c"}},
        {"huge values", "[Setup]\nRecent1=" + huge + "\nRecent2=/ok\n", {"/ok"}},
        {"Windows-1252 on disk",
         "[Setup]\nRecent1=/B\xFCro/\xC4nderung \x80.Kivo\n",
         {"/B\xC3\xBCro/\xC3\x84nderung \xE2\x82\xAC.Kivo"}},
        {"a byte the code page leaves undefined",
         "[Setup]\nRecent1=/a\x81.Kivo\nRecent2=/b\n",
         {"/b"}},
        {"other sections", "[Print]\nRecent1=/p\n[Setup]\nConfigDirectory=/cfg\n", {}},
        {"no file content", "", {}},
        {"not a settings file", std::string("\0\xFF\xFE[Setup\n=\n", 12), {}},
    };
    for (const Case& c : cases) EXPECT_EQ(Loaded(c.content), c.expected) << c.what;

    KivoIni missing;
    missing.SetFileName(dir.file("none/Values.ini"));
    RecentFiles recent;
    recent.Load(missing);
    EXPECT_TRUE(recent.Paths().empty());
}

TEST_F(RecentFilesTest, AddingMovesToTheTopAndKeepsEight) {
    RecentFiles recent;
    EXPECT_TRUE(recent.Add("/a"));
    EXPECT_TRUE(recent.Add("/b"));
    EXPECT_TRUE(recent.Add("/a")); // again: moves up, not listed twice
    EXPECT_EQ(recent.Paths(), (Paths{"/a", "/b"}));

    for (const char* p : {"/3", "/4", "/5", "/6", "/7", "/8"}) recent.Add(p);
    EXPECT_EQ(recent.Paths().size(), 8u);
    recent.Add("/9"); // the oldest goes
    EXPECT_EQ(recent.Paths(), (Paths{"/9", "/8", "/7", "/6", "/5", "/4", "/3", "/a"}));
    recent.Add("/4"); // from the middle to the top, nothing lost
    EXPECT_EQ(recent.Paths(), (Paths{"/4", "/9", "/8", "/7", "/6", "/5", "/3", "/a"}));

    EXPECT_TRUE(recent.Remove("/9"));
    EXPECT_FALSE(recent.Remove("/9"));
    EXPECT_FALSE(recent.Remove("/A")); // paths compare exactly
    EXPECT_EQ(recent.Paths(), (Paths{"/4", "/8", "/7", "/6", "/5", "/3", "/a"}));
}

TEST_F(RecentFilesTest, PathsTheFileCannotHoldAreNotTaken) {
    RecentFiles recent;
    recent.Add("/kept.Kivo");
    const std::string refused[] = {
        "",
        "relative.Kivo",
        "/Konfiguration/\xE6\x97\xA5\xE6\x9C\xAC.Kivo", // not in Windows-1252: would read as '?'
        "/a\xC2\x81.Kivo",                              // U+0081, undefined in the code page
        "/bad\xFF utf8.Kivo",
        "/two\nlines.Kivo",
        "/tab\t.Kivo",
        "/" + std::string(5000, 'x'),
    };
    for (const std::string& path : refused) {
        EXPECT_FALSE(recent.Add(path)) << path;
        EXPECT_FALSE(RecentFiles::Storable(path)) << path;
    }
    EXPECT_EQ(recent.Paths(), Paths{"/kept.Kivo"});
}

TEST_F(RecentFilesTest, StoringRoundTripsAndTouchesNothingElse) {
    const KivoIni ini = Ini("; settings\r\n[Setup]\r\nConfigDirectory=/cfg\r\nAppVersion=1.0\r\n"
                            "[AlarmType]\r\n0=Alarm\r\n");
    RecentFiles recent;
    for (int n = 8; n >= 1; --n) recent.Add("/f" + std::to_string(n));
    // Blanks at either end, quotes, '=', ';' and the code page's own letters survive.
    const Paths odd = {"/B\xC3\xBCro/x.Kivo ", "/\"quoted\"", " /lead", "/a=b;c.Kivo"};
    for (const std::string& p : odd) EXPECT_EQ(recent.Add(p), p[0] == '/') << p;
    ASSERT_TRUE(recent.Store(ini));

    RecentFiles again;
    again.Load(ini);
    EXPECT_EQ(again.Paths(), recent.Paths());
    EXPECT_EQ(again.Paths()[0], "/a=b;c.Kivo");
    EXPECT_EQ(ini.ReadValue("Setup", "ConfigDirectory"), "/cfg");
    EXPECT_EQ(ini.ReadValue("AlarmType", "0"), "Alarm");
    // On disk in Windows-1252.
    EXPECT_NE(dir.ReadText("Values.ini").find("/B\xFCro/x.Kivo "), std::string::npos);

    // A shorter list empties the keys behind it.
    RecentFiles shorter;
    shorter.Add("/only");
    ASSERT_TRUE(shorter.Store(ini));
    again.Load(ini);
    EXPECT_EQ(again.Paths(), Paths{"/only"});
    for (std::size_t i = 1; i < RecentFiles::kMaxFiles; ++i)
        EXPECT_EQ(ini.ReadValue("Setup", RecentFiles::KeyOf(i)), "") << i;

    // An empty list on a file that never had the keys adds none.
    const KivoIni fresh = Ini("[Setup]\nAppVersion=1.0\n");
    ASSERT_TRUE(RecentFiles().Store(fresh));
    EXPECT_EQ(dir.ReadText("Values.ini"), "[Setup]\nAppVersion=1.0\n");
}

TEST_F(RecentFilesTest, StoringNeverCreatesTheSettingsFile) {
    KivoIni ini;
    ini.SetFileName(dir.file("Values.ini"));
    RecentFiles recent;
    recent.Add("/a.Kivo");
    EXPECT_FALSE(recent.Store(ini));
    EXPECT_FALSE(FileExists(dir.file("Values.ini")));
}

} // namespace
} // namespace kivo
