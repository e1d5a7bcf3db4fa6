#include "search/migemo_pattern.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace qbr::search {
namespace {

std::vector<std::string> sorted(std::vector<std::string> words) {
    std::sort(words.begin(), words.end());
    return words;
}

TEST(MigemoPattern, SpellsOutGroupsClassesAndEscapes) {
    // The form of Migemo's answer for "pazur" and "a.b".
    const auto words = expandMigemoPattern("(パズ([ロル]|ッ[ル])|ｐａｚｕｒ|a\\.b)", 100);
    ASSERT_TRUE(words);
    EXPECT_EQ(sorted(*words), sorted({"パズロ", "パズル", "パズッル", "ｐａｚｕｒ", "a.b"}));
}

TEST(MigemoPattern, RefusesWhatItCannotSpellOrTooMany) {
    EXPECT_FALSE(expandMigemoPattern("(ab", 100));
    EXPECT_FALSE(expandMigemoPattern("ab)", 100));
    EXPECT_FALSE(expandMigemoPattern("a*", 100));
    EXPECT_FALSE(expandMigemoPattern("[]", 100));
    EXPECT_FALSE(expandMigemoPattern("[ab][cd][ef]", 7));
    EXPECT_TRUE(expandMigemoPattern("[ab][cd][ef]", 8));
}

} // namespace
} // namespace qbr::search
