#include "core/capture/CCaptureData.h"
#include "core/capture/CaptureFileWriter.h"
#include "core/capture/ExportSink.h"
#include "core/capture/ExportWriter.h"
#include "core/platform/FileError.h"
#include "core/settings/CSaParameter.h"
#include "sim/FirmwareImage.h"
#include "support/RecordingPrompt.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/wait.h>
#include <vector>

#include "CliRunner.h"

namespace varnolt {
namespace {

using testing::RecordingPrompt;
using testing::TempDir;

using testing::CliRun;
using testing::ReadFile;

class CliTest : public ::testing::Test {
protected:
    CliTest() {
        store.header().recordWidth = 1;
        store.header().idleDisplay = 1;
        store.header().timeDisplay = 1;
        store.header().speed = 19200;
        store.header().delimiter(DelimiterSlot::RdEnd) = {1, 0x0D, 0};
        for (const RecordWord word :
             {0x10410009u, 0x20B10009u, 0x30010009u, 0xB009000Au, 0x5100000Au, 0x6003000Au,
              0x6039000Au, 0x7124000Au, 0x8157000Au, 0x849A000Au, 0x8560000Au, 0x200D040Au}) {
            store.Append(word, 0);
        }
        RecordingPrompt prompt;
        EXPECT_TRUE(WriteCaptureFile(capture, store.header(), 0, store,
                                     {SaveSource::Ring, 0, store.lastIndex()}, prompt));
    }

    CliRun Run(const std::vector<std::string>& args) { return testing::RunCli(dir.path(), args); }

    TempDir dir;
    CCaptureData store{64};
    std::filesystem::path capture = dir / "capture.tvd";
};

TEST_F(CliTest, ExportWritesTheGoldenText) {
    const std::string out = (dir / "out.txt").string();
    const CliRun run = Run({"export", capture.string(), out, "--line-length", "0x0A",
                            "--control-lines", "--half-width", "--start=11"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    const std::string expected = "FileName:" + PathText(capture) +
                                 "\r\n\r\n"
                                 "0000001 SD   \x81\x45\r\n"
                                 "0000011    7 \x81\x45\r\n"
                                 "        RD   0D\r\n"
                                 "           6 CR\r\n"
                                 "        RS 0000\r\n"
                                 "        ER 0000\r\n"
                                 "        CS     \r\n"
                                 "        DR     \r\n"
                                 "        CD     \r\n"
                                 "        CI   11\r\n"
                                 "\r\n";
    EXPECT_EQ(ReadFile(out), expected);
}

// The program and the dialog share one writer: same capture, same choices, same bytes.
TEST_F(CliTest, ExportMatchesTheDialogsBytesForEveryChoice) {
    struct Choice {
        std::vector<std::string> options;
        const char* name;
        ExportDisplay::Mode mode;
        ExportCharacterSize size;
        bool controlLines;
        int32_t lineLength;
        int32_t start;
    };
    const Choice choices[] = {
        {{},
         "a.txt",
         ExportDisplay::Mode::Continuous,
         ExportCharacterSize::FullWidth,
         false,
         50,
         1},
        {{"--frame"},
         "b.csv",
         ExportDisplay::Mode::Frame,
         ExportCharacterSize::FullWidth,
         false,
         50,
         1},
        {{"--frame", "--half-width", "--control-lines", "--line-length", "10"},
         "c.TXT",
         ExportDisplay::Mode::Frame,
         ExportCharacterSize::HalfWidth,
         true,
         10,
         1},
        {{"--half-width", "--start", "3"},
         "d.csv",
         ExportDisplay::Mode::Continuous,
         ExportCharacterSize::HalfWidth,
         false,
         50,
         3},
        {{"--line-length", "2147483647", "--start", "2"},
         "e.txt",
         ExportDisplay::Mode::Continuous,
         ExportCharacterSize::FullWidth,
         false,
         2147483647,
         2},
    };
    for (const Choice& choice : choices) {
        SCOPED_TRACE(choice.name);
        const std::filesystem::path out = dir / choice.name;
        std::vector<std::string> args = {"export", capture.string(), out.string()};
        args.insert(args.end(), choice.options.begin(), choice.options.end());
        ASSERT_EQ(Run(args).status, 0);

        ExportRequest request;
        request.fileName = out.string();
        request.fileType = std::string(choice.name).ends_with("csv")
                               ? ExportFileType::CommaSeparated
                               : ExportFileType::Text;
        request.lineLength = choice.lineLength;
        request.characterSize = choice.size;
        request.controlLineOutput = choice.controlLines;
        request.startPosition = choice.start;
        StringExportSink sink;
        WriteExport(store, {choice.mode, 1, 1}, request, PathText(capture), sink);
        EXPECT_EQ(ReadFile(out), sink.text());
    }
}

TEST_F(CliTest, InfoPrintsTheHeaderAndTheRecordCount) {
    const CliRun run = Run({"info", capture.string()});
    ASSERT_EQ(run.status, 0) << run.err;
    for (const char* line : {"line mode: 1 (RS-232C monitor)\n", "speed: 19200\n", "data bits: 8\n",
                             "parity: 0 (none)\n", "stop bits: 1\n", "record width: 1\n",
                             "idle display: 1 (0.001 s)\n", "time display: 1 (YY/MM/DD HH:MM:SS)\n",
                             "rd end delimiter: on 0x0D\n", "sd start delimiter: off 0x00\n",
                             "format version: 110\n", "records: 12\n"}) {
        EXPECT_NE(run.out.find(line), std::string::npos) << line;
    }
}

TEST_F(CliTest, FailuresGiveOneLineAndAnExitStatus) {
    const std::filesystem::path notCapture = dir / "not-a-capture.tvd";
    std::ofstream(notCapture, std::ios::binary) << "\x13<<## TOP Begin ##>>\x04"
                                                   "0110";
    const std::filesystem::path missing = dir / "missing.tvd";
    const std::string out = (dir / "out.txt").string();
    struct FailureCase {
        std::vector<std::string> args;
        int status;
        std::string message;
    };
    const FailureCase cases[] = {
        {{}, 2, "varnolt-cli: no command given (try --help)\n"},
        {{"convert-all", capture.string()},
         2,
         "varnolt-cli: unknown command 'convert-all' (try --help)\n"},
        {{"export", capture.string(), out, "--wide"},
         2,
         "varnolt-cli: unknown option '--wide' for export (try --help)\n"},
        {{"info", capture.string(), "--frame"},
         2,
         "varnolt-cli: unknown option '--frame' for info (try --help)\n"},
        {{"export", capture.string()},
         2,
         "varnolt-cli: export needs a capture file and an output file (try --help)\n"},
        {{"export", capture.string(), out, "--start"},
         2,
         "varnolt-cli: option --start needs a value\n"},
        {{"info", missing.string()},
         1,
         "varnolt-cli: " + FileErrorMessage(FileError::NotFound, missing) + "\n"},
        {{"export", notCapture.string(), out}, 1, "varnolt-cli: ファイル形式が違います。\n"},
        {{"export", capture.string(), (dir / "out.log").string()},
         1,
         "varnolt-cli: 保存ファイル名の拡張子が異なります\n"},
        {{"export", capture.string(), out, "--line-length", "9"},
         1,
         "varnolt-cli: １行の文字数は１０以上です\n"},
        {{"export", capture.string(), out, "--start", "12"},
         1,
         "varnolt-cli: 出力開始文字位置は全文字数（12）未満です\n"},
        {{"export", capture.string(), (dir / "no" / "out.txt").string()},
         1,
         "varnolt-cli: " + FileErrorMessage(FileError::NotFound, dir / "no" / "out.txt") + "\n"},
    };
    for (const FailureCase& c : cases) {
        const CliRun run = Run(c.args);
        EXPECT_EQ(run.status, c.status) << c.message;
        EXPECT_EQ(run.err, c.message);
    }
    EXPECT_FALSE(std::filesystem::exists(out));
}

TEST_F(CliTest, HelpNamesTheCommandsAndSucceeds) {
    const CliRun run = Run({"--help"});
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("varnolt-cli export FILE.tvd OUT.txt|OUT.csv"), std::string::npos);
    EXPECT_EQ(Run({"export", "--help"}).status, 0);
}

TEST_F(CliTest, VersionPrintsTheProgramsVersion) {
    const CliRun run = Run({"--version"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "varnolt-cli " VARNOLT_VERSION_TEXT "\n");
}

TEST_F(CliTest, SettingsListsEveryValueAndTheDifferences) {
    CSaParameter first;
    first.speed = 31'250;
    first.triggers[1].enabled = 0xFF;
    first.triggers[1].action = kTriggerSend;
    first.triggers[1].transmitNumber = 2;
    first.transmitEntries[2].elementCount = 3;
    first.transmitEntries[2].elements[0] = {1, 'O'};
    first.transmitEntries[2].elements[1] = {1, 'K'};
    first.transmitEntries[2].elements[2] = {1, 0x0D};
    CSaParameter second = first;
    second.speed = 9600;
    second.transmitEntries[2].elementCount = 2;
    RecordingPrompt prompt;
    const auto a = dir / "a.tvs";
    const auto b = dir / "b.tvs";
    ASSERT_TRUE(first.SaveFile(a, prompt));
    ASSERT_TRUE(second.SaveFile(b, prompt));

    const CliRun all = Run({"settings", a.string()});
    ASSERT_EQ(all.status, 0) << all.err;
    EXPECT_TRUE(all.out.starts_with("line mode: RS-232C monitor\nspeed: 31250 bit/s\n"));
    EXPECT_NE(all.out.find("\ntrigger 2: on\ntrigger 2 condition: error PE FE PF BR OE on SD "
                           "and RD\ntrigger 2 action: send transmit 3 after 0.00 s\n"),
              std::string::npos);
    EXPECT_NE(all.out.find("\ntransmit 3: \"OK<0D>\"\n"), std::string::npos);
    EXPECT_TRUE(all.out.ends_with("transmit 50: \"\"\n"));

    const CliRun json = Run({"settings", "--json", a.string()});
    ASSERT_EQ(json.status, 0) << json.err;
    EXPECT_TRUE(json.out.starts_with("{\n  \"line mode\": \"RS-232C monitor\",\n"));
    EXPECT_NE(json.out.find("\"transmit 3\": \"\\\"OK<0D>\\\"\""), std::string::npos);

    const CliRun diff = Run({"settings", a.string(), b.string(), "--diff"});
    ASSERT_EQ(diff.status, 0) << diff.err;
    EXPECT_EQ(diff.out, "speed: 31250 bit/s -> 9600 bit/s\ntransmit 3: \"OK<0D>\" -> \"OK\"\n");
    EXPECT_EQ(Run({"settings", a.string(), a.string(), "--diff", "--json"}).out, "{}\n");
}

TEST_F(CliTest, SettingsRefusesWhatItCannotRead) {
    const CliRun missing = Run({"settings", (dir / "none.tvs").string()});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "varnolt-cli: ファイルが見つかりません。\nファイル名を確認して再実行"
                           "してください。\n");
    EXPECT_EQ(missing.out, "");
    // A capture file is no settings file.
    EXPECT_EQ(Run({"settings", capture.string()}).err, "varnolt-cli: ファイル形式が違います。\n");
    // A newer file would read as the defaults: refused instead of listed.
    {
        RecordingPrompt prompt;
        ASSERT_TRUE(CSaParameter{}.SaveFile(dir / "newer.tvs", prompt));
        std::string bytes = ReadFile(dir / "newer.tvs");
        bytes.replace(24, 4, "0120");
        std::ofstream(dir / "newer.tvs", std::ios::binary) << bytes;
    }
    const CliRun refused = Run({"settings", (dir / "newer.tvs").string()});
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("newer version"), std::string::npos);
    EXPECT_EQ(Run({"settings", capture.string(), capture.string()}).status, 2);
    EXPECT_EQ(Run({"settings", capture.string(), "--diff"}).status, 2);
}

// The offline check says what the update would send, and refuses what the update would refuse.
TEST_F(CliTest, FirmwareChecksAFileAsTheUpdateDoes) {
    const auto write = [&](const std::string& name, const std::vector<uint8_t>& bytes) {
        const std::filesystem::path path = dir / name;
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        return path.string();
    };
    std::vector<uint8_t> truncated =
        sim::BuildFirmwareImage({.headerRecords = 2, .dataRecords = 4});
    truncated.pop_back();
    struct Case {
        std::string file;
        int status;
        std::string out;
        std::string err;
    };
    const Case cases[] = {
        {write("good.tvy", sim::BuildFirmwareImage({.headerRecords = 3, .dataRecords = 25})), 0,
         "version: 100300\nrecords: 29\nsingle lines: 3\nMK record: 5\nbatches: 3\nproblem: -\n",
         ""},
        {write("truncated.tvy", truncated), 1,
         "records: 6\nsingle lines: 2\nMK record: 4\nbatches: 1\n"
         "problem: レコード 8（オフセット 0x60）: レコードの途中でファイルが終わっています\n",
         ": 転送ファイルに誤りがあります: レコード 8（オフセット 0x60）: "
         "レコードの途中でファイルが終わっています\n"},
        {write("nomark.tvy", sim::BuildFirmwareImage({.withMark = false})), 1,
         "MK record: -\nbatches: 0\nproblem: MK レコードがありません\n",
         ": 転送ファイルに誤りがあります: MK レコードがありません\n"},
        {(dir / "missing.tvy").string(), 1, "", ": ファイルが開けません\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const CliRun run = Run({"firmware", c.file});
        EXPECT_EQ(run.status, c.status);
        EXPECT_NE(run.out.find(c.out), std::string::npos) << run.out;
        EXPECT_EQ(run.err, c.err.empty() ? "" : "varnolt-cli: " + c.file + c.err);
    }
    EXPECT_EQ(Run({"firmware"}).err, "varnolt-cli: firmware needs a firmware file (try --help)\n");
}

} // namespace
} // namespace varnolt
