#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace varnolt {

// Per-user configuration values by section and key (the registry on Windows, QSettings here).
class ConfigStore {
public:
    ConfigStore() = default;
    ConfigStore(const ConfigStore&) = delete;
    ConfigStore& operator=(const ConfigStore&) = delete;
    virtual ~ConfigStore() = default;

    // The stored value, or FALLBACK when the key is missing or not a number.
    [[nodiscard]] virtual int32_t readInt(std::string_view section, std::string_view key,
                                          int32_t fallback) const = 0;
    [[nodiscard]] virtual std::string readString(std::string_view section, std::string_view key,
                                                 std::string_view fallback) const = 0;
    virtual void writeInt(std::string_view section, std::string_view key, int32_t value) = 0;
    virtual void writeString(std::string_view section, std::string_view key,
                             std::string_view value) = 0;
    // Puts the values written so far into lasting storage now, whole or not at all, so that a
    // crash later loses none of them. A store in memory has nothing to do.
    virtual void Flush() {}
};

} // namespace varnolt
