#include "core/shell/CVarnoltDoc.h"

#include "core/capture/CCaptureData.h"
#include "core/capture/CaptureFileWriter.h"
#include "core/platform/FileError.h"
#include "support/RecordingPrompt.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

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
