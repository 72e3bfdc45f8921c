#include "cli/InteropCommands.h"

#include "cli/StderrPrompt.h"
#include "core/capture/CCaptureData.h"
#include "core/capture/ExportWriter.h"
#include "core/interop/CaptureJoin.h"
#include "core/interop/CaptureStatistics.h"
#include "core/interop/InteropExport.h"
#include "core/interop/StatisticsReport.h"

#include <filesystem>
#include <memory>

namespace varnolt::cli {

CliExit RunConvert(const CliArguments& args) {
    StderrPrompt prompt;
    bool damaged = false;
    const std::unique_ptr<CCaptureData> store = LoadCapture(args.capturePath, prompt, damaged);
    if (!store) {
        return CliExit::Failed;
    }
    const std::filesystem::path capture = ExportPath(args.capturePath);
    if (!ConvertForOtherTools(*store, TimeBase::ForFile(capture), ExportPath(args.outputPath),
                              prompt)) {
        return CliExit::Failed;
    }
    return damaged ? CliExit::Damaged : CliExit::Done;
}

CliExit RunStats(const CliArguments& args, std::ostream& out) {
    StderrPrompt prompt;
    bool damaged = false;
    const std::unique_ptr<CCaptureData> store = LoadCapture(args.capturePath, prompt, damaged);
    if (!store) {
        return CliExit::Failed;
    }
    const CaptureStatistics stats =
        ComputeStatistics(*store, TimeBase::ForFile(ExportPath(args.capturePath)));
    out << (args.json ? StatisticsJson(stats) : StatisticsText(stats));
    out.flush();
    return damaged ? CliExit::Damaged : CliExit::Done;
}

CliExit RunJoin(const CliArguments& args, std::ostream& out, std::ostream& err) {
    StderrPrompt prompt;
    std::vector<std::filesystem::path> inputs;
    for (const std::string& input : args.inputPaths) {
        inputs.push_back(ExportPath(input));
    }
    const JoinResult result =
        JoinCaptureFiles(inputs, ExportPath(args.outputPath), args.checkOnly, prompt);
    for (const std::string& line : result.files) {
        out << line << '\n';
    }
    if (!result.ok) {
        out.flush();
        err << "varnolt-cli: " << result.reason << '\n';
        return CliExit::Failed;
    }
    out << (args.checkOnly ? "can be joined: " : "joined: ") << result.total << " records\n";
    out.flush();
    return CliExit::Done;
}

} // namespace varnolt::cli
