#include "core/view/DataInputModel.h"

#include <gtest/gtest.h>

#include <string>

namespace varnolt {
namespace {

std::string Glyph(GlyphCode code) {
    return GlyphCodeBytes(code);
}

TEST(DataInputModel, ModesGiveCaptionLimitAndPages) {
    EXPECT_EQ(ModeInfo(DataInputMode::Search).firstButton, "検索");
    EXPECT_EQ(ModeInfo(DataInputMode::Search).pages.size(), 5U);
    EXPECT_EQ(ModeInfo(DataInputMode::TransmitData).textLimit, 128U);
    EXPECT_EQ(ModeInfo(DataInputMode::TriggerCondition).textLimit, 16U);
    EXPECT_EQ(ModeInfo(DataInputMode::TriggerCondition).pages.size(), 2U);
    EXPECT_EQ(ModeInfo(DataInputMode::SingleCode).firstButton, "OK");
}

TEST(DataInputModel, SearchOpensOnThePageOfTheCriteriasKind) {
    const std::pair<int32_t, DataInputPage> cases[] = {
        {kSearchCharacters, DataInputPage::Characters},
        {kSearchError, DataInputPage::Errors},
        {kSearchIdle, DataInputPage::Idle},
        {kSearchDateTime, DataInputPage::DateTime},
        {9, DataInputPage::Characters},
    };
    for (const auto& [kind, page] : cases) {
        SearchCriteria criteria;
        criteria.kind = kind;
        EXPECT_EQ(DataInputModel(DataInputMode::Search, criteria).firstPage(), page) << kind;
    }
    SearchCriteria error;
    error.kind = kSearchError;
    EXPECT_EQ(DataInputModel(DataInputMode::TriggerCondition, error).firstPage(),
              DataInputPage::Characters);
}

TEST(DataInputModel, IdleBoundsParseAsSecondsWithinLimits) {
    const std::pair<const char*, int32_t> cases[] = {
        {"0.1", 100},
        {"1.2345", 1234},
        {" 2 ", 2000},
        {"", 0},
        {"abc", 0},
        {"1.5s", 0},
        {"-1", 0},
        {"20000", kMaxIdleBoundMs},
        {"1e30", kMaxIdleBoundMs},
        {"nan", 0},
        {"9999.999", 9999999},
        // Read as the decimal typed, not as the nearest binary fraction.
        {"1.001", 1001},
        {"0.29", 290},
        {"4.35", 4350},
        {"0.0015", 1},
        {".5", 500},
        {"2.", 2000},
        {"+3", 3000},
        {"-0", 0},
        {"1.2345e1", 12345},
        {"1E-3", 1},
        {"1e-4", 0},
        {"1e", 0},
        {".", 0},
        {"1.2.3", 0},
        {"1e999999999999999999", kMaxIdleBoundMs},
        {"12345678", kMaxIdleBoundMs},
    };
    for (const auto& [text, ms] : cases) {
        EXPECT_EQ(ParseIdleBound(text), ms) << text;
    }
    EXPECT_EQ(IdleBoundText(100), "0.100");
    EXPECT_EQ(IdleBoundText(0), "");
    EXPECT_EQ(IdleBoundText(kMaxIdleBoundMs), "9999.999");
}

TEST(DataInputModel, IdleBoundShownAndReadBackStaysTheSame) {
    // Reopening the dialog and pressing "検索" must keep every bound as it was.
    for (int32_t ms = 1; ms < 100'000; ++ms) {
        ASSERT_EQ(ParseIdleBound(IdleBoundText(ms)), ms) << IdleBoundText(ms);
    }
    for (const int32_t ms : {1'000'001, 8'388'607, kMaxIdleBoundMs}) {
        EXPECT_EQ(ParseIdleBound(IdleBoundText(ms)), ms);
    }
}

TEST(DataInputModel, BitButtonCyclesThroughZeroAndOneBackToEither) {
    PatternBitMask mask;
    EXPECT_EQ(BitCaption(mask, 0), "?");
    CycleBit(mask, 0);
    EXPECT_EQ(BitCaption(mask, 0), "0");
    EXPECT_EQ(mask.mustBeZero, 0x80);
    CycleBit(mask, 0);
    EXPECT_EQ(BitCaption(mask, 0), "1");
    EXPECT_EQ(mask, (PatternBitMask{0x80, 0}));
    CycleBit(mask, 0);
    EXPECT_EQ(mask, PatternBitMask{});
    CycleBit(mask, 7);
    EXPECT_EQ(mask.mustBeZero, 0x01);
}

TEST(DataInputModel, SingleCodeEditHoldsOneGlyph) {
    const DataInputModel model(DataInputMode::SingleCode, {});
    EXPECT_TRUE(model.CanInsertGlyph(""));
    EXPECT_FALSE(model.CanInsertGlyph(Glyph(0x88E1)));
    EXPECT_EQ(model.EditedText("", "A"), Glyph(0x88E1));
    EXPECT_EQ(model.EditedText(Glyph(0x88E1), Glyph(0x88E1) + "B"), Glyph(0x88E1));
}

TEST(DataInputModel, RangeBoundsComeFromTheSingleCodeDialog) {
    DataInputModel model(DataInputMode::Search, {});
    EXPECT_EQ(model.rangeBoundPattern(2, RangeSide::High).length, 0);
    CharacterPattern edited;
    const PatternElement c5{kPatternCharacter, 0xC5};
    edited.setElements(std::span(&c5, 1));
    model.setRangeBound(2, RangeSide::High, edited);
    EXPECT_EQ(model.criteria().pattern.ranges[2], (PatternRange{0, 0, 1, 0xC5}));
    EXPECT_EQ(model.rangeCaption(2, RangeSide::High), Glyph(0x8A85));
    EXPECT_EQ(model.rangeBoundPattern(2, RangeSide::High), edited);
    model.setRangeBound(2, RangeSide::High, CharacterPattern{});
    EXPECT_EQ(model.criteria().pattern.ranges[2], PatternRange{});
    EXPECT_EQ(model.rangeCaption(2, RangeSide::High), "");
}

TEST(DataInputModel, SearchButtonSetsKindAndSetFlagFromThePageShown) {
    struct Case {
        DataInputPage shown;
        std::string text;
        const char* idleLower;
        int32_t kind;
        bool set;
    };
    const Case cases[] = {
        {DataInputPage::Characters, "A", "", kSearchCharacters, true},
        {DataInputPage::SpecialCharacters, "", "", kSearchCharacters, false},
        {DataInputPage::Errors, "", "", kSearchError, true},
        {DataInputPage::Idle, "", "", kSearchIdle, false},
        {DataInputPage::Idle, "", "0.1", kSearchIdle, true},
        {DataInputPage::DateTime, "", "", kSearchDateTime, true},
    };
    for (const Case& c : cases) {
        DataInputModel model(DataInputMode::Search, {});
        model.Accept(ConvertTypedInput(c.text), c.shown, c.idleLower, "");
        EXPECT_EQ(model.criteria().kind, c.kind);
        EXPECT_EQ(model.criteria().set, c.set);
    }
    DataInputModel typed(DataInputMode::Search, {});
    typed.Accept(ConvertTypedInput("A"), DataInputPage::Characters);
    ASSERT_EQ(typed.criteria().pattern.length, 1);
    EXPECT_EQ(typed.criteria().pattern.elements[0], (PatternElement{kPatternCharacter, 0x41}));
}

TEST(DataInputModel, OtherModesChangeOnlyThePattern) {
    SearchCriteria criteria;
    criteria.kind = kSearchIdle;
    criteria.idleLowerMs = 5;
    DataInputModel model(DataInputMode::TransmitData, criteria);
    model.Accept(Glyph(0x88E2), DataInputPage::Characters, "7", "8");
    EXPECT_EQ(model.criteria().kind, kSearchIdle);
    EXPECT_EQ(model.criteria().idleLowerMs, 5);
    EXPECT_EQ(model.criteria().pattern.length, 1);
}

TEST(DataInputModel, ErrorChecksFollowTheErrorSetBits) {
    SearchCriteria criteria;
    criteria.errorSet = 0x20; // PF only
    DataInputModel model(DataInputMode::Search, criteria);
    EXPECT_TRUE(model.errorChecked(2));
    EXPECT_FALSE(model.errorChecked(0));
    model.setErrorChecked(0, true);
    model.setErrorChecked(2, false);
    EXPECT_EQ(model.criteria().errorSet, 0x80);
}

} // namespace
} // namespace varnolt
