#include "sim/AnalyzerFirmware.h"

#include "core/link/protocol/RequestFrame.h"

#include <algorithm>

namespace varnolt::sim {

void AddLinkCommands(AnalyzerFirmware& firmware);
void AddSettingsCommands(AnalyzerFirmware& firmware);
void AddMeasurementCommands(AnalyzerFirmware& firmware);
void AddTransferCommands(AnalyzerFirmware& firmware);
void AddScreenCommands(AnalyzerFirmware& firmware);
void AddLoaderCommands(AnalyzerFirmware& firmware);
void AddStoredFileCommands(AnalyzerFirmware& firmware);

namespace {

constexpr size_t kChecksumCharacters = 2;

bool StartsWith(std::span<const uint8_t> frame, std::string_view letters) {
    return frame.size() >= letters.size() &&
           std::equal(letters.begin(), letters.end(), frame.begin());
}

} // namespace

AnswerFrame Answer(std::string_view text, bool checksum) {
    return BuildFrame(text, checksum ? FrameChecksum::With : FrameChecksum::Without);
}

AnswerFrame Ack() {
    return Answer("ACK");
}

AnswerFrame Nak() {
    return Answer("NAK");
}

AnalyzerFirmware::AnalyzerFirmware() {
    AddLinkCommands(*this);
    AddSettingsCommands(*this);
    AddMeasurementCommands(*this);
    AddTransferCommands(*this);
    AddScreenCommands(*this);
    AddLoaderCommands(*this);
    AddStoredFileCommands(*this);
}

void AnalyzerFirmware::AddCommand(std::string_view command, RequestChecksum checksum,
                                  Handler handler) {
    std::erase_if(commands_, [command](const Command& known) { return known.letters == command; });
    commands_.push_back({std::string(command), checksum, std::move(handler)});
    // Longer names first, so that "SWC" is found before a two-letter "SW" could be.
    std::stable_sort(commands_.begin(), commands_.end(), [](const Command& a, const Command& b) {
        return a.letters.size() > b.letters.size();
    });
}

const AnalyzerFirmware::Command* AnalyzerFirmware::find(std::span<const uint8_t> frame) const {
    for (const Command& command : commands_) {
        if (StartsWith(frame, command.letters)) {
            return &command;
        }
    }
    return nullptr;
}

std::vector<AnswerFrame> AnalyzerFirmware::Handle(std::span<const uint8_t> frame) {
    const Command* command = find(frame);
    if (LoaderAnswers(*this)) {
        // The loader knows only its own frames and stays silent to the rest.
        if (command == nullptr || (command->letters != "INI" && command->letters != "WSTOP")) {
            return {};
        }
    }
    if (command == nullptr) {
        return {Nak()};
    }
    std::span<const uint8_t> parameters = frame.subspan(command->letters.size());
    if (command->checksum == RequestChecksum::With) {
        if (parameters.size() < kChecksumCharacters || !EndsWithChecksum(frame)) {
            return {Nak()};
        }
        parameters = parameters.first(parameters.size() - kChecksumCharacters);
    }
    return command->handler(*this, Request{command->letters, parameters});
}

std::vector<AnswerFrame> AnalyzerFirmware::HandleLine(std::span<const uint8_t> line) {
    return HandleLoaderLine(*this, line);
}

AnswerFrame AnalyzerFirmware::Refusal(bool line) {
    return line ? LoaderLine("NAK") : Nak();
}

} // namespace varnolt::sim
