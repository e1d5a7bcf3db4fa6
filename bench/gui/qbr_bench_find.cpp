// The find bar's keystroke on the 100 000-item benchmark catalog: the filter model's new query
// (the search and the tree's refilter) and the view's update, against a plain pass (memchr for
// line ends) over the same folded text in the same run. Usage, on Qt's offscreen platform:
//   qbr_bench_find [--benchmark_*...] --corpus LOG_DIR --catalog-dir DIR
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
#include "ui/catalog_model.h"
#include "ui/pictures.h"
#include "ui/search_filter_model.h"

#include <QApplication>
#include <QTreeView>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstring>
#include <memory>
#include <unistd.h>

namespace {

using namespace qbr;

struct Setup {
    Catalog catalog;
    std::unique_ptr<search::SearchIndex> index; // for the plain pass over the same text
    std::unique_ptr<ui::CatalogModel> model;
    std::unique_ptr<ui::SearchFilterModel> filter;
    std::unique_ptr<QTreeView> view;
    std::vector<QString> keystrokes; // the text after each key of a typed title, from the third
    std::vector<QString> firstKeys;  // the first two: they match a large part of the catalog
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
             (at = static_cast<const char*>(
                  std::memchr(at, '\n', static_cast<std::size_t>(text.data() + text.size() - at))));
             ++at)
            ++lines;
        benchmark::DoNotOptimize(lines);
    }
}

// One key of typing: the new text goes to the filter, the view shows the new tree.
void BM_Keystroke(benchmark::State& state, const std::vector<QString>& keys) {
    Setup& s = setup();
    std::size_t key = 0;
    for (auto _ : state) {
        s.filter->setQuery(keys[key++ % keys.size()]);
        s.view->expandAll();
        QApplication::processEvents();
    }
    state.counters["matches"] = s.filter->matchCount();
}

int run(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    std::string corpus, catalogDir;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--corpus" && i + 1 < argc)
            corpus = argv[++i];
        else if (arg == "--catalog-dir" && i + 1 < argc)
            catalogDir = argv[++i];
        else
            return std::fprintf(stderr, "qbr_bench_find: unknown argument %s\n", argv[i]), 2;
    }
    if (corpus.empty() || catalogDir.empty())
        return std::fprintf(stderr, "usage: qbr_bench_find --corpus LOG_DIR --catalog-dir DIR\n"),
               2;
    Setup& s = setup();
    const CatalogPaths paths = bench::ensureBenchCatalog(catalogDir, withSeparator(corpus), {});
    SilentProgress progress;
    LoadCatalog(s.catalog, paths, systemFileSystem(), progress);
    s.index = std::make_unique<search::SearchIndex>(s.catalog);
    s.model = std::make_unique<ui::CatalogModel>(s.catalog, ui::Pictures::treePictures());
    s.filter = std::make_unique<ui::SearchFilterModel>(*s.model, s.catalog);
    s.view = std::make_unique<QTreeView>();
    s.view->setUniformRowHeights(true);
    s.view->setModel(s.filter.get());
    s.view->resize(300, 600);
    s.view->show();
    s.filter->prepare(); // as the window does when the bar opens

    // The 778th title without its " #N", typed key by key from its third character on (one
    // or two characters match a large part of any catalog; the tree then shows most of it).
    std::string title;
    std::size_t seen = 0;
    forEachPreOrder(s.catalog.top(), [&](const TreeNode& node) {
        if (node.level() == 2 && seen++ == 777)
            title = node.text();
    });
    const QString typed =
        QString::fromStdU16String(platform::decodeCp932(title.substr(0, title.rfind(" #"))));
    for (qsizetype n = 1; n <= typed.size(); ++n)
        (n < 3 ? s.firstKeys : s.keystrokes).push_back(typed.left(n));
    std::printf("typing \"%s\": %zu keystrokes over %zu items\n", typed.toStdString().c_str(),
                s.keystrokes.size(), s.index->size());

    benchmark::RegisterBenchmark("find/plain_memchr_pass", BM_PlainPass)->MinTime(0.3);
    benchmark::RegisterBenchmark("find/keystroke", BM_Keystroke, s.keystrokes)
        ->MinTime(0.5)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("find/first_two_keystrokes", BM_Keystroke, s.firstKeys)
        ->MinTime(0.5)
        ->Unit(benchmark::kMillisecond);
    bench::RatioReporter reporter(::isatty(STDOUT_FILENO)
                                      ? benchmark::ConsoleReporter::OO_ColorTabular
                                      : benchmark::ConsoleReporter::OO_Tabular);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const auto plain = reporter.seconds("find/plain_memchr_pass");
    for (const char* name : {"find/keystroke", "find/first_two_keystrokes"}) {
        const auto key = reporter.seconds(name);
        if (plain && key)
            std::printf("summary: %s %.2f ms (goal < 30 ms: %s), %.2f times the plain memchr "
                        "pass over the same %.1f MB\n",
                        name, *key * 1e3, *key < 0.030 ? "met" : "MISSED", *key / *plain,
                        static_cast<double>(s.index->foldedText().size()) / 1e6);
    }
    benchmark::Shutdown();
    s.view.reset();
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    return qbr::bench::runReportingErrors("qbr_bench_find", [&] { return run(argc, argv); });
}
