#include "core/link/port/LibFtdiApi.h"

#include "core/link/port/D2xxDeviceList.h"

#include <algorithm>
#include <cstring>
#include <ftdi.h>
#include <memory>
#include <mutex>
#include <set>
#include <vector>

namespace varnolt {

namespace {

// One open device: its libftdi context and the bytes read ahead by FT_GetQueueStatus.
struct Device {
    ftdi_context* context = nullptr;
    std::vector<uint8_t> readAhead;
    size_t readAheadStart = 0;
    uint32_t inTransferBytes = 4096;

    [[nodiscard]] size_t buffered() const { return readAhead.size() - readAheadStart; }
};

// The open devices, so that a stale or foreign handle is refused instead of followed.
class DeviceTable {
public:
    Device* find(FtHandle handle) {
        const std::lock_guard lock(mutex_);
        const auto found = devices_.find(static_cast<Device*>(handle));
        return found == devices_.end() ? nullptr : *found;
    }
    void add(Device* device) {
        const std::lock_guard lock(mutex_);
        devices_.insert(device);
    }
    bool remove(Device* device) {
        const std::lock_guard lock(mutex_);
        return devices_.erase(device) == 1;
    }

private:
    std::mutex mutex_;
    std::set<Device*> devices_;
};

DeviceTable& OpenDevices() {
    static DeviceTable table;
    return table;
}

using ContextPointer = std::unique_ptr<ftdi_context, decltype(&ftdi_free)>;

ContextPointer NewContext() {
    return ContextPointer(ftdi_new(), &ftdi_free);
}

FtStatus OpenDevice(const char* description, const char* serial, int index, FtHandle* handle) {
    if (handle == nullptr) {
        return kFtInvalidParameter;
    }
    ContextPointer context = NewContext();
    if (!context) {
        return kFtOtherError;
    }
    const int result =
        ftdi_usb_open_desc_index(context.get(), LibFtdiApi::kVendorId, LibFtdiApi::kProductId,
                                 description, serial, static_cast<unsigned int>(index));
    if (result != 0) {
        return result == -3 ? kFtDeviceNotFound : kFtDeviceNotOpened;
    }
    auto* device = new Device;
    device->context = context.release();
    OpenDevices().add(device);
    *handle = device;
    return kFtOk;
}

FtStatus Close(FtHandle handle) {
    auto* device = static_cast<Device*>(handle);
    if (!OpenDevices().remove(device)) {
        return kFtInvalidHandle;
    }
    ftdi_usb_close(device->context);
    ftdi_free(device->context);
    delete device;
    return kFtOk;
}

std::vector<ListedDevice> AttachedDevices(bool& ok) {
    std::vector<ListedDevice> devices;
    ContextPointer context = NewContext();
    ftdi_device_list* list = nullptr;
    ok = context && ftdi_usb_find_all(context.get(), &list, LibFtdiApi::kVendorId,
                                      LibFtdiApi::kProductId) >= 0;
    if (!ok) {
        return devices;
    }
    for (ftdi_device_list* entry = list; entry != nullptr; entry = entry->next) {
        // A device this user may not open (or that another program holds) is still listed,
        // with empty texts.
        char description[kFtListEntryBytes] = {};
        char serial[kFtListEntryBytes] = {};
        ContextPointer probe = NewContext();
        if (probe) {
            ftdi_usb_get_strings(probe.get(), entry->dev, nullptr, 0, description,
                                 sizeof description, serial, sizeof serial);
        }
        devices.push_back({description, serial});
    }
    ftdi_list_free(&list);
    return devices;
}

FtStatus Read(FtHandle handle, void* buffer, uint32_t count, uint32_t* got) {
    Device* device = OpenDevices().find(handle);
    if (device == nullptr || got == nullptr) {
        return kFtInvalidHandle;
    }
    *got = 0;
    auto* out = static_cast<uint8_t*>(buffer);
    const size_t fromBuffer = std::min<size_t>(count, device->buffered());
    std::memcpy(out, device->readAhead.data() + device->readAheadStart, fromBuffer);
    device->readAheadStart += fromBuffer;
    *got = static_cast<uint32_t>(fromBuffer);
    if (fromBuffer > 0 || count == 0) {
        return kFtOk;
    }
    const int read = ftdi_read_data(device->context, out, static_cast<int>(count));
    if (read < 0) {
        return kFtIoError;
    }
    *got = static_cast<uint32_t>(read);
    return kFtOk;
}

FtStatus QueueStatus(FtHandle handle, uint32_t* queued) {
    Device* device = OpenDevices().find(handle);
    if (device == nullptr || queued == nullptr) {
        return kFtInvalidHandle;
    }
    if (device->buffered() == 0) {
        device->readAhead.resize(device->inTransferBytes);
        device->readAheadStart = 0;
        const int read = ftdi_read_data(device->context, device->readAhead.data(),
                                        static_cast<int>(device->readAhead.size()));
        device->readAhead.resize(static_cast<size_t>(std::max(read, 0)));
        if (read < 0) {
            return kFtIoError;
        }
    }
    *queued = static_cast<uint32_t>(device->buffered());
    return kFtOk;
}

// Runs ACTION on the context of an open device; a negative libftdi result is an I/O error.
template <typename Action>
FtStatus WithDevice(FtHandle handle, Action action) {
    Device* device = OpenDevices().find(handle);
    if (device == nullptr) {
        return kFtInvalidHandle;
    }
    return action(*device) < 0 ? kFtIoError : kFtOk;
}

} // namespace

D2xxEntryPoints LibFtdiApi::load(UserPrompt& /*prompt*/) {
    D2xxEntryPoints entries;
    entries.FT_Write = [](FtHandle handle, const void* buffer, uint32_t count, uint32_t* written) {
        Device* device = OpenDevices().find(handle);
        if (device == nullptr || written == nullptr) {
            return kFtInvalidHandle;
        }
        const int sent = ftdi_write_data(device->context, static_cast<const unsigned char*>(buffer),
                                         static_cast<int>(count));
        *written = sent < 0 ? 0 : static_cast<uint32_t>(sent);
        return sent < 0 ? kFtIoError : kFtOk;
    };
    entries.FT_Read = Read;
    entries.FT_Open = [](int32_t index, FtHandle* handle) {
        return index < 0 ? kFtDeviceNotFound : OpenDevice(nullptr, nullptr, index, handle);
    };
    entries.FT_OpenEx = [](const void* name, uint32_t flags, FtHandle* handle) {
        const auto* text = static_cast<const char*>(name);
        if (text == nullptr) {
            return kFtInvalidParameter;
        }
        if (flags == kFtOpenByDescription) {
            return OpenDevice(text, nullptr, 0, handle);
        }
        if (flags == kFtOpenBySerialNumber) {
            return OpenDevice(nullptr, text, 0, handle);
        }
        return kFtNotSupported;
    };
    entries.FT_ListDevices = [](void* first, void* second, uint32_t flags) {
        bool ok = false;
        const std::vector<ListedDevice> devices = AttachedDevices(ok);
        return ok ? ListDevices(devices, first, second, flags) : kFtIoError;
    };
    entries.FT_Close = Close;
    entries.FT_ResetDevice = [](FtHandle handle) {
        return WithDevice(handle, [](Device& device) { return ftdi_usb_reset(device.context); });
    };
    entries.FT_Purge = [](FtHandle handle, uint32_t mask) {
        return WithDevice(handle, [mask](Device& device) {
            int result = 0;
            if ((mask & kFtPurgeRx) != 0) {
                device.readAhead.clear();
                device.readAheadStart = 0;
                result = std::min(result, ftdi_tciflush(device.context));
            }
            if ((mask & kFtPurgeTx) != 0) {
                result = std::min(result, ftdi_tcoflush(device.context));
            }
            return result;
        });
    };
    entries.FT_SetTimeouts = [](FtHandle handle, uint32_t readMs, uint32_t writeMs) {
        return WithDevice(handle, [readMs, writeMs](Device& device) {
            device.context->usb_read_timeout = static_cast<int>(readMs);
            device.context->usb_write_timeout = static_cast<int>(writeMs);
            return 0;
        });
    };
    entries.FT_GetQueueStatus = QueueStatus;
    entries.FT_SetLatencyTimer = [](FtHandle handle, uint8_t ms) {
        return WithDevice(
            handle, [ms](Device& device) { return ftdi_set_latency_timer(device.context, ms); });
    };
    entries.FT_SetBaudRate = [](FtHandle handle, uint32_t rate) {
        return WithDevice(handle, [rate](Device& device) {
            return ftdi_set_baudrate(device.context, static_cast<int>(rate));
        });
    };
    entries.FT_SetUSBParameters = [](FtHandle handle, uint32_t inBytes, uint32_t outBytes) {
        return WithDevice(handle, [inBytes, outBytes](Device& device) {
            device.inTransferBytes = std::max<uint32_t>(inBytes, 64);
            const int in = ftdi_read_data_set_chunksize(device.context, inBytes);
            const int out = ftdi_write_data_set_chunksize(device.context, outBytes);
            return std::min(in, out);
        });
    };
    return entries;
}

} // namespace varnolt
