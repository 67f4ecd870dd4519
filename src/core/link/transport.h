// The byte pipe to the Kobu. The link and everything above it see only this interface, so a
// serial port, the USB chip through libftdi or the simulator can stand behind it.
#pragma once

#include "link/clock.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace kivo {

class Transport {
public:
    enum class OpenResult {
        Failed,        // no such device, or it cannot be opened
        Open,          // open and configured
        NotConfigured, // open, but a serial setting failed; the link closes it again
    };

    virtual ~Transport() = default;

    // Opens the channel and sets 57600 baud, 8 data bits, 2 stop bits, no parity, no flow
    // control, DTR cleared. Opening an open transport first closes it.
    virtual OpenResult Open() = 0;
    // Discards unread input, then closes. Harmless when closed.
    virtual void Close() = 0;
    // Discards what waits to be received and/or sent.
    virtual void Purge(bool receive, bool transmit) = 0;
    // Writes all bytes or as many as it can; returns the count written (0 on failure).
    virtual std::size_t Write(const std::uint8_t* data, std::size_t size) = 0;
    // Waits at most `timeoutMs` until at least one byte can be read, without burning CPU;
    // true when bytes are waiting.
    virtual bool WaitReadable(int timeoutMs) = 0;
    // Reads at most `max` of the bytes waiting now, without blocking; 0 when none.
    virtual std::size_t ReadAvailable(std::uint8_t* buffer, std::size_t max) = 0;
    // True once the device has gone away (unplugged, I/O error): every later operation fails
    // at once instead of waiting out its time-outs.
    virtual bool Lost() const = 0;
    // The clock this transport's waits run on.
    virtual Clock& Time() = 0;
    // A short description for traces and messages, e.g. "/dev/ttyUSB0".
    virtual std::string Name() const = 0;
};

// Makes a fresh, closed transport to the chosen Kobu; nullptr when there is none.
using TransportFactory = std::function<std::unique_ptr<Transport>()>;

} // namespace kivo
