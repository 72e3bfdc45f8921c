#include "core/settings/listing/SettingsReport.h"

#include <cstdio>
#include <string_view>

namespace varnolt {

namespace {

// TEXT as a JSON string, quotes included.
std::string JsonString(std::string_view text) {
    std::string json = "\"";
    for (const char ch : text) {
        const auto code = static_cast<unsigned char>(ch);
        if (ch == '"' || ch == '\\') {
            json += '\\';
            json += ch;
        } else if (code < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04X", code);
            json += escaped;
        } else {
            json += ch;
        }
    }
    return json + "\"";
}

// {"name": VALUE, ...} with one member a line.
template <typename Items, typename Value>
std::string JsonObject(const Items& items, Value value) {
    std::string json = "{";
    for (size_t i = 0; i < items.size(); ++i) {
        json += i == 0 ? "\n  " : ",\n  ";
        json += JsonString(items[i].name) + ": " + value(items[i]);
    }
    return json + (items.empty() ? "}\n" : "\n}\n");
}

} // namespace

std::vector<SettingDifference> DiffSettings(const std::vector<SettingLine>& first,
                                            const std::vector<SettingLine>& second) {
    std::vector<SettingDifference> differences;
    for (size_t i = 0; i < first.size() && i < second.size(); ++i) {
        if (first[i].value != second[i].value) {
            differences.push_back({first[i].name, first[i].value, second[i].value});
        }
    }
    return differences;
}

std::string SettingsText(const std::vector<SettingLine>& lines) {
    std::string text;
    for (const SettingLine& line : lines) {
        text += line.name + ": " + line.value + "\n";
    }
    return text;
}

std::string SettingsJson(const std::vector<SettingLine>& lines) {
    return JsonObject(lines, [](const SettingLine& line) { return JsonString(line.value); });
}

std::string DifferencesText(const std::vector<SettingDifference>& differences) {
    std::string text;
    for (const SettingDifference& difference : differences) {
        text += difference.name + ": " + difference.first + " -> " + difference.second + "\n";
    }
    return text;
}

std::string DifferencesJson(const std::vector<SettingDifference>& differences) {
    return JsonObject(differences, [](const SettingDifference& difference) {
        return "[" + JsonString(difference.first) + ", " + JsonString(difference.second) + "]";
    });
}

} // namespace varnolt
