// Start-up of the desktop program with a catalog of 100 000 items.
//
//   qbr_bench_gui [RUNS]
//
// The parent writes the catalog files into a temporary folder, then starts itself RUNS times as
// a child on Qt's offscreen platform. Each child builds the main window as the program does
// (FormCreate with the load, Form2, show, first paint) and reports its times; the parent adds
// the time from before the process started. The load is set against a plain read of the same
// three files (read whole, line ends counted with memchr) in the same child, so the ratio holds
// on a busy machine. Then the child steps the selection through the expanded tree, and times the
// detail pane's refresh alone on items whose file is present and on items whose file is missing,
// against a plain decode of the same items' lines.
#include "catalog/catalog.h"
#include "catalog/catalog_files.h"
#include "catalog/file_system.h"
#include "catalog/silent_progress.h"
#include "desktop/desktop_shell.h"
#include "desktop/program_icons.h"
#include "desktop/qt_open_file_dialog.h"
#include "plain_pass.h"
#include "posix/file_probe.h"
#include "support/memory_registry_store.h"
#include "ui/display_text.h"
#include "ui/error_guard.h"
#include "ui/qbr1.h"

#include <QApplication>
#include <QStringList>
#include <QTreeView>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

long long nowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch())
        .count();
}

constexpr int kForums = 200;
constexpr int kItemsPerForum = 500;
constexpr int kSelectionSteps = 2000;
// Forums whose even items have their file in the download folder.
constexpr int kForumsWithFiles = 4;

// A listing of a dozen lines, as the service showed it, in Shift-JIS.
std::vector<std::string> listing(int forum, int item, const std::string& title) {
    std::vector<std::string> lines;
    lines.push_back("  " + std::to_string(item) + " BIN   " + title);
    // "登録者" (uploader) and a description line in double-byte text.
    lines.push_back("\x93\x6F\x98\x5E\x8E\xD2 : QNT" + std::to_string(10000 + forum));
    for (int i = 0; i < 9; ++i)
        lines.push_back("\x82\xB1\x82\xCC\x83\x76\x83\x8D\x83\x4F\x83\x89\x83\x80\x82\xCD "
                        "line " +
                        std::to_string(i) + " of the description of item " + std::to_string(item));
    lines.push_back("\x83\x74\x83\x40\x83\x43\x83\x8B\x96\xBC"); // "ファイル名"
    lines.push_back("F" + std::to_string(forum) + "_" + std::to_string(item) + ".LZH");
    return lines;
}

void writeCatalog(const std::string& base) {
    qbr::Catalog catalog;
    for (int f = 0; f < kForums; ++f) {
        qbr::TreeNode* forum = catalog.AddForum("FORUM" + std::to_string(f));
        for (int i = 0; i < kItemsPerForum; ++i) {
            const std::string title = "Item " + std::to_string(i) + " Ver1." + std::to_string(f);
            catalog.AddItem(*forum, title, listing(f, i, title));
        }
    }
    qbr::SilentProgress silent;
    qbr::SaveCatalog(catalog, qbr::CatalogPaths::fromBase(base), qbr::systemFileSystem(), silent);
}

class PrintingReporter final : public qbr::ui::ErrorReporter {
  public:
    void report(std::string_view text) override { std::cerr << "error: " << text << "\n"; }
};

int child(const std::string& folder) {
    const long long mainEntered = nowNs();
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qunsetenv("QT_QPA_PLATFORMTHEME");
    int argc = 1;
    char name[] = "quenbrill";
    char* argv[] = {name, nullptr};
    QApplication application(argc, argv);
    const long long appMade = nowNs();

    const std::string executable = folder + "/quenbrill";
    const qbr::CatalogPaths paths = qbr::CatalogPaths::fromExecutable(executable);
    const std::vector<std::string> files{paths.dat(), paths.trr(), paths.nod()};
    // The plain pass: once to warm the cache as the load finds it, then timed.
    qbr::bench::countLineEndsWhole(files);
    const long long plainStart = nowNs();
    const qbr::bench::PlainCount plain = qbr::bench::countLineEndsWhole(files);
    const long long plainNs = nowNs() - plainStart;

    qbr::platform::MemoryRegistryStore store(
        "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\EmSoft\\EmNifty]\r\n\"LogPath\"=\"" +
        folder + "/logs\"\r\n\"DownPath\"=\"" + folder +
        "/download\"\r\n\r\n[HKEY_CURRENT_USER\\Software\\Ostrane\\QBR\\Settings]\r\n"
        "\"Maximized\"=\"0\"\r\n\"Width\"=\"800\"\r\n\"Height\"=\"600\"\r\n\r\n");
    PrintingReporter reporter;
    const long long createStart = nowNs();
    qbr::platform::PosixFileProbe probe;
    qbr::platform::DesktopProgramIcons icons;
    qbr::platform::FreedesktopShell shell;
    qbr::platform::QtOpenFileDialog dialog;
    qbr::ui::TForm1 form(
        {executable, qbr::systemFileSystem(), store, reporter, '.', {probe, icons, shell, dialog}});
    const long long created = nowNs();
    form.show();
    QApplication::processEvents();
    form.repaint();
    const long long shown = nowNs();

    auto* tree = form.findChild<QTreeView*>(QStringLiteral("TreeView1"));
    const long long expandStart = nowNs();
    form.SpeedButton4Click();
    QApplication::processEvents();
    const long long expanded = nowNs();
    QModelIndex index = tree->model()->index(0, 0);
    const long long selectStart = nowNs();
    int steps = 0;
    for (; steps < kSelectionSteps && index.isValid(); ++steps) {
        tree->setCurrentIndex(index);
        tree->repaint();
        index = tree->indexBelow(index);
    }
    const long long selectNs = nowNs() - selectStart;

    // The refresh alone: select each item of the first forums, present and missing files apart.
    std::vector<long long> presentNs, missingNs;
    long long plainDecodeNs = 0;
    const QModelIndex root = tree->model()->index(0, 0);
    for (int f = 0; f < kForumsWithFiles; ++f) {
        const QModelIndex forum = tree->model()->index(f, 0, root);
        for (int i = 0; i < tree->model()->rowCount(forum); ++i) {
            const QModelIndex item = tree->model()->index(i, 0, forum);
            const long long start = nowNs();
            tree->setCurrentIndex(item);
            const long long took = nowNs() - start;
            (i % 2 == 0 ? presentNs : missingNs).push_back(took);
            // The plain pass: the same item's lines fetched and decoded for display.
            const long long plainStart = nowNs();
            QStringList decoded;
            for (std::string_view line : form.catalog().ItemText(*form.model().node(item)))
                decoded.push_back(qbr::ui::displayText(line));
            plainDecodeNs += nowNs() - plainStart;
        }
    }
    const auto medianNs = [](std::vector<long long> values) {
        std::sort(values.begin(), values.end());
        return values.empty() ? 0LL : values[values.size() / 2];
    };
    const auto maxNs = [](const std::vector<long long>& values) {
        return values.empty() ? 0LL : *std::max_element(values.begin(), values.end());
    };
    long long refreshTotal = 0;
    for (long long took : presentNs)
        refreshTotal += took;
    for (long long took : missingNs)
        refreshTotal += took;

    std::cout << "main " << mainEntered << "\napp " << appMade << "\ncreate_start " << createStart
              << "\ncreated " << created << "\nshown " << shown << "\nplain_ns " << plainNs
              << "\nplain_bytes " << plain.bytes << "\nexpand_ns " << expanded - expandStart
              << "\nselect_ns " << selectNs << "\nselect_steps " << steps << "\nitems "
              << form.catalog().nodeCount() << "\nrefresh_present_ns " << medianNs(presentNs)
              << "\nrefresh_present_max_ns " << maxNs(presentNs) << "\nrefresh_missing_ns "
              << medianNs(missingNs) << "\nrefresh_missing_max_ns " << maxNs(missingNs)
              << "\nrefresh_total_ns " << refreshTotal << "\nrefresh_plain_ns " << plainDecodeNs
              << "\n";
    return 0;
}

std::map<std::string, long long> runChild(const std::string& self, const std::string& folder,
                                          long long& started) {
    const std::string command = "'" + self + "' --child '" + folder + "'";
    started = nowNs();
    FILE* pipe = ::popen(command.c_str(), "r");
    std::map<std::string, long long> values;
    if (pipe == nullptr)
        return values;
    char key[64];
    long long value = 0;
    while (std::fscanf(pipe, "%63s %lld", key, &value) == 2)
        values[key] = value;
    ::pclose(pipe);
    return values;
}

double ms(long long ns) {
    return static_cast<double>(ns) / 1e6;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc == 3 && std::string(argv[1]) == "--child")
        return child(argv[2]);

    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    char pattern[] = "/tmp/qbr-bench-gui.XXXXXX";
    const char* made = ::mkdtemp(pattern);
    if (made == nullptr)
        return 1;
    const std::string folder = made;
    std::filesystem::create_directory(folder + "/logs");
    writeCatalog(folder + "/quenbrill");
    std::filesystem::create_directory(folder + "/download");
    for (int f = 0; f < kForumsWithFiles; ++f)
        for (int i = 0; i < kItemsPerForum; i += 2)
            std::ofstream(folder + "/download/F" + std::to_string(f) + "_" + std::to_string(i) +
                          ".LZH")
                << "archive";
    const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();

    std::vector<double> startToShown, startToMain, load, plain, ratio, expand, select;
    std::vector<double> refreshPresent, refreshPresentMax, refreshMissing, refreshMissingMax,
        refreshRatio;
    long long bytes = 0, items = 0, steps = 0;
    for (int run = 0; run < runs; ++run) {
        long long started = 0;
        auto v = runChild(self, folder, started);
        if (v.count("shown") == 0) {
            std::cerr << "the child reported nothing\n";
            return 1;
        }
        startToShown.push_back(ms(v["shown"] - started));
        startToMain.push_back(ms(v["main"] - started));
        load.push_back(ms(v["created"] - v["create_start"]));
        plain.push_back(ms(v["plain_ns"]));
        ratio.push_back(static_cast<double>(v["created"] - v["create_start"]) /
                        static_cast<double>(v["plain_ns"]));
        expand.push_back(ms(v["expand_ns"]));
        select.push_back(static_cast<double>(v["select_ns"]) / 1e3 /
                         static_cast<double>(std::max(1LL, v["select_steps"])));
        refreshPresent.push_back(ms(v["refresh_present_ns"]));
        refreshPresentMax.push_back(ms(v["refresh_present_max_ns"]));
        refreshMissing.push_back(ms(v["refresh_missing_ns"]));
        refreshMissingMax.push_back(ms(v["refresh_missing_max_ns"]));
        refreshRatio.push_back(static_cast<double>(v["refresh_total_ns"]) /
                               static_cast<double>(std::max(1LL, v["refresh_plain_ns"])));
        bytes = v["plain_bytes"];
        items = v["items"];
        steps = v["select_steps"];
    }
    std::filesystem::remove_all(folder);

    std::printf("catalog: %lld nodes, %.1f MB in the three files; %d runs, medians\n", items,
                static_cast<double>(bytes) / 1e6, runs);
    std::printf("process start -> main():            %8.1f ms\n", median(startToMain));
    std::printf("process start -> window shown:      %8.1f ms\n", median(startToShown));
    std::printf("FormCreate (settings + load):       %8.1f ms\n", median(load));
    std::printf("plain read of the three files:      %8.1f ms\n", median(plain));
    std::printf("load / plain read:                  %8.2f\n", median(ratio));
    std::printf("expand all:                         %8.1f ms\n", median(expand));
    std::printf("select the next row and repaint:    %8.1f us per step (%lld steps)\n",
                median(select), steps);
    std::printf("refresh, file present:              %8.3f ms median, %.3f ms max\n",
                median(refreshPresent), median(refreshPresentMax));
    std::printf("refresh, file missing:              %8.3f ms median, %.3f ms max\n",
                median(refreshMissing), median(refreshMissingMax));
    std::printf("refresh / plain decode of its lines: %7.1f\n", median(refreshRatio));
    return 0;
}
