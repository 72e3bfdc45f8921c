// Every file the program writes, written over a file that was there while the disk fills up:
// the write fails, the failure is reported, and the old file is left exactly as it was.
#include "core/capture/CCaptureData.h"
#include "core/capture/CaptureFileWriter.h"
#include "core/capture/CaptureSaver.h"
#include "core/capture/ExportWriter.h"
#include "core/interop/CaptureJoin.h"
#include "core/interop/CaptureTime.h"
#include "core/interop/InteropExport.h"
#include "core/link/savedfile/ReceivedCaptureFile.h"
#include "core/settings/CSaParameter.h"
#include "core/shell/CVarnoltDoc.h"
#include "support/FileSizeLimit.h"
#include "support/RecordingPrompt.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

namespace varnolt {
namespace {

namespace fs = std::filesystem;
using testing::RecordingPrompt;

// Every file below grows well beyond this.
constexpr rlim_t kDiskRoom = 2048;
constexpr int kRecords = 3000;

std::string Contents(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void FillCapture(CCaptureData& store) {
    for (int n = 0; n < kRecords; ++n) {
        store.Append(0x10000000u | static_cast<uint32_t>((n % 94 + 33) << 16), 0);
    }
}

// A file received from the analyzer: a version-4 header and one data word per record.
std::vector<uint16_t> ReceivedWords() {
    std::vector<uint16_t> words(kReceivedHeaderWords + kRecords, 0x1041);
    for (size_t k = 0; k < kReceivedHeaderWords; ++k) {
        words[k] = 0x9F00;
    }
    words[0] = words[1] = words[2] = 0xA030;
    words[3] = 0xA034;
    words[16] = 0x9200;
    return words;
}

class FullDiskTest : public ::testing::Test {
protected:
    FullDiskTest() {
        FillCapture(capture);
        std::ofstream(target, std::ios::binary) << old;
    }

    // Runs WRITE with the disk full and checks that it failed with a file-error message (when
    // EXPECTMESSAGE) and left the old file.
    void ExpectOldFileKept(const std::function<bool()>& write, bool expectMessage = true) {
        bool written = true;
        {
            const testing::FileSizeLimit full(kDiskRoom);
            written = write();
        }
        EXPECT_FALSE(written);
        EXPECT_EQ(Contents(target), old);
        EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), {}), 1) << "a file was left";
        if (expectMessage) {
            ASSERT_EQ(prompt.entries.size(), 1u);
            EXPECT_EQ(prompt.entries[0].text, FileErrorMessage(FileError::WriteFault, target));
        }
    }

    testing::TempDir dir;
    testing::TempDir settingsDir;
    fs::path target = dir / "kept.tvd";
    const std::string old = "the capture that was here before";
    CCaptureData capture{10000};
    RecordingPrompt prompt;
};

TEST_F(FullDiskTest, SavingTheDocument) {
    RecordingPrompt quiet;
    CVarnoltDoc document(quiet, settingsDir.path());
    FillCapture(document.capture());
    ExpectOldFileKept([&] { return document.OnSaveDocument(target); }, false);
    ASSERT_EQ(quiet.entries.size(), 1u);
    EXPECT_EQ(quiet.entries[0].text, FileErrorMessage(FileError::WriteFault, target));
    EXPECT_TRUE(document.pathName().empty());
}

TEST_F(FullDiskTest, SettingsFile) {
    ExpectOldFileKept([&] { return CSaParameter{}.SaveFile(target, prompt); });
}

TEST_F(FullDiskTest, ReceivedCaptureFile) {
    ExpectOldFileKept([&] { return WriteReceivedCapture(target, ReceivedWords(), prompt); });
}

TEST_F(FullDiskTest, TextExportAndInteropExport) {
    const ExportRequest request{target.string(), ExportFileType::Text};
    ExpectOldFileKept(
        [&] { return WriteExportFile(capture, {}, request, "run.tvd") == FileError::None; }, false);
    const TimeBase base = TimeBase::ForFile(target);
    ExpectOldFileKept(
        [&] {
            return WriteInteropFile(capture, base, InteropFormat::Pcapng, target) ==
                   FileError::None;
        },
        false);
}

TEST_F(FullDiskTest, JoinedCapture) {
    testing::TempDir inputs;
    const CaptureSaveRange all{SaveSource::Ring, capture.firstIndex(), capture.lastIndex()};
    ASSERT_TRUE(WriteCaptureFile(inputs / "a.tvd", capture.header(), 0, capture, all, prompt));
    ASSERT_TRUE(WriteCaptureFile(inputs / "b.tvd", capture.header(), 0, capture, all, prompt));
    JoinResult result;
    ExpectOldFileKept(
        [&] {
            result = JoinCaptureFiles({inputs / "a.tvd", inputs / "b.tvd"}, target, false, prompt);
            return result.ok;
        },
        false);
    EXPECT_EQ(result.reason, FileErrorMessage(FileError::WriteFault, target));
}

// An automatic save gets a name of its own: with the disk full no partial file appears.
TEST_F(FullDiskTest, AutomaticSaveLeavesNoPartialFile) {
    capture.saver().setFolder(dir.path());
    {
        const testing::FileSizeLimit full(kDiskRoom);
        ASSERT_TRUE(capture.StartSave(SaveRequest::Trigger, 0, capture.lastIndex()));
        capture.saver().WaitIdle();
    }
    const std::vector<std::string> errors = capture.saver().TakeSaveErrors();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0].find("の書き込み中にエラーが発生しました"), std::string::npos);
    EXPECT_EQ(Contents(target), old);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), {}), 1);
}

} // namespace
} // namespace varnolt
