#include "core/capture/ExportControlRows.h"
#include "core/capture/ExportLayouts.h"

#include <string>

namespace varnolt {

namespace {

constexpr std::string_view kIdleBlank = "        ";   // 8 columns
constexpr std::string_view kTimeBlank = "          "; // 10 columns
constexpr std::string_view kTextIdleLabel = " IDLE   ";

enum class Direction { None, Sd, Rd };

// Cell rows of a frame line.
enum Row : int { kCodes = 0, kTexts = 1 };
constexpr int kDataRowCount = 2;

Direction DirectionOf(RecordKind kind) {
    switch (kind) {
    case RecordKind::SdCharacter:
    case RecordKind::SdError:
        return Direction::Sd;
    case RecordKind::RdCharacter:
    case RecordKind::RdError:
        return Direction::Rd;
    default:
        return Direction::None;
    }
}

// The frame line being collected: its cells, its idle and time columns and the position of
// its first record; written whole when it ends.
class FrameLine {
public:
    FrameLine(const ExportLayoutContext& context, ExportSink& sink);

    [[nodiscard]] int32_t cellCount() const { return cellCount_; }
    [[nodiscard]] bool hasIdle() const { return hasIdle_; }
    [[nodiscard]] bool hasStamp() const { return hasStamp_; }

    // A character, error or control-line change record; DIRECTION None for the last.
    void AddCell(RecordPosition position, RecordWord word, Direction direction);
    void AddIdle(RecordPosition position, RecordWord word);
    void AddStamp(RecordPosition position, RecordWord word);
    // Writes the line if it holds anything, and starts the next one.
    void End();

private:
    void Touch(RecordPosition position);
    void SetTextStampColumns(const TimeStamp& stamp);
    void WriteLine(std::string_view label, std::string_view idle, std::string_view time,
                   std::string_view cells);

    const ExportLayoutContext& context_;
    const ExportCells& cells_;
    ExportSink& sink_;
    const bool csv_;
    const std::string_view idleBlank_;
    const std::string_view timeBlank_;

    std::array<ExportRow, kDataRowCount> rows_;
    ExportControlRows control_;
    int32_t cellCount_ = 0;
    Direction direction_ = Direction::None;
    RecordPosition firstPosition_ = 0;
    uint32_t lineNumber_ = 0;
    bool hasIdle_ = false;
    bool hasStamp_ = false;
    std::array<ExportRow, 2> idleColumns_;
    std::array<ExportRow, 2> timeColumns_;
    ExportRow label_;
};

FrameLine::FrameLine(const ExportLayoutContext& context, ExportSink& sink)
    : context_(context), cells_(context.cells), sink_(sink), csv_(context.cells.commaSeparated()),
      idleBlank_(context.display.idleDisplay != 0 ? kIdleBlank : std::string_view()),
      timeBlank_(context.display.timeDisplay >= 1 && context.display.timeDisplay <= 5
                     ? kTimeBlank
                     : std::string_view()) {
}

void FrameLine::Touch(RecordPosition position) {
    if (firstPosition_ == 0) {
        firstPosition_ = position;
    }
}

void FrameLine::AddCell(RecordPosition position, RecordWord word, Direction direction) {
    if (direction_ == Direction::None) {
        direction_ = direction;
    }
    Touch(position);
    const bool comma = csv_ && cellCount_ > 0;
    if (comma) {
        for (ExportRow& row : rows_) {
            row += ',';
        }
    }
    if (direction == Direction::None) {
        rows_[kCodes].append(kExportFiller);
        rows_[kTexts].append(kExportFiller);
    } else {
        cells_.AppendCodeCell(rows_[kCodes], word);
        cells_.AppendTextCell(rows_[kTexts], word);
    }
    if (context_.controlRows) {
        control_.Add(word, comma);
    }
    ++cellCount_;
}

// Text files write the idle and time columns at the head; comma-separated files at the first
// continuation ("IDLE" and the seconds; the date and the time by the capture's time display).
void FrameLine::AddIdle(RecordPosition position, RecordWord word) {
    if (KindOf(word) == RecordKind::IdleHead) {
        Touch(position);
        hasIdle_ = true;
        idleColumns_[0].assign(csv_ ? std::string_view() : kTextIdleLabel);
        ExportRow& seconds = idleColumns_[1];
        seconds.clear();
        if (csv_) {
            return; // the first continuation writes the columns
        }
        const IdleGap idle = context_.records.IdleAt(position);
        if (idle.resolution >= 1 && idle.resolution <= 3) {
            seconds += ' ';
            ExportCells::AppendIdleSeconds(seconds, idle);
            seconds += ' ';
        } else {
            seconds.assign(kIdleBlank);
        }
        return;
    }
    if (csv_ && context_.records.DistanceToHead(position, RecordKind::IdleHead, 2) == 1) {
        Touch(position);
        hasIdle_ = true;
        idleColumns_[0].assign("IDLE");
        idleColumns_[1].clear();
        ExportCells::AppendIdleSeconds(idleColumns_[1], context_.records.IdleAt(position - 1));
    }
}

void FrameLine::AddStamp(RecordPosition position, RecordWord word) {
    if (KindOf(word) == RecordKind::StampHead) {
        Touch(position);
        hasStamp_ = true;
        if (csv_) {
            timeColumns_[0].clear(); // the first continuation writes the columns
            timeColumns_[1].clear();
        } else {
            SetTextStampColumns(context_.records.StampAt(position));
        }
        return;
    }
    if (csv_ && context_.records.DistanceToHead(position, RecordKind::StampHead, 3) == 1) {
        Touch(position);
        hasStamp_ = true;
        const StampDigits digits = context_.records.StampAt(position - 1).digits;
        timeColumns_[0].clear();
        timeColumns_[1].clear();
        ExportCells::AppendStampDate(timeColumns_[0], digits, context_.display.timeDisplay);
        ExportCells::AppendStampTime(timeColumns_[1], digits, context_.display.timeDisplay);
    }
}

// Two ten-column texts: the date (or month, day and hour) and the time, as far as the stamp
// kind shows them.
void FrameLine::SetTextStampColumns(const TimeStamp& stamp) {
    const StampFields f(stamp.digits);
    ExportRow& first = timeColumns_[0];
    ExportRow& second = timeColumns_[1];
    first.clear();
    second.clear();
    const auto appendField = [](ExportRow& out, char separator, unsigned value) {
        out += separator;
        AppendDecimal(out, value, 2);
    };
    const auto appendDate = [&] {
        appendField(first, ' ', f.Year());
        appendField(first, '/', f.Month());
        appendField(first, '/', f.Day());
        first += ' ';
    };
    const auto appendTime = [&] {
        appendField(second, ' ', f.Hours());
        appendField(second, ':', f.Minutes());
        appendField(second, ':', f.Seconds());
        second += ' ';
    };
    const auto appendTimeWithHundredths = [&] {
        appendField(second, ':', f.Minutes());
        appendField(second, ':', f.Seconds());
        appendField(second, '.', f.Hundredths());
        second += ' ';
    };
    switch (stamp.kind) {
    case 1:
        appendDate();
        appendTime();
        break;
    case 2:
        appendField(first, ' ', f.Month());
        appendField(first, '/', f.Day());
        appendField(first, ' ', f.Hours());
        first += ' ';
        appendTimeWithHundredths();
        break;
    case 3:
        appendDate();
        second.assign(kTimeBlank);
        break;
    case 4:
        first.assign(kTimeBlank);
        appendTime();
        break;
    case 5:
        first.assign("       ");
        AppendDecimal(first, f.Hours(), 2);
        first += ' ';
        appendTimeWithHundredths();
        break;
    default:
        first.assign(kTimeBlank);
        second.assign(kTimeBlank);
        break;
    }
}

// A line is its label, the idle and time columns and the cells; comma-separated files put a
// comma after each column.
void FrameLine::WriteLine(std::string_view label, std::string_view idle, std::string_view time,
                          std::string_view cells) {
    const std::string_view separator = csv_ ? "," : "";
    sink_.Write(label);
    sink_.Write(idle);
    sink_.Write(separator);
    sink_.Write(time);
    sink_.Write(separator);
    sink_.Write(cells);
    sink_.Write(kExportLineEnd);
}

void FrameLine::End() {
    if (cellCount_ == 0 && !hasIdle_ && !hasStamp_) {
        return;
    }
    const std::string_view separator = csv_ ? "," : "";
    const std::string_view direction = direction_ == Direction::Sd   ? (csv_ ? "SD" : " SD ")
                                       : direction_ == Direction::Rd ? (csv_ ? "RD" : " RD ")
                                                                     : (csv_ ? "" : "    ");

    label_.clear();
    AppendDecimal(label_, ++lineNumber_, 7);
    label_.append(separator);
    label_.append(direction);
    label_.append(separator);
    WriteLine(label_, hasIdle_ ? idleColumns_[0] : idleBlank_,
              hasStamp_ ? timeColumns_[0] : timeBlank_, rows_[kCodes]);

    label_.clear();
    AppendDecimal(label_, static_cast<uint32_t>(firstPosition_), 7);
    label_.append(csv_ ? ",," : "    ");
    WriteLine(label_, hasIdle_ ? idleColumns_[1] : idleBlank_,
              hasStamp_ ? timeColumns_[1] : timeBlank_, rows_[kTexts]);

    for (int line = 0; context_.controlRows && line < kControlLineCount; ++line) {
        label_.assign(csv_ ? "," : "        ");
        label_.append(kControlLineNames[line]);
        label_.append(csv_ ? "," : " ");
        WriteLine(label_, idleBlank_, timeBlank_, control_.Row(line));
    }

    for (ExportRow& row : rows_) {
        row.clear();
    }
    control_.Clear();
    cellCount_ = 0;
    direction_ = Direction::None;
    firstPosition_ = 0;
    hasIdle_ = false;
    hasStamp_ = false;
}

} // namespace

void WriteFrameLayout(const ExportLayoutContext& context, ExportSink& sink) {
    FrameLine line(context, sink);
    Direction previousCharacter = Direction::None;
    const ExportRecords& records = context.records;
    const RecordCount total = records.total();
    RingIndex index = records.IndexOf(context.startPosition);
    for (RecordPosition position = context.startPosition; position <= total;
         ++position, index = records.Next(index)) {
        const RecordWord word = records.AtIndex(index);
        const RecordKind kind = KindOf(word);
        switch (kind) {
        case RecordKind::IdleHead:
        case RecordKind::IdleContinuation:
            // A second idle gap before any character starts a line of its own rather than
            // overwrite the first one's columns.
            if (line.cellCount() > 0 || (kind == RecordKind::IdleHead && line.hasIdle())) {
                line.End();
            }
            line.AddIdle(position, word);
            break;
        case RecordKind::StampHead:
        case RecordKind::StampContinuation:
            if (line.cellCount() > 0 || (kind == RecordKind::StampHead && line.hasStamp())) {
                line.End();
            }
            line.AddStamp(position, word);
            break;
        case RecordKind::SdCharacter:
        case RecordKind::SdError:
        case RecordKind::RdCharacter:
        case RecordKind::RdError: {
            const Direction direction = DirectionOf(kind);
            const bool turned =
                previousCharacter != Direction::None && previousCharacter != direction;
            if (line.cellCount() > 0 && (IsLineStart(word) || turned)) {
                line.End();
            }
            previousCharacter = direction;
            line.AddCell(position, word, direction);
            break;
        }
        case RecordKind::ControlLineChange:
            line.AddCell(position, word, Direction::None);
            break;
        default:
            break; // no cell and no column
        }
        if (line.cellCount() >= context.lineLength) {
            line.End();
        }
    }
    line.End();
}

} // namespace varnolt
