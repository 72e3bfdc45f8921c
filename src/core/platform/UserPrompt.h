#pragma once

#include <string>
#include <string_view>

namespace varnolt {

// The icons of the program's message boxes.
enum class PromptIcon { None, Information, Warning, Error, Question };

// The button sets a question can offer; SaveDiscardCancel is "保存" / "保存しない" /
// "キャンセル".
enum class PromptButtons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel, SaveDiscardCancel };

// The button the user pressed.
enum class PromptAnswer { Ok, Cancel, Yes, No, Retry, Save, Discard };

// Caption of message boxes that name no caption of their own.
inline constexpr std::string_view kAppCaption = "Varnolt";

// The program's message boxes. Texts and captions are UTF-8, exactly as the user reads them.
// The core reports every failure through this interface, never by showing a window itself.
class UserPrompt {
public:
    UserPrompt() = default;
    UserPrompt(const UserPrompt&) = delete;
    UserPrompt& operator=(const UserPrompt&) = delete;
    virtual ~UserPrompt() = default;

    virtual void message(std::string_view text, std::string_view caption, PromptIcon icon) = 0;
    [[nodiscard]] virtual PromptAnswer ask(std::string_view text, std::string_view caption,
                                           PromptButtons buttons, PromptIcon icon) = 0;
};

} // namespace varnolt
