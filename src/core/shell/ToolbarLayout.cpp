#include "core/shell/ToolbarLayout.h"

#include "core/platform/ConfigStore.h"

#include <algorithm>
#include <charconv>

namespace varnolt {

namespace {

constexpr CommandId kDefaultButtons[] = {
    kCmdFileNew,
    kCmdFileOpen,
    kCmdFileSave,
    ToolbarLayout::kSeparator,
    kCmdFilePrint,
    kCmdExport,
    ToolbarLayout::kSeparator,
    kCmdConnect,
    kCmdDisconnect,
    kCmdStart,
    kCmdStop,
    kCmdSettings,
    ToolbarLayout::kSeparator,
    kCmdOnlineDataReceive,
    kCmdSavedFileReceive,
    ToolbarLayout::kSeparator,
    kCmdHexView,
    kCmdControlLineView,
    kCmdTimerCounterPane,
    ToolbarLayout::kSeparator,
    kCmdEnvironment,
    ToolbarLayout::kSeparator,
    kCmdAppAbout,
};

constexpr const char* kSection = "Toolbar";
constexpr const char* kKey = "Buttons";
// What a missing key reads as: not a list, so the program's order.
constexpr const char* kMissing = "-";

bool IsToolbarCommand(CommandId id) {
    return id != ToolbarLayout::kSeparator &&
           std::find(std::begin(kDefaultButtons), std::end(kDefaultButtons), id) !=
               std::end(kDefaultButtons);
}

} // namespace

std::span<const CommandId> ToolbarLayout::DefaultButtons() {
    return kDefaultButtons;
}

ToolbarLayout ToolbarLayout::FromText(std::string_view text) {
    ToolbarLayout layout;
    layout.buttons_.clear();
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = std::min(text.find(',', start), text.size());
        const std::string_view item = text.substr(start, end - start);
        int32_t value = -1;
        const auto [last, error] = std::from_chars(item.data(), item.data() + item.size(), value);
        const CommandId id{value};
        const bool usable = error == std::errc{} && last == item.data() + item.size() &&
                            (id == kSeparator || IsToolbarCommand(id));
        if (!usable || (id != kSeparator && layout.holds(id))) {
            return ToolbarLayout{};
        }
        layout.buttons_.push_back(id);
        start = end + 1;
    }
    return layout;
}

std::string ToolbarLayout::ToText() const {
    std::string text;
    for (const CommandId id : buttons_) {
        if (!text.empty()) {
            text += ',';
        }
        text += std::to_string(static_cast<int32_t>(id));
    }
    return text;
}

void ToolbarLayout::read(const ConfigStore& store) {
    *this = FromText(store.readString(kSection, kKey, kMissing));
}

void ToolbarLayout::write(ConfigStore& store) const {
    store.writeString(kSection, kKey, ToText());
}

std::vector<CommandId> ToolbarLayout::available() const {
    std::vector<CommandId> commands;
    for (const CommandId id : kDefaultButtons) {
        if (id != kSeparator && !holds(id)) {
            commands.push_back(id);
        }
    }
    return commands;
}

bool ToolbarLayout::Insert(size_t position, CommandId id) {
    if (id != kSeparator && (!IsToolbarCommand(id) || holds(id))) {
        return false;
    }
    const auto at = static_cast<std::ptrdiff_t>(std::min(position, buttons_.size()));
    buttons_.insert(buttons_.begin() + at, id);
    return true;
}

bool ToolbarLayout::Remove(size_t position) {
    if (position >= buttons_.size()) {
        return false;
    }
    buttons_.erase(buttons_.begin() + static_cast<std::ptrdiff_t>(position));
    return true;
}

bool ToolbarLayout::MoveUp(size_t position) {
    if (position == 0 || position >= buttons_.size()) {
        return false;
    }
    std::swap(buttons_[position - 1], buttons_[position]);
    return true;
}

bool ToolbarLayout::MoveDown(size_t position) {
    return position + 1 < buttons_.size() && MoveUp(position + 1);
}

bool ToolbarLayout::Reset() {
    const ToolbarLayout original;
    if (*this == original) {
        return false;
    }
    *this = original;
    return true;
}

bool ToolbarLayout::holds(CommandId id) const {
    return std::find(buttons_.begin(), buttons_.end(), id) != buttons_.end();
}

} // namespace varnolt
