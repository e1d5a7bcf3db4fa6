#include "cli/commands.h"

#include <cstdio>
#include <cstring>
#include <exception>
#include <string>
#include <vector>

namespace {

struct Entry {
    const char* name;
    qbr::cli::Command run;
    const char* usage;
};

const Entry kCommands[] = {
    {"scan", qbr::cli::scanCommand,
     "scan --catalog BASE --logs DIR [--watermark DAYS] [--encoding utf8|sjis]\n"
     "  quenbrill-cli scan [--encoding utf8|sjis]   (one run with the stored settings)"},
    {"list", qbr::cli::listCommand, "list --catalog BASE [--encoding utf8|sjis]"},
    {"show", qbr::cli::showCommand, "show --catalog BASE POSITION [--encoding utf8|sjis]"},
    {"config", qbr::cli::configCommand,
     "config [--log-dir DIR] [--download-dir DIR] [--user ID]\n"
     "  quenbrill-cli config --show"},
    {"salvage", qbr::cli::salvageCommand, "salvage [--catalog BASE]"},
    {"archive", qbr::cli::archiveCommand, "archive FILE [--encoding utf8|sjis]"},
    {"search", qbr::cli::searchCommand,
     "search [--catalog BASE] [--romaji] [--encoding utf8|sjis] QUERY..."},
    {"missing", qbr::cli::missingCommand,
     "missing [--catalog BASE] [--download-dir DIR] [--encoding utf8|sjis]"},
    {"orphans", qbr::cli::orphansCommand, "orphans [--catalog BASE] [--download-dir DIR]"},
    {"export", qbr::cli::exportCommand,
     "export --format csv|json [--catalog BASE] [--download-dir DIR] [--encoding utf8|sjis]"},
};

void printUsage(std::FILE* to) {
    std::fprintf(to, "usage: quenbrill-cli COMMAND [OPTIONS]\n");
    for (const Entry& entry : kCommands)
        std::fprintf(to, "  quenbrill-cli %s\n", entry.usage);
}

} // namespace

int qbr::cli::usageError(const std::string& message) {
    std::fprintf(stderr, "quenbrill-cli: %s\n", message.c_str());
    printUsage(stderr);
    return 2;
}

int main(int argc, char** argv) {
    if (argc < 2 || std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "help") == 0) {
        printUsage(argc < 2 ? stderr : stdout);
        return argc < 2 ? 2 : 0;
    }
    const std::vector<std::string> words(argv + 2, argv + argc);
    for (const Entry& entry : kCommands) {
        if (std::strcmp(argv[1], entry.name) != 0)
            continue;
        // The commands report their own errors; anything else still ends with a clear line,
        // never with an abort.
        try {
            return entry.run(words);
        } catch (const std::exception& error) {
            std::fprintf(stderr, "quenbrill-cli: %s: %s\n", entry.name, error.what());
            return 1;
        }
    }
    return qbr::cli::usageError(std::string("unknown command ") + argv[1]);
}
