#include "core/platform/AtomicFileWrite.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace varnolt {
namespace {

namespace fs = std::filesystem;

std::string Contents(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void Put(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// Writes TEXT into the temporary file, then says RESULT.
FileContentsWriter Writing(std::string text, FileError result = FileError::None) {
    return [text = std::move(text), result](const fs::path& temporary) {
        Put(temporary, text);
        return result;
    };
}

size_t EntriesIn(const fs::path& folder) {
    return static_cast<size_t>(std::distance(fs::directory_iterator(folder), {}));
}

class AtomicFileWriteTest : public ::testing::Test {
protected:
    testing::TempDir dir;
    fs::path target = dir / "capture.tvd";
};

TEST_F(AtomicFileWriteTest, ReplacesTheFileWithTheCompleteContents) {
    Put(target, "old contents, longer than the new");
    ASSERT_EQ(WriteFileAtomically(target, Writing("new")), FileError::None);
    EXPECT_EQ(Contents(target), "new");
    EXPECT_EQ(EntriesIn(dir.path()), 1u);
}

// A write that fails part-way through leaves the old file whole and no temporary file behind;
// a new name gets no file at all.
TEST_F(AtomicFileWriteTest, FailedWriteLeavesWhatWasThere) {
    Put(target, "old");
    EXPECT_EQ(WriteFileAtomically(target, Writing("half of the n", FileError::DiskFull)),
              FileError::DiskFull);
    EXPECT_EQ(Contents(target), "old");
    EXPECT_EQ(WriteFileAtomically(dir / "new.tvd", Writing("half", FileError::WriteFault)),
              FileError::WriteFault);
    EXPECT_EQ(EntriesIn(dir.path()), 1u);
}

TEST_F(AtomicFileWriteTest, KeepsPermissionsAndWritesThroughALink) {
    Put(target, "old");
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write);
    fs::create_symlink("capture.tvd", dir / "link.tvd");
    ASSERT_EQ(WriteFileAtomically(dir / "link.tvd", Writing("new")), FileError::None);
    EXPECT_TRUE(fs::is_symlink(dir / "link.tvd"));
    EXPECT_EQ(Contents(target), "new");
    EXPECT_EQ(fs::status(target).permissions(), fs::perms::owner_read | fs::perms::owner_write);
}

TEST_F(AtomicFileWriteTest, RefusesWhatCannotBeWritten) {
    bool called = false;
    const FileContentsWriter spy = [&called](const fs::path&) {
        called = true;
        return FileError::None;
    };
    EXPECT_EQ(WriteFileAtomically(dir / "missing" / "x.tvd", spy), FileError::NotFound);
    EXPECT_EQ(WriteFileAtomically(dir.path(), spy), FileError::AccessDenied);
    EXPECT_FALSE(called);
}

} // namespace
} // namespace varnolt
