#pragma once

#include "core/view/CellCanvas.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace varnolt {

// The status bar's eight line lamps, in the order of the line-state block: SD, RS, ER, RD, CS,
// DR, CD, CI.
inline constexpr size_t kLampCount = 8;
using LampStates = std::array<int32_t, kLampCount>; // 1 on, 2 off, anything else unknown

// The lamp pictures (15 × 15, drawn by tools/lamps). Green for the send side, aqua for the
// receive side; grey while the analyzer is not connected; blank for a collapsed pane.
enum class LampPicture : uint8_t {
    Inactive,
    SendOn,
    SendOff,
    SendUnknown,
    ReceiveOn,
    ReceiveOff,
    ReceiveUnknown,
    Blank,
};
inline constexpr size_t kLampPictureCount = 8;

// A lamp pane's background: the send side's or the receive side's colour while connected, the
// menu colour otherwise.
enum class LampBackground : uint8_t { Send, Receive, Menu };

inline constexpr Rgb kSendSideColour{70, 255, 70};
inline constexpr Rgb kReceiveSideColour{32, 244, 244};

inline constexpr int kLampPaneWidth = 35;

// What a lamp pane shows after the conditions were shown.
struct LampPane {
    LampPicture picture = LampPicture::Inactive;
    std::string text;
    int width = kLampPaneWidth;
    LampBackground background = LampBackground::Menu;
    friend bool operator==(const LampPane&, const LampPane&) = default;
};

// The lamp panes for a capture of LINE_MODE: all eight on RS-232C (1, 2), only SD and RD on
// RS-422/485 (3, 4; the others blank, empty and 0 wide). Every visible lamp starts inactive.
// Nullopt for any other line mode: the panes stay as they were.
[[nodiscard]] std::optional<std::array<LampPane, kLampCount>> LampPanesOf(int32_t lineMode,
                                                                          bool connected);

// The pictures the lamps take from the line states; nullopt where a lamp keeps its picture
// (the control lines without ALL_LAMPS, the collapsed panes of RS-422/485, every lamp for a
// line mode outside 1 … 4). Not connected, every visible lamp is inactive.
[[nodiscard]] std::array<std::optional<LampPicture>, kLampCount>
LampPicturesOf(int32_t lineMode, bool connected, const LampStates& states, bool allLamps);

// Whether lamp LAMP of a capture of LINE_MODE is one of the outputs the user toggles by double-
// clicking it (RS and ER on RS-232C).
[[nodiscard]] bool IsToggledLamp(int32_t lineMode, size_t lamp);

// The tool tip of lamp LAMP showing PICTURE: the line's name and its state, and for a line the
// user can toggle, how.
[[nodiscard]] std::string LampToolTip(size_t lamp, LampPicture picture, bool toggles);

} // namespace varnolt
