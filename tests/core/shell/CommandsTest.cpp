#include "core/shell/Commands.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>

namespace varnolt {
namespace {

// The document states the rules distinguish.
// Busy: connected and stopped, a download (or another modal operation) holding the link.
enum State { NoCapture, Capture, CaptureWidth1, Connected, Measuring, Busy, kStateCount };

CommandContext ContextOf(State state) {
    CommandContext c;
    c.holdsCapture = state != NoCapture;
    c.recordCount = state == NoCapture ? 0 : 10;
    c.recordWidth = state == CaptureWidth1 ? 1 : 0;
    c.connected = state == Connected || state == Measuring || state == Busy;
    c.measuring = state == Measuring;
    c.busy = state == Busy;
    return c;
}

// Expected enable flags in the order NoCapture, Capture, CaptureWidth1, Connected, Measuring,
// Busy.
struct RuleRow {
    CommandId id;
    const char* enabled;
};

const RuleRow kRules[] = {
    {kCmdFileNew, "11110 0"},
    {kCmdFileOpen, "11100 0"},
    {kCmdFileSave, "01110 0"},
    {kCmdFileSaveAs, "01110 0"},
    {kCmdFilePrint, "01110 0"},
    {kCmdFilePrintPreview, "01110 0"},
    {kCmdFilePrintSetup, "11110 1"},
    {kCmdExport, "01110 0"},
    {kCmdInteropExport, "01110 0"},
    {kCmdStatistics, "01110 0"},
    {kCmdRecentFile, "11100 0"},
    {kCmdAppExit, "11111 1"},
    {kCmdFind, "01110 0"},
    {kCmdFindNext, "01110 0"},
    {kCmdFindPrevious, "01110 0"},
    {kCmdHexView, "01111 0"},
    {kCmdControlLineView, "00100 0"},
    {kCmdTimerCounterPane, "01111 1"},
    {kCmdLinePatternLines, "11111 1"},
    {kCmdLinePatternFilled, "11111 1"},
    {kCmdConnect, "11100 0"},
    {kCmdDisconnect, "00011 0"},
    {kCmdStart, "00010 0"},
    {kCmdStop, "00001 0"},
    {kCmdOnlineDataReceive, "00010 0"},
    {kCmdSavedFileReceive, "00010 0"},
    {kCmdSettings, "11110 0"},
    {kCmdFirmwareUpdate, "11100 0"},
    {kCmdScreenCapture, "11111 0"},
    {kCmdEnvironment, "11110 1"},
    {kCmdToolbarCustomize, "11111 1"},
    {kCmdAppAbout, "11111 1"},
};

TEST(Commands, EnableRulesOverTheDocumentStates) {
    for (const RuleRow& row : kRules) {
        std::string expected = row.enabled;
        expected.erase(std::remove(expected.begin(), expected.end(), ' '), expected.end());
        ASSERT_EQ(expected.size(), size_t{kStateCount}) << row.id;
        for (int s = 0; s < kStateCount; ++s) {
            EXPECT_EQ(EvaluateCommand(row.id, ContextOf(State(s))).enabled, expected[s] == '1')
                << "command " << row.id << " in state " << s;
        }
    }
}

TEST(Commands, EveryMenuCommandHasARule) {
    std::map<int, bool> covered;
    for (const RuleRow& row : kRules) {
        covered[row.id] = true;
    }
    for (const CommandText& text : AllCommandTexts()) {
        EXPECT_TRUE(covered.count(text.id)) << text.menuText;
    }
}

TEST(Commands, TickRules) {
    CommandContext c = ContextOf(CaptureWidth1);
    c.hexView = 1;
    c.linePattern = 1;
    c.controlLineView = 1;
    EXPECT_TRUE(EvaluateCommand(kCmdHexView, c).checked);
    EXPECT_TRUE(EvaluateCommand(kCmdControlLineView, c).checked);
    EXPECT_TRUE(EvaluateCommand(kCmdLinePatternFilled, c).checked);
    EXPECT_FALSE(EvaluateCommand(kCmdLinePatternLines, c).checked);
    EXPECT_FALSE(EvaluateCommand(kCmdTimerCounterPane, c).checked);
    EXPECT_FALSE(EvaluateCommand(kCmdConnect, c).checkable);
}

TEST(Commands, MenuTextsAreExact) {
    EXPECT_EQ(FindCommandText(kCmdFileOpen)->menuText, "開く(&O)...");
    EXPECT_EQ(FindCommandText(kCmdLinePatternLines)->menuText, "線型　ライン表示");
    EXPECT_EQ(FindCommandText(kCmdAppAbout)->menuText, "バージョン情報 Varnolt(&A)...");
    EXPECT_EQ(FindCommandText(kCmdFindPrevious)->shortcut, "Shift+F3");
}

} // namespace
} // namespace varnolt
