#pragma once

#include "catalog/catalog.h"
#include "catalog/catalog_files.h"
#include "catalog/error.h"
#include "catalog/file_system.h"
#include "catalog/log_scanner.h"
#include "settings/registry_store.h"

#include <optional>
#include <string>
#include <string_view>

namespace qbr {

// The program's own key under HKEY_CURRENT_USER; every value lives in section "Settings".
inline constexpr std::string_view kOwnKey = "Software\\Ostrane\\QBR";
inline constexpr std::string_view kOwnSection = "Settings";

// The main window's placement as the window reports it at exit. The defaults are those of a
// first start: maximized, with normal bounds 0, 0, 544 wide, 375 high, and a tree 150 wide.
struct WindowGeometry {
    int Top = 0;
    int Left = 0;
    int Height = 375;
    int Width = 544;
    int Splitter = 150; // width of TreeView1 in pixels
    bool Maximized = true;
};

// What FormCreate read for the window, in the order the window applies it: top, left, height,
// width, the tree's width, then the state. A field is empty when start-up stopped before
// reading it; the window then keeps its designed value for it.
struct StartupReads {
    std::optional<int> Top;
    std::optional<int> Left;
    std::optional<int> Height;
    std::optional<int> Width;
    std::optional<int> Splitter;
    std::optional<bool> Maximized;
    // The error that ended start-up, for the window to show in its error box. Start-up has
    // then skipped everything after the failing step; the run goes on with what was set.
    std::optional<Error> error;
};

// One run of the program without its windows: the in-memory settings (LogPath, DownPath,
// ArchiverCommand, the watermark), the catalog, and the two halves that touch the settings
// store and the catalog files, FormCreate's reads and FormDestroy's writes. The main window
// owns one; the headless run of the command line too.
//
//   AppSession session(store, systemFileSystem(), executablePath, locale separator);
//   StartupReads reads = session.FormCreate(loadProgress);   // apply reads, show reads.error
//   session.scan(scanProgress, report);                        // 取込; reimport(): 再取込
//   session.FormDestroy(windowGeometry, saveProgress);        // raises qbr::Error
//
// The catalog files lie beside the executable (CatalogPaths::fromExecutable). A catalog that
// start-up did not read to its end (start-up stopped before loading while a ".dat" file exists,
// or the load stopped part-way) is never written at exit: the save is refused with an error and
// no setting is written, so the stored watermark stays before every log whose finds were not
// saved and the next run reads them again.
class AppSession {
  public:
    AppSession(RegistryStore& store, FileSystem& fs, std::string_view executablePath,
               char localeSeparator = '.');
    AppSession(const AppSession&) = delete;
    AppSession& operator=(const AppSession&) = delete;

    // The reads of start-up, once per run, in order: EmNifty's folders (the key is created when
    // absent), the archive tool, then from the own key the watermark "PreDateTimeF" (read
    // accepting "." and the locale's separator) and the window's placement, ScanDateTime :=
    // PreDateTime, and LoadCatalog through the progress sink (nothing without a ".dat" file).
    // Never raises qbr::Error: the first error ends start-up and is returned.
    StartupReads FormCreate(CatalogProgressSink& progress);

    // The writes at exit: SaveCatalog when Modified, then "PreDateTimeF" := ScanDateTime, and,
    // when the window's geometry is given, "Splitter", then "Maximized" "1" alone when maximized,
    // else "Maximized" "0" and the four bounds. Without a geometry (a run without a window) the
    // stored placement is left as it is. Raises qbr::Error at the first failure: a failed save
    // writes no setting at all; a failed write keeps the values written before it.
    void FormDestroy(const std::optional<WindowGeometry>& window, CatalogProgressSink& progress);

    // One scan of LogPath from the watermark: the logs dated after PreDateTime, their downloads
    // filed into the catalog and reported; ScanDateTime moves with them. Raises qbr::Error at a
    // log that cannot be read, keeping what was filed before it.
    void scan(ScanProgressSink& progress, ReportSink& report);
    // The scan of every log again: PreDateTime goes back to 0 first. Nothing is filed twice.
    void reimport(ScanProgressSink& progress, ReportSink& report);

    Catalog& catalog() noexcept { return catalog_; }
    const Catalog& catalog() const noexcept { return catalog_; }
    bool Modified() const noexcept { return catalog_.Modified(); }
    // PreDateTime and ScanDateTime; the scanner moves them.
    Watermark& watermark() noexcept { return watermark_; }
    const Watermark& watermark() const noexcept { return watermark_; }

    const std::string& LogPath() const noexcept { return LogPath_; }
    const std::string& DownPath() const noexcept { return DownPath_; }
    const std::string& ArchiverCommand() const noexcept { return ArchiverCommand_; }

  private:
    void readOwnKey(StartupReads& reads);

    RegistryStore& store_;
    FileSystem& fs_;
    CatalogPaths paths_;
    char localeSeparator_;

    Catalog catalog_;
    Watermark watermark_;
    std::string LogPath_;
    std::string DownPath_;
    std::string ArchiverCommand_;
};

} // namespace qbr
