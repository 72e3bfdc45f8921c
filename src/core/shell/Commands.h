#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace varnolt {

// Command ids of the menus, the toolbar and the status bar.
enum CommandId : int32_t {
    kCmdFileNew = 57600,
    kCmdFileOpen = 57601,
    kCmdFileSave = 57603,
    kCmdFileSaveAs = 57604,
    kCmdFilePrintSetup = 57606,
    kCmdFilePrint = 57607,
    kCmdFilePrintPreview = 57609,
    kCmdRecentFile = 57616,
    kCmdAppExit = 57665,
    kCmdAppAbout = 57664,
    kCmdExport = 32771,
    kCmdFind = 32772,
    kCmdFindNext = 32773,
    kCmdFindPrevious = 32774,
    kCmdHexView = 32776,
    kCmdControlLineView = 32777,
    kCmdLinePatternLines = 32778,
    kCmdLinePatternFilled = 32779,
    kCmdSettings = 32781,
    kCmdFirmwareUpdate = 32782,
    kCmdScreenCapture = 32783,
    kCmdConnect = 32792,
    kCmdDisconnect = 32793,
    kCmdStart = 32794,
    kCmdStop = 32795,
    kCmdSavedFileReceive = 32797,
    kCmdOnlineDataReceive = 32799,
    kCmdEnvironment = 32809,
    kCmdTimerCounterPane = 32839,
    kCmdInteropExport = 32860,
    kCmdStatistics = 32861,
    kCmdToolbarCustomize = 135,
    // Double-clicks on the status bar's RS and ER lamp panes.
    kCmdStatusPaneRs = 207,
    kCmdStatusPaneEr = 208,
    kCmdStatusBar = 59393,
};

// A command's menu text (with its mnemonic) and shortcut as the menus show them.
struct CommandText {
    CommandId id;
    std::string_view menuText;
    std::string_view shortcut; // empty when the command has none
    std::string_view toolTip;  // the status and tool-tip text
};

// Every command that has a menu text.
[[nodiscard]] std::span<const CommandText> AllCommandTexts();
[[nodiscard]] const CommandText* FindCommandText(CommandId id);

// What the enable and tick rules look at.
struct CommandContext {
    bool holdsCapture = false;
    bool connected = false;
    bool measuring = false;
    // A modal analyzer operation (a download, saved-file reception, the settings dialog) holds
    // the link; it may be running inside a nested event loop.
    bool busy = false;
    int32_t recordCount = 0;
    int32_t recordWidth = 0;
    int32_t hexView = 0;
    int32_t controlLineView = 0;
    int32_t timerCounterPane = 0;
    int16_t linePattern = 0;
};

struct CommandState {
    bool enabled = true;
    bool checked = false;
    bool checkable = false;
};

// The enable and tick rule of command ID in CONTEXT. While the link is busy every command that
// touches the link or the capture store is disabled, so that nothing mixes its exchanges into
// the running operation or empties the store it is filling.
[[nodiscard]] CommandState EvaluateCommand(CommandId id, const CommandContext& context);

} // namespace varnolt
