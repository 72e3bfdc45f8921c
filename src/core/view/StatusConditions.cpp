#include "core/view/StatusConditions.h"

#include "core/capture/CaptureHeader.h"

namespace varnolt {

StatusConditionTexts StatusConditionsOf(const CaptureHeader& header) {
    StatusConditionTexts texts;
    switch (header.lineMode) {
    case 1:
        texts.lineMode = "RS232C ﾓﾆﾀ";
        break;
    case 2:
        texts.lineMode = "RS232C ｼﾐｭﾚｰｼｮﾝ";
        break;
    case 3:
        texts.lineMode = "RS422/485 ﾓﾆﾀ";
        break;
    case 4:
        texts.lineMode = "RS422/485 ｼﾐｭﾚｰｼｮﾝ";
        break;
    default:
        break;
    }
    texts.speed = std::to_string(header.speed);
    if (header.dataBits == 7) {
        texts.dataBits = "７bit";
    } else if (header.dataBits == 8) {
        texts.dataBits = "８bit";
    }
    if (header.parity == 0) {
        texts.parity = "NONE";
    } else if (header.parity == 2) {
        texts.parity = "EVEN";
    } else if (header.parity == 3) {
        texts.parity = "ODD";
    }
    if (header.stopBits == 1) {
        texts.stopBits = "１Stop";
    } else if (header.stopBits == 2) {
        texts.stopBits = "２Stop";
    }
    return texts;
}

} // namespace varnolt
