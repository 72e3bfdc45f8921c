#include "core/view/DataInputModel.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>
#include <string>

namespace varnolt {

namespace {

constexpr std::array kSearchPages{DataInputPage::Characters, DataInputPage::SpecialCharacters,
                                  DataInputPage::Errors, DataInputPage::Idle,
                                  DataInputPage::DateTime};
constexpr std::array kTriggerPages{DataInputPage::Characters, DataInputPage::SpecialCharacters};
constexpr std::array kCharacterPage{DataInputPage::Characters};

constexpr size_t kTriggerTextLimit = 16;
constexpr uint8_t kLastErrorCode = 4;

// An idle bound of more digits than the largest one (9,999,999 ms) is held to it; an exponent
// is read no further than a number that already makes any bound 0 or the largest.
constexpr size_t kMaxIdleBoundDigits = 7;
constexpr int64_t kHugeExponent = 1'000'000'000;

uint8_t ErrorBit(uint8_t code) {
    return static_cast<uint8_t>(1U << (7U - code));
}

uint8_t MaskBit(int b) {
    return static_cast<uint8_t>(0x80U >> static_cast<unsigned>(b));
}

std::string_view Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

} // namespace

DataInputModeInfo ModeInfo(DataInputMode mode) {
    switch (mode) {
    case DataInputMode::Search:
        return {"検索", kMaxPatternLength, kSearchPages};
    case DataInputMode::TransmitData:
        return {"OK", kMaxPatternLength, kCharacterPage};
    case DataInputMode::TriggerCondition:
        return {"OK", kTriggerTextLimit, kTriggerPages};
    case DataInputMode::SingleCode:
        return {"OK", 1, kCharacterPage};
    }
    return {"OK", 1, kCharacterPage};
}

std::string_view PageTitle(DataInputPage page) {
    switch (page) {
    case DataInputPage::Characters:
        return "文字";
    case DataInputPage::SpecialCharacters:
        return "特殊文字";
    case DataInputPage::Errors:
        return "エラー";
    case DataInputPage::Idle:
        return "アイドル";
    case DataInputPage::DateTime:
        return "日時";
    }
    return {};
}

std::string IdleBoundText(int32_t milliseconds) {
    if (milliseconds <= 0) {
        return {};
    }
    // Whole milliseconds as they are, with no binary fraction in between.
    std::array<char, 32> text{};
    std::snprintf(text.data(), text.size(), "%d.%03d", milliseconds / 1000, milliseconds % 1000);
    return text.data();
}

int32_t ParseIdleBound(std::string_view seconds) {
    // Read digit by digit: as a double, "1.001" is a little below 1.001 and would lose a
    // millisecond when it is multiplied and truncated.
    std::string_view text = Trimmed(seconds);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    const auto isDigit = [&text](size_t i) {
        return i < text.size() && text[i] >= '0' && text[i] <= '9';
    };
    std::string digits;   // the number's digits, without its point ...
    int64_t exponent = 0; // ... and the power of ten they are to be multiplied by
    size_t i = 0;
    for (; isDigit(i); ++i) {
        digits += text[i];
    }
    if (i < text.size() && text[i] == '.') {
        for (++i; isDigit(i); ++i) {
            digits += text[i];
            --exponent;
        }
    }
    if (digits.empty()) {
        return 0;
    }
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        const bool down = i < text.size() && text[i] == '-';
        if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
            ++i;
        }
        if (!isDigit(i)) {
            return 0;
        }
        int64_t power = 0;
        for (; isDigit(i); ++i) {
            power = std::min<int64_t>(power * 10 + (text[i] - '0'), kHugeExponent);
        }
        exponent += down ? -power : power;
    }
    digits.erase(0, std::min(digits.find_first_not_of('0'), digits.size()));
    if (i != text.size() || negative || digits.empty()) {
        return 0;
    }
    // Milliseconds: the digits shifted three places further, the fraction cut off.
    const int64_t shift = exponent + 3;
    if (shift < 0) {
        if (static_cast<uint64_t>(-shift) >= digits.size()) {
            return 0;
        }
        digits.resize(digits.size() - static_cast<size_t>(-shift));
    } else if (digits.size() + static_cast<uint64_t>(shift) > kMaxIdleBoundDigits) {
        return kMaxIdleBoundMs;
    } else {
        digits.append(static_cast<size_t>(shift), '0');
    }
    if (digits.size() > kMaxIdleBoundDigits) {
        return kMaxIdleBoundMs;
    }
    int32_t milliseconds = 0;
    std::from_chars(digits.data(), digits.data() + digits.size(), milliseconds);
    return std::min(milliseconds, kMaxIdleBoundMs);
}

std::string_view BitCaption(const PatternBitMask& mask, int b) {
    const uint8_t bit = MaskBit(b);
    if ((mask.mustBeOne & bit) != 0) {
        return "1";
    }
    if ((mask.mustBeZero & bit) != 0) {
        return "0";
    }
    return "?";
}

void CycleBit(PatternBitMask& mask, int b) {
    const uint8_t bit = MaskBit(b);
    if ((mask.mustBeOne & bit) != 0) {
        mask.mustBeOne = static_cast<uint8_t>(mask.mustBeOne & ~bit);
    } else if ((mask.mustBeZero & bit) != 0) {
        mask.mustBeZero = static_cast<uint8_t>(mask.mustBeZero & ~bit);
        mask.mustBeOne = static_cast<uint8_t>(mask.mustBeOne | bit);
    } else {
        mask.mustBeZero = static_cast<uint8_t>(mask.mustBeZero | bit);
    }
}

DataInputModel::DataInputModel(DataInputMode mode, const SearchCriteria& criteria)
    : mode_(mode), info_(ModeInfo(mode)), criteria_(criteria) {
}

DataInputPage DataInputModel::firstPage() const {
    if (mode_ != DataInputMode::Search) {
        return DataInputPage::Characters;
    }
    switch (criteria_.kind) {
    case kSearchError:
        return DataInputPage::Errors;
    case kSearchIdle:
        return DataInputPage::Idle;
    case kSearchDateTime:
        return DataInputPage::DateTime;
    default:
        return DataInputPage::Characters;
    }
}

bool DataInputModel::EditEnabled(DataInputPage shown) {
    return shown == DataInputPage::Characters || shown == DataInputPage::SpecialCharacters;
}

std::string DataInputModel::initialText() const {
    return LimitText(PatternDisplayText(criteria_.pattern.usedElements()), info_.textLimit);
}

bool DataInputModel::CanInsertGlyph(std::string_view text) const {
    return TextCharacterCount(text) < info_.textLimit;
}

std::string DataInputModel::EditedText(std::string_view previous, std::string_view current) const {
    std::string converted = ConvertTypedInput(current);
    if (TextCharacterCount(converted) > info_.textLimit) {
        return std::string(previous);
    }
    return converted;
}

bool DataInputModel::errorChecked(uint8_t code) const {
    return code <= kLastErrorCode && (criteria_.errorSet & ErrorBit(code)) != 0;
}

void DataInputModel::setErrorChecked(uint8_t code, bool checked) {
    if (code > kLastErrorCode) {
        return;
    }
    criteria_.errorSet = static_cast<uint8_t>(checked ? criteria_.errorSet | ErrorBit(code)
                                                      : criteria_.errorSet & ~ErrorBit(code));
}

std::string_view DataInputModel::bitCaption(int mask, int b) const {
    return BitCaption(criteria_.pattern.bitMasks.at(static_cast<size_t>(mask)), b);
}

void DataInputModel::cycleBit(int mask, int b) {
    CycleBit(criteria_.pattern.bitMasks.at(static_cast<size_t>(mask)), b);
}

const PatternRange& DataInputModel::range(int index) const {
    return criteria_.pattern.ranges.at(static_cast<size_t>(index));
}

CharacterPattern DataInputModel::rangeBoundPattern(int index, RangeSide side) const {
    const PatternRange& bounds = range(index);
    const bool enabled = side == RangeSide::Low ? bounds.lowEnabled == 1 : bounds.highEnabled == 1;
    CharacterPattern pattern;
    if (enabled) {
        const PatternElement bound{kPatternCharacter,
                                   side == RangeSide::Low ? bounds.low : bounds.high};
        pattern.setElements(std::span(&bound, 1));
    }
    return pattern;
}

void DataInputModel::setRangeBound(int index, RangeSide side, const CharacterPattern& edited) {
    PatternRange& bounds = criteria_.pattern.ranges.at(static_cast<size_t>(index));
    const auto used = edited.usedElements();
    const bool character = !used.empty() && used.front().kind == kPatternCharacter;
    const uint8_t value = character ? used.front().value : 0;
    const uint8_t enabled = character ? 1 : 0;
    if (side == RangeSide::Low) {
        bounds.lowEnabled = enabled;
        bounds.low = value;
    } else {
        bounds.highEnabled = enabled;
        bounds.high = value;
    }
}

std::string DataInputModel::rangeCaption(int index, RangeSide side) const {
    return PatternDisplayText(rangeBoundPattern(index, side).usedElements());
}

std::string DataInputModel::idleText(RangeSide side) const {
    return IdleBoundText(side == RangeSide::Low ? criteria_.idleLowerMs : criteria_.idleUpperMs);
}

void DataInputModel::setDates(const CalendarTime& lowerDate, const CalendarTime& lowerTime,
                              const CalendarTime& upperDate, const CalendarTime& upperTime) {
    criteria_.lowerDate = lowerDate;
    criteria_.lowerTime = lowerTime;
    criteria_.upperDate = upperDate;
    criteria_.upperTime = upperTime;
}

void DataInputModel::Accept(std::string_view text, DataInputPage shown, std::string_view idleLower,
                            std::string_view idleUpper) {
    criteria_.pattern.setElements(PatternFromText(LimitText(text, info_.textLimit)));
    if (mode_ != DataInputMode::Search) {
        return;
    }
    criteria_.idleLowerMs = ParseIdleBound(idleLower);
    criteria_.idleUpperMs = ParseIdleBound(idleUpper);
    switch (shown) {
    case DataInputPage::Characters:
    case DataInputPage::SpecialCharacters:
        criteria_.kind = kSearchCharacters;
        criteria_.set = criteria_.pattern.length > 0;
        break;
    case DataInputPage::Errors:
        criteria_.kind = kSearchError;
        criteria_.set = true;
        break;
    case DataInputPage::Idle:
        criteria_.kind = kSearchIdle;
        criteria_.set = criteria_.idleLowerMs != 0 || criteria_.idleUpperMs != 0;
        break;
    case DataInputPage::DateTime:
        criteria_.kind = kSearchDateTime;
        criteria_.set = true;
        break;
    }
}

} // namespace varnolt
