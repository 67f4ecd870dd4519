// The kobu-sim program: started for real, talked to through its pseudo-terminal.
#include "sim/wire_fixture.h"

#include "support/kobusim.h"
#include "support/tempdir.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <vector>

namespace kivo::sim::test {
namespace {

using kivo::test::KobuSimProcess;

// Writes a frame and reads the reply: up to ETX for frames, one byte otherwise.
std::string Exchange(int fd, const std::string& command, bool framed) {
    const std::string frame = Frame(command);
    if (::write(fd, frame.data(), frame.size()) != ssize_t(frame.size())) return "write failed";
    std::string reply;
    char c = 0;
    while (KobuSimProcess::Readable(fd, 2000) && ::read(fd, &c, 1) == 1) {
        reply += c;
        if (!framed || c == '\x03') break;
    }
    return reply;
}

TEST(KobuSimProgram, ServesTheSimulatorOnAPseudoTerminal) {
    kivo::test::TempDir dir;
    KobuSimProcess sim(KOBU_SIM, {"latency=2,memory=" + dir.file("unit.bin"), "size=256"});
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

// Whether the line is some program's alone: an ordinary user cannot open it then (the
// administrator can, and asks).
bool Exclusive(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) return errno == EBUSY;
    int exclusive = 0;
    ::ioctl(fd, TIOCGEXCL, &exclusive);
    ::close(fd);
    return exclusive != 0;
}

// A host killed outright (kill -9) cannot give up the exclusive use it took; kobu-sim must,
// or every later host of an ordinary user is refused until kobu-sim restarts.
TEST(KobuSimProgram, GivesUpExclusiveUseWhenItsHostDies) {
    KobuSimProcess sim(KOBU_SIM, {});
    const std::string path = sim.FirstLine();
    ASSERT_EQ(path.rfind("/dev/", 0), 0u) << "first line: " << path;
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t host = ::fork();
    ASSERT_GE(host, 0);
    if (host == 0) { // opens the line as the serial transport does, and holds it
        const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY);
        if (fd >= 0) ::ioctl(fd, TIOCEXCL);
        const char c = fd >= 0 ? '1' : '0';
        if (::write(ready[1], &c, 1) != 1) ::_exit(1);
        for (;;) ::pause();
    }
    ::close(ready[1]);
    char c = 0;
    ASSERT_EQ(::read(ready[0], &c, 1), 1);
    ::close(ready[0]);
    ASSERT_EQ(c, '1');

    // Others coming and going leave the living host its line.
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(Exclusive(path));
    ::usleep(200 * 1000);
    EXPECT_TRUE(Exclusive(path));

    ::kill(host, SIGKILL);
    ::waitpid(host, nullptr, 0);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (Exclusive(path) && std::chrono::steady_clock::now() < deadline) ::usleep(20 * 1000);
    EXPECT_FALSE(Exclusive(path));
}

TEST(KobuSimProgram, RefusesBadOptions) {
    KobuSimProcess sim(KOBU_SIM, {"size=300"});
    EXPECT_EQ(sim.FirstLine(), "");
    EXPECT_EQ(sim.Terminate(), 2);
}

} // namespace
} // namespace kivo::sim::test
