#include "core/shell/OpenedFileKind.h"

#include <algorithm>
#include <cctype>
#include <string>

namespace varnolt {

OpenedFileKind KindOfOpenedFile(const std::filesystem::path& path) {
    std::string extension = path.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == ".tvs" ? OpenedFileKind::Settings : OpenedFileKind::Capture;
}

} // namespace varnolt
