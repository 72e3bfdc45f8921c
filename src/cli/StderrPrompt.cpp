#include "cli/StderrPrompt.h"

#include <iostream>

namespace varnolt::cli {

void StderrPrompt::message(std::string_view text, std::string_view /*caption*/,
                           PromptIcon /*icon*/) {
    ++count_;
    std::cerr << "varnolt-cli: " << text << '\n';
}

PromptAnswer StderrPrompt::ask(std::string_view text, std::string_view /*caption*/,
                               PromptButtons buttons, PromptIcon /*icon*/) {
    ++count_;
    std::cerr << "varnolt-cli: " << text << '\n';
    switch (buttons) {
    case PromptButtons::Ok:
        return PromptAnswer::Ok;
    case PromptButtons::YesNo:
        return PromptAnswer::No;
    default:
        return PromptAnswer::Cancel;
    }
}

} // namespace varnolt::cli
