#include "access/kivopassword.h"
#include "data/fileio.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace kivo {
namespace {

using Bytes = std::vector<std::uint8_t>;

// The built-in passwords; the program holds them only scrambled.
const std::string kBuiltIn4 = "Wv7kQ2rTzx";
const std::string kBuiltIn5 = "Lp4mX9sNqe8";
const std::string kCleared = KivoPassword::kClearedMarker;

class PasswordTest : public ::testing::Test {
protected:
    std::string Path() const { return dir.file("KivoLng.tbl"); }
    Bytes FileBytes() const { return dir.Read("KivoLng.tbl"); }
    // A store with a known body: header, zeros, and filler of one repeated byte.
    void WriteStore(std::uint8_t filler, std::size_t size = KivoPassword::kFileSize) {
        Bytes data(size, filler);
        const std::string head = std::string("Language Table\r\n") + std::string(16, '\0');
        for (std::size_t i = 0; i < head.size() && i < size; ++i) data[i] = head[i];
        dir.Write("KivoLng.tbl", data);
    }
    // What a record for `text` looks like in its window.
    static Bytes Record(int level, const std::string& text) {
        Bytes plain(text.begin(), text.end());
        plain.push_back(0);
        Bytes record = KivoPassword::Scramble(static_cast<std::uint8_t>(level + 16), plain.data(),
                                              plain.size());
        record.push_back(KivoPassword::CheckByte(record.data(), record.size()));
        return record;
    }
    Bytes Window(int level, std::size_t count) const {
        const Bytes bytes = FileBytes();
        const auto at = static_cast<std::size_t>(KivoPassword::WindowOffset(level));
        return Bytes(bytes.begin() + at, bytes.begin() + at + count);
    }
    std::string Text(const Bytes& bytes, std::size_t from, std::size_t count) const {
        return std::string(bytes.begin() + from, bytes.begin() + from + count);
    }

    test::TempDir dir;
    KivoPassword store{dir.file("KivoLng.tbl")};
};

TEST_F(PasswordTest, FreshStoreLayoutAndDefaults) {
    const mode_t oldMask = ::umask(0);
    WriteDefaultPasswords(store);
    ::umask(oldMask);

    const Bytes bytes = FileBytes();
    ASSERT_EQ(bytes.size(), 709u);
    EXPECT_EQ(Text(bytes, 0, 16), "Language Table\r\n");
    EXPECT_EQ(Text(bytes, 16, 16), std::string(16, '\0'));
    struct stat st {};
    ASSERT_EQ(::stat(Path().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0664u); // shared with the group, never with everyone

    EXPECT_EQ(store.ReadPassword(2), "6747");
    EXPECT_EQ(store.ReadPassword(3), "7093");
    EXPECT_EQ(store.ReadPassword(4), "");
    EXPECT_EQ(store.ReadPassword(5), "qorvu");
    EXPECT_EQ(store.AccessLevel("6747"), 2);
    EXPECT_EQ(store.AccessLevel("7093"), 3);
    EXPECT_EQ(store.AccessLevel("qorvu"), 5);
    EXPECT_EQ(store.AccessLevel(""), 0);
    EXPECT_EQ(store.AccessLevel("6748"), 0);

    // Two fresh stores do not share their filler.
    test::TempDir other;
    KivoPassword second(other.file("KivoLng.tbl"));
    second.WritePassword(2, "6747");
    EXPECT_NE(Text(other.Read("KivoLng.tbl"), 32, 200), Text(bytes, 32, 200));
}

TEST_F(PasswordTest, RecordIsWrittenInPlaceAndNothingElse) {
    WriteStore(0x00);
    const Bytes before = FileBytes();
    store.WritePassword(3, "abc");
    Bytes expected = before;
    // "abc" and its zero scrambled with seed 19, then the check byte. These bytes are frozen:
    // they change only if the scramble table changes, which would orphan every stored record.
    const Bytes record = {0x97, 0xCF, 0xA5, 0x0B, 0x3E};
    std::copy(record.begin(), record.end(), expected.begin() + 361);
    EXPECT_EQ(FileBytes(), expected);
    EXPECT_EQ(store.ReadPassword(3), "abc");

    const Bytes plain = KivoPassword::Scramble(19, record.data(), 4);
    EXPECT_EQ(Text(plain, 0, 4), std::string("abc\0", 4));
    EXPECT_EQ(KivoPassword::CheckByte(record.data(), 4), 0x3E);

    store.WritePassword(2, "6747");
    EXPECT_EQ(Window(2, 6), (Bytes{0xA1, 0xEE, 0x96, 0x9E, 0x04, 0xF8}));
}

TEST_F(PasswordTest, ShorterRecordLeavesTheOldTailBehind) {
    WriteStore(0x00);
    store.WritePassword(5, "0123456789");
    const Bytes longer = FileBytes();
    store.WritePassword(5, "xyz");
    const Bytes shorter = FileBytes();
    EXPECT_EQ(store.ReadPassword(5), "xyz");
    EXPECT_EQ(shorter.size(), 709u);
    // Window bytes 5 ... 11 still hold the end of the ten-character record.
    EXPECT_EQ(Text(shorter, 581 + 5, 7), Text(longer, 581 + 5, 7));
    EXPECT_NE(Text(shorter, 581, 5), Text(longer, 581, 5));
    EXPECT_EQ(Text(shorter, 0, 581), Text(longer, 0, 581));
    EXPECT_EQ(Text(shorter, 631, 78), Text(longer, 631, 78));
}

TEST_F(PasswordTest, ChangedCheckByteReadsAsEmptyAndDefaultsComeBack) {
    WriteDefaultPasswords(store);
    store.WritePassword(3, "own3");
    store.WritePassword(4, "four");
    const Bytes good = FileBytes();
    struct Record {
        int level;
        std::size_t checkAt; // window offset + length of the text + 1
    };
    for (Record r :
         {Record{2, 243 + 5}, Record{3, 361 + 5}, Record{4, 498 + 5}, Record{5, 581 + 6}}) {
        for (int delta = 1; delta < 256; ++delta) {
            Bytes bad = good;
            bad[r.checkAt] = static_cast<std::uint8_t>(bad[r.checkAt] + delta);
            dir.Write("KivoLng.tbl", bad);
            ASSERT_EQ(store.ReadPassword(r.level), "") << r.level << " " << delta;
        }
    }
    Bytes bad = good;
    for (Record r : {Record{2, 248}, Record{3, 366}, Record{4, 503}, Record{5, 587}})
        ++bad[r.checkAt];
    dir.Write("KivoLng.tbl", bad);
    WriteDefaultPasswords(store);
    EXPECT_EQ(store.ReadPassword(2), "6747");
    EXPECT_EQ(store.ReadPassword(3), "7093");
    EXPECT_EQ(store.ReadPassword(4), "");
    EXPECT_EQ(store.ReadPassword(5), "qorvu");
}

TEST_F(PasswordTest, ClearedLevelsAndTheEmptyText) {
    WriteDefaultPasswords(store);
    EXPECT_EQ(store.AccessLevel(""), 0);
    EXPECT_FALSE(store.MatchesLevel("", 3));

    store.WritePassword(3, "");
    EXPECT_EQ(store.ReadPassword(3), kCleared);
    EXPECT_TRUE(store.MatchesLevel("", 3));
    EXPECT_EQ(store.AccessLevel(""), 3);
    EXPECT_EQ(store.AccessLevel("7093"), 0);
    WriteDefaultPasswords(store); // a cleared level stays cleared
    EXPECT_EQ(store.ReadPassword(3), kCleared);

    store.WritePassword(2, "");
    EXPECT_EQ(store.AccessLevel(""), 3); // the highest cleared level
    store.WritePassword(5, "");
    EXPECT_EQ(store.AccessLevel(""), 5);
    EXPECT_TRUE(store.UsedByOtherLevel("", 2));
}

TEST_F(PasswordTest, PrecedenceOfLevelsAndBuiltIns) {
    WriteStore(0x00);
    EXPECT_EQ(store.AccessLevel(kBuiltIn4), 4);
    EXPECT_EQ(store.AccessLevel(kBuiltIn5), 5);

    store.WritePassword(2, "shared");
    store.WritePassword(5, "shared");
    EXPECT_EQ(store.AccessLevel("shared"), 5);
    store.WritePassword(5, "Secret");
    store.WritePassword(3, "shared");
    EXPECT_EQ(store.AccessLevel("shared"), 3);
    EXPECT_EQ(store.AccessLevel("secret"), 0); // letter case counts
    EXPECT_EQ(store.AccessLevel("Secret "), 0);
    store.WritePassword(4, "four");
    EXPECT_EQ(store.AccessLevel("four"), 4);

    // The built-ins come first, whatever is stored.
    store.WritePassword(5, kBuiltIn4);
    store.WritePassword(4, kBuiltIn5);
    EXPECT_EQ(store.AccessLevel(kBuiltIn4), 4);
    EXPECT_EQ(store.AccessLevel(kBuiltIn5), 5);
    EXPECT_EQ(store.AccessLevel(kBuiltIn4.substr(0, 9)), 0);
    EXPECT_EQ(store.AccessLevel(kBuiltIn5 + "x"), 0);
}

TEST_F(PasswordTest, UsedByOtherLevel) {
    store.WritePassword(2, "two2");
    store.WritePassword(3, "three3");
    store.WritePassword(4, "four4");
    store.WritePassword(5, "five5");
    struct Case {
        const char* text;
        int level;
        bool used;
    };
    const Case cases[] = {
        {"three3", 2, true},   {"five5", 2, true},  {"two2", 2, false},   {"four4", 2, false},
        {"two2", 3, true},     {"five5", 3, true},  {"three3", 3, false}, {"two2", 5, true},
        {"three3", 5, true},   {"five5", 5, false}, {"two2", 4, false},   {"two2", 1, false},
        {"nothing", 5, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(store.UsedByOtherLevel(c.text, c.level), c.used) << c.text << " " << c.level;
    EXPECT_FALSE(store.UsedByOtherLevel(kBuiltIn5, 2));
}

TEST_F(PasswordTest, RecordLengthLimits) {
    WriteStore(0x00);
    const std::string t43(43, 'a'), t44(44, 'b'), t48(48, 'c'), t49(49, 'd');
    store.WritePassword(2, t43);
    EXPECT_EQ(store.ReadPassword(2), t43);

    store.WritePassword(3, t44); // written (46 bytes) but too long to be read back
    EXPECT_EQ(Window(3, 46), Record(3, t44));
    EXPECT_EQ(store.ReadPassword(3), "");

    store.WritePassword(4, t48); // fills the window exactly
    EXPECT_EQ(Window(4, 50), Record(4, t48));
    EXPECT_EQ(store.ReadPassword(4), "");
    const Bytes before = FileBytes();
    EXPECT_EQ(before[548], 0); // the byte behind the window

    store.WritePassword(5, t49); // would run past the window: refused
    EXPECT_EQ(FileBytes(), before);
    EXPECT_EQ(FileBytes().size(), 709u);

    KivoPassword fresh(dir.file("other.tbl"));
    fresh.WritePassword(2, t49); // refused before anything is created
    EXPECT_FALSE(FileExists(dir.file("other.tbl")));
}

TEST_F(PasswordTest, TextsAreWindows1252InTheRecord) {
    WriteStore(0x00);
    store.WritePassword(2, "Grüße");
    const Bytes bytes = FileBytes();
    const Bytes plain = KivoPassword::Scramble(18, bytes.data() + 243, 6);
    EXPECT_EQ(Text(plain, 0, 6), std::string("Gr\xFC\xDF"
                                             "e\0",
                                             6));
    EXPECT_EQ(store.ReadPassword(2), "Grüße");
    EXPECT_EQ(store.AccessLevel("Grüße"), 2);

    store.WritePassword(2, "\xE6\x97\xA5\xE6\x9C\xAC"); // no Windows-1252 form: refused
    store.WritePassword(2, std::string("a\0b", 3));     // would read back as "a": refused
    EXPECT_EQ(FileBytes(), bytes);
}

TEST_F(PasswordTest, OtherLevelsAreIgnored) {
    for (int level : {-1, 0, 1, 6, 255}) {
        EXPECT_EQ(KivoPassword::WindowOffset(level), -1);
        EXPECT_EQ(store.ReadPassword(level), "");
        EXPECT_FALSE(store.MatchesLevel("x", level));
    }
    store.WritePassword(6, "x"); // creates the store, writes no record
    EXPECT_EQ(FileBytes().size(), 709u);
    for (int level : {2, 3, 4, 5}) EXPECT_EQ(store.ReadPassword(level), "");
    const Bytes created = FileBytes();
    store.WritePassword(1, "x");
    EXPECT_EQ(FileBytes(), created);
}

TEST_F(PasswordTest, DamagedStoresReadAsEmptyAndAreNotRebuiltByReading) {
    auto expectAllEmpty = [&](const std::string& what) {
        for (int level : {2, 3, 4, 5}) {
            EXPECT_EQ(store.ReadPassword(level), "") << what << " level " << level;
            EXPECT_FALSE(store.MatchesLevel("", level)) << what;
        }
        EXPECT_EQ(store.AccessLevel("6747"), 0) << what;
    };

    expectAllEmpty("missing");
    EXPECT_FALSE(FileExists(Path()));

    // Cut inside the level-2 window, and just before the end of the level-5 window.
    WriteDefaultPasswords(store);
    const Bytes whole = FileBytes();
    for (std::size_t size : {0, 16, 250, 630}) {
        dir.Write("KivoLng.tbl", Bytes(whole.begin(), whole.begin() + size));
        if (size <= 250)
            expectAllEmpty("truncated");
        else
            EXPECT_EQ(store.ReadPassword(5), "");
        EXPECT_EQ(FileBytes().size(), size);
    }

    WriteStore(0x00);
    expectAllEmpty("zeros");
    WriteStore(0xFF);
    expectAllEmpty("ones");
    for (std::uint32_t seed = 1; seed <= 20; ++seed) {
        std::mt19937 engine(seed);
        Bytes noise(709);
        for (auto& b : noise) b = static_cast<std::uint8_t>(engine());
        dir.Write("KivoLng.tbl", noise);
        expectAllEmpty("noise " + std::to_string(seed));
        EXPECT_EQ(FileBytes(), noise);
    }

    // A folder where the store should be.
    test::TempDir other;
    KivoPassword folder(other.path());
    EXPECT_EQ(folder.ReadPassword(2), "");
    folder.WritePassword(2, "6747");
    EXPECT_EQ(folder.AccessLevel("6747"), 0);
}

TEST_F(PasswordTest, WritingIntoACutStoreTopsItUp) {
    WriteDefaultPasswords(store);
    const Bytes whole = FileBytes();
    dir.Write("KivoLng.tbl", Bytes(whole.begin(), whole.begin() + 300));
    WriteDefaultPasswords(store);
    const Bytes mended = FileBytes();
    ASSERT_EQ(mended.size(), 709u);
    EXPECT_EQ(Text(mended, 0, 300), Text(whole, 0, 300)); // the surviving bytes are kept
    EXPECT_EQ(store.ReadPassword(2), "6747");
    EXPECT_EQ(store.ReadPassword(3), "7093");
    EXPECT_EQ(store.ReadPassword(5), "qorvu");
}

TEST_F(PasswordTest, BuiltInPasswordsAreNotInTheSource) {
    for (const char* file :
         {"/src/core/access/scrambletable.cpp", "/src/core/access/kivopassword.cpp",
          "/src/core/access/scrambletable.h"}) {
        const std::string source = dir.ReadText(std::string(KIVO_SOURCE_DIR) + file);
        ASSERT_FALSE(source.empty()) << file;
        EXPECT_EQ(source.find(kBuiltIn4), std::string::npos) << file;
        EXPECT_EQ(source.find(kBuiltIn5), std::string::npos) << file;
    }
}

} // namespace
} // namespace kivo
