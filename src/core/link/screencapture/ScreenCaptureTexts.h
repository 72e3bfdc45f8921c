#pragma once

#include <string_view>

namespace varnolt {

// The texts of the screen-capture dialog, exactly as the user reads them.
inline constexpr std::string_view kScreenCaptureTitle = "画面キャプチャ";
inline constexpr std::string_view kCaptureKeepHandsOffText =
    "キャプチャ中はアナライザーを操作しないでください";
inline constexpr std::string_view kCaptureRunningText = "キャプチャ中";
inline constexpr std::string_view kCaptureDoneText = "読込みが完了しました";
inline constexpr std::string_view kCaptureCancelledText = "キャンセルしました";
inline constexpr std::string_view kCaptureTimeoutMessage =
    "通信タイムアウトです、アナライザー停止状態か確認してください";
inline constexpr std::string_view kCaptureCopiedText = "クリップボードにコピーしました";
// Saving the kept picture as a PNG file ("保存...").
inline constexpr std::string_view kCaptureSaveTitle = "画像の保存";
inline constexpr std::string_view kCaptureSaveFilter = "PNG ファイル (*.png)";
inline constexpr std::string_view kCaptureSavedText = "画像を保存しました";
inline constexpr std::string_view kCaptureSaveFailedMessage = "画像を保存できませんでした";

} // namespace varnolt
