#include "cli/SettingsCommand.h"

#include "cli/StderrPrompt.h"
#include "core/capture/ExportWriter.h"
#include "core/settings/CSaParameter.h"
#include "core/settings/listing/SettingsReport.h"

#include <iostream>
#include <optional>

namespace varnolt::cli {

namespace {

// The settings file at PATH, read and made safe as the settings dialog reads it; nothing when
// it could not be read (the reason is on standard error).
std::optional<CSaParameter> Load(const std::string& path) {
    StderrPrompt prompt;
    CSaParameter model;
    if (!model.LoadFile(ExportPath(path), prompt)) {
        // The program silently takes the defaults for a file of a newer version; listing them
        // as the file's settings would be wrong.
        if (prompt.count() == 0) {
            std::cerr << "varnolt-cli: " << path
                      << ": the settings file is of a newer version than this program\n";
        }
        return std::nullopt;
    }
    model.Normalize();
    return model;
}

} // namespace

CliExit RunSettings(const CliArguments& args, std::ostream& out) {
    std::vector<std::vector<SettingLine>> listings;
    for (const std::string& path : args.settingsFiles) {
        const std::optional<CSaParameter> model = Load(path);
        if (!model) {
            return CliExit::Failed;
        }
        listings.push_back(ListSettings(*model));
    }
    if (args.diff) {
        const auto differences = DiffSettings(listings[0], listings[1]);
        out << (args.json ? DifferencesJson(differences) : DifferencesText(differences));
    } else {
        out << (args.json ? SettingsJson(listings[0]) : SettingsText(listings[0]));
    }
    out.flush();
    return CliExit::Done;
}

} // namespace varnolt::cli
