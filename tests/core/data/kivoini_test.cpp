#include "data/cp1252.h"
#include "data/fileio.h"
#include "data/kivoini.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace kivo {
namespace {

class IniTest : public ::testing::Test {
protected:
    // Writes `content` as Values.ini and points `ini` at it.
    void Use(const std::string& content) { ini.SetFileName(dir.Write("Values.ini", content)); }
    std::string FileText() const { return dir.ReadText("Values.ini"); }

    test::TempDir dir;
    KivoIni ini;
};

// ---------------------------------------------------------------- reading

TEST_F(IniTest, ReadsWithProfileRules) {
    Use("; a comment=not a key\r\n"
        "orphan=before any section\r\n"
        "[Setup]\r\n"
        "  AppVersion \t=  1.2.3 \t\r\n"
        "ConfigDirectory=C:\\Kivo=Config\r\n"
        "Quoted=\" padded \"\r\n"
        "OneQuote=\"open\r\n"
        "Empty=\r\n"
        "Dup=first\r\n"
        "Dup=second\r\n"
        "a line without the sign\r\n"
        ";Commented=yes\r\n"
        "=no name\r\n"
        "[ setup ]\r\n"
        "Later=in a second Setup section\r\n"
        "[NoKeys]\r\n"
        "just text\r\n"
        "[Other]\r\n"
        "Key=other\r\n");
    struct Case {
        const char* section;
        const char* key;
        const char* value;
    };
    const Case cases[] = {
        {"Setup", "AppVersion", "1.2.3"},
        {"SETUP", "appversion", "1.2.3"},
        {" Setup ", " AppVersion ", "1.2.3"},
        {"Setup", "ConfigDirectory", "C:\\Kivo=Config"}, // value after the first "="
        {"Setup", "Quoted", " padded "},
        {"Setup", "OneQuote", "\"open"},
        {"Setup", "Empty", ""},
        {"Setup", "Dup", "first"},
        {"Setup", "Later", ""}, // the first of two same-named sections is the one read
        {"Setup", "Commented", ""},
        {"Setup", "orphan", ""},
        {"Setup", "Key", ""},
        {"Other", "Key", "other"},
        {"Missing", "Key", ""},
        {"NoKeys", "just text", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ini.ReadValue(c.section, c.key), c.value) << c.section << "/" << c.key;
    EXPECT_TRUE(ini.FileFound());
}

TEST_F(IniTest, AcceptsEveryLineEndAndAByteOrderMark) {
    const std::vector<std::string> variants = {
        "[A]\r\n0=zero\r\n1=one\r\n2=<END>\r\n",
        "[A]\n0=zero\n1=one\n2=<END>\n",
        "[A]\r0=zero\r1=one\r2=<END>\r",
        "[A]\r\n0=zero\n1=one\r2=<END>",
        "\xEF\xBB\xBF[A]\r\n0=zero\r\n1=one\r\n2=<END>\r\n",
        "\r\n\r\n[A]\r\n\r\n0=zero\r\n\r\n1=one\r\n2=<END>",
    };
    for (const std::string& text : variants) {
        Use(text);
        EXPECT_EQ(ini.ReadValue("A", "0"), "zero") << text;
        EXPECT_EQ(ini.ReadValue("A", "1"), "one") << text;
        ItemList list;
        ValueList values;
        EXPECT_EQ(ini.FillFromSection(list, "A", values, 10, true), 2) << text;
        EXPECT_EQ(values, (ValueList{0, 1, kSentinel})) << text;
    }
}

TEST_F(IniTest, MissingFileReadsAsEmpty) {
    ini.SetFileName(dir.file("Values.ini"));
    EXPECT_FALSE(ini.FileFound());
    EXPECT_EQ(ini.ReadValue("Setup", "AppVersion"), "");
    ItemList list{{"old"}, 0};
    ValueList values{7, kSentinel};
    EXPECT_EQ(ini.FillFromSection(list, "YesNo", values, 5, true), 0);
    EXPECT_TRUE(list.items.empty());
    EXPECT_EQ(list.selected, -1);
    EXPECT_EQ(values, (ValueList{7, kSentinel}));
    EXPECT_TRUE(ini.ReadAdvancedRows().empty());
    EXPECT_FALSE(FileExists(dir.file("Values.ini"))); // reading creates nothing

    ini.SetFileName(dir.path()); // a folder is not a settings file
    EXPECT_FALSE(ini.FileFound());
    EXPECT_EQ(ini.ReadValue("Setup", "AppVersion"), "");
}

TEST_F(IniTest, Windows1252OnDiskUtf8Inside) {
    Use("[Texts]\r\n0=Gr\xFC\xDF"
        "e\r\n1=\x80 5\r\n2=<END>\r\n");
    EXPECT_EQ(ini.ReadValue("Texts", "0"), "Grüße");
    ItemList list;
    ValueList values;
    ASSERT_EQ(ini.FillFromSection(list, "Texts", values, 10, true), 2);
    EXPECT_EQ(list.items, (std::vector<std::string>{"Grüße", "€ 5"}));

    EXPECT_TRUE(ini.WriteValue("Texts", "1", "Größe"));
    EXPECT_EQ(FileText(), "[Texts]\r\n0=Gr\xFC\xDF"
                          "e\r\n1=Gr\xF6\xDF"
                          "e\r\n2=<END>\r\n");
    EXPECT_EQ(ini.ReadValue("Texts", "1"), "Größe");
}

// A file saved by a Linux editor is UTF-8: read as such (with or without its byte order mark),
// so "Hauptstraße" does not come out as "HauptstraÃŸe".
TEST_F(IniTest, AUtf8FileIsReadAsUtf8) {
    for (const std::string bom : {"", "\xEF\xBB\xBF"}) {
        Use(bom + "[About]\r\nLine1=Hauptstra\xC3\x9F"
                  "e 5\r\nLine2=\xE2\x82\xAC 5\r\n");
        EXPECT_EQ(ini.ReadValue("About", "Line1"), "Hauptstraße 5");
        EXPECT_EQ(ini.ReadValue("About", "Line2"), "€ 5");
    }
    // Windows-1252 whose bytes only look like UTF-8 by chance is rare; plain 1252 stays 1252.
    Use("[About]\r\nLine1=Hauptstra\xDF"
        "e\r\n");
    EXPECT_EQ(ini.ReadValue("About", "Line1"), "Hauptstraße");
}

TEST(Utf8Detection, OnlyWellFormedUtf8BeyondAsciiCounts) {
    const struct {
        const char* bytes;
        bool utf8;
    } cases[] = {
        {"plain ascii", false},
        {"Stra\xC3\x9F"
         "e",
         true},
        {"Stra\xDF"
         "e",
         false},
        {"\xC0\xAF", false},
        {"\xED\xA0\x80", false},
        {"\xF4\x90\x80\x80", false},
        {"\xF0\x9F\x98\x80", true},
        {"\xE2\x82", false},
    };
    for (const auto& c : cases) EXPECT_EQ(LooksLikeUtf8(c.bytes), c.utf8) << c.bytes;
}

// ---------------------------------------------------------------- writing

TEST_F(IniTest, WriteKeepsEveryOtherLine) {
    const std::string before = "; Settings of the tool\n"
                               "[Setup]\n"
                               "; where the files go\n"
                               "ConfigDirectory = /old/place\n"
                               "AppVersion=0.1\n"
                               "\n"
                               "; layout of the report\n"
                               "[Print]\n"
                               "LogoPosX=20\n"
                               "  odd line  \n";
    Use(before);
    EXPECT_TRUE(ini.WriteValue("setup", "configdirectory", "/new/place"));
    EXPECT_TRUE(ini.WriteValue("Setup", "DefaultBinChanged", "true"));
    EXPECT_TRUE(ini.WriteValue("Print", "LogoPosY", "15"));
    EXPECT_TRUE(ini.WriteValue("ValueAdvanced", "Addr_1", "16"));
    EXPECT_EQ(FileText(), "; Settings of the tool\n"
                          "[Setup]\n"
                          "; where the files go\n"
                          "ConfigDirectory = /new/place\n"
                          "AppVersion=0.1\n"
                          "DefaultBinChanged=true\n"
                          "\n"
                          "; layout of the report\n"
                          "[Print]\n"
                          "LogoPosX=20\n"
                          "LogoPosY=15\n"
                          "  odd line  \n"
                          "\n"
                          "[ValueAdvanced]\n"
                          "Addr_1=16\n");
}

TEST_F(IniTest, WriteUsesTheFilesLineEnds) {
    struct Case {
        std::string before, after;
    };
    const Case cases[] = {
        {"[Setup]\r\nA=1\r\n", "[Setup]\r\nA=1\r\nB=2\r\n"},
        {"[Setup]\nA=1", "[Setup]\nA=1\nB=2\n"},
        {"[Setup]\rA=1\r", "[Setup]\rA=1\rB=2\r\n"},
        {"[Other]\r\nX=1", "[Other]\r\nX=1\r\n\r\n[Setup]\r\nB=2\r\n"},
        {"\xEF\xBB\xBF[Setup]\nA=1\n", "\xEF\xBB\xBF[Setup]\nA=1\nB=2\n"},
        {"", "[Setup]\r\nB=2\r\n"},
    };
    for (const Case& c : cases) {
        Use(c.before);
        EXPECT_TRUE(ini.WriteValue("Setup", "B", "2"));
        EXPECT_EQ(FileText(), c.after) << c.before;
    }
}

TEST_F(IniTest, WriteCreatesTheFileAndReplacesTheFirstKey) {
    ini.SetFileName(dir.file("Values.ini"));
    EXPECT_TRUE(ini.WriteValue("Setup", "AppVersion", "0.1.0"));
    EXPECT_EQ(FileText(), "[Setup]\r\nAppVersion=0.1.0\r\n");

    // Duplicates: the first section and its first key are written, as they are the ones read.
    Use("[Setup]\r\nDup=a\r\nDup=b\r\n[Setup]\r\nDup=c\r\n");
    EXPECT_TRUE(ini.WriteValue("Setup", "Dup", "x"));
    EXPECT_EQ(FileText(), "[Setup]\r\nDup=x\r\nDup=b\r\n[Setup]\r\nDup=c\r\n");
    // A first section without keys does not count as present, but is where a new key goes.
    Use("[Setup]\r\n; nothing yet\r\n[Setup]\r\nA=old\r\n");
    EXPECT_EQ(ini.ReadValue("Setup", "A"), "");
    EXPECT_TRUE(ini.WriteValue("Setup", "A", "new"));
    EXPECT_EQ(FileText(), "[Setup]\r\nA=new\r\n; nothing yet\r\n[Setup]\r\nA=old\r\n");
    EXPECT_EQ(ini.ReadValue("Setup", "A"), "new");
}

TEST_F(IniTest, WrittenValuesReadBackUnchanged) {
    Use("[Setup]\r\n");
    for (const std::string value :
         {"", " leading", "trailing\t", "\"quoted\"", "\"", "a=b=c", "; not a comment", "[x]"}) {
        EXPECT_TRUE(ini.WriteValue("Setup", "Key", value)) << value;
        EXPECT_EQ(ini.ReadValue("Setup", "Key"), value) << value;
    }
}

TEST_F(IniTest, WriteRefusesWhatCannotBeStoredAndKeepsTheFile) {
    const std::string before = "[Setup]\r\nA=1\r\n";
    Use(before);
    struct Case {
        const char *section, *key, *value;
    };
    const Case bad[] = {
        {"Setup", "A", "two\r\n[Injected]\r\nlines"},
        {"Setup", "A", "line\nbreak"},
        {"Setup", "A", "lone\rcarriage return"},
        {"Setup", "A", "\xE6\x97\xA5\xE6\x9C\xAC"}, // no Windows-1252 form
        {"Setup", "A", "broken \xC3"},              // malformed UTF-8
        {"Setup", "", "x"},
        {"Setup", "K=ey", "x"},
        {"Setup", "[Key]", "x"},
        {"Setup", ";Key", "x"},
        {"", "Key", "x"},
        {"Se]tup", "Key", "x"},
        {"Set\nup", "Key", "x"},
    };
    for (const Case& c : bad) {
        EXPECT_FALSE(ini.WriteValue(c.section, c.key, c.value)) << c.section << "/" << c.key;
        EXPECT_EQ(FileText(), before) << c.section << "/" << c.key;
    }
    ini.SetFileName(dir.file("no such folder/Values.ini"));
    EXPECT_FALSE(ini.WriteValue("Setup", "A", "1"));
    ini.SetFileName(dir.path());
    EXPECT_FALSE(ini.WriteValue("Setup", "A", "1"));
}

// ---------------------------------------------------------------- choice lists

struct FillCase {
    const char* name;
    std::string section; // body of [List]
    int capacity;
    bool keepSeparators;
    std::vector<std::string> items;
    ValueList values; // expected; {5, 6, 999} means "left as it was"
};

void PrintTo(const FillCase& c, std::ostream* os) {
    *os << c.name;
}

class IniFillFromSectionTest : public IniTest, public ::testing::WithParamInterface<FillCase> {};

TEST_P(IniFillFromSectionTest, BuildsListAndValues) {
    const FillCase& c = GetParam();
    Use("[Before]\r\n0=wrong\r\n[List]\r\n" + c.section + "[After]\r\n0=wrong\r\n1=<END>\r\n");
    ItemList list{{"stale"}, 0};
    ValueList values{5, 6, kSentinel};
    EXPECT_EQ(ini.FillFromSection(list, "List", values, c.capacity, c.keepSeparators),
              static_cast<int>(c.items.size()));
    EXPECT_EQ(list.items, c.items);
    EXPECT_EQ(list.selected, c.items.empty() ? -1 : 0);
    EXPECT_EQ(values, c.values);
}

const ValueList kUntouched{5, 6, kSentinel};

INSTANTIATE_TEST_SUITE_P(
    Cases, IniFillFromSectionTest,
    ::testing::Values(
        FillCase{"TwoItems", "0=no\r\n1=yes\r\n2=<END>\r\n", 5, true, {"no", "yes"}, {0, 1, 999}},
        FillCase{"Gap", "0=a\r\n2=c\r\n3=<END>\r\n", 10, true, {"a", "c"}, {0, 2, 999}},
        FillCase{"ExplicitEmpty", "0=<EMPTY>\r\n1=b\r\n2=<END>\r\n", 10, true, {"b"}, {1, 999}},
        FillCase{"Capacity",
                 "0=a\r\n1=b\r\n2=c\r\n3=d\r\n4=e\r\n5=f\r\n6=g\r\n7=<END>\r\n",
                 5,
                 true,
                 {"a", "b", "c", "d", "e"},
                 {0, 1, 2, 3, 4, 999}},
        FillCase{"SeparatorShown",
                 "8=h\r\n9=i\r\n10=--- more ---\r\n11=k\r\n12=<END>\r\n",
                 100,
                 true,
                 {"h", "i", "--- more ---", "k"},
                 {8, 9, 10, 11, 999}},
        FillCase{"SeparatorEnds",
                 "8=h\r\n9=i\r\n10=--- more ---\r\n11=k\r\n12=<END>\r\n",
                 100,
                 false,
                 {"h", "i"},
                 {8, 9, 999}},
        FillCase{"EndFirst", "0=<END>\r\n1=never\r\n", 10, true, {}, kUntouched},
        FillCase{"ComparisonsAreExact",
                 "0=<end>\r\n1=<Empty>\r\n2=-- x\r\n3=<END>\r\n",
                 10,
                 false,
                 {"<end>", "<Empty>", "-- x"},
                 {0, 1, 2, 999}},
        FillCase{"RepeatedTexts",
                 "0=same\r\n1=same\r\n2=<END>\r\n",
                 10,
                 true,
                 {"same", "same"},
                 {0, 1, 999}},
        FillCase{"DuplicateKeyFirstWins",
                 "0=first\r\n0=second\r\n1=<END>\r\n",
                 10,
                 true,
                 {"first"},
                 {0, 999}},
        FillCase{"OddKeysIgnored",
                 "99999999999999=huge\r\n-1=neg\r\nabc=word\r\n01=padded\r\n 1 =one\r\n"
                 "2=<END>\r\n",
                 10,
                 true,
                 {"one"},
                 {1, 999}},
        FillCase{"NoEndStopsAfterLongGap",
                 "0=a\r\n1=b\r\n300=far\r\n",
                 100,
                 true,
                 {"a", "b"},
                 {0, 1, 999}},
        FillCase{
            "NoEndShortGapsStillRead", "0=a\r\n255=z\r\n", 100, true, {"a", "z"}, {0, 255, 999}},
        FillCase{"OnlyMissingKeys", "7000=x\r\n", 100, true, {}, kUntouched},
        FillCase{"SectionWithoutKeys", "; nothing\r\n", 10, true, {}, kUntouched},
        FillCase{"NoRoom", "0=a\r\n1=<END>\r\n", 0, true, {}, kUntouched}),
    [](const ::testing::TestParamInfo<FillCase>& info) { return info.param.name; });

TEST_F(IniTest, MissingSectionEmptiesListOnly) {
    Use("[Other]\r\n0=a\r\n1=<END>\r\n");
    ItemList list{{"x", "y"}, 1};
    ValueList values{3, 4, kSentinel};
    EXPECT_EQ(ini.FillFromSection(list, "YesNo", values, 5, true), 0);
    EXPECT_TRUE(list.items.empty());
    EXPECT_EQ(list.selected, -1);
    EXPECT_EQ(values, (ValueList{3, 4, kSentinel}));
}

TEST(ListTest, ClearAndAddItem) {
    ItemList list{{"old"}, 0};
    ValueList values{1, 2, kSentinel};
    ClearList(list, values);
    EXPECT_TRUE(list.items.empty());
    EXPECT_EQ(list.selected, -1);
    EXPECT_EQ(values, ValueList{kSentinel});

    EXPECT_EQ(AddItem(list, "none", values, 0), 0);
    EXPECT_EQ(AddItem(list, "A", values, 1), 1);
    list.selected = 1;
    EXPECT_EQ(AddItem(list, "again", values, 0), -1); // value already listed: no change
    EXPECT_EQ(AddItem(list, "B", values, 2), 2);
    EXPECT_EQ(list.items, (std::vector<std::string>{"none", "A", "B"}));
    EXPECT_EQ(list.selected, 1);
    EXPECT_EQ(values, (ValueList{0, 1, 2, kSentinel}));
    EXPECT_EQ(AddItem(list, "sentinel", values, kSentinel), -1);

    ValueList empty; // no sentinel at all
    EXPECT_EQ(AddItem(list, "C", empty, 9), 0);
    EXPECT_EQ(empty, (ValueList{9, kSentinel}));

    // A list whose sentinel was lost: the walk stops after 256 entries.
    ValueList unterminated(300, 5);
    for (int i = 0; i < 300; ++i) unterminated[i] = 1000 + i;
    EXPECT_EQ(AddItem(list, "D", unterminated, 7), 256);
    EXPECT_EQ(unterminated.size(), 258u);
    EXPECT_EQ(unterminated[256], 7);
    EXPECT_EQ(unterminated[257], kSentinel);
}

TEST(ListTest, IndexOfValueAndValueAtIndex) {
    const ValueList values{0, 2, 7, kSentinel, 5};
    struct Case {
        int value, index;
    };
    for (Case c : {Case{0, 0}, Case{2, 1}, Case{7, 2}, Case{1, -1}, Case{5, -1}, Case{999, -1}})
        EXPECT_EQ(IndexOfValue(values, c.value), c.index) << c.value;
    for (Case c : {Case{0, 0}, Case{2, 1}, Case{7, 2}, Case{-1, -1}, Case{-1, 3}, Case{-1, 4},
                   Case{-1, 100}, Case{-1, -5}})
        EXPECT_EQ(ValueAtIndex(values, c.index), c.value) << c.index;

    const ValueList none, onlySentinel{kSentinel}, unterminated{4, 8};
    EXPECT_EQ(IndexOfValue(none, 0), -1);
    EXPECT_EQ(IndexOfValue(onlySentinel, 0), -1);
    EXPECT_EQ(IndexOfValue(unterminated, 8), 1);
    EXPECT_EQ(IndexOfValue(unterminated, 3), -1);
    EXPECT_EQ(ValueAtIndex(none, 0), -1);
    EXPECT_EQ(ValueAtIndex(onlySentinel, 0), -1);
    EXPECT_EQ(ValueAtIndex(unterminated, 1), 8);
    EXPECT_EQ(ValueAtIndex(unterminated, 2), -1);
}

// ---------------------------------------------------------------- print layout, advanced rows

TEST_F(IniTest, PrintNumbersKeepTheirDefaultUnlessSet) {
    Use("[Print]\r\nLogoPosX=-1\r\nHeaderPosX=30\r\nA=abc\r\nB=\r\nC= 42 \r\nD=12mm\r\n"
        "E=99999999999\r\nF=+5\r\nG=-5\r\nH=+-5\r\nI=0x10\r\nJ=-0\r\n");
    struct Case {
        const char* key;
        int expected;
    };
    for (Case c : {Case{"LogoPosX", 20}, Case{"HeaderPosX", 30}, Case{"A", 20}, Case{"B", 20},
                   Case{"C", 42}, Case{"D", 20}, Case{"E", 20}, Case{"F", 5}, Case{"G", -5},
                   Case{"H", 20}, Case{"I", 20}, Case{"J", 0}, Case{"Missing", 20}})
        EXPECT_EQ(ini.ReadPrintNumber(c.key, 20), c.expected) << c.key;
    EXPECT_EQ(ini.ReadPrintNumber("LogoPosX", -1), -1); // -1 as default: "not set"
}

TEST_F(IniTest, AdvancedRowsInOrderSkippingGaps) {
    Use("[ValueAdvanced]\r\nAddr=Adresse\r\nDesc=Beschreibung\r\n"
        "Addr_3=200\r\nDesc_3=Dritte\r\nUnit_3=s\r\n"
        "Addr_1=16\r\nDesc_1=Erste \xDC"
        "bersicht\r\n"
        "Addr_4=\r\nDesc_4=leer\r\n"
        "Desc_5=ohne Adresse\r\n"
        "Addr_511=511\r\nAddr_512=zu weit\r\nAddr_0=null\r\n");
    const auto rows = ini.ReadAdvancedRows();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].addr, "16");
    EXPECT_EQ(rows[0].desc, "Erste Übersicht");
    EXPECT_EQ(rows[0].unit, "");
    EXPECT_EQ(rows[1].addr, "200");
    EXPECT_EQ(rows[1].desc, "Dritte");
    EXPECT_EQ(rows[1].unit, "s");
    EXPECT_EQ(rows[2].addr, "511");
    EXPECT_EQ(ini.ReadValue("ValueAdvanced", "Addr"), "Adresse");
}

} // namespace
} // namespace kivo
