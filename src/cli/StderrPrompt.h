#pragma once

#include "core/platform/UserPrompt.h"

#include <cstddef>

namespace varnolt::cli {

// The program's message boxes as lines on standard error, "varnolt-cli: TEXT" in UTF-8.
// Questions are printed too and answered with the cautious choice (Cancel or No): nobody is
// there to answer them.
class StderrPrompt final : public UserPrompt {
public:
    void message(std::string_view text, std::string_view caption, PromptIcon icon) override;
    PromptAnswer ask(std::string_view text, std::string_view caption, PromptButtons buttons,
                     PromptIcon icon) override;

    // How many messages and questions were printed so far.
    [[nodiscard]] std::size_t count() const { return count_; }

private:
    std::size_t count_ = 0;
};

} // namespace varnolt::cli
