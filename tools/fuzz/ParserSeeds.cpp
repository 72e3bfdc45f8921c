// Seed inputs for the targets of the saved-file answers and of the command line: the virtual
// analyzer's list and file answers, pattern texts as the input dialog holds them, and
// varnolt-cli command lines (arguments separated by NUL bytes).

#include "core/view/PatternText.h"
#include "sim/StoredFileMemory.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;
using varnolt::sim::StoredFileMemory;
using varnolt::sim::StoredFileRecipe;

void Write(const fs::path& folder, std::string_view name, std::string_view bytes) {
    fs::create_directories(folder);
    std::ofstream out(folder / name, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        std::fprintf(stderr, "make_fuzz_seeds: cannot write %s\n", (folder / name).c_str());
    }
}

void Append(std::string& stream, const Bytes& answer) {
    stream.append(answer.begin(), answer.end());
}

// Small files of every data format and record width the program takes, and one it refuses.
StoredFileMemory SmallFileMemory() {
    StoredFileMemory memory;
    memory.blockWords = 64;
    std::vector<varnolt::sim::StoredFile>& files = memory.files();
    files.clear();
    files.push_back(varnolt::sim::StoredSlot(0, "ONLINE"));
    int32_t number = 1;
    for (const int format : {2, 3, 4, 110}) {
        for (const uint16_t width : {uint16_t{0}, uint16_t{1}}) {
            StoredFileRecipe recipe;
            recipe.number = number++;
            recipe.name = "F" + std::to_string(format) + "W" + std::to_string(width);
            recipe.dataFormat = format;
            recipe.recordWidth = width;
            recipe.records = 150;
            recipe.seed = static_cast<uint64_t>(number);
            files.push_back(varnolt::sim::MakeStoredFile(recipe));
        }
    }
    files.push_back(varnolt::sim::StoredSlot(number, "NO_DAT"));
    StoredFileRecipe last;
    last.number = 9999;
    last.records = 40;
    files.push_back(varnolt::sim::MakeStoredFile(last));
    return memory;
}

void WriteSavedFileSeeds(const fs::path& root) {
    StoredFileMemory memory = SmallFileMemory();
    std::string list;
    Append(list, memory.BeginList());
    while (const std::optional<Bytes> next = memory.NextListAnswer()) {
        Append(list, *next);
    }
    Write(root / "saved_file_list", "seed-list", list);

    for (const varnolt::sim::StoredFile& file : memory.files()) {
        std::optional<Bytes> answer = memory.BeginFile(file.number);
        if (!answer) {
            continue;
        }
        std::string blocks;
        for (; answer; answer = memory.NextFileAnswer()) {
            Append(blocks, *answer);
        }
        Write(root / "saved_file_blocks", "seed-file-" + file.name, blocks);
    }
}

void WritePatternTextSeeds(const fs::path& folder) {
    using namespace varnolt;
    const std::vector<PatternElement> elements{
        {kPatternCharacter, 0x02}, {kPatternCharacter, 'A'}, {kPatternCharacter, 0xB1},
        {kPatternAny, 0},          {kPatternError, 3},       {kPatternBitMask, 1},
        {kPatternRange, 2},        {kPatternCharacter, 0x03}};
    Write(folder, "seed-glyphs", PatternDisplayText(elements));
    Write(folder, "seed-typed", "AB\r\n" + PatternDisplayText(elements) + "xyz\xB1\xDF");
    // The target reads the elements as pairs of a kind index (into 1, 2, 10, 20, 21) and a value.
    constexpr std::string_view kKinds{"\x01\x02\x0A\x14\x15", 5};
    std::string pairs;
    for (const PatternElement element : elements) {
        pairs += static_cast<char>(kKinds.find(static_cast<char>(element.kind)));
        pairs += static_cast<char>(element.value);
    }
    Write(folder, "seed-elements", pairs);
}

void WriteCommandLineSeeds(const fs::path& folder) {
    const std::vector<std::pair<std::string_view, std::vector<std::string_view>>> lines{
        {"help", {"--help"}},
        {"info", {"info", "a.tvd"}},
        {"export",
         {"export", "a.tvd", "out.csv", "--frame", "--line-length", "0x20", "--half-width",
          "--control-lines", "--start=5"}},
        {"settings", {"settings", "a.tvs", "b.tvs", "--diff", "--json"}},
        {"firmware", {"firmware", "f.tvy"}},
        {"convert", {"convert", "a.tvd", "out.pcapng"}},
        {"stats", {"stats", "a.tvd", "--json"}},
        {"join", {"join", "out.tvd", "a.tvd", "b.tvd", "--check"}},
        {"find-pattern",
         {"find", "a.tvd", "--pattern", "02 'ab' * !PE m0 r1 03", "--mask", "0=1?0?1?0?",
          "--range=1=30-39", "--all", "--max", "3"}},
        {"find-error", {"find", "a.tvd", "--error=PE,FE,OE", "--backward", "--from=10"}},
        {"find-idle", {"find", "a.tvd", "--idle", "5-"}},
        {"find-time", {"find", "a.tvd", "--time", "2026-12-10T10:15:00..2026-12-10T10:20:00"}},
    };
    for (const auto& [name, args] : lines) {
        std::string input;
        for (const std::string_view arg : args) {
            input += input.empty() ? "" : std::string(1, '\0');
            input += arg;
        }
        Write(folder, "seed-" + std::string(name), input);
    }
}

} // namespace

void WriteParserSeeds(const fs::path& root) {
    WriteSavedFileSeeds(root);
    WritePatternTextSeeds(root / "pattern_text");
    WriteCommandLineSeeds(root / "cli_arguments");
}
