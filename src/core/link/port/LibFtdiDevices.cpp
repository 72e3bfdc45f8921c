#include "core/link/port/LibFtdiDevices.h"

#include "core/link/port/LibFtdiApi.h"

#include <filesystem>
#include <fstream>
#include <ftdi.h>
#include <libusb.h>
#include <memory>

namespace varnolt {

namespace {

using ContextPointer = std::unique_ptr<ftdi_context, decltype(&ftdi_free)>;

// The texts an attached FT232H gives, or why they could not be read (a libusb error).
struct BridgeTexts {
    int result = 0;
    std::string description;
    std::string serial;
};

std::string StringDescriptor(libusb_device_handle* handle, uint8_t index) {
    unsigned char text[kFtListEntryBytes] = {};
    if (index == 0 ||
        libusb_get_string_descriptor_ascii(handle, index, text, sizeof text - 1) < 0) {
        return {};
    }
    return reinterpret_cast<const char*>(text);
}

BridgeTexts ReadTexts(libusb_device* device) {
    BridgeTexts texts;
    libusb_device_handle* handle = nullptr;
    texts.result = libusb_open(device, &handle);
    if (texts.result < 0) {
        return texts;
    }
    libusb_device_descriptor descriptor{};
    texts.result = libusb_get_device_descriptor(device, &descriptor);
    if (texts.result == 0) {
        texts.description = StringDescriptor(handle, descriptor.iProduct);
        texts.serial = StringDescriptor(handle, descriptor.iSerialNumber);
    }
    libusb_close(handle);
    return texts;
}

std::string FirstLine(const std::filesystem::path& file) {
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    return line;
}

// A sysfs attribute (such as "product") of DEVICE, which anyone may read even when the device
// itself may not be opened: what the udev rule matches on. Empty when not found.
std::string SysfsAttribute(libusb_device* device, const char* name) {
    const std::string bus = std::to_string(libusb_get_bus_number(device));
    const std::string address = std::to_string(libusb_get_device_address(device));
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/sys/bus/usb/devices", error)) {
        if (FirstLine(entry.path() / "busnum") == bus &&
            FirstLine(entry.path() / "devnum") == address) {
            return FirstLine(entry.path() / name);
        }
    }
    return {};
}

bool Matches(const char* wanted, const std::string& text) {
    return wanted == nullptr || text == wanted;
}

// Runs ACTION on every attached FT232H; false when the bus could not be searched.
template <typename Action>
bool ForEachBridge(ftdi_context& context, Action action) {
    ftdi_device_list* list = nullptr;
    if (ftdi_usb_find_all(&context, &list, LibFtdiApi::kVendorId, LibFtdiApi::kProductId) < 0) {
        return false;
    }
    for (ftdi_device_list* entry = list; entry != nullptr; entry = entry->next) {
        if (!action(entry->dev)) {
            break;
        }
    }
    ftdi_list_free(&list);
    return true;
}

} // namespace

FtStatus OpenWantedBridge(ftdi_context& context, const WantedBridge& wanted) {
    FtStatus status = kFtDeviceNotFound;
    int skip = wanted.index;
    const bool searched = ForEachBridge(context, [&](libusb_device* device) {
        const BridgeTexts texts = ReadTexts(device);
        if (texts.result == LIBUSB_ERROR_ACCESS) {
            if (Matches(wanted.description, SysfsAttribute(device, "product")) &&
                Matches(wanted.serial, SysfsAttribute(device, "serial")) &&
                status == kFtDeviceNotFound) {
                status = kFtNoPermission;
            }
            return true;
        }
        if (texts.result < 0 || !Matches(wanted.description, texts.description) ||
            !Matches(wanted.serial, texts.serial) || skip-- > 0) {
            return true;
        }
        if (ftdi_usb_open_dev(&context, device) == 0) {
            status = kFtOk;
            return false;
        }
        status = kFtDeviceNotOpened; // another program holds it, or it went away meanwhile
        return true;
    });
    return searched ? status : kFtIoError;
}

std::vector<ListedDevice> AttachedBridges(bool& ok) {
    std::vector<ListedDevice> devices;
    const ContextPointer context(ftdi_new(), &ftdi_free);
    ok = context && ForEachBridge(*context, [&devices](libusb_device* device) {
             BridgeTexts texts = ReadTexts(device);
             devices.push_back({std::move(texts.description), std::move(texts.serial)});
             return true;
         });
    return devices;
}

} // namespace varnolt
