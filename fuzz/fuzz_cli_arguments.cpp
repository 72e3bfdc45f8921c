// Feeds arbitrary command lines to varnolt-cli's parsing (the arguments are the input's pieces
// between NUL bytes): every command, and the criteria of "find". A command line that parses,
// written back in its plain form, parses to the same command and options, so a pattern read from
// its tokens and written as tokens again is the same pattern. Parsed find criteria then search a
// small capture, whose hits lie inside it.

#include "cli/CliArguments.h"
#include "cli/FindCriteria.h"
#include "core/capture/CCaptureData.h"
#include "core/view/SearchCondition.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "FuzzSupport.h"

using namespace varnolt;
using namespace varnolt::cli;
using fuzz::Check;

namespace {

using Args = std::vector<std::string>;

constexpr std::array<const char*, 5> kErrorNames = {"PE", "FE", "PF", "BR", "OE"};

std::string Hex2(unsigned value) {
    std::array<char, 3> text{};
    std::snprintf(text.data(), text.size(), "%02X", value & 0xFF);
    return text.data();
}

std::string PatternTokens(const CharacterPattern& pattern) {
    std::string text;
    for (const PatternElement element : pattern.usedElements()) {
        text += text.empty() ? "" : " ";
        switch (element.kind) {
        case kPatternCharacter:
            text += Hex2(element.value);
            break;
        case kPatternAny:
            text += "*";
            break;
        case kPatternError:
            text += std::string("!") + kErrorNames.at(element.value);
            break;
        case kPatternBitMask:
            text += "m" + std::to_string(element.value);
            break;
        default:
            text += "r" + std::to_string(element.value);
            break;
        }
    }
    return text;
}

std::string DateTimeText(const CalendarTime& t) {
    std::array<char, 32> text{};
    std::snprintf(text.data(), text.size(), "%04d-%02d-%02dT%02d:%02d:%02d", t.year, t.month, t.day,
                  t.hour, t.minute, t.second);
    return text.data();
}

// The find arguments of REQUEST in their plain form: one criterion, then masks, ranges, walk.
Args FindArgs(const FindRequest& request) {
    const SearchCriteria& criteria = request.criteria;
    Args args{request.capturePath};
    switch (criteria.kind) {
    case kSearchCharacters:
        args.push_back("--pattern=" + PatternTokens(criteria.pattern));
        break;
    case kSearchError: {
        std::string list;
        for (size_t code = 0; code < kErrorNames.size(); ++code) {
            if ((criteria.errorSet >> (7 - code) & 1) != 0) {
                list += (list.empty() ? "" : ",") + std::string(kErrorNames[code]);
            }
        }
        args.push_back("--error=" + list);
        break;
    }
    case kSearchIdle:
        args.push_back("--idle=" + std::to_string(criteria.idleLowerMs) + "-" +
                       std::to_string(criteria.idleUpperMs));
        break;
    default:
        args.push_back("--time=" + DateTimeText(criteria.lowerDate) + ".." +
                       DateTimeText(criteria.upperDate));
        break;
    }
    const CharacterPattern& pattern = criteria.pattern;
    for (size_t slot = 0; slot < kPatternSlotCount; ++slot) {
        const PatternBitMask& mask = pattern.bitMasks[slot];
        if (mask != PatternBitMask{}) {
            std::string bits;
            for (int b = 7; b >= 0; --b) {
                bits += (mask.mustBeOne >> b & 1) != 0    ? '1'
                        : (mask.mustBeZero >> b & 1) != 0 ? '0'
                                                          : '?';
            }
            args.push_back("--mask=" + std::to_string(slot) + "=" + bits);
        }
        const PatternRange& range = pattern.ranges[slot];
        if (range != PatternRange{}) {
            args.push_back("--range=" + std::to_string(slot) + "=" +
                           (range.lowEnabled != 0 ? Hex2(range.low) : "") + "-" +
                           (range.highEnabled != 0 ? Hex2(range.high) : ""));
        }
    }
    if (request.backward) {
        args.push_back("--backward");
    }
    if (request.all) {
        args.push_back("--all");
    }
    if (request.from) {
        args.push_back("--from=" + std::to_string(*request.from));
    }
    if (request.max) {
        args.push_back("--max=" + std::to_string(*request.max));
    }
    return args;
}

// The command line of PARSED in its plain form.
Args PlainArgs(const CliArguments& parsed) {
    const auto with = [](Args args, bool flag, const char* option) {
        if (flag) {
            args.push_back(option);
        }
        return args;
    };
    switch (parsed.command) {
    case CliCommand::Help:
        return {"--help"};
    case CliCommand::Version:
        return {"--version"};
    case CliCommand::Info:
        return {"info", parsed.capturePath};
    case CliCommand::Firmware:
        return {"firmware", parsed.capturePath};
    case CliCommand::Export: {
        Args args{"export", parsed.capturePath, parsed.outputPath,
                  "--line-length=" + parsed.lineLength, "--start=" + parsed.startPosition};
        args = with(args, parsed.frameLayout, "--frame");
        args = with(args, parsed.halfWidth, "--half-width");
        return with(args, parsed.controlLines, "--control-lines");
    }
    case CliCommand::Settings: {
        Args args{"settings"};
        args.insert(args.end(), parsed.settingsFiles.begin(), parsed.settingsFiles.end());
        return with(with(args, parsed.json, "--json"), parsed.diff, "--diff");
    }
    case CliCommand::Find: {
        Args args{"find"};
        args.insert(args.end(), parsed.commandArgs.begin(), parsed.commandArgs.end());
        return args;
    }
    case CliCommand::Convert:
        return {"convert", parsed.capturePath, parsed.outputPath};
    case CliCommand::Stats:
        return with({"stats", parsed.capturePath}, parsed.json, "--json");
    case CliCommand::Join: {
        // With --check every file named is an input: there is no output name to write.
        Args args{"join"};
        if (!parsed.checkOnly) {
            args.push_back(parsed.outputPath);
        }
        args.insert(args.end(), parsed.inputPaths.begin(), parsed.inputPaths.end());
        return with(args, parsed.checkOnly, "--check");
    }
    }
    return {};
}

// SD and RD characters with line starts, errors, idle gaps and time stamps.
const CCaptureData& SmallCapture() {
    static CCaptureData* const store = [] {
        auto* capture = new CCaptureData(256);
        uint32_t state = 12345;
        const auto next = [&state] {
            state = state * 1103515245 + 12345;
            return state >> 16;
        };
        while (capture->Count() < 240) {
            const uint32_t pick = next() % 16;
            if (pick == 0) {
                (void)capture->Append(MakeRecordWord(RecordKind::IdleHead, 0x100 | next() % 256),
                                      0);
                (void)capture->Append(MakeRecordWord(RecordKind::IdleContinuation, next()), 0);
                (void)capture->Append(MakeRecordWord(RecordKind::IdleContinuation, next()), 0);
            } else if (pick == 1) {
                (void)capture->Append(MakeRecordWord(RecordKind::StampHead, 0x100 | next() % 256),
                                      0);
                for (int k = 0; k < 3; ++k) {
                    (void)capture->Append(MakeRecordWord(RecordKind::StampContinuation, next()), 0);
                }
            } else {
                const auto kind = static_cast<RecordKind>(1 + pick % 4);
                const uint32_t code = pick % 4 >= 2 ? next() % 5 : next() % 8 + 0x40;
                (void)capture->Append(MakeRecordWord(kind, code | (next() % 4 == 0 ? 0x100 : 0)),
                                      0);
            }
        }
        return capture;
    }();
    return *store;
}

void CheckSearch(const FindRequest& request) {
    const CCaptureData& capture = SmallCapture();
    SearchCondition search(request.criteria);
    const RingIndex from = request.from ? static_cast<RingIndex>(*request.from % 300) - 1 : -1;
    const auto direction = request.backward ? SearchDirection::Backward : SearchDirection::Forward;
    if (search.Find(capture, from, direction)) {
        const HitRange& hit = search.hit();
        Check(hit.first >= 0 && hit.first <= capture.lastIndex());
        Check(hit.last >= 0 && hit.last <= capture.lastIndex());
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Args args(1);
    for (size_t k = 0; k < size; ++k) {
        if (data[k] == 0) {
            args.emplace_back();
        } else {
            args.back().push_back(static_cast<char>(data[k]));
        }
    }
    const CliParseResult parsed = ParseCliArguments(args);
    Check(parsed.arguments.has_value() == parsed.error.empty());
    if (!parsed.arguments) {
        return 0;
    }
    const CliParseResult again = ParseCliArguments(PlainArgs(*parsed.arguments));
    Check(again.arguments == parsed.arguments);
    if (parsed.arguments->command != CliCommand::Find) {
        return 0;
    }

    const FindParseResult find = ParseFindArguments(parsed.arguments->commandArgs);
    Check(find.request.has_value() == find.error.empty());
    if (!find.request) {
        return 0;
    }
    const FindParseResult findAgain = ParseFindArguments(FindArgs(*find.request));
    Check(findAgain.request == find.request);
    CheckSearch(*find.request);
    return 0;
}
