#include "core/shell/ToolbarLayout.h"

#include "core/platform/MemoryConfigStore.h"

#include <gtest/gtest.h>

#include <vector>

namespace varnolt {
namespace {

constexpr CommandId kSep = ToolbarLayout::kSeparator;

std::vector<CommandId> Default() {
    const auto buttons = ToolbarLayout::DefaultButtons();
    return {buttons.begin(), buttons.end()};
}

TEST(ToolbarLayout, EditsKeepEachCommandOnceAndSayWhetherTheyChangedAnything) {
    ToolbarLayout layout;
    EXPECT_EQ(layout.buttons(), Default());
    EXPECT_TRUE(layout.available().empty());

    EXPECT_TRUE(layout.Remove(0)); // "新規作成"
    EXPECT_EQ(layout.available(), std::vector<CommandId>{kCmdFileNew});
    EXPECT_FALSE(layout.Insert(0, kCmdFileOpen));       // already a button
    EXPECT_FALSE(layout.Insert(0, kCmdFirmwareUpdate)); // never a toolbar command
    EXPECT_TRUE(layout.Insert(999, kCmdFileNew));       // past the end: at the end
    EXPECT_EQ(layout.buttons().back(), kCmdFileNew);
    EXPECT_TRUE(layout.Insert(0, kSep)); // separators may repeat
    EXPECT_TRUE(layout.Insert(0, kSep));

    EXPECT_FALSE(layout.MoveUp(0));
    EXPECT_FALSE(layout.MoveDown(layout.buttons().size() - 1));
    EXPECT_FALSE(layout.Remove(layout.buttons().size()));
    EXPECT_TRUE(layout.MoveDown(1));
    EXPECT_EQ(layout.buttons()[2], kSep);
    EXPECT_EQ(layout.buttons()[1], kCmdFileOpen);

    EXPECT_TRUE(layout.Reset());
    EXPECT_FALSE(layout.Reset());
    EXPECT_EQ(layout.buttons(), Default());
}

TEST(ToolbarLayout, TheConfigurationGivesBackWhatWasWrittenAndTheDefaultForAnythingElse) {
    MemoryConfigStore store;
    ToolbarLayout read;
    read.read(store); // nothing written yet
    EXPECT_EQ(read.buttons(), Default());

    ToolbarLayout edited;
    edited.Remove(0);
    edited.MoveDown(0);
    edited.write(store);
    read.read(store);
    EXPECT_EQ(read, edited);

    ToolbarLayout empty = ToolbarLayout::FromText("");
    EXPECT_TRUE(empty.buttons().empty()); // the user may take every button away
    EXPECT_EQ(empty.available().size(), Default().size() - 6);

    struct Case {
        const char* text;
        std::vector<CommandId> buttons;
    };
    const Case cases[] = {
        {"57600,0,32771", {kCmdFileNew, kSep, kCmdExport}},
        {"57600,57600", Default()},       // a command twice
        {"57600,32782", Default()},       // not a toolbar command
        {"57600,,57601", Default()},      // an empty item
        {"57600,x", Default()},           // not a number
        {"57600,99999999999", Default()}, // out of range
        {"-", Default()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ToolbarLayout::FromText(c.text).buttons(), c.buttons);
    }
}

} // namespace
} // namespace varnolt
