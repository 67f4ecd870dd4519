#include "peer/wirepeer.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <stdexcept>
#include <termios.h>
#include <unistd.h>

namespace kivo::test {
namespace {

constexpr char STX = 0x02, ETX = 0x03, ACK = 0x06, NAK = 0x15;
constexpr auto doubledGap = std::chrono::milliseconds(20);

std::string Hex2(unsigned v) {
    const char* digits = "0123456789ABCDEF";
    return {digits[(v >> 4) & 0xF], digits[v & 0xF]};
}

std::string Checksum(const std::string& text) {
    unsigned sum = 0;
    for (unsigned char c : text) sum += c;
    return Hex2(sum & 0xFF);
}

std::string Frame(const std::string& payload) {
    return STX + payload + Checksum(payload) + ETX;
}

// Upper-case hex only, as the host must send it; -1 when not.
int ParseHex(const std::string& s, std::size_t pos, std::size_t digits) {
    if (pos + digits > s.size()) return -1;
    int v = 0;
    for (std::size_t i = pos; i < pos + digits; ++i) {
        char c = s[i];
        int d = c >= '0' && c <= '9' ? c - '0' : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
        if (d < 0) return -1;
        v = v * 16 + d;
    }
    return v;
}

} // namespace

WirePeer::WirePeer(std::vector<std::uint8_t> memory, PeerFaults faults)
    : faults_(std::move(faults)), memory_(std::move(memory)) {
    char name[256];
    if (::openpty(&master_, &slave_, name, nullptr, nullptr) != 0)
        throw std::runtime_error("openpty failed");
    device_ = name;
    for (int fd : {master_, slave_}) ::fcntl(fd, F_SETFD, FD_CLOEXEC);
    // Raw, so the line discipline neither echoes nor rewrites a byte; the slave stays open
    // here too, so the master never sees a hang-up between two runs of the host.
    termios t{};
    ::tcgetattr(slave_, &t);
    ::cfmakeraw(&t);
    t.c_cflag |= CSTOPB | CLOCAL | CREAD;
    ::cfsetspeed(&t, B57600);
    ::tcsetattr(slave_, TCSANOW, &t);
    // A host that stops reading must not block the peer.
    ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
    if (::pipe2(wake_, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
    thread_ = std::thread([this] { serve(); });
}

WirePeer::~WirePeer() {
    stop_ = true;
    char c = 0;
    (void)!::write(wake_[1], &c, 1);
    thread_.join();
    for (int fd : {master_, slave_, wake_[0], wake_[1]}) ::close(fd);
}

std::vector<std::uint8_t> WirePeer::memory() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return memory_;
}

void WirePeer::setMemory(std::vector<std::uint8_t> memory) {
    std::lock_guard<std::mutex> lock(mutex_);
    memory_ = std::move(memory);
}

std::vector<WirePeer::Command> WirePeer::commands() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return log_;
}

std::vector<WirePeer::Command> WirePeer::commands(const std::string& prefix) const {
    std::vector<Command> all = commands(), matching;
    for (auto& c : all)
        if (c.text.compare(0, prefix.size(), prefix) == 0) matching.push_back(c);
    return matching;
}

int WirePeer::badFrames() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return badFrames_;
}

bool WirePeer::waitFor(const std::string& prefix, std::size_t count,
                       std::chrono::milliseconds limit) const {
    auto end = Clock::now() + limit;
    while (commands(prefix).size() < count) {
        if (Clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

void WirePeer::sendAt(Clock::time_point at, std::string bytes) {
    outbox_.emplace(at, std::move(bytes));
}

void WirePeer::serve() {
    using std::chrono::milliseconds;
    const auto noiseEvery = milliseconds(faults_.noiseEveryMs);
    auto nextNoise = Clock::now() + noiseEvery;
    bool noiseHigh = false;
    while (!stop_) {
        auto now = Clock::now();
        while (!outbox_.empty() && outbox_.begin()->first <= now) {
            const std::string& out = outbox_.begin()->second;
            (void)!::write(master_, out.data(), out.size());
            outbox_.erase(outbox_.begin());
        }
        if (faults_.noiseEveryMs > 0 && now >= nextNoise) {
            char stray = noiseHigh ? char(0xFF) : char(0x00);
            noiseHigh = !noiseHigh;
            (void)!::write(master_, &stray, 1);
            nextNoise += noiseEvery;
        }
        auto next = now + milliseconds(100);
        if (!outbox_.empty()) next = std::min(next, outbox_.begin()->first);
        if (faults_.noiseEveryMs > 0) next = std::min(next, nextNoise);
        auto wait = std::chrono::ceil<milliseconds>(next - now).count();
        pollfd fds[2] = {{master_, POLLIN, 0}, {wake_[0], POLLIN, 0}};
        if (::poll(fds, 2, int(std::max<long long>(wait, 0))) <= 0) continue;
        if (!(fds[0].revents & POLLIN)) continue;
        char buf[256];
        ssize_t n = ::read(master_, buf, sizeof buf);
        for (ssize_t i = 0; i < n; ++i) {
            char c = buf[i];
            if (c == STX) {
                inFrame_ = true;
                frame_.clear();
            } else if (inFrame_ && c == ETX) {
                inFrame_ = false;
                onFrame(frame_, Clock::now());
            } else if (inFrame_) {
                frame_ += c;
                if (frame_.size() > 64) {
                    inFrame_ = false;
                    std::lock_guard<std::mutex> lock(mutex_);
                    ++badFrames_;
                }
            }
        }
    }
}

void WirePeer::onFrame(const std::string& body, Clock::time_point now) {
    std::string text = body.size() >= 2 ? body.substr(0, body.size() - 2) : "";
    if (body.size() < 3 || Checksum(text) != body.substr(body.size() - 2)) {
        std::lock_guard<std::mutex> lock(mutex_);
        ++badFrames_;
        return;
    }
    bool memoryCommand = false;
    std::string reply;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        log_.push_back({now, text});
        reply = handle(text, now, &memoryCommand);
    }
    if (reply.empty()) return;
    int delayMs =
        memoryCommand && faults_.lateMemoryMs > 0 ? faults_.lateMemoryMs : faults_.replyDelayMs;
    auto at = now + std::chrono::milliseconds(delayMs);
    sendAt(at, reply);
    if (faults_.doubled && text[0] == 'R') sendAt(at + doubledGap, reply);
}

// The reply to one command, empty for silence. Called with the mutex held.
std::string WirePeer::handle(const std::string& text, Clock::time_point now, bool* memoryCommand) {
    const std::string ack(1, ACK), nak(1, NAK);
    if (text == "O") return faults_.unitPresent ? ack : nak;
    if (text == "v") return Frame(faults_.version);
    if (text == "s1" || text == "s0") {
        listening_ = text == "s1";
        listenSince_ = now;
        return ack;
    }
    if (text == "c1") {
        bool heard = listening_ && faults_.learnDelayMs >= 0 &&
                     now - listenSince_ >= std::chrono::milliseconds(faults_.learnDelayMs);
        return Frame((heard ? faults_.learnedCode : "0000") + "0000");
    }
    if (text[0] != 'R' && text[0] != 'W') return nak;

    *memoryCommand = true;
    if (faults_.memorySilent) return "";
    int address = ParseHex(text, 1, 4), count = ParseHex(text, 5, 2);
    bool isRead = text[0] == 'R';
    if (address < 0 || count < 1 || count > 16) return nak;
    if (text.size() != (isRead ? 7u : 7u + 2 * count)) return nak;
    if (faults_.silentOnFullChunks && count == 16) return "";
    if (!faults_.unitPresent) return nak;
    if (std::size_t(address + count) > memory_.size())
        return isRead && faults_.silentBeyondMemory ? "" : nak;
    if (isRead) {
        std::string payload;
        for (int i = 0; i < count; ++i) payload += Hex2(memory_[address + i]);
        return Frame(payload);
    }
    std::vector<std::uint8_t> bytes;
    for (int i = 0; i < count; ++i) {
        int b = ParseHex(text, 7 + 2 * i, 2);
        if (b < 0) return nak;
        bytes.push_back(std::uint8_t(b));
    }
    bool ignored = faults_.ignoreWriteAt >= address && faults_.ignoreWriteAt < address + count;
    if (!ignored) std::copy(bytes.begin(), bytes.end(), memory_.begin() + address);
    return ack;
}

} // namespace kivo::test
