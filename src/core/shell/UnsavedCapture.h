#pragma once

#include <string_view>

namespace varnolt {

class UserPrompt;

// Asked before a capture whose records are on no file is thrown away.
inline constexpr std::string_view kUnsavedCaptureQuestion =
    "受信したデータはまだ保存されていません。\n保存しますか？";

// What the user chose for a capture about to be thrown away.
enum class UnsavedCaptureChoice {
    Save,    // save it first; it is thrown away only when that succeeds
    Discard, // throw it away
    Cancel,  // keep it: the command that would throw it away does not go on
};

// Asks kUnsavedCaptureQuestion with "保存" / "保存しない" / "キャンセル".
[[nodiscard]] UnsavedCaptureChoice AskToSaveCapture(UserPrompt& prompt);

} // namespace varnolt
