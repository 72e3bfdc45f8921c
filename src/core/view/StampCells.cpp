#include "core/view/StampCells.h"

#include "core/view/ViewTypes.h"

#include <algorithm>
#include <utility>

namespace varnolt {

namespace {

GlyphCode Digit(SeparatorStyle style, unsigned digit) {
    return CellGlyphCode(GlyphSet::DigitWithSeparator,
                         DigitGlyphValue(style, static_cast<uint8_t>(std::min(digit, 15U))));
}

GlyphCode Number(uint32_t number) {
    return TwoDigitGlyphCode(number);
}

// The two-digit number made of nibbles HIGH and HIGH - 1 of PACKED.
uint32_t Pair(uint32_t packed, int high) {
    return DigitAt(packed, high) * 10 + DigitAt(packed, high - 1);
}

// The part of the group member at INDEX whose head of kind HEAD lies at most MAXBACK records
// before it.
std::optional<GroupPart> PartAt(const CCaptureData& capture, RingIndex index, RecordKind head,
                                int maxBack) {
    const RecordCount offset = OffsetFromOldest(capture, index);
    for (int back = 0; back <= maxBack && back <= offset; ++back) {
        const RingIndex at = capture.WrapIndex(index, -back);
        if (KindOf(capture.word(at)) == head) {
            return GroupPart{at, back};
        }
    }
    return std::nullopt;
}

constexpr unsigned kNoDigit = 0xFF;

// The digits of the two-digit number in the upper row of part 3.
std::pair<unsigned, unsigned> LastUpperDigits(uint8_t stampKind, const StampDigits& digits) {
    switch (stampKind) {
    case 1:
    case 3:
        return {DigitAt(digits.date, 1), DigitAt(digits.date, 0)};
    case 2:
        return {DigitAt(digits.time, 7), DigitAt(digits.time, 6)};
    case 4:
    case 5:
        return {DigitAt(digits.time, 3), DigitAt(digits.time, 2)};
    default:
        return {kNoDigit, kNoDigit};
    }
}

} // namespace

GlyphCode IdleLabelGlyph(int part) {
    switch (part) {
    case 0:
        return CellGlyphCode(GlyphSet::Mark, kMarkIdleLabelFirst);
    case 1:
        return CellGlyphCode(GlyphSet::Mark, kMarkIdleLabelSecond);
    default:
        return kBlankGlyph;
    }
}

GlyphCode IdleValueGlyph(int part, uint8_t resolution, uint32_t value) {
    if (resolution < 1 || resolution > 3) {
        return CellGlyphCode(GlyphSet::CharacterName, 0);
    }
    if (part == 0) {
        return Number(value / 1000);
    }
    if (resolution == 3) {
        return part == 1 ? Number(value / 10 % 100)
                         : Digit(SeparatorStyle::PeriodDigit, value % 10);
    }
    if (part == 1) {
        return Digit(resolution == 1 ? SeparatorStyle::PeriodDigit : SeparatorStyle::DigitPeriod,
                     value / 100 % 10);
    }
    return Number(value % 100);
}

GlyphCode LiveIdleValueGlyph(int part, int32_t idleDisplay, uint32_t value) {
    switch (idleDisplay) {
    case 1:
        value = std::min<uint32_t>(value, 9999);
        return part == 0   ? Number(value / 100 % 100)
               : part == 1 ? Digit(SeparatorStyle::PeriodDigit, value / 10 % 10)
                           : Number(value % 10 * 10);
    case 2:
        value = std::min<uint32_t>(value, 99999);
        return part == 0   ? Number(value / 1000 % 100)
               : part == 1 ? Digit(SeparatorStyle::DigitPeriod, value / 100 % 10)
                           : Number(value % 100);
    case 3:
        value = std::min<uint32_t>(value, 999999);
        return part == 0   ? Number(value / 10000 % 100)
               : part == 1 ? Number(value / 100 % 100)
                           : Digit(SeparatorStyle::PeriodDigit, value / 10 % 10);
    default:
        return CellGlyphCode(GlyphSet::CharacterName, 0);
    }
}

StampCellGlyphs StampGlyphs(uint8_t stampKind, const StampDigits& digits, int part) {
    const uint32_t d = digits.date;
    const uint32_t t = digits.time;
    // Layout A: date nibbles 5..0 = Y Y M M D D; layout B: 3..0 = M M D D.
    // Time nibbles 7..0 = H H M M S S tenths hundredths.
    switch (stampKind) {
    case 1:
    case 3: {
        StampCellGlyphs cell;
        switch (part) {
        case 0:
            cell = {Number(Pair(d, 5)), Number(Pair(t, 7))};
            break;
        case 1:
            cell = {Digit(SeparatorStyle::SlashDigit, DigitAt(d, 3)),
                    Digit(SeparatorStyle::ColonDigit, DigitAt(t, 5))};
            break;
        case 2:
            cell = {Digit(SeparatorStyle::DigitSlash, DigitAt(d, 2)),
                    Digit(SeparatorStyle::DigitColon, DigitAt(t, 4))};
            break;
        default:
            cell = {Number(Pair(d, 1)), Number(Pair(t, 3))};
            break;
        }
        if (stampKind == 3) {
            cell.lower = kBlankGlyph;
        }
        return cell;
    }
    case 2:
        switch (part) {
        case 0:
            return {Number(Pair(d, 3)), Number(Pair(t, 5))};
        case 1:
            return {Digit(SeparatorStyle::SlashDigit, DigitAt(d, 1)),
                    Digit(SeparatorStyle::ColonDigit, DigitAt(t, 3))};
        case 2:
            return {Digit(SeparatorStyle::DigitSpace, DigitAt(d, 0)),
                    Digit(SeparatorStyle::DigitPeriod, DigitAt(t, 2))};
        default:
            return {Number(Pair(t, 7)), Number(Pair(t, 1))};
        }
    case 4:
        switch (part) {
        case 0:
            return {Number(Pair(t, 7)), kBlankGlyph};
        case 1:
            return {Digit(SeparatorStyle::ColonDigit, DigitAt(t, 5)), kBlankGlyph};
        case 2:
            return {Digit(SeparatorStyle::DigitColon, DigitAt(t, 4)), kBlankGlyph};
        default:
            return {Number(Pair(t, 3)), kBlankGlyph};
        }
    case 5:
        switch (part) {
        case 0:
            return {Number(Pair(t, 7)), Digit(SeparatorStyle::PeriodDigit, DigitAt(t, 1))};
        case 1:
            return {Digit(SeparatorStyle::ColonDigit, DigitAt(t, 5)),
                    Digit(SeparatorStyle::DigitSpace, DigitAt(t, 0))};
        case 2:
            return {Digit(SeparatorStyle::DigitColon, DigitAt(t, 4)), kBlankGlyph};
        default:
            return {Number(Pair(t, 3)), kBlankGlyph};
        }
    default:
        return {};
    }
}

StampColumnCells FrameStampCells(int32_t timeDisplay, uint8_t stampKind, const StampDigits& digits,
                                 int part) {
    const StampCellGlyphs glyphs = StampGlyphs(stampKind, digits, part);
    StampColumnCells out;
    const auto add = [&out](int32_t cell, GlyphCode code) {
        out.cells[out.count++] = {cell, code};
    };
    switch (timeDisplay) {
    case 1:
        add(part, glyphs.upper);
        if (part == 3) {
            add(4, kBlankGlyph);
        }
        add(5 + part, glyphs.lower);
        break;
    case 2:
        if (part == 3) {
            // The two-digit number of the upper row is split, so that a space sets the hour
            // off from the date.
            const auto [tens, units] = LastUpperDigits(stampKind, digits);
            add(3, tens == kNoDigit ? kBlankGlyph : Digit(SeparatorStyle::SpaceDigit, tens));
            add(4, units == kNoDigit ? kBlankGlyph : Digit(SeparatorStyle::DigitColon, units));
        } else {
            add(part, glyphs.upper);
        }
        add(5 + part, glyphs.lower);
        break;
    case 3:
    case 4:
        add(part, glyphs.upper);
        break;
    case 5:
        add(part, glyphs.upper);
        if (part <= 1) {
            add(4 + part, glyphs.lower);
        }
        break;
    default:
        break;
    }
    return out;
}

std::optional<GroupPart> IdlePartAt(const CCaptureData& capture, RingIndex index) {
    return PartAt(capture, index, RecordKind::IdleHead, 2);
}

std::optional<GroupPart> StampPartAt(const CCaptureData& capture, RingIndex index) {
    return PartAt(capture, index, RecordKind::StampHead, 3);
}

uint32_t IdleGroupValue(const CCaptureData& capture, RingIndex head) {
    return IdleValue(capture.word(head), capture.word(capture.WrapIndex(head, 1)),
                     capture.word(capture.WrapIndex(head, 2)));
}

StampDigits StampGroupDigits(const CCaptureData& capture, RingIndex head) {
    return UnpackTimeStamp(capture.word(head), capture.word(capture.WrapIndex(head, 1)),
                           capture.word(capture.WrapIndex(head, 2)),
                           capture.word(capture.WrapIndex(head, 3)));
}

bool GroupComplete(const CCaptureData& capture, RingIndex head, int count) {
    return OffsetFromOldest(capture, head) + count <= capture.Count();
}

} // namespace varnolt
