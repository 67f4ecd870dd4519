#include "usbdevice.h"

#include <cstdio>

namespace ftdiemu {

namespace {

constexpr std::uint8_t kGetStatus = 0x00, kClearFeature = 0x01, kGetDescriptor = 0x06,
                       kGetConfiguration = 0x08, kSetConfiguration = 0x09, kSetInterface = 0x0B;
constexpr std::uint8_t kDescDevice = 1, kDescConfig = 2, kDescString = 3;
constexpr std::uint8_t kStandardIn = 0x80;
constexpr std::uint8_t kTypeMask = 0x60, kTypeStandard = 0x00;

void Put16(std::vector<std::uint8_t>& v, unsigned value) {
    v.push_back(static_cast<std::uint8_t>(value & 0xFF));
    v.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
}

std::vector<std::uint8_t> DeviceDescriptor(const UsbIdentity& id) {
    std::vector<std::uint8_t> d = {18, kDescDevice};
    Put16(d, 0x0200); // USB 2.0
    d.insert(d.end(), {0x00, 0x00, 0x00, 8});
    Put16(d, id.vendor);
    Put16(d, id.product);
    Put16(d, id.release);
    d.insert(d.end(), {1, 2, 3, 1}); // string indices, one configuration
    return d;
}

std::vector<std::uint8_t> ConfigDescriptor() {
    // One configuration (bus-powered, 90 mA) with one vendor-specific interface and its two
    // bulk endpoints of 64 bytes.
    return {9,    kDescConfig, 32,
            0,    1,           1,
            0,    0xA0,        45, // configuration
            9,    4,           0,
            0,    2,           0xFF,
            0xFF, 0xFF,        2, // interface
            7,    5,           UsbDevice::kEndpointIn,
            2,    64,          0,
            0, // bulk IN
            7,    5,           UsbDevice::kEndpointOut,
            2,    64,          0,
            0}; // bulk OUT
}

} // namespace

UsbDevice::UsbDevice(UsbIdentity identity, std::shared_ptr<kivo::sim::SimKobu> kobu)
    : id_(std::move(identity)), chip_(std::move(kobu)) {}

std::vector<std::uint8_t> UsbDevice::Descriptors() const {
    std::vector<std::uint8_t> all = DeviceDescriptor(id_);
    const std::vector<std::uint8_t> config = ConfigDescriptor();
    all.insert(all.end(), config.begin(), config.end());
    return all;
}

std::string UsbDevice::SysName() const {
    return std::to_string(id_.bus) + "-" + std::to_string(id_.address - 1);
}

std::string UsbDevice::Node() const {
    char node[32];
    std::snprintf(node, sizeof node, "/dev/bus/usb/%03u/%03u", id_.bus, id_.address);
    return node;
}

std::vector<std::uint8_t> UsbDevice::StringDescriptor(unsigned index) const {
    if (index == 0) return {4, kDescString, 0x09, 0x04}; // English (United States)
    const std::string* text = index == 1   ? &id_.manufacturer
                              : index == 2 ? &id_.description
                              : index == 3 ? &id_.serial
                                           : nullptr;
    if (!text) return {};
    // The strings are ASCII; each character becomes one UTF-16LE unit.
    std::vector<std::uint8_t> d = {static_cast<std::uint8_t>(2 + 2 * text->size()), kDescString};
    for (char c : *text) Put16(d, static_cast<unsigned char>(c));
    return d;
}

bool UsbDevice::Control(const ControlSetup& setup, std::vector<std::uint8_t>& data, Micros now) {
    if ((setup.requestType & kTypeMask) != kTypeStandard) return chip_.Control(setup, data, now);
    std::vector<std::uint8_t> reply;
    switch (setup.request) {
    case kGetDescriptor: {
        if (setup.requestType != kStandardIn) return false;
        const unsigned type = setup.value >> 8, index = setup.value & 0xFF;
        if (type == kDescDevice)
            reply = DeviceDescriptor(id_);
        else if (type == kDescConfig && index == 0)
            reply = ConfigDescriptor();
        else if (type == kDescString)
            reply = StringDescriptor(index);
        if (reply.empty()) return false;
        break;
    }
    case kGetStatus:
        reply = {0, 0};
        break;
    case kGetConfiguration:
        reply = {1};
        break;
    case kSetConfiguration:
        return setup.value <= 1;
    case kSetInterface:
        return setup.value == 0 && setup.index == 0;
    case kClearFeature:
        return true;
    default:
        return false;
    }
    if (reply.size() > setup.length) reply.resize(setup.length);
    data = reply;
    return true;
}

void UsbDevice::BulkOut(const std::uint8_t* data, std::size_t size, Micros now) {
    chip_.BulkOut(data, size, now);
    if (unplugAfter > 0 && ++outTransfers_ >= unplugAfter) gone_ = true;
}

} // namespace ftdiemu
