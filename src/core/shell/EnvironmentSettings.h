#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace varnolt {

struct AppSettings;

// The environment settings dialog's copies of the per-user values: automatic saving, the question
// before received data is thrown away, and the automatic read and write of the analyzer
// settings. Applied to the real values only on OK.
struct EnvironmentSettings {
    bool autoSaveEnabled = false;
    std::string autoSaveFolder;
    int32_t autoSaveFileSize = 8; // megabytes
    bool askBeforeDiscard = true;
    bool autoRead = false;
    bool autoWrite = false;

    [[nodiscard]] static EnvironmentSettings From(const AppSettings& settings);
    void ApplyTo(AppSettings& settings) const;
};

// The file-size list: "1Mバイト" … "16Mバイト" at positions 0 … 4.
inline constexpr std::array<std::string_view, 5> kFileSizeChoices = {
    "1Mバイト", "2Mバイト", "4Mバイト", "8Mバイト", "16Mバイト"};

// The list position of SIZE megabytes; nullopt (no selection) for a size not in the list.
[[nodiscard]] std::optional<int> FileSizeChoiceOf(int32_t megabytes);
// The size in megabytes at list position CHOICE; 8 when nothing is selected (-1 or out of range).
[[nodiscard]] int32_t FileSizeOfChoice(int choice);

} // namespace varnolt
