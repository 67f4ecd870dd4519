// Serving the simulated Kobu on a pseudo-terminal in real time.
#pragma once

#include "sim/simkobu.h"

namespace kobusim {

// Opens a pseudo-terminal, prints the path of its slave side as the first line on stdout, and
// serves `device` on it until SIGTERM or SIGINT. Returns the process exit code.
int ServeOnPty(kivo::sim::SimKobu& device);

} // namespace kobusim
