#include "grep_count.h"

#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace qbr::bench {

namespace {

// The environment of this process with LC_ALL=C in front, so grep reads bytes, not
// characters of the user's locale.
std::vector<std::string> cLocaleEnvironment() {
    std::vector<std::string> env{"LC_ALL=C"};
    for (char** e = environ; *e; ++e) {
        if (std::strncmp(*e, "LC_ALL=", 7) != 0)
            env.emplace_back(*e);
    }
    return env;
}

std::vector<char*> pointers(std::vector<std::string>& strings) {
    std::vector<char*> out;
    for (std::string& s : strings)
        out.push_back(s.data());
    out.push_back(nullptr);
    return out;
}

// Adds up the counts of "FILE:COUNT" lines (or a bare "COUNT" for one file).
std::uint64_t sumCounts(const std::string& output) {
    std::uint64_t total = 0;
    std::size_t begin = 0;
    while (begin < output.size()) {
        std::size_t end = output.find('\n', begin);
        if (end == std::string::npos)
            end = output.size();
        const std::size_t colon = output.rfind(':', end);
        const std::size_t from = colon != std::string::npos && colon >= begin ? colon + 1 : begin;
        std::uint64_t count = 0;
        std::from_chars(output.data() + from, output.data() + end, count);
        total += count;
        begin = end + 1;
    }
    return total;
}

} // namespace

std::uint64_t grepCount(const std::string& pattern, const std::vector<std::string>& paths) {
    std::vector<std::string> args{"grep", "-c", "-F", "-e", pattern, "--"};
    args.insert(args.end(), paths.begin(), paths.end());
    std::vector<std::string> env = cLocaleEnvironment();
    std::vector<char*> argv = pointers(args);
    std::vector<char*> envp = pointers(env);

    int out[2];
    if (::pipe(out) != 0)
        throw std::runtime_error("grep: no pipe");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    posix_spawn_file_actions_addclose(&actions, out[1]);
    pid_t pid = 0;
    const int spawned = ::posix_spawnp(&pid, "grep", &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    if (spawned != 0) {
        ::close(out[0]);
        throw std::runtime_error(std::string("grep: cannot start: ") + std::strerror(spawned));
    }

    std::string output;
    char buffer[1 << 16];
    for (;;) {
        const ssize_t n = ::read(out[0], buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        output.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(out[0]);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    // 0: some line matched, 1: none did; anything else is a failure.
    if (!WIFEXITED(status) || WEXITSTATUS(status) > 1)
        throw std::runtime_error("grep failed");
    return sumCounts(output);
}

} // namespace qbr::bench
