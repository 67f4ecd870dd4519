#include "ptyserve.h"

#include "peerwatch.h"

#include <pty.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <termios.h>
#include <unistd.h>

namespace kobusim {

namespace {

using kivo::sim::Micros;

volatile std::sig_atomic_t g_stop = 0;

extern "C" void OnStopSignal(int) {
    g_stop = 1;
}

Micros NowUs() {
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

// Raw bytes both ways: no echo, no line editing, no translation of CR/LF or control bytes.
termios RawSettings() {
    termios t{};
    cfmakeraw(&t);
    cfsetispeed(&t, B57600);
    cfsetospeed(&t, B57600);
    t.c_cflag |= CSTOPB | CLOCAL | CREAD;
    t.c_cc[VMIN] = 1;
    t.c_cc[VTIME] = 0;
    return t;
}

void WriteAll(int fd, const std::uint8_t* data, std::size_t size) {
    while (size > 0) {
        ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return; // the host does not read: the bytes are lost, as on a real line
        data += n;
        size -= std::size_t(n);
    }
}

// SIGTERM and SIGINT are blocked except while waiting in ppoll/sigsuspend, so a signal can
// never slip in between the check of g_stop and the wait.
sigset_t CatchStopSignals() {
    struct sigaction sa {};
    sa.sa_handler = OnStopSignal;
    sigemptyset(&sa.sa_mask);
    sigaction(SIGTERM, &sa, nullptr);
    sigaction(SIGINT, &sa, nullptr);
    sigset_t stop, waiting;
    sigemptyset(&stop);
    sigaddset(&stop, SIGTERM);
    sigaddset(&stop, SIGINT);
    sigprocmask(SIG_BLOCK, &stop, &waiting);
    sigdelset(&waiting, SIGTERM);
    sigdelset(&waiting, SIGINT);
    return waiting;
}

} // namespace

int ServeOnPty(kivo::sim::SimKobu& device) {
    const sigset_t waiting = CatchStopSignals();

    int master = -1, slave = -1;
    termios raw = RawSettings();
    if (openpty(&master, &slave, nullptr, &raw, nullptr) != 0) {
        std::fprintf(stderr, "kobu-sim: cannot open a pseudo-terminal: %s\n", std::strerror(errno));
        return 1;
    }
    // Termios requests on the master act on the pair; set raw once more in case openpty's
    // settings did not take.
    tcsetattr(master, TCSANOW, &raw);
    fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
    const char* name = ttyname(slave);
    // The slave stays open here so that the pair lives on while hosts open and close it.
    // Watching before the path is out, so no host's close goes unseen.
    PeerWatch hosts(slave, name);
    std::printf("%s\n", name ? name : "?");
    std::fflush(stdout);

    std::uint8_t buffer[4096];
    std::string lastSaveError;
    bool gone = false;
    while (!g_stop) {
        const Micros now = NowUs();
        std::size_t n;
        while ((n = device.TakeDue(now, buffer, sizeof buffer)) > 0) WriteAll(master, buffer, n);
        if (device.Gone(now)) {
            gone = true;
            break;
        }

        timespec wait{};
        timespec* timeout = nullptr;
        if (auto due = device.NextDue()) {
            Micros us = *due > now ? *due - now : 0;
            wait.tv_sec = time_t(us / 1000000);
            wait.tv_nsec = long(us % 1000000) * 1000;
            timeout = &wait;
        }
        pollfd pfds[2] = {{master, POLLIN, 0}, {hosts.Fd(), POLLIN, 0}};
        pollfd& pfd = pfds[0];
        int ready = ppoll(pfds, hosts.Fd() >= 0 ? 2 : 1, timeout, &waiting);
        if (ready < 0) {
            if (errno == EINTR) continue;
            std::fprintf(stderr, "kobu-sim: poll failed: %s\n", std::strerror(errno));
            break;
        }
        if (ready > 0 && (pfds[1].revents & POLLIN)) hosts.Handle();
        if (ready > 0 && (pfd.revents & POLLIN)) {
            ssize_t got = ::read(master, buffer, sizeof buffer);
            if (got > 0) device.Receive(buffer, std::size_t(got), NowUs());
        } else if (ready > 0 && pfd.revents) {
            // Hang-up or error without data: do not spin on it.
            timespec pause{0, 10 * 1000 * 1000};
            nanosleep(&pause, nullptr);
        }
        if (device.SaveError() != lastSaveError) {
            lastSaveError = device.SaveError();
            if (!lastSaveError.empty())
                std::fprintf(stderr, "kobu-sim: %s\n", lastSaveError.c_str());
        }
    }

    ::close(master);
    ::close(slave);
    if (gone) {
        std::fprintf(stderr, "kobu-sim: the simulated Kobu has been unplugged\n");
        while (!g_stop) sigsuspend(&waiting);
    }
    return 0;
}

} // namespace kobusim
