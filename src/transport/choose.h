// Which Kobu a program talks to: "ftdi" (the adapter found by its USB description), a serial
// device path (/dev/ttyUSB0, a pseudo-terminal of kobu-sim), or "sim[:options]" (the built-in
// simulator).
#pragma once

#include "link/kobulink.h"
#include "link/trace.h"

#include <memory>
#include <string>

namespace kivo {

// The Kobu the user chose: `--kobu` when given, else KIVO_KOBU, else "ftdi".
std::string KobuChoice(const std::string& commandLineChoice);

// A factory for that Kobu; empty with `error` set when the choice is not understood.
// `templateFolder` is where a simulated unit finds its starting image (Default.b).
TransportFactory ChooseKobu(const std::string& choice, const std::string& templateFolder,
                            std::string& error);

// The wire trace of KIVO_TRACE (or the given file), nullptr when none is asked for.
std::shared_ptr<LinkTrace> ChooseTrace(const std::string& commandLineFile);

} // namespace kivo
