#include "core/interop/CaptureTimeline.h"

#include <algorithm>
#include <array>
#include <limits>

namespace varnolt {

namespace {

// Frames are grouped as frame display groups its lines, but never wrapped at a width.
constexpr CellColumn kNoWrap = std::numeric_limits<CellColumn>::max();

// A capture that names no speed is taken at the analyzer's default.
constexpr uint32_t kDefaultSpeed = 9600;

int BitsPerCharacter(const CaptureHeader& header) {
    const int dataBits = header.dataBits >= 5 && header.dataBits <= 9 ? header.dataBits : 8;
    const int stopBits = header.stopBits == 2 ? 2 : 1;
    return 1 + dataBits + (header.parity != 0 ? 1 : 0) + stopBits;
}

// Whether the stamp head at HEAD has its three continuation words after it.
bool IsWholeStamp(const ExportRecords& records, RecordPosition head) {
    for (RecordPosition k = 1; k <= 3; ++k) {
        if (KindOf(records.At(head + k)) != RecordKind::StampContinuation) {
            return false;
        }
    }
    return true;
}

} // namespace

CaptureTimeline::CaptureTimeline(const CCaptureData& capture, const TimeBase& base)
    : capture_(capture), records_(capture), walker_(kNoWrap, capture.header().delimiters),
      delimiters_(capture.header().delimiters), recordWidth_(capture.header().recordWidth),
      speed_(capture.header().speed != 0 ? capture.header().speed : kDefaultSpeed),
      bitsPerCharacter_(BitsPerCharacter(capture.header())),
      characterWhole_(bitsPerCharacter_ * kNsPerSecond / speed_),
      characterFraction_(bitsPerCharacter_ * kNsPerSecond % speed_) {
    index_ = records_.IndexOf(1);
    findOrigin(base);
}

void CaptureTimeline::findOrigin(const TimeBase& base) {
    std::optional<int> year;
    // Stamps without year digits may fill the whole capture: a plain pass over the ring's words,
    // a stretch up to the ring's end at a time, unpacking only the stamps whose layout has a year.
    RecordPosition stretchStart = 1;
    RingIndex index = records_.IndexOf(1);
    while (stretchStart <= records_.total() && !year) {
        const RecordCount stretch =
            std::min(records_.total() - stretchStart + 1, capture_.capacity() - index);
        const CaptureRecord* records = &capture_.record(index);
        for (RecordCount k = 0; k < stretch && !year; ++k) {
            const RecordWord word = records[k].word;
            // Only a whole stamp, as the walk applies it: a head cut off from its continuations
            // would take its digits from whatever follows it.
            if (KindOf(word) == RecordKind::StampHead &&
                LayoutOfStampKind(SubKindOf(word)) == StampLayout::A &&
                IsWholeStamp(records_, stretchStart + k)) {
                year = StampYear(records_.StampAt(stretchStart + k));
            }
        }
        stretchStart += stretch;
        index = 0;
    }
    stampYear_ = year.value_or(CivilTimeOf(base.fileTime).year);
    yearFromStamp_ = year.has_value();

    // Run the clock from 0 up to the first stamp that names a moment: the capture began that
    // long before the moment. The file's time stands in for it while it runs.
    scanning_ = true;
    near_ = base.fileTime;
    TimedItem item;
    while (!originFound_ && next(item)) {
    }
    scanning_ = false;
    position_ = 1;
    index_ = records_.IndexOf(1);
    walker_ = FrameLineWalker(kNoWrap, delimiters_);
    setClock(originFound_ ? origin_ : base.fileTime);
}

void CaptureTimeline::applyStamp(const TimeStamp& stamp) {
    const LocalNs clock = now();
    // Before the clock is known, a year taken from a stamp is used as it is; the file's year
    // may be the one after a capture that ran into the New Year.
    const std::optional<StampMoment> moment =
        StampMomentOf(stamp, stampYear_, scanning_ ? near_ : clock, !scanning_ || !yearFromStamp_);
    if (!moment) {
        return;
    }
    if (scanning_) {
        origin_ = moment->at - clock;
        originFound_ = true;
    } else if (clock < moment->at) {
        setClock(moment->at);
    } else if (clock > moment->at + moment->resolution) {
        setClock(moment->at + moment->resolution);
    }
}

RecordCount CaptureTimeline::takeRun() {
    RecordCount taken = 0;
    while (position_ <= records_.total()) {
        // The records up to the newest one or the end of the ring, whichever comes first.
        const auto stretch = static_cast<size_t>(std::min<int64_t>(
            int64_t{records_.total()} - position_ + 1, int64_t{capture_.capacity()} - index_));
        const size_t run = walker_.TakeContinuingCharacters(&capture_.record(index_), stretch);
        taken += static_cast<RecordCount>(run);
        position_ += static_cast<RecordPosition>(run);
        index_ = capture_.WrapIndex(index_, static_cast<RecordCount>(run));
        if (run < stretch) {
            break;
        }
    }
    if (taken > 0) {
        addCharacters(taken);
    }
    return taken;
}

} // namespace varnolt
