// What the Kobu does on the radio side: listening for a transmitter to learn its code, and
// reading and writing the registers of a transmitter once the user has triggered it.
#pragma once

#include "sim/simoptions.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kivo::sim {

using Micros = std::int64_t;

class SimRadio {
public:
    explicit SimRadio(const SimOptions& options);

    // "s1", "s0", "c1". The poll answers 8 characters: the code last heard ("0000" while none)
    // and four more: "01C8" (telegram count and field strength) once one was heard.
    void StartLearning(Micros now);
    void StopLearning(Micros now);
    std::string PollLearned(Micros now);

    // "a" + code + registers; false when the text is malformed (the Kobu refuses it).
    bool RequestInfo(const std::string& args, Micros now);
    // "A": nothing (no answer at all), "" (not yet), "04" (failed) or code + register pairs.
    // An unknown code is never answered: its transmitter is never triggered.
    std::optional<std::string> PollInfo(Micros now);

    // "f" + code + register/value pairs; false when malformed.
    bool RequestWrite(const std::string& args, Micros now);
    // "F": nothing, "" (not yet), "03" (written) or "04" (failed; also for registers that
    // cannot be written).
    std::optional<std::string> PollWrite(Micros now);

    const SimTransmitter* Find(const std::string& code) const;

private:
    struct Request {
        bool active = false;
        std::string code;
        std::vector<std::pair<int, int>> pairs; // register, value (value unused for reads)
        Micros ready = 0;
        bool applied = false;
    };

    void Listen(Micros now);
    SimTransmitter* FindMutable(const std::string& code);

    SimOptions options_;
    std::vector<SimTransmitter> transmitters_;
    bool learning_ = false;
    Micros learningSince_ = 0;
    std::string heard_;
    Request info_;
    Request write_;
};

} // namespace kivo::sim
