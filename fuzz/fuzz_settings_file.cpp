// Loads arbitrary bytes as a settings file, in memory: the reader must refuse or report them
// without reading past the end, and whatever it read must normalize. A file read whole, once
// normalized, saves and loads again to the same model.

#include "core/platform/BinaryReader.h"
#include "core/platform/BinaryWriter.h"
#include "core/settings/CSaParameter.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "FuzzSupport.h"

using namespace varnolt;
using fuzz::Check;
using fuzz::SilentPrompt;

namespace {

std::vector<uint8_t> Saved(const CSaParameter& model) {
    std::vector<uint8_t> bytes;
    bytes.reserve(16384);
    BinaryWriter out(bytes);
    model.Write(out);
    Check(out.finish());
    return bytes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    SilentPrompt prompt;
    CSaParameter model;
    BinaryReader in(std::span<const uint8_t>(data, size));
    const bool loaded = model.Read(in, prompt, "fuzz.tvs");
    model.Normalize();
    if (!loaded) {
        return 0;
    }

    const std::vector<uint8_t> saved = Saved(model);
    CSaParameter again;
    BinaryReader back(saved);
    Check(again.Read(back, prompt, "again.tvs"));
    Check(again == model);
    return 0;
}
