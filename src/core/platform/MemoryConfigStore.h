#pragma once

#include "core/platform/ConfigStore.h"

#include <map>
#include <string>
#include <utility>

namespace varnolt {

// Configuration kept in memory: the store of tests and of headless programs.
class MemoryConfigStore final : public ConfigStore {
public:
    [[nodiscard]] int32_t readInt(std::string_view section, std::string_view key,
                                  int32_t fallback) const override;
    [[nodiscard]] std::string readString(std::string_view section, std::string_view key,
                                         std::string_view fallback) const override;
    void writeInt(std::string_view section, std::string_view key, int32_t value) override;
    void writeString(std::string_view section, std::string_view key,
                     std::string_view value) override;

    // Whether a value was ever written under SECTION/KEY.
    [[nodiscard]] bool contains(std::string_view section, std::string_view key) const;

private:
    using Key = std::pair<std::string, std::string>;
    std::map<Key, std::string, std::less<>> values_;
};

} // namespace varnolt
