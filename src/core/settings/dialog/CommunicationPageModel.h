#pragma once

#include "core/settings/dialog/ChoiceGroup.h"

#include <array>
#include <cstdint>
#include <string>

namespace varnolt {

class CSaParameter;

// The page "通信設定": line type and mode, speed, data bits, parity, stop bits and the
// RS-422/485 transmit output. Each group shows the stored value's choice; a stored value
// outside a group's list shows no choice there and is written back unchanged.
class CommunicationPageModel {
public:
    static constexpr size_t kSpeedChoiceCount = 13;
    static constexpr int kOtherSpeedChoice = 12; // "その他"
    static constexpr std::array<uint32_t, 12> kListedSpeeds = {
        230'400, 115'200, 57'600, 38'400, 28'800, 19'200, 14'400, 9600, 4800, 2400, 1200, 600};

    void load(const CSaParameter& model);
    void save(CSaParameter& model) const;

    // "種類" (0 RS232C, 1 RS422/485) and "モード" (0 モニタ, 1 シミュレーション). A line mode
    // outside 1 … 4 shows neither; choosing in one group then also shows the first choice of
    // the other, which is what will be written.
    [[nodiscard]] int lineType() const { return lineType_; }
    [[nodiscard]] int lineModeChoice() const { return mode_; }
    void chooseLineType(int type);
    void chooseMode(int mode);

    // The speed choices: the twelve listed speeds, then "その他" with the speed beside it.
    [[nodiscard]] int speedChoice() const { return speedChoice_; }
    [[nodiscard]] std::string otherSpeedText() const;
    // A listed speed; "その他" is chosen through setOtherSpeed after the speed dialog.
    void chooseListedSpeed(int choice);
    // The speed the page holds: the one the speed dialog opens with.
    [[nodiscard]] uint32_t speed() const { return speed_; }
    // The speed dialog's result: "その他" with SPEED, unless SPEED is listed (then its choice).
    // The other groups keep what the user chose in them.
    void setOtherSpeed(uint32_t speed);

    ChoiceGroup<int16_t, 2> dataBits{std::array<int16_t, 2>{7, 8}};  // "7bit", "8bit"
    ChoiceGroup<int32_t, 3> parity{std::array<int32_t, 3>{0, 2, 3}}; // NONE, EVEN, ODD
    ChoiceGroup<int16_t, 2> stopBits{std::array<int16_t, 2>{1, 2}};  // "1bit", "2bit"
    ChoiceGroup<int32_t, 2> transmitOutput{std::array<int32_t, 2>{0, 1}}; // 送信時有効, 常時有効

private:
    void showSpeed();

    int16_t storedLineMode_ = 1;
    int lineType_ = -1;
    int mode_ = -1;
    uint32_t speed_ = 9600;
    int speedChoice_ = kOtherSpeedChoice;
};

} // namespace varnolt
