#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace varnolt {

class ConfigStore;

// The most recently opened or saved capture files, newest first, kept in the configuration
// section "Recent File List" as File1 ... File4.
class RecentFileList {
public:
    static constexpr size_t kMaxEntries = 4;

    void read(const ConfigStore& store);
    void write(ConfigStore& store) const;

    // Puts PATH first, removing an older entry of the same file and the oldest beyond four.
    void add(const std::filesystem::path& path);
    void remove(const std::filesystem::path& path);

    [[nodiscard]] const std::vector<std::string>& entries() const { return entries_; }

private:
    std::vector<std::string> entries_; // UTF-8 paths
};

} // namespace varnolt
