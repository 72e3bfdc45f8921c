#include "core/shell/CVarnoltDoc.h"

#include "core/capture/CCaptureData.h"
#include "core/capture/CaptureFileWriter.h"
#include "support/RecordingPrompt.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace varnolt {
namespace {

// Runs each test in a fresh current directory, where the document keeps its settings file.
class DocumentTest : public ::testing::Test {
protected:
    void SetUp() override {
        previous_ = std::filesystem::current_path();
        std::filesystem::current_path(dir_.path());
    }
    void TearDown() override { std::filesystem::current_path(previous_); }

    testing::TempDir dir_;
    testing::RecordingPrompt prompt_;

private:
    std::filesystem::path previous_;
};

TEST_F(DocumentTest, SettingsFileIsCreatedUnderTheCurrentDirectoryAndReadBack) {
    const auto file = dir_.path() / "Tavrix" / "Varnolt" / "vrn.ini";
    {
        CVarnoltDoc document(prompt_);
        EXPECT_TRUE(std::filesystem::is_directory(file.parent_path()));
        EXPECT_FALSE(std::filesystem::exists(file));
        document.settings().speed = 38400;
        document.settings().displayMode = 1;
    }
    ASSERT_TRUE(std::filesystem::exists(file));
    EXPECT_EQ(std::filesystem::file_size(file), 13812u);
    CVarnoltDoc again(prompt_);
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
    CVarnoltDoc document(prompt_);
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

TEST_F(DocumentTest, RefusedFileLeavesAnEmptyStoreAndNoCapture) {
    const auto path = dir_.path() / "junk.tvd";
    {
        std::FILE* file = std::fopen(path.c_str(), "wb");
        std::fputs("\x05junk!", file);
        std::fclose(file);
    }
    CVarnoltDoc document(prompt_);
    EXPECT_FALSE(document.OnOpenDocument(path));
    EXPECT_FALSE(document.holdsCapture());
    EXPECT_EQ(document.capture().Count(), 0);
    ASSERT_EQ(prompt_.texts().size(), 1u);
    EXPECT_EQ(prompt_.texts()[0], "ファイル形式が違います。");
}

TEST_F(DocumentTest, SavingAnEmptyStoreWritesNoRecords) {
    CVarnoltDoc document(prompt_);
    document.OnNewDocument();
    const auto path = dir_.path() / "empty.tvd";
    ASSERT_TRUE(document.OnSaveDocument(path));
    // Start marker 20, version 5, header 252, count 4, end marker 18.
    EXPECT_EQ(std::filesystem::file_size(path), 299u);
}

TEST_F(DocumentTest, LineStatesFromAControlLineField) {
    CVarnoltDoc document(prompt_);
    document.lineStates()[kLineSd] = 1;
    document.lineStates()[kLineRd] = 2;
    // RS on, ER off, CS unknown (0), DR on, CD off, CI unknown (3).
    document.SetLineStatesFromControlField(0b11'10'01'00'10'01);
    const LineStates expected{1, 1, 2, 2, 0, 1, 2, 3};
    EXPECT_EQ(document.lineStates(), expected);
}

TEST_F(DocumentTest, PublishedDisplaySettings) {
    CVarnoltDoc document(prompt_);
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
