#pragma once

#include "sim/VirtualAnalyzer.h"

#include <memory>
#include <string>
#include <vector>

#include "EmulatedFt232h.h"
#include "UsbfsDevice.h"

typedef struct _UMockdevTestbed UMockdevTestbed;

namespace varnolt::testing {

// A private USB bus under umockdev: a sysfs and /dev tree of its own that libusb (and so
// libftdi1) in this process enumerates and opens as if the devices were real. It needs
// umockdev's preload library in the process (tests set LD_PRELOAD); one bus at a time.
class EmulatedUsbBus {
public:
    // Whether umockdev's preload library is active in this process.
    [[nodiscard]] static bool available();

    EmulatedUsbBus();
    EmulatedUsbBus(const EmulatedUsbBus&) = delete;
    EmulatedUsbBus& operator=(const EmulatedUsbBus&) = delete;
    ~EmulatedUsbBus();

    // One FT232H on the bus, with ANALYZER behind it (or nothing).
    class Device {
    public:
        Device(Ft232hIdentity identity, sim::VirtualAnalyzer* analyzer, int address);
        [[nodiscard]] EmulatedFt232h& chip() { return chip_; }
        [[nodiscard]] const UsbfsDevice& usbfs() const { return usbfs_; }
        [[nodiscard]] int address() const { return address_; }
        [[nodiscard]] bool present() const { return present_; }

    private:
        friend class EmulatedUsbBus;
        EmulatedFt232h chip_;
        UsbfsDevice usbfs_;
        int address_;
        bool present_ = false;
    };

    // Plugs an FT232H in at the next address.
    Device& Plug(Ft232hIdentity identity, sim::VirtualAnalyzer* analyzer = nullptr);
    // Pulls DEVICE out (with the analyzer behind it); open handles see "no such device".
    void Unplug(Device& device);
    // Plugs DEVICE back in at the same address.
    void Replug(Device& device);
    // The analyzer behind DEVICE is switched off and on: the bridge leaves (if it was there)
    // and comes back.
    void PowerCycle(Device& device);
    // Makes DEVICE's node unopenable for users without the file-access override (see
    // WithoutFileAccessOverride), as without the udev rule.
    void DenyAccess(Device& device);

private:
    void Add(Device& device);
    void Remove(Device& device);
    [[nodiscard]] static std::string NodeOf(const Device& device);
    [[nodiscard]] static std::string SysfsPathOf(const Device& device);

    UMockdevTestbed* testbed_ = nullptr;
    std::vector<std::unique_ptr<Device>> devices_;
};

// Within its scope the calling thread opens files as an ordinary user would, even as root:
// file modes deny it access (the kernel's file-access override is dropped, and restored after).
class WithoutFileAccessOverride {
public:
    WithoutFileAccessOverride();
    WithoutFileAccessOverride(const WithoutFileAccessOverride&) = delete;
    WithoutFileAccessOverride& operator=(const WithoutFileAccessOverride&) = delete;
    ~WithoutFileAccessOverride();

private:
    uint32_t savedEffective_ = 0;
};

} // namespace varnolt::testing
