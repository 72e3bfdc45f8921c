#pragma once

#include "core/settings/listing/SettingsListing.h"

#include <string>
#include <vector>

namespace varnolt {

// A setting that two listings give different values.
struct SettingDifference {
    std::string name;
    std::string first;
    std::string second;
};

// The settings of FIRST and SECOND (two listings of the same layout) whose values differ, in
// listing order.
[[nodiscard]] std::vector<SettingDifference> DiffSettings(const std::vector<SettingLine>& first,
                                                          const std::vector<SettingLine>& second);

// "name: value" lines.
[[nodiscard]] std::string SettingsText(const std::vector<SettingLine>& lines);
// One JSON object: {"name": "value", ...}.
[[nodiscard]] std::string SettingsJson(const std::vector<SettingLine>& lines);
// "name: first -> second" lines.
[[nodiscard]] std::string DifferencesText(const std::vector<SettingDifference>& differences);
// One JSON object: {"name": ["first", "second"], ...}.
[[nodiscard]] std::string DifferencesJson(const std::vector<SettingDifference>& differences);

} // namespace varnolt
