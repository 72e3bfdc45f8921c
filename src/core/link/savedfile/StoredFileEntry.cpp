#include "core/link/savedfile/StoredFileEntry.h"

#include "core/capture/CaptureFileFormat.h"
#include "core/link/protocol/FrameTerminator.h"
#include "core/platform/Cp932.h"

#include <algorithm>

namespace varnolt {

namespace {

constexpr size_t kNumberAt = 2;
constexpr size_t kNameAt = 6;
constexpr size_t kSizeAt = 14;
constexpr size_t kCreatedAt = 18;
constexpr size_t kEntryEnd = 28;
constexpr size_t kReservedNameLength = 6;

// FIELD with every control character, and with ASCIIONLY every byte above 0x7E, as '?'.
std::string Printable(std::span<const uint8_t> field, bool asciiOnly) {
    std::string text(field.begin(), field.end());
    for (char& c : text) {
        const auto byte = static_cast<uint8_t>(c);
        if (byte < 0x20 || byte == 0x7F || (asciiOnly && byte > 0x7F)) {
            c = '?';
        }
    }
    return text;
}

// The name as shown: the analyzer's text is code page 932; control characters become '?'.
std::string ShownName(std::span<const uint8_t> field) {
    return Cp932ToUtf8(Printable(field, false));
}

// Number, size and time: ASCII digits; anything else is shown as '?'.
std::string ShownDigits(std::span<const uint8_t> field) {
    return Printable(field, true);
}

} // namespace

std::string CreationTimeText(std::string_view yymmddhhmm) {
    std::string digits(yymmddhhmm.substr(0, 10));
    digits.resize(10, ' ');
    return "20" + digits.substr(0, 2) + "/" + digits.substr(2, 2) + "/" + digits.substr(4, 2) +
           " " + digits.substr(6, 2) + ":" + digits.substr(8, 2);
}

std::optional<StoredFileEntry> DecodeListEntry(std::span<const uint8_t> answer) {
    if (answer.size() < kEntryEnd + kFrameTerminator.size()) {
        return std::nullopt;
    }
    StoredFileEntry entry;
    const auto field = [&](size_t from, size_t to) { return answer.subspan(from, to - from); };
    const std::span<const uint8_t> number = field(kNumberAt, kNameAt);
    entry.number = DecimalPrefix({reinterpret_cast<const char*>(number.data()), number.size()});
    const std::span<const uint8_t> name = field(kNameAt, kSizeAt);
    const std::string_view reserved(reinterpret_cast<const char*>(name.data()),
                                    kReservedNameLength);
    entry.listed = reserved != "ONLINE" && reserved != "NO_DAT";
    entry.row.name = ShownName(name);
    entry.row.size = ShownDigits(field(kSizeAt, kCreatedAt));
    entry.row.number = ShownDigits(number);
    entry.row.created = CreationTimeText(ShownDigits(field(kCreatedAt, kEntryEnd)));
    return entry;
}

void InsertListEntry(std::vector<StoredFileRow>& rows, const StoredFileEntry& entry) {
    const auto same = std::find_if(rows.begin(), rows.end(), [&](const StoredFileRow& row) {
        return row.number == entry.row.number;
    });
    if (same != rows.end()) {
        *same = entry.row;
        return;
    }
    const size_t position =
        entry.number == kFirstListedNumber
            ? 0
            : static_cast<size_t>(std::clamp<int64_t>(int64_t{entry.number} + 1, 0,
                                                      static_cast<int64_t>(rows.size())));
    rows.insert(rows.begin() + static_cast<std::ptrdiff_t>(position), entry.row);
}

} // namespace varnolt
