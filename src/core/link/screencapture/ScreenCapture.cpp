#include "core/link/screencapture/ScreenCapture.h"

#include "core/link/protocol/LinkMessages.h"
#include "core/link/protocol/RequestFrame.h"
#include "core/link/screencapture/CaptureLine.h"
#include "core/link/screencapture/ScreenCaptureTexts.h"
#include "core/platform/Clock.h"
#include "core/platform/Pump.h"
#include "core/platform/UserPrompt.h"

namespace varnolt {

ScreenCapture::ScreenCapture(const LinkServices& services, UserPrompt& owner, Pump& pump,
                             ScreenCaptureDisplay& display)
    : link_(services), owner_(owner), pump_(pump), display_(display),
      image_(static_cast<size_t>(kScreenPixels)) {
}

void ScreenCapture::Close() {
    if (link_.port().isOpen()) {
        link_.port().Close();
    }
}

CaptureOutcome ScreenCapture::Run() {
    if (running_) {
        return CaptureOutcome::Cancelled;
    }
    running_ = true;
    cancelRequested_ = false;
    pixelCounter_ = 0;
    State state = kOpen;
    while (state != kEnd) {
        pump_.pump();
        if (cancelRequested_ && state < kTimeout) {
            cancelRequested_ = false;
            state = kCancel;
        }
        state = step(state);
    }
    running_ = false;
    Close();
    return outcome_;
}

ScreenCapture::State ScreenCapture::step(State state) {
    ReceiveRing& ring = link_.port().ring();
    switch (state) {
    case kOpen:
        if (!link_.port().Open()) {
            owner_.message(AnalyzerAbsentMessage(link_.port().accessRefused()), kConfirmCaption,
                           PromptIcon::Warning);
            outcome_ = CaptureOutcome::NotConnected;
            return kEnd;
        }
        display_.showStatus(kCaptureKeepHandsOffText);
        return kClearInput;
    case kClearInput:
        DiscardInput(ring);
        line_.clear();
        return kAnnounce;
    case kAnnounce:
        display_.showStatus(kCaptureRunningText);
        DiscardInput(ring);
        return kRequest;
    case kRequest:
        DiscardInput(ring);
        line_.clear();
        write("CP");
        answerStart_ = link_.services().clock.tickMs();
        return kReceive;
    case kReceive:
        return receive();
    case kDraw:
        display_.showImage();
        display_.showStatus(kCaptureDoneText);
        outcome_ = CaptureOutcome::Complete;
        return kEnd;
    case kTimeout:
        display_.showStatus(kCaptureCancelledText);
        owner_.message(kCaptureTimeoutMessage, kConfirmCaption, PromptIcon::Warning);
        outcome_ = CaptureOutcome::TimedOut;
        return kEnd;
    case kCancel:
        write("ESC");
        display_.showStatus(kCaptureCancelledText);
        owner_.message(kCaptureCancelledText, kConfirmCaption, PromptIcon::Warning);
        outcome_ = CaptureOutcome::Cancelled;
        return kEnd;
    case kEnd:
        break;
    }
    return kEnd;
}

ScreenCapture::State ScreenCapture::receive() {
    const LineRead read = line_.collect(link_.port().ring());
    if (read == LineRead::Complete) {
        switch (ClassifyCaptureLine(line_.line())) {
        case CaptureLineKind::Pixels:
            DecodeCaptureLine(line_.line(), image_, pixelCounter_);
            acknowledge();
            if (pixelCounter_ > kScreenPixelLimit) {
                return kDraw;
            }
            return kReceive;
        case CaptureLineKind::End:
            acknowledge();
            return kDraw;
        case CaptureLineKind::Other:
            // Left in the buffer: the lines behind it are not taken, and the time budget
            // ends the capture.
            break;
        }
    }
    // An overlong line (LineRead::Overflow) is dropped unacknowledged; it counts as a line
    // that never came.
    const uint32_t now = link_.services().clock.tickMs();
    if (now < answerStart_) {
        answerStart_ = now; // the tick count wrapped
    }
    if (now - answerStart_ > kLineBudgetMs) {
        return kTimeout;
    }
    link_.services().answerWait.waitForAnswer();
    return kReceive;
}

void ScreenCapture::acknowledge() {
    // The analyzer sends one line per "ACK": whatever else waits already is a line that
    // reached the PC twice, and taking it would shift the picture by a row.
    DiscardInput(link_.port().ring());
    write("ACK");
    answerStart_ = link_.services().clock.tickMs();
    line_.clear();
}

void ScreenCapture::write(std::string_view frameText) {
    link_.port().Write(BuildFrame(frameText, FrameChecksum::Without));
}

} // namespace varnolt
