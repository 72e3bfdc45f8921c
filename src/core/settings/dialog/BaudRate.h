#pragma once

#include <cstdint>
#include <string>

namespace varnolt {

// What the analyzer's baud-rate generator makes of a requested speed (50 to 460,800 bit/s).
struct BaudRate {
    uint32_t reload = 0;  // the generator's reload value N, at most 255
    uint32_t actual = 0;  // the speed it really produces, in bit/s
    double deviation = 0; // (actual − requested) in percent of the requested speed
};

// The generator's arithmetic for REQUESTED, which must lie in 50 … 460,800.
[[nodiscard]] BaudRate ComputeBaudRate(uint32_t requested);

// "実際の通信速度： 12370　誤差：  0.203%": the actual speed and the deviation for REQUESTED;
// empty for a speed outside 50 … 460,800.
[[nodiscard]] std::string ActualSpeedText(uint32_t requested);

} // namespace varnolt
