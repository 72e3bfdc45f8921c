#pragma once

#include "core/platform/UserPrompt.h"

class QWidget;

namespace varnolt::ui {

// The program's message boxes as QMessageBox, with exactly the core's text, caption and icon.
class QtUserPrompt final : public UserPrompt {
public:
    explicit QtUserPrompt(QWidget* parent = nullptr) : parent_(parent) {}

    void setParent(QWidget* parent) { parent_ = parent; }

    void message(std::string_view text, std::string_view caption, PromptIcon icon) override;
    [[nodiscard]] PromptAnswer ask(std::string_view text, std::string_view caption,
                                   PromptButtons buttons, PromptIcon icon) override;

private:
    QWidget* parent_;
};

} // namespace varnolt::ui
