#pragma once

#include "core/view/GlyphCodes.h"
#include "core/view/ViewTypes.h"

#include <cstdint>
#include <string_view>

namespace varnolt {

// A colour as red, green, blue.
struct Rgb {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

inline constexpr Rgb kBlack{0, 0, 0};
inline constexpr Rgb kWhite{255, 255, 255};

// A point in the coordinates of the drawn surface (see Coordinate).
struct CanvasPoint {
    Coordinate x = 0;
    Coordinate y = 0;
    friend bool operator==(const CanvasPoint&, const CanvasPoint&) = default;
};

// What page drawing needs from a device: the screen, a printer or preview page, an image, or a
// test recorder. Coordinates are those of the surface: client pixels with y down on screen,
// 0.1 mm with y up on paper; AT is always the top-left corner of what is drawn (on paper the
// drawn box extends towards smaller y). Everything is drawn with an opaque background.
class CellCanvas {
public:
    virtual ~CellCanvas() = default;

    // One glyph of the cell font "SFgg1" (character height HEIGHT, a picture one em wide) in
    // TEXT on BACKGROUND. A glyph whose two colours are equal just fills its box.
    virtual void DrawGlyph(CanvasPoint at, int32_t height, Rgb text, Rgb background,
                           GlyphCode code) = 0;
    // A label in a fixed-pitch face of character height HEIGHT; TEXT is UTF-8.
    virtual void DrawLabel(CanvasPoint at, int32_t height, Rgb text, Rgb background,
                           std::string_view utf8) = 0;
    // A straight line with a pen of WIDTH units.
    virtual void DrawLine(CanvasPoint from, CanvasPoint to, Rgb colour, int32_t width) = 0;
    // The rectangle between two opposite corners, filled with FILL and outlined in OUTLINE by a
    // 1-unit pen; it covers the left and top edges and stops short of the right and bottom ones.
    virtual void DrawRect(CanvasPoint corner, CanvasPoint opposite, Rgb fill, Rgb outline) = 0;
};

} // namespace varnolt
