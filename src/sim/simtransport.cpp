#include "sim/simtransport.h"

#include <algorithm>

namespace kivo::sim {

namespace {

class SimTransport final : public Transport {
public:
    SimTransport(std::shared_ptr<SimKobu> device, Clock& clock)
        : device_(std::move(device)), clock_(clock) {}

    OpenResult Open() override {
        open_ = false;
        if (!device_ || device_->Gone(NowUs())) return OpenResult::Failed;
        device_->DropAll(); // a fresh port holds nothing old
        open_ = true;
        return OpenResult::Open;
    }

    void Close() override {
        if (open_) device_->DropAll();
        open_ = false;
    }

    void Purge(bool receive, bool /*transmit: bytes reach the device the moment they are
                                   written, so nothing waits to be sent*/) override {
        if (open_ && receive) device_->DropArrived(NowUs());
    }

    std::size_t Write(const std::uint8_t* data, std::size_t size) override {
        if (!open_ || device_->Gone(NowUs())) return 0;
        device_->Receive(data, size, NowUs());
        return size;
    }

    bool WaitReadable(int timeoutMs) override {
        if (!open_) return false;
        const std::int64_t deadline = clock_.NowMs() + std::max(timeoutMs, 0);
        if (device_->Gone(NowUs())) return false;
        auto due = device_->NextDue();
        if (due && *due <= deadline * 1000) {
            // Nothing else can make bytes appear meanwhile: sleep until the first one is there.
            clock_.SleepUntilMs((*due + 999) / 1000);
            return true;
        }
        clock_.SleepUntilMs(deadline);
        return false;
    }

    std::size_t ReadAvailable(std::uint8_t* buffer, std::size_t max) override {
        if (!open_ || !buffer) return 0;
        return device_->TakeDue(NowUs(), buffer, max);
    }

    bool Lost() const override { return device_ && device_->Gone(NowUs()); }
    Clock& Time() override { return clock_; }
    std::string Name() const override { return "sim"; }

private:
    Micros NowUs() const { return clock_.NowMs() * 1000; }

    std::shared_ptr<SimKobu> device_;
    Clock& clock_;
    bool open_ = false;
};

} // namespace

std::unique_ptr<Transport> MakeSimTransport(std::shared_ptr<SimKobu> device, Clock& clock) {
    return std::make_unique<SimTransport>(std::move(device), clock);
}

} // namespace kivo::sim
