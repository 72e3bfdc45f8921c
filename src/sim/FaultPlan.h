#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>

namespace varnolt::sim {

// Faults the virtual analyzer can inject into its handling of one request.
enum class Fault : uint32_t {
    None = 0,
    Lost = 1 << 0,            // the answer never reaches the PC
    Split = 1 << 1,           // the answer reaches the PC in several USB reads
    Delayed = 1 << 2,         // the answer reaches the PC only after FaultSettings::delayMs
    Duplicated = 1 << 3,      // the answer reaches the PC twice
    CorruptChecksum = 1 << 4, // the byte before the terminator is changed
    Nak = 1 << 5,             // the request is refused with "NAK" and not carried out
    Unplug = 1 << 6,          // the device is unplugged as the request arrives
    Replug = 1 << 7,          // unplugged as the request arrives and plugged back in at once:
                              // the session dies, a new one can open the device
    RequestLost = 1 << 8,     // the request never reaches the analyzer: not carried out, no
                              // answer, and not among the requests it received
};

// A set of faults for one request.
class FaultSet {
public:
    constexpr FaultSet() = default;
    constexpr FaultSet(Fault fault) : bits_(static_cast<uint32_t>(fault)) {} // NOLINT: a set of one

    [[nodiscard]] constexpr bool has(Fault fault) const {
        return (bits_ & static_cast<uint32_t>(fault)) != 0;
    }
    [[nodiscard]] constexpr bool empty() const { return bits_ == 0; }
    constexpr FaultSet operator|(FaultSet other) const { return FaultSet(bits_ | other.bits_); }

private:
    constexpr explicit FaultSet(uint32_t bits) : bits_(bits) {}
    uint32_t bits_ = 0;
};

constexpr FaultSet operator|(Fault left, Fault right) {
    return FaultSet(left) | FaultSet(right);
}

// How the faults behave.
struct FaultSettings {
    uint32_t delayMs = 1000;    // of a delayed answer, on the analyzer's clock
    size_t splitPieceBytes = 3; // bytes per USB read of a split answer
};

// Which requests get which faults, in the order the requests arrive: a script, so every run
// with the same requests injects the same faults.
class FaultPlan {
public:
    // The next COUNT requests after those already planned get FAULTS.
    void Add(FaultSet faults, int count = 1);
    // The next COUNT requests after those already planned pass untouched.
    void Pass(int count);
    // Forgets the plan.
    void Clear() { planned_.clear(); }
    // The faults of the request that has just arrived.
    [[nodiscard]] FaultSet Next();
    [[nodiscard]] size_t planned() const { return planned_.size(); }

    FaultSettings settings;

private:
    std::deque<FaultSet> planned_;
};

} // namespace varnolt::sim
