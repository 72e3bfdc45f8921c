#include "core/interop/StampYearsOfCapture.h"

#include "sim/TrafficGenerator.h"

#include <gtest/gtest.h>

#include "../view/CaptureBuilder.h"

namespace varnolt {
namespace {

using namespace varnolt::test;

TEST(StampYearsOfCapture, AreTheYearsTheTimelinePlacesStampsWithoutYearDigitsIn) {
    // Layout-B stamps (month and day only) of 12/10 05:00:00.
    const std::vector<RecordWord> tenthOfDecember = sim::TimeStampWords(2, 0);
    struct Case {
        const char* name;
        std::vector<RecordWord> words;
        CivilTime fileTime;
        std::vector<std::pair<RecordCount, int>> years; // offset -> year
    };
    const Case cases[] = {
        {"the file's year", tenthOfDecember, {2026, 12, 11, 9, 0, 0, 0}, {{0, 2026}}},
        // Saved after New Year: 12/10 lies nearer in the year before.
        {"the year nearest the file", tenthOfDecember, {2027, 1, 3, 9, 0, 0, 0}, {{0, 2026}}},
        {"the year of a stamp with one",
         (Words() << tenthOfDecember << Stamp(1, 0x25, 12 << 6 | 1 << 4, 0, 0)).words(),
         {2027, 1, 3, 9, 0, 0, 0},
         {{0, 2025}}},
        {"across New Year",
         (Words() << StampB(2, 12, 31, 23, 59, 59, 0) << Sd('a') << StampB(2, 1, 1, 0, 0, 1, 0))
             .words(),
         {2027, 1, 1, 0, 10, 0, 0},
         {{0, 2026}, {4, 2026}, {5, 2027}, {8, 2027}}},
        {"no such stamp", {Sd('a')}, {2024, 6, 1, 0, 0, 0, 0}, {{0, StampYears::kNoYear}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto capture = MakeCapture(c.words);
        const StampYears years = StampYearsOf(*capture, {LocalNsOf(c.fileTime), 0});
        for (const auto& [offset, year] : c.years) {
            EXPECT_EQ(years.YearAt(offset), year) << offset;
        }
    }
}

} // namespace
} // namespace varnolt
