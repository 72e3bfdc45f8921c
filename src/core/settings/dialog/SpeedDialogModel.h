#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace varnolt {

class UserPrompt;

// What the speed dialog "通信速度設定" decides: the 29 listed speeds, the arbitrary speed under
// "任意" and the text line with the speed the analyzer really produces.
class SpeedDialogModel {
public:
    static constexpr std::string_view kTitle = "通信速度設定";
    static constexpr size_t kListedCount = 29;
    static constexpr int kArbitraryChoice = 29; // "任意"
    static constexpr std::array<uint32_t, kListedCount> kListedSpeeds = {
        460'800, 230'400, 153'600, 115'200, 76'800, 57'600, 51'200, 38'400, 31'250, 28'800,
        19'200,  14'400,  9600,    4800,    2400,   1200,   900,    880,    600,    440,
        400,     300,     220,     200,     150,    110,    100,    75,     50};

    // Opens on SPEED: its button when it is listed, otherwise "任意" with the speed in the edit.
    explicit SpeedDialogModel(uint32_t speed);

    [[nodiscard]] uint32_t speed() const { return speed_; }
    [[nodiscard]] int choice() const { return choice_; }
    [[nodiscard]] const std::string& editText() const { return editText_; }
    [[nodiscard]] bool editEnabled() const { return choice_ == kArbitraryChoice; }
    [[nodiscard]] const std::string& actualSpeedText() const { return actualText_; }

    // A listed button empties the edit and the text line; "任意" shows the dialog's speed in
    // the edit and leaves the text line as it is.
    void choose(int choice);
    void setEditText(std::string_view text) { editText_ = text; }

    // Enter and OK: takes the chosen speed. Under "任意" the edit is checked first; an empty or
    // out-of-range edit is reported and changes nothing. Returns whether the speed was taken.
    bool apply(UserPrompt& prompt);

private:
    uint32_t speed_;
    int choice_ = kArbitraryChoice;
    std::string editText_;
    std::string actualText_;
};

} // namespace varnolt
