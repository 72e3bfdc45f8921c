// Seed inputs for the targets that read the analyzer's text lines and firmware files: screen
// capture lines as the virtual analyzer sends them, and firmware files as its loader takes them,
// whole and damaged.

#include "core/link/protocol/HexFormat.h"
#include "core/link/screencapture/ScreenImage.h"
#include "sim/AnalyzerFirmware.h"
#include "sim/FirmwareImage.h"
#include "sim/ScreenPicture.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

void Write(const fs::path& folder, std::string_view name, const Bytes& bytes) {
    fs::create_directories(folder);
    std::ofstream out(folder / name, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        std::fprintf(stderr, "make_fuzz_seeds: cannot write %s\n", (folder / name).c_str());
    }
}

void Append(Bytes& bytes, std::string_view text) {
    bytes.insert(bytes.end(), text.begin(), text.end());
}

void WriteCaptureLineSeeds(const fs::path& folder) {
    const varnolt::sim::AnalyzerFirmware firmware;
    const std::vector<uint16_t> screen = varnolt::sim::DrawAnalyzerScreen(firmware);
    // A config byte (buffer and chunk size), then rows of 24 pixels, a bad pair, "CE".
    for (const uint8_t config : {uint8_t{40}, uint8_t{255}}) {
        Bytes stream{config};
        for (int row = 0; row < 3; ++row) {
            std::string line = "CP";
            for (int column = 0; column < 24; ++column) {
                varnolt::AppendHex(line, screen[static_cast<size_t>(row * 4000 + column * 7)], 4);
            }
            Append(stream, line + "\n");
        }
        Append(stream, "CPF8x0ff07E0\nXY\nCE\n");
        Write(folder, "seed-lines-" + std::to_string(config), stream);
    }
    // A line longer than the smallest buffers, then a short one.
    Bytes overlong{2};
    Append(overlong, "CP" + std::string(64, 'F') + "\nCP0000\n");
    Write(folder, "seed-overlong", overlong);
}

void WriteFirmwareFileSeeds(const fs::path& folder) {
    using varnolt::sim::BuildFirmwareImage;
    Write(folder, "seed-good.tvy", BuildFirmwareImage({.headerRecords = 2, .dataRecords = 12}));
    Write(folder, "seed-no-mark.tvy", BuildFirmwareImage({.dataRecords = 3, .withMark = false}));
    Bytes cut = BuildFirmwareImage({.headerRecords = 1, .dataRecords = 2});
    cut.resize(cut.size() - 5);
    Write(folder, "seed-cut.tvy", cut);
    Bytes shortRecord = BuildFirmwareImage({.headerRecords = 1, .dataRecords = 2});
    shortRecord[4] = 0x80;
    Write(folder, "seed-short-record.tvy", shortRecord);
}

} // namespace

void WriteLineSeeds(const fs::path& root) {
    WriteCaptureLineSeeds(root / "capture_line");
    WriteFirmwareFileSeeds(root / "firmware_file");
}
