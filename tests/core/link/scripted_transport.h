// A transport for link tests: records what the host writes and hands back replies that the
// test scripts, each to arrive at a chosen time on a virtual clock.
#pragma once

#include "link/transport.h"

#include <deque>
#include <functional>
#include <memory>
#include <vector>

namespace kivo::test {

struct ScriptedWire {
    VirtualClock clock;
    std::vector<std::vector<std::uint8_t>> written; // one entry per Write call
    struct Arrival {
        std::int64_t at;
        std::uint8_t byte;
    };
    std::deque<Arrival> incoming;
    bool openFails = false;
    bool notConfigured = false;
    bool lost = false;
    int opens = 0, closes = 0;
    // Answers each written frame; the default says nothing.
    std::function<void(ScriptedWire&, const std::vector<std::uint8_t>&)> respond;

    // Bytes arriving `delayMs` after now.
    void Arrive(const std::string& bytes, std::int64_t delayMs = 1) {
        for (char c : bytes)
            incoming.push_back({clock.NowMs() + delayMs, static_cast<std::uint8_t>(c)});
    }
    TransportFactory Factory();
};

class ScriptedTransport : public Transport {
public:
    explicit ScriptedTransport(ScriptedWire& wire) : wire_(wire) {}
    OpenResult Open() override {
        ++wire_.opens;
        if (wire_.openFails) return OpenResult::Failed;
        return wire_.notConfigured ? OpenResult::NotConfigured : OpenResult::Open;
    }
    void Close() override { ++wire_.closes; }
    void Purge(bool receive, bool) override {
        if (!receive) return;
        while (!wire_.incoming.empty() && wire_.incoming.front().at <= wire_.clock.NowMs())
            wire_.incoming.pop_front();
    }
    std::size_t Write(const std::uint8_t* data, std::size_t size) override {
        if (wire_.lost) return 0;
        wire_.written.emplace_back(data, data + size);
        if (wire_.respond) wire_.respond(wire_, wire_.written.back());
        return size;
    }
    bool WaitReadable(int timeoutMs) override {
        if (wire_.lost) return false;
        std::int64_t until = wire_.clock.NowMs() + timeoutMs;
        if (!wire_.incoming.empty() && wire_.incoming.front().at <= until) {
            wire_.clock.SleepUntilMs(wire_.incoming.front().at);
            return true;
        }
        wire_.clock.SleepUntilMs(until);
        return false;
    }
    std::size_t ReadAvailable(std::uint8_t* buffer, std::size_t max) override {
        std::size_t n = 0;
        while (n < max && !wire_.incoming.empty() &&
               wire_.incoming.front().at <= wire_.clock.NowMs()) {
            buffer[n++] = wire_.incoming.front().byte;
            wire_.incoming.pop_front();
        }
        return n;
    }
    bool Lost() const override { return wire_.lost; }
    Clock& Time() override { return wire_.clock; }
    std::string Name() const override { return "scripted"; }

private:
    ScriptedWire& wire_;
};

inline TransportFactory ScriptedWire::Factory() {
    return [this] { return std::make_unique<ScriptedTransport>(*this); };
}

// A framed reply with its checksum.
inline std::string Frame(const std::string& payload) {
    unsigned sum = 0;
    for (unsigned char c : payload) sum += c;
    char digits[3];
    std::snprintf(digits, sizeof digits, "%02X", sum & 0xFF);
    return "\x02" + payload + digits + "\x03";
}

} // namespace kivo::test
