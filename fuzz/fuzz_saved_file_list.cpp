// Feeds arbitrary bytes as the answers of the analyzer's saved-file list: each is decoded as a
// list entry and, when listed, put into the rows as the saved-file dialog does. A decoded entry
// shows exactly the fields of its answer (fixed widths, no control character); the rows never
// show a number twice, and each new number adds exactly one row, 9999 at the top.

#include "core/link/savedfile/StoredFileEntry.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "FuzzSupport.h"

using namespace varnolt;
using fuzz::Check;

namespace {

// The smallest answer that holds every field: "DD", 26 characters, the terminator.
constexpr size_t kEntryAnswerBytes = 28 + kFrameTerminator.size();

bool Printable(const std::string& text) {
    return std::none_of(text.begin(), text.end(), [](char c) {
        const auto byte = static_cast<uint8_t>(c);
        return byte < 0x20 || byte == 0x7F;
    });
}

size_t RowsNumbered(const std::vector<StoredFileRow>& rows, const std::string& number) {
    return static_cast<size_t>(std::count_if(
        rows.begin(), rows.end(), [&](const auto& row) { return row.number == number; }));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<StoredFileRow> rows;
    fuzz::ForEachAnswer({data, size}, [&rows](std::span<const uint8_t> answer) {
        const auto entry = DecodeListEntry(answer);
        Check(entry.has_value() == (answer.size() >= kEntryAnswerBytes));
        if (!entry) {
            return;
        }
        const StoredFileRow& row = entry->row;
        Check(row.number.size() == 4 && row.size.size() == 4 && row.created.size() == 16);
        Check(Printable(row.name) && Printable(row.number) && Printable(row.size) &&
              Printable(row.created));
        if (!entry->listed) {
            return;
        }
        const size_t before = rows.size();
        const bool known = RowsNumbered(rows, row.number) > 0;
        InsertListEntry(rows, *entry);
        Check(rows.size() == before + (known ? 0 : 1));
        Check(RowsNumbered(rows, row.number) == 1);
        if (entry->number == kFirstListedNumber && !known) {
            Check(rows.front() == row);
        }
    });
    return 0;
}
