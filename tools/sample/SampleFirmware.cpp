// Writes a firmware file that the virtual analyzer's loader takes: material for trying the
// firmware update with --simulate. After the update the analyzer reports VERSION.
//
//   varnolt-sample-firmware OUT.tvy [--version HHHHHH] [--records N]

#include "sim/FirmwareImage.h"

#include <array>
#include <charconv>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

namespace {

bool ParseVersion(std::string_view text, std::array<uint8_t, 3>& version) {
    if (text.size() != 6) {
        return false;
    }
    for (size_t k = 0; k < 3; ++k) {
        const auto [end, error] =
            std::from_chars(text.data() + 2 * k, text.data() + 2 * k + 2, version[k], 16);
        if (error != std::errc() || end != text.data() + 2 * k + 2) {
            return false;
        }
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    const std::string usage = "usage: varnolt-sample-firmware OUT.tvy [--version HHHHHH] "
                              "[--records N]\n";
    if (argc < 2) {
        std::cerr << usage;
        return 2;
    }
    varnolt::sim::FirmwareImageLayout layout;
    layout.dataRecords = 2000;
    for (int i = 2; i + 1 < argc; i += 2) {
        const std::string_view option = argv[i];
        const std::string_view value = argv[i + 1];
        bool understood = false;
        if (option == "--version") {
            understood = ParseVersion(value, layout.version);
        } else if (option == "--records") {
            const auto [end, error] =
                std::from_chars(value.data(), value.data() + value.size(), layout.dataRecords);
            understood = error == std::errc() && end == value.data() + value.size() &&
                         layout.dataRecords >= 0;
        }
        if (!understood) {
            std::cerr << usage;
            return 2;
        }
    }
    if (argc % 2 != 0) {
        std::cerr << usage;
        return 2;
    }
    const std::vector<uint8_t> file = varnolt::sim::BuildFirmwareImage(layout);
    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(file.data()),
              static_cast<std::streamsize>(file.size()));
    if (!out) {
        std::cerr << "varnolt-sample-firmware: cannot write " << argv[1] << '\n';
        return 1;
    }
    return 0;
}
