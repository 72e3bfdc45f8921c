#include "core/view/SearchCondition.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "CaptureBuilder.h"

namespace varnolt {
namespace {

using test::Idle;
using test::MakeCapture;
using test::Rd;
using test::RdError;
using test::Sd;
using test::SdError;
using test::Stamp;
using test::StampA;
using test::StampB;
using test::Words;

constexpr PatternElement C(uint8_t code) {
    return {kPatternCharacter, code};
}
constexpr PatternElement kAny{kPatternAny, 0};

SearchCriteria Characters(std::initializer_list<PatternElement> elements) {
    SearchCriteria criteria;
    criteria.kind = kSearchCharacters;
    criteria.set = true;
    criteria.pattern.setElements(std::vector<PatternElement>(elements));
    return criteria;
}

std::optional<HitRange> Search(const CCaptureData& capture, const SearchCriteria& criteria,
                               RingIndex position = kNoRecord,
                               SearchDirection direction = SearchDirection::Forward) {
    SearchCondition search(criteria);
    if (!search.Find(capture, position, direction)) {
        return std::nullopt;
    }
    return search.hit();
}

HitRange SdHit(RingIndex first, RingIndex last) {
    return {first, last, HitKind::SdCharacters};
}

struct SequenceCase {
    const char* name;
    std::vector<RecordWord> words;
    SearchCriteria criteria;
    std::optional<HitRange> hit;
};

TEST(SearchCondition, CharacterSequencesForward) {
    SearchCriteria masks = Characters({{kPatternBitMask, 1}, {kPatternRange, 2}});
    masks.pattern.bitMasks[1] = {0x40, 0x80};   // 01xx xxxx: letters
    masks.pattern.ranges[2] = {1, '0', 1, '9'}; // a digit
    SearchCriteria badSlot = Characters({{kPatternBitMask, 4}});
    SearchCriteria tooLong = Characters({C('A')});
    tooLong.pattern.length = 129;
    const SequenceCase cases[] = {
        {"an RD record inside an SD sequence",
         {Sd('A'), Rd('x'), Sd('B')},
         Characters({C('A'), C('B')}),
         SdHit(0, 2)},
        {"idle and stamp groups inside",
         (Words() << Sd('A') << Idle(5) << Stamp(1) << Sd('B')).words(),
         Characters({C('A'), C('B')}), SdHit(0, 8)},
        {"restart after a failed partial match",
         {Sd('A'), Sd('A'), Sd('A'), Sd('B')},
         Characters({C('A'), C('A'), C('B')}),
         SdHit(1, 3)},
        {"an RD sequence",
         {Sd('A'), Rd('A'), Sd('C'), Rd('B')},
         Characters({C('A'), C('B')}),
         HitRange{1, 3, HitKind::RdCharacters}},
        {"an error record matches its error code",
         {SdError(1)},
         Characters({{kPatternError, 1}}),
         SdHit(0, 0)},
        {"an error record matches any", {SdError(1)}, Characters({kAny}), SdHit(0, 0)},
        {"an error record never matches a character",
         {SdError(1)},
         Characters({C(1)}),
         std::nullopt},
        {"bit mask and range", {Sd('a'), Sd('x'), Sd('5')}, masks, SdHit(1, 2)},
        {"a bit mask above 3 never matches", {Sd('a')}, badSlot, std::nullopt},
        {"an unknown element kind never matches", {Sd('a')}, Characters({{7, 'a'}}), std::nullopt},
        {"an empty pattern finds nothing", {Sd('a')}, Characters({}), std::nullopt},
        {"a pattern above 128 elements finds nothing", {Sd('A')}, tooLong, std::nullopt},
        // After SD fails at the last record while RD is still blocked from an earlier failure,
        // RD must not take up its old partial match again.
        {"nested retries",
         {Sd('B'), Sd('B'), Sd('A'), Rd('A'), Rd('B'), Sd('A')},
         Characters({kAny, C('B'), kAny, C('B')}),
         std::nullopt},
        {"a block ends at its own index",
         {Sd('A'), Rd('A'), Sd('C'), Rd('B'), Rd('C')},
         Characters({C('A'), C('B'), C('C')}),
         HitRange{1, 4, HitKind::RdCharacters}},
    };
    for (const SequenceCase& c : cases) {
        SCOPED_TRACE(c.name);
        const auto capture = MakeCapture(c.words);
        EXPECT_EQ(Search(*capture, c.criteria), c.hit);
    }
}

TEST(SearchCondition, CharacterSequencesBackward) {
    const auto capture = MakeCapture({Sd('A'), Sd('B'), Sd('A'), Sd('B')});
    const SearchCriteria ab = Characters({C('A'), C('B')});
    // From past the newest record, then find previous from the hit's last record.
    EXPECT_EQ(Search(*capture, ab, 4, SearchDirection::Backward), SdHit(2, 3));
    EXPECT_EQ(Search(*capture, ab, 3, SearchDirection::Backward), SdHit(0, 1));
    // Below the pattern length the walk starts at the newest record.
    EXPECT_EQ(Search(*capture, ab, 1, SearchDirection::Backward), SdHit(2, 3));
    // A failed partial match restarts before where it began.
    const auto abb = MakeCapture({Sd('A'), Sd('B'), Sd('B')});
    EXPECT_EQ(Search(*abb, ab, 3, SearchDirection::Backward), SdHit(0, 1));
}

TEST(SearchCondition, StartPositions) {
    const auto capture = MakeCapture({SdError(0), Sd('x'), SdError(0), Sd('A'), Sd('B')});
    SearchCriteria error;
    error.kind = kSearchError;
    error.set = true;
    // The oldest record can be the hit of a search from -1.
    EXPECT_EQ(Search(*capture, error)->first, 0);
    EXPECT_EQ(Search(*capture, error, 0)->first, 2);
    EXPECT_EQ(Search(*capture, error, 2)->first, 0); // wraps over the end
    EXPECT_EQ(Search(*capture, error, 2, SearchDirection::Backward)->first, 0);
    EXPECT_EQ(Search(*capture, error, 0, SearchDirection::Backward)->first, 2);
    // Too few records left for the pattern: the walk starts at index 0.
    const SearchCriteria xe = Characters({C('x'), {kPatternError, 0}});
    EXPECT_EQ(Search(*capture, xe, 3), SdHit(1, 2));
}

SearchCriteria IdleBounds(int32_t lower, int32_t upper) {
    SearchCriteria criteria;
    criteria.kind = kSearchIdle;
    criteria.idleLowerMs = lower;
    criteria.idleUpperMs = upper;
    return criteria;
}

// A ring of 8 records that has wrapped: oldest at index 3, newest at index 2.
std::unique_ptr<CCaptureData> WrappedRing(const std::vector<RecordWord>& ringOrder) {
    auto capture = MakeCapture(std::vector<RecordWord>(3, Rd('z')), 8);
    for (const RecordWord word : ringOrder) {
        capture->Append(word, 0);
    }
    return capture;
}

TEST(SearchCondition, WrappedRings) {
    // Ring order (oldest first) at indices 3, 4, 5, 6, 7, 0, 1, 2.
    const auto capture =
        WrappedRing({Sd('B'), Sd('x'), Sd('x'), Sd('x'), Sd('A'), Sd('B'), Sd('x'), Sd('A')});
    ASSERT_TRUE(capture->wrapped());
    ASSERT_EQ(capture->firstIndex(), 3);
    const SearchCriteria ab = Characters({C('A'), C('B')});
    // Across the end of the array, but never from the newest record to the oldest.
    EXPECT_EQ(Search(*capture, ab), SdHit(7, 0));
    EXPECT_EQ(Search(*capture, ab, 0), SdHit(7, 0)); // around, not newest→oldest
    EXPECT_EQ(Search(*capture, ab, 7, SearchDirection::Backward), SdHit(7, 0));
    EXPECT_EQ(Search(*capture, ab, 4, SearchDirection::Backward), SdHit(7, 0));
    // Forward from the last slot starts at 0; backward from 0 at the last slot.
    SearchCriteria error;
    error.kind = kSearchError;
    const auto errors = WrappedRing(
        {SdError(0), Sd('x'), Sd('x'), Sd('x'), SdError(4), SdError(3), Sd('x'), Sd('x')});
    EXPECT_EQ(Search(*errors, error, 7)->first, 0);
    EXPECT_EQ(Search(*errors, error, 0, SearchDirection::Backward)->first, 7);
    // An idle head at the newest record never takes the oldest records as its continuations:
    // it is cut short, a hit without comparison that ends where it stands.
    const std::vector<RecordWord> idle = Idle(1);
    const auto seam =
        WrappedRing({idle[1], idle[2], Sd('x'), Sd('x'), Sd('x'), Sd('x'), Sd('x'), idle[0]});
    EXPECT_EQ(Search(*seam, IdleBounds(1000, 0)), (HitRange{2, 2, HitKind::Idle}));
}

TEST(SearchCondition, ErrorSetChoosesErrorKindsInBothDirections) {
    const auto capture = MakeCapture({SdError(0), RdError(2), SdError(5), SdError(2)});
    SearchCriteria pf;
    pf.kind = kSearchError;
    pf.errorSet = 0x20;
    EXPECT_EQ(Search(*capture, pf), (HitRange{1, 1, HitKind::Error}));
    EXPECT_EQ(Search(*capture, pf, 1)->first, 3);
    pf.errorSet = 0x07; // no error code maps to these bits
    EXPECT_EQ(Search(*capture, pf), std::nullopt);
}

TEST(SearchCondition, IdleBoundsAndResolutions) {
    struct Case {
        uint32_t value;
        uint8_t resolution;
        int32_t lower;
        int32_t upper;
        bool hit;
    };
    const Case cases[] = {
        {99, 1, 100, 0, false},
        {100, 1, 100, 0, true},
        {1, 3, 100, 0, true},
        {10, 2, 0, 100, true},
        {11, 2, 0, 100, false},
        {7, 9, 1, 0, false},
        {0xFFFFFFFF, 3, 0, kMaxIdleBoundMs, false}, // 429,496,729,500 ms: no 32-bit wrap
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.value << " res " << int(c.resolution));
        const auto capture =
            MakeCapture((Words() << Sd('a') << Idle(c.value, c.resolution) << Sd('b')).words());
        const auto hit = Search(*capture, IdleBounds(c.lower, c.upper));
        EXPECT_EQ(hit.has_value(), c.hit);
        if (hit) {
            EXPECT_EQ(*hit, (HitRange{1, 3, HitKind::Idle}));
        }
    }
}

TEST(SearchCondition, IdleGroupsNearTheEndAndFindPrevious) {
    // An idle head cut short at the newest record is a hit without comparison, ending there.
    const auto cut = MakeCapture({Sd('a'), Idle(1)[0]});
    EXPECT_EQ(Search(*cut, IdleBounds(500, 0)), (HitRange{1, 1, HitKind::Idle}));
    // Find previous after an idle hit at 10 … 12 starts at record 9.
    Words words;
    for (int i = 0; i < 7; ++i) {
        words << Sd('x');
    }
    words << Idle(5) << Idle(5) << Sd('y');
    const auto capture = MakeCapture(words.words());
    SearchCondition search(IdleBounds(1, 0));
    ASSERT_TRUE(search.Find(*capture, 8, SearchDirection::Forward));
    EXPECT_EQ(search.hit(), (HitRange{10, 12, HitKind::Idle}));
    ASSERT_TRUE(search.Find(*capture, search.hit().last, SearchDirection::Backward));
    EXPECT_EQ(search.hit(), (HitRange{7, 9, HitKind::Idle}));
    // A miss keeps the hit.
    SearchCondition none(IdleBounds(9999, 0));
    EXPECT_FALSE(none.Find(*capture, kNoRecord, SearchDirection::Forward));
    EXPECT_EQ(none.hit(), HitRange{});
}

TEST(SearchCondition, TimeStampRanges) {
    SearchCriteria range;
    range.kind = kSearchDateTime;
    range.lowerDate = {2000, 1, 6, 1, 0, 0, 0, 0};
    range.lowerTime = {2000, 1, 6, 1, 0, 0, 0, 0};
    range.upperDate = {2000, 1, 6, 1, 0, 0, 0, 0};
    range.upperTime = {2000, 1, 6, 1, 12, 0, 0, 0};
    struct Case {
        const char* name;
        std::vector<RecordWord> stamp;
        std::optional<HitRange> hit;
    };
    const HitRange stampHit{1, 4, HitKind::TimeStamp};
    const Case cases[] = {
        {"hundredths above the upper time", StampB(2, 1, 1, 12, 0, 0, 50), std::nullopt},
        {"exactly the upper time", StampB(2, 1, 1, 12, 0, 0, 0), stampHit},
        {"no year digits compare as 00", StampB(5, 1, 1, 11, 59, 59, 99), stampHit},
        {"a stamp with year 00", StampA(0, 1, 1, 0, 0, 0), stampHit},
        {"a stamp with year 01", StampA(1, 1, 1, 0, 0, 0), std::nullopt},
        // Cut short by a character: a hit without comparison, never past the newest record.
        {"a stamp cut short", {Stamp(1)[0], Sd('x')}, HitRange{1, 3, HitKind::TimeStamp}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto capture = MakeCapture((Words() << Sd('a') << c.stamp << Sd('b')).words());
        EXPECT_EQ(Search(*capture, range), c.hit);
    }
    range.upperDate.year = 2001; // the year counts in layout A
    const auto capture = MakeCapture(StampA(1, 1, 1, 0, 0, 0));
    EXPECT_TRUE(Search(*capture, range).has_value());
}

TEST(SearchCondition, StampsWithoutYearDigitsCompareInTheYearsTheCaptureGivesThem) {
    SearchCriteria range;
    range.kind = kSearchDateTime;
    range.lowerDate = range.lowerTime = {2026, 12, 4, 10, 4, 59, 0, 0};
    range.upperDate = range.upperTime = {2026, 12, 4, 10, 5, 1, 0, 0};
    // A layout-A stamp of 2025-12-10 05:00:00, then layout-B ones of 12/10 05:00:00 (2026) and,
    // after New Year, 01/01 00:00:00 (2027).
    const auto capture =
        MakeCapture((Words() << StampA(25, 12, 10, 5, 0, 0) << Sd('a')
                             << StampB(2, 12, 10, 5, 0, 0, 0) << StampB(2, 1, 1, 0, 0, 0, 0))
                        .words());
    SearchCondition search(range);
    EXPECT_FALSE(search.Find(*capture, kNoRecord, SearchDirection::Forward)); // year 00
    StampYears years;
    years.Note(5, 2026);
    years.Note(9, 2027);
    search.setStampYears(years);
    for (const SearchDirection direction : {SearchDirection::Forward, SearchDirection::Backward}) {
        ASSERT_TRUE(search.Find(*capture, kNoRecord, direction));
        EXPECT_EQ(search.hit(), (HitRange{5, 8, HitKind::TimeStamp}));
    }
    range.lowerDate = range.lowerTime = {2027, 1, 5, 1, 0, 0, 0, 0};
    range.upperDate = range.upperTime = {2027, 1, 5, 1, 0, 1, 0, 0};
    search.setCriteria(range);
    ASSERT_TRUE(search.Find(*capture, kNoRecord, SearchDirection::Forward));
    EXPECT_EQ(search.hit(), (HitRange{9, 12, HitKind::TimeStamp}));
    // The stamp with year digits keeps its own year.
    range.lowerDate = range.lowerTime = {2025, 12, 3, 10, 4, 59, 0, 0};
    range.upperDate = range.upperTime = {2025, 12, 3, 10, 5, 1, 0, 0};
    search.setCriteria(range);
    ASSERT_TRUE(search.Find(*capture, 0, SearchDirection::Forward)); // around to the first
    EXPECT_EQ(search.hit(), (HitRange{0, 3, HitKind::TimeStamp}));
}

TEST(SearchCondition, EmptyCaptureAndUnknownKindFindNothing) {
    const auto empty = MakeCapture({});
    EXPECT_EQ(Search(*empty, Characters({kAny})), std::nullopt);
    const auto capture = MakeCapture({Sd('a')});
    SearchCriteria unknown = Characters({kAny});
    unknown.kind = 7;
    EXPECT_EQ(Search(*capture, unknown), std::nullopt);
}

} // namespace
} // namespace varnolt
