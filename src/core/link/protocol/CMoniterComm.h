#pragma once

#include "core/link/port/CFtdiPort.h"
#include "core/link/protocol/AnswerCode.h"
#include "core/link/protocol/LinkServices.h"
#include "core/link/protocol/LinkState.h"
#include "core/link/protocol/RequestFrame.h"

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace varnolt {

class CCaptureData;
class CSaParameter;
class UserPrompt;

// The analyzer's command/answer protocol over the USB port: builds request frames, collects
// answers from the receive ring and classifies them, and runs each exchange with its time
// budget, retries and messages. Keeps the connection state (remote mode, run state).
//
// Exchanges take the message boxes of their owner window as OWNER; a null OWNER shows none.
// All calls run on the user-interface thread and block it until they end.
class CMoniterComm {
public:
    static constexpr int32_t kAnswerAreaBytes = 150'000;
    static constexpr uint32_t kAnswerBudgetMs = 2000;
    // Repetitions of a failed request: a request is sent at most limit + 1 times.
    static constexpr int kRetryLimit = 3;
    static constexpr int kLongRetryLimit = 6;

    // Run states.
    static constexpr int32_t kRunning = 10;
    static constexpr int32_t kStopped = 11;
    // Pages the analyzer reports: the power-on screen, page 15, anything else.
    static constexpr int32_t kPowerOnPage = 10;
    static constexpr int32_t kPage15 = 15;
    static constexpr int32_t kOtherPage = 20;

    explicit CMoniterComm(const LinkServices& services);
    CMoniterComm(const CMoniterComm&) = delete;
    CMoniterComm& operator=(const CMoniterComm&) = delete;
    ~CMoniterComm();

    // Collects what the ring holds into the answer area and says what the answer is so far.
    [[nodiscard]] AnswerCode ReadAnswer();

    // The exchanges. Each opens the port when it is closed, flushes, sends its request and
    // waits for the answer, repeating the request after a refusal, a garbled answer or a
    // time-out; past the retry limit it shows "アナライザーとの通信に失敗しました".
    bool SetRemote(UserPrompt* owner, uint8_t mode);
    // Silent: no message, no wait cursor. TEXT gets the answer's version with every space and
    // '.' turned into '0' ("1.02  " gives "100200").
    bool GetProgramVersion(std::string& text);
    bool GetFormatVersion(std::string& text);
    // On success page() is 10, 15, or 20 for any other page.
    bool GetPage(UserPrompt* owner);
    bool SetRunState(UserPrompt* owner, int32_t value);
    // The amount of stored online data, or −1.
    [[nodiscard]] int32_t GetStoredAmount(UserPrompt* owner);
    // Resets counter N (0..3); the counter's value the analyzer answers with, or −1.
    [[nodiscard]] int64_t ResetCounter(UserPrompt* owner, int32_t counter);
    // Asks for the short settings ("SRG" before a live measurement, "SRF" before a download)
    // and decodes them into the capture header of STORE.
    bool ReadSettings(UserPrompt* owner, CCaptureData& store, bool live);
    // Reads the 27 settings blocks into TARGET, which changes only when every block arrived:
    // after a failure TARGET is as it was. PROGRESS (may be null)
    // shows "書込中" and the progress from 5 to 106.
    bool ReadExtSettings(UserPrompt* owner, CSaParameter& target, SettingsProgress* progress);
    // Writes SOURCE to the analyzer in 27 blocks; each is repeated up to six times.
    bool WriteExtSettings(UserPrompt* owner, const CSaParameter& source,
                          SettingsProgress* progress);

    // One-way frames: sent without waiting; the caller reads any answer itself.
    void SendNext();       // "BN"
    void SendRepeat();     // "BR"
    void SendStatusPoll(); // "BL"
    // "GL000000" + ER + RS, each '1' when its stored state is 1 and '2' otherwise.
    void SendLineOutputs(int32_t erState, int32_t rsState);
    void SendTransmit(int32_t entry); // "GT" + the entry as four hex digits
    void RequestFile(int32_t number); // "FR" + the number as four decimal digits
    // Any other frame: TEXT, its checksum when asked for, the terminator.
    void SendFrame(std::string_view text, FrameChecksum checksum);

    // The answer collected so far.
    [[nodiscard]] std::span<const uint8_t> answer() const;
    [[nodiscard]] int32_t answerLength() const { return answerLength_; }
    // Starts a new answer: the next one is collected from its first byte.
    void resetAnswer() { answerLength_ = 0; }
    // Starts the time budget of an answer that a one-way frame asked for.
    void startAnswerBudget(uint32_t budgetMs);

    [[nodiscard]] int32_t page() const { return page_; }

    // ---- State -------------------------------------------------------------------------------
    // The link state, the run state, the remote mode and the busy flag change only through
    // ChangeState (the setters and the remote-mode exchanges use it), which tells the condition
    // listener when condition() changed: the main frame then refreshes its commands, toolbar
    // and status bar, whatever caused the change (a command, the poll, the analyzer's own stop).
    [[nodiscard]] LinkState linkState() const { return linkState_; }
    void setLinkState(LinkState state);
    [[nodiscard]] uint8_t remoteMode() const { return remoteMode_; }
    [[nodiscard]] int32_t runState() const { return runState_; }
    void setRunStateValue(int32_t state);
    // Set by the frame around a modal analyzer operation, so that the poll leaves the link
    // alone; setting it withdraws an earlier cancel request.
    [[nodiscard]] bool busy() const { return busy_; }
    void setBusy(bool busy);
    [[nodiscard]] LinkCondition condition() const;
    // LISTENER (may be empty) is called on the user-interface thread after each change of
    // condition().
    void setConditionListener(std::function<void()> listener) { listener_ = std::move(listener); }

    // Asks the running modal operation (a download) to end as a cancel by the user; it looks
    // at cancelRequested() between its steps.
    void RequestCancel() { cancelRequested_ = true; }
    [[nodiscard]] bool cancelRequested() const { return cancelRequested_; }
    [[nodiscard]] CFtdiPort& port() { return port_; }
    [[nodiscard]] const LinkServices& services() const { return services_; }

private:
    // One exchange of the table: the request, the answers that end it and how they are
    // checked, the retry limit, and whether it reports anything to the user.
    struct Exchange {
        std::vector<uint8_t> frame;
        AnswerCode expected = AnswerCode::Ack;
        AnswerCode alsoExpected = AnswerCode::Ack;
        bool checksummedAnswer = false;
        int retryLimit = kRetryLimit;
        bool silent = false;
        // Further checks of a complete answer (payload present and readable); false counts as
        // a failed attempt. May keep what it reads.
        std::function<bool(std::span<const uint8_t>)> accept;
    };

    // Runs EXCHANGE to its end: true when an expected answer passed its checks.
    bool exchange(UserPrompt* owner, const Exchange& exchange);
    bool ensureOpen(UserPrompt* owner, bool silent);
    bool queryVersion(std::string_view command, size_t digits, std::string& text);
    void setRemoteMode(uint8_t mode);
    // The one place the state changes: applies CHANGE, then tells the listener when the
    // condition differs from before.
    template <typename Change>
    void ChangeState(Change&& change);

    LinkServices services_;
    int32_t page_ = 0;
    bool busy_ = false;
    bool cancelRequested_ = false;
    std::function<void()> listener_;
    std::vector<uint8_t> answer_;
    LinkState linkState_ = LinkState::NotConnected;
    CFtdiPort port_;
    int32_t answerLength_ = 0;
    uint8_t remoteMode_ = 0;
    int32_t runState_ = 0;
    uint32_t answerStart_ = 0;
    uint32_t answerBudget_ = kAnswerBudgetMs;
};

} // namespace varnolt
