#include "core/platform/BinaryWriter.h"
#include "core/settings/CSaParameter.h"
#include "support/RecordingPrompt.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "SettingsSamples.h"

namespace varnolt {
namespace {

constexpr size_t kFileSize = 13'812;
constexpr size_t kFirstFieldOffset = 28; // after the start marker and the version text
constexpr size_t kFrameTimeOffset = 79;  // frame detection time
constexpr size_t kEndMarkerOffset = kFileSize - 21;

class SettingsFile : public ::testing::Test {
protected:
    std::vector<uint8_t> readBytes(const std::filesystem::path& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    void writeBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
    }
    // The bytes a model saves as.
    std::vector<uint8_t> savedBytes(const CSaParameter& model) {
        EXPECT_TRUE(model.SaveFile(path, prompt));
        return readBytes(path);
    }
    // The version text replaced by VERSION (four characters).
    std::vector<uint8_t> withVersion(std::vector<uint8_t> bytes, const char* version) {
        std::memcpy(bytes.data() + 24, version, 4);
        return bytes;
    }

    testing::TempDir dir;
    std::filesystem::path path = dir / "settings.tvs";
    testing::RecordingPrompt prompt;
};

TEST_F(SettingsFile, DefaultModelSavesTheCurrentLayout) {
    const std::vector<uint8_t> bytes = savedBytes(CSaParameter{});
    ASSERT_EQ(bytes.size(), kFileSize);
    const std::string start = "\x16<<## Sa TOP Start ##>>\x04"
                              "0110";
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 28), start);
    const std::vector<uint8_t> firstFields{0x01, 0x00, 0x80, 0x25, 0x00, 0x00, 0x08, 0x00};
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + 28, bytes.begin() + 36), firstFields);
    const std::vector<uint8_t> reserved{0x17, 0xEA, 0x2A, 0xD8};
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + 70, bytes.begin() + 74), reserved);
    const std::vector<uint8_t> frameTime{100, 0, 0, 0};
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + kFrameTimeOffset,
                                   bytes.begin() + kFrameTimeOffset + 4),
              frameTime);
    EXPECT_EQ(std::string(bytes.begin() + kEndMarkerOffset, bytes.end()),
              "\x14<<## Sa TOP End ##>>");
    EXPECT_TRUE(prompt.entries.empty());
}

TEST_F(SettingsFile, EveryFieldSurvivesSaveAndLoad) {
    CSaParameter saved = testing::SampleSettings();
    saved.reserved = {9, 8, 7, 6};
    ASSERT_TRUE(saved.SaveFile(path, prompt));
    CSaParameter loaded;
    loaded.timers[1].currentValue = 5;
    ASSERT_TRUE(loaded.LoadFile(path, prompt));
    EXPECT_TRUE(prompt.entries.empty());
    saved.timers[1].currentValue = 5; // current values are not in the file
    EXPECT_EQ(loaded, saved);
}

TEST_F(SettingsFile, EndMarkerIsNotChecked) {
    std::vector<uint8_t> bytes = savedBytes(testing::SampleSettings());
    bytes.resize(kEndMarkerOffset);
    writeBytes(path, bytes);
    CSaParameter loaded;
    EXPECT_TRUE(loaded.LoadFile(path, prompt));
    EXPECT_TRUE(prompt.entries.empty());
    EXPECT_EQ(loaded, testing::SampleSettings());
}

TEST_F(SettingsFile, FrameTimeBeyondTheLimitIsCappedByNormalizing) {
    std::vector<uint8_t> bytes = savedBytes(CSaParameter{});
    const std::vector<uint8_t> time120000{0xC0, 0xD4, 0x01, 0x00};
    std::copy(time120000.begin(), time120000.end(), bytes.begin() + kFrameTimeOffset);
    writeBytes(path, bytes);
    CSaParameter loaded;
    EXPECT_TRUE(loaded.LoadFile(path, prompt));
    loaded.Normalize();
    EXPECT_EQ(loaded.frameDetectionTime, 99'999);
}

struct VersionCase {
    const char* version;
    bool resetsToDefaults; // otherwise the model stays and the version message shows
};

class SettingsFileVersion : public SettingsFile,
                            public ::testing::WithParamInterface<VersionCase> {};

TEST_P(SettingsFileVersion, NewerResetsSilentlyOthersAreRefused) {
    writeBytes(path, withVersion(savedBytes(testing::SampleSettings()), GetParam().version));
    CSaParameter model = testing::SampleSettings();
    model.speed = 1200;
    CSaParameter before = model;
    EXPECT_FALSE(model.LoadFile(path, prompt));
    if (GetParam().resetsToDefaults) {
        CSaParameter defaults;
        for (size_t i = 0; i < kTriggerCount; ++i) { // the analyzer's bits of the masks stay
            defaults.triggers[i].riseMask = before.triggers[i].riseMask & 0xF000;
            defaults.triggers[i].fallMask = before.triggers[i].fallMask & 0xF000;
        }
        EXPECT_EQ(model, defaults);
        EXPECT_TRUE(prompt.entries.empty());
        return;
    }
    EXPECT_EQ(model, before);
    ASSERT_EQ(prompt.entries.size(), 1u);
    EXPECT_EQ(prompt.entries[0].text,
              "ファイルバージョンが異なります、最新バージョンをインストールしてください。");
    EXPECT_EQ(prompt.entries[0].icon, PromptIcon::Warning);
}

INSTANTIATE_TEST_SUITE_P(Versions, SettingsFileVersion,
                         ::testing::Values(VersionCase{"0120", true}, VersionCase{"9999", true},
                                           VersionCase{"0105", false}, VersionCase{"ABCD", false},
                                           VersionCase{"0099", false}),
                         [](const auto& info) { return std::string(info.param.version); });

TEST_F(SettingsFile, RefusesWhatIsNotASettingsFile) {
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
        const char* message;
    };
    std::vector<uint8_t> wrongMarker = savedBytes(CSaParameter{});
    wrongMarker[5] = 'x';
    const std::vector<Case> cases{
        {"wrong marker", wrongMarker, "ファイル形式が違います。"},
        {"empty file", {}, "ファイル形式が違います。"},
        {"cut in the marker", {0x16, '<', '<'}, "ファイル形式が違います。"},
        {"long length form", {0xFF, 0x02, 0x00, 'a', 'b'}, "ファイル形式が違います。"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        prompt.entries.clear();
        writeBytes(path, c.bytes);
        CSaParameter model = testing::SampleSettings();
        EXPECT_FALSE(model.LoadFile(path, prompt));
        EXPECT_EQ(model, testing::SampleSettings());
        ASSERT_EQ(prompt.entries.size(), 1u);
        EXPECT_EQ(prompt.entries[0].text, c.message);
        EXPECT_EQ(prompt.entries[0].icon, PromptIcon::Warning);
    }
}

TEST_F(SettingsFile, MissingFileLeavesTheModel) {
    CSaParameter model = testing::SampleSettings();
    EXPECT_FALSE(model.LoadFile(dir / "none.tvs", prompt));
    EXPECT_EQ(model, testing::SampleSettings());
    ASSERT_EQ(prompt.entries.size(), 1u);
    EXPECT_EQ(prompt.entries[0].text,
              "ファイルが見つかりません。\nファイル名を確認して再実行してください。");
    EXPECT_EQ(prompt.entries[0].icon, PromptIcon::Warning);
}

// A file cut at LENGTH keeps what was read before the cut and reports the early end.
TEST_F(SettingsFile, TruncatedFileKeepsWhatWasReadAndSaysSo) {
    const std::vector<uint8_t> full = savedBytes(testing::SampleSettings());
    struct Case {
        size_t length;
        std::function<void(CSaParameter&)> read; // what the cut file delivered
    };
    const CSaParameter sample = testing::SampleSettings();
    const std::vector<Case> cases{
        {26, [](CSaParameter&) {}}, // inside the version text
        {kFirstFieldOffset, [](CSaParameter&) {}},
        {kFirstFieldOffset + 5, [&](CSaParameter& m) { m.lineMode = sample.lineMode; }},
        {kEndMarkerOffset - 1,
         [&](CSaParameter& m) {
             m = sample;
             m.transmitEntries[49].elements[127].value = 0; // its kind byte was still there
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.length);
        prompt.entries.clear();
        writeBytes(path, std::vector<uint8_t>(full.begin(), full.begin() + c.length));
        CSaParameter model;
        EXPECT_FALSE(model.LoadFile(path, prompt));
        CSaParameter expected;
        c.read(expected);
        EXPECT_EQ(model, expected);
        ASSERT_EQ(prompt.entries.size(), 1u);
        EXPECT_NE(prompt.entries[0].text.find("settings.tvs"), std::string::npos);
        EXPECT_NE(prompt.entries[0].text.find("予期しないファイルの終わり"), std::string::npos);
    }
}

TEST_F(SettingsFile, UnwritableFileIsReported) {
    EXPECT_FALSE(CSaParameter{}.SaveFile(dir / "missing" / "out.tvs", prompt));
    ASSERT_EQ(prompt.entries.size(), 1u);
    EXPECT_NE(prompt.entries[0].text.find("out.tvs"), std::string::npos);
    EXPECT_EQ(prompt.entries[0].icon, PromptIcon::Warning);
}

// A file of the first version, written field by field.
class FirstVersionFile : public SettingsFile {
protected:
    std::vector<uint8_t> build(int8_t patternLength, const char* characters) {
        std::vector<uint8_t> bytes;
        BinaryWriter w(bytes);
        w.writeArchiveString("<<## Sa TOP Start ##>>");
        w.writeArchiveString("0100");
        w.writeU16(3);      // line mode
        w.writeU32(19'200); // speed
        w.writeU16(7);
        w.writeU16(2);
        w.writeU32(2); // parity
        w.writeU32(1); // transmit output
        w.writeU32(3); // idle display
        w.writeU32(4); // time display
        w.writeU32(1); // control-line capture
        w.writeU32(1); // control-line drawing
        for (uint8_t b : {0xA1, 0xA2, 0xA3, 0xA4}) {
            w.writeU8(b);
        }
        for (int i = 0; i < 8; ++i) {
            w.writeU8(0xFF);                    // enabled
            w.writeU8(0);                       // condition
            w.writeU16(0x0041);                 // rise mask
            w.writeU16(0x0082);                 // fall mask
            w.writeU8(static_cast<uint8_t>(i)); // action
            w.writeU8(static_cast<uint8_t>(patternLength));
            w.writeU32(500); // condition value
            w.writeU16(12);  // action value 1
            w.writeU16(34);  // action value 2
            w.writeU8(7);    // transmit number
            w.writeU8(2);    // match lines
            w.writeBytes(characters, 16);
        }
        for (int k = 0; k < 50; ++k) {
            w.writeU32(2);
            for (int j = 0; j < 128; ++j) {
                w.writeU8(j < 2 ? 1 : 0);
                w.writeU8(j < 2 ? static_cast<uint8_t>('a' + k) : 0);
            }
        }
        return bytes;
    }
};

TEST_F(FirstVersionFile, ConvertsToTheCurrentModel) {
    writeBytes(path, build(3, "PQRSTUVWXYZ01234"));
    CSaParameter model = testing::SampleSettings();
    ASSERT_TRUE(model.LoadFile(path, prompt));
    EXPECT_TRUE(prompt.entries.empty());

    CSaParameter expected = testing::SampleSettings(); // timers, counters, masks stay
    expected.lineMode = 3;
    expected.speed = 19'200;
    expected.dataBits = 7;
    expected.stopBits = 2;
    expected.parity = 2;
    expected.transmitOutput = 1;
    expected.idleDisplay = 3;
    expected.timeDisplay = 4;
    expected.controlLineCapture = 1;
    expected.controlLineDrawing = 1;
    expected.reserved = {0xA1, 0xA2, 0xA3, 0xA4};
    expected.displayMode = 0;
    expected.operationKeys = 0;
    expected.characterSize = 0;
    expected.backlightOffTime = 0;
    expected.frameDetectionTime = 100;
    expected.frameDelimiters = {};
    for (int i = 0; i < 8; ++i) {
        SaTriggerEntry& t = expected.triggers[i];
        t.enabled = 0xFF;
        t.condition = 0;
        t.riseMask = 0x0041;
        t.fallMask = 0x0082;
        t.action = static_cast<uint8_t>(i);
        t.conditionValue = 500;
        t.actionValue1 = 12;
        t.actionValue2 = 34;
        t.transmitNumber = 7;
        t.matchLines = 2;
        for (int j = 0; j < 16; ++j) {
            t.pattern[j] = {static_cast<uint8_t>(j < 3 ? 1 : 0),
                            static_cast<uint8_t>("PQRSTUVWXYZ01234"[j])};
        }
    }
    for (int k = 0; k < 50; ++k) {
        expected.transmitEntries[k] = {};
        expected.transmitEntries[k].elementCount = 2;
        expected.transmitEntries[k].elements[0] = {1, static_cast<uint8_t>('a' + k)};
        expected.transmitEntries[k].elements[1] = {1, static_cast<uint8_t>('a' + k)};
    }
    EXPECT_EQ(model, expected);

    model.Normalize();
    const std::array<PatternElement, 16> cut{{{1, 'P'}, {1, 'Q'}, {1, 'R'}}};
    EXPECT_EQ(model.triggers[0].pattern, cut);
}

TEST_F(FirstVersionFile, NegativePatternLengthUsesNoCharacter) {
    writeBytes(path, build(-1, "ABCDEFGHIJKLMNOP"));
    CSaParameter model;
    ASSERT_TRUE(model.LoadFile(path, prompt));
    EXPECT_EQ(model.triggers[4].pattern[0], (PatternElement{0, 'A'}));
    model.Normalize();
    EXPECT_EQ(model.triggers[4].pattern, (std::array<PatternElement, 16>{}));
}

} // namespace
} // namespace varnolt
