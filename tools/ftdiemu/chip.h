// The Kobu's USB-serial chip as the host sees it over USB: an FT232R-like device with its
// vendor control requests, its bulk endpoints and its serial side, with the simulated Kobu
// (or nothing) behind the serial side. It keeps no clock: every call says what time it is, in
// microseconds of the emulator's steady clock.
#pragma once

#include "sim/simkobu.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace ftdiemu {

using kivo::sim::Micros;

// The eight bytes that start every control transfer.
struct ControlSetup {
    std::uint8_t requestType = 0;
    std::uint8_t request = 0;
    std::uint16_t value = 0;
    std::uint16_t index = 0;
    std::uint16_t length = 0;
};

// The serial line as the control requests have set it.
struct LineSettings {
    unsigned divisorValue = 0, divisorIndex = 0; // as the host sent them
    double baud = 9600;
    unsigned dataBits = 8;
    char parity = 'N';        // N, O, E, M, S
    unsigned stopTenths = 10; // 10, 15 or 20
    unsigned flow = 0;        // 0 none, else the handshake bits of the request
    bool dtr = false, rts = false;
    bool breakOn = false;
    unsigned latencyMs = 16;    // the chip's default after power-up and reset
    std::string Format() const; // e.g. "8N2"
};

// The baud rate a divisor gives on this chip (3 MHz base clock, eighths of a step); 0 for an
// encoding the chip does not know.
double BaudOfDivisor(unsigned value, unsigned index);

class Chip {
public:
    // `device` stands behind the serial side; nullptr: nothing is connected there.
    explicit Chip(std::shared_ptr<kivo::sim::SimKobu> device);

    // What the chip notes about itself: settings as they change, refused bytes, purges.
    void SetLog(std::function<void(const std::string&)> log) { log_ = std::move(log); }

    // A vendor control request; IN requests fill `data` (at most setup.length bytes). False:
    // the chip stalls the request.
    bool Control(const ControlSetup& setup, std::vector<std::uint8_t>& data, Micros now);

    // The host's bulk OUT transfer: the bytes go onto the serial line at the configured rate.
    void BulkOut(const std::uint8_t* data, std::size_t size, Micros now);

    // A bulk IN transfer of `capacity` bytes submitted at `submitted`: when it has completed
    // by `now`, true with its bytes in `out` (64-byte packets, each starting with the two
    // status bytes, the last one short).
    bool BulkIn(std::size_t capacity, Micros submitted, Micros now, std::vector<std::uint8_t>& out);

    const LineSettings& Settings() const { return settings_; }
    // True when the line is set as the Kobu's own serial side is: 57600 baud (within what the
    // two clocks tolerate), 8 data bits, no parity, 2 stop bits, no flow control.
    bool MatchesKobu() const;

    static constexpr std::size_t kPacketSize = 64;

private:
    // Brings what the serial side has sent by `now` into the receive buffer.
    void Collect(Micros now);
    void Log(const std::string& line) const {
        if (log_) log_(line);
    }
    void ClearReceived();

    std::shared_ptr<kivo::sim::SimKobu> device_;
    std::function<void(const std::string&)> log_;
    LineSettings settings_;
    std::deque<std::uint8_t> rx_; // from the serial side, waiting for the host
    Micros lastPacket_ = 0;       // when the chip last sent an IN packet
    bool framingErrors_ = false;  // bytes in rx_ arrived at the wrong rate or format
    bool overrun_ = false;        // bytes were lost to a full receive buffer
    bool refusedNoted_ = false;   // the log has said once why bytes are refused
};

} // namespace ftdiemu
