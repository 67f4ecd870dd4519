// The kobu-sim program: started for real, talked to through its pseudo-terminal.
#include "sim/wire_fixture.h"

#include "support/kobusim.h"
#include "support/tempdir.h"

#include <fcntl.h>
#include <gtest/gtest.h>
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

TEST(KobuSimProgram, RefusesBadOptions) {
    KobuSimProcess sim(KOBU_SIM, {"size=300"});
    EXPECT_EQ(sim.FirstLine(), "");
    EXPECT_EQ(sim.Terminate(), 2);
}

} // namespace
} // namespace kivo::sim::test
