#pragma once

#include "core/settings/CSaParameter.h"
#include "core/settings/dialog/ChoiceGroup.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace varnolt {

class UserPrompt;

// What the dialog "トリガー　動作" decides for one trigger. It edits a copy of the trigger; on
// OK the page of the chosen action checks its fields and only that action's fields go back
// into the trigger.
class TriggerActionModel {
public:
    static constexpr std::string_view kTitle = "トリガー　動作";
    using TransmitTable = std::array<SaTxEntry, kTxEntryCount>;

    // TRANSMIT is the transmit page's table, whose entries the send page shows (may be null).
    TriggerActionModel(const SaTriggerEntry& trigger, const TransmitTable* transmit);

    // The drop-down list: the action, −1 for a stored action outside the list.
    [[nodiscard]] int kind() const { return kind_; }
    // Choosing an action other than the trigger's stored one clears the values it uses and
    // refills its page.
    void chooseKind(int kind);

    // The edits, each filled from the copy: "遅延時間" of 遅延時間後停止, "受信数" of
    // 一定受信後停止, "送信番号" and "遅延時間" of 送信, "ー側範囲" and "＋側範囲" of 保存, and
    // the numbers of the timer, counter and trigger operations (shown from 1).
    enum class Field : uint8_t {
        StopDelay,
        StopCount,
        TransmitNumber,
        TransmitDelay,
        SaveBefore,
        SaveAfter,
        TimerNumber,
        CounterNumber,
        TriggerNumber,
    };
    static constexpr size_t kFieldCount = 9;
    [[nodiscard]] const std::string& text(Field field) const;
    void setText(Field field, std::string_view text);

    // The operation groups: timer "開始", "リセット後開始", "停止"; counter "加算", "リセット";
    // trigger "有効", "無効".
    ChoiceGroup<uint16_t, 3> timerOperation{std::array<uint16_t, 3>{0, 1, 2}};
    ChoiceGroup<uint16_t, 2> counterOperation{std::array<uint16_t, 2>{0, 1}};
    ChoiceGroup<uint16_t, 2> triggerOperation{std::array<uint16_t, 2>{0, 1}};

    // "送信文字": the characters of the transmit entry the send page names (the typed number
    // when it is 1 … 50, else the stored one); nothing without a table.
    [[nodiscard]] std::span<const PatternElement> transmitCharacters() const;

    // Enter: the shown page's check, without closing.
    void checkPage(UserPrompt& prompt);
    // OK: the shown page's check, then its action's fields into TRIGGER. A value that fails its
    // check keeps the copy's previous value; the dialog closes either way.
    void accept(SaTriggerEntry& trigger, UserPrompt& prompt);

private:
    void fillPage(int kind);

    SaTriggerEntry copy_;
    uint8_t storedAction_;
    int kind_;
    const TransmitTable* transmit_;
    std::array<std::string, kFieldCount> texts_;
};

} // namespace varnolt
