// Converts arbitrary records for other tools (pcapng, VCD, statistics) from a small ring that
// wraps and from a store loaded with the same records in one piece, and checks:
// - the output is the same however the records were split across the ring's end;
// - the pcapng file is a chain of whole blocks whose packets carry every character of each
//   direction in order, an event for every line error and every control-line change;
// - the VCD's "#" times only go forward;
// - the statistics count every record once, and are what a plain reference computes record by
//   record (tests/support/support/StatisticsReference.h).
// The first bytes choose the ring's size, the line conditions, the frame delimiters and the
// file's time; the rest are record words.

#include "core/capture/CCaptureData.h"
#include "core/interop/CaptureStatistics.h"
#include "core/interop/PcapngWriter.h"
#include "core/interop/StatisticsReport.h"
#include "core/interop/VcdWriter.h"
#include "core/platform/BinaryWriter.h"
#include "support/StatisticsReference.h"

#include <array>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <numeric>
#include <string_view>
#include <vector>

#include "FuzzSupport.h"

using namespace varnolt;
using fuzz::Check;

namespace {

constexpr RecordCount kLargestRing = 128;
constexpr size_t kOptionBytes = 6;

// Speeds from none at all (the clock's default) to beyond any line.
constexpr std::array<uint32_t, 8> kSpeeds = {0,       300,     9'600,      19'200,
                                             115'200, 460'800, 12'000'000, 4'000'000'000};
// File times: an ordinary day, the first minute of a year, the epoch, far ahead.
const std::array<LocalNs, 4> kFileTimes = {LocalNsOf({2026, 12, 10, 12, 0, 0, 0}),
                                           LocalNsOf({2027, 1, 1, 0, 0, 30, 0}), 0,
                                           LocalNsOf({2099, 6, 30, 23, 59, 59, 0})};

using Bytes = std::vector<uint8_t>;

Bytes Written(void (*write)(const CCaptureData&, const TimeBase&, BinaryWriter&),
              const CCaptureData& store, const TimeBase& base) {
    Bytes bytes;
    BinaryWriter out(bytes);
    write(store, base, out);
    Check(out.finish());
    return bytes;
}

uint32_t U32At(const Bytes& bytes, size_t at) {
    uint32_t value = 0;
    std::memcpy(&value, bytes.data() + at, 4);
    return value;
}

// What a pcapng file carries: the payload bytes of the SD and RD packets, in order, and how
// many error and status-change events it has.
struct PcapngContent {
    std::array<Bytes, 2> characters;
    int64_t errors = 0;
    int64_t statusChanges = 0;
    friend bool operator==(const PcapngContent&, const PcapngContent&) = default;
};

// Reads FILE as a chain of whole blocks, each length written at both ends.
PcapngContent ReadPcapng(const Bytes& file) {
    constexpr uint32_t kEnhancedPacketBlock = 6;
    constexpr size_t kPacketData = 28; // where a packet's data begins in its block
    constexpr size_t kRtacHeader = 12; // then the serial header, event type at 8
    PcapngContent content;
    size_t at = 0;
    while (at < file.size()) {
        Check(file.size() - at >= 12);
        const uint32_t length = U32At(file, at + 4);
        Check(length >= 12 && length % 4 == 0 && length <= file.size() - at);
        Check(U32At(file, at + length - 4) == length);
        if (U32At(file, at) == kEnhancedPacketBlock) {
            const uint32_t captured = U32At(file, at + 20);
            Check(captured >= kRtacHeader && kPacketData + captured + 4 <= length);
            const uint8_t* data = file.data() + at + kPacketData;
            const uint8_t event = data[8];
            if (event == 1 || event == 2) {
                content.characters[event - 1].insert(content.characters[event - 1].end(),
                                                     data + kRtacHeader, data + captured);
            } else if (event == 0) {
                ++content.statusChanges;
            } else {
                Check(event >= 7 && event <= 10 && captured == kRtacHeader);
                ++content.errors;
            }
        }
        at += length;
    }
    return content;
}

// What the pcapng file of the records HELD must carry.
PcapngContent ExpectedPcapng(const std::vector<RecordWord>& held) {
    PcapngContent content;
    for (const RecordWord word : held) {
        const RecordKind kind = KindOf(word);
        if (kind == RecordKind::SdCharacter || kind == RecordKind::RdCharacter) {
            content.characters[kind == RecordKind::SdCharacter ? 0 : 1].push_back(CodeOf(word));
        } else if (kind == RecordKind::SdError || kind == RecordKind::RdError) {
            content.errors += CodeOf(word) <= static_cast<uint8_t>(LineError::Overrun) ? 1 : 0;
        } else if (kind == RecordKind::ControlLineChange) {
            ++content.statusChanges;
        }
    }
    return content;
}

void CheckVcdTimesGoForward(const Bytes& file) {
    const std::string_view text(reinterpret_cast<const char*>(file.data()), file.size());
    const size_t body = text.find("$enddefinitions");
    Check(body != std::string_view::npos);
    bool first = true;
    uint64_t last = 0;
    for (size_t at = text.find("\n#", body); at != std::string_view::npos;
         at = text.find("\n#", at + 1)) {
        uint64_t time = 0;
        const char* digits = text.data() + at + 2;
        const auto [end, error] = std::from_chars(digits, text.data() + text.size(), time);
        Check(error == std::errc{} && end != digits && *end == '\n');
        Check(first || time > last);
        first = false;
        last = time;
    }
}

void CheckStatistics(const CaptureStatistics& stats, const CCaptureData& store) {
    const auto& kinds = stats.recordsByKind;
    Check(std::accumulate(kinds.begin(), kinds.end(), int64_t{0}) == store.Count());
    Check(stats.characters[kSdIndex] == kinds[1] && stats.characters[kRdIndex] == kinds[2]);
    for (size_t direction : {kSdIndex, kRdIndex}) {
        const auto& errors = stats.errors[direction];
        Check(std::accumulate(errors.begin(), errors.end(), int64_t{0}) <= kinds[3 + direction]);
    }
    Check(stats.frames[kSdIndex] + stats.frames[kRdIndex] <=
          kinds[1] + kinds[2] + kinds[3] + kinds[4]);
    Check(stats.idleGaps.count <= kinds[5]);
    Check(stats.start <= stats.end);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < kOptionBytes) {
        return 0;
    }
    static CCaptureData ring(kLargestRing);
    static CCaptureData whole(kLargestRing);
    CaptureHeader header;
    header.recordWidth = data[0] & 1;
    header.parity = (data[0] >> 1 & 3) == 1 ? 0 : data[0] >> 1 & 3; // 0, 2, 3 and an odd 1
    header.stopBits = (data[0] & 8) != 0 ? 2 : 1;
    header.dataBits = static_cast<uint16_t>(4 + (data[0] >> 4) % 7); // 4 ... 10: out of range too
    header.speed = kSpeeds[data[2] % kSpeeds.size()];
    for (size_t slot = 0; slot < header.delimiters.size(); ++slot) {
        header.delimiters[slot] = {static_cast<int8_t>(data[3] >> slot & 1),
                                   static_cast<uint8_t>(data[4] + slot), 0};
    }
    const TimeBase base{kFileTimes[data[5] % kFileTimes.size()], (data[5] >> 2) * 900 - 43'200};
    const std::vector<RecordWord> held =
        fuzz::FillRingAndWhole(header, 8 + data[1] % (kLargestRing - 7),
                               std::span(data + kOptionBytes, size - kOptionBytes), ring, whole);

    const Bytes pcapng = Written(WritePcapng, ring, base);
    Check(pcapng == Written(WritePcapng, whole, base));
    Check(ReadPcapng(pcapng) == ExpectedPcapng(held));
    const Bytes vcd = Written(WriteVcd, ring, base);
    Check(vcd == Written(WriteVcd, whole, base));
    CheckVcdTimesGoForward(vcd);
    const CaptureStatistics stats = ComputeStatistics(ring, base);
    Check(StatisticsJson(stats) == StatisticsJson(ComputeStatistics(whole, base)));
    CheckStatistics(stats, ring);
    Check(stats == testing::ReferenceStatistics(ring, base));
    return 0;
}
