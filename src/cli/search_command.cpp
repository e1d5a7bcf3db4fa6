#include "catalog/error.h"
#include "cli/catalog_reports.h"
#include "cli/cli_output.h"
#include "cli/commands.h"
#include "search/romaji.h"
#include "search/search_index.h"

#include <algorithm>
#include <memory>
#include <stdexcept>

namespace qbr::cli {

// Every item that each word of the query matches (folded text of its title, its forum's name
// and its listing), like grep: 0 with matches, 1 with none or on an error, 2 on usage errors.
int searchCommand(const std::vector<std::string>& words) {
    std::vector<std::string> options = words;
    const auto romajiFlag = std::find(options.begin(), options.end(), "--romaji");
    const bool romaji = romajiFlag != options.end();
    if (romaji)
        options.erase(romajiFlag);
    std::string problem;
    const auto args = Args::parse(options, {"catalog", "encoding"}, problem);
    if (!args)
        return usageError(problem);
    const std::string encoding = args->get("encoding", "utf8");
    if (encoding != "utf8" && encoding != "sjis")
        return usageError("--encoding is utf8 or sjis");
    std::string typed;
    for (const std::string& word : args->positional())
        typed += word + ' ';

    std::unique_ptr<search::Romaji> readings;
    if (romaji) {
        if (!search::Romaji::available())
            return usageError("--romaji needs C/Migemo and its dictionary, which this build "
                              "does not have");
        try {
            readings = std::make_unique<search::Romaji>();
        } catch (const std::runtime_error& error) {
            std::fprintf(stderr, "quenbrill-cli: %s\n", error.what());
            return 1;
        }
    }
    const search::Query query = search::parseQuery(typed, search::textFolder(), readings.get());
    if (query.empty())
        return usageError("search needs a word to look for");

    Catalog catalog;
    if (!loadReportCatalog(*args, catalog))
        return 1;
    const search::SearchIndex index(catalog);
    const Output out(encoding == "utf8" ? Encoding::Utf8 : Encoding::Sjis);
    const std::vector<std::size_t> found = index.find(query);
    for (std::size_t i : found)
        out.line(itemHeadline(index.item(i).position, *index.item(i).node));
    out.flush();
    if (index.damage()) {
        // Such an item was searched by its title and forum only: the answer may be short.
        printError(*index.damage());
        return 1;
    }
    return found.empty() ? 1 : 0;
}

} // namespace qbr::cli
