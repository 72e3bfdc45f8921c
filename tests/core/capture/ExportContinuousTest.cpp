#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "ExportTestCapture.h"

namespace varnolt {
namespace {

using namespace varnolt::testing;

const std::string D = "\x81\x45"; // ・
const std::string B = "\x81\x49"; // ！

constexpr uint16_t kRsOnErOff = 0x9;
constexpr uint16_t kRsOffErOff = 0xA;

// Characters both ways, an error, a control-line change, an idle gap of 12.345 s and a time
// stamp 24/05/17 12:34:56 whose last word falls into the second block, with control lines.
void FillMixedCapture(CCaptureData& data) {
    data.header().recordWidth = 1;
    data.header().idleDisplay = 1;
    data.header().timeDisplay = 1;
    Fill(data, {
                   SdWithLines(0x41, kRsOnErOff), RdWithLines(0xB1, kRsOnErOff),
                   SdErrorWithLines(1, kRsOnErOff),
                   0xB009000A, // RS on -> off, ER off
                   0x5100000A, // idle, resolution 0.001 s, value 12345 = 0x003039
                   0x6003000A, 0x6039000A,
                   0x7124000A, // stamp kind 1: 24/05/17 12:34:56
                   0x8157000A, 0x849A000A, 0x8560000A, RdWithLines(0x0D, 0x40A), // CI on
               });
}

ExportRequest Request(ExportFileType type, ExportCharacterSize size, bool controlLines,
                      int32_t start = 1) {
    ExportRequest request;
    request.fileName = type == ExportFileType::Text ? "out.txt" : "out.csv";
    request.fileType = type;
    request.lineLength = 10;
    request.characterSize = size;
    request.controlLineOutput = controlLines;
    request.startPosition = start;
    return request;
}

const ExportDisplay kContinuous{ExportDisplay::Mode::Continuous, 1, 1};

TEST(ExportContinuous, TextFileFullWidthWithControlLines) {
    CCaptureData data(64);
    FillMixedCapture(data);
    const std::string expected = Lines({
        "FileName:/captures/test.tvd",
        "",
        "0000001 SD 41" + D + B + D + " IDLE  24/05",
        "0000001    \x82\x60" + D + "FE" + D + " 12       /1",
        "        RD " + D + "B1" + D + D + " .345  12:34",
        "           " + D + "\x83\x41" + D + D + "          :5",
        "        RS 11111110000000000000",
        "        ER 00000000000000000000",
        "        CS " + Repeat("  ", 10),
        "        DR " + Repeat("  ", 10),
        "        CD " + Repeat("  ", 10),
        "        CI " + Repeat("  ", 10),
        "",
        "0000002 SD   " + D,
        "0000011    7 " + D,
        "        RD   0D",
        "           6 CR",
        "        RS 0000",
        "        ER 0000",
        "        CS     ",
        "        DR     ",
        "        CD     ",
        "        CI   11",
        "",
    });
    EXPECT_EQ(Exported(data, kContinuous,
                       Request(ExportFileType::Text, ExportCharacterSize::FullWidth, true)),
              expected);
}

TEST(ExportContinuous, CommaSeparatedHalfWidthWithControlLines) {
    CCaptureData data(64);
    FillMixedCapture(data);
    const std::string expected = Lines({
        "FileName,/captures/test.tvd",
        "",
        "0000001,SD,,41," + D + "," + B + "," + D + ",,IDLE,,, 24/05/17,",
        "0000001,,,A," + D + ",FE," + D + ",,12.345,,, 12: 34: 56,",
        ",RD,," + D + ",B1," + D + "," + D + ",,,,,,",
        ",,," + D +
            ",\xB1"
            "," +
            D + "," + D + ",,,,,,",
        ",RS,,11,11,11,10,00,00,00,00,00,00",
        ",ER,,00,00,00,00,00,00,00,00,00,00",
        ",CS," + Repeat(",  ", 10),
        ",DR," + Repeat(",  ", 10),
        ",CD," + Repeat(",  ", 10),
        ",CI," + Repeat(",  ", 10),
        "",
        "0000002,SD,,," + D,
        "0000011,,,," + D,
        ",RD,,,0D",
        ",,,,CR",
        ",RS,,00,00",
        ",ER,,00,00",
        ",CS,,  ,  ",
        ",DR,,  ,  ",
        ",CD,,  ,  ",
        ",CI,,  ,11",
        "",
    });
    EXPECT_EQ(
        Exported(data, kContinuous,
                 Request(ExportFileType::CommaSeparated, ExportCharacterSize::HalfWidth, true)),
        expected);
}

// Control-line rows need records that carry control lines; the padded table is used for
// half-width text (control codes keep their names); a start position inside a time stamp still
// finds the stamp's head.
TEST(ExportContinuous, StartPositionInsideAStampAndNoControlRowsForWidthZero) {
    CCaptureData data(64);
    FillMixedCapture(data);
    data.header().recordWidth = 0;
    const std::string expected = Lines({
        "FileName:/captures/test.tvd",
        "",
        "0000001 SD   " + D,
        "0000011    7 " + D,
        "        RD   0D",
        "           6 CR",
        "",
    });
    EXPECT_EQ(Exported(data, kContinuous,
                       Request(ExportFileType::Text, ExportCharacterSize::HalfWidth, true, 11)),
              expected);
}

// The oldest record of a wrapped ring is position 1.
TEST(ExportContinuous, WrappedRingExportsLikeTheSameRecordsUnwrapped) {
    CCaptureData wrapped(8);
    CCaptureData plain(64);
    for (unsigned i = 0; i < 21; ++i) {
        wrapped.Append(SdWithLines(0x30 + i), 0);
        if (i >= 13) {
            plain.Append(SdWithLines(0x30 + i), 0);
        }
    }
    ASSERT_TRUE(wrapped.wrapped());
    const ExportRequest request =
        Request(ExportFileType::Text, ExportCharacterSize::HalfWidth, false, 2);
    EXPECT_EQ(Exported(wrapped, kContinuous, request), Exported(plain, kContinuous, request));
    EXPECT_NE(Exported(wrapped, kContinuous, request).find("\r\n0000002     > ? @ A B C D\r\n"),
              std::string::npos);
}

TEST(ExportContinuous, FileNameThatCodePage932CannotHoldGetsAReplacement) {
    CCaptureData data(8);
    Fill(data, {SdWithLines(0x41), SdWithLines(0x42)});
    const std::string text = Exported(
        data, kContinuous, Request(ExportFileType::Text, ExportCharacterSize::HalfWidth, false),
        "/data/caf\xC3\xA9_\xE6\xB8\xAC\xE5\xAE\x9A.tvd"); // café_測定
    EXPECT_EQ(text.substr(0, text.find("\r\n")), "FileName:/data/caf?_\x91\xAA\x92\xE8.tvd");
}

// A line length at least as long as the records after the start writes them as one block, the
// same one whatever the length: the largest lengths must not wrap the block arithmetic round.
TEST(ExportContinuous, AnyLineLengthPastTheRecordsWritesOneBlock) {
    constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
    CCaptureData data(64);
    FillMixedCapture(data);
    for (const int32_t start : {1, 5}) {
        ExportRequest request =
            Request(ExportFileType::Text, ExportCharacterSize::FullWidth, true, start);
        request.lineLength = 12;
        const std::string oneBlock = Exported(data, kContinuous, request);
        for (const int32_t length : {13, 1 << 30, kMax - 12, kMax - 1, kMax}) {
            SCOPED_TRACE(::testing::Message() << "start " << start << ", length " << length);
            request.lineLength = length;
            EXPECT_EQ(Exported(data, kContinuous, request), oneBlock);
        }
    }
}

} // namespace
} // namespace varnolt
