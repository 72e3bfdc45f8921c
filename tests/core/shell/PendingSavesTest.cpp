#include "core/shell/PendingSaves.h"

#include "core/capture/CCaptureData.h"
#include "core/capture/CaptureSaver.h"
#include "support/RecordingPrompt.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <deque>

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

// The window as the close path sees it: waiting returns once the saver is idle, and the folder
// chooser answers from a script (nullopt: the user closed the folder dialog).
class ScriptedWindow final : public SaveSettling {
public:
    void WaitForSaves(CaptureSaver& saver) override {
        ++waits;
        saver.WaitIdle();
    }
    std::optional<std::filesystem::path> ChooseFolder() override {
        if (folders.empty()) {
            return std::nullopt;
        }
        auto folder = folders.front();
        folders.pop_front();
        return folder;
    }
    std::deque<std::optional<std::filesystem::path>> folders;
    int waits = 0;
};

// A save that fails while the program closes is told, then the user writes the file into
// another folder, gives it up, or keeps the program open with the file still kept.
TEST(PendingSaves, AFileThatCannotBeWrittenAtCloseIsToldAndTheUserChooses) {
    const struct {
        std::vector<PromptAnswer> answers;
        std::vector<std::optional<std::filesystem::path>> folders; // empty path: the temp dir
        bool closes;
        size_t kept;
        bool written;
    } cases[] = {
        {{PromptAnswer::Yes}, {std::filesystem::path()}, true, 0, true},
        {{PromptAnswer::Yes, PromptAnswer::No}, {std::nullopt}, true, 0, false},
        {{PromptAnswer::Cancel}, {}, false, 1, false},
    };
    for (const auto& c : cases) {
        testing::TempDir other;
        CCaptureData store(16);
        store.Append(0x1041'0000, 0);
        store.saver().setFolder("/proc"); // nothing can be created there
        ASSERT_TRUE(store.StartSave(SaveRequest::Trigger, 0, 0));
        testing::RecordingPrompt prompt;
        prompt.answers.assign(c.answers.begin(), c.answers.end());
        ScriptedWindow window;
        for (const auto& folder : c.folders) {
            window.folders.push_back(folder && folder->empty() ? other.path() : folder);
        }

        EXPECT_EQ(SettleSavesBeforeClose(store.saver(), prompt, window), c.closes);
        ASSERT_GE(prompt.entries.size(), 2U);
        EXPECT_FALSE(prompt.entries[0].question); // the file error, told first
        EXPECT_TRUE(prompt.entries[0].text.starts_with("/proc/VrnTrigsv_"));
        EXPECT_EQ(prompt.entries[1].text,
                  "保存できなかったファイルが 1 件（1 件の記録）あります。\n"
                  "別の保存先を選んで保存しますか？\n\n"
                  "「いいえ」: 保存をあきらめて終了します\n「キャンセル」: 終了しません");
        EXPECT_EQ(prompt.entries[1].buttons, PromptButtons::YesNoCancel);
        EXPECT_EQ(prompt.entries.size(), c.answers.size() + 1);
        EXPECT_EQ(store.saver().unwritten().files, c.kept);
        EXPECT_EQ(std::filesystem::is_empty(other.path()), !c.written);
    }
}

} // namespace
} // namespace varnolt
