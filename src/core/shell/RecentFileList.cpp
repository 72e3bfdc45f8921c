#include "core/shell/RecentFileList.h"

#include "core/platform/ConfigStore.h"
#include "core/platform/FileError.h"

#include <algorithm>

namespace varnolt {

namespace {

constexpr const char* kSection = "Recent File List";

std::string KeyOf(size_t index) {
    return "File" + std::to_string(index + 1);
}

} // namespace

void RecentFileList::read(const ConfigStore& store) {
    entries_.clear();
    for (size_t i = 0; i < kMaxEntries; ++i) {
        std::string entry = store.readString(kSection, KeyOf(i), "");
        if (!entry.empty()) {
            entries_.push_back(std::move(entry));
        }
    }
}

void RecentFileList::write(ConfigStore& store) const {
    for (size_t i = 0; i < kMaxEntries; ++i) {
        store.writeString(kSection, KeyOf(i), i < entries_.size() ? entries_[i] : "");
    }
}

void RecentFileList::add(const std::filesystem::path& path) {
    const std::string entry = PathText(std::filesystem::absolute(path).lexically_normal());
    std::erase(entries_, entry);
    entries_.insert(entries_.begin(), entry);
    if (entries_.size() > kMaxEntries) {
        entries_.resize(kMaxEntries);
    }
}

void RecentFileList::remove(const std::filesystem::path& path) {
    std::erase(entries_, PathText(std::filesystem::absolute(path).lexically_normal()));
}

} // namespace varnolt
