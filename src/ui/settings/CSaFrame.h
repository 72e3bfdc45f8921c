#pragma once

#include "core/settings/dialog/FrameDetailModel.h"

#include <QDialog>

#include <array>

class QLineEdit;

namespace varnolt {
class UserPrompt;
}

namespace varnolt::ui {

class GlyphField;

// The frame detail dialog "フレーム詳細": the frame detection time and the SD and RD start and
// end codes, each entered through the character input dialog as one code.
class CSaFrame final : public QDialog {
    Q_OBJECT

public:
    CSaFrame(const FrameDetailModel& detail, UserPrompt& prompt, QWidget* parent = nullptr);

    [[nodiscard]] const FrameDetailModel& detail() const { return detail_; }

private:
    void EditCode(DelimiterSlot slot);
    void ShowCodes();

    FrameDetailModel detail_;
    UserPrompt& prompt_;
    QLineEdit* time_ = nullptr;
    std::array<GlyphField*, 4> codes_{};
};

} // namespace varnolt::ui
