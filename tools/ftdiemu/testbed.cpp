#include "testbed.h"

#include "transport/ftdi.h"

#include <umockdev.h>

#include <chrono>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ftdiemu {

namespace {

std::string Id4(unsigned v) {
    char text[8];
    std::snprintf(text, sizeof text, "%04x", v & 0xFFFF);
    return text;
}

double Seconds() {
    using namespace std::chrono;
    static const auto start = steady_clock::now();
    return duration<double>(steady_clock::now() - start).count();
}

constexpr uid_t kNobody = 65534;

} // namespace

Bus::~Bus() {
    Finish();
}

std::string Bus::RootDir() const {
    gchar* dir = umockdev_testbed_get_root_dir(testbed_); // a copy of our own
    std::string root = dir ? dir : "";
    g_free(dir);
    return root;
}

void Bus::Note(const std::string& chip, const std::string& line) {
    std::lock_guard<std::mutex> lock(logMutex_);
    if (!log_) return;
    std::fprintf(log_, "%.3f %s %s\n", Seconds(), chip.c_str(), line.c_str());
    std::fflush(log_);
}

bool Bus::Add(const std::shared_ptr<UsbDevice>& device, const std::string& name, bool denied,
              std::string& error) {
    const UsbIdentity& id = device->Identity();
    const std::string sysPath =
        "/devices/pci0000:00/0000:00:14.0/usb" + std::to_string(id.bus) + "/" + device->SysName();
    const std::string node = device->Node();
    char numbers[96];
    std::snprintf(numbers, sizeof numbers, "E: BUSNUM=%03u\nE: DEVNUM=%03u\nE: PRODUCT=%x/%x/%x\n",
                  id.bus, id.address, id.vendor, id.product, id.release);
    const std::string record = "P: " + sysPath + "\nN: " + node.substr(5) + "\nE: DEVNAME=" + node +
                               "\nE: DEVTYPE=usb_device\nE: SUBSYSTEM=usb\n" + numbers;
    GError* gerror = nullptr;
    if (!umockdev_testbed_add_from_string(testbed_, record.c_str(), &gerror)) {
        error = std::string("cannot add ") + name + ": " + gerror->message;
        g_error_free(gerror);
        return false;
    }
    const std::string dev = "/sys" + sysPath;
    const std::pair<const char*, std::string> attributes[] = {
        {"idVendor", Id4(id.vendor)},
        {"idProduct", Id4(id.product)},
        {"bcdDevice", Id4(id.release)},
        {"busnum", std::to_string(id.bus)},
        {"devnum", std::to_string(id.address)},
        {"speed", "12"},
        {"bConfigurationValue", "1"},
        {"bNumConfigurations", "1"},
        {"manufacturer", id.manufacturer},
        {"product", id.description},
        {"serial", id.serial}};
    for (const auto& [key, value] : attributes)
        umockdev_testbed_set_attribute(testbed_, dev.c_str(), key, (value + "\n").c_str());
    std::vector<std::uint8_t> descriptors = device->Descriptors();
    umockdev_testbed_set_attribute_binary(testbed_, dev.c_str(), "descriptors", descriptors.data(),
                                          gint(descriptors.size()));

    nodes_.push_back(std::make_unique<UsbfsNode>(
        device, [this, name](const std::string& line) { Note(name, line); }));
    if (!umockdev_testbed_attach_ioctl(testbed_, node.c_str(), nodes_.back()->Handler(), &gerror)) {
        error = std::string("cannot serve ") + node + ": " + gerror->message;
        g_error_free(gerror);
        return false;
    }
    if (denied) {
        // Owned by root and closed to everyone else, as without the udev rule.
        const std::string file = RootDir() + node;
        ::chmod(file.c_str(), ::geteuid() == 0 ? 0600 : 0000);
    }
    device->SerialChip().SetLog([this, name](const std::string& line) { Note(name, line); });
    return true;
}

bool Bus::Build(const EmuOptions& options, std::string& error) {
    if (!options.logPath.empty()) {
        log_ = std::fopen(options.logPath.c_str(), "a");
        if (!log_) {
            error = "cannot write " + options.logPath;
            return false;
        }
    }
    testbed_ = umockdev_testbed_new();
    unsigned address = 2;
    int n = 0;
    // libusb lists the device added last first: the other chips, then the Kobus from the
    // last one, so a program that looks at each in turn meets the others and the held Kobus
    // first.
    for (int k = 0; k < options.kobus; ++k) {
        kivo::sim::SimOptions sim = options.sim;
        sim.serial += std::uint32_t(k);
        if (k > 0 && !sim.memoryPath.empty()) sim.memoryPath += "." + std::to_string(k + 1);
        auto kobu = kivo::sim::SimKobu::Create(sim, error);
        if (!kobu) return false;
        UsbIdentity id;
        id.product = options.product;
        id.description = kivo::kKobuUsbDescription;
        id.serial = "KOBU" + std::to_string(1001 + k);
        id.address = address++;
        auto device = std::make_shared<UsbDevice>(id, kobu);
        device->held = k >= options.kobus - options.held;
        if (k == 0) device->unplugAfter = options.unplugAfter;
        devices_.push_back(device);
        if (!Add(device, "kobu" + std::to_string(k + 1), options.denied, error)) return false;
    }
    for (const std::string& other : options.others) {
        UsbIdentity id;
        id.description = other;
        id.serial = "FT" + std::to_string(100000 + ++n);
        id.address = address++;
        auto device = std::make_shared<UsbDevice>(id, nullptr);
        devices_.push_back(device);
        if (!Add(device, "other" + std::to_string(n), false, error)) return false;
    }
    if (options.denied && ::geteuid() == 0) {
        dropToNobody_ = true;
        // Nobody must still see the emulated /sys and /dev.
        ::chmod(RootDir().c_str(), 0755);
    }
    return true;
}

bool Bus::EnterAsUser() const {
    if (!dropToNobody_) return true;
    return ::setgroups(0, nullptr) == 0 && ::setgid(kNobody) == 0 && ::setuid(kNobody) == 0;
}

void Bus::Finish() {
    nodes_.clear();
    if (testbed_) {
        g_object_unref(testbed_);
        testbed_ = nullptr;
    }
    devices_.clear();
    if (log_) {
        std::fclose(log_);
        log_ = nullptr;
    }
}

} // namespace ftdiemu
