// Loads arbitrary bytes as a settings file: the reader must refuse or report them without
// reading past the end, and the normalized model must save again.

#include "core/platform/UserPrompt.h"
#include "core/settings/CSaParameter.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>

using namespace varnolt;

namespace {

class SilentPrompt final : public UserPrompt {
public:
    void message(std::string_view, std::string_view, PromptIcon) override {}
    PromptAnswer ask(std::string_view, std::string_view, PromptButtons, PromptIcon) override {
        return PromptAnswer::Ok;
    }
};

std::filesystem::path ScratchPath(const char* name) {
    return std::filesystem::temp_directory_path() /
           ("varnolt-fuzz-" + std::to_string(getpid()) + "-" + name);
}

// The two files each run writes, removed when the fuzzer exits.
struct ScratchFiles {
    std::filesystem::path input = ScratchPath("in.tvs");
    std::filesystem::path output = ScratchPath("out.tvs");
    ~ScratchFiles() {
        std::error_code ignored;
        std::filesystem::remove(input, ignored);
        std::filesystem::remove(output, ignored);
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const ScratchFiles scratch;
    std::FILE* file = std::fopen(scratch.input.c_str(), "wb");
    if (file == nullptr) {
        return 0;
    }
    std::fwrite(data, 1, size, file);
    std::fclose(file);

    SilentPrompt prompt;
    CSaParameter model;
    model.LoadFile(scratch.input, prompt);
    model.Normalize();
    model.SaveFile(scratch.output, prompt);
    return 0;
}
