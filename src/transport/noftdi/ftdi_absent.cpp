// Built in place of the libftdi1 transport when libftdi1 is not installed: the program still
// links, and choosing the USB chip directly simply finds no Kobu.
#include "transport/ftdi.h"

#include "link/clock.h"

namespace kivo {

namespace {

class AbsentFtdiTransport : public Transport {
public:
    OpenResult Open() override { return OpenResult::Failed; }
    void Close() override {}
    void Purge(bool, bool) override {}
    std::size_t Write(const std::uint8_t*, std::size_t) override { return 0; }
    bool WaitReadable(int) override { return false; }
    std::size_t ReadAvailable(std::uint8_t*, std::size_t) override { return 0; }
    bool Lost() const override { return false; }
    Clock& Time() override { return clock_; }
    std::string Name() const override { return "ftdi"; }

private:
    SteadyClock clock_;
};

} // namespace

std::unique_ptr<Transport> MakeFtdiTransport() {
    return std::make_unique<AbsentFtdiTransport>();
}

} // namespace kivo
