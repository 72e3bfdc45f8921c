#include "core/capture/CaptureFileReader.h"
#include "core/capture/CaptureFileWriter.h"
#include "core/interop/CaptureJoin.h"
#include "core/interop/InteropExport.h"
#include "support/RecordingPrompt.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <vector>

#include "../view/CaptureBuilder.h"

namespace varnolt {
namespace {

using namespace varnolt::test;
using varnolt::testing::RecordingPrompt;
using varnolt::testing::TempDir;

std::filesystem::path WriteFile(const TempDir& dir, const std::string& name,
                                const std::vector<RecordWord>& words, uint32_t speed = 9600,
                                uint16_t recordWidth = 0) {
    const auto capture =
        MakeCapture(words, std::max<RecordCount>(1, static_cast<RecordCount>(words.size())));
    capture->header().speed = speed;
    capture->header().recordWidth = recordWidth;
    capture->header().formatVersion = 110;
    RecordingPrompt prompt;
    const std::filesystem::path path = dir / name;
    EXPECT_TRUE(WriteCaptureFile(path, capture->header(), 1, *capture,
                                 {SaveSource::Ring, capture->firstIndex(), capture->lastIndex()},
                                 prompt));
    return path;
}

std::vector<RecordWord> Read(const std::filesystem::path& path, CaptureHeader* header = nullptr) {
    CCaptureData store;
    RecordingPrompt prompt;
    EXPECT_TRUE(ReadCaptureFile(path, store, prompt));
    EXPECT_TRUE(prompt.entries.empty());
    std::vector<RecordWord> words;
    store.CopyWords(SaveSource::Ring, 0, store.Count(), words);
    if (header != nullptr) {
        *header = store.header();
    }
    return words;
}

TEST(CaptureJoin, JoinsInTheOrderGivenOrRefusesWithoutWriting) {
    TempDir dir;
    const auto a = WriteFile(dir, "a.tvd", {Sd('a'), Sd('b')});
    const auto b = WriteFile(dir, "b.tvd", {Rd('c')});
    const auto fast = WriteFile(dir, "fast.tvd", {Rd('d')}, 19200);
    const auto wide = WriteFile(dir, "wide.tvd", {Rd('d')}, 9600, 1);
    std::filesystem::path damaged = dir / "damaged.tvd";
    std::filesystem::copy_file(a, damaged);
    std::filesystem::resize_file(damaged, std::filesystem::file_size(a) - 20);
    const auto out = dir / "joined.tvd";

    RecordingPrompt prompt;
    JoinResult result = JoinCaptureFiles({b, a, b}, out, false, prompt);
    ASSERT_TRUE(result.ok) << result.reason;
    EXPECT_EQ(result.total, 4);
    EXPECT_EQ(Read(out), (std::vector<RecordWord>{Rd('c'), Sd('a'), Sd('b'), Rd('c')}));
    EXPECT_FALSE(std::filesystem::exists(dir / "joined.tvd.part"));

    struct Refusal {
        const char* name;
        std::vector<std::filesystem::path> inputs;
        std::string reason;
    };
    const Refusal refusals[] = {
        {"Speed", {a, fast}, PathText(fast) + ": speed 19200 differs from 9600 in " + PathText(a)},
        {"RecordWidth",
         {a, wide},
         PathText(wide) + ": record width 1 differs from 0 in " + PathText(a)},
        {"Damaged", {a, damaged}, PathText(damaged) + " is damaged"},
        {"Missing",
         {a, dir / "none.tvd"},
         PathText(dir / "none.tvd") + " cannot be read as a capture file"},
        {"OutputIsAnInput", {a, out}, PathText(out) + " is one of the files to join"},
    };
    for (const Refusal& refusal : refusals) {
        SCOPED_TRACE(refusal.name);
        const auto target = std::string(refusal.name) == "OutputIsAnInput" ? out : dir / "new.tvd";
        result = JoinCaptureFiles(refusal.inputs, target, false, prompt);
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.reason, refusal.reason);
        EXPECT_FALSE(std::filesystem::exists(dir / "new.tvd"));
    }
    // --check reads and judges but writes nothing.
    result = JoinCaptureFiles({a, b}, dir / "new.tvd", true, prompt);
    EXPECT_TRUE(result.ok);
    EXPECT_EQ(result.files.size(), 2u);
    EXPECT_FALSE(std::filesystem::exists(dir / "new.tvd"));
}

TEST(CaptureJoin, RefusesMoreRecordsThanACaptureHolds) {
    TempDir dir;
    const std::vector<RecordWord> half(kMaxRingCapacity / 2, Sd('x'));
    const auto a = WriteFile(dir, "a.tvd", half);
    const auto b = WriteFile(dir, "b.tvd", {Sd('y')});
    RecordingPrompt prompt;
    EXPECT_TRUE(JoinCaptureFiles({a, a}, dir / "full.tvd", true, prompt).ok);
    const JoinResult result = JoinCaptureFiles({a, a, b}, dir / "over.tvd", false, prompt);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.reason,
              "together the files hold 4000001 records, more than the 4000000 a capture holds");
    EXPECT_FALSE(std::filesystem::exists(dir / "over.tvd"));
}

TEST(InteropExport, ChoosesTheFormatByExtensionAndReports) {
    TempDir dir;
    const auto capture = MakeCapture({Sd('a'), Rd('b')});
    RecordingPrompt prompt;
    RunInteropExport(*capture, {}, dir / "out.PCAPNG", prompt);
    RunInteropExport(*capture, {}, dir / "out.vcd", prompt);
    RunInteropExport(*capture, {}, dir / "out.txt", prompt);
    RunInteropExport(*capture, {}, dir / "missing" / "out.vcd", prompt);
    ASSERT_EQ(prompt.entries.size(), 4u);
    EXPECT_EQ(prompt.entries[0].text, "エクスポートが完了しました");
    EXPECT_EQ(prompt.entries[0].caption, "確認");
    EXPECT_EQ(prompt.entries[1].text, "エクスポートが完了しました");
    EXPECT_EQ(prompt.entries[2].text, "出力ファイルの拡張子は .pcapng または .vcd にしてください");
    EXPECT_EQ(prompt.entries[2].caption, "Error");
    EXPECT_NE(prompt.entries[3].text.find("out.vcd"), std::string::npos);
    EXPECT_GT(std::filesystem::file_size(dir / "out.PCAPNG"), 0u);
    EXPECT_FALSE(std::filesystem::exists(dir / "out.txt"));

    capture->header().speed = 0;
    prompt.entries.clear();
    RunInteropExport(*capture, {}, dir / "nospeed.vcd", prompt);
    EXPECT_EQ(prompt.texts(),
              std::vector<std::string>{"通信速度が分からないため VCD ファイルに出力できません"});
}

} // namespace
} // namespace varnolt
