#include "core/capture/CaptureFileFormat.h"
#include "sim/AnalyzerFirmware.h"
#include "sim/HostTransfer.h"
#include "sim/MeasurementEngine.h"
#include "sim/StoredFileMemory.h"

namespace varnolt::sim {

namespace {

using Answers = std::vector<AnswerFrame>;

// While it measures the analyzer does not open its file memory; it only acknowledges.
bool Measuring(const AnalyzerFirmware& state) {
    return state.measurement != nullptr && state.measurement->measuring();
}

// The list: each "ACK" brings the next entry, then the end; the "ACK" of the end closes it.
class ListTransfer final : public HostTransfer {
public:
    Answers Acknowledged(AnalyzerFirmware& state) override {
        if (std::optional<AnswerFrame> next = state.storedFiles->NextListAnswer()) {
            return {std::move(*next)};
        }
        finished_ = true;
        return {};
    }
    // The list is never asked again entry by entry; "DR" starts it afresh.
    Answers Refused(AnalyzerFirmware&) override { return {}; }
    [[nodiscard]] bool finished() const override { return finished_; }

private:
    bool finished_ = false;
};

// Sends ANSWER with the time a file block takes on the link.
Answers FileAnswer(AnalyzerFirmware& state, AnswerFrame answer) {
    state.answerDelayMs = state.storedFiles->TransferMs(answer);
    return {std::move(answer)};
}

// A file: each "ACK" brings the next block, then the end; "NAK" the last answer again.
class FileTransfer final : public HostTransfer {
public:
    Answers Acknowledged(AnalyzerFirmware& state) override {
        if (std::optional<AnswerFrame> next = state.storedFiles->NextFileAnswer()) {
            return FileAnswer(state, std::move(*next));
        }
        finished_ = true;
        return {};
    }
    Answers Refused(AnalyzerFirmware& state) override {
        return FileAnswer(state, state.storedFiles->RepeatFileAnswer());
    }
    [[nodiscard]] bool finished() const override { return finished_; }

private:
    bool finished_ = false;
};

// "DR": the list of stored files, one entry per "ACK".
Answers BeginList(AnalyzerFirmware& state, const Request&) {
    if (Measuring(state)) {
        return {Ack()};
    }
    state.transfer = std::make_shared<ListTransfer>();
    return {state.storedFiles->BeginList()};
}

// "FR" and the file number as four decimal digits: the file, one block per "ACK".
Answers BeginFile(AnalyzerFirmware& state, const Request& request) {
    if (Measuring(state)) {
        return {Ack()};
    }
    state.transfer.reset();
    const std::string_view digits = request.parameterText();
    if (digits.size() != 4) {
        return {Nak()};
    }
    std::optional<AnswerFrame> first = state.storedFiles->BeginFile(DecimalPrefix(digits));
    if (!first) {
        return {Nak()};
    }
    state.transfer = std::make_shared<FileTransfer>();
    return FileAnswer(state, std::move(*first));
}

} // namespace

// The requests of the file memory: its list and its files.
void AddStoredFileCommands(AnalyzerFirmware& firmware) {
    firmware.storedFiles = std::make_shared<StoredFileMemory>();
    firmware.AddCommand("DR", RequestChecksum::Without, BeginList);
    firmware.AddCommand("FR", RequestChecksum::Without, BeginFile);
}

} // namespace varnolt::sim
