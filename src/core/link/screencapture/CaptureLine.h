#pragma once

#include "core/link/screencapture/ScreenImage.h"

#include <cstdint>
#include <span>

namespace varnolt {

// The lines the analyzer sends for a screen capture, each ended by a line feed.
enum class CaptureLineKind {
    Pixels, // "CP": pixel values as upper-case hex, four characters each
    End,    // "CE": the image is complete
    Other,
};

[[nodiscard]] CaptureLineKind ClassifyCaptureLine(std::span<const uint8_t> line);

// A pixel value of four hex characters at TEXT: two hex pairs, high pair first. A pair with a
// character that is not 0-9 or A-F counts as FF.
[[nodiscard]] uint16_t CapturePixelValue(std::span<const uint8_t, 4> text);

// Decodes the pixels of a "CP" LINE (its line feed included) into IMAGE from position COUNTER
// on: one pixel per group of four characters from position 2, for every group that starts
// before position (line length − 4). COUNTER goes up by one per pixel; pixels past the end of
// IMAGE are counted but not kept. Returns the number of pixels in the line.
int32_t DecodeCaptureLine(std::span<const uint8_t> line, ScreenImage& image, int32_t& counter);

} // namespace varnolt
