#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace varnolt {

// One row of the list "アナライザー内データ": its four columns as shown (UTF-8).
struct StoredFileRow {
    std::string name;    // "ファイル名": the eight characters as sent
    std::string created; // "作成日時": "2024/05/31 12:30"
    std::string size;    // "サイズ": the four characters as sent
    std::string number;  // "番号": the four characters as sent
    friend bool operator==(const StoredFileRow&, const StoredFileRow&) = default;
};

// What a list entry answer ("DD") says.
struct StoredFileEntry {
    int32_t number = 0; // the number field read as a decimal
    StoredFileRow row;
    // False for the reserved names "ONLINE" and "NO_DAT": acknowledged, never listed.
    bool listed = true;
};

// The file number that is always listed first.
inline constexpr int32_t kFirstListedNumber = 9999;

// Decodes a complete "DD" answer (its terminator included): number in bytes 2..5, name 6..13,
// size 14..17, creation time YYMMDDhhmm in 18..27. Nothing when the answer is too short to
// hold them; nothing past the answer is read. Control characters are shown as '?'.
[[nodiscard]] std::optional<StoredFileEntry> DecodeListEntry(std::span<const uint8_t> answer);

// "20" + YY + "/" + MM + "/" + DD + " " + hh + ":" + mm of the ten characters YYMMDDhhmm.
[[nodiscard]] std::string CreationTimeText(std::string_view yymmddhhmm);

// Puts ENTRY's row into ROWS: number 9999 at the top, any other at position number + 1 (the
// end when the list is shorter). A number that is already listed has its row replaced, so
// that a list the analyzer sends again after a lost answer does not show a file twice.
void InsertListEntry(std::vector<StoredFileRow>& rows, const StoredFileEntry& entry);

} // namespace varnolt
