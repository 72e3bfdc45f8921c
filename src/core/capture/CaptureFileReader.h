#pragma once

#include "core/platform/BinaryReader.h"

#include <filesystem>
#include <string_view>

namespace varnolt {

class CCaptureData;
class UserPrompt;

// Shown for a file that is no capture file, or one whose record count exceeds the ring.
inline constexpr std::string_view kWrongFileFormatMessage = "ファイル形式が違います。";
// Shown for a file-format or data-format version the reader does not know.
inline constexpr std::string_view kWrongFileVersionMessage =
    "ファイルバージョンが異なります、最新バージョンをインストールしてください。";

// Loads the capture file read from IN into STORE, which is first emptied for loading (full
// capacity, nothing held); the file's header replaces the fields it carries. Returns whether
// the store now holds the file's capture: false, with the store empty, for a file that is
// refused or that ends (or fails) before its records; true with exactly the records read when
// the file ends among its records. Every refusal and file error is reported through PROMPT;
// PATH names the file in file-error messages.
bool ReadCapture(BinaryReader& in, CCaptureData& store, UserPrompt& prompt,
                 const std::filesystem::path& path);

// ReadCapture from the file at PATH; a file that cannot be opened is reported and gives false.
bool ReadCaptureFile(const std::filesystem::path& path, CCaptureData& store, UserPrompt& prompt);

} // namespace varnolt
