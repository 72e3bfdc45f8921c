#include "sim/ScreenPicture.h"

#include "sim/AnalyzerFirmware.h"
#include "sim/MeasurementEngine.h"
#include "sim/ScreenFont.h"

#include <array>
#include <string>

namespace varnolt::sim {

namespace {

constexpr Rgb kBackground{16, 24, 64};
constexpr Rgb kTitleBar{32, 96, 200};
constexpr Rgb kText{240, 240, 240};
constexpr Rgb kLabel{160, 200, 255};
constexpr Rgb kOn{64, 224, 64};
constexpr Rgb kOff{224, 64, 64};
constexpr std::array<Rgb, 8> kColourBars{{{255, 255, 255},
                                          {255, 255, 0},
                                          {0, 255, 255},
                                          {0, 255, 0},
                                          {255, 0, 255},
                                          {255, 0, 0},
                                          {0, 0, 255},
                                          {0, 0, 0}}};

class Canvas {
public:
    Canvas() : pixels_(static_cast<size_t>(kScreenPixels)) {}

    void Fill(int x, int y, int width, int height, Rgb colour) {
        const uint16_t value = ScreenPixelValue(colour);
        for (int row = y; row < y + height; ++row) {
            for (int column = x; column < x + width; ++column) {
                Set(column, row, value);
            }
        }
    }
    void Text(std::string_view text, int x, int y, int scale, Rgb colour) {
        const uint16_t value = ScreenPixelValue(colour);
        DrawScreenText(text, x, y, scale, [&](int px, int py) { Set(px, py, value); });
    }
    // A label and its value on one line of the status area.
    void Field(int line, std::string_view label, std::string_view value, Rgb colour) {
        const int y = 44 + line * 26;
        Text(label, 16, y, 2, kLabel);
        Text(value, 200, y, 2, colour);
    }
    std::vector<uint16_t> Take() { return std::move(pixels_); }

private:
    void Set(int x, int y, uint16_t value) {
        if (x >= 0 && x < kScreenWidth && y >= 0 && y < kScreenHeight) {
            pixels_[static_cast<size_t>(y * kScreenWidth + x)] = value;
        }
    }
    std::vector<uint16_t> pixels_;
};

std::string Trimmed(std::string text) {
    while (!text.empty() && text.back() == ' ') {
        text.pop_back();
    }
    return text;
}

} // namespace

uint16_t ScreenPixelValue(Rgb colour) {
    const uint32_t red = colour.red;
    const uint32_t value = (red & 0xE0U) << 8 | (red & 0x10U) << 7 |
                           (uint32_t{colour.green} >> 3) << 5 | (uint32_t{colour.blue} >> 4) << 1;
    return static_cast<uint16_t>(value);
}

std::vector<uint16_t> DrawAnalyzerScreen(const AnalyzerFirmware& state) {
    Canvas screen;
    screen.Fill(0, 0, kScreenWidth, kScreenHeight, kBackground);
    screen.Fill(0, 0, kScreenWidth, 32, kTitleBar);
    screen.Text("SERIAL LINE ANALYZER", 12, 9, 2, kText);

    const bool measuring = state.measurement && state.measurement->measuring();
    screen.Field(0, "PROGRAM", Trimmed(state.programVersion), kText);
    screen.Field(1, "REMOTE", state.remoteMode == 1 ? "ON" : "OFF",
                 state.remoteMode == 1 ? kOn : kOff);
    screen.Field(2, "STATE", measuring ? "RUN" : "STOP", measuring ? kOn : kOff);
    screen.Field(3, "PAGE", std::to_string(state.page), kText);
    screen.Field(4, "RECORDS",
                 std::to_string(state.measurement ? state.measurement->recorded() : 0), kText);
    std::string counters;
    for (const uint32_t counter : state.counters) {
        if (!counters.empty()) {
            counters += ' ';
        }
        counters += std::to_string(counter);
    }
    screen.Field(5, "COUNTERS", counters, kText);
    screen.Field(6, "TICK", std::to_string(state.now), kText);

    const int barWidth = kScreenWidth / static_cast<int>(kColourBars.size());
    for (size_t k = 0; k < kColourBars.size(); ++k) {
        screen.Fill(static_cast<int>(k) * barWidth, kScreenHeight - 36, barWidth, 36,
                    kColourBars[k]);
    }
    return screen.Take();
}

} // namespace varnolt::sim
