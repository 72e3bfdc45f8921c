#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

namespace varnolt {

class UserPrompt;

// The USB bridge is driven through the calls of FTDI's D2XX library. Every backend (FTDI's own
// library, libftdi1, the virtual analyzer) offers these calls with D2XX's arguments and results.

using FtHandle = void*;
using FtStatus = uint32_t;

// The D2XX status values the program tells apart or returns itself.
inline constexpr FtStatus kFtOk = 0;
inline constexpr FtStatus kFtInvalidHandle = 1;
inline constexpr FtStatus kFtDeviceNotFound = 2;
inline constexpr FtStatus kFtDeviceNotOpened = 3;
inline constexpr FtStatus kFtIoError = 4;
inline constexpr FtStatus kFtInvalidParameter = 6;
inline constexpr FtStatus kFtNotSupported = 17;
inline constexpr FtStatus kFtOtherError = 18;
// Not a D2XX value: the bridge is attached but the system refuses this user access to it (a
// backend on a system where no udev rule grants it).
inline constexpr FtStatus kFtNoPermission = 0x1000;

// FT_OpenEx flags: what its first argument names.
inline constexpr uint32_t kFtOpenBySerialNumber = 1;
inline constexpr uint32_t kFtOpenByDescription = 2;

// FT_ListDevices flags.
inline constexpr uint32_t kFtListNumberOnly = 0x80000000;
inline constexpr uint32_t kFtListAll = 0x20000000;
inline constexpr uint32_t kFtListByIndex = 0x40000000;

// FT_Purge mask bits.
inline constexpr uint32_t kFtPurgeRx = 1;
inline constexpr uint32_t kFtPurgeTx = 2;

// FT_ListDevices(FT_LIST_ALL) fills buffers of this many bytes, text ended by a zero byte.
inline constexpr size_t kFtListEntryBytes = 64;

// The entry points, each empty when the backend could not provide it. A caller must check an
// entry before calling it.
struct D2xxEntryPoints {
    std::function<FtStatus(FtHandle, const void* buffer, uint32_t count, uint32_t* written)>
        FT_Write;
    std::function<FtStatus(FtHandle, void* buffer, uint32_t count, uint32_t* got)> FT_Read;
    std::function<FtStatus(int32_t deviceNumber, FtHandle* handle)> FT_Open;
    std::function<FtStatus(const void* name, uint32_t flags, FtHandle* handle)> FT_OpenEx;
    std::function<FtStatus(void* first, void* second, uint32_t flags)> FT_ListDevices;
    std::function<FtStatus(FtHandle)> FT_Close;
    std::function<FtStatus(FtHandle)> FT_ResetDevice;
    std::function<FtStatus(FtHandle, uint32_t mask)> FT_Purge;
    std::function<FtStatus(FtHandle, uint32_t readMs, uint32_t writeMs)> FT_SetTimeouts;
    std::function<FtStatus(FtHandle, uint32_t* queued)> FT_GetQueueStatus;
    std::function<FtStatus(FtHandle, uint8_t latencyMs)> FT_SetLatencyTimer;
    std::function<FtStatus(FtHandle, uint32_t baudRate)> FT_SetBaudRate;
    std::function<FtStatus(FtHandle, uint32_t inTransferBytes, uint32_t outTransferBytes)>
        FT_SetUSBParameters;

    // Keeps whatever the entry points live in (a loaded library, a device model) alive for as
    // long as the table is held.
    std::shared_ptr<void> owner;
};

// A source of the entry points: FTDI's library, libftdi1 or the virtual analyzer.
class D2xxApi {
public:
    D2xxApi() = default;
    D2xxApi(const D2xxApi&) = delete;
    D2xxApi& operator=(const D2xxApi&) = delete;
    virtual ~D2xxApi() = default;

    // Resolves the entry points for one port. A backend that cannot provide them all tells the
    // user through PROMPT and leaves the missing ones empty.
    [[nodiscard]] virtual D2xxEntryPoints load(UserPrompt& prompt) = 0;
};

} // namespace varnolt
