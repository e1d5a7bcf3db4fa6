// Throughput of the log scan and of the catalog files, each against a plain pass over the
// same bytes in the same run. Usage (after Google Benchmark's own --benchmark_* flags):
//   qbr_bench --corpus LOG_DIR --catalog-dir DIR
// LOG_DIR holds generated session logs (kept in the page cache by the caller); DIR receives
// the 100 000-item benchmark catalog, made from the corpus when it is not there yet, and
// the files that the save benchmarks write.

#include "bench_catalog.h"
#include "catalog/catalog_files.h"
#include "catalog/error.h"
#include "catalog/log_scanner.h"
#include "grep_count.h"
#include "no_sync_file_system.h"
#include "null_sinks.h"
#include "plain_pass.h"
#include "ratio_reporter.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <exception>
#include <memory>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <vector>

namespace {

using namespace qbr;
using namespace qbr::bench;

constexpr std::string_view kDownloadMarker = "LIB>DOW";

struct Setup {
    std::string corpus;
    std::vector<std::string> logs;
    std::uint64_t logBytes = 0;

    CatalogPaths catalog = CatalogPaths::fromBase("");
    std::vector<std::string> catalogFiles;
    std::uint64_t catalogBytes = 0;
    std::size_t catalogItems = 0;
    std::string catalogDir;

    // What the passes saw, to print beside the ratios.
    PlainCount plainLogs;
    std::size_t scanFinds = 0;
    std::size_t scanItems = 0;
    std::uint64_t grepLines = 0;
};

// Google Benchmark keeps the registered lambdas for the whole run.
Setup& setup() {
    static Setup s;
    return s;
}

void scratchDirectory(const std::string& path) {
    ::mkdir(path.c_str(), 0755);
}

void BM_ScanPlainPass(benchmark::State& state) {
    Setup& s = setup();
    for (auto _ : state) {
        s.plainLogs = countLineEndsChunked(s.logs);
        benchmark::DoNotOptimize(s.plainLogs);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * s.logBytes));
    state.counters["line_ends"] = static_cast<double>(s.plainLogs.lineEnds);
}

void BM_ScanLogScanner(benchmark::State& state) {
    Setup& s = setup();
    for (auto _ : state) {
        auto catalog = std::make_unique<Catalog>();
        NullScanProgress progress;
        NullReport report;
        LogScanner scanner(*catalog, systemFileSystem(), progress, report);
        Watermark watermark;
        scanner.xFindFile(s.corpus, watermark);
        state.PauseTiming();
        // One report line per log read, one per download found.
        s.scanFinds = report.lines() - s.logs.size();
        s.scanItems = itemCount(*catalog);
        catalog.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * s.logBytes));
    state.counters["finds"] = static_cast<double>(s.scanFinds);
    state.counters["items"] = static_cast<double>(s.scanItems);
}

void BM_ScanGrep(benchmark::State& state) {
    Setup& s = setup();
    for (auto _ : state)
        s.grepLines = grepCount(std::string(kDownloadMarker), s.logs);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * s.logBytes));
    state.counters["lines"] = static_cast<double>(s.grepLines);
}

void BM_CatalogPlainRead(benchmark::State& state) {
    Setup& s = setup();
    PlainCount count;
    for (auto _ : state) {
        count = countLineEndsWhole(s.catalogFiles);
        benchmark::DoNotOptimize(count);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * s.catalogBytes));
}

void BM_CatalogLoad(benchmark::State& state) {
    Setup& s = setup();
    NullCatalogProgress progress;
    for (auto _ : state) {
        auto catalog = std::make_unique<Catalog>();
        LoadCatalog(*catalog, s.catalog, systemFileSystem(), progress);
        state.PauseTiming();
        if (catalog->loadState() != Catalog::LoadState::Complete ||
            itemCount(*catalog) != s.catalogItems) {
            state.SkipWithError("the catalog did not load whole");
        }
        catalog.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * s.catalogBytes));
}

// The catalog as loaded, for the saves; loaded once, on first use.
Catalog& loadedCatalog() {
    static const std::unique_ptr<Catalog> catalog = [] {
        auto c = std::make_unique<Catalog>();
        NullCatalogProgress progress;
        LoadCatalog(*c, setup().catalog, systemFileSystem(), progress);
        return c;
    }();
    return *catalog;
}

void saveBenchmark(benchmark::State& state, FileSystem& fs, const std::string& subdirectory) {
    Setup& s = setup();
    Catalog& catalog = loadedCatalog();
    const std::string directory = s.catalogDir + "/" + subdirectory;
    scratchDirectory(directory);
    const CatalogPaths target = CatalogPaths::fromBase(directory + "/bench");
    NullCatalogProgress progress;
    for (auto _ : state)
        SaveCatalog(catalog, target, fs, progress);
    if (totalSize({target.dat(), target.trr(), target.nod()}) != s.catalogBytes)
        state.SkipWithError("the saved files differ in size from the loaded ones");
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * s.catalogBytes));
}

void BM_CatalogSaveNoSync(benchmark::State& state) {
    NoSyncFileSystem fs(systemFileSystem());
    saveBenchmark(state, fs, "save-nosync");
}

void BM_CatalogSaveSync(benchmark::State& state) {
    saveBenchmark(state, systemFileSystem(), "save-fsync");
}

// For reference only: the three files written out plainly, no flush to disk.
void BM_CatalogPlainWrite(benchmark::State& state) {
    Setup& s = setup();
    std::vector<std::string> contents;
    for (const std::string& path : s.catalogFiles) {
        std::string bytes;
        if (readWholeFile(systemFileSystem(), path, bytes) != 0)
            state.SkipWithError("cannot read the catalog files");
        contents.push_back(std::move(bytes));
    }
    const std::string directory = s.catalogDir + "/plain-write";
    scratchDirectory(directory);
    for (auto _ : state) {
        for (std::size_t i = 0; i < contents.size(); ++i)
            writePlain(directory + "/file" + std::to_string(i), contents[i]);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * s.catalogBytes));
}

void registerAll() {
    // Each repetition runs for at least MinTime; the median of three is kept, so that a
    // passing burst of load on the machine does not decide a ratio.
    auto common = [](benchmark::internal::Benchmark* b) {
        b->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(3)->ReportAggregatesOnly();
    };
    common(benchmark::RegisterBenchmark("scan/plain_memchr_pass", BM_ScanPlainPass)->MinTime(0.3));
    common(
        benchmark::RegisterBenchmark("scan/LogScanner_xFindFile", BM_ScanLogScanner)->MinTime(0.3));
    common(benchmark::RegisterBenchmark("scan/grep_c_F", BM_ScanGrep)->MinTime(0.3));
    common(
        benchmark::RegisterBenchmark("catalog/plain_read_pass", BM_CatalogPlainRead)->MinTime(0.3));
    common(benchmark::RegisterBenchmark("catalog/LoadCatalog", BM_CatalogLoad)->MinTime(0.3));
    common(benchmark::RegisterBenchmark("catalog/SaveCatalog_no_flush", BM_CatalogSaveNoSync)
               ->MinTime(0.3));
    // Each save with its flushes writes the whole catalog to the disk: few of them.
    common(benchmark::RegisterBenchmark("catalog/SaveCatalog_fsync", BM_CatalogSaveSync)
               ->Iterations(1));
    common(benchmark::RegisterBenchmark("catalog/plain_write_pass", BM_CatalogPlainWrite)
               ->MinTime(0.3));
}

double mbPerSecond(std::uint64_t bytes, double seconds) {
    return static_cast<double>(bytes) / seconds / 1e6;
}

const char* verdict(bool met) {
    return met ? "met" : "MISSED";
}

// One line per goal, each a ratio of two times of this run.
void printSummary(const RatioReporter& r) {
    const Setup& s = setup();
    std::printf("\nsummary: corpus %llu bytes in %zu logs; catalog %zu items in %llu bytes "
                "(.dat+.trr+.nod)\n",
                static_cast<unsigned long long>(s.logBytes), s.logs.size(), s.catalogItems,
                static_cast<unsigned long long>(s.catalogBytes));
    const auto plain = r.seconds("scan/plain_memchr_pass");
    const auto scan = r.seconds("scan/LogScanner_xFindFile");
    const auto grep = r.seconds("scan/grep_c_F");
    if (plain && scan) {
        const double ratio = *plain / *scan;
        std::printf("summary: scan %.0f MB/s, plain memchr pass %.0f MB/s: scan/plain "
                    "throughput %.3f (goal >= 0.333) %s\n",
                    mbPerSecond(s.logBytes, *scan), mbPerSecond(s.logBytes, *plain), ratio,
                    verdict(ratio >= 1.0 / 3));
    }
    if (grep && scan) {
        const double ratio = *grep / *scan;
        std::printf("summary: grep -c -F %.0f MB/s (%llu lines), scan %.0f MB/s (%zu finds, %zu "
                    "items): scan/grep throughput %.3f (goal > 1) %s\n",
                    mbPerSecond(s.logBytes, *grep), static_cast<unsigned long long>(s.grepLines),
                    mbPerSecond(s.logBytes, *scan), s.scanFinds, s.scanItems, ratio,
                    verdict(ratio > 1));
    }
    const auto read = r.seconds("catalog/plain_read_pass");
    const auto load = r.seconds("catalog/LoadCatalog");
    const auto save = r.seconds("catalog/SaveCatalog_no_flush");
    const auto saveSync = r.seconds("catalog/SaveCatalog_fsync");
    const auto write = r.seconds("catalog/plain_write_pass");
    if (read && load) {
        std::printf("summary: LoadCatalog %.1f ms, plain read pass %.1f ms: load/plain time "
                    "%.2f (goal <= 3) %s\n",
                    *load * 1e3, *read * 1e3, *load / *read, verdict(*load / *read <= 3));
    }
    if (read && save) {
        std::printf("summary: SaveCatalog without flush %.1f ms: save/plain time %.2f (goal <= "
                    "3) %s\n",
                    *save * 1e3, *save / *read, verdict(*save / *read <= 3));
    }
    if (read && saveSync) {
        std::printf("summary: SaveCatalog with fsync %.1f ms: save/plain time %.2f; the "
                    "flushes cost %.1f ms\n",
                    *saveSync * 1e3, *saveSync / *read, save ? (*saveSync - *save) * 1e3 : 0.0);
    }
    if (read && write) {
        std::printf("summary: plain write of the same files (no flush) %.1f ms: write/read "
                    "time %.2f\n",
                    *write * 1e3, *write / *read);
    }
}

int run(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    Setup& s = setup();
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--corpus" && i + 1 < argc) {
            s.corpus = argv[++i];
        } else if (arg == "--catalog-dir" && i + 1 < argc) {
            s.catalogDir = argv[++i];
        } else {
            std::fprintf(stderr, "qbr_bench: unknown argument %s\n", argv[i]);
            return 2;
        }
    }
    if (s.corpus.empty() || s.catalogDir.empty()) {
        std::fprintf(stderr, "usage: qbr_bench [--benchmark_*...] --corpus LOG_DIR "
                             "--catalog-dir DIR\n");
        return 2;
    }
    s.corpus = withSeparator(s.corpus);
    s.logs = filesIn(s.corpus);
    s.logBytes = totalSize(s.logs);

    const CatalogShape shape;
    s.catalog = ensureBenchCatalog(s.catalogDir, s.corpus, shape);
    s.catalogFiles = {s.catalog.dat(), s.catalog.trr(), s.catalog.nod()};
    s.catalogBytes = totalSize(s.catalogFiles);
    s.catalogItems = shape.items;

    registerAll();
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    printSummary(reporter);
    benchmark::Shutdown();
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    try {
        return run(argc, argv);
    } catch (const Error& e) {
        std::fprintf(stderr, "qbr_bench: %s\n", e.text().c_str());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "qbr_bench: %s\n", e.what());
    }
    return 1;
}
