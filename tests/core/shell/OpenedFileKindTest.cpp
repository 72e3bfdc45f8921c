#include "core/shell/OpenedFileKind.h"

#include <gtest/gtest.h>

namespace varnolt {
namespace {

TEST(OpenedFileKind, SettingsFilesByTheirExtensionWhateverItsCase) {
    const struct {
        const char* path;
        OpenedFileKind kind;
    } cases[] = {
        {"capture.tvd", OpenedFileKind::Capture},
        {"/home/u/line settings.tvs", OpenedFileKind::Settings},
        {"SETUP.TVS", OpenedFileKind::Settings},
        {"firmware.tvy", OpenedFileKind::Capture},
        {"tvs", OpenedFileKind::Capture},
        {"folder.tvs/capture", OpenedFileKind::Capture},
        {"vrn.ini", OpenedFileKind::Capture},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(KindOfOpenedFile(c.path), c.kind) << c.path;
    }
}

} // namespace
} // namespace varnolt
