#include "pane/detail_pane_presenter.h"
#include "support/sjis.h"

#include <gtest/gtest.h>

namespace qbr {
namespace {

constexpr std::string_view kArchiver = "lhmelt.exe";

// An item whose refresh found its file missing: search and delete on, nothing else.
DetailPanePresenter refreshedMissing(std::string name) {
    DetailPanePresenter pane;
    pane.refresh({2, false, FileSection{std::move(name), false}, false, kArchiver});
    return pane;
}

// After a re-link the buttons follow the file found under the chosen name; the others keep
// what the refresh left, and the archive button follows the show button.
TEST(DetailPanePresenter, ReLinkEnablesWhatTheChosenFileAllowsAndKeepsTheRest) {
    struct Case {
        const char* chosen;
        bool exists;
        PaneButtons expected; // run, show, archive, search, remove
    };
    for (const Case& c : {Case{"NEW.LZH", true, {true, true, true, true, true}},
                          Case{"NEW.TXT", true, {true, true, false, true, true}},
                          Case{"NEW.LZH", false, {false, false, false, true, true}}}) {
        DetailPanePresenter pane = refreshedMissing("OLD.LZH");
        pane.choose(c.chosen);
        pane.relinked(c.exists, kArchiver);
        EXPECT_EQ(pane.buttons(), c.expected) << c.chosen << " " << c.exists;
        EXPECT_EQ(pane.fileName(), c.chosen);
    }
}

TEST(DetailPanePresenter, RefreshHoldsTheFileNameAndAFailedOneLeavesNothingToActOn) {
    DetailPanePresenter pane;
    const DetailPane shown = pane.refresh({2, false, FileSection{"A.LZH", false}, true, kArchiver});
    EXPECT_EQ(pane.fileName(), "A.LZH");
    EXPECT_EQ(pane.buttons(), shown.buttons);
    EXPECT_TRUE(pane.buttons().archive);

    pane.clearFileSection();
    EXPECT_EQ(pane.fileName(), "");
    EXPECT_EQ(pane.buttons(), (PaneButtons{false, false, true, false, false}))
        << "the archive button waits for the refresh to decide it";
    pane.failRefresh();
    EXPECT_EQ(pane.buttons(), PaneButtons{});
}

TEST(DetailPanePresenter, RefreshWaitsWhileSuppressed) {
    DetailPanePresenter pane;
    {
        const auto quiet = pane.suppressRefresh();
        EXPECT_TRUE(pane.refreshSuppressed());
    }
    EXPECT_FALSE(pane.refreshSuppressed());
}

} // namespace
} // namespace qbr
