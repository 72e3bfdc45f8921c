#pragma once

#include "core/link/firmware/FirmwareTexts.h"
#include "core/platform/UserPrompt.h"
#include "sim/VirtualAnalyzer.h"
#include "support/RecordingPrompt.h"

namespace varnolt::testing {

// The user at the analyzer during a firmware update: switches it off and on when the dialog
// asks for it, and answers the dialog's questions from the recorder's script.
class UserAtTheAnalyzer final : public UserPrompt {
public:
    UserAtTheAnalyzer(RecordingPrompt& record, sim::VirtualAnalyzer& analyzer)
        : record_(record), analyzer_(analyzer) {}
    void message(std::string_view text, std::string_view caption, PromptIcon icon) override {
        record_.message(text, caption, icon);
        if (text == kPowerCycleMessage) {
            analyzer_.PowerCycle();
        }
    }
    PromptAnswer ask(std::string_view text, std::string_view caption, PromptButtons buttons,
                     PromptIcon icon) override {
        return record_.ask(text, caption, buttons, icon);
    }

private:
    RecordingPrompt& record_;
    sim::VirtualAnalyzer& analyzer_;
};

} // namespace varnolt::testing
