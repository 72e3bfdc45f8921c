#include "core/link/port/D2xxLibrary.h"

#include "core/link/protocol/LinkMessages.h"
#include "core/platform/UserPrompt.h"

#ifdef _WIN32
#include <windows.h>
#define VARNOLT_D2XX_CALL WINAPI
#else
#include <dlfcn.h>
#define VARNOLT_D2XX_CALL
#endif

namespace varnolt {

namespace {

// The library's own signatures: 32-bit DWORD and ULONG arguments, a ULONG status.
using RawWrite = FtStatus(VARNOLT_D2XX_CALL*)(FtHandle, void*, uint32_t, uint32_t*);
using RawRead = FtStatus(VARNOLT_D2XX_CALL*)(FtHandle, void*, uint32_t, uint32_t*);
using RawOpen = FtStatus(VARNOLT_D2XX_CALL*)(int, FtHandle*);
using RawOpenEx = FtStatus(VARNOLT_D2XX_CALL*)(void*, uint32_t, FtHandle*);
using RawListDevices = FtStatus(VARNOLT_D2XX_CALL*)(void*, void*, uint32_t);
using RawHandleOnly = FtStatus(VARNOLT_D2XX_CALL*)(FtHandle);
using RawHandleValue = FtStatus(VARNOLT_D2XX_CALL*)(FtHandle, uint32_t);
using RawHandleTwoValues = FtStatus(VARNOLT_D2XX_CALL*)(FtHandle, uint32_t, uint32_t);
using RawQueueStatus = FtStatus(VARNOLT_D2XX_CALL*)(FtHandle, uint32_t*);
using RawLatency = FtStatus(VARNOLT_D2XX_CALL*)(FtHandle, unsigned char);

std::shared_ptr<void> OpenLibrary(const char* name) {
#ifdef _WIN32
    HMODULE module = LoadLibraryA(name);
    if (module == nullptr) {
        return nullptr;
    }
    return std::shared_ptr<void>(module,
                                 [](void* handle) { FreeLibrary(static_cast<HMODULE>(handle)); });
#else
    void* handle = dlopen(name, RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        return nullptr;
    }
    return std::shared_ptr<void>(handle, [](void* library) { dlclose(library); });
#endif
}

void* FindSymbol(void* library, const char* name) {
#ifdef _WIN32
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
#else
    return dlsym(library, name);
#endif
}

// Resolves names one after another; after the first missing name every later lookup yields
// null, as the entries after it stay unresolved.
class Resolver {
public:
    Resolver(void* library, UserPrompt& prompt) : library_(library), prompt_(prompt) {}

    template <typename Raw>
    Raw find(const char* name) {
        if (failed_) {
            return nullptr;
        }
        void* symbol = FindSymbol(library_, name);
        if (symbol == nullptr) {
            failed_ = true;
            prompt_.message(CantFindEntryMessage(name), kAppCaption, PromptIcon::Warning);
            return nullptr;
        }
        return reinterpret_cast<Raw>(symbol);
    }

private:
    void* library_;
    UserPrompt& prompt_;
    bool failed_ = false;
};

} // namespace

const char* D2xxLibrary::fileName() {
#if defined(_WIN32)
    return "Ftd2xx.dll";
#elif defined(__APPLE__)
    return "libftd2xx.dylib";
#else
    return "libftd2xx.so";
#endif
}

D2xxEntryPoints D2xxLibrary::load(UserPrompt& prompt) {
    D2xxEntryPoints entries;
    entries.owner = OpenLibrary(fileName());
    if (!entries.owner) {
        prompt.message(kCantLoadLibraryMessage, kAppCaption, PromptIcon::Warning);
        return entries;
    }
    Resolver resolver(entries.owner.get(), prompt);
    if (auto write = resolver.find<RawWrite>("FT_Write")) {
        entries.FT_Write = [write](FtHandle handle, const void* buffer, uint32_t count,
                                   uint32_t* written) {
            return write(handle, const_cast<void*>(buffer), count, written);
        };
    }
    if (auto read = resolver.find<RawRead>("FT_Read")) {
        entries.FT_Read = [read](FtHandle handle, void* buffer, uint32_t count, uint32_t* got) {
            return read(handle, buffer, count, got);
        };
    }
    if (auto open = resolver.find<RawOpen>("FT_Open")) {
        entries.FT_Open = [open](int32_t device, FtHandle* handle) { return open(device, handle); };
    }
    if (auto openEx = resolver.find<RawOpenEx>("FT_OpenEx")) {
        entries.FT_OpenEx = [openEx](const void* name, uint32_t flags, FtHandle* handle) {
            return openEx(const_cast<void*>(name), flags, handle);
        };
    }
    if (auto list = resolver.find<RawListDevices>("FT_ListDevices")) {
        entries.FT_ListDevices = [list](void* first, void* second, uint32_t flags) {
            return list(first, second, flags);
        };
    }
    if (auto close = resolver.find<RawHandleOnly>("FT_Close")) {
        entries.FT_Close = [close](FtHandle handle) { return close(handle); };
    }
    if (auto reset = resolver.find<RawHandleOnly>("FT_ResetDevice")) {
        entries.FT_ResetDevice = [reset](FtHandle handle) { return reset(handle); };
    }
    if (auto purge = resolver.find<RawHandleValue>("FT_Purge")) {
        entries.FT_Purge = [purge](FtHandle handle, uint32_t mask) { return purge(handle, mask); };
    }
    if (auto timeouts = resolver.find<RawHandleTwoValues>("FT_SetTimeouts")) {
        entries.FT_SetTimeouts = [timeouts](FtHandle handle, uint32_t readMs, uint32_t writeMs) {
            return timeouts(handle, readMs, writeMs);
        };
    }
    if (auto queue = resolver.find<RawQueueStatus>("FT_GetQueueStatus")) {
        entries.FT_GetQueueStatus = [queue](FtHandle handle, uint32_t* queued) {
            return queue(handle, queued);
        };
    }
    if (auto latency = resolver.find<RawLatency>("FT_SetLatencyTimer")) {
        entries.FT_SetLatencyTimer = [latency](FtHandle handle, uint8_t ms) {
            return latency(handle, ms);
        };
    }
    if (auto baud = resolver.find<RawHandleValue>("FT_SetBaudRate")) {
        entries.FT_SetBaudRate = [baud](FtHandle handle, uint32_t rate) {
            return baud(handle, rate);
        };
    }
    if (auto usb = resolver.find<RawHandleTwoValues>("FT_SetUSBParameters")) {
        entries.FT_SetUSBParameters = [usb](FtHandle handle, uint32_t inBytes, uint32_t outBytes) {
            return usb(handle, inBytes, outBytes);
        };
    }
    return entries;
}

} // namespace varnolt
