#include "core/link/savedfile/ReceivedFileName.h"

#include "core/link/protocol/HexFormat.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace varnolt {

namespace {

constexpr char kReplacement = '_';
// U+FFFD, what an undecodable byte of the analyzer's text became.
constexpr std::string_view kUndecodable = "\xEF\xBF\xBD";

bool IsBlank(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

bool IsForbidden(char c) {
    const auto byte = static_cast<uint8_t>(c);
    return byte < 0x20 || byte == 0x7F ||
           std::string_view("<>:\"/\\|?*").find(c) != std::string_view::npos;
}

// Names that Windows opens as devices whatever follows their first '.'.
bool IsDeviceName(std::string_view stem) {
    static constexpr std::array<std::string_view, 4> kPlain{"CON", "PRN", "AUX", "NUL"};
    std::string upper(stem.substr(0, stem.find('.')));
    while (!upper.empty() && IsBlank(upper.back())) {
        upper.pop_back();
    }
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](char c) { return static_cast<char>(std::toupper(static_cast<uint8_t>(c))); });
    if (std::find(kPlain.begin(), kPlain.end(), upper) != kPlain.end()) {
        return true;
    }
    return upper.size() == 4 && (upper.starts_with("COM") || upper.starts_with("LPT")) &&
           upper[3] >= '1' && upper[3] <= '9';
}

} // namespace

std::string ReceivedFileStem(std::string_view shownName, int32_t number) {
    while (!shownName.empty() && IsBlank(shownName.front())) {
        shownName.remove_prefix(1);
    }
    while (!shownName.empty() && IsBlank(shownName.back())) {
        shownName.remove_suffix(1);
    }
    if (shownName.empty()) {
        return FormatDecimal4(number);
    }
    std::string stem;
    for (size_t at = 0; at < shownName.size();) {
        if (shownName.substr(at).starts_with(kUndecodable)) {
            stem += kReplacement;
            at += kUndecodable.size();
            continue;
        }
        const char c = shownName[at++];
        stem += IsForbidden(c) ? kReplacement : c;
    }
    for (size_t dots = stem.find(".."); dots != std::string::npos; dots = stem.find("..")) {
        stem.replace(dots, 2, 2, kReplacement);
    }
    if (stem.front() == '.') {
        stem.front() = kReplacement;
    }
    if (IsDeviceName(stem)) {
        stem.insert(stem.begin(), kReplacement);
    }
    return stem;
}

std::filesystem::path ReceivedFilePath(const std::filesystem::path& folder, std::string_view stem) {
    const std::string name = std::string(stem) + ".tvd";
    return folder / std::filesystem::path(std::u8string(name.begin(), name.end()));
}

} // namespace varnolt
