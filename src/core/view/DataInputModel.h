#pragma once

#include "core/view/SearchCriteria.h"

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace varnolt {

// What the character input dialog ("文字入力") is opened for.
enum class DataInputMode : int32_t {
    Search = 0,           // the view's search criteria, five pages
    TransmitData = 1,     // a transmit string of the analyzer settings
    TriggerCondition = 2, // a trigger's character-match pattern, with bit masks and ranges
    SingleCode = 3,       // one character: a range bound, a frame start or end code
};

// The dialog's pages.
enum class DataInputPage : uint8_t { Characters, SpecialCharacters, Errors, Idle, DateTime };

// What a mode looks like: the first button's caption, the edit's text limit in glyphs and the
// pages in tab order.
struct DataInputModeInfo {
    std::string_view firstButton;
    size_t textLimit = 0;
    std::span<const DataInputPage> pages;
};

[[nodiscard]] DataInputModeInfo ModeInfo(DataInputMode mode);
[[nodiscard]] std::string_view PageTitle(DataInputPage page);

// An idle bound as its edit shows it: seconds with three decimals, empty for no bound.
[[nodiscard]] std::string IdleBoundText(int32_t milliseconds);
// An idle bound edit read back: seconds × 1000, truncated and held to 0 … kMaxIdleBoundMs; empty
// text, text that is not wholly a decimal number, and negative numbers give 0 (no bound).
[[nodiscard]] int32_t ParseIdleBound(std::string_view seconds);

// The caption of bit button B (0 for bit 7 … 7 for bit 0) of MASK: "1", "0" or "?".
[[nodiscard]] std::string_view BitCaption(const PatternBitMask& mask, int b);
// A click on bit button B: "?" → "0" → "1" → "?".
void CycleBit(PatternBitMask& mask, int b);

// Which bound of a range a button edits.
enum class RangeSide : uint8_t { Low, High };

// What the dialog decides, without the widgets. It works on a copy of the caller's criteria (in
// the other modes only the pattern, bit masks and ranges mean anything) and hands it back when
// the first button closes it.
class DataInputModel {
public:
    static constexpr std::string_view kTitle = "文字入力";
    static constexpr std::string_view kCancel = "キャンセル";

    DataInputModel(DataInputMode mode, const SearchCriteria& criteria);

    [[nodiscard]] DataInputMode mode() const { return mode_; }
    [[nodiscard]] const DataInputModeInfo& info() const { return info_; }
    [[nodiscard]] const SearchCriteria& criteria() const { return criteria_; }

    // The page shown when the dialog opens: in search mode the one of the criteria's kind.
    [[nodiscard]] DataInputPage firstPage() const;
    // The edit takes input only while the characters or special-characters page is shown (in
    // search mode; the other modes have no other page).
    [[nodiscard]] static bool EditEnabled(DataInputPage shown);
    // The text the edit starts with: the pattern in glyphs.
    [[nodiscard]] std::string initialText() const;
    // A glyph button may insert into an edit holding TEXT.
    [[nodiscard]] bool CanInsertGlyph(std::string_view text) const;
    // The edit's text after a change from PREVIOUS to CURRENT: typed characters converted; when
    // that would hold more than the text limit, PREVIOUS stays (the edit refuses the input).
    [[nodiscard]] std::string EditedText(std::string_view previous, std::string_view current) const;

    // ---- "エラー" ----------------------------------------------------------------------------
    [[nodiscard]] bool errorChecked(uint8_t code) const;
    void setErrorChecked(uint8_t code, bool checked);

    // ---- "特殊文字" ----------------------------------------------------------------------------
    [[nodiscard]] std::string_view bitCaption(int mask, int b) const;
    void cycleBit(int mask, int b);
    // The one-element pattern the single-code dialog opens with for a range bound (empty when the
    // bound is not enabled).
    [[nodiscard]] CharacterPattern rangeBoundPattern(int range, RangeSide side) const;
    // The single-code dialog closed with OK on EDITED: a character sets and enables the bound,
    // anything else disables it and sets it to 0.
    void setRangeBound(int range, RangeSide side, const CharacterPattern& edited);
    // The glyph text a range button shows: the bound's character when enabled, else nothing.
    [[nodiscard]] std::string rangeCaption(int range, RangeSide side) const;

    // ---- "アイドル" and "日時" -----------------------------------------------------------------
    [[nodiscard]] std::string idleText(RangeSide side) const;
    void setDates(const CalendarTime& lowerDate, const CalendarTime& lowerTime,
                  const CalendarTime& upperDate, const CalendarTime& upperTime);

    // The first button: the pattern from the edit's TEXT; in search mode also the idle bounds from
    // their edits and the kind and set flag from the page SHOWN.
    void Accept(std::string_view text, DataInputPage shown, std::string_view idleLower = {},
                std::string_view idleUpper = {});

private:
    [[nodiscard]] const PatternRange& range(int index) const;

    DataInputMode mode_;
    DataInputModeInfo info_;
    SearchCriteria criteria_;
};

} // namespace varnolt
