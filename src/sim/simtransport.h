// The simulated Kobu behind the Transport interface, so the link and everything above it talk
// to it as to a real one.
#pragma once

#include "link/clock.h"
#include "link/transport.h"
#include "sim/simkobu.h"

#include <memory>

namespace kivo::sim {

// A closed transport to `device`, its waits running on `clock` (a VirtualClock makes them
// instant, a SteadyClock sleeps). The device outlives the transport: the host opens and closes
// a link for every operation, and the unit's memory stays. `clock` must outlive the transport.
std::unique_ptr<Transport> MakeSimTransport(std::shared_ptr<SimKobu> device, Clock& clock);

} // namespace kivo::sim
