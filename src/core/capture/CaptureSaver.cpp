#include "core/capture/CaptureSaver.h"

#include "core/capture/CCaptureData.h"
#include "core/capture/CaptureFileWriter.h"
#include "core/capture/SaveMessages.h"
#include "core/platform/BinaryWriter.h"
#include "core/platform/UserPrompt.h"

#include <optional>
#include <system_error>

namespace varnolt {

namespace {

// Whether STORE can give the words of ORDER's range: inside the ring in use and, before the
// ring has wrapped, no further than the newest record (the entries beyond were never written).
bool SaveRangeHeld(const CCaptureData& store, const SaveOrder& order) {
    const RingIndex first = order.first;
    const RingIndex last = order.last;
    if (first < 0 || first >= store.capacity() || last < kNoRecord || last >= store.capacity()) {
        return false;
    }
    return store.wrapped() || last < 0 || (first <= last && last <= store.lastIndex());
}

// Writes JOB into a file of a free name, which appears only once complete; the file-error
// message when that fails.
std::optional<std::string> WriteSaveFile(const SaveJob& job) {
    const std::filesystem::path path = FreeSaveFilePath(job.name);
    const FileError error = WriteBinaryFile(
        path, [&job](BinaryWriter& out) { WriteCapture(out, job.headerWords, job.words); });
    if (error == FileError::None) {
        return std::nullopt;
    }
    return FileErrorMessage(error, path);
}

} // namespace

CaptureSaver::CaptureSaver(LocalTimeSource localTime)
    : localTime_(std::move(localTime)), writer_(WriteSaveFile) {
}

CaptureSaver::~CaptureSaver() {
    WaitIdle();
}

bool CaptureSaver::Submit(const CCaptureData& store, const SaveOrder& order) {
    if (folder_.empty() || !SaveRangeHeld(store, order)) {
        return false;
    }
    SaveJob job{order,
                SaveFileName(folder_, order.kind, localTime_()),
                EncodeCaptureHeader(store.header(), displayMode_),
                {}};
    const RecordCount records = SaveRecordCount(order.first, order.last, store.capacity());
    {
        const std::lock_guard lock(mutex_);
        if (queue_.size() + kept_.size() >= kMaxWaitingSaves) {
            errors_.push_back(kept_.empty() ? RefusedSaveMessage(job.name, records)
                                            : RefusedWhileKeptMessage(job.name, records));
            return false;
        }
    }
    store.CopyWords(order.source, order.first, records, job.words);
    {
        const std::lock_guard lock(mutex_);
        queue_.push_back(std::move(job));
    }
    StartWorker();
    return true;
}

void CaptureSaver::RetryUnwritten() {
    StartWorker();
}

void CaptureSaver::StartWorker() {
    bool startWorker = false;
    {
        const std::lock_guard lock(mutex_);
        // Kept files are older than anything queued: they go first, into the folder set now.
        while (!kept_.empty()) {
            SaveJob& job = kept_.back();
            job.name = folder_ / job.name.filename();
            queue_.push_front(std::move(job));
            kept_.pop_back();
        }
        if (queue_.empty()) {
            return;
        }
        busy_.store(true, std::memory_order_release);
        startWorker = !running_;
        running_ = true;
    }
    if (startWorker) {
        // The previous worker has found the queue empty and is ending, if it has not ended.
        if (worker_.joinable()) {
            worker_.join();
        }
        try {
            worker_ = std::thread([this] { Run(); });
        } catch (const std::system_error&) {
            Run(); // no thread to be had: write the files now rather than lose them
        }
    }
}

void CaptureSaver::Run() {
    for (;;) {
        SaveJob job;
        {
            const std::lock_guard lock(mutex_);
            if (queue_.empty()) {
                running_ = false;
                busy_.store(false, std::memory_order_release);
                return;
            }
            job = std::move(queue_.front());
            queue_.pop_front();
            writing_ = true;
        }
        const bool folderThere = IsSaveFolder(job.name.parent_path());
        std::optional<std::string> error = folderThere ? writer_(job) : std::nullopt;
        const std::lock_guard lock(mutex_);
        writing_ = false;
        if (folderThere && !error) {
            folderGoneTold_ = false;
        } else {
            Keep(std::move(job), error);
        }
    }
}

void CaptureSaver::Keep(SaveJob job, const std::optional<std::string>& error) {
    if (!error) {
        if (!folderGoneTold_) {
            errors_.push_back(FolderGoneMessage(job.name.parent_path()));
            folderGoneTold_ = true;
        }
    } else if (!job.writeErrorReported) {
        errors_.push_back(
            KeptAfterErrorMessage(*error, static_cast<RecordCount>(job.words.size())));
        job.writeErrorReported = true;
    }
    kept_.push_back(std::move(job));
}

UnwrittenSaves CaptureSaver::unwritten() {
    const std::lock_guard lock(mutex_);
    UnwrittenSaves unwritten;
    for (const SaveJob& job : kept_) {
        ++unwritten.files;
        unwritten.records += static_cast<RecordCount>(job.words.size());
    }
    return unwritten;
}

size_t CaptureSaver::pending() {
    const std::lock_guard lock(mutex_);
    return queue_.size() + (writing_ ? 1 : 0);
}

size_t CaptureSaver::Abandon() {
    const std::lock_guard lock(mutex_);
    const size_t dropped = queue_.size() + kept_.size();
    queue_.clear();
    kept_.clear();
    return dropped;
}

void CaptureSaver::WaitIdle() {
    // Only this thread queues jobs, so the worker ends once it has written the last one.
    if (worker_.joinable()) {
        worker_.join();
    }
}

std::vector<std::string> CaptureSaver::TakeSaveErrors() {
    std::vector<std::string> taken;
    bool idle = false;
    {
        const std::lock_guard lock(mutex_);
        taken.swap(errors_);
        idle = !running_;
    }
    if (idle) {
        WaitIdle(); // a worker that has ended is joined at once
    }
    return taken;
}

void CaptureSaver::ReportSaveErrors(UserPrompt& prompt) {
    for (const std::string& message : TakeSaveErrors()) {
        prompt.message(message, kAppCaption, PromptIcon::Warning);
    }
}

} // namespace varnolt
