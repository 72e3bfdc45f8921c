// Runs a fuzz target's saved inputs as an ordinary test: every file of each folder (or each file)
// named on the command line goes once through LLVMFuzzerTestOneInput, in a heap buffer of exactly
// its size so that the sanitizers catch a read past it. A folder without a file fails: an empty
// corpus would pass without testing anything.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);

namespace {

namespace fs = std::filesystem;

// The regular files of FOLDER in name order, or PATH itself when it names a file.
bool CollectInputs(const fs::path& path, std::vector<fs::path>& inputs) {
    std::error_code error;
    if (fs::is_regular_file(path, error)) {
        inputs.push_back(path);
        return true;
    }
    if (!fs::is_directory(path, error)) {
        std::fprintf(stderr, "fuzz replay: %s is neither a file nor a folder\n", path.c_str());
        return false;
    }
    std::vector<fs::path> found;
    for (const fs::directory_entry& entry : fs::directory_iterator(path, error)) {
        if (entry.is_regular_file(error)) {
            found.push_back(entry.path());
        }
    }
    if (error) {
        std::fprintf(stderr, "fuzz replay: cannot list %s: %s\n", path.c_str(),
                     error.message().c_str());
        return false;
    }
    if (found.empty()) {
        std::fprintf(stderr,
                     "fuzz replay: %s holds no saved input; add the target's corpus there\n",
                     path.c_str());
        return false;
    }
    std::sort(found.begin(), found.end());
    inputs.insert(inputs.end(), found.begin(), found.end());
    return true;
}

bool ReadInput(const fs::path& path, std::vector<char>& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return false;
    }
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s CORPUS_FOLDER_OR_FILE...\n", argv[0]);
        return 2;
    }
    if (LLVMFuzzerInitialize != nullptr) {
        LLVMFuzzerInitialize(&argc, &argv);
    }
    std::vector<fs::path> inputs;
    for (int i = 1; i < argc; ++i) {
        if (!CollectInputs(argv[i], inputs)) {
            return 1;
        }
    }

    std::vector<char> bytes;
    for (const fs::path& input : inputs) {
        if (!ReadInput(input, bytes)) {
            std::fprintf(stderr, "fuzz replay: cannot read %s\n", input.c_str());
            return 1;
        }
        // Named first so that a crash or a sanitizer report shows which input caused it.
        std::fprintf(stderr, "Running: %s (%zu bytes)\n", input.c_str(), bytes.size());
        const auto exact = std::make_unique<uint8_t[]>(bytes.size());
        std::copy(bytes.begin(), bytes.end(), exact.get());
        LLVMFuzzerTestOneInput(exact.get(), bytes.size());
    }
    std::printf("fuzz replay: %zu inputs ran\n", inputs.size());
    return 0;
}
