#pragma once

#include "core/capture/CCaptureData.h"
#include "core/capture/RecordWord.h"
#include "core/view/GlyphCodes.h"

#include <array>
#include <cstdint>
#include <optional>

namespace varnolt {

// How idle groups and time stamps are spread over cells: an idle group over three cells (its
// head and two continuations), a time stamp over four. Each function gives glyph codes.

// The upper-row glyph of idle part PART (0 … 2): the two label halves, then a blank.
[[nodiscard]] GlyphCode IdleLabelGlyph(int part);
// The value glyph of idle part PART for an idle VALUE in units of RESOLUTION (1 = 0.001 s,
// 2 = 0.01 s, 3 = 0.1 s). A leading part above 99 shows the too-large glyph.
[[nodiscard]] GlyphCode IdleValueGlyph(int part, uint8_t resolution, uint32_t value);
// The value glyph of the live idle indicator for the running idle VALUE, by the idle display K
// of the analyzer settings.
[[nodiscard]] GlyphCode LiveIdleValueGlyph(int part, int32_t idleDisplay, uint32_t value);

// The two glyphs of time-stamp part PART (0 … 3) in continuous display, upper and lower row.
struct StampCellGlyphs {
    GlyphCode upper = kBlankGlyph;
    GlyphCode lower = kBlankGlyph;
    friend bool operator==(const StampCellGlyphs&, const StampCellGlyphs&) = default;
};
[[nodiscard]] StampCellGlyphs StampGlyphs(uint8_t stampKind, const StampDigits& digits, int part);

// One cell of the frame display's time-stamp columns.
struct StampColumnCell {
    int32_t cell = 0; // 0 … time cells - 1
    GlyphCode code = kBlankGlyph;
};
// The cells that time-stamp part PART fills in frame display with TIMEDISPLAY (at most three).
struct StampColumnCells {
    std::array<StampColumnCell, 3> cells{};
    int count = 0;
};
[[nodiscard]] StampColumnCells FrameStampCells(int32_t timeDisplay, uint8_t stampKind,
                                               const StampDigits& digits, int part);

// Where a record of an idle group or a time stamp sits in its group.
struct GroupPart {
    RingIndex head = kNoRecord;
    int part = 0;
};
// The part of the idle record at INDEX, or nullopt when its head is not within the two records
// before it.
[[nodiscard]] std::optional<GroupPart> IdlePartAt(const CCaptureData& capture, RingIndex index);
// The part of the time-stamp record at INDEX, or nullopt when its head is not within the three
// records before it.
[[nodiscard]] std::optional<GroupPart> StampPartAt(const CCaptureData& capture, RingIndex index);
// The idle value of the complete idle group at HEAD.
[[nodiscard]] uint32_t IdleGroupValue(const CCaptureData& capture, RingIndex head);
// The digits of the complete time stamp at HEAD.
[[nodiscard]] StampDigits StampGroupDigits(const CCaptureData& capture, RingIndex head);
// True when all COUNT words of the group that starts at HEAD are in the capture.
[[nodiscard]] bool GroupComplete(const CCaptureData& capture, RingIndex head, int count);

} // namespace varnolt
