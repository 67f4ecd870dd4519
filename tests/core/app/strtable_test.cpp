#include "app/strtable.h"

#include "app/strtable_data.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <optional>
#include <string>

namespace kivo {
namespace {

TEST(StringTable, TextsByNumber) {
    EXPECT_EQ(Str(15034), "-ABCDNU");
    EXPECT_EQ(Str(15022), "Konnte Textdatei nicht öffnen.");
    EXPECT_EQ(Str(15021), "Eine Textdatei mit allen Konfigurationsparametern wurde erstellt. ");
    EXPECT_EQ(Str(15036), "Die gewählte Konfigurationsdatei ist veraltet.\n"
                          "Neuere Parameter werden auf Standardwerte gesetzt.");
    EXPECT_EQ(Str(1), "");
    EXPECT_EQ(Str(99999), "");
    EXPECT_EQ(Str(-5), "");
}

TEST(StringTable, EditionSwitchesAreEmpty) {
    // The English edition keeps them as the German one does: 13608 would lay a second tick box
    // over "Passivalarm", 13219 would show a field the units do not use, and the password
    // dialog's one line per level says all there is to say.
    for (Edition edition : {Edition::German, Edition::English})
        for (int id : {13608, 13219, 13764, 13766, 13768}) EXPECT_EQ(Str(id, edition), "") << id;
}

// What a text carries that its translation must keep: its placeholders in order, and its
// line breaks.
std::string Skeleton(const std::string& text) {
    std::string marks;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 1 < text.size()) marks += text.substr(i++, 2);
        if (text[i] == '\n' || text[i] == '\r') marks += text[i];
    }
    return marks;
}

TEST(StringTable, BothEditionsHoldTheSameNumbersWithTheSamePlaceholders) {
    std::map<int, std::string> german, english;
    for (std::size_t i = 0; i < kStrTableDeSize; ++i)
        german[kStrTableDe[i].id] = kStrTableDe[i].text;
    for (std::size_t i = 0; i < kStrTableEnSize; ++i)
        english[kStrTableEn[i].id] = kStrTableEn[i].text;
    ASSERT_GT(german.size(), 600u);
    for (const auto& [id, text] : german) {
        auto it = english.find(id);
        if (it == english.end()) {
            ADD_FAILURE() << id << " has no English text: " << text;
            continue;
        }
        EXPECT_EQ(Skeleton(it->second), Skeleton(text)) << id << "\n" << text << "\n" << it->second;
        EXPECT_EQ(it->second.empty(), text.empty()) << id;
    }
    for (const auto& [id, text] : english)
        EXPECT_TRUE(german.count(id)) << id << " is only in the English table: " << text;
}

// Sets (or, with nullopt, clears) the variables for one case and puts them back afterwards.
class Environment {
public:
    explicit Environment(const std::map<std::string, std::optional<std::string>>& values) {
        for (const auto& [name, value] : values) {
            const char* old = std::getenv(name.c_str());
            saved_[name] = old ? std::optional<std::string>(old) : std::nullopt;
            Apply(name, value);
        }
    }
    ~Environment() {
        for (const auto& [name, value] : saved_) Apply(name, value);
    }

private:
    static void Apply(const std::string& name, const std::optional<std::string>& value) {
        if (value)
            ::setenv(name.c_str(), value->c_str(), 1);
        else
            ::unsetenv(name.c_str());
    }
    std::map<std::string, std::optional<std::string>> saved_;
};

TEST(StringTable, TheEditionComesFromKivoEditionElseTheLocale) {
    using V = std::optional<std::string>;
    const V none;
    struct Case {
        V edition, all, messages, lang;
        Edition expected;
    };
    const Case cases[] = {
        {"en", "de_DE.UTF-8", none, none, Edition::English},
        {"de", "en_GB.UTF-8", none, none, Edition::German},
        {"fr", none, none, "en_US.UTF-8", Edition::English}, // not an edition: the locale
        {none, "en_GB.UTF-8", "de_DE", "de_DE", Edition::English},
        {none, none, "de_AT.UTF-8", "en_US.UTF-8", Edition::German}, // LC_MESSAGES first
        {none, none, "", "en_US.UTF-8", Edition::English},           // empty counts as unset
        {none, none, none, "C.UTF-8", Edition::German},
        {none, none, none, "sv_SE.UTF-8", Edition::German}, // every other language
        {none, none, none, none, Edition::German},
    };
    for (const Case& c : cases) {
        Environment env({{"KIVO_EDITION", c.edition},
                         {"LC_ALL", c.all},
                         {"LC_MESSAGES", c.messages},
                         {"LANG", c.lang}});
        EXPECT_EQ(CurrentEdition(), c.expected)
            << c.edition.value_or("-") << " " << c.all.value_or("-") << " "
            << c.messages.value_or("-") << " " << c.lang.value_or("-");
    }
    {
        Environment english({{"KIVO_EDITION", std::string("en")}});
        EXPECT_EQ(Str(15022), "Could not open the text file.");
        EXPECT_EQ(std::string(EditionCode(CurrentEdition())), "EN");
    }
    EXPECT_EQ(Str(15022), "Konnte Textdatei nicht öffnen."); // the tests run German
}

TEST(StringTable, LineBreaksAreStoredAsWritten) {
    // 15033 breaks its lines with CR LF, 15101 with LF alone.
    EXPECT_NE(Str(15033).find("\r\n"), std::string::npos);
    EXPECT_EQ(Str(15101).find('\r'), std::string::npos);
    EXPECT_NE(Str(15101).find('\n'), std::string::npos);
}

TEST(FormatTextTest, FillsArgumentsInOrder) {
    EXPECT_EQ(FormatText("Wert %s bei Adresse %s ist", {"0", "194"}), "Wert 0 bei Adresse 194 ist");
    EXPECT_EQ(FormatText("%d%% von %c", {"50", "x"}), "50% von x");
    EXPECT_EQ(FormatText("%s und %s", {"eins"}), "eins und ");
    EXPECT_EQ(FormatText("ohne", {"zu viel"}), "ohne");
    EXPECT_EQ(FormatText("Ende %", {}), "Ende %");
}

} // namespace
} // namespace kivo
