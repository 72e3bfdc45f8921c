#include "core/capture/CCaptureData.h"
#include "core/capture/CaptureFileWriter.h"
#include "sim/TrafficGenerator.h"
#include "support/RecordingPrompt.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "CliRunner.h"

namespace varnolt {
namespace {

RecordWord Word(RecordKind kind, uint32_t field) {
    return MakeRecordWord(kind, field);
}

// varnolt-cli find on a small capture, positions from 1:
//  1 SD A, 2 RD x, 3 SD B, 4 SD FE, 5 RD PF, 6-8 idle 150 ms, 9 SD A, 10 SD B,
//  11-14 stamp 26/12/10 10:00:00, 15 RD A, 16 RD B.
class FindTest : public ::testing::Test {
protected:
    FindTest() {
        CCaptureData store(64);
        using K = RecordKind;
        for (const RecordWord word :
             {Word(K::SdCharacter, 'A'), Word(K::RdCharacter, 'x'), Word(K::SdCharacter, 'B'),
              Word(K::SdError, 1), Word(K::RdError, 2), Word(K::IdleHead, 0x100),
              Word(K::IdleContinuation, 0), Word(K::IdleContinuation, 150),
              Word(K::SdCharacter, 'A'), Word(K::SdCharacter, 'B'), Word(K::StampHead, 0x126),
              Word(K::StampContinuation, 0x490), Word(K::StampContinuation, 0x400),
              Word(K::StampContinuation, 0), Word(K::RdCharacter, 'A'),
              Word(K::RdCharacter, 'B')}) {
            store.Append(word, 0);
        }
        testing::RecordingPrompt prompt;
        EXPECT_TRUE(WriteCaptureFile(capture, store.header(), 0, store,
                                     {SaveSource::Ring, 0, store.lastIndex()}, prompt));
    }

    testing::CliRun Find(std::vector<std::string> args) {
        args.insert(args.begin(), {"find", capture.string()});
        return testing::RunCli(dir.path(), args);
    }

    testing::TempDir dir;
    std::filesystem::path capture = dir / "find.tvd";
};

struct FindCase {
    std::vector<std::string> args;
    std::string out;
};

TEST_F(FindTest, PrintsEveryHitAsTheViewFindsIt) {
    const FindCase cases[] = {
        {{"--pattern", "41 42"}, "SD 1 3\n"},
        {{"--pattern", "'AB'", "--all"}, "SD 1 3\nSD 9 10\nRD 15 16\n"},
        {{"--pattern", "'AB'", "--all", "--max", "2"}, "SD 1 3\nSD 9 10\n"},
        {{"--pattern", "'AB'", "--backward"}, "RD 15 16\n"},
        {{"--pattern", "'AB'", "--backward", "--all"}, "RD 15 16\nSD 9 10\nSD 1 3\n"},
        {{"--pattern", "'AB'", "--from", "9"}, "RD 15 16\n"},
        {{"--pattern=* m0", "--mask", "0=01??????"}, "SD 1 3\n"},
        {{"--pattern", "r1 !FE", "--range=1=42-"}, "SD 3 4\n"},
        {{"--pattern", "* !PF"}, "RD 2 5\n"},
        {{"--error", "PF"}, "ERROR 5 5\n"},
        {{"--error", "FE,OE", "--from", "4"}, "ERROR 4 4\n"},
        {{"--idle", "100-150"}, "IDLE 6 8\n"},
        {{"--idle", "-0", "--all"}, "" /* not set */},
        {{"--time", "2026-12-10T00:00:00..2026-12-10T10:00:00"}, "TIME 11 14\n"},
    };
    for (const FindCase& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.args));
        const testing::CliRun run = Find(c.args);
        EXPECT_EQ(run.out, c.out);
        if (c.out.empty()) {
            EXPECT_EQ(run.status, 2);
            EXPECT_EQ(run.err, "varnolt-cli: 検索データが設定されていません\n");
        } else {
            EXPECT_EQ(run.status, 0);
            EXPECT_EQ(run.err, "");
        }
    }
}

TEST_F(FindTest, NothingFoundAndUnusableCommandLines) {
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"--idle", "151-"},
             {"--pattern", "'BA'"},
             {"--time", "2026-12-11T00:00:00..2027-01-01T00:00:00"}}) {
        const testing::CliRun run = Find(args);
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, "varnolt-cli: 指定されたデータがありません\n");
    }
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"--pattern", ""},
             {"--pattern", "4"},
             {"--pattern", "'ｱ日'"},
             {"--pattern", "m4"},
             {"--pattern", "41", "--error", "PE"},
             {},
             {"--error", "PE,XX"},
             {"--idle", "5"},
             {"--time", "2026-13-01T00:00:00..2027-01-01T00:00:00"},
             {"--pattern", "m0", "--mask", "0=0101"},
             {"--pattern", "r0", "--range", "0=4-5A"},
             {"--error", "PE", "--from", "0"},
             {"--error", "PE", "--from", "17"},
             {"--error", "PE", "--bogus"}}) {
        SCOPED_TRACE(::testing::PrintToString(args));
        const testing::CliRun run = Find(args);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err, "");
    }
    const testing::CliRun missing =
        testing::RunCli(dir.path(), {"find", (dir / "none.tvd").string(), "--error", "PE"});
    EXPECT_EQ(missing.status, 1);
}

TEST(FindInTime, StampsWithoutYearDigitsAreFoundInTheYearTheStatisticsGiveThem) {
    // Layout-B stamps (month and day only) of 12/10 05:00:00, in a file written in 2026.
    testing::TempDir dir;
    const std::filesystem::path capture = dir / "noyear.tvd";
    CCaptureData store(16);
    for (const RecordWord word : sim::TimeStampWords(2, 0)) {
        store.Append(word, 0);
    }
    store.Append(Word(RecordKind::SdCharacter, 'A'), 0);
    testing::RecordingPrompt prompt;
    ASSERT_TRUE(WriteCaptureFile(capture, store.header(), 0, store,
                                 {SaveSource::Ring, 0, store.lastIndex()}, prompt));
    using namespace std::chrono;
    std::filesystem::last_write_time(
        capture, file_clock::from_sys(sys_seconds{sys_days{2026y / 12 / 11} + 12h}));
    const auto find = [&](const std::string& range) {
        return testing::RunCli(dir.path(), {"find", capture.string(), "--time", range});
    };
    EXPECT_EQ(find("2026-12-10T04:59:00..2026-12-10T05:01:00").out, "TIME 1 4\n");
    EXPECT_EQ(find("2000-12-10T04:59:00..2000-12-10T05:01:00").status, 1);
}

} // namespace
} // namespace varnolt
