#include "cli/FindCriteria.h"

#include "core/platform/Cp932.h"

#include <array>
#include <charconv>
#include <cstdio>
#include <string_view>

namespace varnolt::cli {

namespace {

constexpr std::array<std::string_view, 5> kErrorNames = {"PE", "FE", "PF", "BR", "OE"};

FindParseResult Refuse(std::string error) {
    return {std::nullopt, std::move(error)};
}

std::optional<int64_t> Number(std::string_view text, int base = 10) {
    int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < 0) {
        return std::nullopt;
    }
    return value;
}

std::optional<uint8_t> HexByte(std::string_view text) {
    if (text.size() != 2) {
        return std::nullopt;
    }
    const auto value = Number(text, 16);
    return value ? std::optional<uint8_t>(static_cast<uint8_t>(*value)) : std::nullopt;
}

// A slot number "0" … "3".
std::optional<uint8_t> Slot(std::string_view text) {
    if (text.size() != 1 || text[0] < '0' || text[0] > '3') {
        return std::nullopt;
    }
    return static_cast<uint8_t>(text[0] - '0');
}

// The blank-separated tokens of a pattern; a quoted text may hold blanks.
std::optional<std::vector<std::string>> Tokens(std::string_view text, std::string& error) {
    std::vector<std::string> tokens;
    size_t i = 0;
    while (i < text.size()) {
        if (text[i] == ' ' || text[i] == '\t') {
            ++i;
            continue;
        }
        size_t end = i;
        if (text[i] == '\'') {
            end = text.find('\'', i + 1);
            if (end == std::string_view::npos) {
                error = "unclosed quote in --pattern";
                return std::nullopt;
            }
            ++end;
        } else {
            while (end < text.size() && text[end] != ' ' && text[end] != '\t') {
                ++end;
            }
        }
        tokens.emplace_back(text.substr(i, end - i));
        i = end;
    }
    return tokens;
}

std::optional<std::vector<PatternElement>> PatternElements(std::string_view text,
                                                           std::string& error) {
    const auto tokens = Tokens(text, error);
    if (!tokens) {
        return std::nullopt;
    }
    std::vector<PatternElement> elements;
    for (const std::string& token : *tokens) {
        if (token.size() >= 2 && token.front() == '\'' && token.back() == '\'') {
            // Code page 932 gives half-width katakana their one-byte codes; a character it
            // cannot hold becomes a lone lead byte, refused with the two-byte ones.
            const std::string bytes = Utf8ToCp932(token.substr(1, token.size() - 2), "\x81");
            for (const char byte : bytes) {
                if (IsCp932LeadByte(static_cast<unsigned char>(byte))) {
                    error = "pattern text " + token + " holds a character that is not one byte";
                    return std::nullopt;
                }
                elements.push_back({kPatternCharacter, static_cast<uint8_t>(byte)});
            }
            continue;
        }
        if (token == "*") {
            elements.push_back({kPatternAny, 0});
            continue;
        }
        if (token.size() == 3 && token[0] == '!') {
            bool known = false;
            for (size_t code = 0; code < kErrorNames.size(); ++code) {
                if (token.substr(1) == kErrorNames[code]) {
                    elements.push_back({kPatternError, static_cast<uint8_t>(code)});
                    known = true;
                }
            }
            if (known) {
                continue;
            }
        }
        if (token.size() == 2 && (token[0] == 'm' || token[0] == 'r')) {
            if (const auto slot = Slot(token.substr(1))) {
                elements.push_back({token[0] == 'm' ? kPatternBitMask : kPatternRange, *slot});
                continue;
            }
        }
        if (const auto code = HexByte(token)) {
            elements.push_back({kPatternCharacter, *code});
            continue;
        }
        error = "pattern token '" + token + "' is not understood";
        return std::nullopt;
    }
    if (elements.size() > kMaxPatternLength) {
        error = "a pattern holds at most 128 elements";
        return std::nullopt;
    }
    return elements;
}

// "K=BBBBBBBB": bit 7 first, each 1, 0 or ?.
bool ParseMask(std::string_view text, CharacterPattern& pattern) {
    const auto slot = Slot(text.substr(0, 1));
    if (!slot || text.size() != 10 || text[1] != '=') {
        return false;
    }
    PatternBitMask mask;
    for (int b = 0; b < 8; ++b) {
        const auto bit = static_cast<uint8_t>(0x80U >> static_cast<unsigned>(b));
        switch (text[2 + static_cast<size_t>(b)]) {
        case '1':
            mask.mustBeOne |= bit;
            break;
        case '0':
            mask.mustBeZero |= bit;
            break;
        case '?':
            break;
        default:
            return false;
        }
    }
    pattern.bitMasks[*slot] = mask;
    return true;
}

// "K=LO-HI", either side possibly empty.
bool ParseRange(std::string_view text, CharacterPattern& pattern) {
    const auto slot = Slot(text.substr(0, 1));
    const size_t dash = text.find('-', 2);
    if (!slot || text.size() < 3 || text[1] != '=' || dash == std::string_view::npos) {
        return false;
    }
    PatternRange range;
    const std::string_view low = text.substr(2, dash - 2);
    const std::string_view high = text.substr(dash + 1);
    if (!low.empty()) {
        const auto value = HexByte(low);
        if (!value) {
            return false;
        }
        range.lowEnabled = 1;
        range.low = *value;
    }
    if (!high.empty()) {
        const auto value = HexByte(high);
        if (!value) {
            return false;
        }
        range.highEnabled = 1;
        range.high = *value;
    }
    pattern.ranges[*slot] = range;
    return true;
}

std::optional<uint8_t> ErrorSet(std::string_view list) {
    uint8_t set = 0;
    size_t start = 0;
    while (start <= list.size()) {
        const size_t comma = std::min(list.find(',', start), list.size());
        const std::string_view name = list.substr(start, comma - start);
        bool known = false;
        for (size_t code = 0; code < kErrorNames.size(); ++code) {
            if (name == kErrorNames[code]) {
                set = static_cast<uint8_t>(set | 1U << (7 - code));
                known = true;
            }
        }
        if (!known) {
            return std::nullopt;
        }
        start = comma + 1;
    }
    return set;
}

// "MIN-MAX" in milliseconds, either side possibly empty.
bool ParseIdle(std::string_view text, SearchCriteria& criteria) {
    const size_t dash = text.find('-');
    if (dash == std::string_view::npos) {
        return false;
    }
    const auto bound = [](std::string_view side, int32_t& target) {
        if (side.empty()) {
            target = 0;
            return true;
        }
        const auto value = Number(side);
        if (!value || *value > INT32_MAX) {
            return false;
        }
        target = static_cast<int32_t>(*value);
        return true;
    };
    return bound(text.substr(0, dash), criteria.idleLowerMs) &&
           bound(text.substr(dash + 1), criteria.idleUpperMs);
}

// "YYYY-MM-DDTHH:MM:SS".
std::optional<CalendarTime> DateTime(std::string_view text) {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
    char tail = 0;
    const std::string copy(text);
    if (text.size() != 19 || std::sscanf(copy.c_str(), "%4d-%2d-%2dT%2d:%2d:%2d%c", &year, &month,
                                         &day, &hour, &minute, &second, &tail) != 6) {
        return std::nullopt;
    }
    if (month < 1 || month > 12 || day < 1 || day > 31 || hour > 23 || minute > 59 || second > 59 ||
        year < 0 || hour < 0 || minute < 0 || second < 0) {
        return std::nullopt;
    }
    const auto field = [](int value) { return static_cast<int16_t>(value); };
    return CalendarTime{field(year),   field(month),  0, field(day), field(hour),
                        field(minute), field(second), 0};
}

bool ParseTime(std::string_view text, SearchCriteria& criteria) {
    const size_t dots = text.find("..");
    if (dots == std::string_view::npos) {
        return false;
    }
    const auto lower = DateTime(text.substr(0, dots));
    const auto upper = DateTime(text.substr(dots + 2));
    if (!lower || !upper) {
        return false;
    }
    criteria.lowerDate = criteria.lowerTime = *lower;
    criteria.upperDate = criteria.upperTime = *upper;
    return true;
}

} // namespace

FindParseResult ParseFindArguments(const std::vector<std::string>& args) {
    FindRequest request;
    SearchCriteria& criteria = request.criteria;
    std::vector<std::string> positional;
    int criteriaGiven = 0;
    std::vector<std::string> masks;
    std::vector<std::string> ranges;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (!arg.starts_with("--")) {
            positional.push_back(arg);
            continue;
        }
        std::string name = arg;
        std::optional<std::string> value;
        if (const size_t equals = arg.find('='); equals != std::string::npos) {
            name = arg.substr(0, equals);
            value = arg.substr(equals + 1);
        }
        const auto takeValue = [&]() -> bool {
            if (value) {
                return true;
            }
            if (i + 1 >= args.size()) {
                return false;
            }
            value = args[++i];
            return true;
        };
        if (name == "--backward" || name == "--all") {
            if (value) {
                return Refuse("option " + name + " takes no value");
            }
            (name == "--all" ? request.all : request.backward) = true;
            continue;
        }
        if (name != "--pattern" && name != "--error" && name != "--idle" && name != "--time" &&
            name != "--mask" && name != "--range" && name != "--from" && name != "--max") {
            return Refuse("unknown option '" + arg + "' for find (try --help)");
        }
        if (!takeValue()) {
            return Refuse("option " + name + " needs a value");
        }
        std::string error;
        if (name == "--pattern") {
            ++criteriaGiven;
            criteria.kind = kSearchCharacters;
            const auto elements = PatternElements(*value, error);
            if (!elements) {
                return Refuse(error);
            }
            criteria.pattern.setElements(*elements);
            criteria.set = !elements->empty();
        } else if (name == "--error") {
            ++criteriaGiven;
            const auto set = ErrorSet(*value);
            if (!set) {
                return Refuse("--error takes a list of PE, FE, PF, BR, OE");
            }
            criteria.kind = kSearchError;
            criteria.errorSet = *set;
            criteria.set = true;
        } else if (name == "--idle") {
            ++criteriaGiven;
            criteria.kind = kSearchIdle;
            if (!ParseIdle(*value, criteria)) {
                return Refuse("--idle takes MIN-MAX in milliseconds");
            }
            criteria.set = criteria.idleLowerMs != 0 || criteria.idleUpperMs != 0;
        } else if (name == "--time") {
            ++criteriaGiven;
            criteria.kind = kSearchDateTime;
            if (!ParseTime(*value, criteria)) {
                return Refuse("--time takes YYYY-MM-DDTHH:MM:SS..YYYY-MM-DDTHH:MM:SS");
            }
            criteria.set = true;
        } else if (name == "--mask") {
            masks.push_back(*value);
        } else if (name == "--range") {
            ranges.push_back(*value);
        } else {
            const auto number = Number(*value);
            if (!number || *number < 1) {
                return Refuse("option " + name + " needs a number from 1");
            }
            (name == "--from" ? request.from : request.max) = *number;
        }
    }
    for (const std::string& mask : masks) {
        if (!ParseMask(mask, criteria.pattern)) {
            return Refuse("--mask takes K=BBBBBBBB: K 0 to 3, eight of 1, 0, ? from bit 7");
        }
    }
    for (const std::string& range : ranges) {
        if (!ParseRange(range, criteria.pattern)) {
            return Refuse("--range takes K=LO-HI: K 0 to 3, two hexadecimal digits a side");
        }
    }
    if (criteriaGiven != 1) {
        return Refuse("find needs exactly one of --pattern, --error, --idle, --time");
    }
    if (positional.size() != 1) {
        return Refuse(positional.empty() ? "find needs a capture file (try --help)"
                                         : "unexpected argument '" + positional[1] + "'");
    }
    request.capturePath = positional[0];
    return {request, {}};
}

} // namespace varnolt::cli
