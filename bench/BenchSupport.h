#pragma once

#include "core/platform/UserPrompt.h"

#include <cstdlib>
#include <iostream>

namespace varnolt::bench {

// Any message box during a benchmark means the measured operation went wrong: say which and
// stop, so no figure is reported for it.
class AbortingPrompt final : public UserPrompt {
public:
    void message(std::string_view text, std::string_view, PromptIcon) override {
        std::cerr << "unexpected message: " << text << '\n';
        std::abort();
    }
    PromptAnswer ask(std::string_view text, std::string_view caption, PromptButtons,
                     PromptIcon icon) override {
        message(text, caption, icon);
        return PromptAnswer::Cancel;
    }
};

} // namespace varnolt::bench
