#pragma once

#include "core/capture/CharNameTable.h"
#include "core/capture/ExportOptions.h"
#include "core/capture/ExportRecords.h"
#include "core/capture/ExportRow.h"
#include "core/capture/RecordWord.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace varnolt {

// Code page 932 pieces of the export.
inline constexpr std::string_view kExportFiller = "\x81\x45";    // ・ the other direction's cell
inline constexpr std::string_view kExportErrorMark = "\x81\x49"; // ！ an error's code cell
inline constexpr std::string_view kExportLineEnd = "\r\n";

// VALUE in decimal with at least DIGITS digits, zero-padded ("%0Nd").
void AppendDecimal(ExportRow& out, uint32_t value, int digits = 1);

// The texts of the export's cells for one file type and character size. Appending never
// formats with printf: every cell is a copy of a short prepared text or a few digits.
class ExportCells {
public:
    ExportCells(ExportFileType fileType, ExportCharacterSize characterSize);

    [[nodiscard]] bool commaSeparated() const { return commaSeparated_; }

    // "%02X" of a character code.
    void AppendHex(ExportRow& out, uint8_t code) const { out.append({hex_[code], 2}); }
    // The character's text from the table of the character size and file type.
    void AppendCharacter(ExportRow& out, uint8_t code) const;
    // The two cells of a character or error record (kinds 1 to 4); an error whose code has no
    // name writes neither cell.
    void AppendCodeCell(ExportRow& out, RecordWord word) const;
    void AppendTextCell(ExportRow& out, RecordWord word) const;

    // Comma-separated files write an idle gap as its seconds ("12.345") and a time stamp as a
    // date and a time laid out by the capture's time display.
    static void AppendIdleSeconds(ExportRow& out, const IdleGap& idle);
    static void AppendStampDate(ExportRow& out, const StampDigits& digits, int32_t timeDisplay);
    static void AppendStampTime(ExportRow& out, const StampDigits& digits, int32_t timeDisplay);

private:
    bool commaSeparated_;
    const CharNameTable& table_;
    char hex_[256][2];
};

// Digits of an unpacked stamp, two-digit fields and single digits by name.
struct StampFields {
    explicit StampFields(const StampDigits& digits) : date(digits.date), time(digits.time) {}
    [[nodiscard]] unsigned Date(int nibble) const { return DigitAt(date, nibble); }
    [[nodiscard]] unsigned Time(int nibble) const { return DigitAt(time, nibble); }
    [[nodiscard]] unsigned Year() const { return Date(5) * 10 + Date(4); }
    [[nodiscard]] unsigned Month() const { return Date(3) * 10 + Date(2); }
    [[nodiscard]] unsigned Day() const { return Date(1) * 10 + Date(0); }
    [[nodiscard]] unsigned Hours() const { return Time(7) * 10 + Time(6); }
    [[nodiscard]] unsigned Minutes() const { return Time(5) * 10 + Time(4); }
    [[nodiscard]] unsigned Seconds() const { return Time(3) * 10 + Time(2); }
    [[nodiscard]] unsigned Hundredths() const { return Time(1) * 10 + Time(0); }

    uint32_t date;
    uint32_t time;
};

} // namespace varnolt
