#pragma once

namespace varnolt {

class CMoniterComm;
class UserPrompt;

// The connect and disconnect commands ("接続", "切断") on the document's link. The shell does
// the rest of each command itself: after either, files may (not) be dropped on the window and
// the status bar and panes are refreshed.

// How a connect ended.
enum class ConnectResult {
    AlreadyConnected, // remote mode was 1; nothing was sent
    Failed,           // remote mode could not be entered, or the run state not set
    WrongPage,        // the analyzer was not on its power-on screen; remote mode was left
    Connected,        // remote mode 1, run state 11, link state 1: the document holds data
};

// Enters remote mode, checks that the analyzer shows its power-on screen, and stops its
// measurement. Messages go to OWNER.
ConnectResult ConnectAnalyzer(CMoniterComm& link, UserPrompt& owner);

// How a disconnect ended.
enum class DisconnectResult {
    Refused,      // a measurement runs: "開始中は切断できません"
    NotConnected, // remote mode was not 1; nothing was sent
    Disconnected, // remote mode left (or tried to): the view's scroll bar is enabled again
};

DisconnectResult DisconnectAnalyzer(CMoniterComm& link, UserPrompt& owner);

// Closing the main window: while a measurement runs, asks "開始中ですが、終了しますか？";
// true when the window may close (the caller then stops the measurement and disconnects).
[[nodiscard]] bool ConfirmCloseWhileRunning(const CMoniterComm& link, UserPrompt& owner);

// Closing the main window while a modal operation (a download) holds the link: asks
// "通信中ですが、中止して終了しますか？"; on OK asks the operation to end (RequestCancel) and
// returns true: the window closes once the busy flag has gone. False: the window stays.
[[nodiscard]] bool ConfirmCloseWhileBusy(CMoniterComm& link, UserPrompt& owner);

} // namespace varnolt
