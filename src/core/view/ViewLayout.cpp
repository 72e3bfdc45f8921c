#include "core/view/ViewLayout.h"

namespace varnolt {

PageGeometry ViewLayout::ComputeGeometry(Surface surface, int32_t pageNumber,
                                         DrawingSize size) const {
    return ComputePageGeometry({surface, display_, controlLines_, pageNumber}, size);
}

bool ViewLayout::setDisplay(const DisplayState& display) {
    const bool changed = display != display_;
    display_ = display;
    lines_.setMode(display.mode);
    return changed;
}

bool ViewLayout::setOptions(const DrawOptions& options) {
    const bool changed = options != options_;
    options_ = options;
    return changed;
}

bool ViewLayout::setControlLines(bool shown) {
    const bool changed = shown != controlLines_;
    controlLines_ = shown;
    return changed;
}

bool ViewLayout::SetClientSize(DrawingSize size) {
    const PageGeometry before = screen_;
    client_ = size;
    screen_ = ComputeGeometry(Surface::Screen, 1, size);
    return screen_ != before;
}

LineNumber ViewLayout::CountFrameLines(const CCaptureData& capture) {
    return lines_.CountFrameLines(capture, screen_.columns);
}

int32_t ViewLayout::TotalLines(const CCaptureData& capture) const {
    return lines_.TotalLines(capture, screen_.columns);
}

bool ViewLayout::IsVisible(RingIndex index) const {
    if (top_ <= lastDrawn_) {
        return top_ <= index && index <= lastDrawn_;
    }
    return index >= top_ || index <= lastDrawn_;
}

void ViewLayout::ResetLayout(const CCaptureData& capture, const DisplayState& display,
                             DrawingSize client) {
    if (capture.header().recordWidth == 0) {
        controlLines_ = false;
    }
    setDisplay(display);
    top_ = capture.firstIndex();
    lastDrawn_ = top_;
    SetClientSize(client);
    CountFrameLines(capture);
    totalLines_ = 0;
    liveColumn_ = 0;
    liveLine_ = 0;
    frameState_ = {};
}

void ViewLayout::Resize(const CCaptureData& capture, DrawingSize client) {
    SetClientSize(client);
    CountFrameLines(capture);
    // A frame page begins with a whole line: the top record may no longer start one with the
    // new columns (nor after a switch from continuous display).
    if (display_.mode == DisplayMode::Frame) {
        if (const auto line = RecordToLine(capture, top_)) {
            top_ = line->record;
        }
    }
}

void ViewLayout::Relayout(const CCaptureData& capture, const DisplayState& display,
                          DrawingSize client) {
    if (capture.header().recordWidth == 0) {
        controlLines_ = false;
    }
    setDisplay(display);
    Resize(capture, client);
    totalLines_ = TotalLines(capture);
}

} // namespace varnolt
