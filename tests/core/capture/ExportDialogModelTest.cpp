#include "core/capture/ExportDialogModel.h"

#include "support/RecordingPrompt.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "ExportTestCapture.h"

namespace varnolt {
namespace {

using namespace varnolt::testing;

TEST(ExportDialogModel, ControlLineBoxNeedsARecordWidthAndShowsTheOption) {
    RecordingPrompt prompt;
    for (const uint16_t width : {0, 1, 2}) {
        for (const bool option : {false, true}) {
            CCaptureData data(8);
            data.header().recordWidth = width;
            const ExportDialogModel model(data, {}, "",
                                          {50, ExportCharacterSize::FullWidth, option}, prompt);
            EXPECT_EQ(model.controlLineEnabled(), width != 0);
            EXPECT_EQ(model.controlLineChecked(), width != 0 && option);
        }
    }
}

TEST(ExportDialogModel, ExecuteKeepsAnAcceptedLineLengthAndWritesTheFile) {
    RecordingPrompt prompt;
    TempDir dir;
    CCaptureData data(8);
    Fill(data, {SdWithLines('A'), SdWithLines('B'), SdWithLines('C')});
    ExportDialogModel model(data, {}, "/captures/a.tvd",
                            {50, ExportCharacterSize::FullWidth, false}, prompt);
    EXPECT_EQ(model.lineLengthText(), "50");
    EXPECT_EQ(model.startPositionText(), "1");

    // The start position is refused, but the line length had passed its check.
    model.Execute((dir / "out.txt").string(), "0x20", "5");
    EXPECT_EQ(model.settings().lineLength, 32);
    EXPECT_FALSE(std::filesystem::exists(dir / "out.txt"));

    model.setCharacterSize(ExportCharacterSize::HalfWidth);
    model.setControlLineOutput(true);
    model.Execute((dir / "out.txt").string(), "12", "2");
    EXPECT_TRUE(std::filesystem::exists(dir / "out.txt"));
    EXPECT_EQ(model.settings(), (ExportSettings{12, ExportCharacterSize::HalfWidth, true}));
    EXPECT_EQ(model.startPositionText(), "2");
    EXPECT_EQ(prompt.texts().back(), "ファイル出力が完了しました");
}

} // namespace
} // namespace varnolt
