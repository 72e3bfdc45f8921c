#pragma once

#include <QWidget>

class QLineEdit;

namespace varnolt {
class CommunicationPageModel;
class UserPrompt;
} // namespace varnolt

namespace varnolt::ui {

class ChoiceButtons;

// The page "通信設定": line type and mode, speed (with "その他" through the speed dialog), data
// length, parity, stop bits and the RS-422/485 transmit output.
class CTabSaParaCom final : public QWidget {
    Q_OBJECT

public:
    CTabSaParaCom(CommunicationPageModel& model, UserPrompt& prompt, QWidget* parent = nullptr);

    // Shows what the page model holds.
    void Refresh();

private:
    void ChooseOtherSpeed();

    CommunicationPageModel& model_;
    UserPrompt& prompt_;
    ChoiceButtons* type_;
    ChoiceButtons* mode_;
    ChoiceButtons* speed_;
    QLineEdit* otherSpeed_;
    ChoiceButtons* dataBits_;
    ChoiceButtons* parity_;
    ChoiceButtons* stopBits_;
    ChoiceButtons* output_;
};

} // namespace varnolt::ui
