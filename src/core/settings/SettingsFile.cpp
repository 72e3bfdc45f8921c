// The settings file (".tvs", and the program's own "vrn.ini"): CSaParameter::SaveFile and
// CSaParameter::LoadFile.

#include "core/platform/BinaryReader.h"
#include "core/platform/BinaryWriter.h"
#include "core/platform/FileError.h"
#include "core/platform/UserPrompt.h"
#include "core/settings/CSaParameter.h"
#include "core/settings/SettingsValidation.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace varnolt {

namespace {

constexpr std::string_view kStartMarker = "<<## Sa TOP Start ##>>";
constexpr std::string_view kEndMarker = "<<## Sa TOP End ##>>";
constexpr std::string_view kCurrentVersionText = "0110";
constexpr uint32_t kCurrentVersion = 110;
constexpr uint32_t kFirstVersion = 100;

constexpr std::string_view kNotFoundText =
    "ファイルが見つかりません。\nファイル名を確認して再実行してください。";
constexpr std::string_view kWrongFormatText = "ファイル形式が違います。";
constexpr std::string_view kWrongVersionText =
    "ファイルバージョンが異なります、最新バージョンをインストールしてください。";

// Writes each item with the width the file gives it (STORED), whatever the model's width.
class ItemWriter {
public:
    explicit ItemWriter(BinaryWriter& writer) : writer_(writer) {}

    template <typename Stored, typename Field>
    void item(const Field& field) {
        const auto value = static_cast<Stored>(field);
        if constexpr (sizeof(Stored) == 1) {
            writer_.writeU8(static_cast<uint8_t>(value));
        } else if constexpr (sizeof(Stored) == 2) {
            writer_.writeU16(static_cast<uint16_t>(value));
        } else {
            static_assert(sizeof(Stored) == 4);
            writer_.writeU32(static_cast<uint32_t>(value));
        }
    }

private:
    BinaryWriter& writer_;
};

// Reads each item with the width the file gives it (STORED) and puts it into the model only
// when the whole item was there: after the first failure nothing more is changed.
class ItemReader {
public:
    explicit ItemReader(BinaryReader& reader) : reader_(reader) {}

    template <typename Stored, typename Field>
    void item(Field& field) {
        Stored value{};
        if (read(value)) {
            field = static_cast<Field>(value);
        }
    }

    template <typename Stored>
    bool read(Stored& value) {
        if constexpr (sizeof(Stored) == 1) {
            uint8_t raw = 0;
            const bool done = reader_.readU8(raw);
            value = static_cast<Stored>(raw);
            return done;
        } else if constexpr (sizeof(Stored) == 2) {
            uint16_t raw = 0;
            const bool done = reader_.readU16(raw);
            value = static_cast<Stored>(raw);
            return done;
        } else {
            static_assert(sizeof(Stored) == 4);
            uint32_t raw = 0;
            const bool done = reader_.readU32(raw);
            value = static_cast<Stored>(raw);
            return done;
        }
    }

    [[nodiscard]] bool ok() const { return reader_.ok(); }

private:
    BinaryReader& reader_;
};

// One transmit entry: element count, then the 128 elements. The same in both versions.
template <typename Items, typename Entry>
void TransferTxEntry(Items& items, Entry& entry) {
    items.template item<int32_t>(entry.elementCount);
    for (auto& element : entry.elements) {
        items.template item<uint8_t>(element.kind);
        items.template item<uint8_t>(element.value);
    }
}

// One trigger item of the current version (80 bytes).
template <typename Items, typename Trigger>
void TransferTrigger(Items& items, Trigger& trigger) {
    items.template item<uint8_t>(trigger.enabled);
    items.template item<uint8_t>(trigger.condition);
    items.template item<uint16_t>(trigger.riseMask);
    items.template item<uint16_t>(trigger.fallMask);
    items.template item<uint8_t>(trigger.action);
    items.template item<uint8_t>(trigger.errorMask);
    items.template item<uint32_t>(trigger.conditionValue);
    items.template item<uint16_t>(trigger.actionValue1);
    items.template item<uint16_t>(trigger.actionValue2);
    items.template item<uint8_t>(trigger.transmitNumber);
    items.template item<uint8_t>(trigger.matchLines);
    for (auto& element : trigger.pattern) {
        items.template item<uint8_t>(element.kind);
        items.template item<uint8_t>(element.value);
    }
    for (auto& mask : trigger.bitMasks) {
        items.template item<uint8_t>(mask.mustBeOne);
        items.template item<uint8_t>(mask.mustBeZero);
    }
    for (auto& range : trigger.ranges) {
        items.template item<uint8_t>(range.lowEnabled);
        items.template item<uint8_t>(range.low);
        items.template item<uint8_t>(range.highEnabled);
        items.template item<uint8_t>(range.high);
    }
    items.template item<uint8_t>(trigger.historyEnabled);
    items.template item<int32_t>(trigger.extendedSave);
    items.template item<uint8_t>(trigger.extendedSaveNumber);
}

// The line settings that open the layout of both versions.
template <typename Items, typename Model>
void TransferLineItems(Items& items, Model& model) {
    items.template item<int16_t>(model.lineMode);
    items.template item<uint32_t>(model.speed);
    items.template item<int16_t>(model.dataBits);
    items.template item<int16_t>(model.stopBits);
    items.template item<int32_t>(model.parity);
    items.template item<int32_t>(model.transmitOutput);
    items.template item<int32_t>(model.idleDisplay);
    items.template item<int32_t>(model.timeDisplay);
    items.template item<uint32_t>(model.controlLineCapture);
    items.template item<uint32_t>(model.controlLineDrawing);
}

// Everything between the version text and the end marker in the current version, in file
// order. MODEL is const when writing.
template <typename Items, typename Model>
void TransferCurrentVersion(Items& items, Model& model) {
    TransferLineItems(items, model);
    items.template item<int32_t>(model.displayMode);
    items.template item<int32_t>(model.operationKeys);
    for (auto& byte : model.reserved) {
        items.template item<uint8_t>(byte);
    }
    items.template item<int32_t>(model.characterSize);
    items.template item<uint8_t>(model.backlightOffTime);
    items.template item<int32_t>(model.frameDetectionTime);
    for (auto& delimiter : model.frameDelimiters) {
        items.template item<int8_t>(delimiter.enabled);
        items.template item<uint8_t>(delimiter.code);
        items.template item<uint8_t>(delimiter.spare);
    }
    for (auto& timer : model.timers) {
        items.template item<uint32_t>(timer.setValue);
        items.template item<int16_t>(timer.unit);
        items.template item<int16_t>(timer.autoStart);
    }
    for (auto& counter : model.counters) {
        items.template item<uint32_t>(counter.setValue);
        items.template item<int16_t>(counter.resetAtStart);
    }
    for (auto& trigger : model.triggers) {
        TransferTrigger(items, trigger);
    }
    for (auto& entry : model.transmitEntries) {
        TransferTxEntry(items, entry);
    }
}

// One trigger of the first version (34 bytes): no error mask, no masks, ranges or history,
// and a pattern of plain characters of which the first "pattern length" are used.
void ReadFirstVersionTrigger(ItemReader& items, SaTriggerEntry& trigger) {
    items.item<uint8_t>(trigger.enabled);
    items.item<uint8_t>(trigger.condition);
    items.item<uint16_t>(trigger.riseMask);
    items.item<uint16_t>(trigger.fallMask);
    items.item<uint8_t>(trigger.action);
    int8_t patternLength = 0;
    items.read(patternLength);
    items.item<uint32_t>(trigger.conditionValue);
    items.item<uint16_t>(trigger.actionValue1);
    items.item<uint16_t>(trigger.actionValue2);
    items.item<uint8_t>(trigger.transmitNumber);
    items.item<uint8_t>(trigger.matchLines);
    for (size_t j = 0; j < kTriggerPatternLength; ++j) {
        uint8_t code = 0;
        if (items.read(code)) {
            const bool used = static_cast<int>(j) < patternLength;
            trigger.pattern[j] = {used ? kPatternCharacter : uint8_t{0}, code};
        }
    }
}

// The first version: the line settings, then triggers and transmit entries. Display and frame
// settings did not exist yet and take their defaults; timers and counters keep their values.
void ReadFirstVersion(ItemReader& items, CSaParameter& model) {
    TransferLineItems(items, model);
    for (uint8_t& byte : model.reserved) {
        items.item<uint8_t>(byte);
    }
    if (!items.ok()) {
        return;
    }
    const CSaParameter defaults;
    model.displayMode = defaults.displayMode;
    model.operationKeys = defaults.operationKeys;
    model.characterSize = defaults.characterSize;
    model.backlightOffTime = defaults.backlightOffTime;
    model.frameDetectionTime = defaults.frameDetectionTime;
    model.frameDelimiters = defaults.frameDelimiters;
    for (SaTriggerEntry& trigger : model.triggers) {
        ReadFirstVersionTrigger(items, trigger);
    }
    for (SaTxEntry& entry : model.transmitEntries) {
        TransferTxEntry(items, entry);
    }
}

void ReportFileError(UserPrompt& prompt, FileError error, const std::filesystem::path& path) {
    prompt.message(FileErrorMessage(error, path), kAppCaption, PromptIcon::Warning);
}

} // namespace

void CSaParameter::Write(BinaryWriter& writer) const {
    writer.writeArchiveString(kStartMarker);
    writer.writeArchiveString(kCurrentVersionText);
    ItemWriter items(writer);
    TransferCurrentVersion(items, *this);
    writer.writeArchiveString(kEndMarker);
}

bool CSaParameter::SaveFile(const std::filesystem::path& path, UserPrompt& prompt) const {
    const FileError error = WriteBinaryFile(path, [this](BinaryWriter& out) { Write(out); });
    if (error != FileError::None) {
        ReportFileError(prompt, error, path);
        return false;
    }
    return true;
}

bool CSaParameter::LoadFile(const std::filesystem::path& path, UserPrompt& prompt) {
    BinaryReader reader(path);
    if (!reader.ok()) {
        prompt.message(kNotFoundText, kAppCaption, PromptIcon::Warning);
        return false;
    }
    return Read(reader, prompt, path);
}

bool CSaParameter::Read(BinaryReader& reader, UserPrompt& prompt,
                        const std::filesystem::path& path) {
    std::string marker;
    if (!reader.readArchiveString(marker) && reader.error() != FileError::EndOfFile) {
        ReportFileError(prompt, reader.error(), path);
        return false;
    }
    // A file too short to hold the marker is not a settings file either.
    if (!reader.ok() || marker != kStartMarker) {
        prompt.message(kWrongFormatText, kAppCaption, PromptIcon::Warning);
        return false;
    }
    std::string versionText;
    if (!reader.readArchiveString(versionText)) {
        ReportFileError(prompt, reader.error(), path);
        return false;
    }
    const uint32_t version = LeadingDecimal(versionText);
    if (version > kCurrentVersion) {
        // Written by a newer program: its settings cannot be trusted field by field.
        Initialize();
        return false;
    }
    ItemReader items(reader);
    if (version == kCurrentVersion) {
        TransferCurrentVersion(items, *this);
    } else if (version == kFirstVersion) {
        ReadFirstVersion(items, *this);
    } else {
        prompt.message(kWrongVersionText, kAppCaption, PromptIcon::Warning);
        return false;
    }
    if (!reader.ok()) {
        ReportFileError(prompt, reader.error(), path);
        return false;
    }
    return true;
}

} // namespace varnolt
