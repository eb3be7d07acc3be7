// Partition: parts, zones, table of forms by parts, per-part counts, flags and position counts.

#include "engine/partition.h"

#include "base_fixture.h"
#include "engine/charg1.h"
#include "engine/section.h"
#include "engine/segrep.h"
#include "engine/tgen.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <string>
#include <set>
#include <vector>

namespace {

using talmer::test::InTempDir;
using talmer::test::makeBase;

class PartitionTest : public InTempDir {
protected:
    // Positions: 0 a, 1 b, 2 k, 3 y, 4 c, 5 d, 6 c, 7 '.', 8 k, 9 x, 10 d, 11 e, 12 '.'
    // Forms by decreasing frequency, ties alphabetical: c 0, d 1, a 2, b 3, e 4; '.' is 5, the
    // key type k 6, its values x 7 and y 8. Part 0 is x, part 1 is y.
    void SetUp() override
    {
        base = makeBase("a b <k=y> c d c . <k=x> d e .", ".");
        ASSERT_TRUE(base);
        ASSERT_EQ(base->Nbitem(), 13);
        cle = base->LocFormDic("k", false);
        ASSERT_EQ(cle, 6);
        c = base->LocFormDic("c", true);
        d = base->LocFormDic("d", true);
        a = base->LocFormDic("a", true);
        e = base->LocFormDic("e", true);
        point = base->LocFormDic(".", true);
        ASSERT_EQ(c, 0);
        ASSERT_EQ(d, 1);
        ASSERT_EQ(a, 2);
        ASSERT_EQ(e, 4);
    }
    std::unique_ptr<charg1> base;
    std::int32_t cle = -1, c = -1, d = -1, a = -1, e = -1, point = -1;
};

TEST_F(PartitionTest, PartsInValueOrderZonesInTextOrder)
{
    Partition p(base.get(), cle);
    EXPECT_STREQ(p.NomPartition(), "k");
    ASSERT_EQ(p.NbParties(), 2);
    EXPECT_STREQ(p.NomPartie(0), "x");
    EXPECT_STREQ(p.NomPartie(1), "y");
    EXPECT_EQ(p.CodePartie(0), base->LocFormDic("x", false));
    EXPECT_EQ(p.CodePartie(2), -1);
    ASSERT_EQ(p.NbZones(), 2);
    // The first marker carries y: its zone belongs to part 1.
    EXPECT_EQ(p.ZoneNo(0).Partie, 1);
    EXPECT_EQ(p.ZoneNo(0).Debut, 4);
    EXPECT_EQ(p.ZoneNo(1).Partie, 0);
    EXPECT_EQ(p.ZoneNo(1).Debut, 10);
    EXPECT_EQ(p.ZoneNo(2).Partie, 3);   // closing record: number of parts + 1
    EXPECT_EQ(p.ZoneNo(2).Debut, 13);
    EXPECT_EQ(p.FreqMin(), 10);
    EXPECT_EQ(p.Seuil(), 5);
}

TEST_F(PartitionTest, TableAndCountsIncludeTheTextBeforeTheFirstMarker)
{
    Partition p(base.get(), cle);
    // Part y holds a, b (before the first marker), c, d, c.
    EXPECT_EQ(p.FrqFormePartie(a, 1), 1);
    EXPECT_EQ(p.FrqFormePartie(c, 1), 2);
    EXPECT_EQ(p.FrqFormePartie(d, 1), 1);
    EXPECT_EQ(p.FrqFormePartie(e, 1), 0);
    EXPECT_EQ(p.FrqFormePartie(d, 0), 1);
    EXPECT_EQ(p.FrqFormePartie(e, 0), 1);
    EXPECT_EQ(p.RetourneFrqPartie(c, 1), 2);
    struct Comptes { std::int32_t occ, formes, hapax, fmax, formeFmax; };
    const Comptes attendu[2] = {{2, 2, 2, 1, d}, {5, 4, 3, 2, c}};
    for (int k = 0; k < 2; ++k) {
        EXPECT_EQ(p.NbOccPartie(k), attendu[k].occ) << k;
        EXPECT_EQ(p.NbFormesPartie(k), attendu[k].formes) << k;
        EXPECT_EQ(p.NbHapaxPartie(k), attendu[k].hapax) << k;
        EXPECT_EQ(p.FmaxPartie(k), attendu[k].fmax) << k;
        EXPECT_EQ(p.FormeFmaxPartie(k), attendu[k].formeFmax) << k;
    }
    // Every word occurrence is in one part.
    EXPECT_EQ(p.NbOccPartie(0) + p.NbOccPartie(1), base->Nbocc());
}

TEST_F(PartitionTest, PositionQueriesAtTheBounds)
{
    Partition p(base.get(), cle);
    struct Cas { std::int32_t position, partie; };
    const Cas cas[] = {{-1, -1}, {0, 1}, {2, 1}, {3, 1}, {4, 1}, {8, 1}, {9, 1}, {10, 0}, {12, 0}, {13, -1}, {1000, -1}};
    for (const Cas &x : cas)
        EXPECT_EQ(p.PartieDePosition(x.position), x.partie) << x.position;

    // Out-of-range parts and forms give 0.
    EXPECT_EQ(p.RetourneFrqPartie(c, 2), 0);
    EXPECT_EQ(p.RetourneFrqPartie(c, -1), 0);
    EXPECT_EQ(p.FrqFormePartie(-1, 0), 0);
    EXPECT_EQ(p.FrqFormePartie(base->Nbform(), 0), 0);
    EXPECT_EQ(p.NbOccPartie(2), 0);
    const std::int32_t positions[] = {4, 5, 9, 10};
    EXPECT_EQ(p.NbPositionsDansZone(positions, 4, 0), 3);
    EXPECT_EQ(p.NbPositionsDansZone(positions, 4, 1), 1);
    EXPECT_EQ(p.NbPositionsDansZone(positions, 4, 2), 0);
    EXPECT_EQ(p.NbPositionsDansZone(positions, 4, -1), 0);
    EXPECT_EQ(p.NbPositionsDansZone(nullptr, 0, 0), 0);
    // Counted part by part, in any order: zone y is [4, 10), zone x [10, 13); nothing before the
    // first zone or from the end of the text on.
    using C = TableCreuse::Cellule;
    EXPECT_EQ(p.CompteParPartie({12, 0, 4, 13, 9, -1, 10, 1, 5}), (std::vector<C>{{0, 2}, {1, 3}}));
    EXPECT_EQ(p.CompteParPartie({3, 13}), std::vector<C>{});
}

TEST_F(PartitionTest, GroupCountsLeaveOutTheTextBeforeTheFirstMarker)
{
    Partition p(base.get(), cle);
    const std::int32_t formes[] = {a, d};
    Tgen g(base.get(), formes, 2);
    ASSERT_EQ(g.NbOcc(), 3);   // a at 0, d at 5 and 10
    EXPECT_EQ(p.NbPositionsDansPartie(&g, 1), 1);   // d at 5; a at 0 precedes the first marker
    EXPECT_EQ(p.NbPositionsDansPartie(&g, 0), 1);
    EXPECT_EQ(p.NbPositionsDansPartie(&g, 2), 0);
    // The table counts a in part y all the same.
    EXPECT_EQ(p.RetourneFrqPartie(a, 1), 1);
    // An entity other than a form is counted from its positions, zone by zone.
    EXPECT_EQ(p.RetourneFrqPartie(point, 1), 1);
    EXPECT_EQ(p.RetourneFrqPartie(point, 0), 1);
    EXPECT_EQ(p.FrqParPartie(point), (std::vector<std::int32_t>{1, 1}));
    EXPECT_EQ(p.FrqParPartie(c), (std::vector<std::int32_t>{0, 2}));
}

TEST_F(PartitionTest, SegmentCountsPerPart)
{
    // Segments made by hand: (c, d) at 4, (d, e) at 5 and 10; the counts come from their positions.
    SegRep sr(base.get(), {point});
    ASSERT_TRUE(sr.OuvreFichiers());
    sr.AjouteSegment({c, d}, {4});
    sr.AjouteSegment({d, e}, {10, 5});
    base->AssigneSR(&sr);
    Partition p(base.get(), cle);
    const std::int32_t s0 = base->Nbart() + 1, s1 = base->Nbart() + 2;
    EXPECT_EQ(p.RetourneFrqPartie(s0, 1), 1);
    EXPECT_EQ(p.RetourneFrqPartie(s0, 0), 0);
    EXPECT_EQ(p.FrqParPartie(s1), (std::vector<std::int32_t>{1, 1}));
    EXPECT_EQ(p.FrqCreuseParPartie(s0), (std::vector<TableCreuse::Cellule>{{1, 1}}));
    EXPECT_EQ(p.FrqCreuseParPartie(c), (std::vector<TableCreuse::Cellule>{{1, 2}}));
    EXPECT_EQ(p.RetourneFrqPartie(s1 + 1, 0), 0);   // beyond the attached segments
    EXPECT_TRUE(p.FrqCreuseParPartie(s1 + 1).empty());
    base->AssigneSR(nullptr);
}

TEST_F(PartitionTest, MaskFollowsTheSelectedParts)
{
    Partition p(base.get(), cle);
    EXPECT_FALSE(p.EstGroupeFormes());
    EXPECT_EQ(p.MasqueItems(), std::vector<char>(13, 0));
    p.Selectionne(1, true);
    std::vector<char> attendu(13, 0);
    for (int i = 0; i < 10; ++i)
        attendu[static_cast<std::size_t>(i)] = 1;   // part y, from the start of the text
    EXPECT_EQ(p.MasqueItems(), attendu);
    p.Selectionne(1, false);
    p.Selectionne(0, true);
    for (auto &x : attendu)
        x = static_cast<char>(1 - x);
    EXPECT_EQ(p.MasqueItems(), attendu);
}

TEST_F(PartitionTest, APartIsSelectedOnlyWhileChecked)
{
    Partition p(base.get(), cle);
    EXPECT_TRUE(p.EstCochee(0));
    EXPECT_FALSE(p.EstSelectionnee(0));
    EXPECT_EQ(p.Couleur(0), 0x00FFFF40);
    EXPECT_TRUE(p.Selectionne(0, true));
    p.Coche(0, false);
    EXPECT_FALSE(p.EstCochee(0));
    EXPECT_FALSE(p.EstSelectionnee(0));   // unchecking unselects
    EXPECT_FALSE(p.Selectionne(0, true)); // and an unchecked part cannot be selected
    EXPECT_FALSE(p.EstSelectionnee(0));
    p.Coche(0, true);
    EXPECT_TRUE(p.Selectionne(0, true));
    // Restoring a copy keeps the rule.
    p.Coche(1, false);
    p.RestaureSelection({1, 1});
    EXPECT_TRUE(p.EstSelectionnee(0));
    EXPECT_FALSE(p.EstSelectionnee(1));
    // Parts that do not exist are left alone.
    p.Coche(5, true);
    EXPECT_FALSE(p.Selectionne(-1, true));
    EXPECT_FALSE(p.EstCochee(5));
}

TEST_F(PartitionTest, ZonesIndexedOnASectioning)
{
    // Sections after each full stop: the first starts at 8 (zone 0 starts at 4, zone 1 at 10).
    const std::int32_t delims[] = {point};
    Section s(base.get(), delims, 1);
    ASSERT_EQ(s.NbSections(), 2);
    Partition p(base.get(), cle);
    p.IndexeZones(&s);
    EXPECT_EQ(p.ZoneNo(0).PremierIndex, 0);   // section 0 starts at 8, after zone 0's start
    EXPECT_EQ(p.ZoneNo(1).PremierIndex, 1);   // section 1 starts at 13 (empty, at the end)
    EXPECT_EQ(p.ZoneNo(2).PremierIndex, 2);   // closing record: the number of sections
}

TEST(Partition2, OneValueGivesTheDictionaryFrequencies)
{
    talmer::test::TempDir dir;
    auto base = makeBase("avant <t=a> le chat <t=a> le chien le <t=a> chat", "");
    ASSERT_TRUE(base);
    Partition p(base.get(), base->LocFormDic("t", false));
    ASSERT_EQ(p.NbParties(), 1);
    EXPECT_EQ(p.NbZones(), 3);
    for (std::int32_t f = 0; f < base->Nbform(); ++f)
        EXPECT_EQ(p.FrqFormePartie(f, 0), base->RetourneFrq(f)) << f;
    // Highest frequency shared by several forms: the lowest-numbered form is kept.
    EXPECT_EQ(p.FmaxPartie(0), 3);
    EXPECT_EQ(p.FormeFmaxPartie(0), 0);
}

TEST(Partition2, PartWithoutFormsAndTieOfHighestFrequency)
{
    talmer::test::TempDir dir;
    // Part "vide" holds only punctuation; in part "x", b and a both occur twice.
    auto base = makeBase("<p=x> b a b a c <p=vide> . . <p=x> z", ".");
    ASSERT_TRUE(base);
    Partition p(base.get(), base->LocFormDic("p", false));
    ASSERT_EQ(p.NbParties(), 2);
    ASSERT_STREQ(p.NomPartie(0), "vide");
    EXPECT_EQ(p.NbOccPartie(0), 0);
    EXPECT_EQ(p.NbFormesPartie(0), 0);
    EXPECT_EQ(p.NbHapaxPartie(0), 0);
    EXPECT_EQ(p.FmaxPartie(0), 0);
    EXPECT_EQ(p.FormeFmaxPartie(0), 0);
    EXPECT_EQ(p.FmaxPartie(1), 2);
    EXPECT_EQ(p.FormeFmaxPartie(1), base->LocFormDic("a", true));   // a (0) before b (1)
    EXPECT_EQ(p.NbHapaxPartie(1), 2);
}

TEST(Partition2, KeyThatIsNotAKeyTypeGivesNoPart)
{
    talmer::test::TempDir dir;
    auto base = makeBase("<p=x> a b", "");
    ASSERT_TRUE(base);
    Partition p(base.get(), base->LocFormDic("a", true));
    EXPECT_EQ(p.NbParties(), 0);
    EXPECT_EQ(p.NbZones(), 0);
    EXPECT_EQ(p.PartieDePosition(0), -1);
    EXPECT_EQ(p.MasqueItems(), std::vector<char>(static_cast<std::size_t>(base->Nbitem()), 0));
}

} // namespace

// The counts of each part against a plain reading of the table, on random partitions with parts
// in several zones, parts without forms and ties of the highest frequency.
TEST_F(PartitionTest, PartCountsMatchTheTable)
{
    std::mt19937 g(20261210);
    const char *mots[] = {"a", "b", "c", "d", "e"};
    for (int essai = 0; essai < 40; ++essai) {
        const int valeurs = 1 + static_cast<int>(g() % 8);
        std::string texte = g() % 2 ? "a b " : "";
        for (int zone = 0, zones = 1 + static_cast<int>(g() % 15); zone < zones; ++zone) {
            texte += "<k=v" + std::to_string(g() % static_cast<unsigned>(valeurs)) + "> ";
            for (int i = 0, n = static_cast<int>(g() % 12); i < n; ++i)
                texte += std::string(mots[g() % 5]) + " ";
        }
        auto corpus = makeBase(texte, ".", "p" + std::to_string(essai));
        ASSERT_TRUE(corpus);
        const Partition parts(corpus.get(), corpus->LocFormDic("k", false));
        for (std::int32_t k = 0; k < parts.NbParties(); ++k) {
            std::int32_t formes = 0, hapax = 0, fmax = 0, formeFmax = 0, occ = 0;
            for (std::int32_t f = 0; f < corpus->Nbform(); ++f) {
                const std::int32_t n = parts.FrqFormePartie(f, k);
                occ += n;
                formes += n > 0;
                hapax += n == 1;
                if (n > fmax) {
                    fmax = n;
                    formeFmax = f;
                }
            }
            EXPECT_EQ(parts.NbOccPartie(k), occ) << texte;
            EXPECT_EQ(parts.NbFormesPartie(k), formes) << texte;
            EXPECT_EQ(parts.NbHapaxPartie(k), hapax) << texte;
            EXPECT_EQ(parts.FmaxPartie(k), fmax) << texte;
            EXPECT_EQ(parts.FormeFmaxPartie(k), formeFmax) << texte;
        }
        if (HasFailure())
            break;
    }
}

namespace {

// The table of forms by parts counted the plain way: the text walked in order, each form adding
// 1 to the part of the last key marker before it (the first marker's part before any).
std::vector<std::vector<std::int32_t>> RecompteDense(const charg1 &base, const Partition &p, std::int32_t cle)
{
    std::vector<std::vector<std::int32_t>> table(static_cast<std::size_t>(base.Nbform()),
                                                 std::vector<std::int32_t>(static_cast<std::size_t>(p.NbParties()), 0));
    auto partieDe = [&](std::int32_t valeur) {
        for (std::int32_t k = 0; k < p.NbParties(); ++k)
            if (p.CodePartie(k) == valeur)
                return k;
        return -1;
    };
    std::int32_t partie = -1;
    for (std::int32_t j = 0; j + 1 < base.Nbitem() && partie < 0; ++j)
        if (base.Tnum(j) == cle)
            partie = partieDe(base.Tnum(j + 1));
    if (partie < 0)
        return table;
    for (std::int32_t j = 0; j < base.Nbitem(); ++j) {
        if (base.Tnum(j) == cle && j + 1 < base.Nbitem())
            partie = partieDe(base.Tnum(j + 1));
        const std::int32_t x = base.Tnum(j);
        if (x >= 0 && x < base.Nbform())
            ++table[static_cast<std::size_t>(x)][static_cast<std::size_t>(partie)];
    }
    return table;
}

} // namespace

// The table holds the non-zero cells only; read every way, it must be the plain recount. Each
// random text has a part without forms, a part with every form, parts in several zones, forms
// in many parts (more than a short walk of a row covers) and sometimes text before the first
// marker.
TEST(Partition2, SparseTableMatchesADenseRecount)
{
    talmer::test::TempDir dir;
    std::mt19937 g(20261211);
    std::vector<std::string> mots;
    for (char c = 'a'; c <= 'z'; ++c)
        mots.emplace_back(1, c);
    for (int essai = 0; essai < 25; ++essai) {
        const int valeurs = 1 + static_cast<int>(g() % 24);
        const auto vocabulaire = 1 + static_cast<std::size_t>(g() % mots.size());
        std::string texte = g() % 2 ? "a a " : "";
        std::vector<std::string> zones = {"<cle=vide> . , .", "<cle=tout>"};
        for (std::size_t m = 0; m < vocabulaire; ++m)
            zones[1] += " " + mots[m];
        for (int zone = 0, n = static_cast<int>(g() % 40); zone < n; ++zone) {
            std::string z = "<cle=v" + std::to_string(g() % static_cast<unsigned>(valeurs)) + ">";
            for (int i = 0, longueur = static_cast<int>(g() % 15); i < longueur; ++i) {
                // Word 0 is everywhere, the others thin out with their rank.
                const std::size_t m = g() % 3 == 0 ? 0 : std::min<std::size_t>(g() % vocabulaire, g() % vocabulaire);
                z += " " + mots[m] + (g() % 7 == 0 ? " ." : "");
            }
            zones.push_back(z);
        }
        std::shuffle(zones.begin(), zones.end(), g);
        for (const std::string &z : zones)
            texte += z + " ";
        auto corpus = makeBase(texte, ".,", "r" + std::to_string(essai));
        ASSERT_TRUE(corpus);
        const std::int32_t cle = corpus->LocFormDic("cle", false);
        const Partition p(corpus.get(), cle);
        const auto dense = RecompteDense(*corpus, p, cle);
        const TableCreuse &table = p.Table();
        ASSERT_EQ(table.NbLignes(), corpus->Nbform());
        ASSERT_EQ(table.NbColonnes(), p.NbParties());
        std::int64_t nonNuls = 0;
        for (std::int32_t f = 0; f < corpus->Nbform(); ++f) {
            const auto &ligne = dense[static_cast<std::size_t>(f)];
            EXPECT_EQ(p.FrqParPartie(f), ligne) << texte << "\nform " << f;
            std::int32_t precedente = -1;
            for (const TableCreuse::Cellule &c : table.Ligne(f)) {
                EXPECT_GT(c.colonne, precedente);
                EXPECT_NE(c.valeur, 0);
                precedente = c.colonne;
            }
            for (std::int32_t k = 0; k < p.NbParties(); ++k) {
                EXPECT_EQ(p.FrqFormePartie(f, k), ligne[static_cast<std::size_t>(k)]) << texte << "\n" << f << ", " << k;
                EXPECT_EQ(p.RetourneFrqPartie(f, k), ligne[static_cast<std::size_t>(k)]);
                nonNuls += ligne[static_cast<std::size_t>(k)] != 0;
            }
        }
        EXPECT_EQ(table.NbCellules(), nonNuls);
        // Punctuation is counted from its positions: part by part as zone by zone.
        for (const char *ponctuation : {".", ","}) {
            const std::int32_t x = corpus->LocFormDic(ponctuation, true);
            if (x < 0)
                continue;
            const std::vector<std::int32_t> frq = p.FrqParPartie(x);
            ASSERT_EQ(frq.size(), static_cast<std::size_t>(p.NbParties()));
            for (std::int32_t k = 0; k < p.NbParties(); ++k)
                EXPECT_EQ(frq[static_cast<std::size_t>(k)], p.RetourneFrqPartie(x, k)) << texte << "\n" << ponctuation << ", " << k;
        }
        // The empty part and the part with every form.
        std::int32_t vide = -1, tout = -1;
        for (std::int32_t k = 0; k < p.NbParties(); ++k) {
            if (std::string(p.NomPartie(k)) == "vide")
                vide = k;
            if (std::string(p.NomPartie(k)) == "tout")
                tout = k;
        }
        ASSERT_GE(vide, 0);
        ASSERT_GE(tout, 0);
        EXPECT_EQ(p.NbFormesPartie(tout), corpus->Nbform()) << texte;
        if (zones.front().rfind("<cle=vide>", 0) != 0 || texte.rfind("a a", 0) != 0) {
            EXPECT_EQ(p.NbFormesPartie(vide), 0) << texte;
        }
        if (HasFailure())
            break;
    }
}
