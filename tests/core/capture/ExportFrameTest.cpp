#include <gtest/gtest.h>

#include <string>

#include "ExportTestCapture.h"

namespace varnolt {
namespace {

using namespace varnolt::testing;

const std::string D = "\x81\x45"; // ・
const std::string B = "\x81\x49"; // ！
const std::string kIdleBlank(8, ' ');
const std::string kTimeBlank(10, ' ');

// An idle gap of 12.34 s and a stamp 12:34:56.78 before "Hi"; "OK" the other way; an RD line
// started by its flag with a control-line change and an overrun; eleven SD characters that
// fill one line and spill into the next.
void FillFrameCapture(CCaptureData& data) {
    data.header().idleDisplay = 2;
    data.header().timeDisplay = 5;
    Fill(data, {
                   0x52000000, // idle, resolution 0.01 s, value 1234 = 0x0004D2
                   0x60000000,
                   0x64D20000,
                   0x75000000, // stamp kind 5: 12:34:56.78
                   0x80490000,
                   0x8A560000,
                   0x87800000,
                   SdWithLines('H'),
                   SdWithLines('i'),
                   RdWithLines('O'),
                   RdWithLines('K'),
                   RdWithLines('X') | kLineStart,
                   0xB0050006,
                   RdErrorWithLines(4),
               });
    for (unsigned code = '0'; code <= '9'; ++code) {
        data.Append(SdWithLines(code), 0);
    }
    data.Append(SdWithLines('A'), 0);
}

ExportRequest FrameRequest(ExportFileType type) {
    ExportRequest request;
    request.fileName = type == ExportFileType::Text ? "out.txt" : "out.csv";
    request.fileType = type;
    request.lineLength = 10;
    request.characterSize = ExportCharacterSize::HalfWidth;
    return request;
}

const ExportDisplay kFrame{ExportDisplay::Mode::Frame, 2, 5};

TEST(ExportFrame, TextFileLines) {
    CCaptureData data(64);
    FillFrameCapture(data);
    const std::string blanks = kIdleBlank + kTimeBlank;
    const std::string expected = Lines({
        "FileName:/captures/test.tvd",
        "",
        "0000001 SD  IDLE          12 4869",
        "0000001     012.34 :34:56.78  H i",
        "0000002 RD " + blanks + "4F4B",
        "0000010    " + blanks + " O K",
        "0000003 RD " + blanks + "58" + D + B,
        "0000012    " + blanks + " X" + D + "OE",
        "0000004 SD " + blanks + "30313233343536373839",
        "0000015    " + blanks + " 0 1 2 3 4 5 6 7 8 9",
        "0000005 SD " + blanks + "41",
        "0000025    " + blanks + " A",
    });
    EXPECT_EQ(Exported(data, kFrame, FrameRequest(ExportFileType::Text)), expected);
}

TEST(ExportFrame, CommaSeparatedLines) {
    CCaptureData data(64);
    FillFrameCapture(data);
    const std::string blanks = kIdleBlank + "," + kTimeBlank + ",";
    const std::string expected = Lines({
        "FileName,/captures/test.tvd",
        "",
        "0000001,SD,IDLE,,48,69",
        "0000001,,012.34, 12: 34: 56.78,H,i",
        "0000002,RD," + blanks + "4F,4B",
        "0000010,," + blanks + "O,K",
        "0000003,RD," + blanks + "58," + D + "," + B,
        "0000012,," + blanks + "X," + D + ",OE",
        "0000004,SD," + blanks + "30,31,32,33,34,35,36,37,38,39",
        "0000015,," + blanks + "0,1,2,3,4,5,6,7,8,9",
        "0000005,SD," + blanks + "41",
        "0000025,," + blanks + "A",
    });
    EXPECT_EQ(Exported(data, kFrame, FrameRequest(ExportFileType::CommaSeparated)), expected);
}

// Control-line lines follow each frame line; without idle and time display the blanks are
// empty. A second idle gap before any character gets a line of its own instead of replacing
// the first one's columns.
TEST(ExportFrame, ControlLinesAndIdleGapsInARow) {
    CCaptureData data(64);
    data.header().recordWidth = 1;
    Fill(data, {SdWithLines('a', 0x5), 0xB0050006, 0x51000000, 0x60000000, 0x60010000, 0x51000000,
                0x60000000, 0x60020000, RdWithLines('b', 0x2)});
    ExportRequest request = FrameRequest(ExportFileType::Text);
    request.controlLineOutput = true;
    const std::string expected = Lines({
        "FileName:/captures/test.tvd",
        "",
        "0000001 SD 61" + D,
        "0000001     a" + D,
        "        RS 1110",
        "        ER 1111",
        "        CS     ",
        "        DR     ",
        "        CD     ",
        "        CI     ",
        "0000002     IDLE   ",
        "0000003     00.001 ",
        "        RS ",
        "        ER ",
        "        CS ",
        "        DR ",
        "        CD ",
        "        CI ",
        "0000003 RD  IDLE   62",
        "0000006     00.002  b",
        "        RS 00",
        "        ER   ",
        "        CS   ",
        "        DR   ",
        "        CD   ",
        "        CI   ",
    });
    EXPECT_EQ(Exported(data, {ExportDisplay::Mode::Frame, 0, 0}, request), expected);
}

} // namespace
} // namespace varnolt
