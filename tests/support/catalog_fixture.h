#pragma once

#include "catalog/catalog.h"
#include "catalog/catalog_files.h"
#include "support/memory_file_system.h"

#include <string>
#include <vector>

namespace qbr::test {

// Records the load and save progress window's texts and bar positions.
class RecordingProgress final : public CatalogProgressSink {
  public:
    void begin(std::string_view text) override {
        texts.emplace_back(text);
        open = true;
    }
    void setPosition(int percent) override { positions.push_back(percent); }
    void end() override {
        open = false;
        ++ended;
    }

    std::vector<std::string> texts;
    std::vector<int> positions;
    bool open = false;
    int ended = 0;
};

// One forum with two items, and a second forum with one.
inline Catalog sampleCatalog() {
    Catalog catalog;
    TreeNode* one = catalog.AddForum("FONE");
    TreeNode* two = catalog.AddForum("FTWO");
    catalog.AddItem(*one, "A", {"a1", "a2"});
    catalog.AddItem(*two, "C", {"c1"});
    catalog.AddItem(*one, "B", {"b1", "b2", "b3"});
    return catalog;
}

// The catalog as text: every node as level, text and span, then every line.
inline std::string describe(const Catalog& catalog) {
    std::string out;
    forEachPreOrder(catalog.top(), [&](const TreeNode& node) {
        out += std::to_string(node.level()) + " " + node.text();
        if (node.hasSpan())
            out += " [" + std::to_string(node.span().First) + "," +
                   std::to_string(node.span().Count) + "]";
        out += "\n";
    });
    for (std::size_t i = 0; i < catalog.lines().size(); ++i)
        out += "| " + std::string(catalog.lines()[i]) + "\n";
    return out;
}

} // namespace qbr::test
