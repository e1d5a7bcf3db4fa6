#include "catalog/error.h"
#include "settings/watermark_text.h"

#include <clocale>
#include <gtest/gtest.h>
#include <string>

namespace qbr {
namespace {

TEST(WatermarkText, GeneralFormatWithFifteenDigits) {
    const struct {
        double value;
        const char* text;
    } cases[] = {
        {0, "0"},
        {36161.5, "36161.5"},
        {36161.0 + (10 * 3600 + 2) / 86400.0, "36161.4166898148"}, // 1999-01-01 10:00:02
        {36161, "36161"},
        {-1.25, "-1.25"},
        {1e15, "1E15"},
        {1.5e-5, "1.5E-5"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(formatWatermark(c.value), c.text) << c.text;
}

// The desktop program takes the C locale from the user's environment; the text must not follow.
TEST(WatermarkText, WrittenWithAFullStopUnderACommaLocale) {
    const std::string saved = std::setlocale(LC_NUMERIC, nullptr);
    bool found = false;
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8"})
        found = found || std::setlocale(LC_NUMERIC, name) != nullptr;
    if (!found)
        GTEST_SKIP() << "no locale with a decimal comma is installed";
    const std::string text = formatWatermark(36161.5);
    std::setlocale(LC_NUMERIC, saved.c_str());
    EXPECT_EQ(text, "36161.5");
}

TEST(WatermarkText, ReadsWithAFullStopOrTheLocaleSeparator) {
    const struct {
        const char* text;
        char separator;
        double value;
    } cases[] = {
        {"36161.5", '.', 36161.5}, {"36161.5", ',', 36161.5},
        {"36161,5", ',', 36161.5}, {"  +36161.5  ", '.', 36161.5},
        {"-2", '.', -2},           {"3.6161E4", '.', 36161},
        {".5", '.', 0.5},          {"5.", '.', 5},
    };
    for (const auto& c : cases)
        EXPECT_EQ(parseWatermark(c.text, c.separator), c.value) << c.text;
    // Read back, the written text gives the value to within its last digit.
    const double written = 36161.0 + (10 * 3600 + 2) / 86400.0;
    EXPECT_NEAR(parseWatermark(formatWatermark(written)), written, 1e-10);
}

TEST(WatermarkText, AnythingElseIsNoNumber) {
    for (const char* text : {"", " ", "abc", "36161,5", "1.2.3", "1e", "1 2", "--1", "1e400"}) {
        try {
            parseWatermark(text, '.');
            ADD_FAILURE() << '"' << text << "\" was read";
        } catch (const Error& error) {
            EXPECT_EQ(error.text(),
                      "'" + std::string(text) +
                          "' \x82\xCD\x95\x82\x93\xAE\x8F\xAC\x90\x94\x93\x5F\x90"
                          "\x94\x82\xC5\x82\xCD\x82\xA0\x82\xE8\x82\xDC\x82\xB9\x82\xF1");
        }
    }
}

} // namespace
} // namespace qbr
