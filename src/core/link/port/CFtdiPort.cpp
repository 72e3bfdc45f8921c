#include "core/link/port/CFtdiPort.h"

#include "core/link/port/DebugOutput.h"
#include "core/link/port/ThreadPriority.h"
#include "core/link/protocol/LinkMessages.h"
#include "core/platform/Clock.h"
#include "core/platform/UserPrompt.h"

#include <algorithm>
#include <chrono>
#include <cstring>

namespace varnolt {

namespace {

// Extra list buffers beyond the count the bridge reported, for devices plugged in between the
// count and the list.
constexpr uint32_t kSpareListEntries = 8;

// How long the reader rests when the bridge refuses the handle or the ring has no room: both
// last far longer than a poll, and a loop without pause would only burn a core.
constexpr auto kReaderRest = std::chrono::microseconds(200);

// A status by which the bridge refuses the handle itself; nothing more will be accepted.
bool RefusesHandle(FtStatus status) {
    return status == kFtInvalidHandle || status == kFtDeviceNotOpened ||
           status == kFtDeviceNotFound;
}

} // namespace

CFtdiPort::CFtdiPort(D2xxApi& api, UserPrompt& prompt, const Clock& clock, ReceiveRing& ring)
    : api_(api), prompt_(prompt), clock_(clock), ring_(ring), staging_(kStagingBytes) {
}

CFtdiPort::~CFtdiPort() {
    if (open_) {
        Close();
    }
    entries_ = {};
}

void CFtdiPort::LoadD2xx() {
    entries_ = api_.load(prompt_);
}

template <typename Entry>
bool CFtdiPort::usable(const Entry& entry, std::string_view name) {
    if (entry) {
        return true;
    }
    prompt_.message(EntryNotValidMessage(name), kAppCaption, PromptIcon::Warning);
    return false;
}

bool CFtdiPort::Open() {
    if (open_) {
        Close();
    }
    ring_.reset();
    description_ = kAnalyzerDescription;
    if (!usable(entries_.FT_OpenEx, "FT_OpenEx")) {
        return false;
    }
    FtHandle handle = nullptr;
    const FtStatus opened = entries_.FT_OpenEx(description_.c_str(), kFtOpenByDescription, &handle);
    accessRefused_ = opened == kFtNoPermission;
    if (opened != kFtOk) {
        return false;
    }
    handle_ = handle;
    // Statuses of the configuration calls are not examined: a bridge that refuses one still
    // moves bytes, only with other latencies.
    if (usable(entries_.FT_ResetDevice, "FT_ResetDevice")) {
        entries_.FT_ResetDevice(handle_);
    }
    const bool timeouts = usable(entries_.FT_SetTimeouts, "FT_SetTimeouts");
    if (timeouts) {
        entries_.FT_SetTimeouts(handle_, kTimeoutMs, kTimeoutMs);
    }
    if (usable(entries_.FT_Purge, "FT_Purge")) {
        entries_.FT_Purge(handle_, kFtPurgeRx);
    }
    if (timeouts) {
        entries_.FT_SetTimeouts(handle_, kTimeoutMs, kTimeoutMs);
    }
    if (usable(entries_.FT_SetLatencyTimer, "FT_SetLatencyTimer")) {
        entries_.FT_SetLatencyTimer(handle_, kLatencyMs);
    }
    if (usable(entries_.FT_SetUSBParameters, "FT_SetUSBParameters")) {
        entries_.FT_SetUSBParameters(handle_, kInTransferBytes, kOutTransferBytes);
    }
    // The reader cannot run without these two; rather than a reader that reports from its own
    // thread without end, the port does not open.
    const bool canRead = usable(entries_.FT_Read, "FT_Read");
    const bool canPoll = usable(entries_.FT_GetQueueStatus, "FT_GetQueueStatus");
    if (!canRead || !canPoll) {
        closeDevice();
        return false;
    }
    open_ = true;
    Drain();
    stop_.store(false, std::memory_order_release);
    deviceLost_.store(false, std::memory_order_release);
    reader_ = std::thread(&CFtdiPort::ReaderThreadProc, this);
    return true;
}

void CFtdiPort::Drain() {
    for (int read = 0; read < kDrainReads; ++read) {
        uint32_t got = 0;
        entries_.FT_Read(handle_, staging_.data(), kDrainReadBytes, &got);
        if (got == 0) {
            break;
        }
    }
    ring_.reset();
}

void CFtdiPort::ReaderThreadProc() {
    RaiseCurrentThreadPriority();
    while (!stop_.load(std::memory_order_acquire)) {
        uint32_t queued = 0;
        if (entries_.FT_GetQueueStatus(handle_, &queued) != kFtOk) {
            deviceLost_.store(true, std::memory_order_release);
            std::this_thread::sleep_for(kReaderRest);
            continue;
        }
        if (queued == 0) {
            continue;
        }
        // Never more than the ring can take without overwriting unread bytes: the rest stays
        // in the bridge until the consumer makes room.
        const auto room = static_cast<uint32_t>(ring_.freeBytes());
        if (room == 0) {
            std::this_thread::sleep_for(kReaderRest);
            continue;
        }
        const uint32_t wanted = std::min({queued, kStagingBytes, room});
        uint32_t got = 0;
        if (entries_.FT_Read(handle_, staging_.data(), wanted, &got) == kFtOk && got > 0) {
            ring_.append(std::span<const uint8_t>(staging_.data(), std::min(got, wanted)));
        }
    }
}

void CFtdiPort::closeDevice() {
    if (handle_ == nullptr) {
        return;
    }
    if (usable(entries_.FT_ResetDevice, "FT_ResetDevice")) {
        entries_.FT_ResetDevice(handle_);
    }
    if (usable(entries_.FT_Close, "FT_Close")) {
        entries_.FT_Close(handle_);
    }
    // A closed handle is never used again, not even by IsAttached.
    handle_ = nullptr;
}

void CFtdiPort::Close() {
    stop_.store(true, std::memory_order_release);
    if (reader_.joinable()) {
        reader_.join();
    }
    closeDevice();
    open_ = false;
}

bool CFtdiPort::IsAttached() {
    // A closed port holds no handle (Close let it go), so no stale handle is closed again here.
    description_ = kAnalyzerDescription;
    if (!usable(entries_.FT_ListDevices, "FT_ListDevices")) {
        return false;
    }
    uint32_t count = 0;
    if (entries_.FT_ListDevices(&count, nullptr, kFtListNumberOnly) != kFtOk) {
        DebugOutput("FT_ListDevices failed\r\n");
        return false;
    }
    DebugOutput(std::to_string(count) + " device(s) attached:\r\n");
    if (count == 0) {
        return false;
    }
    if (entries_.FT_ListDevices(&count, nullptr, kFtListNumberOnly) != kFtOk) {
        DebugOutput("FT_ListDevices failed\r\n");
        return false;
    }
    // One buffer per device, however many there are, and the terminating null pointer.
    const uint32_t slots = count + kSpareListEntries;
    std::vector<char> texts(static_cast<size_t>(slots) * kFtListEntryBytes, '\0');
    std::vector<char*> pointers(static_cast<size_t>(slots) + 1, nullptr);
    for (uint32_t slot = 0; slot < slots; ++slot) {
        pointers[slot] = texts.data() + static_cast<size_t>(slot) * kFtListEntryBytes;
    }
    uint32_t listed = 0;
    if (entries_.FT_ListDevices(pointers.data(), &listed, kFtListAll | kFtOpenByDescription) !=
        kFtOk) {
        DebugOutput("ListDevices failed\r\n");
        return false;
    }
    bool attached = false;
    for (uint32_t slot = 0; slot < std::min(listed, slots); ++slot) {
        char* text = pointers[slot];
        text[kFtListEntryBytes - 1] = '\0';
        const std::string_view listedDescription(text, std::strlen(text));
        DebugOutput(std::string(listedDescription) + "\r\n");
        if (listedDescription == description_) {
            attached = true;
        }
    }
    return attached;
}

void CFtdiPort::Write(std::span<const uint8_t> bytes) {
    writeStart_ = clock_.tickMs();
    writeBudget_ = kWriteBudgetMs;
    if (!usable(entries_.FT_Write, "FT_Write")) {
        return;
    }
    size_t sent = 0;
    while (sent < bytes.size()) {
        const auto remaining =
            static_cast<uint32_t>(std::min<size_t>(bytes.size() - sent, UINT32_MAX));
        uint32_t written = 0;
        const FtStatus status =
            entries_.FT_Write(handle_, bytes.data() + sent, remaining, &written);
        sent += std::min(written, remaining);
        // A closed or vanished handle will take nothing however long the budget.
        if (RefusesHandle(status)) {
            deviceLost_.store(true, std::memory_order_release);
            break;
        }
        const uint32_t now = clock_.tickMs();
        if (now < writeStart_) {
            writeStart_ = now; // the tick count wrapped: the budget starts afresh
        }
        if (now - writeStart_ > writeBudget_) {
            break;
        }
    }
}

void CFtdiPort::Write(std::string_view text) {
    Write(std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}

} // namespace varnolt
