#include "EmulatedUsbBus.h"

#include <cstdio>
#include <cstdlib>
#include <linux/capability.h>
#include <string_view>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <umockdev.h>
#include <unistd.h>

#include "Ft232hDescriptors.h"

namespace varnolt::testing {

namespace {

constexpr int kBus = 1;
// Address 1 is the root hub's; devices follow it.
constexpr int kFirstAddress = 2;
constexpr uint32_t kFileAccessOverride = (1U << CAP_DAC_OVERRIDE) | (1U << CAP_DAC_READ_SEARCH);

std::string Hex(const std::vector<uint8_t>& bytes) {
    std::string text;
    char digits[3];
    for (const uint8_t byte : bytes) {
        std::snprintf(digits, sizeof digits, "%02X", byte);
        text += digits;
    }
    return text;
}

std::string Padded(int number) {
    char text[4];
    std::snprintf(text, sizeof text, "%03d", number);
    return text;
}

bool CapabilitiesOfThisThread(__user_cap_header_struct& header, __user_cap_data_struct* data) {
    header = {_LINUX_CAPABILITY_VERSION_3, 0};
    return syscall(SYS_capget, &header, data) == 0;
}

} // namespace

bool EmulatedUsbBus::available() {
    const char* preload = std::getenv("LD_PRELOAD");
    return preload != nullptr &&
           std::string_view(preload).find("libumockdev-preload") != std::string_view::npos;
}

EmulatedUsbBus::EmulatedUsbBus() : testbed_(umockdev_testbed_new()) {
}

EmulatedUsbBus::~EmulatedUsbBus() {
    g_object_unref(testbed_);
    devices_.clear();
}

EmulatedUsbBus::Device::Device(Ft232hIdentity identity, sim::VirtualAnalyzer* analyzer, int address)
    : chip_(std::move(identity), analyzer), usbfs_(chip_), address_(address) {
}

std::string EmulatedUsbBus::NodeOf(const Device& device) {
    return "/dev/bus/usb/" + Padded(kBus) + "/" + Padded(device.address());
}

std::string EmulatedUsbBus::SysfsPathOf(const Device& device) {
    return "/sys/devices/pci0000:00/0000:00:14.0/usb1/1-" +
           std::to_string(device.address() - kFirstAddress + 1);
}

EmulatedUsbBus::Device& EmulatedUsbBus::Plug(Ft232hIdentity identity,
                                             sim::VirtualAnalyzer* analyzer) {
    const int address = kFirstAddress + static_cast<int>(devices_.size());
    devices_.push_back(std::make_unique<Device>(std::move(identity), analyzer, address));
    Device& device = *devices_.back();
    Add(device);
    return device;
}

void EmulatedUsbBus::Add(Device& device) {
    const Ft232hIdentity& identity = device.chip().identity();
    const std::string node = NodeOf(device);
    // Attached before the device appears, so that an open right after finds its handler.
    umockdev_testbed_attach_ioctl(testbed_, node.c_str(), device.usbfs_.handler(), nullptr);
    const std::string record =
        "P: " + SysfsPathOf(device).substr(std::string_view("/sys").size()) + "\n" +
        "N: " + node.substr(std::string_view("/dev/").size()) + "\n" +
        "E: SUBSYSTEM=usb\nE: DEVTYPE=usb_device\nE: DRIVER=usb\n" + "E: BUSNUM=" + Padded(kBus) +
        "\nE: DEVNUM=" + Padded(device.address()) + "\n" + "E: DEVNAME=" + node +
        "\nE: PRODUCT=403/6014/900\n" + "A: busnum=" + std::to_string(kBus) + "\\n\n" +
        "A: devnum=" + std::to_string(device.address()) + "\\n\n" +
        "A: speed=480\\n\nA: bConfigurationValue=1\\n\n" +
        "A: idVendor=0403\\n\nA: idProduct=6014\\n\n" + "A: manufacturer=" + identity.manufacturer +
        "\\n\n" + "A: product=" + identity.product + "\\n\n" + "A: serial=" + identity.serial +
        "\\n\n" + "H: descriptors=" + Hex(Ft232hDescriptors()) + "\n";
    umockdev_testbed_add_from_string(testbed_, record.c_str(), nullptr);
    device.present_ = true;
}

void EmulatedUsbBus::Remove(Device& device) {
    const std::string path = SysfsPathOf(device);
    umockdev_testbed_uevent(testbed_, path.c_str(), "remove");
    device.usbfs_.Removed();
    umockdev_testbed_remove_device(testbed_, path.c_str());
    umockdev_testbed_detach_ioctl(testbed_, NodeOf(device).c_str(), nullptr);
    device.present_ = false;
}

void EmulatedUsbBus::Unplug(Device& device) {
    if (!device.present()) {
        return;
    }
    Remove(device);
    device.chip().Unplugged();
}

void EmulatedUsbBus::Replug(Device& device) {
    if (device.present()) {
        return;
    }
    device.chip().PluggedIn();
    Add(device);
}

void EmulatedUsbBus::PowerCycle(Device& device) {
    if (device.present()) {
        Remove(device);
    }
    device.chip().PowerCycled();
    Add(device);
}

void EmulatedUsbBus::DenyAccess(Device& device) {
    gchar* root = umockdev_testbed_get_root_dir(testbed_);
    const std::string file = std::string(root) + NodeOf(device);
    g_free(root);
    chmod(file.c_str(), 0);
}

WithoutFileAccessOverride::WithoutFileAccessOverride() {
    __user_cap_header_struct header{};
    __user_cap_data_struct data[2]{};
    if (CapabilitiesOfThisThread(header, data)) {
        savedEffective_ = data[0].effective;
        data[0].effective &= ~kFileAccessOverride;
        syscall(SYS_capset, &header, data);
    }
}

WithoutFileAccessOverride::~WithoutFileAccessOverride() {
    __user_cap_header_struct header{};
    __user_cap_data_struct data[2]{};
    if (CapabilitiesOfThisThread(header, data)) {
        data[0].effective = savedEffective_;
        syscall(SYS_capset, &header, data);
    }
}

} // namespace varnolt::testing
