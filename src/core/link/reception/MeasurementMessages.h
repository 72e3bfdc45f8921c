#pragma once

#include <string_view>

namespace varnolt {

// The texts of the measurement commands, exactly as the user reads them.
inline constexpr std::string_view kAutoSaveFolderMissingMessage =
    "自動ファイル保存先が存在しません";
inline constexpr std::string_view kNoStoredDataMessage = "データがありません";
inline constexpr std::string_view kMessageCaption = "メッセージ";

} // namespace varnolt
