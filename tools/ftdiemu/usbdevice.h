// One emulated USB device with the chip inside: what it tells the host about itself (the
// descriptors and strings that sysfs and the standard requests give), its control and bulk
// transfers, and being held or pulled out.
#pragma once

#include "chip.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace ftdiemu {

struct UsbIdentity {
    unsigned vendor = 0x0403;
    unsigned product = 0x6001;
    unsigned release = 0x0600; // bcdDevice: the chip type (this one an FT232R)
    std::string manufacturer = "FTDI";
    std::string description;
    std::string serial;
    unsigned bus = 1, address = 2;
};

class UsbDevice {
public:
    UsbDevice(UsbIdentity identity, std::shared_ptr<kivo::sim::SimKobu> kobu);

    const UsbIdentity& Identity() const { return id_; }
    Chip& SerialChip() { return chip_; }
    // The device and configuration descriptors, as sysfs offers them in "descriptors".
    std::vector<std::uint8_t> Descriptors() const;
    // The sysfs name ("1-2") and the node libusb opens ("/dev/bus/usb/001/002").
    std::string SysName() const;
    std::string Node() const;

    // A control transfer; `data` holds what the host sent (OUT) and receives what the device
    // answers (IN, at most setup.length bytes). False: the device stalls it.
    bool Control(const ControlSetup& setup, std::vector<std::uint8_t>& data, Micros now);
    // A bulk OUT transfer to endpoint 2. Counts towards unplugging.
    void BulkOut(const std::uint8_t* data, std::size_t size, Micros now);
    // A bulk IN transfer from endpoint 1 (see Chip::BulkIn).
    bool BulkIn(std::size_t capacity, Micros submitted, Micros now,
                std::vector<std::uint8_t>& out) {
        return chip_.BulkIn(capacity, submitted, now, out);
    }

    // Another program holds the device: claiming its interface is refused.
    bool held = false;
    // Gone after this many bulk OUT transfers; 0: never.
    int unplugAfter = 0;
    bool Gone() const { return gone_; }
    void Unplug() { gone_ = true; }

    static constexpr std::uint8_t kEndpointIn = 0x81, kEndpointOut = 0x02;

private:
    std::vector<std::uint8_t> StringDescriptor(unsigned index) const;

    UsbIdentity id_;
    Chip chip_;
    int outTransfers_ = 0;
    bool gone_ = false;
};

} // namespace ftdiemu
