// The emulated USB bus: a umockdev test bed with one sysfs entry and device node per chip, each
// node served by a UsbfsNode.
#pragma once

#include "options.h"
#include "usbfs.h"

#include <cstdio>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

typedef struct _UMockdevTestbed UMockdevTestbed;

namespace ftdiemu {

class Bus {
public:
    Bus() = default;
    ~Bus();
    Bus(const Bus&) = delete;
    Bus& operator=(const Bus&) = delete;

    // Sets up the test bed (and UMOCKDEV_DIR for the command); false and `error` on failure.
    bool Build(const EmuOptions& options, std::string& error);
    // In the forked child before it runs the command: where the Kobu's node is denied and this
    // runs as root (to whom no file mode says no), the command runs as nobody.
    bool EnterAsUser() const;
    // After the command has ended: saves what is left to save and removes the test bed.
    void Finish();

private:
    bool Add(const std::shared_ptr<UsbDevice>& device, const std::string& name, bool denied,
             std::string& error);
    void Note(const std::string& chip, const std::string& line);
    // The test bed's folder, which stands in for / in the command's view of /sys and /dev.
    std::string RootDir() const;

    UMockdevTestbed* testbed_ = nullptr;
    std::vector<std::shared_ptr<UsbDevice>> devices_;
    std::vector<std::unique_ptr<UsbfsNode>> nodes_;
    std::FILE* log_ = nullptr;
    std::mutex logMutex_;
    bool dropToNobody_ = false;
};

} // namespace ftdiemu
