// Talking to the simulated Kobu byte for byte through its transport on a virtual clock.
#pragma once

#include "link/clock.h"
#include "link/transport.h"
#include "sim/simkobu.h"

#include <cstdint>
#include <memory>
#include <string>

namespace kivo::sim::test {

// A command frame built here, independently of the simulator's and the host's framing code.
std::string Frame(const std::string& command);
// True when `bytes` is STX, payload, two upper-case checksum digits that match, ETX.
bool ValidFrame(const std::string& bytes);
// "02 4F 34 46 03", for readable failure messages.
std::string Hex(const std::string& bytes);

inline const std::string kAckByte = "\x06";
inline const std::string kNakByte = "\x15";

class Wire {
public:
    // Creates the device from the option text; a bad text fails the test that uses it.
    explicit Wire(const std::string& options);

    void Send(const std::string& bytes);
    // Everything that arrives until nothing more comes for `quietMs`.
    std::string Collect(int quietMs = 250);
    std::string Ask(const std::string& command, int quietMs = 250) {
        Send(Frame(command));
        return Collect(quietMs);
    }

    VirtualClock clock;
    std::shared_ptr<SimKobu> device;
    std::unique_ptr<Transport> port;
    std::int64_t sentMs = 0;     // when the last Send happened
    std::int64_t lastByteMs = 0; // when the last byte of the last Collect arrived
};

// Memory byte i holds (i * 7 + 3) mod 256, the read-only bytes included.
Image Pattern();

} // namespace kivo::sim::test
