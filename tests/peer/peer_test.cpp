// kivoctl, run as a separate process, against WirePeer: every success it claims is checked
// against the peer's memory, and every failure must leave the files as they were.
#include "cli/kivoctl_run.h"
#include "peer/wirepeer.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace kivo::test {
namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;
using Range = std::pair<unsigned, unsigned>; // first and last address

// What a write covers on a 512-byte and on a 256-byte unit.
const std::vector<Range> kWritten512 = {{0x000, 0x0F6}, {0x103, 0x1FF}};
const std::vector<Range> kWritten256 = {{0x000, 0x0F6}};
// Never written: the unit's own bytes (serial number, firmware).
const Range kUnitOwn512 = {0x0F7, 0x102}, kUnitOwn256 = {0x0F7, 0x0FF};

std::string KivoctlPath() {
    const char* override = std::getenv("KIVOCTL_UNDER_TEST");
    return override && *override ? override : KIVOCTL;
}

struct Outcome {
    int exit;        // 128 + signal when killed by one, as a shell reports it
    bool hung;       // killed by the test after its limit
    std::string err; // stderr
    bool killed;     // ended by a signal rather than by exiting
};

// kivoctl with its own folders inside `dir`, started at once; the destructor kills it if it
// still runs.
class Kivoctl {
public:
    Kivoctl(const TempDir& dir, const WirePeer& peer, std::vector<std::string> args) : dir_(dir) {
        std::filesystem::create_directories(dir.file("appdata"));
        std::filesystem::create_directories(dir.file("docs"));
        args.insert(args.begin(), KivoctlPath());
        args.push_back("--kobu");
        args.push_back(peer.device());
        // For a look at the wire when a test fails: one trace per test in this folder.
        if (const char* traces = std::getenv("PEER_TEST_TRACE_DIR")) {
            auto* test = testing::UnitTest::GetInstance()->current_test_info();
            std::string name = std::string(test->test_suite_name()) + "." + test->name();
            for (char& c : name)
                if (c == '/') c = '_';
            args.push_back("--trace");
            args.push_back(std::string(traces) + "/" + name + ".txt");
        }
        std::vector<std::string> env = {"KIVO_APPDATA_DIR=" + dir.file("appdata"),
                                        "KIVO_DOCUMENTS_DIR=" + dir.file("docs"),
                                        "KIVO_KOBU=", "KIVO_TRACE="};
        for (char** e = environ; *e; ++e)
            if (std::string(*e).rfind("KIVO_", 0) != 0) env.push_back(*e);
        // Everything the child needs is made before fork: the peer's thread may hold a lock.
        std::vector<char*> argv, envp;
        for (auto& a : args) argv.push_back(a.data());
        for (auto& e : env) envp.push_back(e.data());
        argv.push_back(nullptr);
        envp.push_back(nullptr);
        std::string out = dir.file("stdout"), err = dir.file("stderr");
        pid_ = ::fork();
        if (pid_ == 0) {
            int o = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            int e = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            if (o < 0 || e < 0 || ::dup2(o, 1) < 0 || ::dup2(e, 2) < 0 ||
                ::chdir(dir.path().c_str()) != 0)
                ::_exit(127);
            ::execve(argv[0], argv.data(), envp.data());
            ::_exit(127);
        }
    }
    ~Kivoctl() {
        if (pid_ > 0 && !done_) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    Kivoctl(const Kivoctl&) = delete;
    Kivoctl& operator=(const Kivoctl&) = delete;

    void Interrupt() { ::kill(pid_, SIGINT); }
    bool Running() { return !Reap(WNOHANG); }
    std::size_t ErrSize() const { return dir_.ReadText("stderr").size(); }

    // A generous limit from the start, only to prove that kivoctl ends at all.
    Outcome Wait(std::chrono::seconds limit = 100s) {
        auto end = start_ + limit;
        bool hung = false;
        while (!Reap(WNOHANG)) {
            if (std::chrono::steady_clock::now() > end) {
                ::kill(pid_, SIGKILL);
                Reap(0);
                hung = true;
                break;
            }
            std::this_thread::sleep_for(10ms);
        }
        int exit = WIFEXITED(status_)     ? WEXITSTATUS(status_)
                   : WIFSIGNALED(status_) ? 128 + WTERMSIG(status_)
                                          : -1;
        EXPECT_FALSE(hung) << "kivoctl still ran after " << limit.count() << " s";
        return {exit, hung, dir_.ReadText("stderr"), WIFSIGNALED(status_)};
    }

private:
    bool Reap(int flags) {
        if (!done_ && ::waitpid(pid_, &status_, flags) == pid_) done_ = true;
        return done_;
    }
    const TempDir& dir_;
    const std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
    pid_t pid_ = -1;
    int status_ = 0;
    bool done_ = false;
};

Outcome RunToEnd(const TempDir& dir, const WirePeer& peer, std::vector<std::string> args) {
    return Kivoctl(dir, peer, std::move(args)).Wait();
}

// The shipped default configuration.
Bytes DefaultImage() {
    std::ifstream in(std::string(KIVO_BIN_DIR) + "/Default.b", std::ios::binary);
    Bytes image((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(image.size(), 512u);
    return image;
}

// A 512-byte unit carries firmware 07.30, variant 10; the shipped default leaves them zero.
Bytes Unit512(Bytes image) {
    image[0x100] = 0x07;
    image[0x101] = 0x30;
    image[0x102] = 0x0A;
    return image;
}

// No two 16-byte blocks alike, so a reply taken for the wrong address shows.
Bytes Distinct(std::size_t size) {
    Bytes image(size);
    for (std::size_t i = 0; i < size; ++i) image[i] = std::uint8_t(i * 37 + 11 + i / 256);
    return size == 512 ? Unit512(image) : image;
}

bool Exists(const TempDir& dir, const std::string& name) {
    return std::filesystem::exists(dir.file(name));
}

// The differing addresses of `a` and `b` over `ranges`, as text ("" when they agree).
std::string Differences(const Bytes& a, const Bytes& b, const std::vector<Range>& ranges) {
    std::string out;
    for (auto [first, last] : ranges)
        for (unsigned i = first; i <= last; ++i)
            if (i >= a.size() || i >= b.size() || a[i] != b[i]) {
                char text[16];
                std::snprintf(text, sizeof text, " 0x%03X", i);
                out += text;
                if (out.size() > 120) return out + " ...";
            }
    return out;
}

// "" when `a` and `b` are the same bytes, else how they differ.
std::string Mismatch(const Bytes& a, const Bytes& b) {
    if (a.size() != b.size())
        return "sizes " + std::to_string(a.size()) + " and " + std::to_string(b.size());
    return a.empty() ? "" : Differences(a, b, {{0, unsigned(a.size() - 1)}});
}

// A read claims the unit's bytes and changes none; a failed read leaves no file.
void ExpectTruthfulRead(const Outcome& r, const TempDir& dir, const std::string& file,
                        const WirePeer& peer) {
    EXPECT_TRUE(peer.commands("W").empty()) << "a read wrote to the unit";
    if (r.exit == 0) {
        EXPECT_EQ(Mismatch(dir.Read(file), peer.memory()), "")
            << "read reported success with other bytes";
    } else {
        EXPECT_FALSE(Exists(dir, file)) << "exit " << r.exit << " left a file\n" << r.err;
    }
}

// A write claims the file over its ranges; nothing writes the unit's own bytes either way.
void ExpectTruthfulWrite(const Outcome& r, const Bytes& file, const Bytes& before,
                         const Bytes& after) {
    bool small = before.size() == 256;
    auto [ownFirst, ownLast] = small ? kUnitOwn256 : kUnitOwn512;
    EXPECT_EQ(Differences(after, before, {{ownFirst, ownLast}}), "") << "unit's own bytes written";
    if (r.exit == 0) {
        EXPECT_EQ(Differences(after, file, small ? kWritten256 : kWritten512), "")
            << "write reported success, the unit differs at these addresses";
    }
}

TEST(PeerCleanLine, EveryCommandDoesExactlyWhatItSays) {
    TempDir dir;
    Bytes before = Unit512(DefaultImage());
    before[0xC4] = 48;
    WirePeer peer(before);

    Outcome info = RunToEnd(dir, peer, {"info"});
    EXPECT_EQ(info.exit, 0) << info.err;
    EXPECT_NE(dir.ReadText("stdout").find("07.30-10"), std::string::npos);

    Outcome read = RunToEnd(dir, peer, {"read", "unit.Kivo"});
    ASSERT_EQ(read.exit, 0) << read.err;
    EXPECT_EQ(Mismatch(dir.Read("unit.Kivo"), before), "");

    Bytes mine = DefaultImage();
    mine[0x05] = 0x5A;
    mine[0xC4] = 49;
    mine[0x1F0] = 0x77;
    dir.Write("mine.Kivo", mine);
    Outcome write = RunToEnd(dir, peer, {"write", "mine.Kivo"});
    ASSERT_EQ(write.exit, 0) << write.err;
    ExpectTruthfulWrite(write, mine, before, peer.memory());
    // The backup holds the unit from before the write.
    std::vector<std::filesystem::path> backups;
    for (auto& e : std::filesystem::directory_iterator(ProgramFolder(dir) + "Backup"))
        backups.push_back(e.path());
    ASSERT_EQ(backups.size(), 1u);
    EXPECT_EQ(Mismatch(dir.Read(backups[0].string()), before), "");

    EXPECT_EQ(RunToEnd(dir, peer, {"verify", "mine.Kivo"}).exit, 0);
    mine[0x1FF] ^= 1;
    dir.Write("other.Kivo", mine);
    EXPECT_EQ(RunToEnd(dir, peer, {"verify", "other.Kivo"}).exit, 5);

    Outcome learn = RunToEnd(dir, peer, {"learn", "3", "mine.Kivo"});
    EXPECT_EQ(learn.exit, 0) << learn.err;
    Bytes learned = dir.Read("mine.Kivo");
    mine[0x1FF] ^= 1;
    mine[4] = 0x4C;
    mine[5] = 0x3A;
    EXPECT_EQ(Mismatch(learned, mine), "");
    EXPECT_EQ(peer.commands("s0").size(), 1u);

    EXPECT_EQ(peer.badFrames(), 0);
}

// Every memory-read reply comes twice; the copy can pass for the answer to the next read.
// Whatever the Kobu calls its version reaches the terminal only as visible characters: a
// reply with terminal control codes is printed with them escaped.
TEST(PeerCleanLine, InfoPrintsTheVersionWithControlBytesEscaped) {
    TempDir dir;
    PeerFaults faults;
    faults.version = "\x1b[2J\x1b]0;ab\x07"; // eleven bytes, as a version is
    WirePeer peer(Unit512(DefaultImage()), faults);
    const Outcome r = RunToEnd(dir, peer, {"info"});
    EXPECT_EQ(r.exit, 0) << r.err;
    const std::string out = dir.ReadText("stdout");
    EXPECT_NE(out.find("KOBU: \\x1B[2J\\x1B]0;ab\\x07\n"), std::string::npos) << out;
    EXPECT_EQ(out.find('\x1b'), std::string::npos);
}

TEST(DoubledReplies, ReadGivesTheUnitsBytesOrNoFile) {
    TempDir dir;
    PeerFaults faults;
    faults.doubled = true;
    WirePeer peer(Distinct(512), faults);
    ExpectTruthfulRead(RunToEnd(dir, peer, {"read", "unit.Kivo"}), dir, "unit.Kivo", peer);
}

TEST(DoubledReplies, VerifyFindsADifferenceInTheLastBlock) {
    TempDir dir;
    PeerFaults faults;
    faults.doubled = true;
    // From 0x120 on the default's blocks are alike, so only the true last block differs.
    Bytes unit = Unit512(DefaultImage());
    for (unsigned a = 0x1F3; a <= 0x1FF; ++a) unit[a] = 0x5A;
    WirePeer peer(unit, faults);
    dir.Write("copy.Kivo", DefaultImage());
    Outcome r = RunToEnd(dir, peer, {"verify", "copy.Kivo"});
    EXPECT_EQ(r.exit, 5) << r.err;
    EXPECT_TRUE(peer.commands("W").empty()) << "verify wrote to the unit";
}

TEST(DoubledReplies, WriteClaimsOnlyWhatTheUnitHolds) {
    TempDir dir;
    PeerFaults faults;
    faults.doubled = true;
    faults.ignoreWriteAt = 0x1FF; // the last chunk, however the range is cut: ACKed, not stored
    Bytes before = Unit512(DefaultImage());
    WirePeer peer(before, faults);
    // Blocks alike up to the end, so a shifted read-back of the lost block looks right.
    Bytes file = DefaultImage();
    std::fill(file.begin() + 0x120, file.end(), 0x11);
    dir.Write("mine.Kivo", file);
    Outcome r = RunToEnd(dir, peer, {"write", "mine.Kivo", "--no-backup"});
    EXPECT_NE(r.exit, 0) << "the last chunk was never stored";
    ExpectTruthfulWrite(r, file, before, peer.memory());
}

TEST(DoubledReplies, BackupHoldsTheUnitFromBefore) {
    TempDir dir;
    PeerFaults faults;
    faults.doubled = true;
    Bytes before = Distinct(512);
    WirePeer peer(before, faults);
    Bytes file = DefaultImage();
    dir.Write("mine.Kivo", file);
    Outcome r = RunToEnd(dir, peer, {"write", "mine.Kivo"});
    ExpectTruthfulWrite(r, file, before, peer.memory());
    std::string folder = ProgramFolder(dir) + "Backup";
    bool kept = std::filesystem::exists(folder) && !std::filesystem::is_empty(folder);
    if (!kept) {
        EXPECT_TRUE(peer.commands("W").empty()) << "wrote without a backup";
        return;
    }
    if (peer.commands("W").empty()) return;
    for (auto& e : std::filesystem::directory_iterator(folder))
        EXPECT_EQ(Differences(dir.Read(e.path().string()), before, kWritten512), "")
            << "the backup " << e.path() << " is not the unit's image from before";
}

// Memory commands answered only after 600 ms, "O" at once: a quick answer overtakes a late one.
TEST(LateMemoryReplies, ReadGivesTheUnitsBytesOrNoFile) {
    TempDir dir;
    PeerFaults faults;
    faults.lateMemoryMs = 600;
    WirePeer peer(Distinct(512), faults);
    ExpectTruthfulRead(RunToEnd(dir, peer, {"read", "unit.Kivo"}), dir, "unit.Kivo", peer);
}

// A 256-byte unit refuses reads beyond its memory, with NAK or with silence.
class SmallUnit : public testing::TestWithParam<bool> {};

TEST_P(SmallUnit, ReadsAndWritesItsOwnSize) {
    TempDir dir;
    PeerFaults faults;
    faults.silentBeyondMemory = GetParam();
    Bytes before = Distinct(256);
    WirePeer peer(before, faults);

    Outcome read = RunToEnd(dir, peer, {"read", "unit.Kivo"});
    EXPECT_EQ(read.exit, 0) << read.err;
    EXPECT_EQ(Mismatch(dir.Read("unit.Kivo"), before), "");

    Bytes file = DefaultImage();
    file.resize(256);
    dir.Write("mine.Kivo", file);
    Outcome write = RunToEnd(dir, peer, {"write", "mine.Kivo", "--no-backup"});
    EXPECT_EQ(write.exit, 0) << write.err;
    ExpectTruthfulWrite(write, file, before, peer.memory());
}

INSTANTIATE_TEST_SUITE_P(Refusal, SmallUnit, testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Silent" : "Nak"; });

// The Kobu reports a learned code that is no code.
class MalformedLearnedCode : public testing::TestWithParam<const char*> {};

TEST_P(MalformedLearnedCode, FailsAndKeepsTheFile) {
    TempDir dir;
    PeerFaults faults;
    faults.learnedCode = GetParam();
    faults.learnDelayMs = 200;
    WirePeer peer(Unit512(DefaultImage()), faults);
    Bytes file = DefaultImage();
    file[0] = 0x12;
    file[1] = 0x34;
    dir.Write("mine.Kivo", file);
    Outcome r = RunToEnd(dir, peer, {"learn", "1", "mine.Kivo"});
    EXPECT_EQ(r.exit, 5) << r.err;
    EXPECT_EQ(Mismatch(dir.Read("mine.Kivo"), file), "");
}

INSTANTIATE_TEST_SUITE_P(Codes, MalformedLearnedCode, testing::Values("ZZZZ", "0G00"));

// Stray bytes every 150 ms while the unit does not answer memory commands (all of them, or
// those of 16 bytes): the read must end, and a success must hold the unit's bytes.
class NoisyLine : public testing::TestWithParam<bool> {};

TEST_P(NoisyLine, ReadOfAMuteUnitEnds) {
    TempDir dir;
    PeerFaults faults;
    faults.noiseEveryMs = 150;
    (GetParam() ? faults.silentOnFullChunks : faults.memorySilent) = true;
    WirePeer peer(Distinct(512), faults);
    Outcome r = RunToEnd(dir, peer, {"read", "unit.Kivo"});
    if (!GetParam()) {
        EXPECT_NE(r.exit, 0);
    }
    ExpectTruthfulRead(r, dir, "unit.Kivo", peer);
}

INSTANTIATE_TEST_SUITE_P(Mute, NoisyLine, testing::Values(false, true),
                         [](const auto& info) { return info.param ? "FullChunks" : "Memory"; });

// Ctrl+C must not leave a unit half written: the write goes on to its verified end.
TEST(CtrlC, WriteGoesOnToAVerifiedEnd) {
    TempDir dir;
    PeerFaults faults;
    faults.lateMemoryMs = 50; // the write takes a while, so the signal comes in its midst
    Bytes before = Distinct(512);
    WirePeer peer(before, faults);
    Bytes file = DefaultImage();
    dir.Write("mine.Kivo", file);
    Kivoctl run(dir, peer, {"write", "mine.Kivo", "--no-backup"});
    ASSERT_TRUE(peer.waitFor("W", 1, 60s));
    std::size_t errBefore = run.ErrSize();
    run.Interrupt();
    // The user hears of the Ctrl+C while the write goes on, not only at its end.
    std::size_t writesWhenSaid = SIZE_MAX;
    auto end = std::chrono::steady_clock::now() + 100s;
    while (writesWhenSaid == SIZE_MAX && run.Running() && std::chrono::steady_clock::now() < end) {
        if (run.ErrSize() > errBefore) writesWhenSaid = peer.commands("W").size();
        std::this_thread::sleep_for(2ms);
    }
    Outcome r = run.Wait();
    EXPECT_LT(writesWhenSaid, peer.commands("W").size()) << "nothing said before the write ended";
    EXPECT_EQ(r.exit, 0) << r.err;
    EXPECT_EQ(Differences(peer.memory(), file, kWritten512), "") << "unit left half written";
    ExpectTruthfulWrite(r, file, before, peer.memory());
}

TEST(CtrlC, ReadStopsWithoutAFile) {
    TempDir dir;
    PeerFaults faults;
    faults.lateMemoryMs = 100; // the read takes seconds, so the signal comes in its midst
    WirePeer peer(Distinct(512), faults);
    Kivoctl run(dir, peer, {"read", "unit.Kivo"});
    ASSERT_TRUE(peer.waitFor("R", 3, 60s));
    run.Interrupt();
    Outcome r = run.Wait();
    // It stops by itself and says so; it is not merely killed by the signal.
    EXPECT_EQ(r.exit, 130) << r.err;
    EXPECT_FALSE(r.killed);
    EXPECT_NE(r.err.find("kivoctl: "), std::string::npos) << r.err;
    EXPECT_FALSE(Exists(dir, "unit.Kivo"));
}

TEST(CtrlC, LearnStopsListeningAndKeepsTheFile) {
    TempDir dir;
    PeerFaults faults;
    faults.learnDelayMs = -1; // no transmitter is ever heard
    WirePeer peer(Unit512(DefaultImage()), faults);
    Bytes file = DefaultImage();
    file[0] = 0x12;
    file[1] = 0x34;
    dir.Write("mine.Kivo", file);
    Kivoctl run(dir, peer, {"learn", "1", "mine.Kivo"});
    ASSERT_TRUE(peer.waitFor("c1", 2, 60s));
    auto signalled = WirePeer::Clock::now();
    run.Interrupt();
    Outcome r = run.Wait();
    EXPECT_EQ(r.exit, 130) << r.err;
    EXPECT_FALSE(r.killed);
    auto stops = peer.commands("s0");
    EXPECT_TRUE(!stops.empty() && stops.back().at > signalled) << "the Kobu still listens";
    EXPECT_EQ(Mismatch(dir.Read("mine.Kivo"), file), "");
}

} // namespace
} // namespace kivo::test
