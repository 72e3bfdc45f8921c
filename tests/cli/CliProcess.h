#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace varnolt::testing {

inline std::string ReadFileText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// ARG quoted for the shell.
inline std::string ShellQuoted(const std::string& arg) {
    std::string quoted = "'";
    for (const char c : arg) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

// What a program run left: its exit status (-1 when it did not exit) and its two outputs.
struct ProcessRun {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs PROGRAM with ARGS through the shell, its outputs caught in files in DIR.
inline ProcessRun RunProcess(const std::string& program, const std::vector<std::string>& args,
                             const std::filesystem::path& dir) {
    std::string command = ShellQuoted(program);
    for (const std::string& arg : args) {
        command += ' ' + ShellQuoted(arg);
    }
    const std::filesystem::path out = dir / "stdout";
    const std::filesystem::path err = dir / "stderr";
    command += " >" + ShellQuoted(out.string()) + " 2>" + ShellQuoted(err.string());
    const int raw = std::system(command.c_str());
    ProcessRun run;
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.out = ReadFileText(out);
    run.err = ReadFileText(err);
    return run;
}

} // namespace varnolt::testing
