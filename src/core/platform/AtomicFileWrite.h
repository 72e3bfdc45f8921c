#pragma once

#include "core/platform/FileError.h"

#include <filesystem>
#include <functional>

namespace varnolt {

// Writes the whole contents of a file into the file named by TEMPORARY (which exists, empty)
// and says how that went; FileError::None only when every byte reached it.
using FileContentsWriter = std::function<FileError(const std::filesystem::path& temporary)>;

// Replaces the file at TARGET with what WRITE produces, so that TARGET holds either its old
// contents or the complete new ones, never a part: WRITE fills a temporary file in TARGET's
// folder, which is flushed to the disk and then renamed over TARGET. When WRITE fails (a full
// disk part-way through), or the rename does, the temporary file is removed, TARGET is left as
// it was and the error is returned for the caller to report. A TARGET that is a symbolic link
// has the file it points to replaced; an existing TARGET keeps its permissions, and one that
// may not be written is refused (AccessDenied) as opening it for writing would be.
[[nodiscard]] FileError WriteFileAtomically(const std::filesystem::path& target,
                                            const FileContentsWriter& write);

} // namespace varnolt
