#pragma once

#include "core/platform/BinaryReader.h"

#include <cstdint>
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

// How much of a capture file a load took.
struct CaptureLoadResult {
    bool loaded = false;      // the store holds the file's capture (ReadCapture's result)
    bool complete = true;     // every record the file announces was read
    uint32_t fileRecords = 0; // the records the file announces
};

// Loads the capture file read from IN into STORE. Once the file has passed its checks the
// store is emptied for loading (full capacity, nothing held) and the file's header replaces
// the fields it carries; true then, with exactly the records read when the file ends among
// its records. False for a file that is refused or that ends (or fails) before its records:
// STORE is left exactly as it was. Every refusal and file error is reported through PROMPT;
// PATH names the file in file-error messages.
bool ReadCapture(BinaryReader& in, CCaptureData& store, UserPrompt& prompt,
                 const std::filesystem::path& path);

// ReadCapture from the file at PATH, saying also whether the file ended (or failed) among its
// records, so that a capture loaded in part is not mistaken for the whole file. A file that
// cannot be opened is reported and not loaded, leaving STORE as it was.
[[nodiscard]] CaptureLoadResult LoadCaptureFile(const std::filesystem::path& path,
                                                CCaptureData& store, UserPrompt& prompt);

// ReadCapture from the file at PATH; a file that cannot be opened is reported and gives false,
// leaving STORE as it was.
bool ReadCaptureFile(const std::filesystem::path& path, CCaptureData& store, UserPrompt& prompt);

} // namespace varnolt
