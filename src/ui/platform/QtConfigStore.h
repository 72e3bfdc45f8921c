#pragma once

#include "core/platform/ConfigStore.h"

#include <QSettings>

namespace varnolt::ui {

// Per-user values in QSettings("TavrixVRN", "Varnolt"): the registry on Windows, an ini file
// under the user's configuration folder on Linux.
class QtConfigStore final : public ConfigStore {
public:
    QtConfigStore();
    // A store in an ini file of its own (tests).
    explicit QtConfigStore(const QString& iniPath);

    [[nodiscard]] int32_t readInt(std::string_view section, std::string_view key,
                                  int32_t fallback) const override;
    [[nodiscard]] std::string readString(std::string_view section, std::string_view key,
                                         std::string_view fallback) const override;
    void writeInt(std::string_view section, std::string_view key, int32_t value) override;
    void writeString(std::string_view section, std::string_view key,
                     std::string_view value) override;

    // QSettings writes its file through a temporary file that replaces it once complete.
    void Flush() override { settings_.sync(); }

private:
    mutable QSettings settings_;
};

} // namespace varnolt::ui
