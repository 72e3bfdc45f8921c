#pragma once

#include <string>
#include <string_view>

namespace varnolt {

// What the program's version resource says of it.
inline constexpr std::string_view kProductVersion = VARNOLT_VERSION_TEXT;
inline constexpr std::string_view kLegalCopyright = "Copyright (C) 2026 Tavrix Corporation";
inline constexpr std::string_view kSpecialBuild = "";

// The about box's version line: "Version <product version>", with "-<special build>" appended
// when there is one; without a product version the special build alone.
[[nodiscard]] std::string FormatVersionLine(std::string_view productVersion,
                                            std::string_view specialBuild);

} // namespace varnolt
