#include "session/app_session.h"

#include "catalog/messages.h"
#include "settings/archiver_command.h"
#include "settings/emnifty_settings.h"
#include "settings/registry_settings.h"
#include "settings/watermark_text.h"

namespace qbr {

AppSession::AppSession(RegistryStore& store, FileSystem& fs, std::string_view executablePath,
                       char localeSeparator)
    : store_(store), fs_(fs), paths_(CatalogPaths::fromExecutable(executablePath)),
      localeSeparator_(localeSeparator) {}

StartupReads AppSession::FormCreate(CatalogProgressSink& progress) {
    StartupReads reads;
    bool loading = false;
    try {
        readEmNiftyFolders(store_, LogPath_, DownPath_);
        ArchiverCommand_ = detectArchiverCommand(store_);
        readOwnKey(reads);
        watermark_.ScanDateTime = watermark_.PreDateTime;
        loading = true;
        LoadCatalog(catalog_, paths_, fs_, progress);
    } catch (const Error& error) {
        reads.error = error;
        // The catalog on disk was not read: what this run finds must not replace it. A commit
        // marker stands for a catalog too (a save cut short, which the load would complete), and
        // so does a tree or a span file without its .dat.
        const auto exists = [&](const std::string& path) { return fs_.isRegularFile(path); };
        if (!loading && (exists(paths_.dat()) || exists(paths_.trr()) || exists(paths_.nod()) ||
                         exists(paths_.commitMarker())))
            catalog_.setLoadState(Catalog::LoadState::Incomplete);
        // A catalog left unread stays unwritten run after run: say how to get on from there.
        if (loading && catalog_.loadState() == Catalog::LoadState::Incomplete)
            reads.error = Error(msg::withDetail(error.text(), msg::kSalvageHint));
    }
    return reads;
}

void AppSession::readOwnKey(StartupReads& reads) {
    const std::unique_ptr<RegistryKey> key = store_.openUserKey(kOwnKey);
    watermark_.PreDateTime =
        parseWatermark(readText(*key, kOwnSection, "PreDateTimeF", "0"), localeSeparator_);
    reads.Top = readInteger(*key, kOwnSection, "Top", 0);
    reads.Left = readInteger(*key, kOwnSection, "Left", 0);
    reads.Height = readInteger(*key, kOwnSection, "Height", 375);
    reads.Width = readInteger(*key, kOwnSection, "Width", 544);
    reads.Splitter = readInteger(*key, kOwnSection, "Splitter", 150);
    reads.Maximized = readFlag(*key, kOwnSection, "Maximized", true);
}

void AppSession::FormDestroy(const std::optional<WindowGeometry>& window,
                             CatalogProgressSink& progress) {
    if (catalog_.Modified())
        SaveCatalog(catalog_, paths_, fs_, progress);
    const std::unique_ptr<RegistryKey> key = store_.openUserKey(kOwnKey);
    writeText(*key, kOwnSection, "PreDateTimeF", formatWatermark(watermark_.ScanDateTime));
    if (!window)
        return;
    writeInteger(*key, kOwnSection, "Splitter", window->Splitter);
    if (window->Maximized) {
        writeFlag(*key, kOwnSection, "Maximized", true);
        return;
    }
    writeFlag(*key, kOwnSection, "Maximized", false);
    writeInteger(*key, kOwnSection, "Top", window->Top);
    writeInteger(*key, kOwnSection, "Left", window->Left);
    writeInteger(*key, kOwnSection, "Height", window->Height);
    writeInteger(*key, kOwnSection, "Width", window->Width);
}

void AppSession::scan(ScanProgressSink& progress, ReportSink& report) {
    LogScanner(catalog_, fs_, progress, report).xFindFile(LogPath_, watermark_);
}

void AppSession::reimport(ScanProgressSink& progress, ReportSink& report) {
    watermark_.PreDateTime = 0;
    scan(progress, report);
}

} // namespace qbr
