#pragma once

#include "core/settings/dialog/SpeedDialogModel.h"

#include <QDialog>

class QButtonGroup;
class QLabel;
class QLineEdit;

namespace varnolt {
class UserPrompt;
}

namespace varnolt::ui {

// The speed dialog "通信速度設定": the analyzer's listed speeds and an arbitrary one, with the
// speed its baud-rate generator really produces. Enter applies the choice and stays open; OK
// applies and closes only when the choice was accepted.
class CSaParaSpeed final : public QDialog {
    Q_OBJECT

public:
    CSaParaSpeed(uint32_t speed, UserPrompt& prompt, QWidget* parent = nullptr);

    [[nodiscard]] uint32_t speed() const { return model_.speed(); }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Refresh();
    void Apply();

    SpeedDialogModel model_;
    UserPrompt& prompt_;
    QButtonGroup* choices_ = nullptr;
    QLineEdit* edit_ = nullptr;
    QLabel* actual_ = nullptr;
};

} // namespace varnolt::ui
