#include "transport/serial.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>
#include <utility>

#ifdef __linux__
#include <linux/serial.h>
#endif

namespace kivo {

namespace {

// A frame is a few dozen bytes; at 57600 baud the kernel takes them at once. Should the
// driver's buffer be full, this bounds how long a write may wait for room.
constexpr int kWriteTimeoutMs = 100;

// Errors with which a read, write or flush tells that the adapter has been unplugged or the
// other end of a pseudo-terminal has gone.
bool IsDeviceGone(int error) {
    return error == EIO || error == ENXIO || error == ENODEV;
}

// A pseudo-terminal has no modem lines: the ioctl for DTR fails with one of these there, which
// leaves nothing to set rather than a wrong setting.
bool IsUnsupported(int error) {
    return error == ENOTTY || error == EINVAL;
}

int PollFor(int fd, short events, int timeoutMs, short& revents) {
    pollfd p{fd, events, 0};
    int r = ::poll(&p, 1, timeoutMs);
    revents = p.revents;
    return r;
}

// USB serial chips hold received bytes for a latency period (16 ms by default) before passing
// them on; every reply of the Kobu would wait that long, which adds up over the dozens of
// transactions of a whole-image read or write. The low-latency flag makes the kernel's driver
// set the chip's timer to its shortest. Only speed depends on it, so a driver or a
// pseudo-terminal that does not know the flag is no failure.
void AskForLowLatency(int fd) {
#ifdef __linux__
    serial_struct serial{};
    if (::ioctl(fd, TIOCGSERIAL, &serial) != 0) return;
    if (serial.flags & ASYNC_LOW_LATENCY) return;
    serial.flags |= ASYNC_LOW_LATENCY;
    ::ioctl(fd, TIOCSSERIAL, &serial);
#else
    (void)fd;
#endif
}

// Raw 57600 baud, 8 data bits, 2 stop bits, no parity, no flow control; reads return what
// is there at once (VMIN = VTIME = 0), waiting is done with poll().
void MakeKobuSettings(termios& tio) {
    cfmakeraw(&tio);
    tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CRTSCTS);
    tio.c_cflag |= CS8 | CSTOPB | CLOCAL | CREAD;
    tio.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    cfsetispeed(&tio, B57600);
    cfsetospeed(&tio, B57600);
}

// tcsetattr succeeds when any of the settings could be applied, so read them back.
bool HasKobuSettings(const termios& tio) {
    const tcflag_t mask = CSIZE | PARENB | CSTOPB | CRTSCTS;
    return cfgetospeed(&tio) == B57600 && (tio.c_cflag & mask) == (CS8 | CSTOPB) &&
           (tio.c_iflag & (IXON | IXOFF)) == 0 && (tio.c_lflag & (ICANON | ECHO | ISIG)) == 0;
}

} // namespace

SerialTransport::SerialTransport(std::string path) : path_(std::move(path)) {}

SerialTransport::~SerialTransport() {
    Close();
}

bool SerialTransport::LoseOn(int error) {
    if (IsDeviceGone(error)) lost_ = true;
    return lost_;
}

Transport::OpenResult SerialTransport::Open() {
    if (fd_ >= 0) {
        ::ioctl(fd_, TIOCNXCL);
        ::close(fd_);
        fd_ = -1;
    }
    lost_ = false;

    // O_NONBLOCK: opening must not wait for a carrier, and reads and writes never block; all
    // waiting goes through poll() with a time-out.
    int fd = ::open(path_.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return OpenResult::Failed;

    termios tio{};
    if (!::isatty(fd) || ::tcgetattr(fd, &tio) != 0) {
        // A file or anything else that is not a serial device is no Kobu.
        ::close(fd);
        return OpenResult::Failed;
    }
    fd_ = fd;

    // Keep other programs from opening the port while we use it (a driver without exclusive
    // mode simply does without). Already held exclusively by another program, the open above
    // has failed with EBUSY.
    ::ioctl(fd_, TIOCEXCL);

    // Apply every setting even after one has failed; the link closes a port that is not
    // fully configured itself.
    bool configured = true;
    MakeKobuSettings(tio);
    if (::tcsetattr(fd_, TCSANOW, &tio) != 0) configured = false;
    termios check{};
    if (::tcgetattr(fd_, &check) != 0 || !HasKobuSettings(check)) configured = false;

    // Opening a USB serial port raises DTR; the Kobu wants it low.
    int dtr = TIOCM_DTR;
    if (::ioctl(fd_, TIOCMBIC, &dtr) != 0 && !IsUnsupported(errno)) configured = false;

    AskForLowLatency(fd_);

    return configured ? OpenResult::Open : OpenResult::NotConfigured;
}

void SerialTransport::Close() {
    if (fd_ < 0) return;
    ::tcflush(fd_, TCIFLUSH);
    // Give up exclusive use: the flag stays on the terminal while anyone else (the simulator
    // holding its pseudo-terminal) has it open, and would refuse our next Open.
    ::ioctl(fd_, TIOCNXCL);
    ::close(fd_);
    fd_ = -1;
}

void SerialTransport::Purge(bool receive, bool transmit) {
    if (fd_ < 0 || lost_ || (!receive && !transmit)) return;
    int queue = receive && transmit ? TCIOFLUSH : receive ? TCIFLUSH : TCOFLUSH;
    if (::tcflush(fd_, queue) != 0) LoseOn(errno);
}

std::size_t SerialTransport::Write(const std::uint8_t* data, std::size_t size) {
    if (fd_ < 0 || lost_ || data == nullptr) return 0;
    std::size_t done = 0;
    const std::int64_t deadline = clock_.NowMs() + kWriteTimeoutMs;
    while (done < size) {
        ssize_t n = ::write(fd_, data + done, size - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) {
            LoseOn(errno);
            break;
        }
        // The driver's buffer is full: wait for room, but not past the write time-out.
        std::int64_t left = deadline - clock_.NowMs();
        if (left <= 0) break;
        short revents = 0;
        int r = PollFor(fd_, POLLOUT, static_cast<int>(left), revents);
        if (r < 0 && errno == EINTR) continue;
        if (r <= 0) break;
        if (revents & (POLLERR | POLLHUP | POLLNVAL)) {
            lost_ = true;
            break;
        }
    }
    return done;
}

bool SerialTransport::WaitReadable(int timeoutMs) {
    if (fd_ < 0 || lost_) return false;
    const std::int64_t deadline = clock_.NowMs() + std::max(0, timeoutMs);
    for (;;) {
        const std::int64_t left = std::max<std::int64_t>(0, deadline - clock_.NowMs());
        short revents = 0;
        // poll() sleeps in the kernel until a byte arrives or the time is up: nothing is
        // burned while waiting, and the first byte wakes us at once.
        int r = PollFor(fd_, POLLIN, static_cast<int>(left), revents);
        if (r < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (r == 0) return false;
        // An unplugged adapter hangs its terminal up: poll then reports POLLHUP and POLLERR
        // (with POLLIN, though nothing can be read any more).
        if (revents & (POLLERR | POLLHUP | POLLNVAL)) {
            lost_ = true;
            return false;
        }
        if (revents & POLLIN) return true;
        if (left == 0) return false;
    }
}

std::size_t SerialTransport::ReadAvailable(std::uint8_t* buffer, std::size_t max) {
    if (fd_ < 0 || lost_ || buffer == nullptr || max == 0) return 0;
    for (;;) {
        ssize_t n = ::read(fd_, buffer, max);
        if (n > 0) return static_cast<std::size_t>(n);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) LoseOn(errno);
        return 0;
    }
}

std::unique_ptr<Transport> MakeSerialTransport(const std::string& path) {
    return std::make_unique<SerialTransport>(path);
}

} // namespace kivo
