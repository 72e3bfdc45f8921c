#pragma once

#include "core/capture/CCaptureData.h"

#include <ctime>
#include <filesystem>
#include <functional>
#include <string_view>

namespace varnolt {

// File name prefixes of the background saves.
inline constexpr std::string_view kAutoSavePrefix = "VrnAuto_";
inline constexpr std::string_view kTriggerSavePrefix = "VrnTrigsv_";

// The local time a save's file is named after.
using LocalTimeSource = std::function<std::tm()>;
// The system's local time now.
[[nodiscard]] std::tm CurrentLocalTime();

// Whether FOLDER exists and is a directory; saves into anything else are not attempted.
[[nodiscard]] bool IsSaveFolder(const std::filesystem::path& folder);

// FOLDER / prefix of KIND + TIME as "%Y%m%d_%H%M%S.tvd", e.g. VrnAuto_20261210_044234.tvd.
[[nodiscard]] std::filesystem::path SaveFileName(const std::filesystem::path& folder, SaveKind kind,
                                                 const std::tm& time);

// NAME when nothing of that name exists yet; otherwise the first free NAME with "_2", "_3" ...
// before its extension, so that saves started within the same second never overwrite each
// other or an older file. Only the save thread creates files of these names, one at a time.
[[nodiscard]] std::filesystem::path FreeSaveFilePath(const std::filesystem::path& name);

} // namespace varnolt
