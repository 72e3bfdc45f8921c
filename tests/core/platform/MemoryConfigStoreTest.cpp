#include "core/platform/MemoryConfigStore.h"

#include <gtest/gtest.h>

namespace varnolt {
namespace {

TEST(MemoryConfigStore, MissingOrNonNumericValuesGiveTheFallback) {
    MemoryConfigStore store;
    EXPECT_EQ(store.readInt("Settings", "HexView", 7), 7);
    store.writeString("Settings", "HexView", "abc");
    EXPECT_EQ(store.readInt("Settings", "HexView", 7), 7);
    store.writeInt("Settings", "HexView", -3);
    EXPECT_EQ(store.readInt("Settings", "HexView", 7), -3);
    EXPECT_EQ(store.readString("Settings", "Folder", "none"), "none");
}

} // namespace
} // namespace varnolt
