#include <gtest/gtest.h>

#include <array>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "ExportTestCapture.h"

namespace varnolt {
namespace {

using namespace varnolt::testing;

// Idle gaps and time stamps in every resolution and stamp kind, as the four rows of a
// continuous block (without their labels).
struct ItemCase {
    const char* name;
    std::vector<RecordWord> words;
    ExportFileType fileType;
    int32_t timeDisplay;
    std::array<std::string, 4> rows;
};

// 24/05/17 12:34:56 in layout A, with stamp KIND.
std::vector<RecordWord> StampA(unsigned kind) {
    return {0x70240000 | kind << 24, 0x81570000, 0x849A0000, 0x85600000};
}
// 05/17 12:34:56.78 in layout B, with stamp KIND.
std::vector<RecordWord> StampB(unsigned kind) {
    return {0x70150000 | kind << 24, 0x87490000, 0x8A560000, 0x87800000};
}
// An idle gap of VALUE units at RESOLUTION.
std::vector<RecordWord> Idle(unsigned resolution, uint32_t value) {
    return {0x50000000 | resolution << 24 | (value >> 24) << 16,
            0x60000000 | (value >> 12 & 0xFFF) << 16, 0x60000000 | (value & 0xFFF) << 16};
}

const std::string kBlank8(8, ' ');
const std::string kBlank6(6, ' ');
constexpr auto kText = ExportFileType::Text;
constexpr auto kCsv = ExportFileType::CommaSeparated;

const ItemCase kCases[] = {
    {"Idle1ms", Idle(1, 12345), kText, 0, {" IDLE ", " 12   ", " .345 ", kBlank6}},
    {"Idle10ms", Idle(2, 1234), kText, 0, {" IDLE ", " 012  ", "  .34 ", kBlank6}},
    {"Idle100ms", Idle(3, 123), kText, 0, {" IDLE ", " 0012 ", "   .3 ", kBlank6}},
    {"Idle1msCsv", Idle(1, 12345), kCsv, 0, {",,IDLE,", ",,12.345,", ",,,", ",,,"}},
    {"Idle10msCsv", Idle(2, 1234), kCsv, 0, {",,IDLE,", ",,012.34,", ",,,", ",,,"}},
    {"Idle100msCsv", Idle(3, 123), kCsv, 0, {",,IDLE,", ",,0012.3,", ",,,", ",,,"}},
    {"StampKind1", StampA(1), kText, 1, {" 24/05  ", "    /17 ", " 12:34  ", "    :56 "}},
    {"StampKind2", StampB(2), kText, 2, {"    05  ", "    /17 ", " 12:34  ", " :56.78 "}},
    {"StampKind3", StampA(3), kText, 3, {" 24/05  ", "    /17 ", kBlank8, kBlank8}},
    {"StampKind4", StampA(4), kText, 4, {kBlank8, kBlank8, " 12:34  ", "    :56 "}},
    {"StampKind5", StampB(5), kText, 5, {kBlank8, kBlank8, " 12:34  ", " :56.78 "}},
    {"StampCsv1", StampA(1), kCsv, 1, {",, 24/05/17,,", ",, 12: 34: 56,,", ",,,,", ",,,,"}},
    {"StampCsv2", StampB(2), kCsv, 2, {",,05/17,,", ",, 12: 34: 56.78,,", ",,,,", ",,,,"}},
    {"StampCsv3", StampA(3), kCsv, 3, {",, 24/05/17,,", ",,,,", ",,,,", ",,,,"}},
    {"StampCsv4", StampA(4), kCsv, 4, {",,,,", ",, 12: 34: 56,,", ",,,,", ",,,,"}},
    {"StampCsv5", StampB(5), kCsv, 5, {",,,,", ",, 12: 34: 56.78,,", ",,,,", ",,,,"}},
    // Continuations whose head is not in the capture are empty cells.
    {"OrphanIdle", {0x60000000, 0x60010000}, kText, 0, {"    ", "    ", "    ", "    "}},
    {"OrphanStampCsv", {0x80000000}, kCsv, 1, {",", ",", ",", ","}},
};

class ExportItemsTest : public ::testing::TestWithParam<ItemCase> {};

TEST_P(ExportItemsTest, FillsTheFourRowsOfTheBlock) {
    const ItemCase& c = GetParam();
    CCaptureData data(64);
    for (const RecordWord word : c.words) {
        data.Append(word, 0);
    }
    ExportRequest request;
    request.fileType = c.fileType;
    request.lineLength = 10;
    request.characterSize = ExportCharacterSize::HalfWidth;
    const std::string text =
        Exported(data, {ExportDisplay::Mode::Continuous, 1, c.timeDisplay}, request);

    const bool csv = c.fileType == kCsv;
    const std::array<std::string, 4> labels =
        csv ? std::array<std::string, 4>{"0000001,SD,", "0000001,,", ",RD,", ",,"}
            : std::array<std::string, 4>{"0000001 SD ", "0000001    ", "        RD ",
                                         "           "};
    std::istringstream lines(text);
    std::string line;
    std::getline(lines, line); // FileName
    std::getline(lines, line); // empty
    for (size_t row = 0; row < 4; ++row) {
        ASSERT_TRUE(std::getline(lines, line));
        ASSERT_EQ(line.back(), '\r');
        line.pop_back();
        ASSERT_EQ(line.substr(0, labels[row].size()), labels[row]);
        EXPECT_EQ(line.substr(labels[row].size()), c.rows[row]) << "row " << row + 1;
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, ExportItemsTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace varnolt

namespace varnolt {
namespace {

// Damaged captures (any word, cut groups, a wrapped ring) export in every layout without
// reading outside the capture, and every line ends with CR LF.
TEST(ExportItems, AnyWordsExportInEveryLayout) {
    CCaptureData data(256);
    data.header().recordWidth = 1;
    std::mt19937 random(11);
    for (int i = 0; i < 1000; ++i) {
        data.Append(static_cast<RecordWord>(random()), 0);
    }
    for (const auto mode : {ExportDisplay::Mode::Continuous, ExportDisplay::Mode::Frame}) {
        for (const auto type : {ExportFileType::Text, ExportFileType::CommaSeparated}) {
            ExportRequest request;
            request.fileType = type;
            request.lineLength = 10;
            request.controlLineOutput = true;
            request.startPosition = 3;
            const std::string text = Exported(data, {mode, 3, 7}, request);
            size_t lines = 0;
            for (size_t at = text.find('\n'); at != std::string::npos;
                 at = text.find('\n', at + 1)) {
                ASSERT_GT(at, 0u);
                ASSERT_EQ(text[at - 1], '\r');
                ++lines;
            }
            EXPECT_GT(lines, 50u);
            EXPECT_TRUE(text.ends_with("\r\n"));
        }
    }
}

} // namespace
} // namespace varnolt
