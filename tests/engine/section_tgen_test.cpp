// Groups of forms (Tgen) and sectionings (Section).

#include "engine/section.h"
#include "engine/tgen.h"

#include "base_fixture.h"
#include "engine/charg1.h"
#include "engine/segrep.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using talmer::test::InTempDir;
using talmer::test::makeBase;

using TgenTest = InTempDir;
using SectionTest = InTempDir;

TEST_F(TgenTest, ColourTurnOfTenComesBackToTheFirst)
{
    auto base = makeBase("le chat", "");
    ASSERT_TRUE(base);
    const std::int32_t f = 0;
    std::vector<std::unique_ptr<Tgen>> groupes;
    const int depart = Tgen::IndexCouleurSuivante();
    for (int i = 0; i < 11; ++i) {
        groupes.push_back(std::make_unique<Tgen>(base.get(), &f, 1));
        EXPECT_EQ(groupes.back()->Couleur(), Tgen::Palette[(depart + i) % 10]) << i;
    }
    EXPECT_EQ(groupes[10]->Couleur(), groupes[0]->Couleur());
    EXPECT_EQ(Tgen::IndexCouleurSuivante(), (depart + 1) % 10);
    // A colour given afterwards replaces the palette's.
    groupes[0]->FixeCouleur(0x123456);
    EXPECT_EQ(groupes[0]->Couleur(), 0x123456);
}

TEST_F(TgenTest, NamesAndOccurrences)
{
    auto base = makeBase("le chat la chatte le chien la", "");
    ASSERT_TRUE(base);
    const std::int32_t le = base->LocFormDic("le", true), la = base->LocFormDic("la", true);
    const std::int32_t deux[] = {le, la};
    struct Cas { std::vector<std::int32_t> formes; const char *nom; std::string attendu; };
    const Cas cas[] = {
        {{le, la}, nullptr, "le+"},
        {{le}, nullptr, "le"},
        {{le, la}, "", "le+"},
        {{le, la}, "articles", "articles"},
        {{}, nullptr, ""},
    };
    for (const Cas &c : cas) {
        Tgen g(base.get(), c.formes.data(), static_cast<std::int32_t>(c.formes.size()), c.nom);
        EXPECT_EQ(std::string(g.Nom()), c.attendu);
    }
    Tgen g(base.get(), deux, 2);
    EXPECT_TRUE(g.EstGroupeFormes());
    EXPECT_EQ(g.NbFormes(), 2);
    ASSERT_EQ(g.NbOcc(), 4);
    EXPECT_EQ(std::vector<std::int32_t>(g.Positions(), g.Positions() + 4), (std::vector<std::int32_t>{0, 2, 4, 6}));
    EXPECT_TRUE(g.Contient(4));
    EXPECT_FALSE(g.Contient(5));
    EXPECT_EQ(g.MasqueItems(), (std::vector<char>{1, 0, 1, 0, 1, 0, 1}));
    EXPECT_EQ(g.NbOccEntre(1, 5), 2);
    // The membership test and the counts do not depend on the order of the array, which
    // concordances reorder in place.
    std::swap(g.Positions()[0], g.Positions()[3]);
    EXPECT_TRUE(g.Contient(0));
    EXPECT_EQ(g.NbOccEntre(0, 3), 2);
}

TEST_F(TgenTest, SegmentEntitiesKeepOverlappingOccurrences)
{
    auto base = makeBase("de la de la de", "");
    ASSERT_TRUE(base);
    const std::int32_t de = base->LocFormDic("de", true), la = base->LocFormDic("la", true);
    SegRep sr(base.get(), {});
    ASSERT_TRUE(sr.OuvreFichiers());
    sr.AjouteSegment({de, la}, {0, 2});
    base->AssigneSR(&sr);
    const std::int32_t entites[] = {de, base->Nbart() + 1};
    Tgen g(base.get(), entites, 2);
    EXPECT_EQ(std::string(g.Nom()), "de+");
    // de at 0, 2, 4 and the segment at 0, 2: positions given twice stay twice.
    EXPECT_EQ(g.PositionsTriees(), (std::vector<std::int32_t>{0, 0, 2, 2, 4}));
    EXPECT_EQ(g.NbOccEntre(0, 1), 2);
    const std::int32_t seg[] = {base->Nbart() + 1};
    Tgen s(base.get(), seg, 1);
    EXPECT_EQ(std::string(s.Nom()), "de la ");
    base->AssigneSR(nullptr);
}

TEST_F(SectionTest, SentencesAfterEachFullStop)
{
    // Positions: 0 Un, 1 deux, 2 '.', 3 Trois, 4 quatre, 5 '.', 6 Cinq, 7 '.'
    auto base = makeBase("Un deux. Trois quatre. Cinq.", ".");
    ASSERT_TRUE(base);
    const std::int32_t point = base->LocFormDic(".", true);
    const std::int32_t trois = base->LocFormDic("Trois", true);
    const std::int32_t delims[] = {point};
    Section s(base.get(), delims, 1);
    ASSERT_EQ(s.NbSections(), 3);
    EXPECT_EQ(s.Debuts(), (std::vector<std::int32_t>{3, 6, 8, 8}));
    struct Cas { std::int32_t section, nbOcc, frqTrois; };
    const Cas cas[] = {{-1, 0, 0}, {0, 2, 1}, {1, 1, 0}, {2, 0, 0}, {3, 0, 0}, {100, 0, 0}};
    for (const Cas &c : cas) {
        EXPECT_EQ(s.NbOcc(c.section), c.nbOcc) << c.section;
        EXPECT_EQ(s.FrqForme(trois, c.section), c.frqTrois) << c.section;
    }
    EXPECT_EQ(s.FrqForme(point, 0), 1);   // a section ends with its delimiter
    EXPECT_EQ(s.Debut(3), 8);
    EXPECT_EQ(s.Debut(4), -1);

    const std::int32_t formes[] = {trois, base->LocFormDic("Un", true)};
    Tgen g(base.get(), formes, 2);
    EXPECT_EQ(s.FrqTgen(&g, 0), 1);
    EXPECT_EQ(s.FrqTgen(&g, 1), 0);
    EXPECT_EQ(s.FrqTgen(&g, 3), 0);   // "Un" lies before the first section
    EXPECT_EQ(s.FrqTgen(nullptr, 0), 0);
}

TEST_F(SectionTest, TextAfterTheLastDelimiterAndRepeatedDelimiters)
{
    // Positions: 0 a, 1 ',', 2 b, 3 '.', 4 c, 5 d
    auto base = makeBase("a, b. c d", ".,");
    ASSERT_TRUE(base);
    const std::int32_t point = base->LocFormDic(".", true), virgule = base->LocFormDic(",", true);
    const std::int32_t delims[] = {point, virgule, point};
    Section s(base.get(), delims, 3);
    EXPECT_EQ(s.NbDelimiteurs(), 2);   // the full stop listed twice opens one section per occurrence
    EXPECT_EQ(s.Delimiteurs(), (std::vector<std::int32_t>{point, virgule}));
    ASSERT_EQ(s.NbSections(), 2);
    EXPECT_EQ(s.Debuts(), (std::vector<std::int32_t>{2, 4, 6}));
    EXPECT_EQ(s.NbOcc(1), 2);   // c d, up to the end of the text

    // A sectioning without delimiter occurrences has no section.
    Section vide(base.get(), nullptr, 0);
    EXPECT_EQ(vide.NbSections(), 0);
    EXPECT_EQ(vide.Debuts(), (std::vector<std::int32_t>{6}));
    EXPECT_EQ(vide.NbOcc(0), 0);
}

} // namespace
