#include "sim/VirtualAnalyzer.h"

#include "core/link/protocol/FrameTerminator.h"
#include "core/link/protocol/LinkMessages.h"
#include "core/platform/Clock.h"

#include <algorithm>

namespace varnolt::sim {

namespace {

// Request bytes kept while no terminator arrives; beyond this they are line noise.
constexpr size_t kRequestBufferLimit = 1 << 20;
// Requests remembered for inspection; older ones are forgotten.
constexpr size_t kRequestLogLimit = 100'000;

// Changes the byte before the terminator: a hex digit becomes another upper-case one,
// anything else changes case, so the frame keeps its length but no longer checks.
void CorruptLastByte(AnswerFrame& answer) {
    if (answer.size() <= kFrameTerminator.size()) {
        return;
    }
    uint8_t& last = answer[answer.size() - kFrameTerminator.size() - 1];
    if ((last >= '0' && last <= '8') || (last >= 'A' && last <= 'E')) {
        ++last;
    } else if (last == '9') {
        last = '0';
    } else if (last == 'F') {
        last = 'A';
    } else {
        last ^= 0x20;
    }
}

} // namespace

VirtualAnalyzer::VirtualAnalyzer(const Clock& clock) : clock_(clock) {
}

VirtualAnalyzer& VirtualAnalyzer::processAnalyzer() {
    static SteadyClock clock;
    static VirtualAnalyzer analyzer(clock);
    return analyzer;
}

bool VirtualAnalyzer::live(Session session) const {
    return plugged_ && session != 0 && session == openSession_;
}

FtStatus VirtualAnalyzer::Open(std::string_view description, Session& session) {
    const std::lock_guard lock(mutex_);
    if (!plugged_ || description != kAnalyzerDescription) {
        return kFtDeviceNotFound;
    }
    if (openSession_ != 0) {
        return kFtDeviceNotOpened;
    }
    openSession_ = session = ++lastSession_;
    fromHost_.clear();
    readUnconfirmed_ = false;
    return kFtOk;
}

FtStatus VirtualAnalyzer::Close(Session session) {
    const std::lock_guard lock(mutex_);
    if (session == 0 || session != openSession_) {
        return kFtInvalidHandle;
    }
    openSession_ = 0;
    readUnconfirmed_ = false;
    return kFtOk;
}

FtStatus VirtualAnalyzer::ResetDevice(Session session) {
    const std::lock_guard lock(mutex_);
    if (!live(session)) {
        return kFtInvalidHandle;
    }
    fromHost_.clear();
    return kFtOk;
}

FtStatus VirtualAnalyzer::Purge(Session session, uint32_t mask) {
    const std::lock_guard lock(mutex_);
    if (!live(session)) {
        return kFtInvalidHandle;
    }
    if ((mask & kFtPurgeRx) != 0) {
        toHost_.Clear();
        drained_.notify_all();
    }
    if ((mask & kFtPurgeTx) != 0) {
        fromHost_.clear();
    }
    return kFtOk;
}

FtStatus VirtualAnalyzer::QueueStatus(Session session, uint32_t& queued,
                                      std::chrono::microseconds wait) {
    std::unique_lock lock(mutex_);
    queued = 0;
    if (!live(session)) {
        return kFtInvalidHandle;
    }
    // The host has come back for more: whatever it read before is in its ring by now.
    readUnconfirmed_ = false;
    if (firmware_.loader.bootReportDue) {
        // A loader that started while no host listened reports once one does.
        firmware_.loader.bootReportDue = false;
        toHost_.Push(LoaderLine("POW"), clock_.tickMs(), firmware_.loader.options.bootReportMs);
    }
    queued = toHost_.readable(clock_.tickMs());
    if (queued == 0 && wait.count() > 0) {
        readable_.wait_for(lock, wait,
                           [&] { return !live(session) || toHost_.readable(clock_.tickMs()) > 0; });
        if (!live(session)) {
            return kFtInvalidHandle;
        }
        queued = toHost_.readable(clock_.tickMs());
    }
    return kFtOk;
}

FtStatus VirtualAnalyzer::Read(Session session, std::span<uint8_t> destination, uint32_t& got) {
    const std::lock_guard lock(mutex_);
    got = 0;
    if (!live(session)) {
        return kFtInvalidHandle;
    }
    got = toHost_.Read(destination, clock_.tickMs());
    if (got > 0) {
        readUnconfirmed_ = true;
        drained_.notify_all();
    }
    return kFtOk;
}

FtStatus VirtualAnalyzer::Write(Session session, std::span<const uint8_t> bytes,
                                uint32_t& written) {
    const std::lock_guard lock(mutex_);
    written = 0;
    if (!live(session)) {
        return kFtInvalidHandle;
    }
    written = static_cast<uint32_t>(bytes.size());
    fromHost_.insert(fromHost_.end(), bytes.begin(), bytes.end());
    for (;;) {
        firmware_.now = clock_.tickMs();
        const auto frameEnd = std::search(fromHost_.begin(), fromHost_.end(),
                                          kFrameTerminator.begin(), kFrameTerminator.end());
        auto end = frameEnd;
        size_t endBytes = kFrameTerminator.size();
        bool line = false;
        // The loader reads text lines; a frame ("INI") still ends with the terminator.
        if (firmware_.readsLines()) {
            const auto lineEnd = std::find(fromHost_.begin(), frameEnd, uint8_t{'\n'});
            if (lineEnd != frameEnd) {
                end = lineEnd;
                endBytes = 1;
                line = true;
            }
        }
        if (end == fromHost_.end()) {
            break;
        }
        const std::vector<uint8_t> request(fromHost_.begin(), end);
        fromHost_.erase(fromHost_.begin(), end + static_cast<ptrdiff_t>(endBytes));
        CarryOut(request, line);
        if (!live(session)) {
            break; // the request unplugged the device
        }
    }
    if (fromHost_.size() > kRequestBufferLimit) {
        fromHost_.clear();
    }
    return kFtOk;
}

void VirtualAnalyzer::CarryOut(std::span<const uint8_t> request, bool line) {
    const FaultSet faults = faults_.Next();
    if (faults.has(Fault::RequestLost)) {
        return;
    }
    if (requests_.size() == kRequestLogLimit) {
        requests_.pop_front();
    }
    requests_.push_back({std::string(request.begin(), request.end()), clock_.tickMs()});
    if (faults.has(Fault::Unplug) || faults.has(Fault::Replug)) {
        PullCable();
        plugged_ = faults.has(Fault::Replug);
        return;
    }
    firmware_.now = clock_.tickMs();
    if (faults.has(Fault::Nak)) {
        QueueAnswer(firmware_.Refusal(line), faults, 0);
        return;
    }
    firmware_.answerDelayMs = 0;
    for (AnswerFrame& answer : line ? firmware_.HandleLine(request) : firmware_.Handle(request)) {
        QueueAnswer(std::move(answer), faults, firmware_.answerDelayMs);
    }
    // An analyzer that falls silent on a request says nothing later either.
    for (AnalyzerFirmware::LaterAnswer& answer : firmware_.later) {
        if (!faults.has(Fault::Lost)) {
            toHost_.Push(answer.bytes, clock_.tickMs(), answer.delayMs);
        }
    }
    firmware_.later.clear();
    readable_.notify_all();
}

void VirtualAnalyzer::QueueAnswer(AnswerFrame answer, FaultSet faults, uint32_t transferMs) {
    if (faults.has(Fault::Lost)) {
        return;
    }
    if (faults.has(Fault::CorruptChecksum)) {
        CorruptLastByte(answer);
    }
    const uint32_t now = clock_.tickMs();
    const uint32_t delay =
        std::max(transferMs, faults.has(Fault::Delayed) ? faults_.settings.delayMs : 0U);
    const size_t piece = faults.has(Fault::Split)
                             ? std::max<size_t>(faults_.settings.splitPieceBytes, 1)
                             : answer.size();
    const int copies = faults.has(Fault::Duplicated) ? 2 : 1;
    for (int copy = 0; copy < copies; ++copy) {
        for (size_t offset = 0; offset < answer.size(); offset += piece) {
            const size_t length = std::min(piece, answer.size() - offset);
            toHost_.Push(std::span<const uint8_t>(answer).subspan(offset, length), now, delay);
        }
    }
    readable_.notify_all();
}

std::vector<std::string> VirtualAnalyzer::attachedDescriptions() const {
    const std::lock_guard lock(mutex_);
    std::vector<std::string> descriptions = otherDevices_;
    if (plugged_) {
        descriptions.insert(descriptions.begin(), std::string(kAnalyzerDescription));
    }
    return descriptions;
}

void VirtualAnalyzer::WithFirmware(const std::function<void(AnalyzerFirmware&)>& action) {
    const std::lock_guard lock(mutex_);
    action(firmware_);
}

void VirtualAnalyzer::WithFaults(const std::function<void(FaultPlan&)>& action) {
    const std::lock_guard lock(mutex_);
    action(faults_);
}

void VirtualAnalyzer::PullCable() {
    plugged_ = false;
    openSession_ = 0;
    readUnconfirmed_ = false;
    toHost_.Clear();
    fromHost_.clear();
    readable_.notify_all();
    drained_.notify_all();
}

void VirtualAnalyzer::Unplug() {
    const std::lock_guard lock(mutex_);
    PullCable();
}

void VirtualAnalyzer::PowerCycle() {
    const std::lock_guard lock(mutex_);
    PullCable();
    plugged_ = true;
    firmware_.now = clock_.tickMs();
    BootIntoLoader(firmware_);
    firmware_.loader.bootReportDue = true;
}

void VirtualAnalyzer::PlugIn() {
    const std::lock_guard lock(mutex_);
    plugged_ = true;
}

bool VirtualAnalyzer::pluggedIn() const {
    const std::lock_guard lock(mutex_);
    return plugged_;
}

void VirtualAnalyzer::setOtherDevices(std::vector<std::string> descriptions) {
    const std::lock_guard lock(mutex_);
    otherDevices_ = std::move(descriptions);
}

void VirtualAnalyzer::SendToHost(std::span<const uint8_t> bytes) {
    const std::lock_guard lock(mutex_);
    toHost_.Push(bytes, clock_.tickMs());
    readable_.notify_all();
}

void VirtualAnalyzer::WaitUntilQueuedAtMost(size_t bytes) {
    std::unique_lock lock(mutex_);
    drained_.wait(lock, [&] { return toHost_.queuedBytes() <= bytes || openSession_ == 0; });
}

bool VirtualAnalyzer::bytesInFlight() const {
    const std::lock_guard lock(mutex_);
    if (!plugged_ || openSession_ == 0) {
        return false;
    }
    return readUnconfirmed_ || toHost_.readable(clock_.tickMs()) > 0;
}

void VirtualAnalyzer::NotifyTimeMoved() {
    const std::lock_guard lock(mutex_);
    readable_.notify_all();
}

std::vector<ReceivedRequest> VirtualAnalyzer::requests() const {
    const std::lock_guard lock(mutex_);
    return {requests_.begin(), requests_.end()};
}

void VirtualAnalyzer::ClearRequests() {
    const std::lock_guard lock(mutex_);
    requests_.clear();
}

} // namespace varnolt::sim
