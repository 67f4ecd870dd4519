// kivoctl doctor end to end: the report on stdout, the exit code, and nothing changed.
#include "app/strtable.h"
#include "kivoctl_run.h"
#include "support/kobusim.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace kivo {
namespace {

using test::RunKivoctl;
using test::TempDir;

bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST(KivoctlDoctor, KobuAndUnitAnswerTheSimulator) {
    TempDir dir;
    auto r = RunKivoctl(dir, "doctor --kobu sim");
    EXPECT_EQ(r.exit, 0) << r.err;
    EXPECT_EQ(r.out, "Hinweis  " + FormatText(Str(16016), {"sim"}) +
                         "\n"
                         "OK       Die KOBU antwortet: Version 11-1 SIM1.0.\n"
                         "OK       Das KIVO antwortet.\n");
    EXPECT_EQ(r.err, "");
    // Only looks: not even start-up's folders and files are made.
    EXPECT_FALSE(std::filesystem::exists(test::ProgramFolder(dir)));
}

TEST(KivoctlDoctor, UnreachableUnitOrKobuExitsWithThree) {
    TempDir dir;
    auto noUnit = RunKivoctl(dir, "doctor --kobu sim:unit=0");
    EXPECT_EQ(noUnit.exit, 3);
    EXPECT_TRUE(Has(noUnit.out, "Problem  Kein KIVO antwortet.\n         Prüfen Sie, ob das KIVO"))
        << noUnit.out;

    auto silent = RunKivoctl(dir, "doctor --kobu sim:drop=1");
    EXPECT_EQ(silent.exit, 3);
    EXPECT_TRUE(Has(silent.out, "Problem  Die KOBU antwortet nicht.\n")) << silent.out;

    auto unknown = RunKivoctl(dir, "doctor --kobu sim:unit=7");
    EXPECT_EQ(unknown.exit, 3);
    EXPECT_TRUE(Has(unknown.out, FormatText(Str(16017), {"sim:unit=7"}))) << unknown.out;
    EXPECT_TRUE(Has(unknown.err, "must be 0 or 1")) << unknown.err;

    EXPECT_EQ(RunKivoctl(dir, "doctor extra").exit, 2);
}

TEST(KivoctlDoctor, AKobuOnASerialDevice) {
    TempDir dir;
    test::KobuSimProcess sim(KOBU_SIM, {"latency=2"});
    const std::string tty = sim.FirstLine();
    ASSERT_EQ(tty.rfind("/dev/", 0), 0u) << tty;
    auto r = RunKivoctl(dir, "doctor --kobu " + tty);
    EXPECT_EQ(r.exit, 0) << r.out << r.err;
    // kobu-sim keeps its end of the pseudo-terminal open; that is no program in the way.
    EXPECT_FALSE(Has(r.out, "Problem")) << r.out;
    EXPECT_TRUE(Has(r.out, "OK       " + FormatText(Str(16026), {tty}) + "\n")) << r.out;
    EXPECT_EQ(sim.Terminate(), 0);
}

// No Kobu is attached where these tests run: the real system is looked at without harm, and
// the report ends in the Kobu that cannot be opened.
TEST(KivoctlDoctor, WithoutAKobuTheRealSystem) {
    TempDir dir;
    auto r = RunKivoctl(dir, "doctor");
    EXPECT_EQ(r.exit, 3);
    EXPECT_TRUE(Has(r.out, "Problem  " + FormatText(Str(16043), {"ftdi"}) + "\n")) << r.out;
}

} // namespace
} // namespace kivo
