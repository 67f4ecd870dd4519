#include "sim/simfaults.h"

namespace kivo::sim {

namespace {

// SplitMix64: tiny, fast and the same on every platform, unlike the standard distributions.
std::uint64_t Next(std::uint64_t& state) {
    state += 0x9E3779B97F4A7C15ull;
    std::uint64_t z = state;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

} // namespace

const char* FaultName(Fault fault) {
    switch (fault) {
    case Fault::Drop:
        return "drop";
    case Fault::Corrupt:
        return "corrupt";
    case Fault::Nak:
        return "nak";
    case Fault::Split:
        return "split";
    case Fault::Lower:
        return "lower";
    case Fault::Noise:
        return "noise";
    case Fault::Spike:
        return "spike";
    case Fault::Ignore:
        return "ignore";
    case Fault::Short:
        return "short";
    case Fault::Double:
        return "double";
    case Fault::Late:
        return "late";
    case Fault::BadCode:
        return "badcode";
    }
    return "?";
}

FaultPlan::FaultPlan(std::uint64_t seed, const FaultSettings& settings) : settings_(settings) {
    for (int i = 0; i < kFaultKinds; ++i) {
        std::uint64_t s = seed ^ (0xD1B54A32D192ED03ull * std::uint64_t(i + 1));
        state_[i] = Next(s);
    }
}

bool FaultPlan::Strikes(Fault fault) {
    FaultSetting& s = settings_[int(fault)];
    if (s.count > 0) {
        --s.count;
        return true;
    }
    if (s.rate <= 0.0) return false;
    if (s.rate >= 1.0) return true;
    double u = double(Draw(fault) >> 11) * (1.0 / 9007199254740992.0); // [0, 1)
    return u < s.rate;
}

std::uint64_t FaultPlan::Draw(Fault fault) {
    return Next(state_[int(fault)]);
}

void FaultPlan::Plant(Fault fault, int count) {
    settings_[int(fault)].count = count;
}

void FaultPlan::SetRate(Fault fault, double rate) {
    settings_[int(fault)].rate = rate;
}

} // namespace kivo::sim
