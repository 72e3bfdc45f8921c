#pragma once

#include <string_view>

namespace varnolt {

// The texts of the firmware-update dialog, exactly as the user reads them.
inline constexpr std::string_view kFirmwareTitle = "ファームウェア更新";
inline constexpr std::string_view kNoFileText = "未選択";
inline constexpr std::string_view kChooseFirmwareText = "更新ファームウェアを選択してください";
inline constexpr std::string_view kReadyToUpdateText = "更新してください";
inline constexpr std::string_view kPreparingText = "更新準備中";
inline constexpr std::string_view kRestartingText = "アナライザーを再起動しています";
inline constexpr std::string_view kWaitingForRestartText = "アナライザー再起動待ち";
inline constexpr std::string_view kTransferringText = "プログラム転送中、電源を切らないでください";
inline constexpr std::string_view kWritingText = "データ書込中、電源を切らないください";
inline constexpr std::string_view kUpdateFinishedText = "更新が終了しました";
inline constexpr std::string_view kUpdateCancelledText = "キャンセルしました";
inline constexpr std::string_view kWriteFailedText = "書き込みに失敗しました";

inline constexpr std::string_view kFileChoiceCaption = "ファイル選択";
inline constexpr std::string_view kUpdateCaption = "更新";
inline constexpr std::string_view kCancelCaption = "キャンセル";
inline constexpr std::string_view kFinishCaption = "終了";
inline constexpr std::string_view kRecoveryCaption =
    "更新失敗等でアナライザーが起動しないときにチェック";

inline constexpr std::string_view kNoFileChosenMessage = "ファイルが選択されていません";
inline constexpr std::string_view kCannotOpenFileMessage = "ファイルが開けません";
inline constexpr std::string_view kUpdateQuestion =
    "更新しますか？\n更新にて全データが初期化されます";
inline constexpr std::string_view kSameVersionQuestion =
    "アナライザーとプログラムバージョンが同じです\n再更新しますか？";
inline constexpr std::string_view kPowerCycleMessage =
    "アナライザーの電源を切ってから、「ＯＫ」をクリックしてください。\nクリック後、再び電源を入れ"
    "てください。";
inline constexpr std::string_view kUpdateDoneMessage =
    "更新完了、アナライザー初期化中\n初期化終了まで１分ほどお待ちください";
// Followed by a space and the three-character error code.
inline constexpr std::string_view kBadFileMessage = "転送ファイルに誤りがあります";
inline constexpr std::string_view kUpdateTimeoutMessage = "通信タイムアウトです";
inline constexpr std::string_view kWriteFailedMessage =
    "書き込みに失敗しました、再度転送してください";
inline constexpr std::string_view kUpdateCancelledMessage =
    "キャンセルしました\nアナライザーを再起動してください";

} // namespace varnolt
