// The Kobu through libftdi1: the USB chip is driven from user space over libusb, without the
// kernel's serial driver.
#include "transport/ftdi.h"

#include "link/clock.h"

#include <ftdi.h>
#include <libusb.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <vector>

namespace kivo {

namespace {

constexpr int kBaudRate = 57600;

// The chip holds received bytes until 62 have come together or its latency timer runs out,
// 16 ms by default. A reply of the Kobu is a few dozen bytes, so every reply would sit up to
// 16 ms in the chip after its last byte: over the 32 transactions of a whole-image read that
// is up to half a second, over a write with verification more than a second. 2 ms keeps a
// transaction at the speed of the unit's answer; the chip also sends an empty status packet
// each time the timer runs out, which is what lets a read with nothing to fetch return soon.
constexpr unsigned char kLatencyTimerMs = 2;

// Time-out of one USB bulk write of a frame.
constexpr int kWriteTimeoutMs = 100;

// Time-out of one USB bulk read. The chip answers every read within one latency period (with
// data or with an empty status packet), so a read returns after about 2 ms whatever this says;
// the time-out only bounds a chip that has stopped answering. It never goes below 10 ms: a
// read cut off by its time-out while the chip was answering loses what it had received
// (libftdi drops a partial transfer), and that would damage a reply.
constexpr int kUsbReadMinMs = 10;
constexpr int kUsbReadMaxMs = 50;

// Far more than one read brings at this baud rate. Should libftdi still keep a leftover of its
// own, the next read takes it first (see Fetch).
constexpr int kReadChunk = 4096;

// libusb results of a bulk read that leave the device usable: nothing came in time, a signal
// interrupted the wait, or the chip sent more than asked for (the frame check catches that).
bool IsTransient(int result) {
    return result == LIBUSB_ERROR_TIMEOUT || result == LIBUSB_ERROR_INTERRUPTED ||
           result == LIBUSB_ERROR_OVERFLOW;
}

class FtdiTransport : public Transport {
public:
    FtdiTransport() = default;
    ~FtdiTransport() override { CloseDevice(true); }
    FtdiTransport(const FtdiTransport&) = delete;
    FtdiTransport& operator=(const FtdiTransport&) = delete;

    OpenResult Open() override;
    void Close() override { CloseDevice(true); }
    void Purge(bool receive, bool transmit) override;
    std::size_t Write(const std::uint8_t* data, std::size_t size) override;
    bool WaitReadable(int timeoutMs) override;
    std::size_t ReadAvailable(std::uint8_t* buffer, std::size_t max) override;
    bool Lost() const override { return lost_; }
    Clock& Time() override { return clock_; }
    std::string Name() const override { return "ftdi"; }

private:
    bool OpenKobu();
    bool Configure();
    void CloseDevice(bool purge);
    // One USB read: whatever the chip has sent is appended to pending_.
    void Fetch(int usbTimeoutMs);

    // The libftdi context with the Kobu open in it; null while closed. A context (and with it
    // a libusb context) exists only while the Kobu is open.
    ftdi_context* ftdi_ = nullptr;
    bool lost_ = false;
    // Bytes a wait has already taken from the chip, handed out by ReadAvailable.
    std::vector<std::uint8_t> pending_;
    SteadyClock clock_;
};

Transport::OpenResult FtdiTransport::Open() {
    CloseDevice(false);
    lost_ = false;
    // ftdi_new also sets up libusb; it fails on a machine without USB access.
    ftdi_ = ftdi_new();
    if (ftdi_ == nullptr) return OpenResult::Failed;
    if (!OpenKobu()) {
        ftdi_free(ftdi_);
        ftdi_ = nullptr;
        return OpenResult::Failed;
    }
    return Configure() ? OpenResult::Open : OpenResult::NotConfigured;
}

bool FtdiTransport::OpenKobu() {
    // While we hold the chip its kernel serial driver is detached; libusb attaches it again
    // when we release the chip, so /dev/ttyUSB* comes back after Close.
    ftdi_->module_detach_mode = AUTO_DETACH_REATACH_SIO_MODULE;

    // libftdi's own search takes one product id (or only its factory ones), and the Kobu's is
    // not known: list every USB device and ask each of the chip maker's for its description.
    // The list holds a reference to each device until it is freed.
    libusb_device** devices = nullptr;
    const ssize_t count = libusb_get_device_list(ftdi_->usb_ctx, &devices);
    bool opened = false;
    for (ssize_t i = 0; i < count && !opened; ++i) {
        libusb_device_descriptor descriptor{};
        if (libusb_get_device_descriptor(devices[i], &descriptor) != 0 ||
            descriptor.idVendor != kFtdiVendor)
            continue;
        char description[128] = {};
        // Opens the device briefly to read its product string, and closes it again.
        const int got = ftdi_usb_get_strings(ftdi_, devices[i], nullptr, 0, description,
                                             sizeof description - 1, nullptr, 0);
        // A failure may leave the device handle open in the context.
        if (ftdi_->usb_dev != nullptr) ftdi_usb_close(ftdi_);
        if (got != 0 || std::strcmp(description, kKobuUsbDescription) != 0) continue;
        // Claims the interface and resets the chip. Fails when another program (or a kernel
        // driver that cannot be detached) holds it: then try the next Kobu.
        opened = ftdi_usb_open_dev(ftdi_, devices[i]) == 0;
        if (!opened && ftdi_->usb_dev != nullptr) ftdi_usb_close(ftdi_);
    }
    // An empty list is allocated too.
    if (devices != nullptr) libusb_free_device_list(devices, 1);
    return opened;
}

bool FtdiTransport::Configure() {
    // Every setting is tried even after one has failed; the link closes a device that is not
    // fully configured itself.
    bool ok = true;
    if (ftdi_set_baudrate(ftdi_, kBaudRate) != 0) ok = false;
    if (ftdi_set_line_property(ftdi_, BITS_8, STOP_BIT_2, NONE) != 0) ok = false;
    if (ftdi_setflowctrl(ftdi_, SIO_DISABLE_FLOW_CTRL) != 0) ok = false;
    if (ftdi_setdtr(ftdi_, 0) != 0) ok = false;
    // Only speed depends on the latency timer, not what is sent or received: a chip that
    // refuses it still works, more slowly.
    ftdi_set_latency_timer(ftdi_, kLatencyTimerMs);
    // Applies to frame writes and to the control transfers of purging from now on.
    ftdi_->usb_write_timeout = kWriteTimeoutMs;
    return ok;
}

void FtdiTransport::CloseDevice(bool purge) {
    if (ftdi_ == nullptr) return;
    if (purge && !lost_) ftdi_tciflush(ftdi_); // discard unread input in the chip
    ftdi_usb_close(ftdi_);                     // releases the interface and the handle
    ftdi_free(ftdi_);                          // and the libusb context
    ftdi_ = nullptr;
    pending_.clear();
}

void FtdiTransport::Purge(bool receive, bool transmit) {
    if (ftdi_ == nullptr || lost_) return;
    // ftdi_tciflush/ftdi_tcoflush name the directions as the host sees them (older purge
    // calls of libftdi had them swapped). Purging input also empties libftdi's own buffer.
    if (receive) {
        pending_.clear();
        ftdi_tciflush(ftdi_);
    }
    if (transmit) ftdi_tcoflush(ftdi_);
}

std::size_t FtdiTransport::Write(const std::uint8_t* data, std::size_t size) {
    if (ftdi_ == nullptr || lost_ || data == nullptr || size == 0) return 0;
    const int count = static_cast<int>(std::min<std::size_t>(size, INT_MAX));
    // Blocks until the bytes are handed to the chip or the write time-out has passed.
    int written = ftdi_write_data(ftdi_, data, count);
    return written > 0 ? static_cast<std::size_t>(written) : 0;
}

void FtdiTransport::Fetch(int usbTimeoutMs) {
    std::uint8_t buffer[kReadChunk];
    int n = 0;
    if (ftdi_->readbuffer_remaining > 0) {
        // Bytes libftdi kept from an earlier read are served from its buffer without USB.
        // Asking for more would make it read from USB as well, and a failing USB read would
        // throw the kept bytes away.
        n = ftdi_read_data(
            ftdi_, buffer,
            static_cast<int>(std::min<unsigned>(ftdi_->readbuffer_remaining, kReadChunk)));
    } else {
        ftdi_->usb_read_timeout = usbTimeoutMs;
        // Returns the bytes the chip sent (its two status bytes per packet removed), 0 when
        // a packet held only status, or a negative libusb error.
        n = ftdi_read_data(ftdi_, buffer, kReadChunk);
    }
    if (n > 0) {
        pending_.insert(pending_.end(), buffer, buffer + n);
    } else if (n < 0 && !IsTransient(n)) {
        // LIBUSB_ERROR_NO_DEVICE when unplugged, LIBUSB_ERROR_IO or _PIPE when the
        // connection broke: nothing more will come from this device.
        lost_ = true;
    }
}

bool FtdiTransport::WaitReadable(int timeoutMs) {
    if (ftdi_ == nullptr || lost_) return false;
    if (!pending_.empty()) return true;
    const std::int64_t deadline = clock_.NowMs() + std::max(0, timeoutMs);
    for (;;) {
        const std::int64_t start = clock_.NowMs();
        const std::int64_t left = deadline - start;
        // The thread sleeps in libusb until the chip answers, at most one latency period
        // when nothing comes; bytes are taken as soon as the chip passes them on.
        Fetch(static_cast<int>(std::clamp<std::int64_t>(left, kUsbReadMinMs, kUsbReadMaxMs)));
        if (!pending_.empty()) return true;
        if (lost_) return false;
        const std::int64_t now = clock_.NowMs();
        if (now >= deadline) return false;
        // Should a read ever come back at once with nothing, do not spin.
        if (now == start) clock_.SleepUntilMs(std::min(now + 1, deadline));
    }
}

std::size_t FtdiTransport::ReadAvailable(std::uint8_t* buffer, std::size_t max) {
    if (ftdi_ == nullptr || lost_ || buffer == nullptr || max == 0) return 0;
    // What the chip holds now is only known by asking it: one read, which returns within a
    // latency period.
    if (pending_.empty()) Fetch(kUsbReadMinMs);
    const std::size_t n = std::min(max, pending_.size());
    std::copy(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(n), buffer);
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(n));
    return n;
}

} // namespace

std::unique_ptr<Transport> MakeFtdiTransport() {
    return std::make_unique<FtdiTransport>();
}

} // namespace kivo
