#include "ui/app/CVarnoltApp.h"

#include <QtGlobal>

#include <string_view>

namespace {

// --help and --version only print; they must work where no display is reachable (over ssh, in
// scripts), so the window system is not asked for one then.
bool OnlyPrints(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "-h" || argument == "--help" || argument == "--help-all" ||
            argument == "-v" || argument == "--version") {
            return true;
        }
    }
    return false;
}

} // namespace

int main(int argc, char** argv) {
    if (OnlyPrints(argc, argv)) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    varnolt::ui::CVarnoltApp app(argc, argv);
    if (!app.InitInstance()) {
        return 1;
    }
    return app.exec();
}
