#include "core/link/firmware/FirmwareUpdate.h"

#include "core/link/firmware/FirmwareTexts.h"
#include "core/link/protocol/LinkMessages.h"
#include "core/link/protocol/RequestFrame.h"
#include "core/platform/Clock.h"
#include "core/platform/Pump.h"
#include "core/platform/UserPrompt.h"

#include <algorithm>

namespace varnolt {

namespace {

// Refusals and silences tolerated before a step fails; INI is refused up to ten times.
constexpr int kReplyRetries = 3;
constexpr int kInitialiseRefusals = 10;

constexpr uint8_t kLineFeed = 0x0A;
constexpr uint8_t kVerticalTab = 0x0B;

std::filesystem::path PathFromUtf8(std::string_view text) {
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

} // namespace

FirmwareUpdate::FirmwareUpdate(const LinkServices& services, UserPrompt& owner, Pump& pump,
                               FirmwareUpdateView& view)
    : link_(services), owner_(owner), pump_(pump), view_(view) {
    controls_.path = kNoFileText;
    controls_.status = kChooseFirmwareText;
    controls_.cancelCaption = kCancelCaption;
}

bool FirmwareUpdate::Start() {
    controls_.recovery = false;
    changed();
    if (!link_.port().Open()) {
        owner_.message(AnalyzerAbsentMessage(link_.port().accessRefused()), kConfirmCaption,
                       PromptIcon::Warning);
        return false;
    }
    return true;
}

void FirmwareUpdate::FileChosen(std::string_view path) {
    controls_.path = path;
    controls_.status = kReadyToUpdateText;
    controls_.updateEnabled = true;
    changed();
}

void FirmwareUpdate::SetRecovery(bool on) {
    controls_.recovery = on;
}

bool FirmwareUpdate::Cancel() {
    if (busy_) {
        if (controls_.cancelEnabled) {
            cancelRequested_ = true;
        }
        return false;
    }
    closePort();
    return true;
}

UpdateOutcome FirmwareUpdate::Update() {
    if (busy_) {
        return UpdateOutcome::NotStarted;
    }
    if (controls_.path.empty() || controls_.path == kNoFileText) {
        owner_.message(kNoFileChosenMessage, kConfirmCaption, PromptIcon::Warning);
        return UpdateOutcome::NotStarted;
    }
    busy_ = true;
    cancelRequested_ = false;
    errorCode_.clear();
    attempts_ = 0;
    endOfFile_ = false;
    batches_ = 0;
    outcome_ = UpdateOutcome::NotStarted;
    controls_.updateEnabled = false;
    controls_.fileChoiceEnabled = false;
    controls_.recoveryEnabled = false;
    changed();

    State state = kReadFile;
    while (state != kEnd) {
        pump_.pump();
        if (cancelRequested_ && state < kFileError) {
            cancelRequested_ = false;
            state = kCancel;
        }
        state = step(state);
    }

    controls_.cancelEnabled = true;
    if (outcome_ == UpdateOutcome::NotStarted) {
        // Nothing reached the analyzer: another file or another try is up to the user.
        controls_.updateEnabled = true;
        controls_.fileChoiceEnabled = true;
        controls_.recoveryEnabled = true;
    }
    busy_ = false;
    changed();
    return outcome_;
}

FirmwareUpdate::State FirmwareUpdate::step(State state) {
    switch (state) {
    case kReadFile:
        return readFile() ? kConfirm : kEnd;
    case kConfirm:
        if (owner_.ask(kUpdateQuestion, kConfirmCaption, PromptButtons::OkCancel,
                       PromptIcon::Information) != PromptAnswer::Ok) {
            return kEnd;
        }
        setStatus(kPreparingText);
        return controls_.recovery ? kAskPowerCycle : kOpenForVersion;
    case kOpenForVersion:
        if (!link_.port().isOpen()) {
            link_.port().Open();
        }
        return kCompareVersion;
    case kCompareVersion: {
        controls_.cancelEnabled = false;
        changed();
        std::string analyzerVersion;
        link_.GetProgramVersion(analyzerVersion);
        closePort();
        controls_.cancelEnabled = true;
        changed();
        if (analyzerVersion == version_ &&
            owner_.ask(kSameVersionQuestion, kConfirmCaption, PromptButtons::OkCancel,
                       PromptIcon::Information) != PromptAnswer::Ok) {
            return kEnd;
        }
        return kAnnounceRestart;
    }
    case kAnnounceRestart:
        setStatus(kRestartingText);
        return kStopProgram;
    case kStopProgram:
        if (!link_.port().Open()) {
            rest();
            return kStopProgram;
        }
        send(BuildFrame("WSTOP", FrameChecksum::Without));
        return kPrepareTransfer;
    case kAskPowerCycle:
        closePort();
        owner_.message(kPowerCycleMessage, kConfirmCaption, PromptIcon::Warning);
        setStatus(kWaitingForRestartText);
        return kWaitForBridge;
    case kWaitForBridge:
        if (!link_.port().IsAttached()) {
            rest();
            return kWaitForBridge;
        }
        link_.port().Open();
        reply_.clear();
        return kPrepareTransfer;
    default:
        break;
    }
    if (state >= kFileError) {
        return failureStep(state);
    }
    if (state >= kStartWrite) {
        return writeStep(state);
    }
    return transferStep(state);
}

bool FirmwareUpdate::readFile() {
    if (!LoadFirmwareFile(PathFromUtf8(controls_.path), file_)) {
        owner_.message(kCannotOpenFileMessage, kConfirmCaption, PromptIcon::Warning);
        return false;
    }
    // The whole file is checked before the analyzer hears of it: a damaged file must never
    // leave the analyzer stopped in its loader.
    const FirmwareFileCheck check = CheckFirmwareFile(file_);
    if (!check.ok()) {
        // Nothing was sent and nobody cancelled: the status says the file was refused.
        setStatus(kBadFileMessage);
        owner_.message(std::string(kBadFileMessage) + "\n" + DescribeFirmwareProblem(check.problem),
                       kConfirmCaption, PromptIcon::Warning);
        return false;
    }
    version_ = check.version;
    reader_ = FirmwareFileReader(file_);
    return true;
}

FirmwareUpdate::State FirmwareUpdate::transferStep(State state) {
    switch (state) {
    case kPrepareTransfer:
        controls_.progressMax = static_cast<int32_t>(file_.size() / kBytesPerProgressStep);
        controls_.progress = 0;
        changed();
        return kWaitForLoader;
    case kWaitForLoader: {
        // The analyzer went away (a power cycle that came late): wait for its bridge again.
        if (!link_.port().isOpen() || link_.port().deviceLost()) {
            closePort();
            return kWaitForBridge;
        }
        const LineRead read = reply_.collect(link_.port().ring());
        if (read == LineRead::Complete && replyIs("POW")) {
            attempts_ = 0;
            setStatus(kTransferringText);
            return kAnnounceTransfer;
        }
        if (read != LineRead::Waiting) {
            DiscardInput(link_.port().ring());
            reply_.clear();
        } else {
            rest();
        }
        return kWaitForLoader;
    }
    case kAnnounceTransfer:
        send("XWPD\n");
        return kTransferAnnounced;
    case kTransferAnnounced: {
        const State next = onReply(
            state, {kNextRecord, kAnnounceTransfer, "100", kFileError, "101", kTimeout, false});
        if (next == kNextRecord) {
            FirmwareProblem problem;
            reader_.ReadVersion(version_, problem); // the records follow the version
        }
        return next;
    }
    case kNextRecord: {
        FirmwareRecord record;
        FirmwareProblem problem;
        if (reader_.Next(record, problem) != FirmwareFileReader::Step::Record) {
            return fail("102", kFileError);
        }
        if (record.isMark()) {
            return kMarkReached;
        }
        line_.clear();
        AppendRecordText(line_, record, kLineFeed);
        attempts_ = 0;
        return kSendRecord;
    }
    case kSendRecord:
        send(line_);
        return kRecordSent;
    case kRecordSent:
        return onReply(state, {endOfFile_ ? kMarkReached : kNextRecord, kSendRecord, "103",
                               kFileError, "104", kTimeout, true});
    case kMarkReached:
        return kNextBatch;
    case kNextBatch: {
        line_.clear();
        int32_t records = 0;
        while (records < kRecordsPerBatch) {
            FirmwareRecord record;
            FirmwareProblem problem;
            const FirmwareFileReader::Step next = reader_.Next(record, problem);
            if (next == FirmwareFileReader::Step::Problem) {
                return fail("102", kFileError);
            }
            if (next == FirmwareFileReader::Step::End) {
                endOfFile_ = true;
                break;
            }
            AppendRecordText(line_, record, kVerticalTab);
            ++records;
        }
        if (records == 0 && endOfFile_) {
            return kEndTransfer;
        }
        line_ += static_cast<char>(kLineFeed);
        attempts_ = 0;
        ++batches_;
        return kSendBatch;
    }
    case kSendBatch:
        send(line_);
        controls_.progress = batches_;
        changed();
        return kBatchSent;
    case kBatchSent:
        return onReply(state, {endOfFile_ ? kEndTransfer : kMarkReached, kSendBatch, "105",
                               kFileError, "106", kTimeout, true});
    case kEndTransfer:
        send("XEND\n");
        return kTransferEnded;
    case kTransferEnded:
        return onReply(state, {kCloseFile, kEndTransfer, "107", kTimeout, "108", kTimeout, true});
    case kCloseFile:
        return kStartWrite;
    default:
        break;
    }
    return kEnd;
}

FirmwareUpdate::State FirmwareUpdate::writeStep(State state) {
    switch (state) {
    case kStartWrite:
        controls_.cancelEnabled = false;
        setStatus(kWritingText);
        DiscardInput(link_.port().ring());
        reply_.clear();
        return kWaitForWrite;
    case kWaitForWrite: {
        const LineRead read = reply_.collect(link_.port().ring());
        if (read == LineRead::Waiting) {
            // The write has no time limit, but an analyzer that went away never reports.
            if (link_.port().deviceLost()) {
                return fail("10A", kTimeout);
            }
            rest();
            return kWaitForWrite;
        }
        if (read == LineRead::Complete && replyIs("UP_")) {
            send("ACK\n");
            attempts_ = 0;
            return kInitialise;
        }
        if (read == LineRead::Complete && replyIs("W_E")) {
            send("ACK\n");
            return fail("109", kWriteError);
        }
        send("NAK\n");
        return retryOrFail(kReplyRetries, "10A", kTimeout, kStartWrite);
    }
    case kInitialise:
        DiscardInput(link_.port().ring());
        link_.resetAnswer();
        link_.SendFrame("INI", FrameChecksum::Without);
        link_.startAnswerBudget(kReplyBudgetMs);
        return kInitialiseSent;
    case kInitialiseSent:
        switch (link_.ReadAnswer()) {
        case AnswerCode::Ack:
            return kFinished;
        case AnswerCode::Incomplete:
            rest();
            return kInitialiseSent;
        case AnswerCode::Timeout:
            return retryOrFail(kReplyRetries, "10D", kInitialiseTimeout, kInitialise);
        default:
            return retryOrFail(kInitialiseRefusals, "10C", kInitialiseTimeout, kInitialise);
        }
    case kFinished:
        closePort();
        controls_.updateEnabled = false;
        controls_.fileChoiceEnabled = false;
        controls_.cancelCaption = kFinishCaption;
        setStatus(kUpdateFinishedText);
        owner_.message(kUpdateDoneMessage, kConfirmCaption, PromptIcon::Information);
        outcome_ = UpdateOutcome::Done;
        return kEnd;
    default:
        break;
    }
    return kEnd;
}

FirmwareUpdate::State FirmwareUpdate::failureStep(State state) {
    closePort();
    controls_.progress = batches_;
    std::string message;
    switch (state) {
    case kFileError:
        outcome_ = UpdateOutcome::Failed;
        setStatus(kUpdateCancelledText);
        message = std::string(kBadFileMessage) + " " + errorCode_;
        break;
    case kTimeout:
    case kInitialiseTimeout:
        outcome_ = UpdateOutcome::Failed;
        setStatus(kUpdateCancelledText);
        message = std::string(kUpdateTimeoutMessage) + " " + errorCode_;
        break;
    case kWriteError:
        outcome_ = UpdateOutcome::Failed;
        setStatus(kWriteFailedText);
        message = std::string(kWriteFailedMessage) + " " + errorCode_;
        break;
    default:
        setStatus(kUpdateCancelledText);
        message = kUpdateCancelledMessage;
        outcome_ = UpdateOutcome::Cancelled;
        break;
    }
    owner_.message(message, kConfirmCaption, PromptIcon::Warning);
    return kEnd;
}

FirmwareUpdate::State FirmwareUpdate::onReply(State waiting, const ReplyRule& rule) {
    switch (awaitReply()) {
    case Reply::Ack:
        return rule.ack;
    case Reply::Other:
        return retryOrFail(kReplyRetries, rule.refusedCode, rule.refusedFailure, rule.resend);
    case Reply::TimedOut:
        return rule.resendAfterSilence
                   ? retryOrFail(kReplyRetries, rule.silentCode, rule.silentFailure, rule.resend)
                   : fail(rule.silentCode, rule.silentFailure);
    case Reply::None:
        break;
    }
    return waiting;
}

FirmwareUpdate::Reply FirmwareUpdate::awaitReply() {
    const LineRead read = reply_.collect(link_.port().ring());
    if (read == LineRead::Complete) {
        return replyIs("ACK") ? Reply::Ack : Reply::Other;
    }
    if (read == LineRead::Overflow) {
        return Reply::Other; // a reply longer than the buffer is a refusal
    }
    if (budgetSpent()) {
        return Reply::TimedOut;
    }
    rest();
    return Reply::None;
}

bool FirmwareUpdate::replyIs(std::string_view letters) const {
    const std::span<const uint8_t> reply = reply_.line();
    return reply.size() >= letters.size() &&
           std::equal(letters.begin(), letters.end(), reply.begin());
}

bool FirmwareUpdate::budgetSpent() {
    const uint32_t now = link_.services().clock.tickMs();
    if (now < replyStart_) {
        replyStart_ = now; // the tick count wrapped
    }
    return now - replyStart_ > kReplyBudgetMs;
}

void FirmwareUpdate::send(std::string_view text) {
    send(std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}

void FirmwareUpdate::send(std::span<const uint8_t> bytes) {
    DiscardInput(link_.port().ring());
    reply_.clear();
    link_.port().Write(bytes);
    replyStart_ = link_.services().clock.tickMs();
}

FirmwareUpdate::State FirmwareUpdate::retryOrFail(int limit, std::string_view code, State failure,
                                                  State retry) {
    if (++attempts_ > limit) {
        return fail(code, failure);
    }
    return retry;
}

FirmwareUpdate::State FirmwareUpdate::fail(std::string_view code, State failure) {
    errorCode_ = code;
    return failure;
}

void FirmwareUpdate::closePort() {
    if (link_.port().isOpen()) {
        link_.port().Close();
    }
}

void FirmwareUpdate::setStatus(std::string_view text) {
    controls_.status = text;
    changed();
}

void FirmwareUpdate::changed() {
    view_.showControls(controls_);
}

void FirmwareUpdate::rest() {
    link_.services().answerWait.waitForAnswer();
}

} // namespace varnolt
