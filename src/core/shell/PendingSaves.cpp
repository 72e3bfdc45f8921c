#include "core/shell/PendingSaves.h"

#include "core/capture/CaptureSaver.h"
#include "core/platform/UserPrompt.h"

#include <string>

namespace varnolt {

namespace {

// Asks QUESTION with the two ways out that every question about files at close offers.
PromptAnswer AskBeforeClosing(UserPrompt& prompt, const std::string& question, PromptIcon icon) {
    return prompt.ask(question + "\n\n「いいえ」: 保存をあきらめて終了します\n"
                                 "「キャンセル」: 終了しません",
                      "確認", PromptButtons::YesNoCancel, icon);
}

} // namespace

PendingSavesChoice AskAboutPendingSaves(size_t pending, UserPrompt& prompt) {
    if (pending == 0) {
        return PendingSavesChoice::Wait;
    }
    const std::string question = "保存中のファイルがまだ " + std::to_string(pending) +
                                 " 件書き込まれていません。\n書き込みが終わるまで待ちますか？";
    switch (AskBeforeClosing(prompt, question, PromptIcon::Question)) {
    case PromptAnswer::Yes:
        return PendingSavesChoice::Wait;
    case PromptAnswer::No:
        return PendingSavesChoice::GiveUp;
    default:
        return PendingSavesChoice::StayOpen;
    }
}

bool SettleSavesBeforeClose(CaptureSaver& saver, UserPrompt& prompt, SaveSettling& window) {
    for (;;) {
        window.WaitForSaves(saver);
        // Reception is over: nothing waits on these messages any more.
        saver.ReportSaveErrors(prompt);
        const UnwrittenSaves unwritten = saver.unwritten();
        if (unwritten.files == 0) {
            return true;
        }
        const std::string question = "保存できなかったファイルが " +
                                     std::to_string(unwritten.files) + " 件（" +
                                     std::to_string(unwritten.records) +
                                     " 件の記録）あります。\n別の保存先を選んで保存しますか？";
        switch (AskBeforeClosing(prompt, question, PromptIcon::Warning)) {
        case PromptAnswer::Yes:
            if (const auto folder = window.ChooseFolder()) {
                saver.setFolder(*folder);
                saver.RetryUnwritten();
            }
            break;
        case PromptAnswer::No:
            saver.Abandon();
            return true;
        default:
            return false;
        }
    }
}

} // namespace varnolt
