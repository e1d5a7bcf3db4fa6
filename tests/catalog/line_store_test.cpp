#include "catalog/error.h"
#include "catalog/line_store.h"

#include <gtest/gtest.h>

namespace qbr {
namespace {

std::vector<std::string> split(std::string text) {
    const LineStore store = LineStore::fromText(std::move(text));
    std::vector<std::string> out;
    for (std::size_t i = 0; i < store.size(); ++i)
        out.emplace_back(store[i]);
    return out;
}

TEST(LineStore, SplitsAtEveryKindOfLineEnd) {
    using L = std::vector<std::string>;
    struct Case {
        std::string text;
        L lines;
    };
    const Case cases[] = {
        {"", {}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\rb\r", {"a", "b"}},
        {"a\nb\n", {"a", "b"}},
        {"a\r\nb", {"a", "b"}},
        {"a\n\rb", {"a", "", "b"}},
        {"\r\n\r\n", {"", ""}},
        {"a\r\r\nb", {"a", "", "b"}},
        {std::string("ab\0cd\r\nef", 9), {"ab"}},
        {std::string("a\r\nb\0", 5), {"a", "b"}},
        {std::string("\0a", 2), {}},
        {"x\ny\rz\r\n", {"x", "y", "z"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(split(c.text), c.lines) << testing::PrintToString(c.text);
}

TEST(LineStore, LongFilesWithOneKindOfLineEnd) {
    std::string lf;
    std::string cr;
    for (int i = 0; i < 20000; ++i) {
        lf += "line" + std::to_string(i) + "\n";
        cr += "line" + std::to_string(i) + "\r";
    }
    const auto a = split(lf);
    ASSERT_EQ(a.size(), 20000u);
    EXPECT_EQ(a[19999], "line19999");
    EXPECT_EQ(split(cr), a);
}

TEST(LineStore, AppendAndIndexError) {
    LineStore store;
    store.append("one");
    store.append("");
    store.append("three");
    ASSERT_EQ(store.size(), 3u);
    EXPECT_EQ(store.at(0), "one");
    EXPECT_EQ(store.at(1), "");
    EXPECT_EQ(store.at(2), "three");
    EXPECT_THROW(store.at(3), Error);
    EXPECT_THROW(store.at(-1), Error);
}

} // namespace
} // namespace qbr
