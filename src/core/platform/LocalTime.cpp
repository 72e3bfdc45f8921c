#include "core/platform/LocalTime.h"

#include <chrono>
#include <ctime>
#include <sys/stat.h>

namespace varnolt {

std::optional<EpochSeconds> FileModificationTime(const std::filesystem::path& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        return std::nullopt;
    }
    return static_cast<EpochSeconds>(status.st_mtime);
}

EpochSeconds CurrentEpochSeconds() {
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

int32_t LocalUtcOffset(EpochSeconds at) {
    const auto time = static_cast<std::time_t>(at);
    std::tm local{};
    if (::localtime_r(&time, &local) == nullptr) {
        return 0;
    }
    return static_cast<int32_t>(local.tm_gmtoff);
}

} // namespace varnolt
