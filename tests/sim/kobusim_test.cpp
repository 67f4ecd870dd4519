// The kobu-sim program: started for real, talked to through its pseudo-terminal.
#include "sim/wire_fixture.h"

#include "support/tempdir.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <vector>

extern char** environ;

namespace kivo::sim::test {
namespace {

// kobu-sim as a child process whose stdout we read; killed when the test ends.
class KobuSimProcess {
public:
    explicit KobuSimProcess(const std::vector<std::string>& args) {
        int out[2];
        if (::pipe(out) != 0) return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        std::vector<char*> argv{const_cast<char*>(KOBU_SIM)};
        for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        if (posix_spawn(&pid_, KOBU_SIM, &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
        ::close(out[1]);
        stdout_ = out[0];
    }
    ~KobuSimProcess() {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        if (stdout_ >= 0) ::close(stdout_);
    }

    // The first line the program prints, or "" when none comes within two seconds.
    std::string FirstLine() {
        std::string line;
        char c = 0;
        while (poll(stdout_, 2000) && ::read(stdout_, &c, 1) == 1 && c != '\n') line += c;
        return line;
    }

    // Sends SIGTERM and returns the exit status, -1 if it did not end normally.
    int Terminate() {
        if (pid_ <= 0) return -1;
        ::kill(pid_, SIGTERM);
        int status = 0;
        ::waitpid(pid_, &status, 0);
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    static bool poll(int fd, int ms) {
        pollfd p{fd, POLLIN, 0};
        return ::poll(&p, 1, ms) == 1;
    }

private:
    pid_t pid_ = -1;
    int stdout_ = -1;
};

// Writes a frame and reads the reply: up to ETX for frames, one byte otherwise.
std::string Exchange(int fd, const std::string& command, bool framed) {
    const std::string frame = Frame(command);
    if (::write(fd, frame.data(), frame.size()) != ssize_t(frame.size())) return "write failed";
    std::string reply;
    char c = 0;
    while (KobuSimProcess::poll(fd, 2000) && ::read(fd, &c, 1) == 1) {
        reply += c;
        if (!framed || c == '\x03') break;
    }
    return reply;
}

TEST(KobuSimProgram, ServesTheSimulatorOnAPseudoTerminal) {
    kivo::test::TempDir dir;
    KobuSimProcess sim({"latency=2,memory=" + dir.file("unit.bin"), "size=256"});
    const std::string path = sim.FirstLine();
    ASSERT_EQ(path.rfind("/dev/", 0), 0u) << "first line: " << path;

    // Plain reads and writes on the slave, without setting raw mode here: kobu-sim must have
    // done that, or the frame would be echoed and bytes translated.
    int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(fd, 0) << path;
    EXPECT_EQ(Hex(Exchange(fd, "v", true)), Hex(Frame("11-1 SIM1.0")));
    EXPECT_EQ(Hex(Exchange(fd, "O", false)), Hex(kAckByte));
    EXPECT_EQ(Hex(Exchange(fd, "R01FF01", false)), Hex(kNakByte)); // the second argument counts
    EXPECT_EQ(Hex(Exchange(fd, "W000D010D", false)), Hex(kAckByte));
    EXPECT_EQ(Hex(Exchange(fd, "R000D01", true)), Hex(Frame("0D")));
    ::close(fd);

    EXPECT_EQ(sim.Terminate(), 0);
    auto memory = dir.Read("unit.bin");
    ASSERT_EQ(memory.size(), 256u);
    EXPECT_EQ(memory[0x0D], 0x0D);
}

TEST(KobuSimProgram, RefusesBadOptions) {
    KobuSimProcess sim({"size=300"});
    EXPECT_EQ(sim.FirstLine(), "");
    EXPECT_EQ(sim.Terminate(), 2);
}

} // namespace
} // namespace kivo::sim::test
