#pragma once

#include "core/capture/AutomaticSave.h"

#include <cstdint>
#include <string>

namespace varnolt {

class ConfigStore;

// The per-user values of the configuration section "Settings". The main frame reads them when
// it is created and writes them back as soon as a command or dialog has changed them, so a
// crash loses nothing.
struct AppSettings {
    int16_t linePattern = 0;       // control lines drawn as 0 lines, 1 filled bands
    int32_t exportLineLength = 50; // characters per line of the text export, 10 or more
    int32_t exportMojiSize = 0;    // 0 full-width, 1 half-width export characters
    int32_t exportLineOut = 0;     // 1: the export also writes control-line rows
    int32_t saSyncRxFlg = 0;       // 1: read the settings from the analyzer when the dialog opens
    int32_t saSyncTxFlg = 0;       // 1: write them to the analyzer when the dialog closes
    int32_t autoSaveEnableFlg = 0; // 1: save automatically during a measurement
    std::string autoSaveFolder;    // folder of automatically saved files (UTF-8)
    int32_t autoSaveFileSize = 8;  // megabytes per automatic file: 1, 2, 4, 8 or 16
    int32_t hexView = 0;           // 1: characters shown as hexadecimal codes
    int32_t saveAskFlg = 1;        // 1: ask to save received data before it is thrown away

    friend bool operator==(const AppSettings&, const AppSettings&) = default;
};

inline constexpr const char* kSettingsSection = "Settings";

// The automatic-save values as reception takes them.
[[nodiscard]] AutoSaveOptions AutoSaveOptionsOf(const AppSettings& settings);

// Reads every value with its default and replaces out-of-range values.
[[nodiscard]] AppSettings ReadAppSettings(const ConfigStore& store);

// Writes every value.
void WriteAppSettings(const AppSettings& settings, ConfigStore& store);

} // namespace varnolt
