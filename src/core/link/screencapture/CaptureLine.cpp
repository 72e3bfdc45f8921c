#include "core/link/screencapture/CaptureLine.h"

namespace varnolt {

namespace {

constexpr size_t kPixelStart = 2;
constexpr size_t kPixelCharacters = 4;

bool StartsWith(std::span<const uint8_t> line, char first, char second) {
    return line.size() >= 2 && line[0] == static_cast<uint8_t>(first) &&
           line[1] == static_cast<uint8_t>(second);
}

// The value of an upper-case hex digit, or −1.
int HexDigit(uint8_t c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

uint8_t HexPair(uint8_t high, uint8_t low) {
    const int h = HexDigit(high);
    const int l = HexDigit(low);
    return h < 0 || l < 0 ? uint8_t{0xFF} : static_cast<uint8_t>(h << 4 | l);
}

} // namespace

CaptureLineKind ClassifyCaptureLine(std::span<const uint8_t> line) {
    if (StartsWith(line, 'C', 'P')) {
        return CaptureLineKind::Pixels;
    }
    if (StartsWith(line, 'C', 'E')) {
        return CaptureLineKind::End;
    }
    return CaptureLineKind::Other;
}

uint16_t CapturePixelValue(std::span<const uint8_t, 4> text) {
    return static_cast<uint16_t>(HexPair(text[0], text[1]) << 8 | HexPair(text[2], text[3]));
}

int32_t DecodeCaptureLine(std::span<const uint8_t> line, ScreenImage& image, int32_t& counter) {
    int32_t pixels = 0;
    // Groups start at 2, 6, 10, ... while before (length − 4): the line feed and anything
    // short of a whole group at the end are left out.
    for (size_t at = kPixelStart; at + kPixelCharacters < line.size(); at += kPixelCharacters) {
        const uint16_t value = CapturePixelValue(line.subspan(at).first<kPixelCharacters>());
        if (counter >= 0 && static_cast<size_t>(counter) < image.size()) {
            image[static_cast<size_t>(counter)] = PixelColour(value);
        }
        ++counter;
        ++pixels;
    }
    return pixels;
}

} // namespace varnolt
