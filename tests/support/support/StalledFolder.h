#pragma once

#include "core/capture/CaptureSaver.h"

#include <condition_variable>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace varnolt::testing {

// A saver's file writer that holds every file until released, as a hung network share would.
// WaitUntilWriting() returns once the saver thread has taken its first file, so a test knows
// which saves are being written and which still wait. Read WRITTEN after the saver's WaitIdle.
class StalledFolder {
public:
    SaveFileWriter writer() {
        return [this](const SaveJob& job) -> std::optional<std::string> {
            std::unique_lock lock(mutex_);
            entered_ = true;
            changed_.notify_all();
            changed_.wait(lock, [this] { return released_; });
            written.push_back(job.words.size());
            return std::nullopt;
        };
    }
    void WaitUntilWriting() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return entered_; });
    }
    void Release() {
        const std::lock_guard lock(mutex_);
        released_ = true;
        changed_.notify_all();
    }

    std::vector<size_t> written; // words of each file, once released

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool entered_ = false;
    bool released_ = false;
};

} // namespace varnolt::testing
