// A Kobu with a Kivo behind it, written from the wire format alone and served on a
// pseudo-terminal, so kivoctl can be judged by something other than our own simulator.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace kivo::test {

// How the peer misbehaves; set before it starts, each switch on its own.
struct PeerFaults {
    int replyDelayMs = 2;            // a real unit answers after a couple of milliseconds
    bool doubled = false;            // every memory-read reply is sent again 20 ms later
    int lateMemoryMs = 0;            // R and W answered only after this (others at once)
    bool silentBeyondMemory = false; // reads beyond the memory: silence instead of NAK
    bool memorySilent = false;       // R and W never answered ("O" still is)
    bool silentOnFullChunks = false; // R and W of 16 bytes never answered
    int noiseEveryMs = 0;            // a stray byte every N ms, whatever happens
    int ignoreWriteAt = -1;          // the write covering this address is ACKed, not stored
    bool unitPresent = true;
    std::string learnedCode = "4C3A";    // sent as is, so it may be malformed
    int learnDelayMs = 300;              // after "s1"; negative: never heard
    std::string version = "11-1 PEER01"; // the reply to "v", sent as is
};

class WirePeer {
public:
    using Clock = std::chrono::steady_clock;
    struct Command {
        Clock::time_point at;
        std::string text; // without STX, checksum and ETX
    };

    WirePeer(std::vector<std::uint8_t> memory, PeerFaults faults = {});
    ~WirePeer();
    WirePeer(const WirePeer&) = delete;
    WirePeer& operator=(const WirePeer&) = delete;

    // The slave side, for `kivoctl --kobu`.
    const std::string& device() const { return device_; }

    std::vector<std::uint8_t> memory() const;
    void setMemory(std::vector<std::uint8_t> memory);

    std::vector<Command> commands() const;
    // Commands whose text starts with `prefix`, in arrival order.
    std::vector<Command> commands(const std::string& prefix) const;
    // Frames dropped for a bad checksum or form.
    int badFrames() const;
    // Waits until `count` commands starting with `prefix` have arrived; false after `limit`.
    bool waitFor(const std::string& prefix, std::size_t count,
                 std::chrono::milliseconds limit) const;

private:
    void serve();
    void onFrame(const std::string& body, Clock::time_point now);
    std::string handle(const std::string& text, Clock::time_point now, bool* memoryCommand);
    void sendAt(Clock::time_point at, std::string bytes);

    const PeerFaults faults_;
    int master_ = -1, slave_ = -1, wake_[2] = {-1, -1};
    std::string device_;
    std::thread thread_;
    std::atomic<bool> stop_{false};

    mutable std::mutex mutex_; // guards the memory, the log and the learning state
    std::vector<std::uint8_t> memory_;
    std::vector<Command> log_;
    int badFrames_ = 0;
    bool listening_ = false;
    Clock::time_point listenSince_;

    // Serving thread only.
    std::multimap<Clock::time_point, std::string> outbox_;
    std::string frame_;
    bool inFrame_ = false;
};

} // namespace kivo::test
