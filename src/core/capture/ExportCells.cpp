#include "core/capture/ExportCells.h"

#include <array>
#include <charconv>

namespace varnolt {

namespace {

constexpr std::array<std::string_view, 5> kErrorNames = {"PE", "FE", "PF", "BR", "OE"};

const CharNameTable& TableFor(ExportFileType fileType, ExportCharacterSize characterSize) {
    if (characterSize == ExportCharacterSize::FullWidth) {
        return CharNameTable::FullWidth();
    }
    return fileType == ExportFileType::CommaSeparated ? CharNameTable::PlainHalfWidth()
                                                      : CharNameTable::PaddedHalfWidth();
}

void AppendDigit(ExportRow& out, unsigned digit) {
    AppendDecimal(out, digit);
}

} // namespace

void AppendDecimal(ExportRow& out, uint32_t value, int digits) {
    char buffer[16];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
    const auto length = static_cast<int>(end - buffer);
    if (length < digits) {
        out.append(static_cast<size_t>(digits - length), '0');
    }
    out.append({buffer, static_cast<size_t>(end - buffer)});
}

ExportCells::ExportCells(ExportFileType fileType, ExportCharacterSize characterSize)
    : commaSeparated_(fileType == ExportFileType::CommaSeparated),
      table_(TableFor(fileType, characterSize)) {
    constexpr std::string_view digits = "0123456789ABCDEF";
    for (unsigned code = 0; code < 256; ++code) {
        hex_[code][0] = digits[code >> 4];
        hex_[code][1] = digits[code & 0xF];
    }
}

void ExportCells::AppendCharacter(ExportRow& out, uint8_t code) const {
    const std::string_view text = table_.Lookup(code);
    // A half-width comma or quote would split or open a comma-separated field: such a cell
    // is quoted the way spreadsheets read it.
    if (commaSeparated_ && (text == "," || text == "\"")) {
        out += '"';
        out.append(text == "\"" ? "\"\"" : text);
        out += '"';
        return;
    }
    out.append(text);
}

void ExportCells::AppendCodeCell(ExportRow& out, RecordWord word) const {
    const RecordKind kind = KindOf(word);
    if (kind == RecordKind::SdCharacter || kind == RecordKind::RdCharacter) {
        AppendHex(out, CodeOf(word));
    } else if (CodeOf(word) < kErrorNames.size()) {
        out.append(kExportErrorMark);
    }
}

void ExportCells::AppendTextCell(ExportRow& out, RecordWord word) const {
    const RecordKind kind = KindOf(word);
    if (kind == RecordKind::SdCharacter || kind == RecordKind::RdCharacter) {
        AppendCharacter(out, CodeOf(word));
    } else if (CodeOf(word) < kErrorNames.size()) {
        out.append(kErrorNames[CodeOf(word)]);
    }
}

void ExportCells::AppendIdleSeconds(ExportRow& out, const IdleGap& idle) {
    switch (idle.resolution) {
    case 1:
        AppendDecimal(out, idle.value / 1000, 2);
        out += '.';
        AppendDecimal(out, idle.value % 1000, 3);
        break;
    case 2:
        AppendDecimal(out, idle.value / 100, 3);
        out += '.';
        AppendDecimal(out, idle.value % 100, 2);
        break;
    case 3:
        AppendDecimal(out, idle.value / 10, 4);
        out += '.';
        AppendDecimal(out, idle.value % 10, 1);
        break;
    default:
        break; // a resolution the analyzer does not use: no value
    }
}

void ExportCells::AppendStampDate(ExportRow& out, const StampDigits& digits, int32_t timeDisplay) {
    const StampFields stamp(digits);
    if (timeDisplay == 1 || timeDisplay == 3) {
        out += ' ';
        AppendDigit(out, stamp.Date(5));
        AppendDigit(out, stamp.Date(4));
        out += '/';
    } else if (timeDisplay != 2) {
        return;
    }
    AppendDigit(out, stamp.Date(3));
    AppendDigit(out, stamp.Date(2));
    out += '/';
    AppendDigit(out, stamp.Date(1));
    AppendDigit(out, stamp.Date(0));
}

void ExportCells::AppendStampTime(ExportRow& out, const StampDigits& digits, int32_t timeDisplay) {
    const bool withHundredths = timeDisplay == 2 || timeDisplay == 5;
    if (!withHundredths && timeDisplay != 1 && timeDisplay != 4) {
        return;
    }
    const StampFields stamp(digits);
    for (int nibble = 7; nibble >= 2; nibble -= 2) {
        out += ' ';
        AppendDigit(out, stamp.Time(nibble));
        AppendDigit(out, stamp.Time(nibble - 1));
        if (nibble > 3) {
            out += ':';
        }
    }
    if (withHundredths) {
        out += '.';
        AppendDigit(out, stamp.Time(1));
        AppendDigit(out, stamp.Time(0));
    }
}

} // namespace varnolt
