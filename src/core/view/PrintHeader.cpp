#include "core/view/PrintHeader.h"

namespace varnolt {

std::string PrintFileNameText(const std::string& pathName) {
    return "FileName:" + pathName;
}

std::string PrintPageNumberText(int pageNumber) {
    return std::to_string(pageNumber) + " page";
}

std::string PrintLineModeText(const CaptureHeader& header) {
    switch (header.lineMode) {
    case 1:
        return "種類：RS232C    モード:モニタ";
    case 2:
        return "種類：RS232C    モード:シミュレーション";
    case 3:
        return "種類：RS422/485 モード:モニタ";
    case 4:
        return "種類：RS422/485 モード:シミュレーション";
    default:
        return {};
    }
}

std::string PrintConditionsText(const CaptureHeader& header) {
    std::string text = "速度：" + std::to_string(header.speed) + "  ";
    if (header.dataBits == 7 || header.dataBits == 8) {
        text += "データ長：" + std::to_string(header.dataBits) + "  ";
    }
    switch (header.parity) {
    case 0:
        text += "パリティ：NONE(無し)  ";
        break;
    case 2:
        text += "パリティ：EVEN(偶数)  ";
        break;
    case 3:
        text += "パリティ：ODD(奇数)  ";
        break;
    default:
        break;
    }
    if (header.stopBits == 1 || header.stopBits == 2) {
        text += "ストップ長：" + std::to_string(header.stopBits) + "  ";
    }
    if (header.lineMode == 3 || header.lineMode == 4) {
        if (header.transmitOutput == 0) {
            text += "RS422/485送信出力：送信時有効";
        } else if (header.transmitOutput == 1) {
            text += "RS422/485送信出力：常時有効";
        }
    }
    return text;
}

} // namespace varnolt
