#include "core/capture/ExportValidation.h"

#include "core/platform/UserPrompt.h"

#include <cerrno>
#include <cstdlib>
#include <limits>
#include <string>

namespace varnolt {

namespace {

constexpr std::string_view kErrorCaption = "Error";
constexpr std::string_view kConfirmCaption = "確認";

bool EndsWithIgnoringCase(std::string_view text, std::string_view ending) {
    if (text.size() < ending.size()) {
        return false;
    }
    const std::string_view tail = text.substr(text.size() - ending.size());
    for (size_t i = 0; i < ending.size(); ++i) {
        const char c = tail[i];
        const char lower = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
        if (lower != ending[i]) {
            return false;
        }
    }
    return true;
}

} // namespace

std::optional<std::int32_t> ParseIntegerLiteral(std::string_view text) {
    const std::string terminated(text);
    const char* begin = terminated.c_str();
    char* end = nullptr;
    errno = 0;
    const long long value = std::strtoll(begin, &end, 0);
    if (end == begin || *end != '\0' || errno == ERANGE ||
        value < std::numeric_limits<std::int32_t>::min() ||
        value > std::numeric_limits<std::int32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(value);
}

ExportFileType ExportFileTypeOf(std::string_view fileName) {
    if (EndsWithIgnoringCase(fileName, "txt")) {
        return ExportFileType::Text;
    }
    if (EndsWithIgnoringCase(fileName, "csv")) {
        return ExportFileType::CommaSeparated;
    }
    return ExportFileType::None;
}

std::optional<ExportRequest> ValidateExportInputs(const ExportInputs& inputs,
                                                  const ExportSettings& settings,
                                                  std::int64_t total, UserPrompt& prompt) {
    ExportRequest request;
    request.fileName = inputs.fileName;
    request.characterSize = settings.characterSize;
    request.controlLineOutput = settings.controlLineOutput;

    // A missing or wrong file name does not stop the checks below; it only leaves nothing to
    // write.
    if (inputs.fileName.empty()) {
        prompt.message("ファイル名を入力してください", kErrorCaption, PromptIcon::Information);
    } else {
        request.fileType = ExportFileTypeOf(inputs.fileName);
        if (request.fileType == ExportFileType::None) {
            prompt.message("保存ファイル名の拡張子が異なります", kErrorCaption,
                           PromptIcon::Information);
        }
    }

    const std::optional<std::int32_t> lineLength = ParseIntegerLiteral(inputs.lineLength);
    if (!lineLength) {
        prompt.message("１行の文字数が数値以外です", kConfirmCaption, PromptIcon::Information);
        return std::nullopt;
    }
    if (*lineLength < ExportSettings::kMinimumLineLength) {
        prompt.message("１行の文字数は１０以上です", kConfirmCaption, PromptIcon::Information);
        return std::nullopt;
    }
    request.lineLength = *lineLength;

    const std::optional<std::int32_t> startPosition = ParseIntegerLiteral(inputs.startPosition);
    if (!startPosition) {
        prompt.message("出力開始文字位置が数値以外です", kConfirmCaption, PromptIcon::Information);
        return std::nullopt;
    }
    if (*startPosition < 1) {
        prompt.message("出力開始文字位置は１以上です", kConfirmCaption, PromptIcon::Information);
        return std::nullopt;
    }
    if (*startPosition >= total) {
        prompt.message("出力開始文字位置は全文字数（" + std::to_string(total) + "）未満です",
                       kConfirmCaption, PromptIcon::Information);
        return std::nullopt;
    }
    request.startPosition = *startPosition;
    return request;
}

} // namespace varnolt
