// The device node of an emulated USB device as libusb uses it: the usbfs requests (claiming,
// submitting and reaping URBs, cancelling them) served from the emulator's process through
// umockdev's ioctl emulation, so that libusb and libftdi in the program under test run
// unmodified.
#pragma once

#include "usbdevice.h"

#include <functional>
#include <memory>
#include <string>

typedef struct _UMockdevIoctlBase UMockdevIoctlBase;

namespace ftdiemu {

// The handler for one device's node; attach it with umockdev_testbed_attach_ioctl. Every
// request is served on umockdev's worker thread, one at a time.
class UsbfsNode {
public:
    UsbfsNode(std::shared_ptr<UsbDevice> device, std::function<void(const std::string&)> log);
    ~UsbfsNode();
    UsbfsNode(const UsbfsNode&) = delete;
    UsbfsNode& operator=(const UsbfsNode&) = delete;

    UMockdevIoctlBase* Handler() const { return handler_; }

    struct State; // what umockdev's callbacks work on

private:
    UMockdevIoctlBase* handler_ = nullptr;
    std::unique_ptr<State> state_;
};

} // namespace ftdiemu
