// French order of 8-bit spellings, whatever the machine's locale.
#include "platform/core/collation.h"

#include <gtest/gtest.h>

#include <clocale>
#include <random>
#include <string>
#include <vector>

using talmer::platform::CleDeTri;
using talmer::platform::CompareGraphies;

TEST(Collation, FrenchOrderOfWindows1252Spellings)
{
    // Each list is in ascending order.
    const std::vector<std::vector<std::string>> chains = {
        {"abbe", "abb\xE9", "abeille"},
        {"ete", "\xE9t\xE9", "etre", "\xEAtre"},
        {"cote", "cot\xE9", "c\xF4te", "c\xF4t\xE9"},
        {"le", "Le", "lequel"},
        {"oe", "\x9C" "uvre", "of"},  // oe ligature sorts as o, e
        {"a", "\xE0", "b"},
    };
    for (const auto &chain : chains) {
        for (std::size_t i = 0; i + 1 < chain.size(); ++i) {
            SCOPED_TRACE(chain[i] + " < " + chain[i + 1]);
            EXPECT_LT(CompareGraphies(chain[i], chain[i + 1]), 0);
            EXPECT_GT(CompareGraphies(chain[i + 1], chain[i]), 0);
            EXPECT_LT(CleDeTri(chain[i]), CleDeTri(chain[i + 1]));
        }
    }
    EXPECT_EQ(CompareGraphies("\xE9t\xE9", "\xE9t\xE9"), 0);
}

TEST(Collation, SameResultInAnyLocale)
{
    const std::string a = "\xE9t\xE9", b = "etre";
    const int before = CompareGraphies(a, b);
    const char *old = std::setlocale(LC_ALL, nullptr);
    const std::string saved = old ? old : "C";
    for (const char *loc : {"C", "POSIX", "C.UTF-8"}) {
        std::setlocale(LC_ALL, loc);
        EXPECT_EQ(CompareGraphies(a, b), before) << loc;
    }
    std::setlocale(LC_ALL, saved.c_str());
}

TEST(Collation, SortKeysOrderLikeTheComparisonAndDistinctNeverTie)
{
    std::mt19937 rng(7);
    const std::string alphabet = "aAeE\xE9\xC9\xE8o\xF4\x9C-' 1z";
    for (int t = 0; t < 3000; ++t) {
        std::string x, y;
        for (unsigned i = rng() % 5; i > 0; --i)
            x.push_back(alphabet[rng() % alphabet.size()]);
        for (unsigned i = rng() % 5; i > 0; --i)
            y.push_back(alphabet[rng() % alphabet.size()]);
        const int c = CompareGraphies(x, y);
        const std::string kx = CleDeTri(x), ky = CleDeTri(y);
        const int k = kx < ky ? -1 : (ky < kx ? 1 : 0);
        ASSERT_EQ((c > 0) - (c < 0), k) << x << " / " << y;
        ASSERT_EQ(c == 0, x == y) << x << " / " << y;
    }
}
