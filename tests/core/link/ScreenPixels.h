#pragma once

#include "core/link/screencapture/ScreenImage.h"
#include "sim/AnalyzerFirmware.h"
#include "sim/ScreenPicture.h"

#include <gtest/gtest.h>

#include <vector>

namespace varnolt::testing {

// The analyzer's screen as it shows it at the tick of STATE.
[[nodiscard]] inline std::vector<uint16_t> ScreenAt(sim::AnalyzerFirmware& state, uint32_t tick) {
    state.now = tick; // the picture shows the tick of the request
    return sim::DrawAnalyzerScreen(state);
}

// Whether IMAGE is the analyzer's screen EXPECTED: only the tick it shows may differ.
[[nodiscard]] inline ::testing::AssertionResult IsTheScreen(const ScreenImage& image,
                                                            const std::vector<uint16_t>& expected) {
    if (image.size() != expected.size()) {
        return ::testing::AssertionFailure() << image.size() << " pixels, not " << expected.size();
    }
    size_t differing = 0;
    for (size_t k = 0; k < expected.size(); ++k) {
        differing += image[k] == PixelColour(expected[k]) ? 0 : 1;
    }
    if (differing >= 200) {
        return ::testing::AssertionFailure() << differing << " pixels differ";
    }
    return ::testing::AssertionSuccess();
}

} // namespace varnolt::testing
