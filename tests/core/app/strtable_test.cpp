#include "app/strtable.h"

#include <gtest/gtest.h>

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
    for (int id : {13608, 13219, 13764, 13766, 13768}) EXPECT_EQ(Str(id), "") << id;
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
