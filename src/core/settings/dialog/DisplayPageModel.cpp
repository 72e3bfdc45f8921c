#include "core/settings/dialog/DisplayPageModel.h"

#include "core/settings/CSaParameter.h"
#include "core/settings/SettingsValidation.h"
#include "core/settings/dialog/DialogFormat.h"

#include <algorithm>

namespace varnolt {

namespace {

// Time display by date choice (無し, 有り) and time choice (無し, 1秒, 0.01秒).
constexpr int32_t kTimeDisplayOf[2][3] = {{0, 4, 5}, {3, 1, 2}};

} // namespace

void DisplayPageModel::load(const CSaParameter& model) {
    displayMode.load(model.displayMode);
    idleDisplay.load(model.idleDisplay);
    controlLineCapture.load(model.controlLineCapture);
    controlLineDrawing.load(model.controlLineDrawing);
    operationKeys.load(model.operationKeys);
    characterSize.load(model.characterSize);
    storedTimeDisplay_ = model.timeDisplay;
    date_ = time_ = -1;
    for (int date = 0; date < 2; ++date) {
        for (int time = 0; time < 3; ++time) {
            if (kTimeDisplayOf[date][time] == model.timeDisplay) {
                date_ = date;
                time_ = time;
            }
        }
    }
    backlightText_ = PrintfText("%3d", static_cast<int>(model.backlightOffTime));
    frameDetectionTime_ = model.frameDetectionTime;
    delimiters_ = model.frameDelimiters;
}

void DisplayPageModel::chooseDate(int choice) {
    if (choice < 0 || choice > 1) {
        return;
    }
    date_ = choice;
    time_ = std::max(time_, 0);
}

void DisplayPageModel::chooseTime(int choice) {
    if (choice < 0 || choice > 2) {
        return;
    }
    time_ = choice;
    date_ = std::max(date_, 0);
}

int32_t DisplayPageModel::timeDisplay() const {
    if (date_ < 0 || time_ < 0) {
        return storedTimeDisplay_;
    }
    return kTimeDisplayOf[date_][time_];
}

bool DisplayPageModel::check(UserPrompt& prompt) const {
    return CheckTypedSetting(backlightText_, kBacklightOffTimeLimit, prompt).has_value();
}

bool DisplayPageModel::save(CSaParameter& model, UserPrompt& prompt) const {
    const auto backlight = CheckTypedSetting(backlightText_, kBacklightOffTimeLimit, prompt);
    if (!backlight) {
        return false;
    }
    model.displayMode = displayMode.value();
    model.idleDisplay = idleDisplay.value();
    model.timeDisplay = timeDisplay();
    model.controlLineCapture = controlLineCapture.value();
    model.controlLineDrawing = controlLineDrawing.value();
    model.operationKeys = operationKeys.value();
    model.characterSize = characterSize.value();
    model.backlightOffTime = static_cast<uint8_t>(*backlight);
    model.frameDetectionTime = frameDetectionTime_;
    for (size_t i = 0; i < delimiters_.size(); ++i) {
        model.frameDelimiters[i].enabled = delimiters_[i].enabled;
        model.frameDelimiters[i].code = delimiters_[i].code;
    }
    return true;
}

FrameDetailModel DisplayPageModel::frameDetail() const {
    return FrameDetailModel(frameDetectionTime_, delimiters_);
}

void DisplayPageModel::takeFrameDetail(const FrameDetailModel& detail) {
    frameDetectionTime_ = detail.frameDetectionTime();
    for (size_t i = 0; i < delimiters_.size(); ++i) {
        delimiters_[i].enabled = detail.delimiters()[i].enabled;
        delimiters_[i].code = detail.delimiters()[i].code;
    }
}

} // namespace varnolt
