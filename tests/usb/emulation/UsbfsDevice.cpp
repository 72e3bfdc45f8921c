#include "UsbfsDevice.h"

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <linux/ioctl.h>
#include <linux/usbdevice_fs.h>
#include <umockdev.h>

namespace varnolt::testing {

namespace {

constexpr size_t kSetupBytes = 8;

// The pointer an ioctl was given as its argument (the host is this process).
template <typename Pointer>
Pointer ArgumentOf(UMockdevIoctlData* argument) {
    return *reinterpret_cast<Pointer*>(argument->data);
}

uint16_t Word(const uint8_t* bytes) {
    return static_cast<uint16_t>(bytes[0] | (bytes[1] << 8));
}

// Each handle remembers the device generation it was opened in; handles of an earlier one
// were opened before the device left the bus. (The client objects' addresses are reused.)
constexpr char kGenerationKey[] = "varnolt-usbfs-generation";

int GenerationOf(UMockdevIoctlClient* client) {
    return GPOINTER_TO_INT(g_object_get_data(G_OBJECT(client), kGenerationKey));
}

void Complete(UMockdevIoctlClient* client, int error) {
    umockdev_ioctl_client_complete(client, error == 0 ? 0 : -1, error);
}

} // namespace

UsbfsDevice::UsbfsDevice(EmulatedFt232h& chip) : chip_(chip), handler_(umockdev_ioctl_base_new()) {
    g_signal_connect(handler_, "handle-ioctl", G_CALLBACK(OnIoctl), this);
    g_signal_connect(handler_, "client-connected", G_CALLBACK(OnConnected), this);
    g_signal_connect(handler_, "client-vanished", G_CALLBACK(OnVanished), this);
}

UsbfsDevice::~UsbfsDevice() {
    g_signal_handlers_disconnect_by_data(handler_, this);
    g_object_unref(handler_);
}

int UsbfsDevice::OnIoctl(UMockdevIoctlBase* /*handler*/, UMockdevIoctlClient* client, void* self) {
    return static_cast<UsbfsDevice*>(self)->Handle(client) ? TRUE : FALSE;
}

void UsbfsDevice::OnConnected(UMockdevIoctlBase* /*handler*/, UMockdevIoctlClient* client,
                              void* self) {
    auto* device = static_cast<UsbfsDevice*>(self);
    {
        const std::lock_guard lock(device->mutex_);
        g_object_set_data(G_OBJECT(client), kGenerationKey, GINT_TO_POINTER(device->generation_));
    }
    device->chip_.HostOpened();
}

void UsbfsDevice::OnVanished(UMockdevIoctlBase* /*handler*/, UMockdevIoctlClient* client,
                             void* self) {
    auto* device = static_cast<UsbfsDevice*>(self);
    bool live = false;
    {
        const std::lock_guard lock(device->mutex_);
        live = !device->stale(client);
    }
    if (live) {
        device->chip_.HostClosed();
    }
}

void UsbfsDevice::Removed() {
    const std::lock_guard lock(mutex_);
    RemovedLocked();
}

bool UsbfsDevice::stale(UMockdevIoctlClient* client) const {
    return GenerationOf(client) != generation_;
}

void UsbfsDevice::RemovedLocked() {
    ++generation_;
    while (!pending_.empty()) {
        Urb urb = pending_.front();
        pending_.erase(pending_.begin());
        Finish(urb, -ENODEV);
    }
}

std::vector<UsbfsDevice::Submitted> UsbfsDevice::bulkTransfers() const {
    const std::lock_guard lock(mutex_);
    return bulkTransfers_;
}

bool UsbfsDevice::Handle(UMockdevIoctlClient* client) {
    const std::lock_guard lock(mutex_);
    const gulong request = umockdev_ioctl_client_get_request(client);
    UMockdevIoctlData* argument = umockdev_ioctl_client_get_arg(client);
    if (chip_.analyzerLost() && !stale(client)) {
        RemovedLocked(); // the analyzer dropped off by itself: its bridge went with it
    }
    if (stale(client) && request != USBDEVFS_REAPURBNDELAY && request != USBDEVFS_REAPURB) {
        Complete(client, ENODEV);
        return true;
    }
    switch (request) {
    case USBDEVFS_GET_CAPABILITIES: {
        UMockdevIoctlData* capabilities =
            umockdev_ioctl_data_resolve(argument, 0, sizeof(uint32_t), nullptr);
        *reinterpret_cast<uint32_t*>(capabilities->data) =
            USBDEVFS_CAP_BULK_CONTINUATION | USBDEVFS_CAP_NO_PACKET_SIZE_LIM |
            USBDEVFS_CAP_REAP_AFTER_DISCONNECT | USBDEVFS_CAP_ZERO_PACKET;
        Complete(client, 0);
        g_object_unref(capabilities);
        return true;
    }
    case USBDEVFS_CLAIMINTERFACE:
    case USBDEVFS_RELEASEINTERFACE:
    case USBDEVFS_SETINTERFACE:
    case USBDEVFS_SETCONFIGURATION:
    case USBDEVFS_CLEAR_HALT:
    case USBDEVFS_RESETEP:
    case USBDEVFS_RESET:
        Complete(client, 0);
        return true;
    case USBDEVFS_GETDRIVER:
    case USBDEVFS_IOCTL:
        Complete(client, ENODATA); // no kernel driver is bound to detach
        return true;
    case USBDEVFS_SUBMITURB:
        Submit(client, argument);
        return true;
    case USBDEVFS_REAPURB:
    case USBDEVFS_REAPURBNDELAY:
        Reap(client, argument);
        return true;
    case USBDEVFS_DISCARDURB:
        Discard(client, argument);
        return true;
    default:
        return false;
    }
}

void UsbfsDevice::Submit(UMockdevIoctlClient* client, UMockdevIoctlData* argument) {
    Urb urb;
    urb.client = client;
    urb.urb = ArgumentOf<usbdevfs_urb*>(argument);
    usbdevfs_urb& request = *urb.urb;
    if (request.type == USBDEVFS_URB_TYPE_CONTROL) {
        if (request.buffer == nullptr || request.buffer_length < static_cast<int>(kSetupBytes)) {
            Complete(client, EINVAL);
            return;
        }
        const auto* setupBytes = static_cast<uint8_t*>(request.buffer);
        const SetupPacket setup{setupBytes[0], setupBytes[1], Word(setupBytes + 2),
                                Word(setupBytes + 4), Word(setupBytes + 6)};
        const int answered = chip_.Control(
            setup, std::span(static_cast<uint8_t*>(request.buffer) + kSetupBytes,
                             std::min<size_t>(setup.length, request.buffer_length - kSetupBytes)));
        urb.done = answered < 0 ? 0 : static_cast<size_t>(answered);
        Complete(client, 0);
        Finish(urb, answered < 0 ? answered : 0);
        return;
    }
    bulkTransfers_.push_back({request.endpoint, request.buffer_length});
    pending_.push_back(urb);
    Service(); // before the host hears back, so its first reap finds what is ready
    Complete(client, 0);
}

void UsbfsDevice::Service() {
    bool inWaits = false;
    bool outWaits = false;
    for (auto urb = pending_.begin(); urb != pending_.end();) {
        usbdevfs_urb& request = *urb->urb;
        const auto bytes = request.buffer == nullptr
                               ? std::span<uint8_t>()
                               : std::span(static_cast<uint8_t*>(request.buffer),
                                           static_cast<size_t>(request.buffer_length));
        bool ended = false;
        if ((request.endpoint & 0x80) != 0) {
            if (!inWaits) {
                const EmulatedFt232h::InTransfer in = chip_.FillTowardsHost(bytes, urb->done);
                urb->done = in.filled;
                ended = in.ended;
            }
            inWaits = inWaits || !ended;
        } else {
            if (!outWaits) {
                urb->done += chip_.TakeFromHost(bytes.subspan(urb->done));
                ended = urb->done == bytes.size();
            }
            outWaits = outWaits || !ended;
        }
        if (ended) {
            const Urb finished = *urb;
            urb = pending_.erase(urb);
            Finish(finished, 0);
        } else {
            ++urb;
        }
    }
}

void UsbfsDevice::Finish(Urb urb, int status) {
    usbdevfs_urb& request = *urb.urb;
    request.actual_length = static_cast<int>(urb.done);
    request.status = status;
    finished_.push_back(urb);
}

void UsbfsDevice::Reap(UMockdevIoctlClient* client, UMockdevIoctlData* argument) {
    Service();
    const auto mine = std::find_if(finished_.begin(), finished_.end(),
                                   [client](const Urb& urb) { return urb.client == client; });
    if (mine == finished_.end()) {
        Complete(client, stale(client) ? ENODEV : EAGAIN);
        return;
    }
    const Urb urb = *mine;
    finished_.erase(mine);
    *ArgumentOf<usbdevfs_urb**>(argument) = urb.urb;
    Complete(client, 0);
}

void UsbfsDevice::Discard(UMockdevIoctlClient* client, UMockdevIoctlData* argument) {
    const auto* discarded = ArgumentOf<usbdevfs_urb*>(argument);
    const auto found = std::find_if(pending_.begin(), pending_.end(), [&](const Urb& urb) {
        return urb.client == client && urb.urb == discarded;
    });
    if (found == pending_.end()) {
        Complete(client, EINVAL); // finished already: the host reaps it as it is
        return;
    }
    const Urb urb = *found;
    pending_.erase(found);
    Finish(urb, -ENOENT);
    Complete(client, 0);
}

} // namespace varnolt::testing
