// What the simulated Kobu, the Kivo behind it and its radio transmitters are like, and the
// parser for the option text that selects them ("sim:size=256,firmware=06.32" for the built-in
// simulator, the same text as the argument of kobu-sim).
//
// The text is a comma-separated list of key=value; values are taken exactly as written (no
// blanks are trimmed; empty items are skipped). Later keys override earlier ones, except tx,
// which adds.
//
// Every key with its values and default is listed once, in the help text that
// SimOptionsHelp() returns (kobu-sim --help prints it).
//
// RATE is a decimal fraction 0..1 applied to every reply the fault can strike; "Nx" (e.g. 2x)
// strikes the next N such replies instead.
#pragma once

#include "sim/simfaults.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace kivo::sim {

// A radio transmitter that keeps settings of its own.
struct SimTransmitter {
    std::string code;                        // four upper-case hex digits
    std::map<int, std::uint8_t> registers{}; // register number -> value
};

// Registers of a transmitter; 27..29 can be written, the rest only read.
constexpr int kRegInterval = 0x27;
constexpr int kRegLimit = 0x28;
constexpr int kRegMode = 0x29;
constexpr int kRegCountHigh = 0x2A;
constexpr int kRegCountLow = 0x2B;
constexpr int kRegVersion = 0x2F;

// 4C3A (version 2.2, test alarm on, 300 alarms), 7B10 (version FF, i.e. 2.0) and 2E95
// (version 2.1, test alarm off, power saving off).
std::vector<SimTransmitter> BuiltInTransmitters();

enum class PollResult { Ok, Fail, Silent };

// How a unit refuses memory commands beyond its memory.
enum class Refusal { Nak, Silence };

struct SimOptions {
    // The Kivo
    unsigned size = 512;
    bool unit = true;
    std::uint8_t firmwareMajor = 0x07;
    std::uint8_t firmwareMinor = 0x30;
    std::uint8_t variant = 10;
    std::uint32_t serial = 210417;
    std::string memoryPath;
    std::string imagePath;

    // The Kobu and the radio
    std::string version = "11-1 SIM1.0";
    std::string learnCode = "4C3A"; // empty: nothing is ever heard
    int learnDelayMs = 1500;
    std::vector<SimTransmitter> transmitters = BuiltInTransmitters();
    PollResult infoResult = PollResult::Ok;
    PollResult writeResult = PollResult::Ok;
    int infoDelayMs = 1500;

    // Faults
    FaultSettings faults{};
    int splitGapMs = 100;
    int spikeMs = 600;
    int doubleMs = 20;
    int lateMs = 600;
    int humMs = 0;     // a stray byte every humMs ms, whatever happens; 0 never
    unsigned mute = 0; // memory commands for this many bytes or more are never answered; 0 none
    Refusal refusal = Refusal::Nak;
    int disconnectAfter = 0; // transactions; 0 never
    std::uint64_t seed = 1;

    // Timing
    int latencyMs = 1;
    bool pace = false;
};

// Parses the option text into `out`, starting from the defaults. On failure `out` is left as
// it was and `error` says which option is wrong and why.
bool ParseSimOptions(const std::string& text, SimOptions& out, std::string& error);

// One line per option: key, value form, default and meaning (for --help).
std::string SimOptionsHelp();

} // namespace kivo::sim
