// What the simulated Kobu, the Kivo behind it and its radio transmitters are like, and the
// parser for the option text that selects them ("sim:size=256,firmware=06.32" for the built-in
// simulator, the same text as the argument of kobu-sim).
//
// The text is a comma-separated list of key=value; values are taken exactly as written (no
// blanks are trimmed; empty items are skipped). Later keys override earlier ones, except tx,
// which adds.
//
// | Key         | Value                 | Default     | Meaning |
// |-------------|-----------------------|-------------|--------------------------------------------|
// | size        | 256 or 512            | 512         | bytes of the unit's memory | | unit | 0 or
// 1                | 1           | 0: no Kivo behind the Kobu: "O" gets NAK,  | |             | |
// | memory commands get no answer at all       | | firmware    | MM.mm (hex pairs)     | 07.30 |
// firmware bytes 0x100 and 0x101             | | variant     | 0..255 (decimal)      | 10 |
// firmware variant, byte 0x102               | | serial      | 0..16777215           | 210417 |
// serial number, bytes 0xFD..0xFF            | | memory      | PATH                  | (none) | the
// unit's memory lives in this file: read | |             |                       |             | at
// start (created when missing), written   | |             |                       |             |
// after every stored memory write            | | image       | PATH                  | (none) |
// start memory from this configuration file  | |             |                       | | (else the
// built-in start image)            | | version     | text, 1..80 chars     | 11-1 SIM1.0 | the
// Kobu's answer to "v"                   | | learn       | CODE (4 hex) or none  | 4C3A        |
// the transmitter heard in learning mode     | | learndelay  | ms                    | 1500 | time
// after "s1" until it is heard          | | tx          | CODE or CODE:HHHH..   | (3 built in)|
// adds a transmitter; 12 hex digits give the | |             |                       | | registers
// 27, 28, 29, 2A, 2B, 2F in order  | | inforesult  | ok, fail, silent      | ok          | "A": the
// data, "04", or never an answer    | | writeresult | ok, fail, silent      | ok          | "F":
// "03", "04", or never an answer        | | infodelay   | ms                    | 1500        |
// time after "a"/"f" until the result is     | |             |                       | | ready;
// polls before get an empty frame     | | drop        | RATE or Nx            | 0           | reply
// never sent                           | | corrupt     | RATE or Nx            | 0           |
// wrong checksum digits (framed replies)     | | nak         | RATE or Nx            | 0 | "R"/"W"
// refused with NAK, nothing stored   | | split       | RATE or Nx            | 0           | reply
// in two pieces, splitgap apart        | | splitgap    | ms                    | 100         | gap
// between the two pieces                 | | lower       | RATE or Nx            | 0           |
// hex digits in lower case (framed replies)  | | noise       | RATE or Nx            | 0 | stray
// bytes before or after a reply        | | spike       | RATE or Nx            | 0           |
// reply comes spikems late                   | | spikems     | ms                    | 600 | extra
// latency of a spike                   | | ignore      | RATE or Nx            | 0           | "W"
// acknowledged but not stored            | | short       | RATE or Nx            | 0           |
// "R" answered with 2 characters too few     | | disconnect  | N                     | 0 | gone
// after N transactions (0: never)       | | seed        | 0..2^64-1 (decimal)   | 1           |
// drives every fault                         | | latency     | ms                    | 1 | answer
// this long after a complete command  | | pace        | 0 or 1                | 0           | 1:
// bytes travel at 57600 baud, 11 bits each|
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
