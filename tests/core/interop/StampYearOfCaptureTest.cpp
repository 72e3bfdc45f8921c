#include "core/interop/StampYearOfCapture.h"

#include "sim/TrafficGenerator.h"

#include <gtest/gtest.h>

#include "../view/CaptureBuilder.h"

namespace varnolt {
namespace {

using namespace varnolt::test;

TEST(StampYearOfCapture, IsTheYearTheTimelinePlacesStampsWithoutYearDigitsIn) {
    // Layout-B stamps of 12/10 05:00:00 (the virtual analyzer's clock start).
    const std::vector<RecordWord> withoutYear = sim::TimeStampWords(2, 0);
    struct Case {
        const char* name;
        std::vector<RecordWord> words;
        CivilTime fileTime;
        int year;
    };
    const Case cases[] = {
        {"the file's year", withoutYear, {2026, 12, 11, 9, 0, 0, 0}, 2026},
        // Saved after New Year: 12/10 lies nearer in the year before.
        {"the year nearest the file", withoutYear, {2027, 1, 3, 9, 0, 0, 0}, 2026},
        {"the year of a stamp with one",
         (Words() << sim::TimeStampWords(5, 0) << Stamp(1, 0x25, 12 << 6 | 1 << 4, 0, 0)).words(),
         {2027, 1, 3, 9, 0, 0, 0},
         2025},
        {"no such stamp", {Sd('a')}, {2024, 6, 1, 0, 0, 0, 0}, 2024},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto capture = MakeCapture(c.words);
        EXPECT_EQ(YearOfStampsWithoutYear(*capture, {LocalNsOf(c.fileTime), 0}), c.year);
    }
}

} // namespace
} // namespace varnolt
