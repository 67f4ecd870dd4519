// Time as the link sees it. Real devices run on the steady clock; the in-process simulator can
// run on a virtual clock whose sleeps take no real time, so tests of time-outs run instantly.
#pragma once

#include <cstdint>

namespace kivo {

class Clock {
public:
    virtual ~Clock() = default;
    virtual std::int64_t NowMs() = 0;
    // Returns at `ms` (at once when that has passed).
    virtual void SleepUntilMs(std::int64_t ms) = 0;
};

class SteadyClock : public Clock {
public:
    std::int64_t NowMs() override;
    void SleepUntilMs(std::int64_t ms) override;
};

// Starts at 0; SleepUntilMs moves it forward at once.
class VirtualClock : public Clock {
public:
    std::int64_t NowMs() override { return now_; }
    void SleepUntilMs(std::int64_t ms) override {
        if (ms > now_) now_ = ms;
    }
    void Advance(std::int64_t ms) { now_ += ms; }

private:
    std::int64_t now_ = 0;
};

} // namespace kivo
