#pragma once

#include "search/search_index.h"

#include <QSortFilterProxyModel>
#include <QString>
#include <QTimer>
#include <memory>
#include <unordered_set>
#include <utility>
#include <vector>

namespace qbr::ui {

class CatalogModel;

// The catalog tree as the find bar shows it: with a query, only the items it matches and the
// forums and root above them (what users of tree views expect from a filter); without one,
// the whole tree. Matching is the search library's: folded text of the title, the forum's name
// and the listing, every word. The folded index is built on the first query after a change of
// the catalog and kept until the next change, so that each keystroke only runs the query.
class SearchFilterModel final : public QSortFilterProxyModel {
    Q_OBJECT

  public:
    explicit SearchFilterModel(CatalogModel& catalogModel, const Catalog& catalog,
                               QObject* parent = nullptr);
    ~SearchFilterModel() override;

    // The typed text; an empty (or all-blank) text shows the whole tree.
    void setQuery(const QString& typed);
    const QString& query() const noexcept { return typed_; }
    bool filtering() const noexcept { return !parsed_.empty(); }
    // Whether romaji words also stand for their Japanese readings (C/Migemo; see
    // search::Romaji::available()). Loading the dictionary takes a moment, on first use.
    void setRomaji(bool on);

    // Builds the index now (when the find bar opens), so that the first keystroke is quick.
    void prepare();

    // The items the query matches, in tree order (none without a query).
    int matchCount() const noexcept { return static_cast<int>(matches_.size()); }
    const std::vector<const TreeNode*>& matches() const noexcept { return matches_; }

    // The match after (or before) the node at the proxy index, in tree order, wrapping round;
    // the first (last) one for an invalid index. Invalid when nothing matches or there is no
    // query.
    QModelIndex nextMatch(const QModelIndex& current, bool backwards = false) const;

    // Where the query's words occur in a text shown in Memo1, as (start, length) in UTF-16
    // units, in order and not overlapping: for the highlight.
    std::vector<std::pair<int, int>> matchRanges(const QString& text) const;

    CatalogModel& catalogModel() const noexcept { return catalogModel_; }

  Q_SIGNALS:
    // After each change of what is shown (a new query, or a change of the catalog).
    void matchesChanged(int count);

  protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

  private:
    void catalogChanged();
    // Runs the query and shows its items; after a change of the catalog the tree is shown anew
    // even when the same items match.
    void refilter(bool catalogChanged = false);

    CatalogModel& catalogModel_;
    const Catalog& catalog_;
    std::unique_ptr<search::SearchIndex> index_;
    std::unique_ptr<search::Romaji> romaji_;
    bool romajiOn_ = false;
    QString typed_;
    search::Query parsed_;
    std::vector<const TreeNode*> matches_;
    std::unordered_set<const TreeNode*> matchSet_;
    // Whether the rows shown are filtered (the query of the last reset had words).
    bool shownFiltered_ = false;
    // Coalesces the changes of one scan or delete into one rebuild.
    QTimer rebuild_;
};

} // namespace qbr::ui
