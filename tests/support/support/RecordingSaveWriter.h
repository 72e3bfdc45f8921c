#pragma once

#include "core/capture/CaptureSaver.h"

#include <memory>
#include <mutex>
#include <optional>
#include <vector>

namespace varnolt::testing {

// Takes the place of a saver's file writer and keeps the order of every job instead of
// writing a file, so a test sees exactly what a save was asked to write. Read the orders after
// the saver's WaitIdle; the writer may outlive this object.
class RecordingSaveWriter {
public:
    explicit RecordingSaveWriter(CaptureSaver& saver) {
        saver.setFileWriter([orders = orders_](const SaveJob& job) -> std::optional<std::string> {
            const std::lock_guard lock(orders->mutex);
            orders->taken.push_back(job.order);
            return std::nullopt;
        });
    }

    [[nodiscard]] std::vector<SaveOrder> orders() const {
        const std::lock_guard lock(orders_->mutex);
        return orders_->taken;
    }

private:
    struct Orders {
        std::mutex mutex;
        std::vector<SaveOrder> taken;
    };
    std::shared_ptr<Orders> orders_ = std::make_shared<Orders>();
};

} // namespace varnolt::testing
