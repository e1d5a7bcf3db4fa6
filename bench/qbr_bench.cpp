// Throughput of the log scan and of the catalog files, each against a plain pass over the
// same bytes in the same run. Usage (after Google Benchmark's own --benchmark_* flags):
//   qbr_bench --corpus LOG_DIR --catalog-dir DIR
// LOG_DIR holds generated session logs (kept in the page cache by the caller); DIR receives
// the 100 000-item benchmark catalog, made from the corpus when it is not there yet, and
// the files that the save benchmarks write.

#include "bench_catalog.h"
#include "bench_main.h"
#include "catalog/catalog_files.h"
#include "catalog/error.h"
#include "catalog/log_reader.h"
#include "catalog/log_scanner.h"
#include "catalog/silent_progress.h"
#include "cpu_meter.h"
#include "grep_count.h"
#include "no_sync_file_system.h"
#include "null_sinks.h"
#include "plain_pass.h"
#include "ratio_reporter.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
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

// Bytes per second for the table, and the processor time per iteration for the ratios.
void finish(benchmark::State& state, const CpuMeter& cpu, std::uint64_t bytes) {
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
    state.counters["cpu_ms"] =
        benchmark::Counter(cpu.total() * 1e3, benchmark::Counter::kAvgIterations);
}

void BM_ScanPlainPass(benchmark::State& state) {
    Setup& s = setup();
    CpuMeter cpu;
    for (auto _ : state) {
        cpu.start();
        s.plainLogs = countLineEndsChunked(s.logs);
        cpu.stop();
        benchmark::DoNotOptimize(s.plainLogs);
    }
    finish(state, cpu, s.logBytes);
}

void BM_ScanLogScanner(benchmark::State& state) {
    Setup& s = setup();
    CpuMeter cpu;
    for (auto _ : state) {
        cpu.start();
        auto catalog = std::make_unique<Catalog>();
        NullScanProgress progress;
        NullReport report;
        LogScanner scanner(*catalog, systemFileSystem(), progress, report);
        Watermark watermark;
        scanner.xFindFile(s.corpus, watermark);
        cpu.stop();
        state.PauseTiming();
        // One report line per log read, one per download found.
        s.scanFinds = report.lines() - s.logs.size();
        s.scanItems = itemCount(*catalog);
        catalog.reset();
        state.ResumeTiming();
    }
    state.counters["finds"] = static_cast<double>(s.scanFinds);
    state.counters["items"] = static_cast<double>(s.scanItems);
    finish(state, cpu, s.logBytes);
}

// Where the scan's time goes: the line reader alone, every line of every log and nothing
// done with it. The scan's time beyond this is the recognising and filing of downloads.
void BM_ScanLineReader(benchmark::State& state) {
    Setup& s = setup();
    CpuMeter cpu;
    std::size_t lines = 0;
    for (auto _ : state) {
        cpu.start();
        lines = 0;
        std::string buffer;
        for (const std::string& path : s.logs) {
            int error = 0;
            std::unique_ptr<InputFile> file = systemFileSystem().openRead(path, error);
            if (!file) {
                state.SkipWithError("cannot open a log");
                break;
            }
            LogReader reader(*file, buffer);
            while (!reader.atEnd()) {
                benchmark::DoNotOptimize(reader.next());
                ++lines;
            }
        }
        cpu.stop();
    }
    state.counters["lines"] = static_cast<double>(lines);
    finish(state, cpu, s.logBytes);
}

void BM_ScanGrep(benchmark::State& state) {
    Setup& s = setup();
    CpuMeter cpu;
    for (auto _ : state) {
        cpu.start();
        s.grepLines = grepCount(std::string(kDownloadMarker), s.logs);
        cpu.stop();
    }
    finish(state, cpu, s.logBytes);
}

void BM_CatalogPlainRead(benchmark::State& state) {
    Setup& s = setup();
    CpuMeter cpu;
    PlainCount count;
    for (auto _ : state) {
        cpu.start();
        count = countLineEndsWhole(s.catalogFiles);
        cpu.stop();
        benchmark::DoNotOptimize(count);
    }
    finish(state, cpu, s.catalogBytes);
}

void BM_CatalogLoad(benchmark::State& state) {
    Setup& s = setup();
    CpuMeter cpu;
    SilentProgress progress;
    for (auto _ : state) {
        cpu.start();
        auto catalog = std::make_unique<Catalog>();
        LoadCatalog(*catalog, s.catalog, systemFileSystem(), progress);
        cpu.stop();
        state.PauseTiming();
        if (catalog->loadState() != Catalog::LoadState::Complete ||
            itemCount(*catalog) != s.catalogItems) {
            state.SkipWithError("the catalog did not load whole");
        }
        catalog.reset();
        state.ResumeTiming();
    }
    finish(state, cpu, s.catalogBytes);
}

// The catalog as loaded, for the saves; loaded once, on first use.
Catalog& loadedCatalog() {
    static const std::unique_ptr<Catalog> catalog = [] {
        auto c = std::make_unique<Catalog>();
        SilentProgress progress;
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
    SilentProgress progress;
    CpuMeter cpu;
    for (auto _ : state) {
        cpu.start();
        SaveCatalog(catalog, target, fs, progress);
        cpu.stop();
    }
    if (totalSize({target.dat(), target.trr(), target.nod()}) != s.catalogBytes)
        state.SkipWithError("the saved files differ in size from the loaded ones");
    finish(state, cpu, s.catalogBytes);
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
    CpuMeter cpu;
    for (auto _ : state) {
        cpu.start();
        for (std::size_t i = 0; i < contents.size(); ++i)
            writePlain(directory + "/file" + std::to_string(i), contents[i]);
        cpu.stop();
    }
    finish(state, cpu, s.catalogBytes);
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
        benchmark::RegisterBenchmark("scan/LogReader_lines_only", BM_ScanLineReader)->MinTime(0.3));
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

// The times of one benchmark: wall and processor (its children's included).
struct Times {
    double wall = 0;
    double cpu = 0;
};

std::optional<Times> timesOf(const RatioReporter& r, const std::string& name) {
    const auto wall = r.seconds(name);
    const auto cpu = r.cpuSeconds(name);
    if (!wall || !cpu)
        return std::nullopt;
    return Times{*wall, *cpu};
}

// "wall 0.42 met, cpu 0.47 met": a ratio of the subject's time to the reference's, each way,
// checked against the goal.
std::string ratioText(const Times& subject, const Times& reference, bool higherIsBetter,
                      double goal) {
    auto one = [&](const char* label, double s, double ref) {
        const double ratio = higherIsBetter ? ref / s : s / ref;
        const bool met = higherIsBetter ? ratio >= goal : ratio <= goal;
        char text[64];
        std::snprintf(text, sizeof text, "%s %.3f %s", label, ratio, verdict(met));
        return std::string(text);
    };
    return one("wall", subject.wall, reference.wall) + ", " +
           one("cpu", subject.cpu, reference.cpu);
}

// One line per goal, each a ratio of two times of this run.
void printSummary(const RatioReporter& r) {
    const Setup& s = setup();
    std::printf("\nsummary: corpus %llu bytes in %zu logs; catalog %zu items in %llu bytes "
                "(.dat+.trr+.nod)\n",
                static_cast<unsigned long long>(s.logBytes), s.logs.size(), s.catalogItems,
                static_cast<unsigned long long>(s.catalogBytes));
    const auto plain = timesOf(r, "scan/plain_memchr_pass");
    const auto scan = timesOf(r, "scan/LogScanner_xFindFile");
    const auto grep = timesOf(r, "scan/grep_c_F");
    if (plain && scan) {
        std::printf("summary: scan %.0f MB/s, plain memchr pass %.0f MB/s (wall); scan/plain "
                    "throughput (goal >= 0.333): %s\n",
                    mbPerSecond(s.logBytes, scan->wall), mbPerSecond(s.logBytes, plain->wall),
                    ratioText(*scan, *plain, true, 1.0 / 3).c_str());
    }
    if (const auto reader = timesOf(r, "scan/LogReader_lines_only"); reader && scan) {
        std::printf("summary: of the scan's time, reading the lines (LogReader alone) takes %.0f%% "
                    "wall, %.0f%% cpu\n",
                    100 * reader->wall / scan->wall, 100 * reader->cpu / scan->cpu);
    }
    if (grep && scan) {
        std::printf("summary: grep -c -F %.0f MB/s (wall; %llu lines), scan found %zu downloads, "
                    "%zu items; scan/grep throughput (goal > 1): %s\n",
                    mbPerSecond(s.logBytes, grep->wall),
                    static_cast<unsigned long long>(s.grepLines), s.scanFinds, s.scanItems,
                    ratioText(*scan, *grep, true, 1.0).c_str());
    }
    const auto read = timesOf(r, "catalog/plain_read_pass");
    const auto load = timesOf(r, "catalog/LoadCatalog");
    const auto save = timesOf(r, "catalog/SaveCatalog_no_flush");
    const auto saveSync = timesOf(r, "catalog/SaveCatalog_fsync");
    const auto write = timesOf(r, "catalog/plain_write_pass");
    if (read && load) {
        std::printf("summary: LoadCatalog %.1f ms, plain read pass %.1f ms (wall); load/plain "
                    "time (goal <= 3): %s\n",
                    load->wall * 1e3, read->wall * 1e3, ratioText(*load, *read, false, 3).c_str());
    }
    if (read && save) {
        std::printf("summary: SaveCatalog without flush %.1f ms (wall); save/plain time (goal <= "
                    "3): %s\n",
                    save->wall * 1e3, ratioText(*save, *read, false, 3).c_str());
    }
    if (read && saveSync) {
        std::printf("summary: SaveCatalog with fsync %.1f ms (wall; flushes %+.1f ms); "
                    "save/plain time: %s\n",
                    saveSync->wall * 1e3, save ? (saveSync->wall - save->wall) * 1e3 : 0.0,
                    ratioText(*saveSync, *read, false, 3).c_str());
    }
    if (read && write) {
        std::printf("summary: for reference, a plain write of the same files (no flush) %.1f ms "
                    "(wall): %.2f times the plain read\n",
                    write->wall * 1e3, write->wall / read->wall);
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
    // Colours only on a terminal: the output is also kept in files.
    RatioReporter reporter(::isatty(STDOUT_FILENO) ? benchmark::ConsoleReporter::OO_ColorTabular
                                                   : benchmark::ConsoleReporter::OO_Tabular);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    printSummary(reporter);
    benchmark::Shutdown();
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    return qbr::bench::runReportingErrors("qbr_bench", [&] { return run(argc, argv); });
}
