#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace varnolt::testing {

inline std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline std::string Quoted(const std::string& arg) {
    std::string quoted = "'";
    for (const char c : arg) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

// What one run of varnolt-cli left: its exit status and what it wrote.
struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs varnolt-cli with ARGS, its output collected in files under DIR.
inline CliRun RunCli(const std::filesystem::path& dir, const std::vector<std::string>& args) {
    std::string command = Quoted(VARNOLT_CLI_PROGRAM);
    for (const std::string& arg : args) {
        command += ' ' + Quoted(arg);
    }
    const std::filesystem::path out = dir / "stdout";
    const std::filesystem::path err = dir / "stderr";
    command += " >" + Quoted(out.string()) + " 2>" + Quoted(err.string());
    const int raw = std::system(command.c_str());
    CliRun run;
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.out = ReadFile(out);
    run.err = ReadFile(err);
    return run;
}

} // namespace varnolt::testing
