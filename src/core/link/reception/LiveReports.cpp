#include "core/link/reception/LiveReports.h"

#include "core/link/protocol/AnswerCode.h"
#include "core/link/protocol/FrameTerminator.h"
#include "core/link/protocol/HexDigits.h"

namespace varnolt {

namespace {

// Whether ANSWER carries PAYLOAD characters after its three letters, then the checksum and
// the terminator, and the checksum holds.
bool CheckedReport(std::span<const uint8_t> answer, size_t payload) {
    return answer.size() >= 3 + payload + 2 + kFrameTerminator.size() &&
           VerifyAnswerChecksum(answer);
}

} // namespace

int32_t ParseRunState(std::span<const uint8_t> answer) {
    if (!CheckedReport(answer, 2)) {
        return 0;
    }
    const auto state = static_cast<int32_t>(ReadHexDigits(answer, 3, 2));
    return state == 10 || state == 11 ? state : 0;
}

std::optional<TriggerReport> ParseTrigger(std::span<const uint8_t> answer) {
    if (!CheckedReport(answer, 18)) {
        return std::nullopt;
    }
    TriggerReport report;
    report.number = static_cast<int8_t>(ReadHexDigits(answer, 3, 2));
    report.before = static_cast<int32_t>(ReadHexDigits(answer, 5, 8));
    report.after = static_cast<int32_t>(ReadHexDigits(answer, 13, 8));
    return report;
}

} // namespace varnolt
