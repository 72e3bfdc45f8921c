#pragma once

#include <cstdint>
#include <string_view>

namespace varnolt {

// The answers of the overwrite question ("保存"), with the values the dialog returns.
enum class SaveChoice : int32_t {
    Cancel = 1,       // "キャンセル": this file is not fetched
    Skip = 2,         // "スキップ"
    Overwrite = 3,    // "上書き"
    SkipAll = 4,      // "スキップ" with "以降も同じ処理を行う"
    OverwriteAll = 5, // "上書き" with "以降も同じ処理を行う"
};

enum class SaveDigButton { Overwrite, Skip, Cancel };

// The choice a button makes with the check box "以降も同じ処理を行う" on or off; "キャンセル"
// ignores the check box.
[[nodiscard]] constexpr SaveChoice SaveChoiceOf(SaveDigButton button, bool sameForLater) {
    switch (button) {
    case SaveDigButton::Overwrite:
        return sameForLater ? SaveChoice::OverwriteAll : SaveChoice::Overwrite;
    case SaveDigButton::Skip:
        return sameForLater ? SaveChoice::SkipAll : SaveChoice::Skip;
    case SaveDigButton::Cancel:
        break;
    }
    return SaveChoice::Cancel;
}

// Asks whether a received file may replace a file of the same name on the PC: MESSAGE and
// FILELINE are the dialog's two lines. The program shows the modal dialog "保存"; tests answer
// from a script.
class OverwriteQuestion {
public:
    OverwriteQuestion() = default;
    OverwriteQuestion(const OverwriteQuestion&) = delete;
    OverwriteQuestion& operator=(const OverwriteQuestion&) = delete;
    virtual ~OverwriteQuestion() = default;

    [[nodiscard]] virtual SaveChoice Ask(std::string_view message, std::string_view fileLine) = 0;
};

} // namespace varnolt
