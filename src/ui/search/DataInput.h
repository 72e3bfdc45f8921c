#pragma once

#include "core/view/DataInputModel.h"
#include "core/view/SearchCriteria.h"

class QWidget;

namespace varnolt::ui {

// The character input dialog "文字入力", for every caller.
//
// Transmit data, trigger condition and single code:
//   CharacterPattern pattern;               // elements, bit masks and ranges
//   pattern.setElements(entry.usedElements());
//   if (RunCharacterInput(this, DataInputMode::TransmitData, pattern)) {
//       ... pattern.usedElements() is the new string ...
//   }
// The dialog edits a copy and writes it back only when it is closed with "OK"; on "キャンセル"
// PATTERN is left as it was. The edit holds at most 128 glyphs (transmit data), 16 (trigger
// condition, whose "特殊文字" page also edits PATTERN's bit masks and ranges) or 1 (single code:
// a frame start or end code, a range bound; an empty result means "no character").
//
// To show a pattern in the cell font elsewhere (a list of transmit strings, a trigger summary),
// see CellFontText.h.
[[nodiscard]] bool RunCharacterInput(QWidget* parent, DataInputMode mode,
                                     CharacterPattern& pattern);

// The search mode: all five pages over the view's CRITERIA, written back on "検索".
[[nodiscard]] bool RunSearchInput(QWidget* parent, SearchCriteria& criteria);

} // namespace varnolt::ui
