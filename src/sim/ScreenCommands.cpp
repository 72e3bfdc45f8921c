#include "core/link/protocol/HexFormat.h"
#include "sim/AnalyzerFirmware.h"
#include "sim/HostTransfer.h"
#include "sim/ScreenPicture.h"

#include <memory>
#include <string>

namespace varnolt::sim {

namespace {

using Answers = std::vector<AnswerFrame>;

// The display, sent one pixel row per "CP" line, each line acknowledged by the PC, then "CE".
class ScreenTransfer final : public HostTransfer {
public:
    explicit ScreenTransfer(std::vector<uint16_t> pixels) : pixels_(std::move(pixels)) {}

    [[nodiscard]] AnswerFrame row(int32_t number) const {
        std::string line = "CP";
        for (int32_t column = 0; column < kScreenWidth; ++column) {
            AppendHex(line, pixels_[static_cast<size_t>(number * kScreenWidth + column)], 4);
        }
        line += '\n';
        return {line.begin(), line.end()};
    }

    Answers Acknowledged(AnalyzerFirmware&) override {
        if (sent_ < kScreenHeight) {
            return {row(sent_++)};
        }
        if (sent_ == kScreenHeight) {
            ++sent_;
            const std::string end = "CE\n";
            return {AnswerFrame(end.begin(), end.end())};
        }
        finished_ = true;
        return {};
    }
    // The capture has no repetition: a refusal ends it as "ESC" does.
    Answers Refused(AnalyzerFirmware&) override {
        finished_ = true;
        return {};
    }
    [[nodiscard]] bool finished() const override { return finished_; }

    // The first row goes out with the request's answer.
    [[nodiscard]] AnswerFrame Start() { return row(sent_++); }

private:
    std::vector<uint16_t> pixels_;
    int32_t sent_ = 0;
    bool finished_ = false;
};

} // namespace

// "CP": a picture of the display as it is now, sent as "CP" lines and "CE".
void AddScreenCommands(AnalyzerFirmware& firmware) {
    firmware.AddCommand(
        "CP", RequestChecksum::Without, [](AnalyzerFirmware& state, const Request&) {
            auto transfer = std::make_shared<ScreenTransfer>(DrawAnalyzerScreen(state));
            Answers answers{transfer->Start()};
            state.transfer = std::move(transfer);
            return answers;
        });
}

} // namespace varnolt::sim
