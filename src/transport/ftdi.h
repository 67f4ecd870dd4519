// The Kobu's channel through its USB chip directly (libftdi1), found by the product description
// the Kobu reports over USB. Builds without libftdi1 get a transport that never finds a Kobu.
#pragma once

#include "link/transport.h"

#include <memory>

namespace kivo {

// The USB product description by which the Kobu is recognised among attached FTDI chips.
inline constexpr char kKobuUsbDescription[] = "Tavra KOBU - Active USB Interface";

// The chip's USB vendor, and the product ids of its single and multi-channel serial chips as
// they leave the factory: where the transport looks for a Kobu (the diagnosis and the udev
// rule 60-kobu.rules name the same).
inline constexpr unsigned kFtdiVendor = 0x0403;
inline constexpr unsigned kFtdiProducts[] = {0x6001, 0x6010, 0x6011, 0x6014, 0x6015};

// A fresh, closed transport; Open() finds and opens the first attached Kobu.
std::unique_ptr<Transport> MakeFtdiTransport();

} // namespace kivo
