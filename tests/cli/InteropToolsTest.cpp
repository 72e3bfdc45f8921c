// Files that varnolt-cli convert writes, read back by the tools people use with them: tshark
// reads the pcapng, sigrok-cli decodes the VCD's UART waveforms. Captures are random traffic of
// the virtual analyzer with control lines, idle gaps, time stamps and line errors.

#include "core/capture/CCaptureData.h"
#include "core/capture/CaptureFileWriter.h"
#include "core/interop/InteropText.h"
#include "sim/TrafficGenerator.h"
#include "support/RecordingPrompt.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <memory>
#include <sstream>

#include "CliProcess.h"

namespace varnolt {
namespace {

using testing::ProcessRun;
using testing::RecordingPrompt;
using testing::RunProcess;
using testing::TempDir;

bool HaveProgram(const std::string& name) {
    return std::system(("command -v " + name + " >/dev/null 2>&1").c_str()) == 0;
}

// The lines of TEXT, without the warning every Wireshark tool prints when run as root.
std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (line.find("Running as user \"root\"") == std::string::npos) {
            lines.push_back(line);
        }
    }
    return lines;
}

std::vector<std::string> Split(const std::string& line, char separator) {
    std::vector<std::string> fields;
    std::string field;
    std::istringstream in(line);
    while (std::getline(in, field, separator)) {
        fields.push_back(field);
    }
    if (!line.empty() && line.back() == separator) {
        fields.emplace_back();
    }
    return fields;
}

std::string Hex(const std::string& bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    for (const char c : bytes) {
        text += kDigits[static_cast<uint8_t>(c) >> 4];
        text += kDigits[static_cast<uint8_t>(c) & 0xF];
    }
    return text;
}

// A byte as the UART decoder shows it: two upper-case hexadecimal digits.
std::string HexByte(uint8_t byte) {
    char text[3];
    std::snprintf(text, sizeof text, "%02X", byte);
    return text;
}

struct LineConditions {
    uint32_t speed;
    uint16_t dataBits;
    int32_t parity; // 0 none, 2 even, 3 odd
    uint16_t stopBits;
    uint64_t seed;
};

// What the capture holds, line by line.
struct Expected {
    std::map<int, std::string> characters;      // by direction: 0 SD, 1 RD
    std::map<int, std::vector<uint8_t>> errors; // by direction, error codes in order
    std::vector<uint16_t> changes;              // new control-line states in order
    // By direction, what a receiver on the wire finds: each character in two hexadecimal
    // digits, each error by name; an overrun leaves nothing on the wire.
    std::map<int, std::vector<std::string>> wire;
};

class InteropToolsTest : public ::testing::TestWithParam<LineConditions> {
protected:
    void SetUp() override {
        const LineConditions& line = GetParam();
        sim::TrafficSettings traffic;
        traffic.speed = line.speed;
        traffic.dataBits = line.dataBits;
        traffic.parity = line.parity;
        traffic.stopBits = line.stopBits;
        traffic.idleDisplay = 1;
        traffic.timeDisplay = 2;
        traffic.recordWidth = 1;
        traffic.errorsPerMillion = 30'000;
        traffic.seed = line.seed;
        store_ = std::make_unique<CCaptureData>(kRecords);
        CaptureHeader& header = store_->header();
        header.speed = line.speed;
        header.dataBits = line.dataBits;
        header.parity = line.parity;
        header.stopBits = line.stopBits;
        header.idleDisplay = 1;
        header.timeDisplay = 2;
        header.recordWidth = 1;
        header.formatVersion = 110;
        sim::TrafficGenerator generator(traffic);
        int characters = 0;
        while (true) {
            const sim::TrafficItem& item = generator.Peek();
            if (store_->Count() + static_cast<RecordCount>(item.words.size()) > kRecords) {
                break;
            }
            for (RecordWord word : item.words) {
                // Now and then a break or a parity-and-framing error in place of a character.
                if (KindOf(word) == RecordKind::SdCharacter ||
                    KindOf(word) == RecordKind::RdCharacter) {
                    if (++characters % 97 == 0) {
                        const uint32_t code = characters % 2 == 0 ? 3 : (line.parity != 0 ? 2 : 1);
                        word =
                            MakeRecordWord(
                                static_cast<RecordKind>(static_cast<int>(KindOf(word)) + 2), code) |
                            ControlLineFieldOf(word);
                    }
                }
                store_->Append(word, 0);
            }
            generator.Pop();
        }
        RecordingPrompt prompt;
        ASSERT_TRUE(WriteCaptureFile(capture_, header, 0, *store_,
                                     {SaveSource::Ring, 0, store_->lastIndex()}, prompt));
        for (RingIndex i = 0; i <= store_->lastIndex(); ++i) {
            const RecordWord word = store_->word(i);
            switch (KindOf(word)) {
            case RecordKind::SdCharacter:
            case RecordKind::RdCharacter:
                expected_.characters[KindOf(word) == RecordKind::RdCharacter] +=
                    static_cast<char>(CodeOf(word));
                expected_.wire[KindOf(word) == RecordKind::RdCharacter].push_back(
                    HexByte(CodeOf(word)));
                break;
            case RecordKind::SdError:
            case RecordKind::RdError:
                expected_.errors[KindOf(word) == RecordKind::RdError].push_back(CodeOf(word));
                if (CodeOf(word) != static_cast<uint8_t>(LineError::Overrun)) {
                    expected_.wire[KindOf(word) == RecordKind::RdError].emplace_back(
                        ErrorName(CodeOf(word)));
                }
                break;
            case RecordKind::ControlLineChange:
                expected_.changes.push_back(NewLineStates(word));
                break;
            default:
                break;
            }
        }
        ASSERT_FALSE(expected_.errors[0].empty());
        ASSERT_FALSE(expected_.errors[1].empty());
        ASSERT_FALSE(expected_.changes.empty());
    }

    // OUT converted by varnolt-cli.
    std::filesystem::path convert(const std::string& name) {
        const std::filesystem::path out = dir_ / name;
        const ProcessRun run = RunProcess(
            VARNOLT_CLI_PROGRAM, {"convert", capture_.string(), out.string()}, dir_.path());
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.err, "");
        return out;
    }

    static constexpr RecordCount kRecords = 1500;
    TempDir dir_;
    std::filesystem::path capture_ = dir_ / "traffic.tvd";
    std::unique_ptr<CCaptureData> store_;
    Expected expected_;
};

TEST_P(InteropToolsTest, TsharkReadsThePcapngAsTheCaptureHoldsIt) {
    if (!HaveProgram("tshark") || !HaveProgram("capinfos")) {
        GTEST_SKIP() << "tshark is not installed (scripts/setup.sh installs it)";
    }
    const std::filesystem::path pcapng = convert("traffic.pcapng");
    const ProcessRun info = RunProcess("capinfos", {"-E", pcapng.string()}, dir_.path());
    ASSERT_EQ(info.status, 0) << info.err;
    EXPECT_NE(info.out.find("RTAC serial-line"), std::string::npos) << info.out;

    const ProcessRun run = RunProcess(
        "tshark", {"-r", pcapng.string(),     "-T", "fields",      "-E", "separator=;",
                   "-e", "rtacser.eventtype", "-e", "rtacser.rts", "-e", "rtacser.dtr",
                   "-e", "rtacser.cts",       "-e", "rtacser.dsr", "-e", "rtacser.dcd",
                   "-e", "rtacser.ring",      "-e", "data.data",   "-e", "frame.comment"},
        dir_.path());
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(Lines(run.err).empty()) << run.err;

    std::map<int, std::string> payload;
    std::map<int, std::vector<std::string>> errorComments;
    std::vector<uint16_t> changes;
    for (const std::string& line : Lines(run.out)) {
        const std::vector<std::string> f = Split(line, ';');
        ASSERT_EQ(f.size(), 9u) << line;
        const int event = std::stoi(f[0], nullptr, 16);
        if (event == 1 || event == 2) {
            payload[event - 1] += f[7];
        } else if (event == 0) {
            // The new states as the header's bits show them: RS, ER, CS, DR, CD, CI.
            uint16_t states = 0;
            const std::string bits[] = {f[1], f[2], f[3], f[4], f[5], f[6]};
            for (int k = 0; k < 6; ++k) {
                states |= static_cast<uint16_t>((bits[k] == "1" ? 1 : 2) << (2 * k));
            }
            changes.push_back(states);
        } else {
            ASSERT_GE(event, 7) << line;
            ASSERT_LE(event, 10) << line;
            const int direction = f[8].starts_with("SD:") ? 0 : f[8].starts_with("RD:") ? 1 : -1;
            ASSERT_NE(direction, -1) << "the comment names no line: " << line;
            errorComments[direction].push_back(f[8]);
        }
    }
    for (const int direction : {0, 1}) {
        SCOPED_TRACE(direction == 0 ? "SD" : "RD");
        EXPECT_EQ(payload[direction], Hex(expected_.characters[direction]));
        std::vector<std::string> expectedComments;
        for (const uint8_t code : expected_.errors[direction]) {
            expectedComments.push_back(std::string(direction == 0 ? "SD: " : "RD: ") +
                                       std::string(ErrorDescription(code)) + " (" +
                                       std::string(ErrorName(code)) + ")");
        }
        EXPECT_EQ(errorComments[direction], expectedComments);
    }
    EXPECT_EQ(changes, expected_.changes);
}

// The frames the UART decoder found, in order, each as what it was: a character in two
// hexadecimal digits, or the error it showed ("PE", "FE", "PF", "BR"). A frame's annotations
// follow its start bit; a break is reported after the frame it began with.
std::vector<std::string> DecodedFrames(const std::string& output) {
    struct Frame {
        std::string data;
        bool parityError = false;
        bool frameError = false;
        bool breakCondition = false;
    };
    std::vector<Frame> frames;
    for (const std::string& line : Lines(output)) {
        const size_t colon = line.find(": ");
        if (colon == std::string::npos) {
            continue;
        }
        const std::string text = line.substr(colon + 2);
        if (text == "Start bit") {
            frames.emplace_back();
        } else if (frames.empty()) {
            continue;
        } else if (text == "Parity error") {
            frames.back().parityError = true;
        } else if (text == "Frame error") {
            frames.back().frameError = true;
        } else if (text == "Break condition") {
            frames.back().breakCondition = true;
        } else if (text.size() == 2) {
            frames.back().data = text;
        }
    }
    std::vector<std::string> decoded;
    for (const Frame& frame : frames) {
        if (frame.breakCondition) {
            decoded.emplace_back("BR");
        } else if (frame.parityError && frame.frameError) {
            decoded.emplace_back("PF");
        } else if (frame.parityError) {
            decoded.emplace_back("PE");
        } else if (frame.frameError) {
            decoded.emplace_back("FE");
        } else {
            decoded.push_back(frame.data);
        }
    }
    return decoded;
}

TEST_P(InteropToolsTest, SigrokDecodesTheVcdIntoTheCapturesCharactersAndErrors) {
    if (!HaveProgram("sigrok-cli")) {
        GTEST_SKIP() << "sigrok-cli is not installed (scripts/setup.sh installs it)";
    }
    const LineConditions& line = GetParam();
    const std::filesystem::path vcd = convert("traffic.vcd");
    const std::string parity = line.parity == 2 ? "even" : line.parity == 3 ? "odd" : "none";
    for (const int direction : {0, 1}) {
        SCOPED_TRACE(direction == 0 ? "SD" : "RD");
        const std::string side = direction == 0 ? "tx" : "rx";
        const ProcessRun run = RunProcess(
            "sigrok-cli",
            {"-i", vcd.string(), "-I", "vcd", "-P",
             "uart:baudrate=" + std::to_string(line.speed) +
                 ":data_bits=" + std::to_string(line.dataBits) + ":parity=" + parity +
                 ":stop_bits=" + std::to_string(line.stopBits) + ".0:format=hex:tx=SD:rx=RD",
             "-A",
             "uart=" + side + "-start:" + side + "-data:" + side + "-parity-err:" + side +
                 "-warnings:" + side + "-break"},
            dir_.path());
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(DecodedFrames(run.out), expected_.wire[direction]);
    }
}

TEST(InteropTools, SigrokDecodesTheFirstCharacterOfACaptureThatStartsWithIt) {
    if (!HaveProgram("sigrok-cli")) {
        GTEST_SKIP() << "sigrok-cli is not installed (scripts/setup.sh installs it)";
    }
    // The first record is a character at the capture's first instant: the VCD has to show the
    // idle line before its start bit.
    TempDir dir;
    CCaptureData store(16);
    CaptureHeader& header = store.header();
    header.speed = 9600;
    header.dataBits = 8;
    header.stopBits = 1;
    header.formatVersion = 110;
    for (const uint8_t code : {0x20, 0x41, 0x42}) {
        store.Append(MakeRecordWord(RecordKind::SdCharacter, code), 0);
    }
    RecordingPrompt prompt;
    const std::filesystem::path capture = dir / "first.tvd";
    ASSERT_TRUE(WriteCaptureFile(capture, header, 0, store,
                                 {SaveSource::Ring, 0, store.lastIndex()}, prompt));
    const std::filesystem::path vcd = dir / "first.vcd";
    const ProcessRun convert =
        RunProcess(VARNOLT_CLI_PROGRAM, {"convert", capture.string(), vcd.string()}, dir.path());
    ASSERT_EQ(convert.status, 0) << convert.err;
    const ProcessRun run = RunProcess(
        "sigrok-cli",
        {"-i", vcd.string(), "-I", "vcd", "-P",
         "uart:baudrate=9600:data_bits=8:parity=none:stop_bits=1.0:format=hex:tx=SD:rx=RD", "-A",
         "uart=tx-start:tx-data:tx-parity-err:tx-warnings:tx-break"},
        dir.path());
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(DecodedFrames(run.out), (std::vector<std::string>{"20", "41", "42"}));
}

INSTANTIATE_TEST_SUITE_P(Conditions, InteropToolsTest,
                         ::testing::Values(LineConditions{9600, 8, 2, 1, 11},
                                           LineConditions{115200, 7, 3, 2, 12},
                                           LineConditions{19200, 8, 0, 1, 13}));

} // namespace
} // namespace varnolt
