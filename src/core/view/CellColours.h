#pragma once

#include "core/view/CellCanvas.h"

namespace varnolt {

// The colours of the cells and labels of the data view and of printed pages.
struct CellColours {
    Rgb text;
    Rgb background;
    friend bool operator==(const CellColours&, const CellColours&) = default;
};

inline constexpr CellColours kSdColours{kBlack, {70, 255, 70}};  // SD characters, " SD "
inline constexpr CellColours kRdColours{kBlack, {32, 244, 244}}; // RD characters, " RD "
inline constexpr CellColours kErrorColours{kBlack, {240, 128, 240}};
inline constexpr CellColours kIdleColours{kBlack, {240, 240, 140}};
inline constexpr CellColours kStampColours{kBlack, {196, 196, 196}};
inline constexpr CellColours kSelectedColours{kWhite, {255, 0, 0}}; // search hit
inline constexpr CellColours kPlainColours{kBlack, kWhite}; // line numbers, page texts, paper
inline constexpr CellColours kBlankColours{kWhite, kWhite}; // clears what was there

// Control-line bands of the filled pattern, by state.
inline constexpr Rgb kLineOnColour{255, 96, 96};
inline constexpr Rgb kLineOffColour{48, 255, 48};
inline constexpr Rgb kLineUnknownColour{160, 160, 160};

} // namespace varnolt
