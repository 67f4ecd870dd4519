// kivoctl as a scripting service technician uses it: options anywhere, short usage errors in
// the edition's language, one rule for stdout and stderr, "-" for the standard streams, JSON,
// diff's exit status and traces whose runs can be told apart.
#include "app/strtable.h"
#include "data/kivodata.h"
#include "kivoctl_run.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

namespace kivo {
namespace {

using test::RunKivoctl;
using test::TempDir;

std::size_t Count(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

TEST(KivoctlScripts, OptionsStandAnywhereAndOnlyWhereTheyMeanSomething) {
    TempDir dir;
    const struct {
        std::string args;
        int exit;
        int says; // a text the error names, 0 for none
    } cases[] = {
        {"--kobu sim info", 0, 0},
        {"info --kobu=sim", 0, 0},
        {"read x.Kivo --pdf y.pdf --kobu sim", 2, 16304},
        {"diff a b --kobu sim", 2, 16304},
        {"info --kobu", 2, 16305},
        {"info --frobnicate", 2, 16303},
        {"frobnicate", 2, 16302},
        {"", 2, 16301},
        {"read", 2, 16306},
        {"-- --json", 2, 16302}, // after "--" nothing is an option
        {"help frobnicate", 2, 16302},
    };
    for (const auto& c : cases) {
        const auto r = RunKivoctl(dir, c.args);
        EXPECT_EQ(r.exit, c.exit) << c.args << "\n" << r.err;
        if (c.says) {
            // Two lines: what is wrong, and where the help is; nothing English.
            EXPECT_EQ(Count(r.err, "\n"), 2u) << c.args << "\n" << r.err;
            EXPECT_EQ(r.err.find("usage"), std::string::npos) << r.err;
            EXPECT_NE(r.err.find(" --help"), std::string::npos) << r.err;
        }
    }
    for (const char* ask : {"read --help", "help read", "read -h"}) {
        const auto r = RunKivoctl(dir, ask);
        EXPECT_EQ(r.exit, 0) << ask;
        EXPECT_EQ(r.out, Str(16334) + "\n") << ask;
    }
}

TEST(KivoctlScripts, EachSentenceOnceResultsOnStdoutTheRestOnStderr) {
    TempDir dir;
    const auto missing = RunKivoctl(dir, "read x.Kivo --kobu " + dir.file("no-such-tty"));
    EXPECT_EQ(missing.exit, 3);
    EXPECT_EQ(Count(missing.err, Str(15009)), 1u) << missing.err;
    EXPECT_TRUE(missing.out.empty());

    const auto read = RunKivoctl(dir, "read x.Kivo --kobu sim");
    ASSERT_EQ(read.exit, 0) << read.err;
    EXPECT_EQ(read.out, Str(13805) + "\n"); // the result
    EXPECT_EQ(Count(read.err, Str(13805)), 0u);
    EXPECT_NE(read.err.find(Str(13804)), std::string::npos); // the progress
}

TEST(KivoctlScripts, TheStandardStreamsStandForFiles) {
    TempDir dir;
    ASSERT_EQ(RunKivoctl(dir, "read unit.Kivo --kobu sim").exit, 0);
    const std::vector<std::uint8_t> unit = dir.Read("unit.Kivo");

    const auto piped = RunKivoctl(dir, "read - --kobu sim");
    ASSERT_EQ(piped.exit, 0) << piped.err;
    EXPECT_EQ(std::vector<std::uint8_t>(piped.out.begin(), piped.out.end()), unit);
    EXPECT_NE(piped.err.find(Str(13805)), std::string::npos); // said, but not on stdout

    // The standard input's copy lives in TMPDIR while the command runs, and never after.
    ASSERT_EQ(::mkdir(dir.file("tmp").c_str(), 0700), 0);
    const std::string tmp = "TMPDIR=" + dir.file("tmp");
    const struct {
        const char* args;
        int exit;
    } cases[] = {
        {"diff - unit.Kivo < unit.Kivo", 0},
        {"verify - --kobu sim < unit.Kivo", 0},
        {"write - --no-backup --kobu sim < unit.Kivo", 0},
        {"export - out.txt < unit.Kivo", 0},
        {"export - < unit.Kivo", 2},         // its name would come from none
        {"diff - - < unit.Kivo", 4},         // one standard input only
        {"diff - unit.Kivo < /dev/null", 4}, // nothing is not a configuration
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RunKivoctl(dir, c.args, tmp).exit, c.exit) << c.args;
        EXPECT_EQ(::rmdir(dir.file("tmp").c_str()), 0) << c.args << " left its copy behind";
        ::mkdir(dir.file("tmp").c_str(), 0700);
    }
    EXPECT_FALSE(dir.ReadText("out.txt").empty());
}

TEST(KivoctlScripts, JsonIsOneObjectOnStdout) {
    TempDir dir;
    auto json = [&](const std::string& args, int exit) {
        const auto r = RunKivoctl(dir, args + " --json");
        EXPECT_EQ(r.exit, exit) << args << "\n" << r.err;
        EXPECT_EQ(Count(r.out, "\n"), 1u) << args << "\n" << r.out;
        EXPECT_TRUE(r.out.size() > 2 && r.out.front() == '{' && r.out[r.out.size() - 2] == '}')
            << args << "\n"
            << r.out;
        return r.out;
    };
    const std::string info = json("info --kobu sim", 0);
    EXPECT_NE(info.find("\"firmware\": \"07.30-10\""), std::string::npos) << info;
    EXPECT_NE(info.find("\"size\": 512"), std::string::npos);
    EXPECT_NE(info.find("\"serial\": 210417"), std::string::npos);
    EXPECT_NE(info.find("\"kobu_version\": \"11-1 SIM1.0\""), std::string::npos);

    json("read unit.Kivo --kobu sim:memory=" + dir.file("mem.bin"), 0);
    KivoData other;
    ASSERT_TRUE(other.LoadImageFile(dir.file("unit.Kivo")));
    other.image[0xC4] ^= 1;
    ASSERT_TRUE(other.SaveImage512(dir.file("other.Kivo")).ok());
    const std::string verify =
        json("verify other.Kivo --kobu sim:memory=" + dir.file("mem.bin"), 5);
    EXPECT_NE(verify.find("\"verified\": false"), std::string::npos) << verify;
    EXPECT_NE(verify.find("{\"address\": \"0x0C4\", \"name\": \"Battery check interval\""),
              std::string::npos)
        << verify;
    const std::string write =
        json("write other.Kivo --no-backup --kobu sim:memory=" + dir.file("mem.bin"), 0);
    EXPECT_NE(write.find("\"verified\": true"), std::string::npos) << write;
    EXPECT_NE(write.find("\"differences\": []"), std::string::npos) << write;
    const std::string diff = json("diff unit.Kivo other.Kivo", 1);
    EXPECT_NE(diff.find("\"equal\": false"), std::string::npos) << diff;
    EXPECT_NE(diff.find("\"address\": \"0x0C4\""), std::string::npos) << diff;
    const std::string doctor = json("doctor --kobu sim", 0);
    EXPECT_NE(doctor.find("\"reached\": true"), std::string::npos) << doctor;
    EXPECT_NE(doctor.find("\"checks\": [{\"result\": "), std::string::npos) << doctor;
}

TEST(KivoctlScripts, DiffExitsAsDiffDoes) {
    TempDir dir;
    ASSERT_EQ(RunKivoctl(dir, "read a.Kivo --kobu sim").exit, 0);
    KivoData b;
    ASSERT_TRUE(b.LoadImageFile(dir.file("a.Kivo")));
    b.image[0x20] ^= 0xFF;
    ASSERT_TRUE(b.SaveImage512(dir.file("b.Kivo")).ok());
    EXPECT_EQ(RunKivoctl(dir, "diff a.Kivo a.Kivo").exit, 0);
    EXPECT_EQ(RunKivoctl(dir, "diff a.Kivo b.Kivo").exit, 1);
    EXPECT_EQ(RunKivoctl(dir, "diff a.Kivo missing.Kivo").exit, 4);
    EXPECT_EQ(RunKivoctl(dir, "diff a.Kivo").exit, 2);
}

TEST(KivoctlScripts, EveryRunOfATraceBeginsWithItsOwnLine) {
    TempDir dir;
    ASSERT_EQ(RunKivoctl(dir, "info --kobu sim --trace t.txt").exit, 0);
    ASSERT_EQ(RunKivoctl(dir, "--trace t.txt doctor --kobu sim").exit, 0);
    const std::string trace = dir.ReadText("t.txt");
    EXPECT_EQ(Count(trace, "=== "), 2u) << trace;
    EXPECT_NE(trace.find("kivoctl info --kobu sim --trace t.txt"), std::string::npos) << trace;
    EXPECT_NE(trace.find(": kivoctl --trace t.txt doctor"), std::string::npos) << trace;
}

} // namespace
} // namespace kivo
