#include "core/interop/CaptureTime.h"

#include "core/platform/LocalTime.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace varnolt {

namespace {

using namespace std::chrono;

int Digits2(uint32_t packed, int high) {
    return static_cast<int>(DigitAt(packed, high) * 10 + DigitAt(packed, high - 1));
}

bool ValidDate(int year, int month, int day) {
    return year_month_day{std::chrono::year{year}, std::chrono::month{static_cast<unsigned>(month)},
                          std::chrono::day{static_cast<unsigned>(day)}}
        .ok();
}

constexpr DurationNs kHalfDay = kNsPerDay / 2;
// A date a year on or back lies at least 365 days away: from less than 182 days off the clock it
// lies more than 182 days off.
constexpr DurationNs kHalfYear = 182 * kNsPerDay;

} // namespace

TimeBase TimeBase::ForFile(const std::filesystem::path& path) {
    std::optional<EpochSeconds> written;
    if (!path.empty()) {
        written = FileModificationTime(path);
    }
    const EpochSeconds at = written.value_or(CurrentEpochSeconds());
    const int32_t offset = LocalUtcOffset(at);
    return {(at + offset) * kNsPerSecond, offset};
}

bool CivilTime::valid() const {
    return month >= 1 && month <= 12 && day >= 1 && day <= 31 && ValidDate(year, month, day) &&
           hour >= 0 && hour < 24 && minute >= 0 && minute < 60 && second >= 0 && second < 60;
}

LocalNs LocalNsOf(const CivilTime& civil) {
    const sys_days days{std::chrono::year{civil.year} /
                        std::chrono::month{static_cast<unsigned>(civil.month)} /
                        std::chrono::day{static_cast<unsigned>(civil.day)}};
    const int64_t seconds = int64_t{days.time_since_epoch().count()} * 86'400 + civil.hour * 3600 +
                            civil.minute * 60 + civil.second;
    return seconds * kNsPerSecond + civil.nanosecond;
}

CivilTime CivilTimeOf(LocalNs at) {
    int64_t days = at / kNsPerDay;
    int64_t rest = at % kNsPerDay;
    if (rest < 0) {
        rest += kNsPerDay;
        --days;
    }
    const year_month_day date{sys_days{std::chrono::days{days}}};
    CivilTime civil;
    civil.year = static_cast<int>(date.year());
    civil.month = static_cast<int>(static_cast<unsigned>(date.month()));
    civil.day = static_cast<int>(static_cast<unsigned>(date.day()));
    const int64_t seconds = rest / kNsPerSecond;
    civil.hour = static_cast<int>(seconds / 3600);
    civil.minute = static_cast<int>(seconds / 60 % 60);
    civil.second = static_cast<int>(seconds % 60);
    civil.nanosecond = rest % kNsPerSecond;
    return civil;
}

std::string FormatLocalTime(LocalNs at) {
    const CivilTime c = CivilTimeOf(at);
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d.%06lld", c.year, c.month, c.day,
                  c.hour, c.minute, c.second, static_cast<long long>(c.nanosecond / kNsPerUs));
    return text;
}

std::optional<int> StampYear(const TimeStamp& stamp) {
    if (stamp.kind < 1 || stamp.kind > 5 || LayoutOfStampKind(stamp.kind) != StampLayout::A) {
        return std::nullopt;
    }
    const int year = 2000 + Digits2(stamp.digits.date, 5);
    if (!ValidDate(year, Digits2(stamp.digits.date, 3), Digits2(stamp.digits.date, 1))) {
        return std::nullopt;
    }
    return year;
}

std::optional<StampMoment> StampMomentOf(const TimeStamp& stamp, int year, LocalNs near,
                                         bool adjustYear) {
    if (stamp.kind < 1 || stamp.kind > 5) {
        return std::nullopt;
    }
    const StampDigits& d = stamp.digits;
    const bool layoutA = LayoutOfStampKind(stamp.kind) == StampLayout::A;
    CivilTime civil;
    civil.hour = Digits2(d.time, 7);
    civil.minute = Digits2(d.time, 5);
    civil.second = Digits2(d.time, 3);
    DurationNs resolution = kNsPerSecond;
    if (!layoutA) {
        civil.nanosecond = (DigitAt(d.time, 1) * 10 + DigitAt(d.time, 0)) * 10 * kNsPerMs;
        resolution = 10 * kNsPerMs;
    }
    if (stamp.kind == 3) { // the date alone
        civil.hour = civil.minute = civil.second = 0;
        resolution = kNsPerDay;
    }
    civil.month = Digits2(d.date, 3);
    civil.day = Digits2(d.date, 1);
    if (layoutA) {
        civil.year = 2000 + Digits2(d.date, 5);
        if (civil.valid()) {
            return StampMoment{LocalNsOf(civil), resolution};
        }
    } else {
        // No year digits: YEAR, or the year next to it that lies closer to the clock.
        std::optional<LocalNs> best;
        for (const int candidate : {year, year - 1, year + 1}) {
            // Within half a year of the clock, the years next to YEAR lie further off.
            if (best && (!adjustYear || std::llabs(*best - near) < kHalfYear)) {
                break;
            }
            civil.year = candidate;
            if (civil.valid()) {
                const LocalNs at = LocalNsOf(civil);
                if (!best || std::llabs(at - near) < std::llabs(*best - near)) {
                    best = at;
                }
            }
        }
        if (best) {
            return StampMoment{*best, resolution};
        }
    }
    if (stamp.kind == 3 || stamp.kind == 1 || stamp.kind == 2) {
        return std::nullopt; // a stamp that shows its date names no real one
    }
    // A time-only stamp whose date digits are empty: the day nearest the clock.
    const CivilTime nearCivil = CivilTimeOf(near);
    civil.year = nearCivil.year;
    civil.month = nearCivil.month;
    civil.day = nearCivil.day;
    if (!civil.valid()) {
        return std::nullopt;
    }
    LocalNs at = LocalNsOf(civil);
    if (at < near - kHalfDay) {
        at += kNsPerDay;
    } else if (at > near + kHalfDay) {
        at -= kNsPerDay;
    }
    return StampMoment{at, resolution};
}

} // namespace varnolt
