#include "ui/search_filter_model.h"

#include "search/romaji.h"
#include "ui/catalog_model.h"

#include <algorithm>

namespace qbr::ui {

SearchFilterModel::SearchFilterModel(CatalogModel& catalogModel, const Catalog& catalog,
                                     QObject* parent)
    : QSortFilterProxyModel(parent), catalogModel_(catalogModel), catalog_(catalog) {
    setRecursiveFilteringEnabled(true);
    setSourceModel(&catalogModel);
    rebuild_.setSingleShot(true);
    rebuild_.setInterval(0);
    connect(&rebuild_, &QTimer::timeout, this, [this] {
        if (filtering())
            refilter(true);
    });
    // The index points into the catalog: any change makes it stale. It is dropped at once
    // (nothing may read a removed node through it) and rebuilt once the change is over.
    for (auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
        connect(&catalogModel, signal, this, &SearchFilterModel::catalogChanged);
    connect(&catalogModel, &QAbstractItemModel::modelReset, this,
            &SearchFilterModel::catalogChanged);
    connect(&catalogModel, &QAbstractItemModel::rowsAboutToBeRemoved, this,
            [this] { index_.reset(); });
    connect(&catalogModel, &QAbstractItemModel::modelAboutToBeReset, this,
            [this] { index_.reset(); });
}

SearchFilterModel::~SearchFilterModel() = default;

void SearchFilterModel::catalogChanged() {
    // Without a query everything is shown anyway: nothing to do until the next one.
    index_.reset();
    if (filtering())
        rebuild_.start();
}

void SearchFilterModel::prepare() {
    if (!index_)
        index_ = std::make_unique<search::SearchIndex>(catalog_);
}

void SearchFilterModel::setRomaji(bool on) {
    if (on && !romaji_ && search::Romaji::available())
        romaji_ = std::make_unique<search::Romaji>();
    romajiOn_ = on && romaji_;
    setQuery(typed_);
}

void SearchFilterModel::setQuery(const QString& typed) {
    typed_ = typed;
    parsed_ = search::parseQuery(typed.toStdString(), search::textFolder(),
                                 romajiOn_ ? romaji_.get() : nullptr);
    refilter();
}

void SearchFilterModel::refilter(bool catalogChanged) {
    std::vector<const TreeNode*> matches;
    if (filtering()) {
        prepare();
        for (std::size_t i : index_->find(parsed_))
            matches.push_back(index_->item(i).node);
    }
    // Another key that leaves the same items (most keys once a word is typed out) changes
    // nothing in the tree: the view keeps its selection and draws nothing new.
    if (!catalogChanged && filtering() == shownFiltered_ && matches == matches_) {
        Q_EMIT matchesChanged(matchCount());
        return;
    }
    // A reset, not invalidateFilter(): that one announces each run of hidden or shown rows
    // on its own, and a tree view answers each announcement with a pass over all its rows, so
    // a query that shows thousands of items among 100 000 took seconds. The view shows the
    // new tree at once; the window expands it and selects its node again.
    beginResetModel();
    matches_ = std::move(matches);
    matchSet_ = std::unordered_set<const TreeNode*>(matches_.begin(), matches_.end());
    shownFiltered_ = filtering();
    endResetModel();
    Q_EMIT matchesChanged(matchCount());
}

bool SearchFilterModel::filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const {
    if (!shownFiltered_)
        return true;
    const TreeNode* node = catalogModel_.node(catalogModel_.index(sourceRow, 0, sourceParent));
    // Forums and the root are shown through their accepted items (recursive filtering).
    return node && node->level() == 2 && matchSet_.count(node) != 0;
}

QModelIndex SearchFilterModel::nextMatch(const QModelIndex& current, bool backwards) const {
    if (matches_.empty())
        return {};
    const TreeNode* here = current.isValid() ? catalogModel_.node(mapToSource(current)) : nullptr;
    // Tree order of the current node among the matches: count the matches before it.
    std::size_t before = 0; // matches strictly before `here`
    bool isMatch = false;
    if (here) {
        std::size_t next = 0;
        bool found = false;
        forEachPreOrder(catalog_.top(), [&](const TreeNode& node) {
            if (found)
                return;
            if (&node == here) {
                found = true;
                isMatch = next < matches_.size() && matches_[next] == &node;
                return;
            }
            if (next < matches_.size() && matches_[next] == &node)
                ++next;
        });
        before = next;
    }
    std::size_t pick = 0;
    const std::size_t n = matches_.size();
    if (!here)
        pick = backwards ? n - 1 : 0;
    else if (backwards)
        pick = (before + n - 1) % n;
    else
        pick = (before + (isMatch ? 1 : 0)) % n;
    return mapFromSource(catalogModel_.indexOf(matches_[pick]));
}

std::vector<std::pair<int, int>> SearchFilterModel::matchRanges(const QString& text) const {
    std::vector<std::pair<int, int>> ranges;
    const std::u16string_view view(reinterpret_cast<const char16_t*>(text.utf16()),
                                   static_cast<std::size_t>(text.size()));
    for (const search::QueryWord& word : parsed_.words) {
        for (const std::string& alternative : word.alternatives) {
            for (const auto& range : search::textFolder().findIn(view, alternative))
                ranges.emplace_back(static_cast<int>(range.begin),
                                    static_cast<int>(range.end - range.begin));
        }
    }
    // In order, overlapping ones joined.
    std::sort(ranges.begin(), ranges.end());
    std::vector<std::pair<int, int>> joined;
    for (const auto& [start, length] : ranges) {
        if (!joined.empty() && start <= joined.back().first + joined.back().second) {
            const int end = std::max(joined.back().first + joined.back().second, start + length);
            joined.back().second = end - joined.back().first;
        } else {
            joined.emplace_back(start, length);
        }
    }
    return joined;
}

} // namespace qbr::ui
