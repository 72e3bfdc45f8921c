// Writes seed inputs for the fuzz targets, made by the program's own writers and encoders and
// by the virtual analyzer's firmware, into OUT/<target>/: capture files, settings files,
// settings-block answers and streams of analyzer answers. tools/fuzz/refresh_corpus.sh fuzzes
// from them and keeps a minimised corpus in fuzz/corpus/.
//
//   make_fuzz_seeds OUT

#include "core/capture/CCaptureData.h"
#include "core/capture/CaptureFileFormat.h"
#include "core/capture/CaptureFileWriter.h"
#include "core/link/protocol/FrameTerminator.h"
#include "core/link/protocol/RequestFrame.h"
#include "core/platform/BinaryWriter.h"
#include "core/platform/UserPrompt.h"
#include "core/settings/CSaParameter.h"
#include "core/settings/SettingsBlockCodec.h"
#include "sim/AnalyzerFirmware.h"
#include "sim/MeasurementEngine.h"
#include "sim/TrafficGenerator.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

using namespace varnolt;

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

class ConsolePrompt final : public UserPrompt {
public:
    void message(std::string_view text, std::string_view, PromptIcon) override {
        std::fprintf(stderr, "make_fuzz_seeds: %.*s\n", static_cast<int>(text.size()), text.data());
        failed = true;
    }
    PromptAnswer ask(std::string_view, std::string_view, PromptButtons, PromptIcon) override {
        return PromptAnswer::Ok;
    }
    bool failed = false;
};

class SeedFolder {
public:
    SeedFolder(const fs::path& root, std::string_view target) : folder_(root / target) {
        fs::create_directories(folder_);
    }
    [[nodiscard]] fs::path path(std::string_view name) const { return folder_ / name; }
    // A target's input of OPTIONS bytes, then the record words ITEMS.
    void writeWords(std::string_view name, std::initializer_list<uint8_t> options,
                    std::span<const RecordWord> items) const {
        Bytes input(options);
        BinaryWriter out(input);
        for (const RecordWord word : items) {
            out.writeU32(word);
        }
        write(name, input);
    }
    void write(std::string_view name, std::span<const uint8_t> bytes) const {
        std::ofstream out(path(name), std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        if (!out) {
            std::fprintf(stderr, "make_fuzz_seeds: cannot write %s\n", path(name).c_str());
        }
    }

private:
    fs::path folder_;
};

// Settings that differ from the defaults wherever a decoder or a normalizer makes a choice:
// RS-422 simulation, odd parity, idle and time display, control-line capture, frame display
// with delimiters, two triggers with patterns, timers, counters and transmit strings.
CSaParameter VariedSettings() {
    CSaParameter m;
    m.lineMode = kLineRs422Simulation;
    m.speed = 115'200;
    m.dataBits = 7;
    m.stopBits = 2;
    m.parity = kParityOdd;
    m.transmitOutput = 1;
    m.idleDisplay = 1;
    m.timeDisplay = 2;
    m.controlLineCapture = 1;
    m.displayMode = 1;
    m.frameDetectionTime = 250;
    m.frameDelimiters[0] = {1, 0x0D, 0};
    m.frameDelimiters[1] = {1, 0x0A, 0};
    m.backlightOffTime = 30;
    SaTriggerEntry& onCharacters = m.triggers[0];
    onCharacters.enabled = 0xFF;
    onCharacters.condition = kTriggerOnCharacters;
    onCharacters.action = kTriggerSend;
    onCharacters.transmitNumber = 1;
    for (size_t j = 0; j < 3; ++j) {
        onCharacters.pattern[j] = {kPatternCharacter, static_cast<uint8_t>('A' + j)};
    }
    onCharacters.pattern[3] = {kPatternAny, 0};
    SaTriggerEntry& onIdle = m.triggers[1];
    onIdle.enabled = 0xFF;
    onIdle.condition = kTriggerOnIdle;
    onIdle.conditionValue = 3;
    onIdle.action = kTriggerSave;
    onIdle.actionValue1 = 10;
    onIdle.actionValue2 = 10;
    SaTriggerEntry& onError = m.triggers[2];
    onError.enabled = 0xFF;
    onError.condition = kTriggerOnError;
    onError.action = kTriggerSave;
    onError.actionValue1 = 5;
    onError.actionValue2 = 5;
    m.timers[0].setValue = 1500;
    m.timers[0].unit = kTimerUnitHundredth;
    m.counters[1].setValue = 99;
    m.counters[1].resetAtStart = 1;
    for (size_t k = 0; k < 3; ++k) {
        SaTxEntry& entry = m.transmitEntries[k];
        entry.elementCount = static_cast<int32_t>(4 + k);
        for (int32_t j = 0; j < entry.elementCount; ++j) {
            entry.elements[static_cast<size_t>(j)] = {kPatternCharacter,
                                                      static_cast<uint8_t>(0x30 + j)};
        }
    }
    return m;
}

// ---- Analyzer answers ------------------------------------------------------------------------

// The virtual analyzer's firmware, asked as the program asks it.
class Firmware {
public:
    // The answers to a request TEXT, checksummed or not as the command wants. The firmware
    // takes frames without their terminator.
    std::vector<Bytes> ask(std::string_view text, FrameChecksum checksum) {
        Bytes frame = BuildFrame(text, checksum);
        frame.resize(frame.size() - kFrameTerminator.size());
        return firmware_.Handle(frame);
    }
    // Writes every settings block of MODEL, as the settings upload does.
    void upload(const CSaParameter& model) {
        Bytes frame(kSettingsFrameCapacity);
        for (const SettingsBlockAddress address : kSettingsBlockAddresses) {
            const size_t length = EncodeSettingsBlock(frame, address, model);
            (void)firmware_.Handle(
                std::span<const uint8_t>(frame).first(length - kFrameTerminator.size()));
        }
    }
    void advance(uint32_t ms) { firmware_.now += ms; }
    sim::AnalyzerFirmware& state() { return firmware_; }

private:
    sim::AnalyzerFirmware firmware_;
};

void Append(Bytes& stream, const std::vector<Bytes>& answers) {
    for (const Bytes& answer : answers) {
        stream.insert(stream.end(), answer.begin(), answer.end());
    }
}

// The data of an "SRE"/"SRF" answer: what follows its letters (and address) up to the end.
Bytes AnswerData(const Bytes& answer, size_t head) {
    return Bytes(answer.begin() + static_cast<std::ptrdiff_t>(head), answer.end());
}

// Default settings but for a trigger that stops the measurement at the first line error.
CSaParameter StoppingSettings() {
    CSaParameter m;
    m.triggers[0].enabled = 0xFF;
    m.triggers[0].condition = kTriggerOnError;
    m.triggers[0].action = kTriggerStop;
    return m;
}

// A live measurement as the program runs it: short settings, start, blocks, status, stop, then
// the stored-data download. UNREAD_LIMIT > 0 lets the analyzer overflow. Every answer in order.
std::vector<Bytes> MeasurementAnswers(const CSaParameter& settings, int32_t unreadLimit = 0) {
    Firmware analyzer;
    analyzer.upload(settings);
    sim::MeasurementOptions& options = analyzer.state().measurement->options();
    options.blockUnits = 48;
    options.errorsPerMillion = 50'000;
    options.unreadLimit = unreadLimit;
    std::vector<Bytes> answers;
    const auto take = [&answers](const std::vector<Bytes>& got) {
        answers.insert(answers.end(), got.begin(), got.end());
    };
    take(analyzer.ask("ENW01", FrameChecksum::With));
    take(analyzer.ask("SRG", FrameChecksum::With));
    take(analyzer.ask("PSW0A", FrameChecksum::With));
    analyzer.advance(30);
    take(analyzer.ask("BS", FrameChecksum::Without));
    for (int k = 0; k < 6; ++k) {
        analyzer.advance(20);
        take(analyzer.ask("BN", FrameChecksum::Without));
    }
    take(analyzer.ask("BR", FrameChecksum::Without));
    take(analyzer.ask("BL", FrameChecksum::Without));
    take(analyzer.ask("PSW0B", FrameChecksum::With));
    take(analyzer.ask("SRF", FrameChecksum::With));
    take(analyzer.ask("BC", FrameChecksum::Without));
    take(analyzer.ask("BA", FrameChecksum::Without));
    take(analyzer.ask("BB", FrameChecksum::Without));
    return answers;
}

// The answer's name letters, for file names.
std::string AnswerKind(const Bytes& answer) {
    std::string kind(answer.begin(), answer.begin() + std::min<size_t>(3, answer.size()));
    std::replace_if(
        kind.begin(), kind.end(), [](char c) { return c < 'A' || c > 'Z'; }, '_');
    return kind;
}

// The first answer of each kind among ANSWERS.
std::vector<Bytes> OnePerKind(const std::vector<Bytes>& answers) {
    std::vector<Bytes> kept;
    std::vector<std::string> seen;
    for (const Bytes& answer : answers) {
        const std::string kind = AnswerKind(answer);
        if (std::find(seen.begin(), seen.end(), kind) == seen.end()) {
            seen.push_back(kind);
            kept.push_back(answer);
        }
    }
    return kept;
}

// Answers of the link's own requests: versions, page, counters, refusals.
std::vector<Bytes> LinkAnswers() {
    Firmware analyzer;
    std::vector<Bytes> answers;
    for (const auto& [text, checksum] : std::vector<std::pair<std::string_view, FrameChecksum>>{
             {"ENW01", FrameChecksum::With},
             {"VER", FrameChecksum::Without},
             {"VEF", FrameChecksum::Without},
             {"PGR", FrameChecksum::Without},
             {"PSW05", FrameChecksum::With},
             {"SWC02", FrameChecksum::With},
             {"XYZ", FrameChecksum::Without},
             {"ENW07", FrameChecksum::With},
         }) {
        const std::vector<Bytes> got = analyzer.ask(text, checksum);
        answers.insert(answers.end(), got.begin(), got.end());
    }
    return answers;
}

void WriteLinkSeeds(const fs::path& root) {
    const SeedFolder folder(root, "link_answer");
    const std::vector<Bytes> link = LinkAnswers();
    const std::vector<Bytes> measured = MeasurementAnswers(VariedSettings());
    const std::vector<Bytes> plain = MeasurementAnswers(CSaParameter{});

    // The first byte picks the chunk size the bridge delivers and the answer area's size.
    const auto seed = [&folder](std::string_view name, uint8_t control,
                                const std::vector<Bytes>& answers) {
        Bytes stream{control};
        Append(stream, answers);
        folder.write(name, stream);
    };
    seed("seed-link-answers-bytewise", 0x00, link);
    seed("seed-link-answers-large-area", 0xFF, link);
    seed("seed-measurement-varied", 0xBF, measured);
    seed("seed-measurement-small-area", 0x07, measured);
    seed("seed-measurement-default", 0xFE, plain);
    // One answer each, in a generous area: every answer kind on its own.
    for (const Bytes& answer : OnePerKind(measured)) {
        seed("seed-answer-" + AnswerKind(answer), 0xFF, {answer});
    }
}

// Single answers of online reception as the analyzer sends them, one of each kind per run:
// data blocks of both record widths, status, trigger and run-state reports, overflows.
void WriteReceptionSeeds(const fs::path& root) {
    const SeedFolder folder(root, "reception_answers");
    constexpr std::array<std::string_view, 5> kParsed{"BD_", "BL_", "BO_", "PTR", "PSS"};
    const std::vector<std::pair<std::string_view, std::vector<Bytes>>> runs{
        {"width1", MeasurementAnswers(VariedSettings())},
        {"width0", MeasurementAnswers(CSaParameter{})},
        {"stopping", MeasurementAnswers(StoppingSettings())},
        {"overflow", MeasurementAnswers(CSaParameter{}, 20)},
    };
    for (const auto& [run, answers] : runs) {
        for (const Bytes& answer : OnePerKind(answers)) {
            const std::string kind = AnswerKind(answer);
            if (std::find(kParsed.begin(), kParsed.end(), kind) != kParsed.end()) {
                folder.write("seed-" + std::string(run) + "-" + kind, answer);
            }
        }
    }
}

// ---- Settings blocks -------------------------------------------------------------------------

void WriteSettingsBlockSeeds(const fs::path& root) {
    const SeedFolder folder(root, "settings_block");
    // The target's first byte below C0 selects a real block by the second byte's index.
    const auto seed = [&folder](std::string_view name, uint8_t high, uint8_t low,
                                const Bytes& data) {
        Bytes input{high, low};
        input.insert(input.end(), data.begin(), data.end());
        folder.write(name, input);
    };
    const CSaParameter varied = VariedSettings();
    Bytes frame(kSettingsFrameCapacity);
    for (const size_t index : {0u, 1u, 2u, 26u}) {
        const SettingsBlockAddress address = kSettingsBlockAddresses[index];
        const size_t length = EncodeSettingsBlock(frame, address, varied);
        // "SWE" and the address precede the payload the decoder takes.
        seed("seed-block-" + std::to_string(index) + "-varied", 0x00, static_cast<uint8_t>(index),
             Bytes(frame.begin() + 7, frame.begin() + length));
    }
    Firmware analyzer;
    const Bytes general = analyzer.ask("SRE0000", FrameChecksum::With).front();
    seed("seed-block-0-default", 0x00, 0, AnswerData(general, 7));
    const Bytes transmit = analyzer.ask("SRE1400", FrameChecksum::With).front();
    seed("seed-block-3-default", 0x00, 3, AnswerData(transmit, 7));
    // An address that names no block: the answer carries no payload.
    const Bytes none = analyzer.ask("SREC800", FrameChecksum::With).front();
    seed("seed-no-block", 0xC8, 0x00, AnswerData(none, 7));

    analyzer.upload(varied);
    const Bytes shortSettings = analyzer.ask("SRG", FrameChecksum::With).front();
    seed("seed-short-settings-varied", 0x00, 0, AnswerData(shortSettings, 3));
}

// ---- Settings files --------------------------------------------------------------------------

void WriteSettingsFileSeeds(const fs::path& root, ConsolePrompt& prompt) {
    const SeedFolder folder(root, "settings_file");
    (void)CSaParameter{}.SaveFile(folder.path("seed-default.tvs"), prompt);
    (void)VariedSettings().SaveFile(folder.path("seed-varied.tvs"), prompt);
}

// ---- Capture files ---------------------------------------------------------------------------

// What the virtual analyzer records in MS milliseconds with SETTINGS, at most LIMIT items.
// At least `limit` items of the virtual analyzer's traffic: it measures for `ms` or, when that
// recorded too little, for longer.
std::vector<RecordWord> RecordedItems(const CSaParameter& settings, uint32_t ms, size_t limit) {
    for (uint32_t duration = ms; duration <= ms * 64; duration *= 2) {
        sim::MeasurementEngine engine;
        engine.options().errorsPerMillion = 50'000;
        engine.options().keepLog = true;
        engine.Start(settings, 0);
        engine.Stop(duration);
        std::vector<RecordWord> items = engine.produced();
        if (items.size() >= limit) {
            items.resize(limit);
            return items;
        }
    }
    // The seeds take stretches of these items; a short list would make them read past it.
    std::fprintf(stderr, "the virtual analyzer recorded fewer than %zu items\n", limit);
    std::exit(1);
}

Bytes CaptureBytes(const CaptureHeader& header, int displayMode,
                   std::span<const RecordWord> items) {
    CCaptureData store(static_cast<RecordCount>(std::max<size_t>(items.size(), 1)));
    for (const RecordWord word : items) {
        (void)store.Append(word, 0);
    }
    Bytes bytes;
    BinaryWriter out(bytes);
    WriteCapture(out, header, displayMode, store, {SaveSource::Ring, 0, store.lastIndex()});
    return bytes;
}

void WriteCaptureSeeds(const fs::path& root, ConsolePrompt& prompt) {
    const SeedFolder folder(root, "capture_reader");
    const fs::path data = fs::path(VARNOLT_SOURCE_DIR) / "tests/data/capture";
    for (const char* stored : {"current.tvd", "old.tvd"}) {
        fs::copy_file(data / stored, folder.path(std::string("stored-") + stored),
                      fs::copy_options::overwrite_existing);
    }

    const CSaParameter varied = VariedSettings();
    CaptureHeader header;
    header.lineMode = static_cast<uint16_t>(varied.lineMode);
    header.speed = varied.speed;
    header.dataBits = static_cast<uint16_t>(varied.dataBits);
    header.stopBits = static_cast<uint16_t>(varied.stopBits);
    header.parity = varied.parity;
    header.idleDisplay = varied.idleDisplay;
    header.timeDisplay = varied.timeDisplay;
    header.frameDetectionTime = static_cast<uint32_t>(varied.frameDetectionTime);
    header.delimiters = varied.frameDelimiters;
    header.recordWidth = 1;
    const std::vector<RecordWord> wide = RecordedItems(varied, 40, 160);
    folder.write("seed-width1-idle-stamps.tvd", CaptureBytes(header, 1, wide));

    CSaParameter narrowSettings;
    narrowSettings.idleDisplay = 3;
    narrowSettings.timeDisplay = 5;
    CaptureHeader narrow;
    narrow.idleDisplay = 3;
    narrow.timeDisplay = 5;
    const std::vector<RecordWord> items = RecordedItems(narrowSettings, 40, 120);
    folder.write("seed-width0.tvd", CaptureBytes(narrow, 0, items));
    folder.write("seed-empty.tvd", CaptureBytes(CaptureHeader{}, 0, {}));

    // Header words of the analyzer's older data formats (the version spelt in words 0 ... 3).
    for (const std::string_view version : {"0002", "0003", "0004"}) {
        CaptureHeaderWords words = EncodeCaptureHeader(narrow, 0);
        std::copy(version.begin(), version.end(), words.begin());
        Bytes bytes;
        BinaryWriter out(bytes);
        WriteCapture(out, words, std::span<const RecordWord>(items).first(24));
        folder.write("seed-data-format-" + std::string(version) + ".tvd", bytes);
    }

    // The same capture written through the file path, cut short among its records.
    const fs::path whole = folder.path("seed-cut.tvd");
    CCaptureData store(static_cast<RecordCount>(items.size()));
    for (const RecordWord word : items) {
        (void)store.Append(word, 0);
    }
    if (WriteCaptureFile(whole, narrow, 0, store, {SaveSource::Ring, 0, store.lastIndex()},
                         prompt)) {
        fs::resize_file(whole, fs::file_size(whole) - 4 * 40 - 1);
    }
}

// Four option bytes (record width, layout, idle and time display, file type, cells; ring size;
// line length and control lines; start position), then the virtual analyzer's record words.
void WriteExportSeeds(const fs::path& root) {
    const SeedFolder folder(root, "capture_export");
    CSaParameter narrowSettings;
    narrowSettings.idleDisplay = 3;
    narrowSettings.timeDisplay = 5;
    const std::vector<RecordWord> narrow = RecordedItems(narrowSettings, 40, 100);
    folder.writeWords("seed-continuous-wrapped", {0x5C, 40, 0x50, 3}, narrow);
    folder.writeWords("seed-frame-whole", {0x5E, 120, 0x14, 0}, narrow);
    const std::vector<RecordWord> wide = RecordedItems(VariedSettings(), 40, 100);
    folder.writeWords("seed-control-lines-wrapped", {0xC7, 50, 0x21, 9}, wide);
}

// Six option bytes (record width, parity, stop and data bits; ring size; speed; which frame
// delimiters are on; their first code; the file's time and zone), then record words: the virtual
// analyzer's, and a capture whose stamps without a year come before one with a year.
void WriteInteropSeeds(const fs::path& root) {
    const SeedFolder folder(root, "capture_interop");
    CSaParameter withYears;
    withYears.timeDisplay = 1;
    withYears.idleDisplay = 2;
    folder.writeWords("seed-years-wrapped", {0x70, 40, 2, 0, 0x0D, 0x30},
                      RecordedItems(withYears, 40, 100));
    folder.writeWords("seed-control-lines-delimiters", {0x7D, 120, 4, 0x03, 0x0D, 0x31},
                      RecordedItems(VariedSettings(), 40, 100));
    std::vector<RecordWord> mixed;
    for (const uint8_t kind : {2, 1}) {
        const std::vector<RecordWord> stamp =
            sim::TimeStampWords(kind, uint64_t{kind} * 1'000'000'000);
        mixed.insert(mixed.end(), stamp.begin(), stamp.end());
        for (const char c : std::string_view("AT\r")) {
            mixed.push_back(MakeRecordWord(RecordKind::SdCharacter, static_cast<uint8_t>(c)));
        }
    }
    folder.writeWords("seed-year-after-yearless", {0x00, 60, 2, 0, 0, 0x35}, mixed);
}

} // namespace

void WriteLineSeeds(const fs::path& root);   // LineSeeds.cpp
void WriteParserSeeds(const fs::path& root); // ParserSeeds.cpp

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUT\n", argv[0]);
        return 2;
    }
    const fs::path root = argv[1];
    ConsolePrompt prompt;
    WriteCaptureSeeds(root, prompt);
    WriteExportSeeds(root);
    WriteInteropSeeds(root);
    WriteSettingsFileSeeds(root, prompt);
    WriteSettingsBlockSeeds(root);
    WriteLinkSeeds(root);
    WriteReceptionSeeds(root);
    WriteLineSeeds(root);
    WriteParserSeeds(root);
    return prompt.failed ? 1 : 0;
}
