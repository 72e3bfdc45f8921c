#include "core/link/port/LibFtdiApi.h"

#include "core/link/port/D2xxDeviceList.h"
#include "core/link/port/LibFtdiDevices.h"
#include "core/link/port/LibFtdiTransfers.h"

#include <algorithm>
#include <cstring>
#include <ftdi.h>
#include <memory>
#include <mutex>
#include <set>
#include <vector>

namespace varnolt {

namespace {

// One open device: its libftdi context and the data bytes of the last in-transfer that have
// not been handed out yet (FT_GetQueueStatus reads ahead).
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

// In-transfers are whole high-speed packets: a transfer that ends inside a packet would
// overflow when the bridge sends a full one.
constexpr uint32_t kInPacketBytes = 512;

FtStatus OpenDevice(const WantedBridge& wanted, FtHandle* handle) {
    if (handle == nullptr) {
        return kFtInvalidParameter;
    }
    std::unique_ptr<ftdi_context, decltype(&ftdi_free)> context(ftdi_new(), &ftdi_free);
    if (!context) {
        return kFtOtherError;
    }
    const FtStatus status = OpenWantedBridge(*context, wanted);
    if (status != kFtOk) {
        return status;
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

// Reads one in-transfer into the read-ahead when it holds nothing. What arrived is kept even
// when the transfer ended badly; the status is reported once those bytes are handed out.
FtStatus FillReadAhead(Device& device) {
    if (device.buffered() > 0) {
        return kFtOk;
    }
    device.readAhead.resize(device.inTransferBytes);
    device.readAheadStart = 0;
    uint32_t got = 0;
    const FtStatus status = ReadOneTransfer(*device.context, device.readAhead, got);
    device.readAhead.resize(got);
    return device.buffered() > 0 ? kFtOk : status;
}

FtStatus Read(FtHandle handle, void* buffer, uint32_t count, uint32_t* got) {
    Device* device = OpenDevices().find(handle);
    if (device == nullptr || got == nullptr) {
        return kFtInvalidHandle;
    }
    *got = 0;
    if (count == 0) {
        return kFtOk;
    }
    const FtStatus status = FillReadAhead(*device);
    const size_t taken = std::min<size_t>(count, device->buffered());
    std::memcpy(buffer, device->readAhead.data() + device->readAheadStart, taken);
    device->readAheadStart += taken;
    *got = static_cast<uint32_t>(taken);
    return status;
}

FtStatus QueueStatus(FtHandle handle, uint32_t* queued) {
    Device* device = OpenDevices().find(handle);
    if (device == nullptr || queued == nullptr) {
        return kFtInvalidHandle;
    }
    const FtStatus status = FillReadAhead(*device);
    *queued = static_cast<uint32_t>(device->buffered());
    return status;
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
        return WriteOneTransfer(*device->context,
                                std::span(static_cast<const uint8_t*>(buffer), count), *written);
    };
    entries.FT_Read = Read;
    entries.FT_Open = [](int32_t index, FtHandle* handle) {
        return index < 0 ? kFtDeviceNotFound : OpenDevice({.index = index}, handle);
    };
    entries.FT_OpenEx = [](const void* name, uint32_t flags, FtHandle* handle) {
        const auto* text = static_cast<const char*>(name);
        if (text == nullptr) {
            return kFtInvalidParameter;
        }
        if (flags == kFtOpenByDescription) {
            return OpenDevice({.description = text}, handle);
        }
        if (flags == kFtOpenBySerialNumber) {
            return OpenDevice({.serial = text}, handle);
        }
        return kFtNotSupported;
    };
    entries.FT_ListDevices = [](void* first, void* second, uint32_t flags) {
        bool ok = false;
        const std::vector<ListedDevice> devices = AttachedBridges(ok);
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
            device.inTransferBytes =
                std::max<uint32_t>((inBytes + kInPacketBytes - 1) / kInPacketBytes, 1) *
                kInPacketBytes;
            const int in = ftdi_read_data_set_chunksize(device.context, inBytes);
            const int out = ftdi_write_data_set_chunksize(device.context, outBytes);
            return std::min(in, out);
        });
    };
    return entries;
}

} // namespace varnolt
