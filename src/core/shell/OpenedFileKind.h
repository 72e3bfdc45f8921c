#pragma once

#include <filesystem>

namespace varnolt {

// What a file handed to the program holds (named on its command line, or opened by the desktop
// by its file type), told by its extension as the program's file dialogs tell them apart.
enum class OpenedFileKind {
    Capture,  // opened as the document; the capture reader says when it is not one
    Settings, // ".tvs": loaded into the settings dialog, as its "ファイル読出" does
};

[[nodiscard]] OpenedFileKind KindOfOpenedFile(const std::filesystem::path& path);

} // namespace varnolt
