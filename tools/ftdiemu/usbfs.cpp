#include "usbfs.h"

#include <umockdev.h>

#include <linux/usbdevice_fs.h>
#include <sys/ioctl.h>

#include <cerrno>
#include <chrono>
#include <cstddef>
#include <list>
#include <map>

namespace ftdiemu {

namespace {

Micros NowUs() {
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

// What the emulated kernel offers: URBs of any size in one piece, and reaping after unplug.
constexpr std::uint32_t kCapabilities = USBDEVFS_CAP_ZERO_PACKET | USBDEVFS_CAP_BULK_CONTINUATION |
                                        USBDEVFS_CAP_NO_PACKET_SIZE_LIM |
                                        USBDEVFS_CAP_REAP_AFTER_DISCONNECT;

constexpr std::size_t kSetupSize = 8;

// A URB the host has submitted and not yet reaped; its memory lives in the client and is
// mirrored by umockdev.
struct Urb {
    UMockdevIoctlData* urb = nullptr;    // the struct usbdevfs_urb
    UMockdevIoctlData* buffer = nullptr; // its buffer
    unsigned long address = 0;           // where the struct lives in the client
    std::uint8_t type = 0, endpoint = 0;
    int length = 0;
    Micros submitted = 0;
    bool done = false;
    int status = 0, actual = 0;
};

void Release(Urb& u) {
    if (u.buffer) g_object_unref(u.buffer);
    if (u.urb) g_object_unref(u.urb);
    u.buffer = u.urb = nullptr;
}

void PutInt(UMockdevIoctlData* data, std::size_t offset, int value) {
    umockdev_ioctl_data_update(data, offset, reinterpret_cast<guint8*>(&value), sizeof value);
}

} // namespace

struct UsbfsNode::State {
    std::shared_ptr<UsbDevice> device;
    std::function<void(const std::string&)> log;
    std::map<UMockdevIoctlClient*, std::list<Urb>> urbs; // per open file

    void Log(const std::string& line) const {
        if (log) log(line);
    }

    // Carries out a transfer that completes at once; leaves bulk IN transfers pending.
    void Start(Urb& u) {
        std::uint8_t* buffer = u.buffer ? u.buffer->data : nullptr;
        const Micros now = NowUs();
        if (u.type == USBDEVFS_URB_TYPE_CONTROL) {
            u.done = true;
            if (!buffer || u.length < int(kSetupSize)) {
                u.status = -EINVAL;
                return;
            }
            ControlSetup s;
            s.requestType = buffer[0];
            s.request = buffer[1];
            s.value = std::uint16_t(buffer[2] | buffer[3] << 8);
            s.index = std::uint16_t(buffer[4] | buffer[5] << 8);
            s.length = std::uint16_t(buffer[6] | buffer[7] << 8);
            const bool in = s.requestType & 0x80;
            const std::size_t room = std::size_t(u.length) - kSetupSize;
            std::vector<std::uint8_t> data;
            if (!in)
                data.assign(buffer + kSetupSize,
                            buffer + kSetupSize + std::min<std::size_t>(room, s.length));
            if (!device->Control(s, data, now)) {
                u.status = -EPIPE; // a stall
                return;
            }
            if (in) {
                const std::size_t n = std::min(data.size(), room);
                if (n) umockdev_ioctl_data_update(u.buffer, kSetupSize, data.data(), gint(n));
                u.actual = int(n);
            } else {
                u.actual = int(data.size());
            }
            return;
        }
        if (u.type != USBDEVFS_URB_TYPE_BULK) {
            u.done = true;
            u.status = -EINVAL;
            return;
        }
        if (u.endpoint == UsbDevice::kEndpointOut) {
            device->BulkOut(buffer, std::size_t(u.length), now);
            u.done = true;
            u.actual = u.length;
            if (device->Gone()) Log("unplugged");
        } else if (u.endpoint != UsbDevice::kEndpointIn) {
            u.done = true;
            u.status = -ENOENT;
        }
    }

    // Whether `u` has finished by now; fills in a bulk IN transfer that has.
    bool Finished(Urb& u) {
        if (u.done) return true;
        if (device->Gone()) {
            u.done = true;
            u.status = -ESHUTDOWN;
            return true;
        }
        std::vector<std::uint8_t> packets;
        if (!device->BulkIn(std::size_t(u.length), u.submitted, NowUs(), packets)) return false;
        if (!packets.empty())
            umockdev_ioctl_data_update(u.buffer, 0, packets.data(), gint(packets.size()));
        u.actual = int(packets.size());
        u.done = true;
        return true;
    }

    void Submit(UMockdevIoctlClient* client, UMockdevIoctlData* arg) {
        if (device->Gone()) return umockdev_ioctl_client_complete(client, -1, ENODEV);
        GError* error = nullptr;
        UMockdevIoctlData* urbData =
            umockdev_ioctl_data_resolve(arg, 0, sizeof(usbdevfs_urb), &error);
        if (!urbData) {
            g_clear_error(&error);
            return umockdev_ioctl_client_complete(client, -1, EFAULT);
        }
        auto* raw = reinterpret_cast<usbdevfs_urb*>(urbData->data);
        Urb u;
        u.urb = urbData;
        u.address = urbData->client_addr;
        u.type = raw->type;
        u.endpoint = raw->endpoint;
        u.length = raw->buffer_length;
        u.submitted = NowUs();
        if (u.length > 0) {
            u.buffer = umockdev_ioctl_data_resolve(urbData, offsetof(usbdevfs_urb, buffer),
                                                   std::size_t(u.length), &error);
            if (!u.buffer) {
                g_clear_error(&error);
                Release(u);
                return umockdev_ioctl_client_complete(client, -1, EFAULT);
            }
        }
        Start(u);
        urbs[client].push_back(u);
        umockdev_ioctl_client_complete(client, 0, 0);
    }

    void Reap(UMockdevIoctlClient* client, UMockdevIoctlData* slot) {
        auto& list = urbs[client];
        for (auto it = list.begin(); it != list.end(); ++it) {
            if (!Finished(*it)) continue;
            PutInt(it->urb, offsetof(usbdevfs_urb, status), it->status);
            PutInt(it->urb, offsetof(usbdevfs_urb, actual_length), it->actual);
            umockdev_ioctl_data_set_ptr(slot, 0, it->urb);
            umockdev_ioctl_client_complete(client, 0, 0);
            Release(*it);
            list.erase(it);
            return;
        }
        umockdev_ioctl_client_complete(client, -1, device->Gone() ? ENODEV : EAGAIN);
    }

    void Discard(UMockdevIoctlClient* client, unsigned long address) {
        for (Urb& u : urbs[client]) {
            if (u.address != address || u.done) continue;
            u.done = true;
            u.status = -ENOENT;
            return umockdev_ioctl_client_complete(client, 0, 0);
        }
        umockdev_ioctl_client_complete(client, -1, EINVAL);
    }

    void Handle(UMockdevIoctlClient* client) {
        const unsigned long request = umockdev_ioctl_client_get_request(client);
        UMockdevIoctlData* arg = umockdev_ioctl_client_get_arg(client);
        const std::size_t size = _IOC_SIZE(request);
        const bool gone = device->Gone();
        if (request == USBDEVFS_SUBMITURB) return Submit(client, arg);
        if (request == USBDEVFS_DISCARDURB)
            return Discard(client, *reinterpret_cast<unsigned long*>(arg->data));

        GError* error = nullptr;
        UMockdevIoctlData* data =
            size ? umockdev_ioctl_data_resolve(arg, 0, size, &error) : nullptr;
        if (size && !data) {
            g_clear_error(&error);
            return umockdev_ioctl_client_complete(client, -1, EFAULT);
        }
        long result = 0;
        int err = 0;
        switch (request) {
        case USBDEVFS_REAPURB:
        case USBDEVFS_REAPURBNDELAY:
            Reap(client, data);
            g_object_unref(data);
            return;
        case USBDEVFS_GET_CAPABILITIES: {
            std::uint32_t caps = kCapabilities;
            umockdev_ioctl_data_update(data, 0, reinterpret_cast<guint8*>(&caps), sizeof caps);
            break;
        }
        case USBDEVFS_CLAIMINTERFACE:
        case USBDEVFS_DISCONNECT_CLAIM:
            if (gone) {
                result = -1, err = ENODEV;
            } else if (device->held) {
                result = -1, err = EBUSY;
                Log("claim refused: held by another program");
            } else {
                Log("claim");
            }
            break;
        case USBDEVFS_RELEASEINTERFACE:
            Log("release");
            if (gone) result = -1, err = ENODEV;
            break;
        case USBDEVFS_GETDRIVER:
        case USBDEVFS_IOCTL:
            // No kernel driver is bound, none can be attached or detached.
            result = -1, err = gone ? ENODEV : ENODATA;
            break;
        case USBDEVFS_SETINTERFACE:
        case USBDEVFS_SETCONFIGURATION:
        case USBDEVFS_CLEAR_HALT:
        case USBDEVFS_RESETEP:
        case USBDEVFS_RESET:
            if (gone) result = -1, err = ENODEV;
            break;
        default:
            result = -1, err = ENOTTY;
            break;
        }
        umockdev_ioctl_client_complete(client, result, err);
        if (data) g_object_unref(data);
    }

    void Vanished(UMockdevIoctlClient* client) {
        Log("closed");
        auto it = urbs.find(client);
        if (it == urbs.end()) return;
        for (Urb& u : it->second) Release(u);
        urbs.erase(it);
    }
};

namespace {

gboolean OnIoctl(UMockdevIoctlBase*, UMockdevIoctlClient* client, gpointer state) {
    static_cast<UsbfsNode::State*>(state)->Handle(client);
    return TRUE;
}

void OnConnected(UMockdevIoctlBase*, UMockdevIoctlClient* client, gpointer state) {
    auto* s = static_cast<UsbfsNode::State*>(state);
    s->urbs[client];
    s->Log("opened");
}

void OnVanished(UMockdevIoctlBase*, UMockdevIoctlClient* client, gpointer state) {
    static_cast<UsbfsNode::State*>(state)->Vanished(client);
}

} // namespace

UsbfsNode::UsbfsNode(std::shared_ptr<UsbDevice> device, std::function<void(const std::string&)> log)
    : state_(new State{std::move(device), std::move(log), {}}) {
    handler_ = umockdev_ioctl_base_new();
    g_signal_connect(handler_, "handle-ioctl", G_CALLBACK(OnIoctl), state_.get());
    g_signal_connect(handler_, "client-connected", G_CALLBACK(OnConnected), state_.get());
    g_signal_connect(handler_, "client-vanished", G_CALLBACK(OnVanished), state_.get());
}

UsbfsNode::~UsbfsNode() {
    if (handler_) g_object_unref(handler_);
    for (auto& [client, list] : state_->urbs)
        for (Urb& u : list) Release(u);
}

} // namespace ftdiemu
