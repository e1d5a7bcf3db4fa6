#pragma once

#include "archive/archive_listing.h"
#include "archive/private_folder.h"
#include "desktop/desktop_shell.h"

#include <QWidget>
#include <memory>
#include <string>

class QLabel;
class QTreeWidget;
class QTreeWidgetItem;

namespace qbr::ui {

// The built-in archive listing: a window of its own (not modal; several may be open), titled
// with the archive's name, one row per entry and the totals below. An archive that cannot be
// read, wholly or in part, says so in the window. Double-clicking a file extracts it into a
// private temporary folder and opens it with its associated program; the folder goes when the
// window closes (the window deletes itself on close).
class ArchiveWindow : public QWidget {
    Q_OBJECT

  public:
    // `archivePath`: the archive's path as the file system has it (bytes). `shell` must outlive
    // the window: the main window's, whose child this window is.
    ArchiveWindow(std::string archivePath, platform::DesktopShell& shell,
                  QWidget* parent = nullptr);
    ~ArchiveWindow() override;

    const archive::Listing& listing() const { return listing_; }
    // The private folder, once an entry has been opened; empty before.
    std::string temporaryFolder() const;

  private:
    void fillEntries();
    void openEntry(QTreeWidgetItem* item);
    void showMessage(const QString& text);

    std::string archivePath_;
    platform::DesktopShell& shell_;
    archive::Listing listing_;
    std::unique_ptr<archive::PrivateFolder> folder_;
    QTreeWidget* entries_ = nullptr;
    QLabel* totals_ = nullptr;
    QLabel* message_ = nullptr;
};

// An entry's name as a person reads it: UTF-8 where the archive says so, else CP932.
QString entryDisplayName(const archive::Entry& entry);

} // namespace qbr::ui
