#pragma once

#include "core/capture/CCaptureData.h"
#include "core/interop/CaptureTime.h"
#include "core/platform/FileError.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string_view>

namespace varnolt {

class UserPrompt;

// The files made for other tools: pcapng for Wireshark, VCD for waveform viewers.
enum class InteropFormat { Pcapng, Vcd };

// The messages of the "エクスポート" command.
inline constexpr std::string_view kInteropExportTitle = "エクスポート";
inline constexpr std::string_view kInteropPcapngFilter = "pcapng ファイル (*.pcapng)";
inline constexpr std::string_view kInteropVcdFilter = "VCD ファイル (*.vcd)";
inline constexpr std::string_view kInteropExtensionMessage =
    "出力ファイルの拡張子は .pcapng または .vcd にしてください";
inline constexpr std::string_view kInteropNoSpeedMessage =
    "通信速度が分からないため VCD ファイルに出力できません";
inline constexpr std::string_view kInteropDoneMessage = "エクスポートが完了しました";

// The format PATH's extension names (".pcapng" or ".vcd", in any case).
[[nodiscard]] std::optional<InteropFormat> InteropFormatOf(const std::filesystem::path& path);

// Writes CAPTURE into a file at PATH in FORMAT, replacing what PATH held only once complete; a
// failure leaves PATH as it was, and the error says why.
[[nodiscard]] FileError WriteInteropFile(const CCaptureData& capture, const TimeBase& base,
                                         InteropFormat format, const std::filesystem::path& path);

// Told true before a file is written and false after it, so a window can show that it is busy
// while no message box is open.
using BusySignal = std::function<void(bool busy)>;

// Converts CAPTURE into the file at PATH in the format its extension names. Refuses, through
// PROMPT, an extension of another format and a VCD of a capture that names no line speed;
// reports a file that cannot be written. Returns whether the file was written.
bool ConvertForOtherTools(const CCaptureData& capture, const TimeBase& base,
                          const std::filesystem::path& path, UserPrompt& prompt,
                          const BusySignal& busy = {});

// The "エクスポート" command after the file was chosen: ConvertForOtherTools, then the
// completion message.
void RunInteropExport(const CCaptureData& capture, const TimeBase& base,
                      const std::filesystem::path& path, UserPrompt& prompt,
                      const BusySignal& busy = {});

// Where the save dialog proposes to write: beside the capture file DOCUMENTPATH, under its name,
// with FORMAT's extension; "Varnolt" for a capture never saved.
[[nodiscard]] std::filesystem::path InteropSuggestedPath(const std::filesystem::path& documentPath,
                                                         InteropFormat format);

} // namespace varnolt
