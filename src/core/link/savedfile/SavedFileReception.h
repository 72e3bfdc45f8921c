#pragma once

#include "core/link/savedfile/SaveChoice.h"
#include "core/link/savedfile/StoredFileDownload.h"
#include "core/link/savedfile/StoredFileEntry.h"
#include "core/link/savedfile/StoredFileListExchange.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace varnolt {

class CMoniterComm;
class UserPrompt;

// What the saved-file dialog ("データ受信") decides, without the widgets: the list of the
// analyzer's stored files, the download of the selected ones into capture files, the status
// text, the progress, and every message. The transfers run as state machines: the dialog
// calls Poll() from its event loop while running() and shows the state after each call (and
// whenever the change callback fires); Cancel() is seen by the next Poll().
//
// Messages go through PROMPT; the overwrite question through QUESTION. All calls on the
// user-interface thread.
class SavedFileReception {
public:
    // The download buffer: one file at a time, from its first word.
    static constexpr size_t kBufferWords = 1'000'000;
    // Words per step of the progress bar; the bar's range is the listed size times 16.
    static constexpr size_t kProgressStepWords = 2048;
    static constexpr int32_t kProgressStepsPerSizeUnit = 16;

    // How a transfer ended; a download's result decides the message after the last file.
    enum class Result : int32_t {
        None = 0,
        Cancelled = 1,
        TimedOut = 2,
        WriteFailed = 3, // reported when it happened; the next file is still fetched
        VersionRefused = 4,
        TooLarge = 5,
        Complete = 10,
    };

    SavedFileReception(CMoniterComm& link, UserPrompt& prompt, OverwriteQuestion& question);
    SavedFileReception(const SavedFileReception&) = delete;
    SavedFileReception& operator=(const SavedFileReception&) = delete;

    // Called after every change of what the dialog shows, before any message box.
    void setOnChange(std::function<void()> onChange) { onChange_ = std::move(onChange); }

    // Opening the dialog: enters remote mode when the link is not in it (without messages of
    // the link). False, after "アナライザーが接続されていないか、電源が入っていません", when
    // the analyzer does not answer: the dialog closes without a list.
    [[nodiscard]] bool Open();
    // Starts the list request.
    void RequestList();
    // "受信" after the folder was chosen: fetches the rows SELECTED (indexes into rows(), in
    // list order whatever their order here) into FOLDER, asking before each existing file.
    void Receive(const std::filesystem::path& folder, std::vector<size_t> selected);
    // "キャンセル": while a transfer runs it is asked to stop (false); otherwise the dialog
    // closes (true).
    [[nodiscard]] bool Cancel();
    // One look at the link for the running transfer; false once nothing runs.
    bool Poll();

    [[nodiscard]] const std::vector<StoredFileRow>& rows() const { return rows_; }
    [[nodiscard]] const std::string& statusText() const { return status_; }
    [[nodiscard]] bool running() const { return running_; }
    // "受信" is disabled while a transfer runs.
    [[nodiscard]] bool receiveEnabled() const { return !running_; }
    [[nodiscard]] int32_t progressMaximum() const { return progressMaximum_; }
    [[nodiscard]] int32_t progressPosition() const { return progressPosition_; }
    // The result of the last download of the last "受信".
    [[nodiscard]] Result lastResult() const { return lastResult_; }

private:
    enum class Phase { Idle, Listing, Downloading };

    void pollList();
    void pollDownload();
    void endList(bool timedOut);
    // Starts the next selected file that is to be fetched, or ends the "受信".
    void nextFile();
    void beginDownload(const StoredFileRow& row, const std::filesystem::path& path,
                       const std::string& stem);
    // Ends the running download with RESULT and goes on (or stops) as the result says.
    void endDownload(Result result);
    void finishReceive();
    void cancelTransfer();
    void setStatus(std::string text);
    void changed();

    CMoniterComm& link_;
    UserPrompt& prompt_;
    OverwriteQuestion& question_;
    std::function<void()> onChange_;
    std::vector<uint16_t> buffer_;
    StoredFileListExchange list_;
    StoredFileDownload download_;

    Phase phase_ = Phase::Idle;
    bool running_ = false;
    bool cancelRequested_ = false;
    std::vector<StoredFileRow> rows_;
    std::string status_;
    int32_t progressMaximum_ = 0;
    int32_t progressPosition_ = 0;

    // One "受信".
    std::filesystem::path folder_;
    std::vector<StoredFileRow> pending_;
    size_t nextPending_ = 0;
    SaveChoice remembered_ = SaveChoice::Cancel; // or OverwriteAll / SkipAll
    std::filesystem::path target_;
    Result lastResult_ = Result::None;
    std::string writeFailure_; // the report of the latest failed write
};

} // namespace varnolt
