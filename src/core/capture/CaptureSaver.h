#pragma once

#include "core/capture/CCaptureData.h"
#include "core/capture/CaptureFileFormat.h"
#include "core/capture/RecordWord.h"
#include "core/capture/SaveFileName.h"

#include <atomic>
#include <deque>
#include <filesystem>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace varnolt {

class CCaptureData;
class UserPrompt;

// One capture file to write. It carries its own copy of the header words and record words,
// taken when the save was requested, so nothing that reception, a reset or a file load does to
// the store afterwards changes what the file holds.
struct SaveJob {
    SaveOrder order;            // what was asked for
    std::filesystem::path name; // before any suffix that keeps it apart from an existing file
    CaptureHeaderWords headerWords{};
    std::vector<RecordWord> words;
    bool writeErrorReported = false; // its file error has been told once already
};

// Files that could not be written and are kept to be written later.
struct UnwrittenSaves {
    size_t files = 0;
    RecordCount records = 0;
};

// Writes one save job into its file; the file-error message when that fails. Called on the
// worker thread.
using SaveFileWriter = std::function<std::optional<std::string>(const SaveJob&)>;

// The background save of automatic and trigger saving: writes capture files on a worker
// thread, one at a time and in the order they were requested. A request that arrives while
// files are being written waits its turn, up to kMaxWaitingSaves of them: a save folder that
// stalls (a hung network share) must not make every bank of a long measurement wait in memory.
// A request beyond that is refused with a message naming the file it would have written.
//
// Threads: everything except busy() is called on the user-interface thread, which alone owns
// the worker. The worker runs while files are waiting and ends when the queue is empty; the
// next request, TakeSaveErrors or the destructor joins it. Nothing here is ever detached.
//
// Errors: a file that cannot be created or written is not shown from the worker. Its message
// waits until the user-interface thread collects it with TakeSaveErrors or ReportSaveErrors;
// the reception poll does so on every tick, measuring or not. Nothing that failed is dropped:
// a file whose folder has gone or whose write failed (a full disk) is kept, with its words,
// and written before anything else by the next save (into the folder set by then), by
// RetryUnwritten, or given up with Abandon. Its error is told once; a folder that has gone is
// told once until a file is written again. Kept files count against kMaxWaitingSaves, so a
// folder that never comes back holds a bounded number of rings in memory.
class CaptureSaver {
public:
    // Files that may wait behind the one being written, those kept after failing included;
    // each holds up to one ring of words.
    static constexpr size_t kMaxWaitingSaves = 4;

    explicit CaptureSaver(LocalTimeSource localTime = CurrentLocalTime);
    CaptureSaver(const CaptureSaver&) = delete;
    CaptureSaver& operator=(const CaptureSaver&) = delete;
    // Writes whatever is still waiting, then joins the worker.
    ~CaptureSaver();

    // ---- Settings, read when a save is requested -----------------------------------------------
    // The time a file is named after; taken on the requesting thread.
    void setLocalTime(LocalTimeSource localTime) { localTime_ = std::move(localTime); }
    // The automatic-save folder. While none is set, nothing is saved.
    void setFolder(std::filesystem::path folder) { folder_ = std::move(folder); }
    [[nodiscard]] const std::filesystem::path& folder() const { return folder_; }
    // How a job becomes a file; the capture-file writer unless a test stalls it. Set before
    // the first save.
    void setFileWriter(SaveFileWriter writer) { writer_ = std::move(writer); }
    // The analyzer settings' display mode, written into header word 17.
    void setDisplayMode(int displayMode) { displayMode_ = displayMode; }

    // ---- Saving --------------------------------------------------------------------------------
    // Queues the save ORDER describes, with a copy of STORE's header and of the words ORDER
    // names, named after ORDER's kind and the local time now. Only ORDER says what to write:
    // the store keeps no save state. Files kept after failing are queued again first. Nothing
    // is saved, and nothing reported, when no folder is set, or when the range lies outside
    // the ring in use or, before the ring has wrapped, beyond its newest record. When
    // kMaxWaitingSaves files already wait, the save is refused and its message (the file and
    // the records not saved) waits for TakeSaveErrors. Returns whether the save was queued.
    bool Submit(const CCaptureData& store, const SaveOrder& order);

    // A save is queued or being written. Any thread.
    [[nodiscard]] bool busy() const { return busy_.load(std::memory_order_acquire); }
    // Files queued or being written. Any thread.
    [[nodiscard]] size_t pending();
    // Returns once every queued file has been written.
    void WaitIdle();
    // Gives up the files still waiting and those kept after failing (the one being written is
    // finished); returns how many were given up.
    size_t Abandon();
    // The files kept after failing, waiting for a save that succeeds.
    [[nodiscard]] UnwrittenSaves unwritten();
    // Writes the kept files again, into the folder set now.
    void RetryUnwritten();

    // ---- Errors --------------------------------------------------------------------------------
    // The file-error messages of saves that failed since the last call, oldest first.
    [[nodiscard]] std::vector<std::string> TakeSaveErrors();
    // Shows each message of TakeSaveErrors through PROMPT (caption "Varnolt", warning icon).
    // The messages are taken before the first is shown, so a poll that runs again while a
    // message box is open does not show them twice.
    void ReportSaveErrors(UserPrompt& prompt);

private:
    // Queues the kept files first and starts the worker when anything waits.
    void StartWorker();
    // The worker: writes queued jobs until none is left.
    void Run();
    // A job that could not be written: its message, then it is kept. Under mutex_.
    void Keep(SaveJob job, const std::optional<std::string>& error);

    LocalTimeSource localTime_;
    SaveFileWriter writer_;
    std::filesystem::path folder_;
    int displayMode_ = 0;

    std::mutex mutex_;
    std::deque<SaveJob> queue_;       // guarded by mutex_
    std::deque<SaveJob> kept_;        // guarded by mutex_: failed, oldest first
    bool folderGoneTold_ = false;     // guarded by mutex_
    std::vector<std::string> errors_; // guarded by mutex_
    bool running_ = false;            // guarded by mutex_: the worker is taking jobs
    bool writing_ = false;            // guarded by mutex_: the worker holds a job
    std::atomic<bool> busy_{false};   // changed only under mutex_
    std::thread worker_;              // user-interface thread only
};

} // namespace varnolt
