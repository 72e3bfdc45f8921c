#include "core/view/PageDrawer.h"

#include "core/view/StampCells.h"

#include <cstdio>
#include <string>

namespace varnolt {

namespace {

constexpr const char* kSdLabel = " SD ";
constexpr const char* kRdLabel = " RD ";
constexpr const char* kBlankLabel = "    ";
constexpr const char* kBlankLineNumber = "       ";

std::string LineNumberText(int64_t number) {
    char text[24];
    std::snprintf(text, sizeof text, "%07lld", static_cast<long long>(number));
    return text;
}

bool InRingRange(RingIndex index, RingIndex first, RingIndex last) {
    return first <= last ? first <= index && index <= last : index >= first || index <= last;
}

bool MatchesHitKind(RecordKind kind, HitKind hit) {
    switch (kind) {
    case RecordKind::SdCharacter:
        return hit == HitKind::SdCharacters;
    case RecordKind::RdCharacter:
        return hit == HitKind::RdCharacters;
    case RecordKind::SdError:
        return hit == HitKind::SdCharacters || hit == HitKind::Error;
    case RecordKind::RdError:
        return hit == HitKind::RdCharacters || hit == HitKind::Error;
    case RecordKind::IdleHead:
    case RecordKind::IdleContinuation:
        return hit == HitKind::Idle;
    case RecordKind::StampHead:
    case RecordKind::StampContinuation:
        return hit == HitKind::TimeStamp;
    default:
        return false;
    }
}

bool IsCharacterOrError(RecordKind kind) {
    return kind == RecordKind::SdCharacter || kind == RecordKind::RdCharacter ||
           kind == RecordKind::SdError || kind == RecordKind::RdError;
}

bool IsSd(RecordKind kind) {
    return kind == RecordKind::SdCharacter || kind == RecordKind::SdError;
}

} // namespace

PageDrawer::PageDrawer(const ViewLayout& layout, CellCanvas& canvas, const CCaptureData& capture,
                       const PageGeometry& geometry, Surface surface)
    : layout_(layout), painter_(layout.painter()), canvas_(canvas), capture_(capture),
      geometry_(geometry), surface_(surface), idleCells_(IdleStampCells(layout.display())),
      timeCells_(TimeStampCells(layout.display())), numberX_(surface == Surface::Paper ? 100 : 4),
      numberHeight_(surface == Surface::Paper ? 30 : 12),
      labelHeight_(surface == Surface::Paper ? 38 : 17) {
}

CellColumn PageDrawer::CellsOf(RecordKind kind) const {
    switch (kind) {
    case RecordKind::SdCharacter:
    case RecordKind::RdCharacter:
    case RecordKind::SdError:
    case RecordKind::RdError:
    case RecordKind::ControlLineChange:
        return 1;
    case RecordKind::IdleHead:
    case RecordKind::IdleContinuation:
    case RecordKind::StampHead:
    case RecordKind::StampContinuation:
        return frame() ? 0 : 1;
    default:
        return 0;
    }
}

bool PageDrawer::Selected(RingIndex index, RecordKind kind) const {
    return hit_ != nullptr && hit_->kind != HitKind::None &&
           InRingRange(index, hit_->first, hit_->last) && MatchesHitKind(kind, hit_->kind);
}

// ---- Drawing one page ---------------------------------------------------------------------------

PageDrawResult PageDrawer::Run(const DrawRequest& request, RingIndex lastToDraw,
                               const FrameDrawState& carried) {
    hit_ = request.hit;
    top_.reset();
    PageDrawResult result;
    result.end = {request.column, request.line};
    result.frameState = carried;
    DrawEnd& end = result.end;
    if (capture_.empty() || request.start < 0 || lastToDraw < 0 || geometry_.columns <= 0 ||
        geometry_.linesPerPage <= 0) {
        return result;
    }
    const bool screen = surface_ == Surface::Screen;
    // Live drawing and the drawing after an overflow mark continue the carried break state.
    FrameState state = request.restart ? FrameState{} : carried;
    if (request.restart && frame()) {
        state.walker = FrameLineWalker(geometry_.columns, capture_.header().delimiters);
        state.walker.StartAtLineStart(DirectionBefore(capture_, request.start));
        if (request.firstLine) {
            state.lineNumber = *request.firstLine - 1;
        } else {
            const auto line = layout_.RecordToLine(capture_, request.start, geometry_.columns);
            state.lineNumber = line ? line->line - 1 : 0;
        }
        state.lineOpen = request.column != 0;
    }
    if (!request.live) {
        state.idleFilled = false;
        state.timeFilled = false;
    }

    CellColumn& column = end.column;
    PageLine& line = end.line;
    bool moved = false;
    bool passedBottom = false; // went on from the page's last line at line 0
    bool pageFull = false;
    RingIndex lastHandled = kNoRecord;
    RingIndex index = request.start;
    // Cells, not records, fill a page: in frame display idle and stamp records take none.
    RecordCount placed = 0;
    for (RecordCount handled = 0; placed < request.cells && handled < capture_.Count(); ++handled) {
        const RecordWord word = capture_.word(index);
        const RecordKind kind = KindOf(word);
        const bool newFrameLine = frame() && state.walker.Step(word);
        if (newFrameLine) {
            if (state.inLine) {
                FinishFrameLine(state);
            }
            if (state.lineOpen) {
                EraseLineFrom(column, line);
                column = 0;
                passedBottom = passedBottom || NextLine(line) == 0;
                line = NextLine(line);
                moved = true;
                state.lineOpen = false;
            }
        }
        if (moved && column == request.column && line == request.line) {
            pageFull = true;
            break;
        }
        if (newFrameLine) {
            BeginFrameLine(index, line, state);
        }
        if (!frame() && column == 0 && CellsOf(kind) > 0) {
            DrawContinuousLineNumbers(line, request.numberFromFirstAppended
                                                ? OffsetFromFirstAppended(capture_, index)
                                                : OffsetFromOldest(capture_, index));
            if (line == 0) {
                top_ = index;
            }
        }
        if (frame()) {
            FrameLineHead(kind, line, state);
        }
        if (frame() && column == 0) {
            if (request.live &&
                (IsCharacterOrError(kind) || kind == RecordKind::ControlLineChange)) {
                EraseLineAhead(NextLine(line));
            }
        }
        DrawRecord(index, word, column, line, Selected(index, kind));

        const CellColumn cells = CellsOf(kind);
        column += cells;
        placed += cells;
        state.lineOpen = state.lineOpen || cells > 0 || frame();
        if (column >= geometry_.columns) {
            column = 0;
            passedBottom = passedBottom || NextLine(line) == 0;
            line = NextLine(line);
            moved = true;
            state.lineOpen = false;
            if (request.live && !frame()) {
                EraseLineFrom(0, line);
            }
        }
        lastHandled = index;
        if (index == lastToDraw) {
            break;
        }
        index = index + 1 >= capture_.capacity() ? 0 : index + 1;
    }

    if (frame() && !request.live && state.inLine && !pageFull) {
        FinishFrameLine(state);
    }
    // A newest record in the page's last cell brings the position back to the start: the page
    // is full, and nothing after it is to be erased.
    const bool backAtStart = moved && column == request.column && line == request.line;
    if (screen && !request.live && !backAtStart && lastHandled == capture_.lastIndex()) {
        EraseAfterNewest(request, end, state.lineOpen || (!frame() && column != 0), passedBottom);
    }
    result.top = top_;
    result.lastDrawn = lastHandled;
    result.frameState = state;
    return result;
}

// ---- Frame lines ------------------------------------------------------------------------------

void PageDrawer::BeginFrameLine(RingIndex index, PageLine line, FrameState& state) {
    ++state.lineNumber;
    state.inLine = true;
    state.pageLine = line;
    state.labelDrawn = false;
    state.idleFilled = false;
    state.timeFilled = false;
    DrawLabelText(canvas_, {numberX_, Y(LineOrigin(line) + 4)}, numberHeight_, kPlainColours,
                  LineNumberText(state.lineNumber));
    if (line == 0) {
        top_ = index;
    }
}

// Idle and stamp records open their line, so they come before any cell of it. The row label
// follows the line's first character or error, also after control-line changes that take the
// first cells, as in the text export.
void PageDrawer::FrameLineHead(RecordKind kind, PageLine line, FrameState& state) {
    if (kind == RecordKind::IdleHead) {
        state.idleFilled = true;
        return;
    }
    if (kind == RecordKind::StampHead) {
        state.timeFilled = true;
        return;
    }
    if (!IsCharacterOrError(kind) || state.labelDrawn) {
        return;
    }
    const bool sd = IsSd(kind);
    DrawLabelText(canvas_, {geometry_.labelX, Y(LineOrigin(line))}, labelHeight_,
                  sd ? kSdColours : kRdColours, sd ? kSdLabel : kRdLabel);
    EraseStampCells(line, !state.idleFilled, !state.timeFilled);
    state.labelDrawn = true;
}

// A frame line without characters shows no label and keeps no stamp cells of an earlier line.
void PageDrawer::FinishFrameLine(const FrameState& state) {
    if (state.labelDrawn) {
        return;
    }
    BlankLabel(state.pageLine);
    EraseStampCells(state.pageLine, !state.idleFilled, !state.timeFilled);
}

void PageDrawer::BlankLabel(PageLine line) {
    DrawLabelText(canvas_, {geometry_.labelX, Y(LineOrigin(line))}, labelHeight_, kBlankColours,
                  kBlankLabel);
}

void PageDrawer::EraseStampCells(PageLine line, bool idle, bool time) {
    const Coordinate y0 = LineOrigin(line);
    for (int32_t cell = 0; idle && cell < idleCells_; ++cell) {
        EraseAt(geometry_.idleX + cell * geometry_.cellWidth, y0);
    }
    for (int32_t cell = 0; time && cell < timeCells_; ++cell) {
        EraseAt(geometry_.timeX + cell * geometry_.cellWidth, y0);
    }
}

void PageDrawer::EraseLineAhead(PageLine line) {
    EraseLineFrom(0, line);
    EraseStampCells(line, true, true);
}

// The cells after the newest record: the rest of its line and the lines below it. A drawing that
// went on from the page's last line at line 0 (after an overflow mark, from the live position)
// treats the page as a ring of lines and stops where it began, so that no cell it drew is lost.
void PageDrawer::EraseAfterNewest(const DrawRequest& request, DrawEnd end, bool lineOpen,
                                  bool passedBottom) {
    const PageLine stopLine = passedBottom ? request.line : geometry_.linesPerPage;
    if (passedBottom && end.line == request.line) {
        EraseCells(end.column, request.column, end.line);
        return;
    }
    PageLine clearFrom = end.line;
    if (lineOpen) {
        EraseLineFrom(end.column, end.line);
        clearFrom = end.line + 1;
    }
    for (PageLine l = clearFrom; l < stopLine; ++l) {
        ClearEmptyLine(l);
    }
}

void PageDrawer::ClearEmptyLine(PageLine line) {
    EraseLineFrom(0, line);
    const Coordinate y0 = LineOrigin(line);
    DrawLabelText(canvas_, {numberX_, Y(y0 + 4)}, numberHeight_, kPlainColours, kBlankLineNumber);
    if (frame()) {
        BlankLabel(line);
        EraseStampCells(line, true, true);
    } else {
        DrawLabelText(canvas_, {numberX_, Y(y0 + geometry_.rowPitch + 4)}, numberHeight_,
                      kPlainColours, kBlankLineNumber);
    }
}

void PageDrawer::DrawContinuousLineNumbers(PageLine line, int64_t offset) {
    const Coordinate y0 = LineOrigin(line);
    const CellColumn columns = geometry_.columns > 0 ? geometry_.columns : 1;
    DrawLabelText(canvas_, {numberX_, Y(y0 + 4)}, numberHeight_, kPlainColours,
                  LineNumberText(offset / columns + 1));
    DrawLabelText(canvas_, {numberX_, Y(y0 + geometry_.rowPitch + 4)}, numberHeight_, kPlainColours,
                  LineNumberText(offset + 1));
}

// ---- Cells ------------------------------------------------------------------------------------

void PageDrawer::EraseAt(Coordinate x, Coordinate downward) {
    painter_.EraseCell(canvas_, {x, Y(downward)}, geometry_.glyphHeight);
}

void PageDrawer::Glyph(CellColumn column, Coordinate rowOffset, PageLine line, CellColours colours,
                       GlyphCode code) {
    painter_.DrawCode(canvas_, {CellX(column), Y(LineOrigin(line) + rowOffset)},
                      geometry_.glyphHeight, colours, code);
}

void PageDrawer::EraseLineFrom(CellColumn column, PageLine line) {
    EraseCells(column, geometry_.columns + 1, line);
}

void PageDrawer::EraseCells(CellColumn from, CellColumn to, PageLine line) {
    const Coordinate y0 = LineOrigin(line);
    const Coordinate controlOffset = (frame() ? 1 : 2) * geometry_.rowPitch;
    for (CellColumn c = from; c < to; ++c) {
        const Coordinate x = CellX(c);
        EraseAt(x, y0);
        if (!frame()) {
            EraseAt(x, y0 + geometry_.rowPitch);
        }
        if (layout_.controlLines()) {
            painter_.EraseControlLines(canvas_, {x, Y(y0 + controlOffset)},
                                       geometry_.controlRowPitch, surface_);
        }
    }
}

void PageDrawer::DrawRecord(RingIndex index, RecordWord word, CellColumn column, PageLine line,
                            bool selected) {
    const RecordKind kind = KindOf(word);
    if (frame()) {
        DrawFrameCell(index, word, column, line, selected);
    } else {
        DrawContinuousCell(index, word, column, line, selected);
    }
    if (layout_.controlLines() && CellsOf(kind) > 0) {
        DrawCellControlLines(index, word, column, line);
    }
}

void PageDrawer::DrawContinuousCell(RingIndex index, RecordWord word, CellColumn column,
                                    PageLine line, bool selected) {
    const RecordKind kind = KindOf(word);
    const Coordinate lower = geometry_.rowPitch;
    const GlyphSet characterSet =
        layout_.options().hexView ? GlyphSet::Hexadecimal : GlyphSet::CharacterName;
    const auto pick = [selected](CellColours colours) {
        return selected ? kSelectedColours : colours;
    };
    const GlyphCode empty = kEmptyCellGlyph;
    switch (kind) {
    case RecordKind::SdCharacter:
        Glyph(column, 0, line, pick(kSdColours), CellGlyphCode(characterSet, CodeOf(word)));
        Glyph(column, lower, line, kBlankColours, empty);
        break;
    case RecordKind::RdCharacter:
        Glyph(column, 0, line, kBlankColours, empty);
        Glyph(column, lower, line, pick(kRdColours), CellGlyphCode(characterSet, CodeOf(word)));
        break;
    case RecordKind::SdError:
    case RecordKind::RdError: {
        // An overrun loses characters of both lines, so its mark shows in both rows.
        const GlyphCode mark = CellGlyphCode(GlyphSet::Mark, CodeOf(word));
        const bool both = CodeOf(word) == static_cast<uint8_t>(LineError::Overrun);
        const bool sd = kind == RecordKind::SdError;
        const CellColours colours = pick(kErrorColours);
        Glyph(column, 0, line, sd || both ? colours : kBlankColours, sd || both ? mark : empty);
        Glyph(column, lower, line, !sd || both ? colours : kBlankColours,
              !sd || both ? mark : empty);
        break;
    }
    case RecordKind::IdleHead:
    case RecordKind::IdleContinuation: {
        GlyphCode upper = kBlankGlyph;
        GlyphCode value = kBlankGlyph;
        if (const auto part = IdlePartAt(capture_, index)) {
            upper = IdleLabelGlyph(part->part);
            if (GroupComplete(capture_, part->head, 3)) {
                value = IdleValueGlyph(part->part, IdleResolution(capture_.word(part->head)),
                                       IdleGroupValue(capture_, part->head));
            }
        }
        Glyph(column, 0, line, pick(kIdleColours), upper);
        Glyph(column, lower, line, pick(kIdleColours), value);
        break;
    }
    case RecordKind::StampHead:
    case RecordKind::StampContinuation: {
        StampCellGlyphs glyphs;
        const auto part = StampPartAt(capture_, index);
        if (part && GroupComplete(capture_, part->head, 4)) {
            glyphs = StampGlyphs(SubKindOf(capture_.word(part->head)),
                                 StampGroupDigits(capture_, part->head), part->part);
        }
        Glyph(column, 0, line, pick(kStampColours), glyphs.upper);
        Glyph(column, lower, line, pick(kStampColours), glyphs.lower);
        break;
    }
    case RecordKind::ControlLineChange:
        Glyph(column, 0, line, kBlankColours, empty);
        Glyph(column, lower, line, kBlankColours, empty);
        break;
    default:
        break;
    }
}

void PageDrawer::DrawFrameCell(RingIndex index, RecordWord word, CellColumn column, PageLine line,
                               bool selected) {
    const RecordKind kind = KindOf(word);
    const GlyphSet characterSet =
        layout_.options().hexView ? GlyphSet::Hexadecimal : GlyphSet::CharacterName;
    const auto pick = [selected](CellColours colours) {
        return selected ? kSelectedColours : colours;
    };
    const Coordinate y = Y(LineOrigin(line));
    const int32_t height = geometry_.glyphHeight;
    const CGrphMain& painter = painter_;
    switch (kind) {
    case RecordKind::SdCharacter:
        Glyph(column, 0, line, pick(kSdColours), CellGlyphCode(characterSet, CodeOf(word)));
        break;
    case RecordKind::RdCharacter:
        Glyph(column, 0, line, pick(kRdColours), CellGlyphCode(characterSet, CodeOf(word)));
        break;
    case RecordKind::SdError:
    case RecordKind::RdError:
        Glyph(column, 0, line, pick(kErrorColours), CellGlyphCode(GlyphSet::Mark, CodeOf(word)));
        break;
    case RecordKind::ControlLineChange:
        Glyph(column, 0, line, kBlankColours, kEmptyCellGlyph);
        break;
    case RecordKind::IdleHead:
    case RecordKind::IdleContinuation: {
        const auto part = IdlePartAt(capture_, index);
        if (idleCells_ == 0 || !part) {
            break;
        }
        GlyphCode value = kBlankGlyph;
        if (GroupComplete(capture_, part->head, 3)) {
            value = IdleValueGlyph(part->part, IdleResolution(capture_.word(part->head)),
                                   IdleGroupValue(capture_, part->head));
        }
        painter.DrawCode(canvas_, {geometry_.idleX + part->part * geometry_.cellWidth, y}, height,
                         pick(kIdleColours), value);
        break;
    }
    case RecordKind::StampHead:
    case RecordKind::StampContinuation: {
        const auto part = StampPartAt(capture_, index);
        if (timeCells_ == 0 || !part || !GroupComplete(capture_, part->head, 4)) {
            break;
        }
        const StampColumnCells cells =
            FrameStampCells(layout_.display().timeDisplay, SubKindOf(capture_.word(part->head)),
                            StampGroupDigits(capture_, part->head), part->part);
        for (int i = 0; i < cells.count; ++i) {
            const StampColumnCell& cell = cells.cells[static_cast<size_t>(i)];
            painter.DrawCode(canvas_, {geometry_.timeX + cell.cell * geometry_.cellWidth, y},
                             height, pick(kStampColours), cell.code);
        }
        break;
    }
    default:
        break;
    }
}

void PageDrawer::DrawCellControlLines(RingIndex index, RecordWord word, CellColumn column,
                                      PageLine line) {
    uint16_t left = ControlLineFieldOf(word);
    uint16_t right = left;
    switch (KindOf(word)) {
    case RecordKind::ControlLineChange:
        left = PreviousLineStates(word);
        right = NewLineStates(word);
        break;
    case RecordKind::IdleHead:
    case RecordKind::IdleContinuation:
        if (const auto part = IdlePartAt(capture_, index);
            part && GroupComplete(capture_, part->head, 3)) {
            left = right = ControlLineFieldOf(capture_.word(capture_.WrapIndex(part->head, 2)));
        }
        break;
    case RecordKind::StampHead:
    case RecordKind::StampContinuation:
        if (const auto part = StampPartAt(capture_, index)) {
            left = right = ControlLineFieldOf(capture_.word(part->head));
        }
        break;
    default:
        break;
    }
    const Coordinate offset = (frame() ? 1 : 2) * geometry_.rowPitch;
    painter_.DrawControlLines(canvas_, {CellX(column), Y(LineOrigin(line) + offset)},
                              geometry_.controlRowPitch, left, right, surface_,
                              layout_.options().linePattern);
}

void PageDrawer::DrawLiveIdleCell(CellColumn column, PageLine line, int part, int32_t idleDisplay,
                                  uint32_t value) {
    Glyph(column, 0, line, kIdleColours, IdleLabelGlyph(part));
    Glyph(column, geometry_.rowPitch, line, kIdleColours,
          LiveIdleValueGlyph(part, idleDisplay, value));
}

} // namespace varnolt
