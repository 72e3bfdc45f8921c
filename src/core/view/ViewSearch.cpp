#include "core/view/ViewSearch.h"

#include "core/platform/UserPrompt.h"

namespace varnolt {

std::optional<HitRange> ViewSearch::Run(const CCaptureData& capture, SearchCommand command,
                                        UserPrompt& prompt) {
    if (!criteria().set) {
        prompt.message(kNotSet, kCaption, PromptIcon::Information);
        return std::nullopt;
    }
    const bool found =
        command == SearchCommand::FindPrevious
            ? condition_.Find(capture, condition_.hit().last, SearchDirection::Backward)
            : condition_.Find(capture, position_, SearchDirection::Forward);
    if (!found) {
        prompt.message(kNotFound, kCaption, PromptIcon::Information);
        return std::nullopt;
    }
    position_ = condition_.hit().first;
    return condition_.hit();
}

void ViewSearch::Reset() {
    position_ = kNoRecord;
    condition_.ClearHit();
}

void ViewSearch::ScrolledTo(RingIndex top) {
    position_ = top;
    condition_.setHitLast(top);
}

} // namespace varnolt
