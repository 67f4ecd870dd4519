#include "chip.h"

#include <cmath>
#include <cstdio>

namespace ftdiemu {

namespace {

// Vendor requests of the chip.
enum Request : std::uint8_t {
    kReset = 0x00,
    kModemCtrl = 0x01,
    kFlowCtrl = 0x02,
    kBaudRate = 0x03,
    kData = 0x04,
    kPollModemStatus = 0x05,
    kEventChar = 0x06,
    kErrorChar = 0x07,
    kSetLatency = 0x09,
    kGetLatency = 0x0A,
    kBitMode = 0x0B,
    kReadPins = 0x0C,
    kReadEeprom = 0x90,
};
constexpr std::uint8_t kVendorOut = 0x40;
constexpr std::uint8_t kVendorIn = 0xC0;

// wValue of the reset request. The names are the chip's: "receive" is what the chip received
// from the host and has not yet sent out of its serial side.
constexpr unsigned kResetPort = 0, kPurgeFromHost = 1, kPurgeToHost = 2;

// First status byte: the low nibble is always 1 on this chip; no modem line is driven by the
// Kobu. Second: transmitter holding register and transmitter empty, no error.
constexpr std::uint8_t kModemStatus = 0x01;
constexpr std::uint8_t kLineStatus = 0x60;
constexpr std::uint8_t kFramingError = 0x08;
constexpr std::uint8_t kOverrun = 0x02;

constexpr std::size_t kRxBuffer = 256; // the chip's receive buffer
constexpr std::size_t kPacketData = Chip::kPacketSize - 2;

constexpr double kKobuBaud = 57600;
// The Kobu's microcontroller and the chip each run on their own clock; beyond this much
// difference the Kobu's receiver loses the bit timing before the stop bits.
constexpr double kBaudTolerance = 0.015;

// Eighths of a step for each sub-integer code of the divisor.
constexpr unsigned kEighths[8] = {0, 4, 2, 1, 3, 5, 6, 7};

std::string Hex4(unsigned v) {
    char text[8];
    std::snprintf(text, sizeof text, "%04X", v & 0xFFFF);
    return text;
}

} // namespace

std::string LineSettings::Format() const {
    std::string text = std::to_string(dataBits) + parity;
    text += stopTenths == 15 ? std::string("1.5") : std::to_string(stopTenths / 10);
    return text;
}

double BaudOfDivisor(unsigned value, unsigned index) {
    const unsigned whole = value & 0x3FFF;
    const unsigned code = ((value >> 14) & 3) | ((index & 1) << 2);
    if (code == 0 && whole == 0) return 3000000;
    if (code == 0 && whole == 1) return 2000000;
    if (whole < 2) return 0; // fractions below 2 are not defined
    return 3000000.0 / (whole + kEighths[code] / 8.0);
}

Chip::Chip(std::shared_ptr<kivo::sim::SimKobu> device) : device_(std::move(device)) {}

void Chip::ClearReceived() {
    rx_.clear();
    framingErrors_ = overrun_ = false;
}

bool Chip::MatchesKobu() const {
    return std::fabs(settings_.baud - kKobuBaud) <= kKobuBaud * kBaudTolerance &&
           settings_.dataBits == 8 && settings_.parity == 'N' && settings_.stopTenths == 20 &&
           settings_.flow == 0 && !settings_.breakOn;
}

bool Chip::Control(const ControlSetup& setup, std::vector<std::uint8_t>& data, Micros now) {
    LineSettings& s = settings_;
    if (setup.requestType == kVendorOut) {
        switch (setup.request) {
        case kReset:
            if (setup.value == kResetPort) {
                ClearReceived();
                Log("reset");
            } else if (setup.value == kPurgeFromHost) {
                // Bytes reach the Kobu's line the moment they are written here.
                Log("purge from-host");
            } else if (setup.value == kPurgeToHost) {
                Collect(now);
                ClearReceived();
                Log("purge to-host");
            } else {
                return false;
            }
            return true;
        case kModemCtrl:
            if (setup.value & 0x0100) s.dtr = setup.value & 1;
            if (setup.value & 0x0200) s.rts = (setup.value >> 1) & 1;
            Log(std::string("dtr ") + (s.dtr ? "1" : "0") + " rts " + (s.rts ? "1" : "0"));
            return true;
        case kFlowCtrl:
            s.flow = setup.index >> 8;
            Log("flow " + std::to_string(s.flow));
            return true;
        case kBaudRate: {
            const double baud = BaudOfDivisor(setup.value, setup.index);
            if (baud == 0) return false;
            s.divisorValue = setup.value;
            s.divisorIndex = setup.index;
            s.baud = baud;
            Log("baud " + std::to_string(std::lround(baud)) + " divisor " + Hex4(setup.value) +
                " " + Hex4(setup.index));
            return true;
        }
        case kData: {
            const unsigned bits = setup.value & 0xFF;
            const unsigned parity = (setup.value >> 8) & 7;
            const unsigned stop = (setup.value >> 11) & 3;
            if (bits < 7 || bits > 8 || parity > 4 || stop > 2) return false;
            s.dataBits = bits;
            s.parity = "NOEMS"[parity];
            s.stopTenths = stop == 0 ? 10 : stop == 1 ? 15 : 20;
            s.breakOn = (setup.value >> 14) & 1;
            Log("line " + s.Format() + (s.breakOn ? " break" : ""));
            return true;
        }
        case kSetLatency:
            if ((setup.value & 0xFF) == 0) return false;
            s.latencyMs = setup.value & 0xFF;
            Log("latency " + std::to_string(s.latencyMs));
            return true;
        case kEventChar:
        case kErrorChar:
            return true;
        case kBitMode:
            Log("bitmode " + Hex4(setup.value));
            return true;
        default:
            return false;
        }
    }
    if (setup.requestType == kVendorIn) {
        std::vector<std::uint8_t> reply;
        switch (setup.request) {
        case kPollModemStatus:
            reply = {kModemStatus, kLineStatus};
            break;
        case kGetLatency:
            reply = {static_cast<std::uint8_t>(s.latencyMs)};
            break;
        case kReadPins:
            reply = {0xFF};
            break;
        case kReadEeprom:
            reply = {0xFF, 0xFF};
            break;
        default:
            return false;
        }
        if (reply.size() > setup.length) reply.resize(setup.length);
        data = reply;
        return true;
    }
    return false;
}

void Chip::BulkOut(const std::uint8_t* data, std::size_t size, Micros now) {
    if (!device_ || size == 0) return;
    if (!MatchesKobu()) {
        // Sent at another rate or in another frame format, the bytes reach the Kobu's
        // receiver as framing errors, which it throws away.
        if (!refusedNoted_)
            Log("refused: line " + std::to_string(std::lround(settings_.baud)) + " " +
                settings_.Format() + (settings_.flow ? " flow" : "") +
                ", the Kobu expects 57600 8N2");
        refusedNoted_ = true;
        return;
    }
    refusedNoted_ = false;
    // The simulated Kobu paces them itself at its line's 57600 baud, 11 bits a byte.
    device_->Receive(data, size, now);
}

void Chip::Collect(Micros now) {
    if (!device_) return;
    std::uint8_t buffer[256];
    for (;;) {
        const std::size_t n = device_->TakeDue(now, buffer, sizeof buffer);
        for (std::size_t i = 0; i < n; ++i) {
            if (rx_.size() >= kRxBuffer) {
                overrun_ = true;
                continue;
            }
            // At the wrong rate every byte arrives mangled, with a framing error.
            rx_.push_back(MatchesKobu() ? buffer[i] : static_cast<std::uint8_t>(~buffer[i]));
            if (!MatchesKobu()) framingErrors_ = true;
        }
        if (n < sizeof buffer) break;
    }
}

bool Chip::BulkIn(std::size_t capacity, Micros submitted, Micros now,
                  std::vector<std::uint8_t>& out) {
    // The chip answers the host's polls with a packet once its latency timer has run out since
    // the last one (a short packet ends the transfer), or at once when it holds a full one.
    const Micros timer = Micros(settings_.latencyMs) * 1000;
    Micros due = std::max(submitted, lastPacket_ + timer);
    // Full packets go at once, but only a short one (or a full transfer) ends the transfer.
    const std::size_t whole = (capacity / kPacketSize) * kPacketData;
    if (now < due) {
        Collect(now);
        if (whole == 0 || rx_.size() < whole) return false;
        due = now;
    }
    Collect(due);
    out.clear();
    std::uint8_t line = kLineStatus;
    if (framingErrors_) line |= kFramingError;
    if (overrun_) line |= kOverrun;
    framingErrors_ = overrun_ = false;
    while (out.size() + kPacketSize <= capacity) {
        const std::size_t take = std::min(kPacketData, rx_.size());
        out.push_back(kModemStatus);
        out.push_back(line);
        out.insert(out.end(), rx_.begin(), rx_.begin() + static_cast<std::ptrdiff_t>(take));
        rx_.erase(rx_.begin(), rx_.begin() + static_cast<std::ptrdiff_t>(take));
        if (take < kPacketData) break; // the short packet that ends the transfer
    }
    lastPacket_ = due;
    return true;
}

} // namespace ftdiemu
