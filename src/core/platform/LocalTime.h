#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>

namespace varnolt {

// Seconds since 1970-01-01 00:00:00 UTC.
using EpochSeconds = int64_t;

// When the file at PATH was last written; nullopt when it cannot be read.
[[nodiscard]] std::optional<EpochSeconds> FileModificationTime(const std::filesystem::path& path);

// Seconds since 1970-01-01 00:00:00 UTC now.
[[nodiscard]] EpochSeconds CurrentEpochSeconds();

// How far this computer's local time is ahead of UTC at the instant AT (daylight saving time
// included), in seconds.
[[nodiscard]] int32_t LocalUtcOffset(EpochSeconds at);

} // namespace varnolt
