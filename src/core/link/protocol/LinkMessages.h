#pragma once

#include <string>
#include <string_view>

namespace varnolt {

// The texts the analyzer link shows to the user, exactly as the user reads them.

// The USB description of the analyzer's bridge; the port opens by it.
inline constexpr std::string_view kAnalyzerDescription = "Tavrix USB Device 232H";

inline constexpr std::string_view kCantLoadLibraryMessage = "Error: Can't Load ft8u245.dll";

// "Error: Can't Find FT_Write": an entry point missing from the loaded library.
[[nodiscard]] inline std::string CantFindEntryMessage(std::string_view entry) {
    return "Error: Can't Find " + std::string(entry);
}

// "FT_Read is not valid!": a call through an entry point that was not resolved.
[[nodiscard]] inline std::string EntryNotValidMessage(std::string_view entry) {
    return std::string(entry) + " is not valid!";
}

inline constexpr std::string_view kAnalyzerAbsentMessage =
    "アナライザーが接続されていないか、電源が入っていません";
// Added below the absent message when the analyzer's bridge is there but the system refuses
// this user access to it.
inline constexpr std::string_view kNoPermissionNote =
    "no permission — see the udev rule in the README";
// The message when the port does not open; ACCESSREFUSED adds why.
[[nodiscard]] inline std::string AnalyzerAbsentMessage(bool accessRefused) {
    std::string text(kAnalyzerAbsentMessage);
    if (accessRefused) {
        text.append("\n").append(kNoPermissionNote);
    }
    return text;
}
inline constexpr std::string_view kCommunicationFailedMessage =
    "アナライザーとの通信に失敗しました";
inline constexpr std::string_view kSwitchToPowerOnScreenMessage =
    "機器を電源起動画面に切り替えてください";
inline constexpr std::string_view kCannotDisconnectWhileRunningMessage = "開始中は切断できません";
inline constexpr std::string_view kQuitWhileRunningQuestion = "開始中ですが、終了しますか？";
// Closing the window while a download (or another modal operation) holds the link.
inline constexpr std::string_view kQuitWhileBusyQuestion = "通信中ですが、中止して終了しますか？";

// Shown in the caller's progress status bar while the settings blocks travel (read or write).
inline constexpr std::string_view kSettingsTransferText = "書込中";

inline constexpr std::string_view kConfirmCaption = "確認";
inline constexpr std::string_view kErrorCaption = "Error";

} // namespace varnolt
