#include "pane/detail_pane_presenter.h"

#include "pane/relink.h"

namespace qbr {

void DetailPanePresenter::clearFileSection() {
    fileName_.clear();
    buttons_.run = buttons_.show = buttons_.search = buttons_.remove = false;
}

void DetailPanePresenter::failRefresh() {
    clearFileSection();
    buttons_.archive = false;
}

DetailPane DetailPanePresenter::refresh(const DetailPaneInput& input) {
    DetailPane pane = decideDetailPane(input);
    fileName_ = pane.fileName;
    buttons_ = pane.buttons;
    return pane;
}

std::optional<std::vector<std::string>>
DetailPanePresenter::relink(Catalog& catalog, TreeNode* selected,
                            const std::vector<std::string>& displayed) {
    return relinkItem(catalog, selected, displayed, fileName_);
}

void DetailPanePresenter::relinked(bool fileExists, std::string_view archiverCommand) {
    if (fileExists)
        buttons_.run = buttons_.show = true;
    else
        buttons_.search = buttons_.remove = true;
    buttons_.archive = archiveListingOffered(archiverCommand, buttons_.show, fileName_);
}

} // namespace qbr
