#include "core/interop/CaptureJoin.h"

#include "core/capture/CaptureFileFormat.h"
#include "core/capture/CaptureFileReader.h"
#include "core/capture/CaptureFileWriter.h"
#include "core/interop/InteropText.h"
#include "core/platform/BinaryReader.h"
#include "core/platform/BinaryWriter.h"
#include "core/platform/FileError.h"
#include "core/platform/UserPrompt.h"

#include <memory>

namespace varnolt {

namespace {

// Passes the reader's messages on and counts them: a file read with a message is damaged.
class CountingPrompt final : public UserPrompt {
public:
    explicit CountingPrompt(UserPrompt& inner) : inner_(inner) {}
    void message(std::string_view text, std::string_view caption, PromptIcon icon) override {
        ++count;
        inner_.message(text, caption, icon);
    }
    PromptAnswer ask(std::string_view text, std::string_view caption, PromptButtons buttons,
                     PromptIcon icon) override {
        ++count;
        return inner_.ask(text, caption, buttons, icon);
    }
    int count = 0;

private:
    UserPrompt& inner_;
};

// The display-mode word (17) of the capture file at PATH, which the header decoder does not
// keep; 0 when the file does not carry one.
int DisplayModeOf(const std::filesystem::path& path) {
    constexpr size_t kDisplayModeWord = 17;
    BinaryReader in(path);
    std::string marker;
    std::string version;
    std::array<uint16_t, kDisplayModeWord + 1> words{};
    if (!in.readArchiveString(marker) || !in.readArchiveString(version)) {
        return 0;
    }
    for (uint16_t& word : words) {
        in.readU16(word);
    }
    const int dataVersion = DataFormatVersionOf(words.data());
    return in.ok() && (dataVersion == 4 || dataVersion == 110) ? words[kDisplayModeWord] & 0xF : 0;
}

std::string Name(const std::filesystem::path& path) {
    return PathText(path);
}

// The first condition in which HEADER differs from FIRST, as "speed 19200 (9600 in FIRSTNAME)".
std::string Difference(const CaptureHeader& header, const CaptureHeader& first,
                       const std::string& firstName) {
    const struct {
        const char* name;
        int64_t value;
        int64_t expected;
    } fields[] = {
        {"line mode", header.lineMode, first.lineMode},
        {"speed", header.speed, first.speed},
        {"data bits", header.dataBits, first.dataBits},
        {"stop bits", header.stopBits, first.stopBits},
        {"parity", header.parity, first.parity},
        {"transmit output", header.transmitOutput, first.transmitOutput},
        {"record width", header.recordWidth, first.recordWidth},
    };
    for (const auto& field : fields) {
        if (field.value != field.expected) {
            return std::string(field.name) + " " + std::to_string(field.value) + " differs from " +
                   std::to_string(field.expected) + " in " + firstName;
        }
    }
    return {};
}

bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
    std::error_code error;
    if (std::filesystem::equivalent(a, b, error)) {
        return true;
    }
    return std::filesystem::weakly_canonical(a, error) ==
           std::filesystem::weakly_canonical(b, error);
}

// Reads the capture files of others without a word.
class SilentPrompt final : public UserPrompt {
public:
    void message(std::string_view, std::string_view, PromptIcon) override {}
    PromptAnswer ask(std::string_view, std::string_view, PromptButtons, PromptIcon) override {
        return PromptAnswer::Cancel;
    }
};

// Whether PATH holds a capture file with the conditions of FIRST; STORE is scratch space.
bool IsCaptureOfTheRun(const std::filesystem::path& path, const CaptureHeader& first,
                       CCaptureData& store) {
    std::error_code error;
    if (!std::filesystem::exists(path, error)) {
        return false;
    }
    SilentPrompt silent;
    return ReadCaptureFile(path, store, silent) && Difference(store.header(), first, {}).empty();
}

JoinResult Refuse(JoinResult result, std::string reason) {
    result.ok = false;
    result.reason = std::move(reason);
    return result;
}

} // namespace

JoinResult JoinCaptureFiles(const std::vector<std::filesystem::path>& inputs,
                            const std::filesystem::path& output, bool checkOnly,
                            UserPrompt& prompt) {
    JoinResult result;
    if (inputs.empty()) {
        return Refuse(result, "no capture files to join");
    }
    for (const std::filesystem::path& input : inputs) {
        if (!checkOnly && SameFile(input, output)) {
            return Refuse(result, Name(output) + " is one of the files to join");
        }
    }
    auto store = std::make_unique<CCaptureData>();
    std::vector<RecordWord> words;
    CaptureHeader firstHeader;
    const std::string firstName = Name(inputs.front());
    for (size_t i = 0; i < inputs.size(); ++i) {
        const std::string name = Name(inputs[i]);
        CountingPrompt counting(prompt);
        if (!ReadCaptureFile(inputs[i], *store, counting)) {
            return Refuse(result, name + " cannot be read as a capture file");
        }
        if (counting.count > 0) {
            return Refuse(result, name + " is damaged");
        }
        const CaptureHeader& header = store->header();
        if (!IsKnownDataFormat(header.formatVersion)) {
            return Refuse(result, name + " holds an unknown data format");
        }
        const RecordCount count = store->Count();
        result.files.push_back(name + ": " + std::to_string(count) + " records, " +
                               LineConditionsText(header) + ", record width " +
                               std::to_string(header.recordWidth));
        if (i == 0) {
            firstHeader = header;
        } else if (const std::string difference = Difference(header, firstHeader, firstName);
                   !difference.empty()) {
            return Refuse(result, name + ": " + difference);
        }
        if (int64_t{result.total} + count > kMaxRingCapacity) {
            return Refuse(result, "together the files hold " +
                                      std::to_string(int64_t{result.total} + count) +
                                      " records, more than the " +
                                      std::to_string(kMaxRingCapacity) + " a capture holds");
        }
        result.total += count;
        if (!checkOnly && count > 0) {
            store->CopyWords(SaveSource::Ring, store->firstIndex(), count, words);
        }
    }
    if (checkOnly) {
        result.ok = true;
        return result;
    }
    if (IsCaptureOfTheRun(output, firstHeader, *store)) {
        return Refuse(result, Name(output) +
                                  " already holds a capture of this run and is not overwritten; "
                                  "name a new output file");
    }
    result.ok = true;

    const CaptureHeaderWords headerWords =
        EncodeCaptureHeader(firstHeader, DisplayModeOf(inputs.front()));
    const FileError error =
        WriteBinaryFile(output, [&](BinaryWriter& out) { WriteCapture(out, headerWords, words); });
    if (error != FileError::None) {
        return Refuse(result, FileErrorMessage(error, output));
    }
    return result;
}

} // namespace varnolt
