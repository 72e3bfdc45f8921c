#pragma once

#include "core/capture/CCaptureData.h"

#include <filesystem>
#include <string>

namespace varnolt {

// The texts with which the background save tells the user what became of a file.

// A save was refused because the saver could not keep up: NAME and the RECORDS it would hold.
[[nodiscard]] std::string RefusedSaveMessage(const std::filesystem::path& name,
                                             RecordCount records);
// A save was refused because the files that could not be written fill the queue.
[[nodiscard]] std::string RefusedWhileKeptMessage(const std::filesystem::path& name,
                                                  RecordCount records);
// The save folder FOLDER has gone; the files kept until it can be written again.
[[nodiscard]] std::string FolderGoneMessage(const std::filesystem::path& folder);
// The file error ERROR of a file of RECORDS records, which is kept to be written later.
[[nodiscard]] std::string KeptAfterErrorMessage(const std::string& error, RecordCount records);

} // namespace varnolt
