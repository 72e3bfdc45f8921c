#pragma once

#include <QWidget>

class QLineEdit;

namespace varnolt {
class DisplayPageModel;
class UserPrompt;
} // namespace varnolt

namespace varnolt::ui {

class ChoiceButtons;

// The page "表示": display mode, idle and time display, control lines, operation keys,
// character size, the backlight and, through "フレーム詳細", the frame recognition.
class CTabSaParaView final : public QWidget {
    Q_OBJECT

public:
    CTabSaParaView(DisplayPageModel& model, UserPrompt& prompt, QWidget* parent = nullptr);

    void Refresh();

private:
    void OpenFrameDetail();

    DisplayPageModel& model_;
    UserPrompt& prompt_;
    ChoiceButtons* displayMode_;
    ChoiceButtons* idle_;
    ChoiceButtons* date_;
    ChoiceButtons* time_;
    ChoiceButtons* lineCapture_;
    ChoiceButtons* lineDrawing_;
    ChoiceButtons* keys_;
    ChoiceButtons* size_;
    QLineEdit* backlight_;
};

} // namespace varnolt::ui
