// varnolt-cli convert, stats and join as typed: exit statuses, outputs and refusals.

#include "core/capture/CCaptureData.h"
#include "core/capture/CaptureFileWriter.h"
#include "support/RecordingPrompt.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include "CliProcess.h"

namespace varnolt {
namespace {

using testing::ProcessRun;
using testing::RecordingPrompt;
using testing::RunProcess;
using testing::TempDir;

class CliInteropTest : public ::testing::Test {
protected:
    std::filesystem::path write(const std::string& name, uint32_t speed) {
        CCaptureData store(16);
        store.header().speed = speed;
        store.header().formatVersion = 110;
        for (const RecordWord word : {0x10410000u, 0x10420000u, 0x20610000u, 0x40010000u}) {
            store.Append(word, 0);
        }
        RecordingPrompt prompt;
        const std::filesystem::path path = dir / name;
        EXPECT_TRUE(WriteCaptureFile(path, store.header(), 0, store,
                                     {SaveSource::Ring, 0, store.lastIndex()}, prompt));
        return path;
    }
    ProcessRun run(const std::vector<std::string>& args) {
        return RunProcess(VARNOLT_CLI_PROGRAM, args, dir.path());
    }

    TempDir dir;
};

TEST_F(CliInteropTest, StatsPrintsTheNumbersAsTextOrJson) {
    const auto capture = write("a.tvd", 9600);
    ProcessRun result = run({"stats", capture.string(), "--json"});
    ASSERT_EQ(result.status, 0) << result.err;
    for (const char* part :
         {"\"characters\": {\"SD\": 2, \"RD\": 1}",
          "\"errors\": {\"SD\": {\"PE\": 0, \"FE\": 0, \"PF\": 0, \"BR\": 0, \"OE\": 0}, \"RD\": "
          "{\"PE\": 0, \"FE\": 1, \"PF\": 0, \"BR\": 0, \"OE\": 0}}",
          "\"frames\": {\"SD\": 1, \"RD\": 1}", "\"idle_gaps\": {"}) {
        EXPECT_NE(result.out.find(part), std::string::npos) << part << "\n" << result.out;
    }
    result = run({"stats", capture.string()});
    ASSERT_EQ(result.status, 0);
    EXPECT_NE(result.out.find("SD characters: 2\n"), std::string::npos) << result.out;
}

TEST_F(CliInteropTest, JoinChecksWritesAndRefuses) {
    const auto a = write("a.tvd", 9600);
    const auto b = write("b.tvd", 9600);
    const auto fast = write("fast.tvd", 38400);
    const auto out = dir / "out.tvd";

    // With --check every file named is an input: all three are checked, none is written.
    ProcessRun result = run({"join", "--check", a.string(), b.string(), a.string()});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.out.find("can be joined: 12 records"), std::string::npos) << result.out;

    result = run({"join", out.string(), a.string(), b.string()});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.out.find("joined: 8 records"), std::string::npos);
    EXPECT_NE(run({"info", out.string()}).out.find("records: 8"), std::string::npos);

    // A file of the run named where the output belongs is refused, not overwritten.
    const auto before = std::filesystem::file_size(b);
    result = run({"join", b.string(), a.string(), out.string()});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "varnolt-cli: " + b.string() +
                              " already holds a capture of this run and is not overwritten; "
                              "name a new output file\n");
    EXPECT_EQ(std::filesystem::file_size(b), before);

    result = run({"join", (dir / "refused.tvd").string(), a.string(), fast.string()});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "varnolt-cli: " + fast.string() + ": speed 38400 differs from 9600 in " +
                              a.string() + "\n");
    EXPECT_FALSE(std::filesystem::exists(dir / "refused.tvd"));
}

TEST_F(CliInteropTest, ConvertAndTheCommandLine) {
    const auto capture = write("a.tvd", 9600);
    EXPECT_EQ(run({"convert", capture.string(), (dir / "a.pcapng").string()}).status, 0);
    EXPECT_EQ(run({"convert", capture.string(), (dir / "a.vcd").string()}).status, 0);
    const ProcessRun wrong = run({"convert", capture.string(), (dir / "a.csv").string()});
    EXPECT_EQ(wrong.status, 1);
    EXPECT_NE(wrong.err.find("拡張子"), std::string::npos) << wrong.err;
    EXPECT_EQ(run({"convert", (dir / "none.tvd").string(), (dir / "b.vcd").string()}).status, 1);
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"convert", capture.string()},
                                               {"stats"},
                                               {"stats", capture.string(), "--check"},
                                               {"join", (dir / "o.tvd").string()},
                                               {"join", "--check"}}) {
        EXPECT_EQ(run(args).status, 2) << args.front();
    }
}

} // namespace
} // namespace varnolt
