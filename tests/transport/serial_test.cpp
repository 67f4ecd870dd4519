// The serial transport against a pseudo-terminal pair: the transport opens the terminal end as
// it would a USB serial port, the test plays the Kobu on the other end.
#include "transport/serial.h"

#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace kivo {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Result = Transport::OpenResult;

std::int64_t NowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

// Timing bounds are loose: the machine running the tests may be slow and busy.
constexpr std::int64_t kGenerousMs = 2000;

class SerialTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(::openpty(&master, &slave, nullptr, nullptr, nullptr), 0);
        path = ::ttyname(slave);
        transport = MakeSerialTransport(path);
        ASSERT_NE(transport, nullptr);
    }
    void TearDown() override {
        transport.reset();
        if (master >= 0) ::close(master);
        ::close(slave);
    }

    void OpenTransport() { ASSERT_EQ(transport->Open(), Result::Open); }

    void MasterWrite(const Bytes& bytes) {
        ASSERT_EQ(::write(master, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }

    // Up to `count` bytes that reach the master within the generous bound.
    Bytes MasterRead(std::size_t count) {
        Bytes got;
        const std::int64_t deadline = NowMs() + kGenerousMs;
        while (got.size() < count && NowMs() < deadline) {
            pollfd p{master, POLLIN, 0};
            if (::poll(&p, 1, 50) <= 0) continue;
            std::uint8_t buf[512];
            ssize_t n = ::read(master, buf, sizeof buf);
            if (n > 0) got.insert(got.end(), buf, buf + n);
        }
        return got;
    }

    // Everything the transport reads within the generous bound, up to `count` bytes.
    Bytes TransportRead(std::size_t count) {
        Bytes got;
        const std::int64_t deadline = NowMs() + kGenerousMs;
        while (got.size() < count && NowMs() < deadline) {
            if (!transport->WaitReadable(100)) continue;
            std::uint8_t buf[512];
            std::size_t n = transport->ReadAvailable(buf, sizeof buf);
            got.insert(got.end(), buf, buf + n);
        }
        return got;
    }

    int master = -1;
    int slave = -1;
    std::string path;
    std::unique_ptr<Transport> transport;
};

TEST_F(SerialTest, OpenSetsRawKobuSettingsAndExclusiveUse) {
    OpenTransport();
    EXPECT_EQ(transport->Name(), path);
    termios tio{};
    ASSERT_EQ(::tcgetattr(slave, &tio), 0);
    EXPECT_EQ(cfgetospeed(&tio), B57600);
    EXPECT_EQ(tio.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_TRUE(tio.c_cflag & CSTOPB);
    EXPECT_TRUE(tio.c_cflag & CREAD);
    EXPECT_TRUE(tio.c_cflag & CLOCAL);
    EXPECT_FALSE(tio.c_cflag & PARENB);
    EXPECT_FALSE(tio.c_cflag & CRTSCTS);
    EXPECT_FALSE(tio.c_iflag & (IXON | IXOFF));
    EXPECT_FALSE(tio.c_lflag & (ICANON | ECHO | ISIG));
    EXPECT_FALSE(tio.c_oflag & OPOST);
    EXPECT_EQ(tio.c_cc[VMIN], 0);
    EXPECT_EQ(tio.c_cc[VTIME], 0);

    int exclusive = 0;
    ASSERT_EQ(::ioctl(slave, TIOCGEXCL, &exclusive), 0);
    EXPECT_EQ(exclusive, 1);
    // Closing gives exclusive use up, or our own next Open would be refused while someone
    // else (here the test, in real use the simulator) holds the terminal open.
    transport->Close();
    ASSERT_EQ(::ioctl(slave, TIOCGEXCL, &exclusive), 0);
    EXPECT_EQ(exclusive, 0);
    EXPECT_EQ(transport->Open(), Result::Open);
    EXPECT_EQ(transport->Open(), Result::Open); // an open transport is closed and reopened
}

TEST_F(SerialTest, EveryByteValuePassesUnchangedBothWays) {
    OpenTransport();
    Bytes all{0x02, 0x03, 0x15, 0x00, 0xFF, 0x06, '\r', '\n', 0x11, 0x13, 0x7F};
    for (int b = 0; b < 256; ++b) all.push_back(static_cast<std::uint8_t>(b));

    EXPECT_EQ(transport->Write(all.data(), all.size()), all.size());
    EXPECT_EQ(MasterRead(all.size()), all);
    pollfd p{master, POLLIN, 0};
    EXPECT_EQ(::poll(&p, 1, 50), 0) << "nothing added";

    MasterWrite(all);
    EXPECT_EQ(TransportRead(all.size()), all);
    EXPECT_FALSE(transport->WaitReadable(50)) << "nothing added";
}

TEST_F(SerialTest, WaitReadableSleepsOutItsTimeOutWhenNothingComes) {
    OpenTransport();
    const std::int64_t start = NowMs();
    EXPECT_FALSE(transport->WaitReadable(300));
    const std::int64_t took = NowMs() - start;
    EXPECT_GE(took, 240);
    EXPECT_LT(took, 300 + kGenerousMs);
    std::uint8_t b;
    EXPECT_EQ(transport->ReadAvailable(&b, 1), 0u); // and reading does not block either
}

TEST_F(SerialTest, WaitReadableReturnsAsSoonAsAByteArrives) {
    OpenTransport();
    std::thread kobu([this] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        MasterWrite({0x06});
    });
    const std::int64_t start = NowMs();
    const bool readable = transport->WaitReadable(10000);
    const std::int64_t took = NowMs() - start;
    kobu.join();
    EXPECT_TRUE(readable);
    EXPECT_LT(took, kGenerousMs);
    std::uint8_t b = 0;
    EXPECT_EQ(transport->ReadAvailable(&b, 1), 1u);
    EXPECT_EQ(b, 0x06);

    // A byte already waiting: no wait at all.
    MasterWrite({0x15});
    ASSERT_TRUE(transport->WaitReadable(10000));
    const std::int64_t again = NowMs();
    EXPECT_TRUE(transport->WaitReadable(10000));
    EXPECT_LT(NowMs() - again, kGenerousMs);
}

TEST_F(SerialTest, PurgeOfInputDropsWhatWaits) {
    OpenTransport();
    MasterWrite({0x02, 'A', 'B', 0x03});
    ASSERT_TRUE(transport->WaitReadable(kGenerousMs));
    transport->Purge(false, true); // output only: the input stays
    EXPECT_TRUE(transport->WaitReadable(0));

    transport->Purge(true, true);
    std::uint8_t buf[16];
    EXPECT_EQ(transport->ReadAvailable(buf, sizeof buf), 0u);
    EXPECT_FALSE(transport->WaitReadable(50));

    MasterWrite({0x06}); // what comes after the purge is received
    EXPECT_EQ(TransportRead(1), Bytes{0x06});
}

TEST_F(SerialTest, HangUpOfTheOtherEndMakesTheTransportLost) {
    OpenTransport();
    ::close(master);
    master = -1;
    const std::int64_t start = NowMs();
    EXPECT_FALSE(transport->WaitReadable(10000));
    EXPECT_LT(NowMs() - start, kGenerousMs);
    EXPECT_TRUE(transport->Lost());

    // Every later operation returns at once.
    const std::int64_t later = NowMs();
    std::uint8_t buf[4] = {1, 2, 3, 4};
    EXPECT_FALSE(transport->WaitReadable(10000));
    EXPECT_EQ(transport->ReadAvailable(buf, sizeof buf), 0u);
    EXPECT_EQ(transport->Write(buf, sizeof buf), 0u);
    transport->Purge(true, true);
    EXPECT_LT(NowMs() - later, kGenerousMs);
    transport->Close();
}

TEST_F(SerialTest, WriteGivesUpWhenNothingTakesTheBytes) {
    OpenTransport();
    // Nobody reads the other end: the terminal's buffers fill and the write stops after its
    // time-out with what it could hand over.
    Bytes big(4 * 1024 * 1024, 0x55);
    const std::int64_t start = NowMs();
    const std::size_t written = transport->Write(big.data(), big.size());
    EXPECT_LT(NowMs() - start, kGenerousMs);
    EXPECT_LT(written, big.size());
    EXPECT_FALSE(transport->Lost());
}

TEST_F(SerialTest, ClosedTransportDoesNothing) {
    const std::int64_t start = NowMs();
    std::uint8_t buf[4] = {1, 2, 3, 4};
    EXPECT_FALSE(transport->WaitReadable(10000));
    EXPECT_EQ(transport->ReadAvailable(buf, sizeof buf), 0u);
    EXPECT_EQ(transport->Write(buf, sizeof buf), 0u);
    transport->Purge(true, true);
    transport->Close();
    transport->Close();
    EXPECT_LT(NowMs() - start, kGenerousMs);
    EXPECT_FALSE(transport->Lost());
}

TEST(SerialOpen, PathsThatAreNoSerialDeviceDoNotOpen) {
    test::TempDir dir;
    const std::string file = dir.Write("not-a-port", std::string("\x02O4F\x03"));
    struct Case {
        std::string path;
        bool mustFail; // else NotConfigured is acceptable too
    } cases[] = {
        {dir.file("ttyUSB9"), true}, {"", true}, {dir.path(), true}, {file, false},
        {"/dev/null", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        auto t = MakeSerialTransport(c.path);
        const Result r = t->Open();
        EXPECT_NE(r, Result::Open);
        if (c.mustFail) {
            EXPECT_EQ(r, Result::Failed);
        }
        std::uint8_t b = 0;
        EXPECT_FALSE(t->WaitReadable(0));
        EXPECT_EQ(t->ReadAvailable(&b, 1), 0u);
        t->Close();
    }
}

} // namespace
} // namespace kivo
