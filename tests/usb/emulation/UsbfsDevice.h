#pragma once

#include <cstdint>
#include <mutex>
#include <vector>

#include "EmulatedFt232h.h"

typedef struct _UMockdevIoctlBase UMockdevIoctlBase;
typedef struct _UMockdevIoctlClient UMockdevIoctlClient;
typedef struct _UMockdevIoctlData UMockdevIoctlData;
struct usbdevfs_urb;

namespace varnolt::testing {

// One emulated FT232H as the kernel's usbfs presents it to libusb: umockdev hands every ioctl
// on the device node to this object (on its worker thread), which answers control transfers at
// once and keeps bulk transfers pending until the chip completes them; libusb's next
// non-blocking reap collects what is done. A transfer libusb discards (its time-out) comes
// back with what it carried so far. The host is this very process, so URBs and their buffers
// are read and written in place rather than copied to and fro through umockdev's data objects
// (each of which costs a round trip to the host's thread).
class UsbfsDevice {
public:
    explicit UsbfsDevice(EmulatedFt232h& chip);
    UsbfsDevice(const UsbfsDevice&) = delete;
    UsbfsDevice& operator=(const UsbfsDevice&) = delete;
    ~UsbfsDevice();

    [[nodiscard]] UMockdevIoctlBase* handler() const { return handler_; }
    [[nodiscard]] EmulatedFt232h& chip() { return chip_; }

    // The device left the bus: every handle opened before answers "no such device" from now
    // on, and its pending transfers end so.
    void Removed();

    // The bulk transfers the host submitted, by endpoint, with their sizes.
    struct Submitted {
        uint8_t endpoint = 0;
        int bytes = 0;
    };
    [[nodiscard]] std::vector<Submitted> bulkTransfers() const;

private:
    struct Urb {
        UMockdevIoctlClient* client = nullptr;
        usbdevfs_urb* urb = nullptr; // the host's own
        size_t done = 0;                  // bytes carried so far
    };

    static int OnIoctl(UMockdevIoctlBase* handler, UMockdevIoctlClient* client, void* self);
    static void OnConnected(UMockdevIoctlBase* handler, UMockdevIoctlClient* client, void* self);
    static void OnVanished(UMockdevIoctlBase* handler, UMockdevIoctlClient* client, void* self);

    bool Handle(UMockdevIoctlClient* client);
    void Submit(UMockdevIoctlClient* client, UMockdevIoctlData* argument);
    void Reap(UMockdevIoctlClient* client, UMockdevIoctlData* argument);
    void Discard(UMockdevIoctlClient* client, UMockdevIoctlData* argument);
    // Lets the chip move bulk data for the pending transfers; finished ones become reapable.
    void Service();
    void Finish(Urb urb, int status);
    void RemovedLocked();
    // Whether CLIENT opened the device before it last left the bus.
    [[nodiscard]] bool stale(UMockdevIoctlClient* client) const;

    EmulatedFt232h& chip_;
    UMockdevIoctlBase* handler_ = nullptr;
    mutable std::mutex mutex_;
    std::vector<Urb> pending_;
    std::vector<Urb> finished_;
    // Raised each time the device leaves the bus.
    int generation_ = 1;
    std::vector<Submitted> bulkTransfers_;
};

} // namespace varnolt::testing
