#include "core/shell/PendingSaves.h"

#include "support/RecordingPrompt.h"

#include <gtest/gtest.h>

namespace varnolt {
namespace {

TEST(PendingSaves, ClosingAsksWhetherToWaitOnlyWhenFilesAreLeft) {
    testing::RecordingPrompt prompt;
    EXPECT_EQ(AskAboutPendingSaves(0, prompt), PendingSavesChoice::Wait);
    EXPECT_TRUE(prompt.entries.empty());

    const struct {
        PromptAnswer answer;
        PendingSavesChoice choice;
    } cases[] = {{PromptAnswer::Yes, PendingSavesChoice::Wait},
                 {PromptAnswer::No, PendingSavesChoice::GiveUp},
                 {PromptAnswer::Cancel, PendingSavesChoice::StayOpen}};
    for (const auto& c : cases) {
        prompt.entries.clear();
        prompt.answers = {c.answer};
        EXPECT_EQ(AskAboutPendingSaves(3, prompt), c.choice);
        ASSERT_EQ(prompt.entries.size(), 1U);
        EXPECT_TRUE(prompt.entries[0].text.starts_with("保存中のファイルがまだ 3 件"));
        EXPECT_EQ(prompt.entries[0].caption, "確認");
        EXPECT_EQ(prompt.entries[0].buttons, PromptButtons::YesNoCancel);
    }
}

} // namespace
} // namespace varnolt
