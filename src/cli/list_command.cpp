#include "catalog/catalog_lock.h"
#include "catalog/error.h"
#include "catalog/silent_progress.h"
#include "cli/cli_args.h"
#include "cli/cli_output.h"
#include "cli/commands.h"

#include <charconv>

namespace qbr::cli {

namespace {

struct Loaded {
    Catalog catalog;
    Output out{Encoding::Utf8};
};

// Parses the options shared by list and show and loads the catalog; returns the exit status
// on failure.
int load(const std::vector<std::string>& words, Loaded& loaded, std::vector<std::string>& rest) {
    std::string problem;
    const auto args = Args::parse(words, {"catalog", "encoding"}, problem);
    if (!args)
        return usageError(problem);
    if (!args->has("catalog"))
        return usageError("needs --catalog BASE");
    const std::string encoding = args->get("encoding", "utf8");
    if (encoding != "utf8" && encoding != "sjis")
        return usageError("--encoding is utf8 or sjis");
    loaded.out = Output(encoding == "utf8" ? Encoding::Utf8 : Encoding::Sjis);
    rest = args->positional();
    if (args->get("catalog").empty())
        return usageError("--catalog needs a file name");
    SilentProgress progress;
    try {
        LoadCatalogForReading(loaded.catalog, CatalogPaths::fromBase(args->get("catalog")),
                              systemFileSystem(), progress);
    } catch (const Error& error) {
        printError(error.text());
        return 1;
    }
    return 0;
}

} // namespace

int listCommand(const std::vector<std::string>& words) {
    Loaded loaded;
    std::vector<std::string> rest;
    if (const int status = load(words, loaded, rest))
        return status;
    if (!rest.empty())
        return usageError("list takes no arguments");
    std::size_t position = 0;
    std::string line;
    forEachPreOrder(loaded.catalog.top(), [&](const TreeNode& node) {
        line = std::to_string(position++);
        line += '\t';
        line.append(static_cast<std::size_t>(node.level()), '\t');
        line += node.text();
        loaded.out.line(line);
    });
    loaded.out.flush();
    return 0;
}

int showCommand(const std::vector<std::string>& words) {
    Loaded loaded;
    std::vector<std::string> rest;
    if (const int status = load(words, loaded, rest))
        return status;
    std::size_t wanted = 0;
    if (rest.size() != 1 ||
        std::from_chars(rest[0].data(), rest[0].data() + rest[0].size(), wanted).ec != std::errc())
        return usageError("show takes one position, as list numbers the nodes");
    const TreeNode* found = nullptr;
    std::size_t position = 0;
    forEachPreOrder(loaded.catalog.top(), [&](const TreeNode& node) {
        if (position++ == wanted)
            found = &node;
    });
    if (!found || found->level() != 2)
        return usageError("position " + rest[0] + " is not an item");
    try {
        for (std::string_view line : loaded.catalog.ItemText(*found))
            loaded.out.line(line);
    } catch (const Error& error) {
        loaded.out.flush();
        printError(error.text());
        return 1;
    }
    loaded.out.flush();
    return 0;
}

} // namespace qbr::cli
