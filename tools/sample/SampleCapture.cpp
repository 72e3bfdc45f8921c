// Writes a capture file of the virtual analyzer's traffic: realistic material for looking at
// the program, for printing and for demonstrations without an analyzer.
//
//   varnolt-sample-capture OUT.tvd RECORDS [--speed B] [--control-lines] [--idle 1|2|3]
//                          [--time 1..5] [--frame] [--seed S]
//                          [--traffic exchanges|saturated|modbus]

#include "core/capture/CCaptureData.h"
#include "core/capture/CaptureFileWriter.h"
#include "core/platform/UserPrompt.h"
#include "sim/TrafficGenerator.h"

#include <charconv>
#include <cstdio>
#include <iostream>
#include <string>
#include <string_view>

namespace {

class PrintingPrompt final : public varnolt::UserPrompt {
public:
    void message(std::string_view text, std::string_view, varnolt::PromptIcon) override {
        std::cerr << text << '\n';
    }
    varnolt::PromptAnswer ask(std::string_view text, std::string_view, varnolt::PromptButtons,
                              varnolt::PromptIcon) override {
        std::cerr << text << '\n';
        return varnolt::PromptAnswer::Cancel;
    }
};

bool ToNumber(std::string_view text, uint64_t& value) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

int Usage() {
    std::cerr << "usage: varnolt-sample-capture OUT.tvd RECORDS [--speed B] [--control-lines]"
                 " [--idle 1|2|3] [--time 1..5] [--frame] [--seed S]"
                 " [--traffic exchanges|saturated|modbus]\n";
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    using namespace varnolt;
    if (argc < 3) {
        return Usage();
    }
    uint64_t records = 0;
    if (!ToNumber(argv[2], records) || records == 0 || records > kMaxRingCapacity) {
        return Usage();
    }
    sim::TrafficSettings traffic;
    int displayMode = 0;
    for (int i = 3; i < argc; ++i) {
        const std::string_view option = argv[i];
        uint64_t value = 0;
        const bool hasValue = i + 1 < argc && ToNumber(argv[i + 1], value);
        if (option == "--control-lines") {
            traffic.recordWidth = 1;
        } else if (option == "--frame") {
            displayMode = 1;
        } else if (option == "--speed" && hasValue) {
            traffic.speed = static_cast<uint32_t>(value);
            ++i;
        } else if (option == "--idle" && hasValue && value <= 3) {
            traffic.idleDisplay = static_cast<int32_t>(value);
            ++i;
        } else if (option == "--time" && hasValue && value <= 5) {
            traffic.timeDisplay = static_cast<int32_t>(value);
            ++i;
        } else if (option == "--seed" && hasValue) {
            traffic.seed = value;
            ++i;
        } else if (option == "--traffic" && i + 1 < argc && sim::TrafficKindNamed(argv[i + 1])) {
            traffic.kind = *sim::TrafficKindNamed(argv[++i]);
        } else {
            return Usage();
        }
    }

    CCaptureData store(static_cast<RecordCount>(records));
    CaptureHeader& header = store.header();
    header.speed = traffic.speed;
    header.recordWidth = traffic.recordWidth;
    header.idleDisplay = traffic.idleDisplay;
    header.timeDisplay = traffic.timeDisplay;
    header.formatVersion = 110;
    header.frameDetectionTime = traffic.frameDetectionMs;
    sim::TrafficGenerator generator(traffic);
    // Whole items only: a time stamp or idle group is never cut at the end.
    while (true) {
        const sim::TrafficItem& item = generator.Peek();
        if (store.Count() + static_cast<RecordCount>(item.words.size()) >
            static_cast<RecordCount>(records)) {
            break;
        }
        for (RecordWord word : item.words) {
            store.Append(word, 0);
        }
        generator.Pop();
    }
    PrintingPrompt prompt;
    const CaptureSaveRange range{SaveSource::Ring, store.firstIndex(), store.lastIndex()};
    return WriteCaptureFile(argv[1], header, displayMode, store, range, prompt) ? 0 : 1;
}
