#pragma once

#include "core/settings/dialog/ChoiceGroup.h"
#include "core/settings/dialog/FrameDetailModel.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace varnolt {

class CSaParameter;
class UserPrompt;

// The page "表示": display mode, idle and time display, control lines, operation keys,
// character size, backlight and, through "フレーム詳細", the frame recognition. Each group
// shows the stored value's choice; a value outside a group's list shows no choice and is
// written back unchanged.
class DisplayPageModel {
public:
    void load(const CSaParameter& model);
    // Checks the backlight field; only when it is good is the page stored. Says whether it was.
    bool save(CSaParameter& model, UserPrompt& prompt) const;
    // Enter in the page: the same check, storing nothing.
    bool check(UserPrompt& prompt) const;

    ChoiceGroup<int32_t, 2> displayMode{std::array<int32_t, 2>{0, 1}}; // 連続, フレーム
    // "無し", "0.1秒", "0.01秒", "0.001秒".
    ChoiceGroup<int32_t, 4> idleDisplay{std::array<int32_t, 4>{0, 3, 2, 1}};
    ChoiceGroup<uint16_t, 2> controlLineCapture{std::array<uint16_t, 2>{0, 1}};
    ChoiceGroup<uint16_t, 2> controlLineDrawing{std::array<uint16_t, 2>{0, 1}};
    ChoiceGroup<int32_t, 2> operationKeys{std::array<int32_t, 2>{0, 1}}; // １段, ２段
    ChoiceGroup<int32_t, 2> characterSize{std::array<int32_t, 2>{0, 1}}; // 標準, 小

    // "日時表示　日付" (0 無し, 1 有り) and "日時表示　時刻" (0 無し, 1 1秒, 2 0.01秒), which
    // together give the time display. A time display outside 0 … 5 shows neither; choosing in
    // one group then also shows "無し" in the other.
    [[nodiscard]] int dateChoice() const { return date_; }
    [[nodiscard]] int timeChoice() const { return time_; }
    void chooseDate(int choice);
    void chooseTime(int choice);
    [[nodiscard]] int32_t timeDisplay() const;

    [[nodiscard]] const std::string& backlightText() const { return backlightText_; }
    void setBacklightText(std::string_view text) { backlightText_ = text; }

    // "フレーム詳細": the dialog opens on the page's frame settings; after its OK the page takes
    // back the time and the on/off and code of each delimiter.
    [[nodiscard]] FrameDetailModel frameDetail() const;
    void takeFrameDetail(const FrameDetailModel& detail);

private:
    int32_t storedTimeDisplay_ = 0;
    int date_ = -1;
    int time_ = -1;
    std::string backlightText_;
    int32_t frameDetectionTime_ = 0;
    FrameDetailModel::Delimiters delimiters_{};
};

} // namespace varnolt
