// Writes a settings file: the analyzer's default settings, or with --frame the frame display
// mode, as the settings dialog's "ファイル保存" writes them. Material for trying a settings file
// with the program and varnolt-cli.
//
//   varnolt-sample-settings OUT.tvs [--frame]

#include "cli/StderrPrompt.h"
#include "core/settings/CSaParameter.h"

#include <iostream>
#include <string_view>

int main(int argc, char** argv) {
    const bool frame = argc == 3 && std::string_view(argv[2]) == "--frame";
    if (argc < 2 || (argc == 3 && !frame) || argc > 3) {
        std::cerr << "usage: varnolt-sample-settings OUT.tvs [--frame]\n";
        return 2;
    }
    varnolt::CSaParameter settings;
    settings.displayMode = frame ? 1 : 0;
    varnolt::cli::StderrPrompt prompt;
    return settings.SaveFile(argv[1], prompt) ? 0 : 1;
}
