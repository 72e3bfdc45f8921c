#include "core/shell/PendingSaves.h"

#include "core/platform/UserPrompt.h"

#include <string>

namespace varnolt {

PendingSavesChoice AskAboutPendingSaves(size_t pending, UserPrompt& prompt) {
    if (pending == 0) {
        return PendingSavesChoice::Wait;
    }
    const std::string text = "保存中のファイルがまだ " + std::to_string(pending) +
                             " 件書き込まれていません。\n書き込みが終わるまで待ちますか？\n\n"
                             "「いいえ」: 保存をあきらめて終了します\n"
                             "「キャンセル」: 終了しません";
    switch (prompt.ask(text, "確認", PromptButtons::YesNoCancel, PromptIcon::Question)) {
    case PromptAnswer::Yes:
        return PendingSavesChoice::Wait;
    case PromptAnswer::No:
        return PendingSavesChoice::GiveUp;
    default:
        return PendingSavesChoice::StayOpen;
    }
}

} // namespace varnolt
