#pragma once

#include <span>
#include <string_view>

namespace varnolt::ui {

// The status bar's panes after the message pane: indicator id, width in pixels, and the text
// shown until a capture's conditions and the line lamps fill them in.
struct StatusPane {
    int id;
    int width;
    std::string_view text;
};

[[nodiscard]] inline std::span<const StatusPane> StatusBarPanes() {
    static constexpr StatusPane kPanes[] = {
        {201, 150, ""},   {201, 115, "---"}, {202, 40, "---"}, {203, 30, "---"}, {204, 35, "---"},
        {205, 40, "---"}, {206, 35, "SD"},   {207, 35, "RS"},  {208, 35, "ER"},  {209, 35, "RD"},
        {210, 35, "CS"},  {211, 35, "DR"},   {212, 35, "CD"},  {213, 35, "CI"},
    };
    return kPanes;
}

} // namespace varnolt::ui
