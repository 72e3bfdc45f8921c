#include "core/link/protocol/AnswerCode.h"

#include "core/link/protocol/FrameTerminator.h"
#include "core/link/protocol/RequestFrame.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace varnolt {

namespace {

struct AnswerName {
    std::string_view letters;
    AnswerCode code;
};

// Three-letter names first: none of the two-letter names begins one of them, but the order
// keeps the rule obvious.
constexpr std::array<AnswerName, 19> kAnswerNames{{
    {"ACK", AnswerCode::Ack}, {"NAK", AnswerCode::Nak}, {"PGR", AnswerCode::Pgr},
    {"PSR", AnswerCode::Psr}, {"PSS", AnswerCode::Pss}, {"PTR", AnswerCode::Ptr},
    {"PLR", AnswerCode::Plr}, {"SRF", AnswerCode::Srf}, {"SRG", AnswerCode::Srg},
    {"SRE", AnswerCode::Sre}, {"SWC", AnswerCode::Swc}, {"BD", AnswerCode::Bd},
    {"BL", AnswerCode::Bl},   {"BO", AnswerCode::Bo},   {"BC", AnswerCode::Bc},
    {"DD", AnswerCode::Dd},   {"DE", AnswerCode::De},   {"FD", AnswerCode::Fd},
    {"FE", AnswerCode::Fe},
}};

constexpr size_t kChecksumScanLimit = 149'999;

bool StartsWith(std::span<const uint8_t> answer, std::string_view letters) {
    return answer.size() >= letters.size() &&
           std::equal(letters.begin(), letters.end(), answer.begin());
}

} // namespace

AnswerCode ClassifyAnswer(std::span<const uint8_t> answer) {
    for (const AnswerName& name : kAnswerNames) {
        if (StartsWith(answer, name.letters)) {
            return name.code;
        }
    }
    // "SW" with another third byte: the analyzer has not finished that answer yet.
    if (StartsWith(answer, "SW") && answer.size() >= 3) {
        return AnswerCode::Incomplete;
    }
    return AnswerCode::Error;
}

bool VerifyAnswerChecksum(std::span<const uint8_t> answer) {
    const size_t scanned = std::min(answer.size(), kChecksumScanLimit);
    for (size_t position = 0; position + 6 <= scanned; ++position) {
        const auto tail = answer.subspan(position + 2, kFrameTerminator.size());
        if (!EndsWithTerminator(tail)) {
            continue;
        }
        return EndsWithChecksum(answer.first(position + 2));
    }
    return false;
}

} // namespace varnolt
