// Faults the simulated Kobu can inject into its replies, and the plan that decides, reply by
// reply, whether one strikes. Everything is driven by one seed so that a failing run replays.
#pragma once

#include <array>
#include <cstdint>

namespace kivo::sim {

enum class Fault : int {
    Drop,    // the reply is never sent
    Corrupt, // the checksum digits of a framed reply are wrong
    Nak,     // a memory command is refused with NAK (a write is then not stored)
    Split,   // the reply comes in two pieces with a gap between them
    Lower,   // hex digits of a framed reply in lower case
    Noise,   // stray bytes before or after the reply
    Spike,   // the reply comes late
    Ignore,  // a memory write is acknowledged but not stored
    Short,   // a memory read reply two characters shorter than asked
    Double,  // a memory read reply is sent a second time, doublems after the first
    Late,    // a memory reply comes latems late, overtaken by the Kobu's own quicker answers
    BadCode, // the code in a learning reply is not four hexadecimal digits
};
constexpr int kFaultKinds = 12;

// The option name of a fault kind: "drop", "corrupt", ...
const char* FaultName(Fault fault);

// A fault strikes the next `count` replies it can apply to without fail, and after that each
// such reply with probability `rate` (0..1).
struct FaultSetting {
    double rate = 0.0;
    int count = 0;
};
using FaultSettings = std::array<FaultSetting, kFaultKinds>;

// Each kind draws from a stream of its own, derived from the seed, so switching one kind on
// does not change when another strikes.
class FaultPlan {
public:
    FaultPlan(std::uint64_t seed, const FaultSettings& settings);

    // Asked once for every reply the fault can apply to.
    bool Strikes(Fault fault);
    // A further number from the kind's stream (where to split, which noise byte, ...).
    std::uint64_t Draw(Fault fault);

    void Plant(Fault fault, int count);
    void SetRate(Fault fault, double rate);

private:
    FaultSettings settings_;
    std::array<std::uint64_t, kFaultKinds> state_{};
};

} // namespace kivo::sim
