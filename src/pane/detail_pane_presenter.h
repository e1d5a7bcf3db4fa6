#pragma once

#include "catalog/catalog.h"
#include "pane/detail_pane.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qbr {

// The detail pane between events: the file name Label1 shows (as the catalog's bytes), the
// enabled state of the five buttons the pane decides, and whether a selection change waits
// (while a delete moves the selection). It serves both the refresh and the re-link; the window
// shows what it holds and never decides a button itself. No widget, no Qt.
class DetailPanePresenter {
  public:
    // Label1: the file the file actions act on.
    const std::string& fileName() const noexcept { return fileName_; }
    const PaneButtons& buttons() const noexcept { return buttons_; }

    // While the returned guard lives, selection changes do not refresh the pane: the window
    // refreshes once, for the node the selection ends on.
    class SuppressedRefresh {
      public:
        explicit SuppressedRefresh(bool& flag) : flag_(flag) { flag_ = true; }
        ~SuppressedRefresh() { flag_ = false; }
        SuppressedRefresh(const SuppressedRefresh&) = delete;
        SuppressedRefresh& operator=(const SuppressedRefresh&) = delete;

      private:
        bool& flag_;
    };
    [[nodiscard]] SuppressedRefresh suppressRefresh() {
        return SuppressedRefresh(refreshSuppressed_);
    }
    bool refreshSuppressed() const noexcept { return refreshSuppressed_; }

    // ---- The refresh ----

    // Before the file section is looked for: no file name, and run, show, search and delete
    // off (the archive button keeps its state until the refresh decides it).
    void clearFileSection();
    // A span that cannot be read: the pane is left with nothing to act on, the archive button
    // off as well.
    void failRefresh();
    // Once Memo1 is filled and the file looked up: decideDetailPane, whose file name and
    // buttons the pane then holds.
    DetailPane refresh(const DetailPaneInput& input);

    // ---- The re-link ----

    // Label1 takes the name chosen in the dialog, whatever follows.
    void choose(std::string name) { fileName_ = std::move(name); }
    // The chosen name into the selected item (relinkItem): the lines for Memo1, or nothing when
    // the item's displayed lines do not end with a file section.
    std::optional<std::vector<std::string>> relink(Catalog& catalog, TreeNode* selected,
                                                   const std::vector<std::string>& displayed);
    // The buttons once the re-linked file is looked up: a file there enables run and show; a
    // missing one search and delete; the others keep what the last refresh left. The archive
    // button then follows the show button.
    void relinked(bool fileExists, std::string_view archiverCommand);

  private:
    std::string fileName_;
    PaneButtons buttons_;
    bool refreshSuppressed_ = false;
};

} // namespace qbr
