#include "core/link/protocol/AnswerCode.h"
#include "core/link/protocol/HexFormat.h"
#include "core/link/protocol/RequestFrame.h"
#include "core/settings/HexText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace varnolt {
namespace {

std::vector<uint8_t> Terminated(std::string_view text) {
    std::vector<uint8_t> bytes(text.begin(), text.end());
    bytes.insert(bytes.end(), {0xFF, 0x00, 0xFF, 0x00});
    return bytes;
}

TEST(RequestFrame, RemoteModeFramesByteForByte) {
    EXPECT_EQ(
        BuildFrame("ENW01", FrameChecksum::With),
        (std::vector<uint8_t>{0x45, 0x4E, 0x57, 0x30, 0x31, 0x34, 0x42, 0xFF, 0x00, 0xFF, 0x00}));
    EXPECT_EQ(
        BuildFrame("ENW00", FrameChecksum::With),
        (std::vector<uint8_t>{0x45, 0x4E, 0x57, 0x30, 0x30, 0x34, 0x41, 0xFF, 0x00, 0xFF, 0x00}));
    EXPECT_EQ(BuildFrame("abc", FrameChecksum::With), Terminated("abc26"));
    EXPECT_EQ(BuildFrame("VER", FrameChecksum::Without), Terminated("VER"));
}

TEST(AnswerCode, AnswersAreClassifiedByTheirLeadingLetters) {
    const struct {
        std::string_view text;
        AnswerCode code;
    } cases[] = {
        {"ACK1.02  ", AnswerCode::Ack}, {"NAK", AnswerCode::Nak},
        {"PGR0A55", AnswerCode::Pgr},   {"PSR", AnswerCode::Psr},
        {"PSS", AnswerCode::Pss},       {"PTR", AnswerCode::Ptr},
        {"PLR", AnswerCode::Plr},       {"SRF", AnswerCode::Srf},
        {"SRG", AnswerCode::Srg},       {"SRE0000", AnswerCode::Sre},
        {"BD", AnswerCode::Bd},         {"BL", AnswerCode::Bl},
        {"BO", AnswerCode::Bo},         {"BC0012", AnswerCode::Bc},
        {"SWC", AnswerCode::Swc},       {"DD", AnswerCode::Dd},
        {"DE", AnswerCode::De},         {"FD", AnswerCode::Fd},
        {"FE", AnswerCode::Fe},         {"SWX", AnswerCode::Incomplete},
        {"SW", AnswerCode::Incomplete}, {"", AnswerCode::Error},
        {"AC", AnswerCode::Error},      {"PS", AnswerCode::Error},
        {"XYZ", AnswerCode::Error},
    };
    for (const auto& [text, code] : cases) {
        EXPECT_EQ(ClassifyAnswer(Terminated(text)), code) << '"' << text << '"';
    }
}

TEST(AnswerCode, ChecksumCoversEveryByteBeforeItsTwoCharacters) {
    EXPECT_TRUE(VerifyAnswerChecksum(BuildFrame("PGR0A", FrameChecksum::With)));
    // "PGR0A" sums to 0x15A: checksum "5A".
    EXPECT_TRUE(VerifyAnswerChecksum(Terminated("PGR0A5A")));
    EXPECT_FALSE(VerifyAnswerChecksum(Terminated("PGR0A5B")));
    EXPECT_FALSE(VerifyAnswerChecksum(Terminated("PGR0A5a"))); // compared with upper case
    EXPECT_FALSE(VerifyAnswerChecksum(std::vector<uint8_t>{'P', 'G', 'R', '0', 'A', '5', 'A'}));
    EXPECT_FALSE(VerifyAnswerChecksum({}));
    // Only the first terminator counts.
    std::vector<uint8_t> two = Terminated("PGR0A5B");
    const std::vector<uint8_t> good = Terminated("PGR0A5A");
    two.insert(two.end(), good.begin(), good.end());
    EXPECT_FALSE(VerifyAnswerChecksum(two));
}

TEST(HexText, PairsReadEitherCaseAndNonDigitsCountAsZero) {
    EXPECT_EQ(ParseHexPair('4', 'B'), 0x4B);
    EXPECT_EQ(ParseHexPair('f', 'e'), 0xFE);
    EXPECT_EQ(ParseHexPair('G', '7'), 0x07);
    EXPECT_EQ(ParseHexPair('8', ' '), 0x80);
    EXPECT_EQ(FormatHex32(0x0012ABCF), "0012ABCF");
    EXPECT_EQ(FormatHex32(0xFFFFFFFF), "FFFFFFFF");
}

} // namespace
} // namespace varnolt
