#pragma once

#include <chrono>
#include <string_view>
#include <thread>

namespace varnolt {

class Clock;
class D2xxApi;
class ReceiveRing;
class UserPrompt;

// Called by an exchange while its answer has not (completely) arrived, between two looks at
// the receive ring. The program rests briefly; tests let the simulated time pass here once the
// virtual analyzer has nothing more in flight.
class AnswerWait {
public:
    AnswerWait() = default;
    AnswerWait(const AnswerWait&) = delete;
    AnswerWait& operator=(const AnswerWait&) = delete;
    virtual ~AnswerWait() = default;

    virtual void waitForAnswer() = 0;
};

// Rests a tenth of a millisecond: far below the bridge's 5 ms latency, far above a busy loop.
class PollingAnswerWait final : public AnswerWait {
public:
    void waitForAnswer() override { std::this_thread::sleep_for(std::chrono::microseconds(100)); }
};

// The wait cursor shown for the whole of an exchange.
class WaitCursor {
public:
    WaitCursor() = default;
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
    virtual ~WaitCursor() = default;

    virtual void show() = 0;
    virtual void hide() = 0;
};

// For programs without a window.
class NoWaitCursor final : public WaitCursor {
public:
    void show() override {}
    void hide() override {}
};

// Shows CURSOR for the lifetime of the scope.
class WaitCursorScope {
public:
    explicit WaitCursorScope(WaitCursor& cursor) : cursor_(cursor) { cursor_.show(); }
    WaitCursorScope(const WaitCursorScope&) = delete;
    WaitCursorScope& operator=(const WaitCursorScope&) = delete;
    ~WaitCursorScope() { cursor_.hide(); }

private:
    WaitCursor& cursor_;
};

// The progress status bar a settings transfer reports to (text and percentage).
class SettingsProgress {
public:
    SettingsProgress() = default;
    SettingsProgress(const SettingsProgress&) = delete;
    SettingsProgress& operator=(const SettingsProgress&) = delete;
    virtual ~SettingsProgress() = default;

    virtual void showText(std::string_view text) = 0;
    virtual void setProgress(int percent) = 0;
};

// What the analyzer link is given: the bridge calls, the message boxes of the port, the tick
// count, the rest between looks at the ring, the wait cursor, and the receive ring (the
// process-wide one when null).
struct LinkServices {
    D2xxApi& api;
    UserPrompt& prompt;
    const Clock& clock;
    AnswerWait& answerWait;
    WaitCursor& waitCursor;
    ReceiveRing* ring = nullptr;
};

} // namespace varnolt
