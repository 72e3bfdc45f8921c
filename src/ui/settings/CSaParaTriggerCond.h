#pragma once

#include "core/settings/dialog/TriggerConditionModel.h"
#include "ui/settings/TriggerDialogFrame.h"

#include <functional>
#include <vector>

namespace varnolt {
class UserPrompt;
}

namespace varnolt::ui {

class GlyphField;

// The dialog "トリガー　条件": one page per condition kind. It edits a copy of TRIGGER; OK
// writes the chosen kind's fields back into TRIGGER, Cancel nothing.
class CSaParaTriggerCond final : public TriggerDialogFrame {
    Q_OBJECT

public:
    CSaParaTriggerCond(SaTriggerEntry& trigger, UserPrompt& prompt, QWidget* parent = nullptr);

private:
    QWidget* CharacterPage();
    QWidget* ErrorPage();
    QWidget* LinePage();
    // A page with one number edit: "アイドル発生", "タイマー", "カウンタ".
    QWidget* NumberPage(const QString& name, const char* label, const char* unit,
                        std::function<std::string()> text,
                        std::function<void(std::string)> setText);
    void EditPattern();
    void Refresh();

    TriggerConditionModel model_;
    UserPrompt& prompt_;
    GlyphField* pattern_ = nullptr;
    std::vector<std::function<void()>> refreshers_;
};

} // namespace varnolt::ui
