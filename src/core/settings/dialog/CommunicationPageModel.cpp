#include "core/settings/dialog/CommunicationPageModel.h"

#include "core/settings/CSaParameter.h"

#include <algorithm>

namespace varnolt {

void CommunicationPageModel::load(const CSaParameter& model) {
    storedLineMode_ = model.lineMode;
    if (model.lineMode >= kLineRs232cMonitor && model.lineMode <= kLineRs422Simulation) {
        lineType_ = (model.lineMode - 1) / 2;
        mode_ = (model.lineMode - 1) % 2;
    } else {
        lineType_ = mode_ = -1;
    }
    speed_ = model.speed;
    showSpeed();
    dataBits.load(model.dataBits);
    parity.load(model.parity);
    stopBits.load(model.stopBits);
    transmitOutput.load(model.transmitOutput);
}

void CommunicationPageModel::save(CSaParameter& model) const {
    if (lineType_ >= 0 && mode_ >= 0) {
        model.lineMode = static_cast<int16_t>(1 + 2 * lineType_ + mode_);
    } else {
        model.lineMode = storedLineMode_;
    }
    model.speed = speed_;
    model.dataBits = dataBits.value();
    model.parity = parity.value();
    model.stopBits = stopBits.value();
    model.transmitOutput = transmitOutput.value();
}

void CommunicationPageModel::chooseLineType(int type) {
    if (type < 0 || type > 1) {
        return;
    }
    lineType_ = type;
    mode_ = std::max(mode_, 0);
}

void CommunicationPageModel::chooseMode(int mode) {
    if (mode < 0 || mode > 1) {
        return;
    }
    mode_ = mode;
    lineType_ = std::max(lineType_, 0);
}

std::string CommunicationPageModel::otherSpeedText() const {
    return speedChoice_ == kOtherSpeedChoice ? std::to_string(speed_) : std::string();
}

void CommunicationPageModel::chooseListedSpeed(int choice) {
    if (choice < 0 || choice >= static_cast<int>(kListedSpeeds.size())) {
        return;
    }
    speedChoice_ = choice;
    speed_ = kListedSpeeds[static_cast<size_t>(choice)];
}

void CommunicationPageModel::setOtherSpeed(uint32_t speed) {
    speed_ = speed;
    showSpeed();
}

void CommunicationPageModel::showSpeed() {
    const auto* listed = std::find(kListedSpeeds.begin(), kListedSpeeds.end(), speed_);
    speedChoice_ = listed == kListedSpeeds.end() ? kOtherSpeedChoice
                                                 : static_cast<int>(listed - kListedSpeeds.begin());
}

} // namespace varnolt
