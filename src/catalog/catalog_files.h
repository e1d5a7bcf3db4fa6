#pragma once

#include "catalog/catalog.h"
#include "catalog/file_system.h"

#include <string>
#include <string_view>

namespace qbr {

// The three catalog files: the lines (.dat), the tree (.trr) and the items' spans (.nod).
class CatalogPaths {
  public:
    // The files beside a program, named after it: the extension of the executable's path
    // (from the last "." after the last "/") is replaced, or appended when there is none.
    static CatalogPaths fromExecutable(std::string_view executable);
    // BASE.dat, BASE.trr, BASE.nod.
    static CatalogPaths fromBase(std::string_view base);

    const std::string& dat() const noexcept { return dat_; }
    const std::string& trr() const noexcept { return trr_; }
    const std::string& nod() const noexcept { return nod_; }
    // The directory that holds them ("" for the current one).
    std::string directory() const;

    // A save writes each file under this suffix first, then commits the set (see SaveCatalog).
    static constexpr std::string_view kNewSuffix = ".new";
    // Present while the new files are being renamed into place.
    std::string commitMarker() const { return dat_ + ".commit"; }
    // Locked by every program that may write the catalog, for the whole of its run.
    std::string lockFile() const { return stem_ + ".lock"; }
    // BASE itself: the path without the extension.
    const std::string& stem() const noexcept { return stem_; }

  private:
    explicit CatalogPaths(std::string stem);
    std::string stem_, dat_, trr_, nod_;
};

// What the load and save progress window shows: a text for its caption and label, then
// the bar's position at each item.
class CatalogProgressSink {
  public:
    virtual ~CatalogProgressSink() = default;
    virtual void begin(std::string_view text) = 0;
    virtual void setPosition(int percent) = 0;
    // Runs also when the load or save ends with an error.
    virtual void end() = 0;
};

// Who is loading: the program that holds the catalog's lock may finish a save that was cut
// short; a reader (list, show) that runs beside a writer changes nothing and reads a save in
// progress as if it were done.
enum class LoadMode { Owner, Reader };

// Reads the catalog files into an empty catalog. Nothing happens without a .dat file.
// Errors are raised with the files' messages; the catalog then keeps what was read so far
// and is marked as incompletely loaded, which SaveCatalog refuses to write. A reading that
// stopped short of what the files hold (a NUL byte in the .dat or the .trr, more records in
// the .nod than the tree has items) is read to the end as far as it goes, then raised the same
// way, naming each file.
void LoadCatalog(Catalog& catalog, const CatalogPaths& paths, FileSystem& fs,
                 CatalogProgressSink& progress, LoadMode mode = LoadMode::Owner);

// Compacts the catalog (Collect) and writes the three files. The files are replaced as one
// set: new files are written and flushed under temporary names, a commit marker is made,
// the new files are renamed over the old ones and the marker removed. A load that finds the
// marker finishes the renames first, so any failure or crash leaves the whole old catalog
// or the whole new one.
void SaveCatalog(Catalog& catalog, const CatalogPaths& paths, FileSystem& fs,
                 CatalogProgressSink& progress);

// Reads a tree file's text into the catalog's tree, replacing every node. Raises the level
// error for a line more than one level below the line before it. False when a NUL byte
// ended the text before its end.
bool readTree(Catalog& catalog, std::string text);
// The same for salvaging a damaged tree file: a line too deep is placed one level below the
// line before it instead. Returns the number of lines so placed.
std::size_t readTreeLeniently(Catalog& catalog, std::string text);

// Where a save writes a file's new version before the commit: beside the file the path stands
// for (through symbolic links).
std::string pendingPath(FileSystem& fs, const std::string& path);

// The bytes of the three files for a catalog as it stands (no compaction).
std::string datText(const Catalog& catalog);
std::string trrText(const Catalog& catalog);
std::string nodBytes(const Catalog& catalog);

} // namespace qbr
