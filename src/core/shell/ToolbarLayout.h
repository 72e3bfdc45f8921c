#pragma once

#include "core/shell/Commands.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace varnolt {

class ConfigStore;

// The buttons of the toolbar "標準" in order, a zero standing for a separator: the program's
// own order until the user customises it. Only the commands of that order can be buttons, each
// at most once; what the configuration holds is checked against that, so a damaged entry gives
// the program's order back rather than a toolbar with unknown or repeated buttons.
class ToolbarLayout {
public:
    static constexpr CommandId kSeparator{0};

    // The program's own order.
    [[nodiscard]] static std::span<const CommandId> DefaultButtons();

    // The buttons a TEXT of ToText() describes, or the program's order for a text that is not
    // one (an empty text is an empty toolbar).
    [[nodiscard]] static ToolbarLayout FromText(std::string_view text);
    [[nodiscard]] std::string ToText() const;

    void read(const ConfigStore& store);
    void write(ConfigStore& store) const;

    [[nodiscard]] const std::vector<CommandId>& buttons() const { return buttons_; }
    // The commands of the program's order that are not on the toolbar, in that order.
    [[nodiscard]] std::vector<CommandId> available() const;

    // Edits, each false when it changes nothing. A command goes in once; a position past the
    // end means the end.
    bool Insert(size_t position, CommandId id);
    bool Remove(size_t position);
    bool MoveUp(size_t position);
    bool MoveDown(size_t position);
    bool Reset();

    friend bool operator==(const ToolbarLayout&, const ToolbarLayout&) = default;

private:
    [[nodiscard]] bool holds(CommandId id) const;

    std::vector<CommandId> buttons_{DefaultButtons().begin(), DefaultButtons().end()};
};

} // namespace varnolt
