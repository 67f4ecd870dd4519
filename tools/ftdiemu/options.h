// What FTDI_EMU asks of the emulated USB bus: comma-separated items, the emulator's own ones
// below and every other one passed on to the simulated Kobu (size=256, memory=PATH, ...).
#pragma once

#include "sim/simoptions.h"

#include <string>
#include <vector>

namespace ftdiemu {

struct EmuOptions {
    kivo::sim::SimOptions sim;       // the unit behind each Kobu (its line always paced)
    int kobus = 1;                   // chips with the Kobu's description
    int held = 0;                    // the last this many of them are held by another program
    unsigned product = 0x6001;       // the Kobu chips' USB product id
    std::vector<std::string> others; // descriptions of FTDI chips that are no Kobu
    int unplugAfter = 0;             // the first Kobu is pulled out after this many writes
    bool denied = false;             // the program may not open the Kobu's device node
    std::string logPath;             // the chips' own notes, one line each
};

// Parses FTDI_EMU's text into `out` (starting from the defaults); false and `error` when an
// item is not understood.
bool ParseEmuOptions(const std::string& text, EmuOptions& out, std::string& error);

// The emulator's own items, one line each, for --help.
const char* EmuOptionsHelp();

} // namespace ftdiemu
