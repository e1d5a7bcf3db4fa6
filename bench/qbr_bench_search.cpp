// Search over the 100 000-item benchmark catalog: the time of one query against a plain pass
// (memchr for line ends) over the same folded text in the same run, and the time to build the
// folded index once. Usage (after Google Benchmark's own --benchmark_* flags):
//   qbr_bench_search --corpus LOG_DIR --catalog-dir DIR
// as for qbr_bench, which makes the catalog in DIR when it is not there yet.

#include "bench_catalog.h"
#include "bench_main.h"
#include "catalog/catalog_files.h"
#include "catalog/error.h"
#include "catalog/log_scanner.h"
#include "catalog/silent_progress.h"
#include "null_sinks.h"
#include "posix/cp932_codec.h"
#include "ratio_reporter.h"
#include "search/search_index.h"
#include "search/search_query.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using namespace qbr;
using namespace qbr::bench;

struct Setup {
    Catalog catalog;
    std::unique_ptr<search::SearchIndex> index;
    // Typed queries, by benchmark name.
    std::vector<std::pair<std::string, std::string>> queries;
};

Setup& setup() {
    static Setup s;
    return s;
}

void BM_PlainPass(benchmark::State& state) {
    const std::string_view text = setup().index->foldedText();
    std::size_t lines = 0;
    for (auto _ : state) {
        lines = 0;
        for (const char* at = text.data();
             (at = static_cast<const char*>(std::memchr(at, '\n', text.data() + text.size() - at)));
             ++at)
            ++lines;
        benchmark::DoNotOptimize(lines);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
    state.counters["lines"] = static_cast<double>(lines);
}

void BM_Query(benchmark::State& state, const std::string& typed) {
    const search::SearchIndex& index = *setup().index;
    std::size_t found = 0;
    for (auto _ : state) {
        // Parsing and folding the query is part of each keystroke's work.
        const search::Query query = search::parseQuery(typed, search::textFolder());
        found = index.find(query).size();
        benchmark::DoNotOptimize(found);
    }
    state.SetBytesProcessed(
        static_cast<std::int64_t>(state.iterations() * index.foldedText().size()));
    state.counters["matches"] = static_cast<double>(found);
}

void BM_BuildIndex(benchmark::State& state) {
    for (auto _ : state) {
        search::SearchIndex index(setup().catalog);
        benchmark::DoNotOptimize(index.size());
    }
}

// A title of the catalog without its " #N" suffix: a word the user would look for, found in
// every copy of that listing.
std::string someTitle(const Catalog& catalog) {
    std::string title;
    std::size_t seen = 0;
    forEachPreOrder(catalog.top(), [&](const TreeNode& node) {
        if (node.level() == 2 && seen++ == 777)
            title = node.text();
    });
    title = title.substr(0, title.rfind(" #"));
    return platform::cp932ToUtf8(title);
}

int run(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    std::string corpus;
    std::string catalogDir;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--corpus" && i + 1 < argc) {
            corpus = argv[++i];
        } else if (arg == "--catalog-dir" && i + 1 < argc) {
            catalogDir = argv[++i];
        } else {
            std::fprintf(stderr, "qbr_bench_search: unknown argument %s\n", argv[i]);
            return 2;
        }
    }
    if (corpus.empty() || catalogDir.empty()) {
        std::fprintf(stderr, "usage: qbr_bench_search [--benchmark_*...] --corpus LOG_DIR "
                             "--catalog-dir DIR\n");
        return 2;
    }
    Setup& s = setup();
    const CatalogPaths paths = ensureBenchCatalog(catalogDir, withSeparator(corpus), {});
    SilentProgress progress;
    LoadCatalog(s.catalog, paths, systemFileSystem(), progress);
    s.index = std::make_unique<search::SearchIndex>(s.catalog);
    const std::string title = someTitle(s.catalog);
    s.queries = {
        {"search/query_title_word", title},           {"search/query_in_every_item", "登録者"},
        {"search/query_kana_no_match", "ぬゑゐ"},     {"search/query_latin_no_match", "zqxjv"},
        {"search/query_two_words", title + " zqxjv"},
    };
    std::printf("catalog: %zu items, folded text %.1f MB; title query \"%s\"\n", s.index->size(),
                static_cast<double>(s.index->foldedText().size()) / 1e6, title.c_str());

    benchmark::RegisterBenchmark("search/plain_memchr_pass", BM_PlainPass)->MinTime(0.3);
    for (const auto& [name, typed] : s.queries) {
        benchmark::RegisterBenchmark(
            name.c_str(), [typed = typed](benchmark::State& state) { BM_Query(state, typed); })
            ->MinTime(0.3)
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::RegisterBenchmark("search/build_index", BM_BuildIndex)
        ->Iterations(2)
        ->Unit(benchmark::kMillisecond);

    RatioReporter reporter(::isatty(STDOUT_FILENO) ? benchmark::ConsoleReporter::OO_ColorTabular
                                                   : benchmark::ConsoleReporter::OO_Tabular);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const auto plain = reporter.seconds("search/plain_memchr_pass");
    for (const auto& [name, typed] : s.queries) {
        const auto query = reporter.seconds(name);
        if (plain && query)
            std::printf("summary: %s %.2f ms (goal < 30 ms: %s), %.2f times the plain memchr "
                        "pass over the same %.1f MB\n",
                        name.c_str(), *query * 1e3, *query < 0.030 ? "met" : "MISSED",
                        *query / *plain, static_cast<double>(s.index->foldedText().size()) / 1e6);
    }
    if (const auto build = reporter.seconds("search/build_index"))
        std::printf("summary: search/build_index %.0f ms (once per change of the catalog)\n",
                    *build * 1e3);
    benchmark::Shutdown();
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    return qbr::bench::runReportingErrors("qbr_bench_search", [&] { return run(argc, argv); });
}
