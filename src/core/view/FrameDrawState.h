#pragma once

#include "core/view/FrameLineWalker.h"
#include "core/view/ViewTypes.h"

namespace varnolt {

// The frame-display line state of a page drawing at its end: where the current frame line
// stands. Live drawing hands it from one received block to the next, so that a line can go on
// across blocks; every other drawing starts afresh.
struct FrameDrawState {
    FrameLineWalker walker{0, {}};
    LineNumber lineNumber = 0; // of the current frame line
    PageLine pageLine = 0;     // where the current frame line began
    bool inLine = false;       // a frame line has begun
    bool lineOpen = false;     // a record has been placed on the current page line
    bool labelDrawn = false;   // the current frame line has its row label
    bool idleFilled = false;   // its idle cells hold an idle value
    bool timeFilled = false;   // its time cells hold a stamp
};

} // namespace varnolt
