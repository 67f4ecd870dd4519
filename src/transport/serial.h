// The Kobu's channel through a serial device: the kernel's driver for the adapter's USB-serial
// chip (/dev/ttyUSB0, /dev/ttyACM0) or a pseudo-terminal served by kobu-sim.
#pragma once

#include "link/clock.h"
#include "link/transport.h"

#include <memory>
#include <string>

namespace kivo {

class SerialTransport : public Transport {
public:
    explicit SerialTransport(std::string path);
    ~SerialTransport() override;
    SerialTransport(const SerialTransport&) = delete;
    SerialTransport& operator=(const SerialTransport&) = delete;

    OpenResult Open() override;
    void Close() override;
    void Purge(bool receive, bool transmit) override;
    std::size_t Write(const std::uint8_t* data, std::size_t size) override;
    bool WaitReadable(int timeoutMs) override;
    std::size_t ReadAvailable(std::uint8_t* buffer, std::size_t max) override;
    bool Lost() const override { return lost_; }
    Clock& Time() override { return clock_; }
    std::string Name() const override { return path_; }

private:
    // Marks the device gone when `error` says so; true then.
    bool LoseOn(int error);

    std::string path_;
    int fd_ = -1;
    bool lost_ = false;
    SteadyClock clock_;
};

std::unique_ptr<Transport> MakeSerialTransport(const std::string& path);

} // namespace kivo
