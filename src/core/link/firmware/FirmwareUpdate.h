#pragma once

#include "core/link/firmware/FirmwareFile.h"
#include "core/link/port/RingLineBuffer.h"
#include "core/link/protocol/CMoniterComm.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace varnolt {

class Pump;
class UserPrompt;

// What the firmware-update dialog's controls show.
struct FirmwareControls {
    std::string path;   // the chosen file, "未選択" before one is chosen
    std::string status; // the status text
    int32_t progressMax = 0;
    int32_t progress = 0;
    bool recovery = false; // the check box for an analyzer that no longer starts
    bool updateEnabled = false;
    bool fileChoiceEnabled = true;
    bool recoveryEnabled = true;
    bool cancelEnabled = true;
    std::string cancelCaption;
};

// Shows the controls whenever the update changed them.
class FirmwareUpdateView {
public:
    FirmwareUpdateView() = default;
    FirmwareUpdateView(const FirmwareUpdateView&) = delete;
    FirmwareUpdateView& operator=(const FirmwareUpdateView&) = delete;
    virtual ~FirmwareUpdateView() = default;

    virtual void showControls(const FirmwareControls& controls) = 0;
};

enum class UpdateOutcome {
    NotStarted, // nothing was sent: no file, a file refused, or the user declined
    Done,       // the analyzer took the program and re-initialises
    Failed,     // an error-coded failure; the analyzer stays in its loader
    Cancelled,  // "キャンセル" during the update
};

// The firmware update of the "ファームウェア更新" dialog, without the widgets: it checks the
// chosen file completely, stops the analyzer's program ("WSTOP") or waits for a power cycle,
// sends the records to the loader line by line and in batches, lets the analyzer write its
// memory and re-initialises it ("INI"). Every message goes to OWNER, every change of the
// controls to VIEW. It owns a link of its own and reads the loader's replies itself.
//
// Update blocks the calling (user-interface) thread until the update ends; PUMP runs before
// every pass, so the window repaints and "キャンセル" reaches Cancel meanwhile.
class FirmwareUpdate {
public:
    static constexpr size_t kReplyBufferBytes = 4352;
    static constexpr uint32_t kReplyBudgetMs = 5000;
    // Progress steps: one per this many bytes of the file.
    static constexpr int32_t kBytesPerProgressStep = 250;

    FirmwareUpdate(const LinkServices& services, UserPrompt& owner, Pump& pump,
                   FirmwareUpdateView& view);
    FirmwareUpdate(const FirmwareUpdate&) = delete;
    FirmwareUpdate& operator=(const FirmwareUpdate&) = delete;

    // The dialog starts: the check box clear, the port opened. False (after the not-connected
    // message) when the analyzer is absent: the dialog closes.
    bool Start();
    // The open-file dialog ended with PATH (UTF-8).
    void FileChosen(std::string_view path);
    void SetRecovery(bool on);
    // "更新": the whole update, to its end.
    UpdateOutcome Update();
    // "キャンセル": during an update, asks it to stop (only where the button is enabled) and
    // returns false; otherwise lets the port go and returns true: the dialog closes.
    bool Cancel();

    [[nodiscard]] const FirmwareControls& controls() const { return controls_; }
    [[nodiscard]] bool busy() const { return busy_; }
    // The code of the last failure ("100" … "10D"), empty when there was none.
    [[nodiscard]] const std::string& errorCode() const { return errorCode_; }
    [[nodiscard]] CMoniterComm& link() { return link_; }

private:
    enum State : int {
        kReadFile = 0,
        kConfirm = 1,
        kOpenForVersion = 2,
        kCompareVersion = 3,
        kAnnounceRestart = 4,
        kStopProgram = 5,
        kAskPowerCycle = 10,
        kWaitForBridge = 11,
        kPrepareTransfer = 20,
        kWaitForLoader = 21,
        kAnnounceTransfer = 22,
        kTransferAnnounced = 23,
        kNextRecord = 30,
        kSendRecord = 31,
        kRecordSent = 32,
        kMarkReached = 33,
        kNextBatch = 40,
        kSendBatch = 41,
        kBatchSent = 42,
        kEndTransfer = 43,
        kTransferEnded = 44,
        kCloseFile = 45,
        kStartWrite = 50,
        kWaitForWrite = 51,
        kInitialise = 52,
        kInitialiseSent = 53,
        kFinished = 54,
        kFileError = 900,
        kTimeout = 901,
        kWriteError = 902,
        kInitialiseTimeout = 903,
        kCancel = 910,
        kEnd = -1,
    };

    // What a wait for a loader reply found.
    enum class Reply { None, Ack, Other, TimedOut };

    // What a step that waits for the loader's "ACK" does with the reply: go on to ACK; after
    // a refusal send again from RESEND, failing with REFUSEDCODE past the retries; after 5000
    // ms of silence likewise (or at once) with SILENTCODE.
    struct ReplyRule {
        State ack;
        State resend;
        std::string_view refusedCode;
        State refusedFailure;
        std::string_view silentCode;
        State silentFailure;
        bool resendAfterSilence;
    };

    State step(State state);
    State onReply(State waiting, const ReplyRule& rule);
    State transferStep(State state);
    State writeStep(State state);
    State failureStep(State state);
    bool readFile();
    Reply awaitReply();
    [[nodiscard]] bool replyIs(std::string_view letters) const;
    [[nodiscard]] bool budgetSpent();
    // Discards the pending input, empties the reply buffer, writes BYTES, starts the budget.
    void send(std::string_view text);
    void send(std::span<const uint8_t> bytes);
    // A failure with CODE in STATE once ATTEMPTS passed LIMIT, else RETRY.
    State retryOrFail(int limit, std::string_view code, State failure, State retry);
    State fail(std::string_view code, State failure);
    void closePort();
    void setStatus(std::string_view text);
    void changed();
    void rest();

    CMoniterComm link_;
    UserPrompt& owner_;
    Pump& pump_;
    FirmwareUpdateView& view_;
    FirmwareControls controls_;
    bool busy_ = false;
    bool cancelRequested_ = false;

    std::vector<uint8_t> file_;
    FirmwareFileReader reader_{file_};
    std::string version_;
    std::string line_;
    RingLineBuffer reply_{kReplyBufferBytes};
    int attempts_ = 0;
    bool endOfFile_ = false;
    int32_t batches_ = 0;
    std::string errorCode_;
    uint32_t replyStart_ = 0;
    UpdateOutcome outcome_ = UpdateOutcome::NotStarted;
};

} // namespace varnolt
