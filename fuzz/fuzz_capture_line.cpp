// Feeds arbitrary bytes from the analyzer through the receive ring into the screen capture's line
// buffer and decodes every line as the capture does. The first byte chooses the buffer's size and
// the size of the chunks that arrive. No line may be longer than the buffer or lack its line
// feed, every pixel of a "CP" line must be counted once, the image must keep its size, and the
// ring must run empty: every byte is taken once, as a line or dropped with an overlong one.

#include "core/link/port/ReceiveRing.h"
#include "core/link/port/RingLineBuffer.h"
#include "core/link/screencapture/CaptureLine.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

using namespace varnolt;

namespace {

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// Groups of four characters that start at 2, 6, ... before (length − 4).
int32_t PixelGroups(size_t length) {
    return length < 7 ? 0 : static_cast<int32_t>((length - 7) / 4 + 1);
}

void TakeLines(ReceiveRing& ring, RingLineBuffer& buffer, ScreenImage& image, int32_t& counter) {
    for (;;) {
        const LineRead read = buffer.collect(ring);
        if (read == LineRead::Waiting) {
            return;
        }
        if (read == LineRead::Complete) {
            const std::span<const uint8_t> line = buffer.line();
            Check(!line.empty() && line.size() <= buffer.capacity() && line.back() == 0x0A);
            if (ClassifyCaptureLine(line) == CaptureLineKind::Pixels) {
                const int32_t before = counter;
                const int32_t pixels = DecodeCaptureLine(line, image, counter);
                Check(pixels == PixelGroups(line.size()) && counter - before == pixels);
            }
            buffer.clear();
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) {
        return 0;
    }
    const size_t capacity = 1 + data[0] * 4;
    const size_t chunk = 1 + data[0] % 61;
    const std::span<const uint8_t> arriving(data + 1, size - 1);

    ReceiveRing ring(509);
    RingLineBuffer buffer(capacity);
    ScreenImage image(97);
    int32_t counter = 0;
    for (size_t sent = 0; sent < arriving.size();) {
        const size_t step =
            std::min({chunk, static_cast<size_t>(ring.freeBytes()), arriving.size() - sent});
        ring.append(arriving.subspan(sent, step));
        sent += step;
        TakeLines(ring, buffer, image, counter);
        Check(ring.empty());
    }
    Check(image.size() == 97);
    return 0;
}
