#pragma once

#include "core/link/port/RingLineBuffer.h"
#include "core/link/protocol/CMoniterComm.h"
#include "core/link/screencapture/ScreenImage.h"

#include <cstdint>
#include <string_view>

namespace varnolt {

class Pump;
class UserPrompt;

// What the screen-capture dialog shows while a capture runs.
class ScreenCaptureDisplay {
public:
    ScreenCaptureDisplay() = default;
    ScreenCaptureDisplay(const ScreenCaptureDisplay&) = delete;
    ScreenCaptureDisplay& operator=(const ScreenCaptureDisplay&) = delete;
    virtual ~ScreenCaptureDisplay() = default;

    virtual void showStatus(std::string_view text) = 0;
    // A capture completed: the image is to be drawn (and kept) from image().
    virtual void showImage() = 0;
};

// How a capture ended.
enum class CaptureOutcome {
    Complete,     // the image arrived and was drawn
    NotConnected, // the port did not open; the dialog closes
    TimedOut,     // 4000 ms without a complete line
    Cancelled,    // "戻る" during the capture; "ESC" went to the analyzer
};

// The screen capture of the "画面キャプチャ" dialog, without the widgets: it asks the analyzer
// for its display with "CP", acknowledges every "CP" line with "ACK" until "CE" (or enough
// pixels) ends the image, and reports its progress to DISPLAY and its failures to OWNER. It
// owns a link of its own, which reads the lines itself from the receive ring.
//
// Run blocks the calling (user-interface) thread until the capture ends; PUMP runs before every
// pass, so the window repaints and "戻る" reaches RequestCancel meanwhile.
class ScreenCapture {
public:
    static constexpr size_t kLineBufferBytes = 10'000;
    static constexpr uint32_t kLineBudgetMs = 4000;

    ScreenCapture(const LinkServices& services, UserPrompt& owner, Pump& pump,
                  ScreenCaptureDisplay& display);
    ScreenCapture(const ScreenCapture&) = delete;
    ScreenCapture& operator=(const ScreenCapture&) = delete;

    // "キャプチャ": one capture, from pixel 0, to its end. Not while one runs.
    CaptureOutcome Run();
    // "戻る" during a capture: the capture ends with "ESC" at its next pass.
    void RequestCancel() { cancelRequested_ = true; }
    // "戻る" while no capture runs: lets the port go before the dialog closes.
    void Close();

    [[nodiscard]] bool running() const { return running_; }
    [[nodiscard]] const ScreenImage& image() const { return image_; }
    [[nodiscard]] CMoniterComm& link() { return link_; }

private:
    enum State : int {
        kOpen = 0,
        kClearInput = 1,
        kAnnounce = 2,
        kRequest = 3,
        kReceive = 4,
        kDraw = 5,
        kTimeout = 900,
        kCancel = 910,
        kEnd = -1,
    };

    State step(State state);
    State receive();
    void acknowledge();
    void write(std::string_view frameText);

    CMoniterComm link_;
    UserPrompt& owner_;
    Pump& pump_;
    ScreenCaptureDisplay& display_;
    ScreenImage image_;
    RingLineBuffer line_{kLineBufferBytes};
    int32_t pixelCounter_ = 0;
    bool running_ = false;
    bool cancelRequested_ = false;
    uint32_t answerStart_ = 0;
    CaptureOutcome outcome_ = CaptureOutcome::Complete;
};

} // namespace varnolt
