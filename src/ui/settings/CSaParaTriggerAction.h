#pragma once

#include "core/settings/dialog/TriggerActionModel.h"
#include "ui/settings/TriggerDialogFrame.h"

#include <functional>
#include <initializer_list>
#include <string_view>
#include <vector>

namespace varnolt {
class UserPrompt;
}

namespace varnolt::ui {

class ChoiceButtons;
class GlyphField;

// The dialog "トリガー　動作": one page per action. It edits a copy of TRIGGER; OK writes the
// chosen action's fields back into TRIGGER, Cancel nothing. The send page shows the transmit
// entry it names from TRANSMIT (may be null).
class CSaParaTriggerAction final : public TriggerDialogFrame {
    Q_OBJECT

public:
    CSaParaTriggerAction(SaTriggerEntry& trigger, const TriggerActionModel::TransmitTable* transmit,
                         UserPrompt& prompt, QWidget* parent = nullptr);

private:
    using Field = TriggerActionModel::Field;
    struct Edit {
        Field field;
        const char* label;
        const char* unit;
    };

    // A page with the edits EDITS, one row each, and below them the operation group GROUP
    // (may be null).
    QWidget* Page(const QString& name, std::initializer_list<Edit> edits,
                  ChoiceButtons* group = nullptr);
    QWidget* SendPage();
    ChoiceButtons* OperationGroup(std::initializer_list<std::string_view> labels,
                                  std::function<void(int)> chosen, std::function<int()> shown);
    void Refresh();

    TriggerActionModel model_;
    UserPrompt& prompt_;
    GlyphField* characters_ = nullptr;
    std::vector<std::function<void()>> refreshers_;
};

} // namespace varnolt::ui
