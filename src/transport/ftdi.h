// The Kobu's channel through its USB chip directly (libftdi1), found by the product description
// the Kobu reports over USB. Builds without libftdi1 get a transport that never finds a Kobu.
#pragma once

#include "link/transport.h"

#include <memory>

namespace kivo {

// The USB product description by which the Kobu is recognised among attached FTDI chips.
inline constexpr char kKobuUsbDescription[] = "Tavra KOBU - Active USB Interface";

// The chip maker's USB vendor id. The Kobu's product id is its maker's choice and not known
// here, so every device of this vendor is asked for its description (the diagnosis and the
// udev rule 60-kobu.rules look at the same).
inline constexpr unsigned kFtdiVendor = 0x0403;

// A fresh, closed transport; Open() finds and opens the first attached Kobu.
std::unique_ptr<Transport> MakeFtdiTransport();

} // namespace kivo
