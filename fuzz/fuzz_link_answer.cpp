// Feeds arbitrary bytes from the analyzer through the receive ring and the answer parsers. The
// first byte chooses the size of the chunks the bridge delivers and of the answer area; the rest
// is what arrives. Every byte must come out of the ring once and in order, ReadRing's status
// must say why it stopped, and the parsers see buffers of exactly the answer's size.

#include "core/link/port/ReceiveRing.h"
#include "core/link/protocol/AnswerCode.h"
#include "core/link/protocol/FrameTerminator.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

using namespace varnolt;

namespace {

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// Classifies and checks ANSWER as the protocol layer would, in a buffer of exactly its size.
void Parse(std::span<const uint8_t> answer) {
    const std::vector<uint8_t> exact(answer.begin(), answer.end());
    if (EndsWithTerminator(exact)) {
        const AnswerCode code = ClassifyAnswer(exact);
        Check(code != AnswerCode::Timeout);
    }
    (void)VerifyAnswerChecksum(exact);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) {
        return 0;
    }
    const size_t chunk = 1 + data[0] % 64;
    const size_t areaBytes = 8 + data[0] / 4;
    const std::span<const uint8_t> arriving(data + 1, size - 1);

    ReceiveRing ring(97);
    std::vector<uint8_t> area(areaBytes);
    std::vector<uint8_t> received;
    int32_t used = 0;
    size_t sent = 0;
    while (received.size() < arriving.size()) {
        const size_t room = static_cast<size_t>(ring.freeBytes());
        const size_t step = std::min({chunk, room, arriving.size() - sent});
        ring.append(arriving.subspan(sent, step));
        sent += step;

        int32_t count = 0;
        const RingReadStatus status = ReadRing(ring, area, used, count);
        Check(count >= 0 && used + count <= static_cast<int32_t>(area.size()));
        received.insert(received.end(), area.begin() + used, area.begin() + used + count);
        used += count;
        const auto held = std::span<const uint8_t>(area).first(static_cast<size_t>(used));
        if (status == RingReadStatus::Nothing) {
            Check(count == 0 && step == 0);
        } else if (status == RingReadStatus::Taken) {
            Check(ring.empty() || EndsWithTerminator(held));
        }
        if (status != RingReadStatus::Nothing &&
            (EndsWithTerminator(held) || status == RingReadStatus::AreaFull)) {
            Parse(held);
            used = 0;
        }
    }
    Check(std::equal(received.begin(), received.end(), arriving.begin(), arriving.end()));
    return 0;
}
