// The one path every file is written by, tried as the disk and the user could make it lie:
// protected targets, links, long names, full disks and a process that dies mid-write.
#include "data/filetarget.h"
#include "data/filewriter.h"
#include "data/tempfiles.h"
#include "support/smalldisk.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kivo {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

using List = std::vector<std::string>;

// The folder's entries, hidden ones too.
List Names(const std::string& folder) {
    List names;
    for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

const TempKind kKinds[] = {TempKind::Unnamed, TempKind::Named};

WriteStatus WriteWith(TempKind kind, const std::string& path, const std::string& text) {
    FileWriter w;
    if (WriteStatus s = w.Open(path, kind); !s.ok()) return s;
    w.Write(text.data(), text.size());
    return w.Commit();
}

TEST(FileWriter, ReplacesWholeAndLeavesNothingBeside) {
    for (TempKind kind : kKinds) {
        TempDir dir;
        const std::string path = dir.Write("unit.Kivo", std::string(900, 'o'));
        ::chmod(path.c_str(), 0640);
        ASSERT_TRUE(WriteWith(kind, path, "new").ok());
        EXPECT_EQ(dir.ReadText("unit.Kivo"), "new");
        EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
                  fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
        ASSERT_TRUE(WriteWith(kind, dir.file("fresh.Kivo"), "").ok()); // empty is a file too
        EXPECT_EQ(Names(dir.path()), (List{"fresh.Kivo", "unit.Kivo"}));
    }
}

// Each refusal leaves the old file as it was and nothing beside it.
TEST(FileWriter, RefusesWhatItCannotWriteWhole) {
    struct Case {
        const char* name;
        std::function<std::string(const TempDir&)> make; // returns the path to write
        FileError error;
    };
    const Case cases[] = {
        {"write-protected, even for the administrator",
         [](const TempDir& d) {
             const std::string p = d.Write("ro.Kivo", "old");
             ::chmod(p.c_str(), 0444);
             return p;
         },
         FileError::ReadOnly},
        {"a folder at the target",
         [](const TempDir& d) {
             fs::create_directory(d.file("sub"));
             return d.file("sub");
         },
         FileError::NotAFile},
        {"a pipe at the target (and no waiting for a reader)",
         [](const TempDir& d) {
             ::mkfifo(d.file("pipe").c_str(), 0644);
             return d.file("pipe");
         },
         FileError::NotAFile},
        {"a missing folder", [](const TempDir& d) { return d.file("missing/x.Kivo"); },
         FileError::NoFolder},
        {"a file where the folder should be",
         [](const TempDir& d) { return d.Write("plain", "x") + "/x.Kivo"; }, FileError::NoFolder},
        {"a name longer than the platform allows",
         [](const TempDir& d) { return d.file(std::string(252, 'n') + ".Kivo"); },
         FileError::BadName},
        {"a folder's name", [](const TempDir& d) { return d.path() + "/"; }, FileError::BadName},
        {"no name", [](const TempDir&) { return std::string(); }, FileError::BadName},
        {"a circle of links",
         [](const TempDir& d) {
             fs::create_symlink("b", d.file("a"));
             fs::create_symlink("a", d.file("b"));
             return d.file("a");
         },
         FileError::Other},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const std::string path = c.make(dir);
        const List before = Names(dir.path());
        for (TempKind kind : kKinds) EXPECT_EQ(WriteWith(kind, path, "new").error, c.error);
        EXPECT_EQ(Names(dir.path()), before);
    }
    TempDir dir;
    const std::string ro = dir.Write("ro.Kivo", "old");
    ::chmod(ro.c_str(), 0444);
    EXPECT_EQ(WriteWith(TempKind::Unnamed, ro, "new").error, FileError::ReadOnly);
    EXPECT_EQ(dir.ReadText("ro.Kivo"), "old");
    EXPECT_TRUE(WriteProtected(ro));
}

// Through a link the link's target gets the bytes, written in the target's folder, and the
// link stays a link; a dangling link gets its target made.
TEST(FileWriter, WritesThroughLinksAndKeepsThem) {
    struct Case {
        const char* name;
        const char* link;   // what the link says
        const char* target; // the file, relative to the test folder
        bool exists;
    };
    const Case cases[] = {
        {"relative", "real/target.Kivo", "real/target.Kivo", true},
        {"absolute", nullptr, "real/target.Kivo", true},
        {"dangling", "real/new.Kivo", "real/new.Kivo", false},
        {"chain", "chain2", "real/target.Kivo", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        fs::create_directory(dir.file("real"));
        fs::create_directory(dir.file("links"));
        if (c.exists) dir.Write(c.target, "old");
        const std::string link = dir.file("links/link.Kivo");
        if (std::string(c.name) == "chain") {
            fs::create_symlink("../real/target.Kivo", dir.file("links/chain2"));
            fs::create_symlink("chain2", link);
        } else {
            fs::create_symlink(c.link ? std::string("../") + c.link : dir.file(c.target), link);
        }
        for (TempKind kind : kKinds) {
            ASSERT_TRUE(WriteWith(kind, link, "new").ok());
            EXPECT_EQ(dir.ReadText(c.target), "new");
            EXPECT_TRUE(fs::is_symlink(link));
            EXPECT_EQ(Names(dir.file("real")), List{fs::path(c.target).filename()});
        }
    }
}

TEST(FileWriter, LongNamesGetShortTemporaries) {
    for (std::size_t length : {250u, 255u}) {
        TempDir dir;
        const std::string name = std::string(length - 5, 'k') + ".Kivo";
        for (TempKind kind : kKinds) {
            ASSERT_TRUE(WriteWith(kind, dir.file(name), "data").ok()) << length;
            EXPECT_EQ(Names(dir.path()), List{name});
        }
    }
    EXPECT_LE(TemporaryName(2147483647, 0xFFFFFFFF).size(), 32u);
}

// A disk that is full before or during the write: the old file stays, no new one appears,
// and the cause is the disk's. Where the test cannot make a small disk, a file-size limit
// stands in for it.
TEST(FileWriter, AFullDiskKeepsTheOldFile) {
    const std::string big(64 * 1024, 'b');
    for (TempKind kind : kKinds) {
        TempDir dir;
        fs::create_directory(dir.file("disk"));
        test::SmallDisk disk(dir.file("disk"), 20 * 1024);
        if (disk.Mounted()) {
            const std::string old = dir.Write("disk/unit.Kivo", std::string(512, 'o'));
            EXPECT_EQ(WriteWith(kind, old, big).error, FileError::DiskFull);
            EXPECT_EQ(dir.ReadText("disk/unit.Kivo"), std::string(512, 'o'));
            disk.Fill();
            EXPECT_EQ(WriteWith(kind, dir.file("disk/new.Kivo"), "x").error, FileError::DiskFull);
            EXPECT_EQ(Names(dir.file("disk")), (List{"filler", "unit.Kivo"}));
        }
        const std::string old = dir.Write("unit.Kivo", std::string(512, 'o'));
        {
            test::FileSizeLimit limit(20 * 1024);
            EXPECT_EQ(WriteWith(kind, old, big).error, FileError::TooLarge);
        }
        EXPECT_EQ(dir.ReadText("unit.Kivo"), std::string(512, 'o'));
        EXPECT_EQ(Names(dir.path()), (List{"disk", "unit.Kivo"}));
    }
}

TEST(FileWriter, AppendingKeepsWhatWasThereAndCommitsLooksAgain) {
    TempDir dir;
    const std::string path = dir.Write("trace.txt", "first\n");
    FileWriter w;
    ASSERT_TRUE(w.OpenAppending(path).ok());
    w.Write("second\n", 7);
    EXPECT_EQ(dir.ReadText("trace.txt"), "first\n"); // nothing shows before the commit
    ASSERT_TRUE(w.Commit().ok());
    EXPECT_EQ(dir.ReadText("trace.txt"), "first\nsecond\n");

    // Protected while it was being written: the commit refuses, the file stays.
    ASSERT_TRUE(w.OpenAppending(path).ok());
    w.Write("third\n", 6);
    ::chmod(path.c_str(), 0444);
    EXPECT_EQ(w.Commit().error, FileError::ReadOnly);
    EXPECT_EQ(dir.ReadText("trace.txt"), "first\nsecond\n");
    EXPECT_EQ(Names(dir.path()), List{"trace.txt"});
}

// A process killed in the middle of a write: the old file survives; an unnamed temporary
// vanishes with the process, a named one is what start-up clears away.
TEST(FileWriter, AProcessKilledMidWriteLeavesTheOldFile) {
    for (TempKind kind : kKinds) {
        TempDir dir;
        const std::string path = dir.Write("unit.Kivo", "old");
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            FileWriter w;
            if (w.Open(path, kind).ok()) w.Write("half", 4);
            ::kill(::getpid(), SIGKILL);
        }
        ::waitpid(child, nullptr, 0);
        EXPECT_EQ(dir.ReadText("unit.Kivo"), "old");
        const List names = Names(dir.path());
        if (kind == TempKind::Unnamed) {
            EXPECT_EQ(names, List{"unit.Kivo"});
            continue;
        }
        ASSERT_EQ(names.size(), 2u);
        EXPECT_EQ(TemporaryOwner(names[0]), child);
        // Untouched for a minute and its process gone: start-up's clearing takes it.
        EXPECT_EQ(RemoveStaleTemporaries(dir.path()), 0);
        const timespec old[2] = {{::time(nullptr) - 120, 0}, {::time(nullptr) - 120, 0}};
        ::utimensat(AT_FDCWD, dir.file(names[0]).c_str(), old, 0);
        EXPECT_EQ(RemoveStaleTemporaries(dir.path()), 1);
        EXPECT_EQ(Names(dir.path()), List{"unit.Kivo"});
    }
}

// Start-up removes only what is ours and abandoned.
TEST(TemporaryFiles, OnlyAbandonedOnesOfOurNamingGo) {
    const pid_t gone = ::fork();
    if (gone == 0) ::_exit(0);
    ::waitpid(gone, nullptr, 0);
    TempDir dir;
    const long self = ::getpid();
    struct Case {
        std::string name;
        bool stale; // whether the old one is removed
    };
    const Case cases[] = {
        {TemporaryName(gone, 0x1234abcd), true},
        {TemporaryName(self, 0x1234abcd), false}, // its writer is alive
        {".kivo-" + std::to_string(gone) + "-1234ABCD.tmp", false},
        {".kivo-" + std::to_string(gone) + "-1234abc.tmp", false},
        {".kivo-0" + std::to_string(gone) + "-1234abcd.tmp", false},
        {"unit.Kivo." + std::string("1234abcd") + ".tmp", false},
        {"unit.Kivo", false},
    };
    const timespec old[2] = {{::time(nullptr) - 120, 0}, {::time(nullptr) - 120, 0}};
    for (const Case& c : cases) {
        dir.Write(c.name, "x");
        ::utimensat(AT_FDCWD, dir.file(c.name).c_str(), old, 0);
    }
    const std::string fresh = TemporaryName(gone, 0x99999999); // perhaps another machine's
    dir.Write(fresh, "x");
    EXPECT_EQ(RemoveStaleTemporaries(dir.path()), 1);
    for (const Case& c : cases) EXPECT_EQ(fs::exists(dir.file(c.name)), !c.stale) << c.name;
    EXPECT_TRUE(fs::exists(dir.file(fresh)));
    EXPECT_EQ(TemporaryOwner(TemporaryName(self, 7)), self);
    EXPECT_EQ(TemporaryOwner(".kivo-99999999999-1234abcd.tmp"), -1);
}

TEST(FileTarget, SameFileSeesThroughLinks) {
    TempDir dir;
    const std::string a = dir.Write("a.Kivo", "x");
    fs::create_symlink("a.Kivo", dir.file("link"));
    fs::create_hard_link(a, dir.file("hard"));
    EXPECT_TRUE(SameFile(a, dir.file("link")));
    EXPECT_TRUE(SameFile(a, dir.file("hard")));
    EXPECT_TRUE(SameFile(a, dir.path() + "/./a.Kivo"));
    EXPECT_FALSE(SameFile(a, dir.Write("b.Kivo", "x")));
    EXPECT_FALSE(SameFile(a, dir.file("missing")));
}

} // namespace
} // namespace kivo
