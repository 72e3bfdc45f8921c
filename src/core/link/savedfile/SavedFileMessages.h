#pragma once

#include <string_view>

namespace varnolt {

// The texts of saved-file reception, exactly as the user reads them.

inline constexpr std::string_view kSavedFileDialogTitle = "データ受信";
inline constexpr std::string_view kStoredFileListCaption = "アナライザー内データ";
inline constexpr std::string_view kReceiveButtonText = "受信";
inline constexpr std::string_view kCancelButtonText = "キャンセル";

// The list's columns, in order.
inline constexpr std::string_view kNameColumn = "ファイル名";
inline constexpr std::string_view kCreatedColumn = "作成日時";
inline constexpr std::string_view kSizeColumn = "サイズ";
inline constexpr std::string_view kNumberColumn = "番号";

// Status texts.
inline constexpr std::string_view kSelectDataStatus = "データを選択してください";
inline constexpr std::string_view kReceivingStatus = "受信中";
// Follows the file's name while it is being fetched.
inline constexpr std::string_view kReadingSuffix = " 読込み中";

// Status texts that are also shown in a message box.
inline constexpr std::string_view kCancelledMessage = "キャンセルしました";
inline constexpr std::string_view kReceiveCompleteMessage = "読込みが完了しました";
inline constexpr std::string_view kTimeoutMessage =
    "通信タイムアウトです、アナライザー停止状態か確認してください";
inline constexpr std::string_view kFileVersionMessage =
    "ファイルバージョンが異なります、最新バージョンをインストールしてください。";
// A file larger than the download buffer.
inline constexpr std::string_view kFileTooLargeMessage = "ファイルが大きすぎるため受信できません";

// The overwrite question ("保存").
inline constexpr std::string_view kSaveDigTitle = "保存";
inline constexpr std::string_view kOverwriteQuestion =
    "同一ファイル名が存在します、上書きしますか？";
inline constexpr std::string_view kFileNameLinePrefix = "ファイル名：";
inline constexpr std::string_view kOverwriteButtonText = "上書き";
inline constexpr std::string_view kSkipButtonText = "スキップ";
inline constexpr std::string_view kSameForLaterText = "以降も同じ処理を行う";

} // namespace varnolt
