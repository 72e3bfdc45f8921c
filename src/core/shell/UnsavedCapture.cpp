#include "core/shell/UnsavedCapture.h"

#include "core/platform/UserPrompt.h"

namespace varnolt {

UnsavedCaptureChoice AskToSaveCapture(UserPrompt& prompt) {
    switch (prompt.ask(kUnsavedCaptureQuestion, "確認", PromptButtons::SaveDiscardCancel,
                       PromptIcon::Question)) {
    case PromptAnswer::Save:
        return UnsavedCaptureChoice::Save;
    case PromptAnswer::Discard:
        return UnsavedCaptureChoice::Discard;
    default:
        return UnsavedCaptureChoice::Cancel;
    }
}

} // namespace varnolt
