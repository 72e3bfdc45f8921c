#include "cli/FindCommand.h"

#include "cli/FindCriteria.h"
#include "cli/StderrPrompt.h"
#include "core/capture/ExportWriter.h"
#include "core/interop/StampYearsOfCapture.h"
#include "core/view/SearchCondition.h"
#include "core/view/ViewSearch.h"

#include <algorithm>
#include <iostream>
#include <vector>

namespace varnolt::cli {

namespace {

std::string_view KindName(HitKind kind) {
    switch (kind) {
    case HitKind::SdCharacters:
        return "SD";
    case HitKind::RdCharacters:
        return "RD";
    case HitKind::Error:
        return "ERROR";
    case HitKind::Idle:
        return "IDLE";
    case HitKind::TimeStamp:
        return "TIME";
    case HitKind::None:
        break;
    }
    return "NONE";
}

} // namespace

CliExit RunFind(const std::vector<std::string>& args, std::ostream& out) {
    const FindParseResult parsed = ParseFindArguments(args);
    if (!parsed.request) {
        std::cerr << "varnolt-cli: " << parsed.error << '\n';
        return CliExit::Usage;
    }
    const FindRequest& request = *parsed.request;
    StderrPrompt prompt;
    if (!request.criteria.set) {
        prompt.message(ViewSearch::kNotSet, ViewSearch::kCaption, PromptIcon::Information);
        return CliExit::Usage;
    }
    bool damaged = false;
    const std::unique_ptr<CCaptureData> store = LoadCapture(request.capturePath, prompt, damaged);
    if (!store) {
        return CliExit::Failed;
    }
    RingIndex position = kNoRecord;
    if (request.from) {
        if (*request.from > store->Count()) {
            std::cerr << "varnolt-cli: --from " << *request.from << " lies past the capture's "
                      << store->Count() << " records\n";
            return CliExit::Usage;
        }
        position = RecordAtOffset(*store, static_cast<RecordCount>(*request.from - 1));
    }
    const SearchDirection direction =
        request.backward ? SearchDirection::Backward : SearchDirection::Forward;
    SearchCondition search(request.criteria);
    if (request.criteria.kind == kSearchDateTime) {
        // Stamps without year digits compare in the year the statistics and exports give them.
        search.setStampYears(
            StampYearsOf(*store, TimeBase::ForFile(ExportPath(request.capturePath))));
    }
    std::vector<HitRange> printed;
    const auto limit = static_cast<size_t>(request.all ? request.max.value_or(INT64_MAX) : 1);
    while (printed.size() < limit && search.Find(*store, position, direction)) {
        const HitRange hit = search.hit();
        if (std::find(printed.begin(), printed.end(), hit) != printed.end()) {
            break;
        }
        out << KindName(hit.kind) << ' ' << OffsetFromOldest(*store, hit.first) + 1 << ' '
            << OffsetFromOldest(*store, hit.last) + 1 << '\n';
        printed.push_back(hit);
        // The view's next find: forwards from the hit's first record, backwards from its last.
        position = request.backward ? hit.last : hit.first;
    }
    out.flush();
    if (printed.empty()) {
        prompt.message(ViewSearch::kNotFound, ViewSearch::kCaption, PromptIcon::Information);
        return CliExit::Failed;
    }
    return CliExit::Done;
}

} // namespace varnolt::cli
