#include "core/capture/ExportCommand.h"

#include "support/RecordingPrompt.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "ExportTestCapture.h"

namespace varnolt {
namespace {

using namespace varnolt::testing;

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class ExportCommandTest : public ::testing::Test {
protected:
    ExportCommandTest() { Fill(data, {SdWithLines('A'), RdWithLines('B'), SdWithLines('C')}); }

    std::optional<ExportRequest> Run(const std::string& fileName, const char* start = "2") {
        return RunExportCommand(data, display, {fileName, "10", start}, settings,
                                "/captures/run.tvd", prompt);
    }

    CCaptureData data{16};
    ExportDisplay display;
    ExportSettings settings{50, ExportCharacterSize::HalfWidth, false};
    RecordingPrompt prompt;
    TempDir dir;
};

TEST_F(ExportCommandTest, WritesTheFileThenReportsCompletion) {
    const std::string name = (dir / "out.TXT").string();
    ASSERT_TRUE(Run(name).has_value());
    EXPECT_EQ(ReadFile(name), Lines({"FileName:/captures/run.tvd", "",
                                     "0000001 SD \x81\x45"
                                     "43",
                                     "0000002    \x81\x45 C", "        RD 42\x81\x45",
                                     "            B\x81\x45", ""}));
    ASSERT_EQ(prompt.entries.size(), 1u);
    EXPECT_EQ(prompt.entries[0].text, "ファイル出力が完了しました");
    EXPECT_EQ(prompt.entries[0].caption, "確認");
    EXPECT_EQ(prompt.entries[0].icon, PromptIcon::Information);
}

TEST_F(ExportCommandTest, WrongEndingWritesNothingAndReportsNoCompletion) {
    const std::filesystem::path name = dir / "out.log";
    const std::optional<ExportRequest> request = Run(name.string());
    ASSERT_TRUE(request.has_value());
    EXPECT_EQ(request->fileType, ExportFileType::None);
    EXPECT_FALSE(std::filesystem::exists(name));
    EXPECT_EQ(prompt.texts(), std::vector<std::string>{"保存ファイル名の拡張子が異なります"});
}

TEST_F(ExportCommandTest, StartPositionAtTheTotalIsRefused) {
    EXPECT_FALSE(Run((dir / "out.csv").string(), "3").has_value());
    EXPECT_EQ(prompt.texts(), std::vector<std::string>{"出力開始文字位置は全文字数（3）未満です"});
}

TEST_F(ExportCommandTest, FileThatCannotBeWrittenIsReportedAndNotCalledDone) {
    const std::filesystem::path name = dir / "missing" / "out.csv";
    EXPECT_TRUE(Run(name.string()).has_value());
    ASSERT_EQ(prompt.entries.size(), 1u);
    EXPECT_EQ(prompt.entries[0].text, FileErrorMessage(FileError::NotFound, name));
    EXPECT_EQ(prompt.entries[0].caption, kAppCaption);
}

} // namespace
} // namespace varnolt
