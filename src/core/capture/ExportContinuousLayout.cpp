#include "core/capture/ExportControlRows.h"
#include "core/capture/ExportLayouts.h"

#include <algorithm>
#include <string>

namespace varnolt {

namespace {

constexpr std::string_view kBlankPiece = "  ";

// Rows of a continuous block.
enum Row : int { kSdCodes = 0, kSdTexts = 1, kRdCodes = 2, kRdTexts = 3 };
constexpr int kDataRowCount = 4;

// One block of the continuous layout, built row by row and written whole.
class ContinuousBlock {
public:
    explicit ContinuousBlock(const ExportLayoutContext& context);

    void Begin(uint32_t blockNumber, RecordPosition firstPosition);
    void Add(RecordPosition position, RecordWord word);
    void WriteTo(ExportSink& sink) const;

private:
    void AddCharacter(RecordWord word, Row codeRow, Row otherCodeRow);
    void AddIdle(RecordPosition position, RecordWord word);
    void AddStamp(RecordPosition position, RecordWord word);
    void AddBlanks();

    const ExportLayoutContext& context_;
    const ExportCells& cells_;
    std::array<ExportRow, kDataRowCount> rows_;
    ExportControlRows control_;
    // The control rows' labels take the first two fields in a comma-separated file, as in
    // the rows above, so that every record's cells share one column.
    std::array<std::string, kControlLineCount> controlLabels_;
};

ContinuousBlock::ContinuousBlock(const ExportLayoutContext& context)
    : context_(context), cells_(context.cells) {
    const bool csv = cells_.commaSeparated();
    for (int line = 0; line < kControlLineCount; ++line) {
        controlLabels_[line] = std::string(csv ? "," : "        ") +
                               std::string(kControlLineNames[line]) + (csv ? "," : " ");
    }
}

void ContinuousBlock::Begin(uint32_t blockNumber, RecordPosition firstPosition) {
    for (ExportRow& row : rows_) {
        row.clear();
    }
    const bool csv = cells_.commaSeparated();
    AppendDecimal(rows_[kSdCodes], blockNumber, 7);
    rows_[kSdCodes].append(csv ? ",SD," : " SD ");
    AppendDecimal(rows_[kSdTexts], static_cast<uint32_t>(firstPosition), 7);
    rows_[kSdTexts].append(csv ? ",," : "    ");
    rows_[kRdCodes].append(csv ? ",RD," : "        RD ");
    rows_[kRdTexts].append(csv ? ",," : "           ");
    if (context_.controlRows) {
        control_.Begin(controlLabels_);
    }
}

void ContinuousBlock::Add(RecordPosition position, RecordWord word) {
    const bool csv = cells_.commaSeparated();
    if (csv) {
        for (ExportRow& row : rows_) {
            row += ',';
        }
    }
    switch (KindOf(word)) {
    case RecordKind::SdCharacter:
    case RecordKind::SdError:
        AddCharacter(word, kSdCodes, kRdCodes);
        break;
    case RecordKind::RdCharacter:
    case RecordKind::RdError:
        AddCharacter(word, kRdCodes, kSdCodes);
        break;
    case RecordKind::ControlLineChange:
        for (int row = 0; row < kDataRowCount; ++row) {
            rows_[row].append(kExportFiller);
        }
        break;
    case RecordKind::IdleHead:
    case RecordKind::IdleContinuation:
        AddIdle(position, word);
        break;
    case RecordKind::StampHead:
    case RecordKind::StampContinuation:
        AddStamp(position, word);
        break;
    default:
        // No cell, not even a control-line one; the field stays empty.
        if (csv && context_.controlRows) {
            control_.AddComma();
        }
        return;
    }
    if (context_.controlRows) {
        control_.Add(word, csv);
    }
}

void ContinuousBlock::AddCharacter(RecordWord word, Row codeRow, Row otherCodeRow) {
    cells_.AppendCodeCell(rows_[codeRow], word);
    cells_.AppendTextCell(rows_[codeRow + 1], word);
    rows_[otherCodeRow].append(kExportFiller);
    rows_[otherCodeRow + 1].append(kExportFiller);
}

void ContinuousBlock::AddBlanks() {
    for (ExportRow& row : rows_) {
        row.append(kBlankPiece);
    }
}

// An idle gap spreads over its head and two continuations: " I" "DL" "E " across the first
// row and the seconds across the second and third.
void ContinuousBlock::AddIdle(RecordPosition position, RecordWord word) {
    const bool head = KindOf(word) == RecordKind::IdleHead;
    const int step = head ? 0 : context_.records.DistanceToHead(position, RecordKind::IdleHead, 2);
    if (!head && step == 0) {
        if (!cells_.commaSeparated()) {
            AddBlanks(); // a continuation whose head is not in the capture
        }
        return;
    }
    const IdleGap idle = context_.records.IdleAt(position - step);
    const uint32_t v = idle.value;
    if (cells_.commaSeparated()) {
        if (step == 1) {
            rows_[kSdCodes].append("IDLE");
            ExportCells::AppendIdleSeconds(rows_[kSdTexts], idle);
        }
        return;
    }
    ExportRow& seconds = rows_[kSdTexts];
    ExportRow& fraction = rows_[kRdCodes];
    rows_[kSdCodes].append(step == 0 ? " I" : step == 1 ? "DL" : "E ");
    rows_[kRdTexts].append(kBlankPiece);
    const uint8_t resolution = idle.resolution;
    if (resolution < 1 || resolution > 3) {
        seconds.append(kBlankPiece);
        fraction.append(kBlankPiece);
        return;
    }
    if (step == 0) {
        seconds += ' ';
        AppendDecimal(seconds, v / 10000);
        fraction.append(resolution == 1 ? " ." : "  ");
    } else if (step == 1) {
        if (resolution == 1) {
            AppendDecimal(seconds, v / 1000 % 10);
            seconds += ' ';
            AppendDecimal(fraction, v / 10 % 100, 2);
        } else {
            AppendDecimal(seconds, v / 100 % 100, 2);
            if (resolution == 2) {
                fraction += '.';
                AppendDecimal(fraction, v / 10 % 10);
            } else {
                fraction.append(" .");
            }
        }
    } else {
        if (resolution == 3) {
            AppendDecimal(seconds, v / 10 % 10);
            seconds += ' ';
        } else {
            seconds.append(kBlankPiece);
        }
        AppendDecimal(fraction, v % 10);
        fraction += ' ';
    }
}

// A time stamp spreads over its head and three continuations: the date across the first two
// rows, the time across the last two, as far as the stamp kind shows them.
void ContinuousBlock::AddStamp(RecordPosition position, RecordWord word) {
    const bool head = KindOf(word) == RecordKind::StampHead;
    const int step = head ? 0 : context_.records.DistanceToHead(position, RecordKind::StampHead, 3);
    if (!head && step == 0) {
        if (!cells_.commaSeparated()) {
            AddBlanks();
        }
        return;
    }
    const TimeStamp stamp = context_.records.StampAt(position - step);
    if (cells_.commaSeparated()) {
        if (step == 1) {
            ExportCells::AppendStampDate(rows_[kSdCodes], stamp.digits,
                                         context_.display.timeDisplay);
            ExportCells::AppendStampTime(rows_[kSdTexts], stamp.digits,
                                         context_.display.timeDisplay);
        }
        return;
    }
    const StampFields f(stamp.digits);
    const uint8_t kind = stamp.kind;
    const bool fullDate = kind == 1 || kind == 3;
    const bool date = fullDate || kind == 2;
    const bool time = kind == 1 || kind == 2 || kind == 4 || kind == 5;
    const bool hundredths = kind == 2 || kind == 5;

    ExportRow& dateRow = rows_[kSdCodes];
    ExportRow& dayRow = rows_[kSdTexts];
    ExportRow& timeRow = rows_[kRdCodes];
    ExportRow& secondsRow = rows_[kRdTexts];
    switch (step) {
    case 0:
        if (fullDate) {
            dateRow += ' ';
            AppendDecimal(dateRow, f.Date(5));
        } else {
            dateRow.append(kBlankPiece);
        }
        dayRow.append(kBlankPiece);
        if (time) {
            timeRow += ' ';
            AppendDecimal(timeRow, f.Time(7));
        } else {
            timeRow.append(kBlankPiece);
        }
        secondsRow.append(hundredths ? " :" : "  ");
        break;
    case 1:
        if (fullDate) {
            AppendDecimal(dateRow, f.Date(4));
            dateRow += '/';
        } else {
            dateRow.append(kBlankPiece);
        }
        dayRow.append(kBlankPiece);
        if (time) {
            AppendDecimal(timeRow, f.Time(6));
            timeRow += ':';
        } else {
            timeRow.append(kBlankPiece);
        }
        if (hundredths) {
            AppendDecimal(secondsRow, f.Seconds(), 2);
        } else {
            secondsRow.append(kBlankPiece);
        }
        break;
    case 2:
        if (date) {
            AppendDecimal(dateRow, f.Month(), 2);
            dayRow += '/';
            AppendDecimal(dayRow, f.Date(1));
        } else {
            dateRow.append(kBlankPiece);
            dayRow.append(kBlankPiece);
        }
        if (time) {
            AppendDecimal(timeRow, f.Minutes(), 2);
            secondsRow += hundredths ? '.' : ':';
            AppendDecimal(secondsRow, hundredths ? f.Time(1) : f.Time(3));
        } else {
            timeRow.append(kBlankPiece);
            secondsRow.append(kBlankPiece);
        }
        break;
    default:
        dateRow.append(kBlankPiece);
        if (date) {
            AppendDecimal(dayRow, f.Date(0));
            dayRow += ' ';
        } else {
            dayRow.append(kBlankPiece);
        }
        timeRow.append(kBlankPiece);
        if (time) {
            AppendDecimal(secondsRow, hundredths ? f.Time(0) : f.Time(2));
            secondsRow += ' ';
        } else {
            secondsRow.append(kBlankPiece);
        }
        break;
    }
}

void ContinuousBlock::WriteTo(ExportSink& sink) const {
    for (const ExportRow& row : rows_) {
        sink.Write(row);
        sink.Write(kExportLineEnd);
    }
    for (int line = 0; context_.controlRows && line < kControlLineCount; ++line) {
        sink.Write(control_.Row(line));
        sink.Write(kExportLineEnd);
    }
    sink.Write(kExportLineEnd);
}

} // namespace

void WriteContinuousLayout(const ExportLayoutContext& context, ExportSink& sink) {
    ContinuousBlock block(context);
    const ExportRecords& records = context.records;
    const RecordCount total = records.total();
    RingIndex index = records.IndexOf(context.startPosition);
    uint32_t blockNumber = 0;
    // Block arithmetic in 64 bits: a block's end may lie far past the newest record (a line
    // length up to 2^31 - 1), and must not wrap round to a position inside the capture.
    for (int64_t first = context.startPosition; first <= total; first += context.lineLength) {
        const auto blockFirst = static_cast<RecordPosition>(first);
        block.Begin(++blockNumber, blockFirst);
        const auto end = static_cast<RecordPosition>(
            std::min<int64_t>(first + context.lineLength, int64_t{total} + 1));
        for (RecordPosition position = blockFirst; position < end; ++position) {
            block.Add(position, records.AtIndex(index));
            index = records.Next(index);
        }
        block.WriteTo(sink);
    }
}

} // namespace varnolt
