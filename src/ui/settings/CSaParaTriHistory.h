#pragma once

#include "core/settings/dialog/TriggerHistoryModel.h"

#include <QDialog>

class QLineEdit;

namespace varnolt {
class UserPrompt;
}

namespace varnolt::ui {

class ChoiceButtons;

// The dialog "トリガー履歴": history on or off and the extended save with its number. OK
// writes them into TRIGGER, Cancel nothing.
class CSaParaTriHistory final : public QDialog {
    Q_OBJECT

public:
    CSaParaTriHistory(SaTriggerEntry& trigger, UserPrompt& prompt, QWidget* parent = nullptr);

private:
    void Refresh();

    TriggerHistoryModel model_;
    ChoiceButtons* extendedSave_;
    QLineEdit* number_;
};

} // namespace varnolt::ui
