#pragma once

#include "core/view/CellCanvas.h"

#include <string>
#include <string_view>
#include <vector>

namespace varnolt::test {

// A CellCanvas that keeps every call, for asserting on what a drawing drew.
class RecordingCanvas : public CellCanvas {
public:
    struct Glyph {
        CanvasPoint at;
        int32_t height = 0;
        Rgb text;
        Rgb background;
        GlyphCode code = 0;
    };
    struct Label {
        CanvasPoint at;
        int32_t height = 0;
        Rgb colour;
        Rgb background;
        std::string text;
    };
    struct Line {
        CanvasPoint from;
        CanvasPoint to;
        Rgb colour;
        int32_t width = 0;
    };
    struct Rect {
        CanvasPoint corner;
        CanvasPoint opposite;
        Rgb fill;
        Rgb outline;
    };

    void DrawGlyph(CanvasPoint at, int32_t height, Rgb text, Rgb background,
                   GlyphCode code) override {
        glyphs.push_back({at, height, text, background, code});
    }
    void DrawLabel(CanvasPoint at, int32_t height, Rgb text, Rgb background,
                   std::string_view utf8) override {
        labels.push_back({at, height, text, background, std::string(utf8)});
    }
    void DrawLine(CanvasPoint from, CanvasPoint to, Rgb colour, int32_t width) override {
        lines.push_back({from, to, colour, width});
    }
    void DrawRect(CanvasPoint corner, CanvasPoint opposite, Rgb fill, Rgb outline) override {
        rects.push_back({corner, opposite, fill, outline});
    }

    // The glyph drawn last at AT, or nullptr.
    [[nodiscard]] const Glyph* GlyphAt(CanvasPoint at) const {
        for (auto it = glyphs.rbegin(); it != glyphs.rend(); ++it) {
            if (it->at == at) {
                return &*it;
            }
        }
        return nullptr;
    }
    // The label drawn last at AT, or nullptr.
    [[nodiscard]] const Label* LabelAt(CanvasPoint at) const {
        for (auto it = labels.rbegin(); it != labels.rend(); ++it) {
            if (it->at == at) {
                return &*it;
            }
        }
        return nullptr;
    }
    // The texts of all labels, in drawing order.
    [[nodiscard]] std::vector<std::string> LabelTexts() const {
        std::vector<std::string> texts;
        for (const Label& label : labels) {
            texts.push_back(label.text);
        }
        return texts;
    }
    void Clear() {
        glyphs.clear();
        labels.clear();
        lines.clear();
        rects.clear();
    }

    std::vector<Glyph> glyphs;
    std::vector<Label> labels;
    std::vector<Line> lines;
    std::vector<Rect> rects;
};

} // namespace varnolt::test
