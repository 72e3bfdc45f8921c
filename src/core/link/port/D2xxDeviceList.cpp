#include "core/link/port/D2xxDeviceList.h"

#include <algorithm>
#include <cstring>

namespace varnolt {

namespace {

void CopyEntry(const ListedDevice& device, uint32_t flags, char* buffer) {
    const std::string& text =
        (flags & kFtOpenByDescription) != 0 ? device.description : device.serialNumber;
    const size_t length = std::min(text.size(), kFtListEntryBytes - 1);
    std::memcpy(buffer, text.data(), length);
    buffer[length] = '\0';
}

} // namespace

FtStatus ListDevices(std::span<const ListedDevice> devices, void* first, void* second,
                     uint32_t flags) {
    if ((flags & kFtListNumberOnly) != 0) {
        if (first == nullptr) {
            return kFtInvalidParameter;
        }
        *static_cast<uint32_t*>(first) = static_cast<uint32_t>(devices.size());
        return kFtOk;
    }
    if ((flags & (kFtOpenByDescription | kFtOpenBySerialNumber)) == 0) {
        return kFtInvalidParameter;
    }
    if ((flags & kFtListByIndex) != 0) {
        const auto index = reinterpret_cast<uintptr_t>(first);
        if (second == nullptr || index >= devices.size()) {
            return kFtDeviceNotFound;
        }
        CopyEntry(devices[index], flags, static_cast<char*>(second));
        return kFtOk;
    }
    if ((flags & kFtListAll) == 0 || first == nullptr) {
        return kFtInvalidParameter;
    }
    auto** buffers = static_cast<char**>(first);
    uint32_t written = 0;
    for (const ListedDevice& device : devices) {
        if (buffers[written] == nullptr) {
            break;
        }
        CopyEntry(device, flags, buffers[written]);
        ++written;
    }
    if (second != nullptr) {
        *static_cast<uint32_t*>(second) = written;
    }
    return kFtOk;
}

} // namespace varnolt
