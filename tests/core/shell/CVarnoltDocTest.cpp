#include "core/shell/CVarnoltDoc.h"

#include "core/capture/CCaptureData.h"
#include "core/capture/CaptureFileWriter.h"
#include "core/platform/FileError.h"
#include "core/shell/UnsavedCapture.h"
#include "support/RecordingPrompt.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace varnolt {
namespace {

// Each test gives the document a settings folder of its own.
class DocumentTest : public ::testing::Test {
protected:
    [[nodiscard]] std::filesystem::path settingsFolder() const {
        return dir_.path() / "Tavrix" / "Varnolt";
    }

    testing::TempDir dir_;
    testing::RecordingPrompt prompt_;
};

TEST_F(DocumentTest, SettingsFileIsCreatedInItsFolderAndReadBack) {
    const auto file = settingsFolder() / "vrn.ini";
    {
        CVarnoltDoc document(prompt_, settingsFolder());
        EXPECT_TRUE(std::filesystem::is_directory(file.parent_path()));
        EXPECT_FALSE(std::filesystem::exists(file));
        document.settings().speed = 38400;
        document.settings().displayMode = 1;
    }
    ASSERT_TRUE(std::filesystem::exists(file));
    EXPECT_EQ(std::filesystem::file_size(file), 13812u);
    CVarnoltDoc again(prompt_, settingsFolder());
    EXPECT_EQ(again.settings().speed, 38400u);
    EXPECT_EQ(again.settings().displayMode, 1);
    EXPECT_TRUE(prompt_.entries.empty());
}

TEST_F(DocumentTest, OpenThenNewRestoresTheHeaderFromTheSettings) {
    const auto path = dir_.path() / "capture.tvd";
    {
        CCaptureData store(8);
        store.header().speed = 115200;
        store.header().lineMode = 3;
        store.Append(0x10410000, 0);
        const CaptureSaveRange range{SaveSource::Ring, 0, 0};
        ASSERT_TRUE(WriteCaptureFile(path, store.header(), 0, store, range, prompt_));
    }
    CVarnoltDoc document(prompt_, settingsFolder());
    document.settings().speed = 19200;
    ASSERT_TRUE(document.OnOpenDocument(path));
    EXPECT_TRUE(document.holdsCapture());
    EXPECT_EQ(document.capture().header().speed, 115200u);
    EXPECT_EQ(document.capture().Count(), 1);
    EXPECT_EQ(document.title(), "capture.tvd");

    document.device().status().counts[kCountSd] = 5;
    ASSERT_TRUE(document.OnNewDocument());
    EXPECT_EQ(document.capture().Count(), 0);
    EXPECT_EQ(document.device().status(), StatusBlock{}); // the status block is cleared
    EXPECT_EQ(document.capture().header().speed, 19200u);
    EXPECT_EQ(document.capture().header().lineMode, 1);
    EXPECT_TRUE(document.holdsCapture()); // a new document keeps the flag
    EXPECT_EQ(document.title(), "Varnolt");
}

TEST_F(DocumentTest, AFileThatCannotBeReadLeavesTheCaptureAsItWas) {
    const auto good = dir_.path() / "good.tvd";
    {
        CCaptureData store(8);
        store.Append(0x10410000, 0);
        store.Append(0x20420000, 0);
        const CaptureSaveRange range{SaveSource::Ring, 0, 1};
        ASSERT_TRUE(WriteCaptureFile(good, store.header(), 0, store, range, prompt_));
    }
    const auto junk = dir_.path() / "junk.tvd";
    {
        std::FILE* file = std::fopen(junk.c_str(), "wb");
        std::fputs("\x05junk!", file);
        std::fclose(file);
    }
    struct Case {
        const char* name;
        std::filesystem::path path;
        std::string message;
    };
    const Case cases[] = {
        {"refused", junk, "ファイル形式が違います。"},
        {"missing", dir_.path() / "moved.tvd",
         FileErrorMessage(FileError::NotFound, dir_.path() / "moved.tvd")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CVarnoltDoc document(prompt_, settingsFolder());
        ASSERT_TRUE(document.OnOpenDocument(good));
        prompt_.entries.clear();
        EXPECT_FALSE(document.OnOpenDocument(c.path));
        EXPECT_TRUE(document.holdsCapture());
        EXPECT_EQ(document.capture().Count(), 2);
        EXPECT_EQ(document.pathName(), good);
        EXPECT_EQ(document.title(), "good.tvd");
        EXPECT_EQ(prompt_.texts(), std::vector<std::string>{c.message});
    }
}

TEST_F(DocumentTest, SavingAnEmptyStoreWritesNoRecords) {
    CVarnoltDoc document(prompt_, settingsFolder());
    document.OnNewDocument();
    const auto path = dir_.path() / "empty.tvd";
    ASSERT_TRUE(document.OnSaveDocument(path));
    // Start marker 20, version 5, header 252, count 4, end marker 18.
    EXPECT_EQ(std::filesystem::file_size(path), 299u);
}

std::string Bytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A capture file whose last 10 records are cut off: it announces 40 and holds 30.
std::string WriteCutCapture(const std::filesystem::path& path, testing::RecordingPrompt& prompt) {
    CCaptureData store(64);
    for (int n = 0; n < 40; ++n) {
        store.Append(0x10410000, 0);
    }
    const CaptureSaveRange range{SaveSource::Ring, 0, store.lastIndex()};
    EXPECT_TRUE(WriteCaptureFile(path, store.header(), 0, store, range, prompt));
    std::filesystem::resize_file(path, 20 + 5 + 252 + 4 + 30 * 4);
    return Bytes(path);
}

// A capture that loaded only in part says so, and is written over its file only when the user
// agrees to lose the records it could not read; elsewhere it is saved without a question.
TEST_F(DocumentTest, PartlyLoadedCaptureAsksBeforeReplacingItsFile) {
    const auto path = dir_.path() / "cut.tvd";
    const std::string original = WriteCutCapture(path, prompt_);
    CVarnoltDoc document(prompt_, settingsFolder());
    ASSERT_TRUE(document.OnOpenDocument(path));
    EXPECT_EQ(document.capture().Count(), 30);
    EXPECT_TRUE(document.incomplete());
    EXPECT_EQ(document.title(), "cut.tvd（一部のみ読込み）");
    EXPECT_FALSE(document.modified());

    prompt_.entries.clear();
    prompt_.answers = {PromptAnswer::No};
    EXPECT_FALSE(document.OnSaveDocument(path));
    EXPECT_EQ(Bytes(path), original);
    ASSERT_EQ(prompt_.entries.size(), 1u);
    EXPECT_EQ(prompt_.entries[0].text,
              "このファイルは一部しか読み込めませんでした（40 件中 30 件）。\n上書きすると、"
              "読み込めなかった記録は失われます。\n上書き保存しますか？");
    EXPECT_EQ(prompt_.entries[0].buttons, PromptButtons::YesNo);

    const auto copy = dir_.path() / "copy.tvd";
    ASSERT_TRUE(document.OnSaveDocument(copy));
    EXPECT_EQ(prompt_.entries.size(), 1u);
    EXPECT_FALSE(document.incomplete());
    EXPECT_EQ(document.title(), "copy.tvd");

    ASSERT_TRUE(document.OnOpenDocument(path));
    prompt_.answers = {PromptAnswer::Yes};
    EXPECT_TRUE(document.OnSaveDocument(path));
    EXPECT_EQ(Bytes(path), Bytes(copy));
    EXPECT_FALSE(document.incomplete());
}

// Records from the analyzer are on no file until saved, unless automatic saving wrote them.
TEST_F(DocumentTest, ReceivedRecordsAskToBeSavedBeforeTheyAreThrownAway) {
    CVarnoltDoc document(prompt_, settingsFolder());
    document.OnNewReceivedCapture(false);
    EXPECT_FALSE(document.NeedsSaveQuestion(true)); // nothing received yet
    document.capture().Append(0x10410000, 0);
    EXPECT_TRUE(document.modified());
    EXPECT_EQ(document.title(), "Varnolt*");
    EXPECT_TRUE(document.NeedsSaveQuestion(true));
    EXPECT_FALSE(document.NeedsSaveQuestion(false)); // the option turns the question off

    const auto path = dir_.path() / "measured.tvd";
    ASSERT_TRUE(document.OnSaveDocument(path));
    EXPECT_FALSE(document.NeedsSaveQuestion(true));
    EXPECT_EQ(document.title(), "measured.tvd");

    document.OnNewReceivedCapture(true);
    document.capture().Append(0x10410000, 0);
    EXPECT_FALSE(document.NeedsSaveQuestion(true));
    ASSERT_TRUE(document.OnOpenDocument(path));
    EXPECT_FALSE(document.NeedsSaveQuestion(true));
    EXPECT_TRUE(prompt_.entries.empty());

    const struct {
        PromptAnswer answer;
        UnsavedCaptureChoice choice;
    } answers[] = {{PromptAnswer::Save, UnsavedCaptureChoice::Save},
                   {PromptAnswer::Discard, UnsavedCaptureChoice::Discard},
                   {PromptAnswer::Cancel, UnsavedCaptureChoice::Cancel}};
    for (const auto& a : answers) {
        prompt_.answers = {a.answer};
        EXPECT_EQ(AskToSaveCapture(prompt_), a.choice);
        EXPECT_EQ(prompt_.entries.back().text, kUnsavedCaptureQuestion);
        EXPECT_EQ(prompt_.entries.back().buttons, PromptButtons::SaveDiscardCancel);
    }
}

TEST_F(DocumentTest, PublishedDisplaySettings) {
    CVarnoltDoc document(prompt_, settingsFolder());
    document.settings().displayMode = 1;
    document.capture().header().idleDisplay = 2;
    document.capture().header().timeDisplay = 5;
    document.PublishDisplaySettings();
    EXPECT_EQ(document.displayState().mode, DisplayMode::Frame);
    EXPECT_EQ(document.displayState().idleDisplay, 2);
    EXPECT_EQ(document.displayState().timeDisplay, 5);
}

} // namespace
} // namespace varnolt
