#include "EmulatedFt232h.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>

namespace varnolt::testing {

namespace {

constexpr uint8_t kVendorOut = 0x40;
constexpr uint8_t kVendorIn = 0xC0;
constexpr uint8_t kStandardDeviceIn = 0x80;
constexpr uint8_t kGetDescriptor = 6;
constexpr uint8_t kDeviceDescriptorType = 1;
constexpr uint8_t kConfigurationDescriptorType = 2;
constexpr uint8_t kStringDescriptorType = 3;
constexpr size_t kDeviceDescriptorBytes = 18;

// The modem-status bytes at the head of every bulk-in packet: clear to send and data set
// ready on, the transmitter empty.
constexpr uint8_t kModemStatusByte = 0x31;
constexpr uint8_t kLineStatusByte = 0x60;

// Copies SOURCE into DATA as far as both reach; returns the bytes copied.
int Answer(std::span<const uint8_t> source, std::span<uint8_t> data) {
    const size_t count = std::min(source.size(), data.size());
    std::copy_n(source.begin(), count, data.begin());
    return static_cast<int>(count);
}

} // namespace

EmulatedFt232h::EmulatedFt232h(Ft232hIdentity identity, sim::VirtualAnalyzer* analyzer)
    : identity_(std::move(identity)), analyzer_(analyzer),
      lastPacket_(std::chrono::steady_clock::now()), lastLineLook_(lastPacket_) {
}

void EmulatedFt232h::HostOpened() {
    const std::lock_guard lock(mutex_);
    if (hosts_++ == 0 && analyzer_ != nullptr && !lost_) {
        sim::VirtualAnalyzer::Session session = 0;
        session_ = analyzer_->Open(identity_.product, session) == kFtOk ? session : 0;
    }
}

void EmulatedFt232h::HostClosed() {
    const std::lock_guard lock(mutex_);
    if (hosts_ > 0 && --hosts_ == 0 && session_ != 0) {
        (void)analyzer_->Close(session_);
        session_ = 0;
    }
}

int EmulatedFt232h::Control(const SetupPacket& setup, std::span<uint8_t> data) {
    if (setup.requestType == kVendorOut || setup.requestType == kVendorIn) {
        const std::lock_guard lock(mutex_);
        vendorRequests_.push_back(setup);
        return Vendor(setup, data);
    }
    if (setup.requestType != kStandardDeviceIn || setup.request != kGetDescriptor) {
        return -EPIPE;
    }
    const std::vector<uint8_t> descriptors = Ft232hDescriptors();
    const auto all = std::span<const uint8_t>(descriptors);
    switch (setup.value >> 8) {
    case kDeviceDescriptorType:
        return Answer(all.first(kDeviceDescriptorBytes), data);
    case kConfigurationDescriptorType:
        return Answer(all.subspan(kDeviceDescriptorBytes), data);
    case kStringDescriptorType: {
        const std::vector<uint8_t> text =
            Ft232hString(identity_, static_cast<uint8_t>(setup.value & 0xFF));
        return text.empty() ? -EPIPE : Answer(text, data);
    }
    default:
        return -EPIPE;
    }
}

int EmulatedFt232h::Vendor(const SetupPacket& setup, std::span<uint8_t> data) {
    using namespace ftdi_request;
    switch (setup.request) {
    case kReset:
        if (setup.value == kResetChip) {
            ResetChip();
        } else if (setup.value == kPurgeTowardsHost) {
            towardsHost_.clear();
            if (session_ != 0) {
                (void)analyzer_->Purge(session_, kFtPurgeRx);
            }
        } else if (setup.value == kPurgeFromHost && session_ != 0) {
            (void)analyzer_->Purge(session_, kFtPurgeTx);
        }
        return 0;
    case kSetLatency:
        latencyMs_ = static_cast<uint8_t>(std::max<uint16_t>(setup.value & 0xFF, 1));
        return 0;
    case kGetLatency:
        return Answer(std::array<uint8_t, 1>{latencyMs_}, data);
    case kModemStatus:
        return Answer(std::array<uint8_t, 2>{kModemStatusByte, kLineStatusByte}, data);
    case kReadPins:
        return Answer(std::array<uint8_t, 1>{0xFF}, data);
    case kReadEeprom: {
        // An EEPROM with the vendor and product numbers in words 1 and 2, the rest blank.
        const uint16_t word = setup.index == 1   ? kFtdiVendorId
                              : setup.index == 2 ? kFt232hProductId
                                                 : 0xFFFF;
        return Answer(std::array<uint8_t, 2>{static_cast<uint8_t>(word & 0xFF),
                                             static_cast<uint8_t>(word >> 8)},
                      data);
    }
    case kModemControl:
    case kFlowControl:
    case kBaudRate:
    case kLineProperties:
    case kEventChar:
    case kErrorChar:
    case kBitMode:
    case kWriteEeprom:
    case kEraseEeprom:
        return 0; // recorded; nothing the emulation shows depends on them
    default:
        return -EPIPE;
    }
}

void EmulatedFt232h::ResetChip() {
    towardsHost_.clear();
    lineCredit_ = 0;
    if (session_ != 0) {
        (void)analyzer_->ResetDevice(session_);
    }
}

size_t EmulatedFt232h::TakeFromHost(std::span<const uint8_t> bytes) {
    const std::lock_guard lock(mutex_);
    const Moment now = std::chrono::steady_clock::now();
    if (now < outPausedUntil_) {
        return 0;
    }
    const size_t taken = std::min(bytes.size(), behaviour_.outBytesBeforePause);
    if (behaviour_.outBytesBeforePause != Ft232hBehaviour::kNoLimit) {
        behaviour_.outBytesBeforePause -= taken;
        if (behaviour_.outBytesBeforePause == 0) {
            outPausedUntil_ = now + behaviour_.outPause;
            behaviour_.outBytesBeforePause = behaviour_.pausesRepeat
                                                 ? configured_.outBytesBeforePause
                                                 : Ft232hBehaviour::kNoLimit;
        }
    }
    if (session_ != 0 && taken > 0) {
        uint32_t written = 0;
        if (analyzer_->Write(session_, bytes.first(taken), written) != kFtOk) {
            lost_ = true;
            return 0;
        }
    }
    return taken;
}

void EmulatedFt232h::PullFromLine(Moment now) {
    const double seconds = std::chrono::duration<double>(now - lastLineLook_).count();
    lastLineLook_ = now;
    if (session_ == 0) {
        return;
    }
    const size_t room = kFifoBytes - std::min(kFifoBytes, towardsHost_.size());
    size_t wanted = room;
    if (behaviour_.lineBytesPerSecond != 0) {
        lineCredit_ =
            std::min(lineCredit_ + seconds * static_cast<double>(behaviour_.lineBytesPerSecond),
                     static_cast<double>(kFifoBytes));
        wanted = std::min(room, static_cast<size_t>(lineCredit_));
    }
    if (wanted == 0) {
        return;
    }
    uint32_t queued = 0;
    // Asking first lets an analyzer that has just started report itself.
    if (analyzer_->QueueStatus(session_, queued, std::chrono::microseconds(0)) != kFtOk) {
        lost_ = true;
        return;
    }
    std::array<uint8_t, kFifoBytes> bytes{};
    uint32_t got = 0;
    if (analyzer_->Read(session_, std::span(bytes).first(wanted), got) != kFtOk) {
        lost_ = true;
        return;
    }
    towardsHost_.insert(towardsHost_.end(), bytes.begin(), bytes.begin() + got);
    lineCredit_ -= got;
}

EmulatedFt232h::InTransfer EmulatedFt232h::FillTowardsHost(std::span<uint8_t> transfer,
                                                           size_t filled) {
    const std::lock_guard lock(mutex_);
    const Moment now = std::chrono::steady_clock::now();
    for (;;) {
        if (behaviour_.inBytesBeforePause == 0) {
            inPausedUntil_ = now + behaviour_.inPause;
            behaviour_.inBytesBeforePause = behaviour_.pausesRepeat ? configured_.inBytesBeforePause
                                                                    : Ft232hBehaviour::kNoLimit;
        }
        const size_t room = transfer.size() - filled;
        if (now < inPausedUntil_ || room <= kStatusBytes) {
            return {filled, room <= kStatusBytes};
        }
        PullFromLine(now);
        const size_t dataBytes = std::min({room, size_t{kBulkPacketBytes}}) - kStatusBytes;
        const size_t perPacket = std::min(dataBytes, behaviour_.dataBytesPerPacket);
        if (towardsHost_.size() < perPacket &&
            now - lastPacket_ < std::chrono::milliseconds(latencyMs_)) {
            return {filled, false}; // less than a packet waits until the latency timer runs out
        }
        const size_t count =
            std::min({towardsHost_.size(), perPacket, behaviour_.inBytesBeforePause});
        if (behaviour_.inBytesBeforePause != Ft232hBehaviour::kNoLimit) {
            behaviour_.inBytesBeforePause -= count;
        }
        transfer[filled] = kModemStatusByte;
        transfer[filled + 1] = kLineStatusByte;
        std::copy_n(towardsHost_.begin(), count, transfer.begin() + filled + kStatusBytes);
        towardsHost_.erase(towardsHost_.begin(), towardsHost_.begin() + count);
        filled += kStatusBytes + count;
        lastPacket_ = now;
        if (kStatusBytes + count < kBulkPacketBytes) {
            return {filled, true}; // a short packet ends the transfer
        }
    }
}

bool EmulatedFt232h::analyzerLost() const {
    const std::lock_guard lock(mutex_);
    return lost_;
}

void EmulatedFt232h::Unplugged() {
    const std::lock_guard lock(mutex_);
    if (analyzer_ != nullptr) {
        analyzer_->Unplug();
    }
    session_ = 0;
    hosts_ = 0;
    lost_ = true;
}

void EmulatedFt232h::PluggedIn() {
    const std::lock_guard lock(mutex_);
    if (analyzer_ != nullptr) {
        analyzer_->PlugIn();
    }
    lost_ = false;
    latencyMs_ = kDefaultLatencyMs;
    towardsHost_.clear();
    lineCredit_ = 0;
}

void EmulatedFt232h::PowerCycled() {
    const std::lock_guard lock(mutex_);
    if (analyzer_ != nullptr) {
        analyzer_->PowerCycle();
    }
    session_ = 0;
    hosts_ = 0;
    lost_ = false;
    latencyMs_ = kDefaultLatencyMs;
    towardsHost_.clear();
    lineCredit_ = 0;
}

void EmulatedFt232h::setBehaviour(const Ft232hBehaviour& behaviour) {
    const std::lock_guard lock(mutex_);
    behaviour_ = behaviour;
    configured_ = behaviour;
}

Ft232hBehaviour EmulatedFt232h::behaviour() const {
    const std::lock_guard lock(mutex_);
    return behaviour_;
}

std::vector<SetupPacket> EmulatedFt232h::vendorRequests() const {
    const std::lock_guard lock(mutex_);
    return vendorRequests_;
}

size_t EmulatedFt232h::bytesHeld() const {
    const std::lock_guard lock(mutex_);
    return towardsHost_.size();
}

uint8_t EmulatedFt232h::latencyMs() const {
    const std::lock_guard lock(mutex_);
    return latencyMs_;
}

} // namespace varnolt::testing
