#include "core/capture/ExportValidation.h"

#include "support/RecordingPrompt.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace varnolt {
namespace {

using testing::RecordingPrompt;

struct ValidationCase {
    const char* name;
    const char* fileName;
    const char* lineLength;
    const char* startPosition;
    std::int64_t total;
    // Expected: the messages (text and caption) and, when the command goes on, the request.
    std::vector<std::pair<std::string, std::string>> messages;
    bool proceeds;
    ExportFileType fileType = ExportFileType::None;
    std::int32_t lineLengthValue = 0;
    std::int32_t startPositionValue = 0;
};

const std::pair<std::string, std::string> kNoName{"ファイル名を入力してください", "Error"};
const std::pair<std::string, std::string> kBadExtension{"保存ファイル名の拡張子が異なります",
                                                        "Error"};
const std::pair<std::string, std::string> kLengthNotNumber{"１行の文字数が数値以外です", "確認"};
const std::pair<std::string, std::string> kLengthTooSmall{"１行の文字数は１０以上です", "確認"};
const std::pair<std::string, std::string> kStartNotNumber{"出力開始文字位置が数値以外です", "確認"};
const std::pair<std::string, std::string> kStartTooSmall{"出力開始文字位置は１以上です", "確認"};

const ValidationCase kCases[] = {
    {"TextFile", "out.txt", "50", "1", 100, {}, true, ExportFileType::Text, 50, 1},
    {"UpperCaseEnding", "C:/data/OUT.TXT", "10", "99", 100, {}, true, ExportFileType::Text, 10, 99},
    {"CommaSeparated",
     "out.Csv",
     "0x10",
     "0x0A",
     100,
     {},
     true,
     ExportFileType::CommaSeparated,
     16,
     10},
    {"OctalLength", "out.csv", "012", "1", 100, {}, true, ExportFileType::CommaSeparated, 10, 1},
    {"OctalBelowTen", "out.csv", "010", "1", 100, {kLengthTooSmall}, false},
    {"WrongEnding", "out.log", "50", "1", 100, {kBadExtension}, true, ExportFileType::None, 50, 1},
    {"NoName", "", "50", "1", 100, {kNoName}, true, ExportFileType::None, 50, 1},
    {"NoNameAndBadLength", "", "x", "1", 100, {kNoName, kLengthNotNumber}, false},
    {"TrailingCharacters", "out.txt", "12a", "1", 100, {kLengthNotNumber}, false},
    {"EmptyLength", "out.txt", "", "1", 100, {kLengthNotNumber}, false},
    {"HugeLength", "out.txt", "99999999999", "1", 100, {kLengthNotNumber}, false},
    {"LengthNine", "out.txt", "9", "1", 100, {kLengthTooSmall}, false},
    {"NegativeLength", "out.txt", "-50", "1", 100, {kLengthTooSmall}, false},
    {"StartNotNumber", "out.txt", "50", "1.5", 100, {kStartNotNumber}, false},
    {"StartZero", "out.txt", "50", "0", 100, {kStartTooSmall}, false},
    {"StartAtTotal",
     "out.txt",
     "50",
     "100",
     100,
     {{"出力開始文字位置は全文字数（100）未満です", "確認"}},
     false},
    {"EmptyCapture",
     "out.txt",
     "50",
     "1",
     0,
     {{"出力開始文字位置は全文字数（0）未満です", "確認"}},
     false},
};

class ExportValidationTest : public ::testing::TestWithParam<ValidationCase> {};

TEST_P(ExportValidationTest, ShowsTheMessagesAndStopsWhereTheInputsAreWrong) {
    const ValidationCase& c = GetParam();
    RecordingPrompt prompt;
    const ExportSettings settings{30, ExportCharacterSize::HalfWidth, true};
    const std::optional<ExportRequest> request = ValidateExportInputs(
        {c.fileName, c.lineLength, c.startPosition}, settings, c.total, prompt);

    ASSERT_EQ(prompt.entries.size(), c.messages.size());
    for (size_t i = 0; i < c.messages.size(); ++i) {
        EXPECT_EQ(prompt.entries[i].text, c.messages[i].first);
        EXPECT_EQ(prompt.entries[i].caption, c.messages[i].second);
        EXPECT_EQ(prompt.entries[i].icon, PromptIcon::Information);
    }
    ASSERT_EQ(request.has_value(), c.proceeds);
    if (request) {
        EXPECT_EQ(request->fileName, c.fileName);
        EXPECT_EQ(request->fileType, c.fileType);
        EXPECT_EQ(request->lineLength, c.lineLengthValue);
        EXPECT_EQ(request->startPosition, c.startPositionValue);
        EXPECT_EQ(request->characterSize, ExportCharacterSize::HalfWidth);
        EXPECT_TRUE(request->controlLineOutput);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, ExportValidationTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace varnolt
