#include "core/view/StatusLamps.h"

#include <string_view>

namespace varnolt {

namespace {

enum Lamp : size_t { kSd, kRs, kEr, kRd, kCs, kDr, kCd, kCi };

constexpr std::array<std::string_view, kLampCount> kLampTexts{"SD", "RS", "ER", "RD",
                                                              "CS", "DR", "CD", "CI"};
// What each line is, for the tool tips.
constexpr std::array<std::string_view, kLampCount> kLineNames{
    "送信データ", "送信要求",           "データ端末レディ", "受信データ",
    "送信可",     "データセットレディ", "キャリア検出",     "被呼表示"};

bool IsRs232c(int32_t lineMode) {
    return lineMode == 1 || lineMode == 2;
}

bool IsRs422(int32_t lineMode) {
    return lineMode == 3 || lineMode == 4;
}

// SD, RS and ER are the send side on RS-232C; on RS-422/485 both remaining lamps are drawn as
// the receive side.
bool IsSendSide(int32_t lineMode, size_t lamp) {
    return IsRs232c(lineMode) && (lamp == kSd || lamp == kRs || lamp == kEr);
}

bool IsVisible(int32_t lineMode, size_t lamp) {
    return IsRs232c(lineMode) || (IsRs422(lineMode) && (lamp == kSd || lamp == kRd));
}

LampPicture PictureOfState(bool sendSide, int32_t state) {
    if (state == 1) {
        return sendSide ? LampPicture::SendOn : LampPicture::ReceiveOn;
    }
    if (state == 2) {
        return sendSide ? LampPicture::SendOff : LampPicture::ReceiveOff;
    }
    return sendSide ? LampPicture::SendUnknown : LampPicture::ReceiveUnknown;
}

} // namespace

std::optional<std::array<LampPane, kLampCount>> LampPanesOf(int32_t lineMode, bool connected) {
    if (!IsRs232c(lineMode) && !IsRs422(lineMode)) {
        return std::nullopt;
    }
    std::array<LampPane, kLampCount> panes;
    for (size_t lamp = 0; lamp < kLampCount; ++lamp) {
        LampPane& pane = panes[lamp];
        if (!IsVisible(lineMode, lamp)) {
            pane = {LampPicture::Blank, "", 0, LampBackground::Menu};
            continue;
        }
        pane.picture = LampPicture::Inactive;
        pane.text = kLampTexts[lamp];
        pane.width = kLampPaneWidth;
        // The send lines keep the send side's colour on both line types, although RS-422/485
        // draws the SD lamp with the receive side's pictures.
        const bool sendLine = lamp == kSd || lamp == kRs || lamp == kEr;
        pane.background = !connected ? LampBackground::Menu
                          : sendLine ? LampBackground::Send
                                     : LampBackground::Receive;
    }
    return panes;
}

std::array<std::optional<LampPicture>, kLampCount>
LampPicturesOf(int32_t lineMode, bool connected, const LampStates& states, bool allLamps) {
    std::array<std::optional<LampPicture>, kLampCount> pictures;
    for (size_t lamp = 0; lamp < kLampCount; ++lamp) {
        if (!IsVisible(lineMode, lamp)) {
            continue;
        }
        if (!connected) {
            pictures[lamp] = LampPicture::Inactive;
        } else if (lamp == kSd || lamp == kRd || allLamps) {
            pictures[lamp] = PictureOfState(IsSendSide(lineMode, lamp), states[lamp]);
        }
    }
    return pictures;
}

bool IsToggledLamp(int32_t lineMode, size_t lamp) {
    return IsRs232c(lineMode) && (lamp == kRs || lamp == kEr);
}

std::string LampToolTip(size_t lamp, LampPicture picture, bool toggles) {
    if (lamp >= kLampCount || picture == LampPicture::Blank) {
        return {};
    }
    std::string tip = std::string(kLampTexts[lamp]) + " (" + std::string(kLineNames[lamp]) + "): ";
    switch (picture) {
    case LampPicture::SendOn:
    case LampPicture::ReceiveOn:
        tip += "オン";
        break;
    case LampPicture::SendOff:
    case LampPicture::ReceiveOff:
        tip += "オフ";
        break;
    case LampPicture::SendUnknown:
    case LampPicture::ReceiveUnknown:
        tip += "不明";
        break;
    default:
        tip += "未接続";
        break;
    }
    if (toggles) {
        tip += "\nダブルクリックで出力を切り替えます";
    }
    return tip;
}

} // namespace varnolt
