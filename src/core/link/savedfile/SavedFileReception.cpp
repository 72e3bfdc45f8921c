#include "core/link/savedfile/SavedFileReception.h"

#include "core/capture/CaptureFileFormat.h"
#include "core/link/protocol/CMoniterComm.h"
#include "core/link/protocol/LinkMessages.h"
#include "core/link/savedfile/ReceivedCaptureFile.h"
#include "core/link/savedfile/ReceivedFileName.h"
#include "core/link/savedfile/SavedFileMessages.h"
#include "core/platform/UserPrompt.h"

#include <algorithm>
#include <system_error>

namespace varnolt {

namespace {

// Passes the report of a failed write on to the user and keeps its text for the status line.
class WriteFailureReport final : public UserPrompt {
public:
    explicit WriteFailureReport(UserPrompt& prompt) : prompt_(prompt) {}

    void message(std::string_view text, std::string_view caption, PromptIcon icon) override {
        text_ = text;
        prompt_.message(text, caption, icon);
    }
    [[nodiscard]] PromptAnswer ask(std::string_view text, std::string_view caption,
                                   PromptButtons buttons, PromptIcon icon) override {
        return prompt_.ask(text, caption, buttons, icon);
    }
    [[nodiscard]] const std::string& text() const { return text_; }

private:
    UserPrompt& prompt_;
    std::string text_;
};

} // namespace

SavedFileReception::SavedFileReception(CMoniterComm& link, UserPrompt& prompt,
                                       OverwriteQuestion& question)
    : link_(link), prompt_(prompt), question_(question), buffer_(kBufferWords), list_(link),
      download_(link, buffer_), status_(kSelectDataStatus) {
}

void SavedFileReception::changed() {
    if (onChange_) {
        onChange_();
    }
}

void SavedFileReception::setStatus(std::string text) {
    status_ = std::move(text);
    changed();
}

bool SavedFileReception::Open() {
    running_ = false;
    cancelRequested_ = false;
    if (link_.remoteMode() != 1 && !link_.SetRemote(nullptr, 1)) {
        prompt_.message(kAnalyzerAbsentMessage, kConfirmCaption, PromptIcon::Warning);
        return false;
    }
    return true;
}

void SavedFileReception::RequestList() {
    if (running_) {
        return;
    }
    rows_.clear();
    running_ = true;
    cancelRequested_ = false;
    phase_ = Phase::Listing;
    list_.Begin();
    changed();
}

void SavedFileReception::Receive(const std::filesystem::path& folder,
                                 std::vector<size_t> selected) {
    if (running_) {
        return;
    }
    std::sort(selected.begin(), selected.end());
    selected.erase(std::unique(selected.begin(), selected.end()), selected.end());
    pending_.clear();
    for (const size_t row : selected) {
        if (row < rows_.size()) {
            pending_.push_back(rows_[row]);
        }
    }
    folder_ = folder;
    nextPending_ = 0;
    remembered_ = SaveChoice::Cancel;
    lastResult_ = Result::None;
    // The bar of the previous "受信" does not stand over the questions and skips of this one.
    progressMaximum_ = 0;
    progressPosition_ = 0;
    changed();
    phase_ = Phase::Downloading;
    nextFile();
}

bool SavedFileReception::Cancel() {
    if (running_) {
        cancelRequested_ = true;
        return false;
    }
    return true;
}

bool SavedFileReception::Poll() {
    if (!running_) {
        return false;
    }
    if (phase_ == Phase::Listing) {
        pollList();
    } else if (phase_ == Phase::Downloading) {
        pollDownload();
    }
    return running_;
}

void SavedFileReception::cancelTransfer() {
    cancelRequested_ = false;
    link_.SendFrame("ESC", FrameChecksum::Without);
}

void SavedFileReception::pollList() {
    if (cancelRequested_) {
        cancelTransfer();
        running_ = false;
        phase_ = Phase::Idle;
        setStatus(std::string(kCancelledMessage));
        prompt_.message(kCancelledMessage, kConfirmCaption, PromptIcon::Warning);
        return;
    }
    const size_t listed = rows_.size();
    switch (list_.Poll(rows_)) {
    case StoredFileListExchange::Step::Running:
        if (rows_.size() != listed) {
            changed();
        }
        return;
    case StoredFileListExchange::Step::Complete:
        endList(false);
        return;
    case StoredFileListExchange::Step::TimedOut:
        endList(true);
        return;
    }
}

void SavedFileReception::endList(bool timedOut) {
    running_ = false;
    phase_ = Phase::Idle;
    if (!timedOut) {
        changed();
        return;
    }
    link_.SendFrame("ESC", FrameChecksum::Without);
    setStatus(std::string(kCancelledMessage));
    prompt_.message(kTimeoutMessage, kConfirmCaption, PromptIcon::Warning);
}

void SavedFileReception::nextFile() {
    while (nextPending_ < pending_.size()) {
        const StoredFileRow& row = pending_[nextPending_++];
        const std::string stem = ReceivedFileStem(row.name, DecimalPrefix(row.number));
        const std::filesystem::path path = ReceivedFilePath(folder_, stem);
        std::error_code ignored;
        if (std::filesystem::exists(path, ignored)) {
            if (remembered_ == SaveChoice::SkipAll) {
                continue;
            }
            if (remembered_ != SaveChoice::OverwriteAll) {
                const SaveChoice choice =
                    question_.Ask(kOverwriteQuestion, std::string(kFileNameLinePrefix) + stem);
                if (choice == SaveChoice::OverwriteAll || choice == SaveChoice::SkipAll) {
                    remembered_ = choice;
                }
                if (choice != SaveChoice::Overwrite && choice != SaveChoice::OverwriteAll) {
                    continue;
                }
            }
        }
        beginDownload(row, path, stem);
        return;
    }
    finishReceive();
}

void SavedFileReception::beginDownload(const StoredFileRow& row, const std::filesystem::path& path,
                                       const std::string& stem) {
    target_ = path;
    progressMaximum_ = std::max(DecimalPrefix(row.size), 0) * kProgressStepsPerSizeUnit;
    progressPosition_ = 0;
    setStatus(stem + std::string(kReadingSuffix));
    running_ = true;
    cancelRequested_ = false;
    status_ = kReceivingStatus;
    download_.Begin(DecimalPrefix(row.number));
    changed();
}

void SavedFileReception::pollDownload() {
    if (cancelRequested_) {
        cancelTransfer();
        endDownload(Result::Cancelled);
        return;
    }
    switch (download_.Poll()) {
    case StoredFileDownload::Step::Running: {
        const auto position = std::min<int64_t>(
            static_cast<int64_t>(download_.receivedWords() / kProgressStepWords) + 1,
            progressMaximum_);
        if (download_.receivedWords() > 0 && position != progressPosition_) {
            progressPosition_ = static_cast<int32_t>(position);
            changed();
        }
        return;
    }
    case StoredFileDownload::Step::TimedOut:
        link_.SendFrame("ESC", FrameChecksum::Without);
        endDownload(Result::TimedOut);
        return;
    case StoredFileDownload::Step::TooLarge:
        link_.SendFrame("ESC", FrameChecksum::Without);
        endDownload(Result::TooLarge);
        return;
    case StoredFileDownload::Step::Complete:
        break;
    }
    const std::span<const uint16_t> file = download_.received();
    if (!IsReceivableFile(file)) {
        endDownload(Result::VersionRefused);
        return;
    }
    WriteFailureReport report(prompt_);
    if (!WriteReceivedCapture(target_, file, report)) {
        writeFailure_ = report.text();
        endDownload(Result::WriteFailed);
        return;
    }
    progressPosition_ = progressMaximum_;
    endDownload(Result::Complete);
}

void SavedFileReception::endDownload(Result result) {
    lastResult_ = result;
    running_ = false;
    changed();
    if (result == Result::Complete || result == Result::WriteFailed) {
        nextFile();
    } else {
        finishReceive();
    }
}

void SavedFileReception::finishReceive() {
    phase_ = Phase::Idle;
    running_ = false;
    std::string_view message;
    // The status the analyzer's own tool shows after a stop; a refusal of ours says why.
    std::string_view status = kCancelledMessage;
    switch (lastResult_) {
    case Result::Cancelled:
        message = kCancelledMessage;
        break;
    case Result::TimedOut:
        message = kTimeoutMessage;
        break;
    case Result::VersionRefused:
        message = kFileVersionMessage;
        break;
    case Result::TooLarge:
        message = status = kFileTooLargeMessage;
        break;
    case Result::Complete:
        setStatus(std::string(kReceiveCompleteMessage));
        prompt_.message(kReceiveCompleteMessage, kConfirmCaption, PromptIcon::Warning);
        return;
    case Result::WriteFailed:
        // Reported when it happened; the status no longer says "受信中".
        setStatus(writeFailure_);
        return;
    case Result::None:
        changed();
        return;
    }
    setStatus(std::string(status));
    prompt_.message(message, kConfirmCaption, PromptIcon::Warning);
}

} // namespace varnolt
