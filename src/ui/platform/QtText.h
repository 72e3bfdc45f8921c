#pragma once

#include <QString>

#include <string_view>

namespace varnolt::ui {

// The core's UTF-8 texts as Qt strings.
[[nodiscard]] inline QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace varnolt::ui
