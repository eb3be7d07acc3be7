// Specificities of a set of sections against the whole corpus, on a small base.
#include "engine/base_fixture.h"

#include "engine/charg1.h"
#include "engine/section.h"
#include "engine/specificite.h"
#include "windows/sections/specifs_sections.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace talmer;

namespace {

class SpecifsSectionsTest : public talmer::test::InTempDir {
protected:
    void SetUp() override
    {
        // 13 word occurrences; sections at ".": " le chat dort.", " le chien dort.",
        // " le chat mange.", " le chat dort." and the empty one after the last full stop.
        base = talmer::test::makeBase("x. le chat dort. le chien dort. le chat mange. le chat dort.\n");
        ASSERT_TRUE(base);
        ASSERT_EQ(base->Nbocc(), 13);
        const std::int32_t point = base->LocFormDic(".", true);
        section = std::make_unique<Section>(base.get(), &point, 1);
        ASSERT_EQ(section->NbSections(), 5);
    }

    // The rows expected for hand-counted (form, F, f) at corpus size T and part size t.
    std::vector<StructSpec> Attendues(double T, double t, int seuil,
                                      const std::vector<std::tuple<const char *, int, int>> &termes)
    {
        std::vector<StructSpec> lignes;
        for (const auto &[forme, F, f] : termes) {
            const std::int32_t c = CalcSpecifEntier(T, t, F, f, seuil * 0.01);
            if (c != 0)
                lignes.push_back({base->LocFormDic(forme, true), F, f, c});
        }
        // Ties stay in entity order.
        std::sort(lignes.begin(), lignes.end(), [](const StructSpec &a, const StructSpec &b) { return a.Entite < b.Entite; });
        std::stable_sort(lignes.begin(), lignes.end(), [](const StructSpec &a, const StructSpec &b) { return a.Coef > b.Coef; });
        return lignes;
    }

    std::unique_ptr<charg1> base;
    std::unique_ptr<Section> section;
};

TEST_F(SpecifsSectionsTest, RowsOfTheTargetSectionsAboveTheMinimumFrequency)
{
    ParametresSpecifsSections p;
    p.seuilPourcent = 100;
    p.freqMin = 2;
    const SpecifsSections r = CalculeSpecifsSections(*base, *section, {1, 0, 0, 1, 0}, p);
    EXPECT_EQ(r.nbSections, 2);
    EXPECT_EQ(r.t, 6);
    // Forms of frequency 1 (x, chien, mange) are never listed.
    const auto attendues = Attendues(13, 6, 100, {{"le", 4, 2}, {"chat", 3, 2}, {"dort", 3, 2}});
    ASSERT_FALSE(attendues.empty());
    EXPECT_EQ(r.lignes, attendues);
    for (std::size_t k = 1; k < r.lignes.size(); ++k)
        EXPECT_GE(r.lignes[k - 1].Coef, r.lignes[k].Coef);
}

TEST_F(SpecifsSectionsTest, LabelsCountHalvesBothSizes)
{
    ParametresSpecifsSections p;
    p.seuilPourcent = 100;
    p.freqMin = 1;
    p.etiquettes = 2;
    const SpecifsSections r = CalculeSpecifsSections(*base, *section, {0, 1, 1, 0, 0}, p);
    EXPECT_EQ(r.t, 6);
    // T = 13 / 2 = 6, t = 6 / 2 = 3.
    EXPECT_EQ(r.lignes, Attendues(6, 3, 100,
                                  {{"le", 4, 2}, {"chat", 3, 1}, {"dort", 3, 1}, {"x", 1, 0}, {"chien", 1, 1},
                                   {"mange", 1, 1}}));
}

TEST_F(SpecifsSectionsTest, NoRowWithoutWordsInTheTargets)
{
    const ParametresSpecifsSections p;
    for (const std::vector<char> &cible : {std::vector<char>{0, 0, 0, 0, 0}, std::vector<char>{0, 0, 0, 0, 1}}) {
        const SpecifsSections r = CalculeSpecifsSections(*base, *section, cible, p);
        EXPECT_EQ(r.t, 0);
        EXPECT_TRUE(r.lignes.empty());
    }
}

} // namespace
