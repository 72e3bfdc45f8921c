#pragma once

#include "core/capture/CaptureFileReader.h"
#include "core/settings/CSaParameter.h"
#include "core/settings/SaSwitch.h"
#include "support/RecordingPrompt.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "ReceptionFixture.h"

// What the measurement tests with automatic and trigger saving share: the set-up and the
// reading back of the files the saves leave.
namespace varnolt::testing {

// The records of the capture file at PATH.
inline std::vector<RecordWord> FileWords(const std::filesystem::path& path) {
    CCaptureData file(kMaxRingCapacity / 8);
    RecordingPrompt prompt;
    EXPECT_TRUE(ReadCaptureFile(path, file, prompt)) << path;
    std::vector<RecordWord> words;
    for (RecordCount k = 0; k < file.Count(); ++k) {
        words.push_back(file.word(k));
    }
    return words;
}

// The files of FOLDER whose names begin with PREFIX, in name order.
inline std::vector<std::filesystem::path> Files(const std::filesystem::path& folder,
                                                std::string_view prefix = {}) {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().filename().string().starts_with(prefix)) {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

// Automatic saving into FOLDER, one file per ring; each save is named a second after the one
// before, so name order is the order of the saves.
inline void SaveAutomaticallyInto(ReceptionFixture& fixture, const std::filesystem::path& folder) {
    fixture.autoSave.enabled = true;
    fixture.autoSave.folder = folder;
    fixture.autoSave.fileSizeMegabytes = 1; // kept small by the ring's capacity
    fixture.store.saver().setLocalTime([second = 0]() mutable {
        std::tm time{};
        time.tm_year = 126;
        time.tm_mon = 11;
        time.tm_mday = 10;
        time.tm_hour = 5;
        time.tm_min = second / 60;
        time.tm_sec = second % 60;
        ++second;
        return time;
    });
}

// The records that the refusals among NOTICES name as not saved because files that could not
// be written filled the queue.
inline size_t RefusedWhileKeptRecords(const std::vector<std::string>& notices) {
    size_t refused = 0;
    const std::string open = "（";
    for (const std::string& notice : notices) {
        const size_t at = notice.rfind(open);
        if (notice.starts_with("保存できなかったファイルがたまっている") &&
            at != std::string::npos) {
            refused += std::stoul(notice.substr(at + open.size()));
        }
    }
    return refused;
}

// Trigger 1 saves BEFORE items before and AFTER after every framing error on RD; trigger 2
// stops the analyzer STOP_SECONDS after the first error of any kind, so the poll fetches all.
inline void SaveAroundErrorsAndStop(CSaParameter& settings, uint16_t before, uint16_t after,
                                    uint16_t stopSeconds) {
    settings.triggers[0].enabled = kSaByteOn;
    settings.triggers[0].condition = kTriggerOnError;
    settings.triggers[0].errorMask = 0x40 | 0x01;
    settings.triggers[0].action = kTriggerSave;
    settings.triggers[0].actionValue1 = before;
    settings.triggers[0].actionValue2 = after;
    settings.triggers[1].enabled = kSaByteOn;
    settings.triggers[1].condition = kTriggerOnError;
    settings.triggers[1].errorMask = 0xFF;
    settings.triggers[1].action = kTriggerStopAfterDelay;
    settings.triggers[1].actionValue1 = stopSeconds;
}

} // namespace varnolt::testing
