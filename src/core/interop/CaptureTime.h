#pragma once

#include "core/capture/ExportRecords.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace varnolt {

// A moment on the analyzer's clock: nanoseconds since 1970-01-01 00:00:00 of the local time
// its stamps show (they carry no zone).
using LocalNs = int64_t;
// A length of time in nanoseconds.
using DurationNs = int64_t;

inline constexpr DurationNs kNsPerUs = 1'000;
inline constexpr DurationNs kNsPerMs = 1'000'000;
inline constexpr DurationNs kNsPerSecond = 1'000'000'000;
inline constexpr DurationNs kNsPerDay = 86'400 * kNsPerSecond;

// Where a capture's clock stands when its stamps leave it open, and how it maps to UTC.
struct TimeBase {
    LocalNs fileTime = 0;         // the capture file's modification time, local
    int32_t utcOffsetSeconds = 0; // local time = UTC + this

    // For the capture file at PATH: its modification time in this computer's zone; the present
    // moment when PATH is empty or cannot be read (a capture that was never saved).
    [[nodiscard]] static TimeBase ForFile(const std::filesystem::path& path);

    // AT as microseconds since 1970-01-01 00:00:00 UTC.
    [[nodiscard]] int64_t utcMicroseconds(LocalNs at) const {
        return at / kNsPerUs - int64_t{utcOffsetSeconds} * 1'000'000;
    }
};

// A date and time of day; valid when it names a real date and a time below 24:00:00.
struct CivilTime {
    int year = 1970;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int64_t nanosecond = 0;
    [[nodiscard]] bool valid() const;
};

// The moment of a valid CIVIL time, and back.
[[nodiscard]] LocalNs LocalNsOf(const CivilTime& civil);
[[nodiscard]] CivilTime CivilTimeOf(LocalNs at);

// AT as "YYYY-MM-DD HH:MM:SS.ffffff".
[[nodiscard]] std::string FormatLocalTime(LocalNs at);

// What a time stamp says about the clock: the moment it shows and how long that lasts (its
// resolution: a second, a hundredth, a whole day for a date-only stamp), so the true moment lies
// in AT ... AT + RESOLUTION.
struct StampMoment {
    LocalNs at = 0;
    DurationNs resolution = 0;
};

// The year a layout-A stamp spells (20YY) when its date is a real one; nullopt for layout B,
// which has no year digits, and for a date that does not exist.
[[nodiscard]] std::optional<int> StampYear(const TimeStamp& stamp);

// The moment STAMP shows. A stamp without year digits takes YEAR, or, with ADJUSTYEAR, the year
// before or after it when that lies closer to NEAR (a capture across New Year); a stamp whose date
// digits name no date (a time-only stamp of an analyzer that leaves them empty) takes the day that
// puts it within twelve hours of NEAR. nullopt for a kind other than 1 ... 5 or a time that does
// not exist.
[[nodiscard]] std::optional<StampMoment> StampMomentOf(const TimeStamp& stamp, int year,
                                                       LocalNs near, bool adjustYear = true);

} // namespace varnolt
