// What kivoctl writes, tried as a careful user would: write-protected files, links, long
// names, full disks, outputs that are the input, and traces that cannot be written.
#include "app/strtable.h"
#include "data/tempfiles.h"
#include "kivoctl_run.h"
#include "support/smalldisk.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kivo {
namespace {

namespace fs = std::filesystem;
using test::CliResult;
using test::RunKivoctl;
using test::TempDir;

std::string Quoted(const std::string& s) {
    return "'" + s + "'";
}

// The shipped default configuration as a file of the test folder.
std::string Config(const TempDir& dir, const std::string& name) {
    fs::create_directories(fs::path(dir.file(name)).parent_path());
    fs::copy_file(std::string(KIVO_BIN_DIR) + "/Default.b", dir.file(name),
                  fs::copy_options::overwrite_existing);
    return dir.file(name);
}

bool Says(const CliResult& r, const std::string& text) {
    return r.err.find(text) != std::string::npos;
}

// A write-protected file is refused by every command that writes one, with the editor's
// message for a configuration, and stays as it was.
TEST(KivoctlFiles, EveryWriterRefusesAWriteProtectedFile) {
    struct Case {
        const char* args; // "%" stands for the protected file
        std::string says;
    };
    const Case cases[] = {
        {"read % --kobu sim", Str(13803)},
        {"learn 2 % --kobu sim:learn=1A2B,learndelay=50", Str(13803)},
        {"export good.Kivo %", Str(13803)},
        {"print good.Kivo --pdf %", Str(16210)},
    };
    for (const Case& c : cases) {
        TempDir dir;
        Config(dir, "good.Kivo");
        const std::string ro = Config(dir, "ro.Kivo");
        const auto before = dir.Read("ro.Kivo");
        ::chmod(ro.c_str(), 0444);
        std::string args = c.args;
        args.replace(args.find('%'), 1, Quoted(ro));
        const CliResult r = RunKivoctl(dir, args);
        EXPECT_EQ(r.exit, 4) << args << "\n" << r.err;
        EXPECT_TRUE(Says(r, c.says)) << args << "\n" << r.err;
        EXPECT_EQ(dir.Read("ro.Kivo"), before) << args;
    }
}

// Through a link the link's target gets the unit's image and the link stays; a dangling
// link gets its target made.
TEST(KivoctlFiles, ReadWritesThroughALinkAndKeepsIt) {
    TempDir dir;
    dir.Write("real/target.Kivo", "old");
    fs::create_symlink("real/target.Kivo", dir.file("link.Kivo"));
    fs::create_symlink("real/new.Kivo", dir.file("dangling.Kivo"));
    for (const char* link : {"link.Kivo", "dangling.Kivo"}) {
        const CliResult r = RunKivoctl(dir, std::string("read ") + link + " --kobu sim");
        EXPECT_EQ(r.exit, 0) << r.err;
        EXPECT_TRUE(fs::is_symlink(dir.file(link))) << link;
    }
    EXPECT_EQ(dir.Read("real/target.Kivo").size(), 512u);
    EXPECT_EQ(dir.Read("real/new.Kivo").size(), 512u);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.file("real")), {}), 2);
}

TEST(KivoctlFiles, ALongNameIsSavedAndStartUpClearsAbandonedTemporaries) {
    TempDir dir;
    const std::string name = std::string(245, 'k') + ".Kivo"; // 250 characters
    const CliResult r = RunKivoctl(dir, "read " + name + " --kobu sim");
    EXPECT_EQ(r.exit, 0) << r.err;
    EXPECT_EQ(dir.Read(name).size(), 512u);

    // What writers killed midway left in the folders the program writes into; one of them
    // belongs to a writer that still runs (this test).
    const pid_t gone = ::fork();
    if (gone == 0) ::_exit(0);
    ::waitpid(gone, nullptr, 0);
    const std::string program = test::ProgramFolder(dir);
    const std::string abandoned[] = {
        program + TemporaryName(gone, 1),
        program + "Backup/" + TemporaryName(gone, 2),
        dir.file("docs/TAVRA/KIVO config/") + TemporaryName(gone, 3),
    };
    const std::string alive = dir.file("docs/TAVRA/KIVO config/") + TemporaryName(::getpid(), 4);
    const timespec old[2] = {{::time(nullptr) - 300, 0}, {::time(nullptr) - 300, 0}};
    for (const std::string& path : {abandoned[0], abandoned[1], abandoned[2], alive}) {
        dir.Write(path, "half");
        ::utimensat(AT_FDCWD, path.c_str(), old, 0);
    }
    ASSERT_EQ(RunKivoctl(dir, "folders").exit, 0);
    for (const std::string& path : abandoned) EXPECT_FALSE(fs::exists(path)) << path;
    EXPECT_TRUE(fs::exists(alive));
}

// The user learns why a file could not be written; the text about names the platform
// refuses is kept for those.
TEST(KivoctlFiles, AFailedSaveSaysWhy) {
    TempDir dir;
    dir.Write("plain", "a file where a folder should be");
    fs::create_directory(dir.file("folder.Kivo"));
    struct Case {
        std::string target;
        int reason; // 0: the message for names the platform refuses
    };
    const Case cases[] = {
        {"/nonexistent/dir/x.Kivo", 16201},
        {dir.file("plain/x.Kivo"), 16201},
        {dir.file("folder.Kivo"), 16206},
        {dir.file(std::string(251, 'n') + ".Kivo"), 0},
    };
    for (const Case& c : cases) {
        const CliResult r = RunKivoctl(dir, "read " + Quoted(c.target) + " --kobu sim");
        EXPECT_EQ(r.exit, 4) << c.target;
        if (c.reason) {
            EXPECT_TRUE(Says(r, FormatText(Str(16200), {c.target, Str(c.reason)}))) << r.err;
            EXPECT_FALSE(Says(r, Str(15012))) << r.err;
        } else {
            EXPECT_TRUE(Says(r, Str(15012))) << r.err;
        }
    }
}

// A disk with no room left: the configuration that was there stays, and the user reads
// that the disk is full. Where no small disk can be made, a file-size limit stands in.
TEST(KivoctlFiles, AFullDiskKeepsTheOldConfiguration) {
    TempDir dir;
    ASSERT_EQ(RunKivoctl(dir, "folders").exit, 0);
    fs::create_directory(dir.file("disk"));
    test::SmallDisk disk(dir.file("disk"), 16 * 1024);
    if (disk.Mounted()) {
        dir.Write("disk/unit.Kivo", "old");
        disk.Fill();
        const CliResult r = RunKivoctl(dir, "read disk/unit.Kivo --kobu sim");
        EXPECT_EQ(r.exit, 4);
        EXPECT_TRUE(Says(r, Str(16203))) << r.err;
        EXPECT_EQ(dir.ReadText("disk/unit.Kivo"), "old");
    }
    dir.Write("unit.Kivo", "old");
    CliResult r;
    {
        test::FileSizeLimit limit(100);
        r = RunKivoctl(dir, "read unit.Kivo --kobu sim");
    }
    EXPECT_EQ(r.exit, 4);
    EXPECT_TRUE(Says(r, Str(16205))) << r.err;
    EXPECT_EQ(dir.ReadText("unit.Kivo"), "old");
}

// Writing the file being read would destroy it: refused, however the name leads there.
TEST(KivoctlFiles, AnOutputThatIsTheInputIsRefused) {
    TempDir dir;
    const std::string config = Config(dir, "x.Kivo");
    const auto before = dir.Read("x.Kivo");
    fs::create_symlink("x.Kivo", dir.file("link.txt"));
    fs::create_hard_link(config, dir.file("hard.txt"));
    for (const std::string args :
         {"export x.Kivo x.Kivo", "export x.Kivo ./x.Kivo", "export x.Kivo link.txt",
          "export x.Kivo hard.txt", "print x.Kivo --pdf x.Kivo", "print x.Kivo --pdf link.txt"}) {
        const CliResult r = RunKivoctl(dir, args);
        EXPECT_EQ(r.exit, 2) << args << "\n" << r.err;
        const std::string out = args.substr(args.rfind(' ') + 1);
        EXPECT_TRUE(Says(r, FormatText(Str(16208), {out}))) << args << "\n" << r.err;
        EXPECT_EQ(dir.Read("x.Kivo"), before) << args;
    }
}

// A trace that cannot be written is warned about, with the reason; the command still does its
// work. One that can keeps what earlier runs wrote.
TEST(KivoctlFiles, ATraceThatCannotBeWrittenIsWarnedAbout) {
    TempDir dir;
    const std::string ro = dir.Write("ro.txt", "kept\n");
    ::chmod(ro.c_str(), 0444);
    const struct {
        std::string path;
        int reason;
    } cases[] = {{"/nonexistent/dir/trace.txt", 16201}, {ro, 16210}};
    for (const auto& c : cases) {
        const CliResult r = RunKivoctl(dir, "info --kobu sim --trace " + Quoted(c.path));
        EXPECT_EQ(r.exit, 0) << r.err;
        EXPECT_TRUE(Says(r, FormatText(Str(16209), {c.path, Str(c.reason)}))) << r.err;
        EXPECT_NE(r.out.find(FormatText(Str(16324), {"512"})), std::string::npos);
    }
    EXPECT_EQ(dir.ReadText("ro.txt"), "kept\n");

    for (int run = 0; run < 2; ++run)
        ASSERT_EQ(RunKivoctl(dir, "info --kobu sim --trace trace.txt").exit, 0);
    const std::string trace = dir.ReadText("trace.txt");
    EXPECT_NE(trace.find("-- open"), trace.rfind("-- open")); // both runs
    EXPECT_EQ(trace.back(), '\n');
}

} // namespace
} // namespace kivo
