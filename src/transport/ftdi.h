// The Kobu's channel through its USB chip directly (libftdi1), found by the product description
// the Kobu reports over USB. Builds without libftdi1 get a transport that never finds a Kobu.
#pragma once

#include "link/transport.h"

#include <memory>

namespace kivo {

// The USB product description by which the Kobu is recognised among attached FTDI chips.
inline constexpr char kKobuUsbDescription[] = "Tavra KOBU - Active USB Interface";

// A fresh, closed transport; Open() finds and opens the first attached Kobu.
std::unique_ptr<Transport> MakeFtdiTransport();

} // namespace kivo
