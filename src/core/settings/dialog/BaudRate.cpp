#include "core/settings/dialog/BaudRate.h"

#include "core/settings/SettingsValidation.h"
#include "core/settings/dialog/DialogFormat.h"

namespace varnolt {

namespace {

struct GeneratorRange {
    uint32_t below;    // the first speed of the next range
    uint32_t clock;    // the clock in 0.1 Hz
    uint32_t prescale; // Q
    uint32_t divider;  // D
};

// Slow speeds run from a halved clock, and the prescaler and divider shrink as the speed grows.
constexpr GeneratorRange kRanges[] = {
    {57, 294'912'000, 64, 64},  {224, 589'824'000, 64, 64}, {894, 589'824'000, 16, 64},
    {3573, 589'824'000, 4, 64}, {7180, 589'824'000, 1, 64}, {UINT32_MAX, 589'824'000, 1, 32},
};

// Tenths to units, rounding half up.
uint32_t RoundTenths(uint32_t tenths) {
    return tenths / 10 + (tenths % 10 >= 5 ? 1 : 0);
}

} // namespace

BaudRate ComputeBaudRate(uint32_t requested) {
    const uint32_t speed = requested == 0 ? 1 : requested;
    const GeneratorRange* range = &kRanges[0];
    while (speed >= range->below) {
        ++range;
    }
    const uint64_t perBit = uint64_t{range->divider} * range->prescale * speed;
    const uint64_t ticks = range->clock / perBit;
    const uint32_t count = ticks > 10 ? static_cast<uint32_t>(ticks - 10) : 0;
    BaudRate rate;
    rate.reload = RoundTenths(count);
    if (rate.reload > 255) {
        rate.reload = 255;
    }
    const uint32_t tenthHz = range->clock / range->prescale / range->divider / (rate.reload + 1);
    rate.actual = RoundTenths(tenthHz);
    const auto difference = static_cast<int32_t>((static_cast<int64_t>(rate.actual) - speed) * 100);
    rate.deviation = static_cast<double>(difference) / speed;
    return rate;
}

std::string ActualSpeedText(uint32_t requested) {
    // A stored speed outside the analyzer's range (possible after a remote read) has no
    // generator setting to show.
    if (requested < kSpeedLimit.low || requested > kSpeedLimit.high) {
        return {};
    }
    const BaudRate rate = ComputeBaudRate(requested);
    return PrintfText("実際の通信速度：%6d　誤差：%7.3f%%", static_cast<int>(rate.actual),
                      rate.deviation);
}

} // namespace varnolt
