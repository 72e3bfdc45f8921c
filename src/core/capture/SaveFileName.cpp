#include "core/capture/SaveFileName.h"

#include <array>
#include <string>

namespace varnolt {

namespace {

// Whether anything, even a dangling link, is named PATH. A name that cannot be examined counts
// as free: creating it fails in turn and is reported as a file error.
bool Taken(const std::filesystem::path& path) {
    std::error_code error;
    const auto status = std::filesystem::symlink_status(path, error);
    return !error && status.type() != std::filesystem::file_type::not_found;
}

} // namespace

std::tm CurrentLocalTime() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local;
}

bool IsSaveFolder(const std::filesystem::path& folder) {
    std::error_code error;
    return !folder.empty() && std::filesystem::is_directory(folder, error);
}

std::filesystem::path SaveFileName(const std::filesystem::path& folder, SaveKind kind,
                                   const std::tm& time) {
    std::array<char, 32> stamp{};
    const size_t length = std::strftime(stamp.data(), stamp.size(), "%Y%m%d_%H%M%S.tvd", &time);
    std::string name(kind == SaveKind::Automatic ? kAutoSavePrefix : kTriggerSavePrefix);
    name.append(stamp.data(), length);
    return folder / name;
}

std::filesystem::path FreeSaveFilePath(const std::filesystem::path& name) {
    if (!Taken(name)) {
        return name;
    }
    const std::filesystem::path stem = name.parent_path() / name.stem();
    const std::string extension = name.extension().string();
    for (int suffix = 2;; ++suffix) {
        std::filesystem::path candidate = stem;
        candidate += "_";
        candidate += std::to_string(suffix);
        candidate += extension;
        if (!Taken(candidate)) {
            return candidate;
        }
    }
}

} // namespace varnolt
