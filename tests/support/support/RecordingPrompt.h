#pragma once

#include "core/platform/UserPrompt.h"

#include <deque>
#include <string>
#include <vector>

namespace varnolt::testing {

// A UserPrompt that records every message box and answers questions from a script, so tests
// assert the exact texts, captions and icons the user would see.
class RecordingPrompt final : public UserPrompt {
public:
    struct Entry {
        std::string text;
        std::string caption;
        PromptIcon icon = PromptIcon::None;
        bool question = false;
        PromptButtons buttons = PromptButtons::Ok;
    };

    void message(std::string_view text, std::string_view caption, PromptIcon icon) override {
        entries.push_back({std::string(text), std::string(caption), icon, false});
    }

    PromptAnswer ask(std::string_view text, std::string_view caption, PromptButtons buttons,
                     PromptIcon icon) override {
        entries.push_back({std::string(text), std::string(caption), icon, true, buttons});
        if (answers.empty()) {
            return fallbackAnswer;
        }
        const PromptAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }

    // The texts shown, in order.
    [[nodiscard]] std::vector<std::string> texts() const {
        std::vector<std::string> result;
        for (const Entry& entry : entries) {
            result.push_back(entry.text);
        }
        return result;
    }

    std::vector<Entry> entries;
    std::deque<PromptAnswer> answers;          // answers to the next questions, in order
    PromptAnswer fallbackAnswer = PromptAnswer::Ok; // when the script has run out
};

} // namespace varnolt::testing
