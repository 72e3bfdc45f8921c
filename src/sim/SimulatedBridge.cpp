#include "sim/SimulatedBridge.h"

#include "core/link/port/D2xxDeviceList.h"
#include "sim/VirtualAnalyzer.h"

#include <string>
#include <vector>

namespace varnolt::sim {

namespace {

VirtualAnalyzer::Session SessionOf(FtHandle handle) {
    return static_cast<VirtualAnalyzer::Session>(reinterpret_cast<uintptr_t>(handle));
}

FtHandle HandleOf(VirtualAnalyzer::Session session) {
    return reinterpret_cast<FtHandle>(static_cast<uintptr_t>(session));
}

} // namespace

SimulatedBridge::SimulatedBridge(VirtualAnalyzer& analyzer) : analyzer_(analyzer) {
}

D2xxEntryPoints SimulatedBridge::load(UserPrompt& /*prompt*/) {
    VirtualAnalyzer* analyzer = &analyzer_;
    D2xxEntryPoints entries;
    entries.FT_Write = [analyzer](FtHandle handle, const void* buffer, uint32_t count,
                                  uint32_t* written) {
        uint32_t taken = 0;
        const FtStatus status = analyzer->Write(
            SessionOf(handle), std::span(static_cast<const uint8_t*>(buffer), count), taken);
        if (written != nullptr) {
            *written = taken;
        }
        return status;
    };
    entries.FT_Read = [analyzer](FtHandle handle, void* buffer, uint32_t count, uint32_t* got) {
        uint32_t taken = 0;
        const FtStatus status = analyzer->Read(
            SessionOf(handle), std::span(static_cast<uint8_t*>(buffer), count), taken);
        if (got != nullptr) {
            *got = taken;
        }
        return status;
    };
    entries.FT_Open = [analyzer](int32_t device, FtHandle* handle) {
        if (device != 0 || handle == nullptr) {
            return kFtDeviceNotFound;
        }
        VirtualAnalyzer::Session session = 0;
        const std::vector<std::string> attached = analyzer->attachedDescriptions();
        const FtStatus status =
            attached.empty() ? kFtDeviceNotFound : analyzer->Open(attached.front(), session);
        *handle = HandleOf(session);
        return status;
    };
    entries.FT_OpenEx = [analyzer](const void* name, uint32_t flags, FtHandle* handle) {
        if (flags != kFtOpenByDescription || name == nullptr || handle == nullptr) {
            return kFtDeviceNotFound;
        }
        VirtualAnalyzer::Session session = 0;
        const FtStatus status = analyzer->Open(static_cast<const char*>(name), session);
        *handle = HandleOf(session);
        return status;
    };
    entries.FT_ListDevices = [analyzer](void* first, void* second, uint32_t flags) {
        std::vector<ListedDevice> devices;
        for (std::string& description : analyzer->attachedDescriptions()) {
            devices.push_back({std::move(description), "VRN" + std::to_string(devices.size())});
        }
        return ListDevices(devices, first, second, flags);
    };
    entries.FT_Close = [analyzer](FtHandle handle) { return analyzer->Close(SessionOf(handle)); };
    entries.FT_ResetDevice = [analyzer](FtHandle handle) {
        return analyzer->ResetDevice(SessionOf(handle));
    };
    entries.FT_Purge = [analyzer](FtHandle handle, uint32_t mask) {
        return analyzer->Purge(SessionOf(handle), mask);
    };
    // Time-outs, latency, baud rate and transfer sizes change nothing a simulation can show.
    entries.FT_SetTimeouts = [](FtHandle, uint32_t, uint32_t) { return kFtOk; };
    entries.FT_GetQueueStatus = [analyzer](FtHandle handle, uint32_t* queued) {
        uint32_t count = 0;
        const FtStatus status = analyzer->QueueStatus(SessionOf(handle), count, kQueueWait);
        if (queued != nullptr) {
            *queued = count;
        }
        return status;
    };
    entries.FT_SetLatencyTimer = [](FtHandle, uint8_t) { return kFtOk; };
    entries.FT_SetBaudRate = [](FtHandle, uint32_t) { return kFtOk; };
    entries.FT_SetUSBParameters = [](FtHandle, uint32_t, uint32_t) { return kFtOk; };
    return entries;
}

} // namespace varnolt::sim
