#include "core/shell/Commands.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>

namespace varnolt {
namespace {

// The document states the rules distinguish.
enum State { NoCapture, Capture, CaptureWidth1, Connected, Measuring, kStateCount };

CommandContext ContextOf(State state) {
    CommandContext c;
    c.holdsCapture = state != NoCapture;
    c.recordCount = state == NoCapture ? 0 : 10;
    c.recordWidth = state == CaptureWidth1 ? 1 : 0;
    c.connected = state == Connected || state == Measuring;
    c.measuring = state == Measuring;
    return c;
}

// Expected enable flags in the order NoCapture, Capture, CaptureWidth1, Connected, Measuring.
struct RuleRow {
    CommandId id;
    const char* enabled;
};

const RuleRow kRules[] = {
    {kCmdFileNew, "1111"
                  "0"},
    {kCmdFileOpen, "111"
                   "00"},
    {kCmdFileSave, "0111"
                   "0"},
    {kCmdFileSaveAs, "0111"
                     "0"},
    {kCmdFilePrint, "0111"
                    "0"},
    {kCmdFilePrintPreview, "0111"
                           "0"},
    {kCmdFilePrintSetup, "1111"
                         "0"},
    {kCmdExport, "0111"
                 "0"},
    {kCmdRecentFile, "111"
                     "00"},
    {kCmdAppExit, "11111"},
    {kCmdFind, "0111"
               "0"},
    {kCmdFindNext, "0111"
                   "0"},
    {kCmdFindPrevious, "0111"
                       "0"},
    {kCmdHexView, "01111"},
    {kCmdControlLineView, "00100"},
    {kCmdTimerCounterPane, "01111"},
    {kCmdLinePatternLines, "11111"},
    {kCmdLinePatternFilled, "11111"},
    {kCmdConnect, "111"
                  "00"},
    {kCmdDisconnect, "000"
                     "11"},
    {kCmdStart, "000"
                "10"},
    {kCmdStop, "000"
               "01"},
    {kCmdOnlineDataReceive, "000"
                            "10"},
    {kCmdSavedFileReceive, "000"
                           "10"},
    {kCmdSettings, "1111"
                   "0"},
    {kCmdFirmwareUpdate, "111"
                         "00"},
    {kCmdEnvironment, "1111"
                      "0"},
    {kCmdAppAbout, "11111"},
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

TEST(Commands, UpdateCodes) {
    const std::pair<CommandId, int> codes[] = {
        {kCmdExport, 7},       {kCmdFind, 3},     {kCmdFindNext, 4},
        {kCmdFindPrevious, 5}, {kCmdConnect, 10}, {kCmdDisconnect, 11},
        {kCmdStart, 20},       {kCmdStop, 21},    {kCmdOnlineDataReceive, 13},
        {kCmdHexView, 1},
    };
    for (const auto& [id, code] : codes) {
        ASSERT_TRUE(UpdateCodeOf(id).has_value()) << id;
        EXPECT_EQ(*UpdateCodeOf(id), code) << id;
    }
    EXPECT_FALSE(UpdateCodeOf(kCmdFileOpen).has_value());
}

TEST(Commands, MenuTextsAreExact) {
    EXPECT_EQ(FindCommandText(kCmdFileOpen)->menuText, "開く(&O)...");
    EXPECT_EQ(FindCommandText(kCmdLinePatternLines)->menuText, "線型　ライン表示");
    EXPECT_EQ(FindCommandText(kCmdAppAbout)->menuText, "バージョン情報 Varnolt(&A)...");
    EXPECT_EQ(FindCommandText(kCmdFindPrevious)->shortcut, "Shift+F3");
}

} // namespace
} // namespace varnolt
