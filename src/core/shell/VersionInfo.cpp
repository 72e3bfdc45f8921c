#include "core/shell/VersionInfo.h"

namespace varnolt {

std::string FormatVersionLine(std::string_view productVersion, std::string_view specialBuild) {
    std::string line = "Version ";
    if (productVersion.empty()) {
        return line.append(specialBuild);
    }
    line.append(productVersion);
    if (!specialBuild.empty()) {
        line.append("-").append(specialBuild);
    }
    return line;
}

} // namespace varnolt
