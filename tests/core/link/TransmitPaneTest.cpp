#include "core/link/panes/TransmitRows.h"
#include "core/link/panes/TransmitSelection.h"

#include "core/settings/CSaParameter.h"
#include "core/view/GlyphCodes.h"
#include "core/view/PatternText.h"

#include <gtest/gtest.h>

namespace varnolt {
namespace {

TEST(TransmitSelection, OneSendPerSelectionAndTheSelectionClearsAfterThreeTicks) {
    TransmitSelection selection;
    EXPECT_FALSE(selection.Tick()); // idle: nothing to clear
    EXPECT_EQ(selection.Selected(7), 7);
    EXPECT_FALSE(selection.Tick());
    EXPECT_FALSE(selection.Tick());
    EXPECT_TRUE(selection.Tick()); // ~60 ms later
    EXPECT_FALSE(selection.Tick());
    EXPECT_EQ(selection.countdown(), 0);

    // Another row during the countdown sends that row and restarts it.
    EXPECT_EQ(selection.Selected(0), 0);
    EXPECT_FALSE(selection.Tick());
    EXPECT_FALSE(selection.Tick());
    EXPECT_EQ(selection.Selected(49), 49);
    EXPECT_EQ(selection.countdown(), TransmitSelection::kDeselectTicks);
    EXPECT_FALSE(selection.Tick());
    EXPECT_FALSE(selection.Tick());
    EXPECT_TRUE(selection.Tick());

    // Rows outside the list send nothing and leave the countdown alone.
    EXPECT_FALSE(selection.Selected(50));
    EXPECT_FALSE(selection.Selected(-1));
    EXPECT_EQ(selection.countdown(), 0);
    EXPECT_TRUE(TransmitSelection::ReselectsOnDoubleClick(49));
    EXPECT_FALSE(TransmitSelection::ReselectsOnDoubleClick(50));
    EXPECT_FALSE(TransmitSelection::ReselectsOnDoubleClick(-1));
}

TEST(TransmitRows, NumberGlyphsAndEntryText) {
    CSaParameter settings;
    SaTxEntry& entry = settings.transmitEntries[1];
    entry.elements[0] = {kPatternCharacter, 'A'};
    entry.elements[1] = {kPatternCharacter, 0x0D};
    entry.elements[2] = {kPatternCharacter, 0xE0};
    entry.elements[3] = {0x33, 0}; // a kind no glyph stands for ends the text
    entry.elements[4] = {kPatternCharacter, 'B'};
    entry.elementCount = 5;
    settings.transmitEntries[2] = entry;
    settings.transmitEntries[2].elementCount = 1000; // a damaged count reaches no further

    // "No." shows 8F81 … 8FB2: the cell font's numbers 01 … 50.
    for (const size_t row : {0, 1, 49}) {
        EXPECT_EQ(TransmitRowOf(settings, row).number, 0x8F81 + row);
        EXPECT_EQ(TransmitRowOf(settings, row).number, TwoDigitGlyphCode(row + 1));
    }
    const std::vector<GlyphCode> text{InputGlyphCode('A'), InputGlyphCode(0x0D),
                                      InputGlyphCode(0xE0)};
    EXPECT_EQ(TransmitRowOf(settings, 1).text, text);
    EXPECT_EQ(TransmitRowOf(settings, 2).text, text);
    EXPECT_TRUE(TransmitRowOf(settings, 0).text.empty()); // an empty entry, an empty cell
    EXPECT_EQ(TransmitRowOf(settings, 50).number, 0);
}

} // namespace
} // namespace varnolt
