#include "core/platform/MemoryConfigStore.h"

#include <charconv>

namespace varnolt {

namespace {

std::pair<std::string, std::string> MakeKey(std::string_view section, std::string_view key) {
    return {std::string(section), std::string(key)};
}

} // namespace

int32_t MemoryConfigStore::readInt(std::string_view section, std::string_view key,
                                   int32_t fallback) const {
    const auto found = values_.find(MakeKey(section, key));
    if (found == values_.end()) {
        return fallback;
    }
    const std::string& text = found->second;
    int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() ? value : fallback;
}

std::string MemoryConfigStore::readString(std::string_view section, std::string_view key,
                                          std::string_view fallback) const {
    const auto found = values_.find(MakeKey(section, key));
    return found == values_.end() ? std::string(fallback) : found->second;
}

void MemoryConfigStore::writeInt(std::string_view section, std::string_view key, int32_t value) {
    values_[MakeKey(section, key)] = std::to_string(value);
}

void MemoryConfigStore::writeString(std::string_view section, std::string_view key,
                                    std::string_view value) {
    values_[MakeKey(section, key)] = std::string(value);
}

bool MemoryConfigStore::contains(std::string_view section, std::string_view key) const {
    return values_.contains(MakeKey(section, key));
}

} // namespace varnolt
