#pragma once

#include "support/temp_dir.h"

#include <array>
#include <cstdio>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace qbr::test {

struct ProgramRun {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs a command through the shell with the arguments quoted, and collects its exit status,
// standard output and standard error (kept in `errFile` on the way).
inline ProgramRun runProgram(const std::string& command, const std::vector<std::string>& args,
                             const std::string& errFile) {
    std::string line = command;
    for (const std::string& arg : args)
        line += " '" + arg + "'";
    line += " 2>'" + errFile + "'";
    ProgramRun result;
    FILE* pipe = ::popen(line.c_str(), "r");
    std::array<char, 4096> buffer{};
    std::size_t n = 0;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        result.out.append(buffer.data(), n);
    const int status = ::pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.err = TempDir::read(errFile);
    return result;
}

} // namespace qbr::test
