// The distributional inventory: its segments with their true counts, the line layout, the pole of
// a group of punctuation, and the delimiter field.
#include "windows/concordance/inventaire.h"
#include "windows/concordance/pages.h"

#include "engine/base_fixture.h"

#include <gtest/gtest.h>

using talmer::InventaireDistributionnel;
using talmer::LigneInventaire;

namespace {

using InventaireTest = talmer::test::InTempDir;

std::string Lignes(const charg1 &base, const std::vector<Segment> &segments)
{
    std::string s;
    for (const Segment &seg : segments)
        s += LigneInventaire(base, seg);
    return s;
}

} // namespace

TEST_F(InventaireTest, EachSegmentOnceWithItsTrueCountUpToTheEndOfTheText)
{
    // Occurrences of "a" (1-4, 6-10): "a a" begins at 1, 2, 3, 6, 7, 8, 9; "a a a" at 1, 2, 6, 7,
    // 8; "a a a a" at 1, 6, 7. The last run reaches the end of the text.
    auto base = talmer::test::makeBase("c a a a a b a a a a a\n", ".");
    ASSERT_TRUE(base);
    const std::int32_t a = base->LocFormDic("a", true);
    const std::vector<Segment> s = InventaireDistributionnel(*base, base->LocOccFor(a), {});
    EXPECT_EQ(Lignes(*base, s),
              "   7 ---- ---- ---- ---- ---- &nbsp;<span class=\"tgenstyle\">a</span>&nbsp;a \n"
              "        5 ---- ---- ---- ---- &nbsp;<span class=\"tgenstyle\">a</span>&nbsp;a a \n"
              "             3 ---- ---- ---- &nbsp;<span class=\"tgenstyle\">a</span>&nbsp;a a a \n");
}

TEST_F(InventaireTest, LineLayoutByLength)
{
    auto base = talmer::test::makeBase("un deux trois quatre cinq six sept huit\n", ".");
    ASSERT_TRUE(base);
    auto segment = [&](int n, std::int32_t frq) {
        Segment s;
        for (int i = 0; i < n; ++i)
            s.Formes.push_back(base->LocFormDic("un", true));
        s.Frq = frq;
        return s;
    };
    const struct {
        int n;
        std::int32_t frq;
        std::string gauche;
    } cas[] = {
        {2, 12, "  12 ---- ---- ---- ---- ---- "},
        {3, 2, "        2 ---- ---- ---- ---- "},
        {5, 2, "                  2 ---- ---- "},
        {6, 2, "                       2 ---- "},
        {8, 2, "                       2 ---- "},
        {2, 12345, "12345 ---- ---- ---- ---- ---- "},
    };
    for (const auto &c : cas) {
        SCOPED_TRACE(c.n);
        const std::string ligne = LigneInventaire(*base, segment(c.n, c.frq));
        EXPECT_EQ(ligne.substr(0, ligne.find("&nbsp;")), c.gauche);
    }
}

TEST_F(InventaireTest, PoleIsTheGroupsOwnItemAndDelimitersArePunctuationOnly)
{
    auto base = talmer::test::makeBase("le chat , le chien , le chat , le chien .\n", ".,");
    ASSERT_TRUE(base);
    const std::int32_t virgule = base->LocFormDic(",", true);
    // Without delimiters, ", le" begins 3 times with different forms before it; ", le chien"
    // twice, both after "chat": not left-maximal.
    const std::vector<Segment> s = InventaireDistributionnel(*base, base->LocOccFor(virgule), {});
    EXPECT_EQ(Lignes(*base, s), "   3 ---- ---- ---- ---- ---- &nbsp;<span class=\"tgenstyle\">,</span>&nbsp;le \n");

    // The field: punctuation of the base only; forms, keys and unknown characters add nothing.
    EXPECT_EQ(talmer::DelimiteursInventaire(*base, ".,;x"), (std::set<std::int32_t>{virgule, base->LocFormDic(".", true)}));
    EXPECT_TRUE(talmer::DelimiteursInventaire(*base, "").empty());
    // An empty group has no inventory.
    EXPECT_TRUE(InventaireDistributionnel(*base, {}, {}).empty());
}

TEST_F(InventaireTest, PageHasTheHeadTheLinesAndTheEnd)
{
    auto base = talmer::test::makeBase("x y , x y .\n", ".,");
    ASSERT_TRUE(base);
    const std::int32_t x = base->LocFormDic("x", true);
    const std::vector<std::int32_t> positions = base->LocOccFor(x);
    const std::vector<Segment> s = InventaireDistributionnel(*base, positions, {});
    talmer::Entete e;
    EXPECT_EQ(talmer::PageInventaire(*base, s, e, ""),
              talmer::EnteteHtml(e) + "   2 ---- ---- ---- ---- ---- &nbsp;<span class=\"tgenstyle\">x</span>&nbsp;y \n"
                  + talmer::FinHtml());
    EXPECT_EQ(positions, base->LocOccFor(x)); // the positions given are left as they were
}
