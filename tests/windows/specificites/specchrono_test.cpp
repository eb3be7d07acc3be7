// The chronological grid: its header-click codes, and its columns in a narrow window.
#include "windows/specificites/specchrono.h"

#include "windows/specificites/pagesc.h"

#include "engine/base_fixture.h"
#include "engine/partition.h"
#include "engine/primspecchr.h"
#include "services/mesures.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QTableView>

#include <gtest/gtest.h>

namespace {

TEST(SpecChrono, HeaderClicksGiveTheTenSortCodes)
{
    struct Cas {
        int colonne, courant, nouveau;
    };
    const Cas cas[] = {
        {0, -1, PrimSpecChr::AlphaCroissant},    {0, 0, PrimSpecChr::AlphaDecroissant},
        {0, 1, PrimSpecChr::AlphaCroissant},     {1, 9, PrimSpecChr::FrqCroissante},
        {1, 2, PrimSpecChr::FrqDecroissante},    {1, 3, PrimSpecChr::FrqCroissante},
        {2, 0, PrimSpecChr::SousFrqCroissante},  {2, 6, PrimSpecChr::SousFrqDecroissante},
        {3, -1, PrimSpecChr::CoefDecroissant},   {3, 9, PrimSpecChr::CoefCroissant},
        {3, 8, PrimSpecChr::CoefDecroissant},    {4, 5, PrimSpecChr::PeriodeCroissante},
        {4, 4, PrimSpecChr::PeriodeDecroissante}, {5, 0, -1}, {-1, 0, -1},
    };
    for (const Cas &c : cas)
        EXPECT_EQ(talmer::NouveauCodeTriSC(c.colonne, c.courant), c.nouveau) << c.colonne << " after " << c.courant;
}

// In a window some 300 pixels wide, the spellings give way (down to their title) so that F, f
// and coeff show whole beside them; the runs of part names lie beyond, scrolled to.
TEST(PageSC, InANarrowWindowTheNumbersShowWholeBesideTheSpellings)
{
    talmer::test::TempDir ici;
    auto base = talmer::test::makeBase("<partie=fanotify_init_2> le chat le chat dort . <partie=futimesat_2> le chien "
                                       "le chien . <partie=umount_2> le chat chien dort .",
                                       ".");
    ASSERT_TRUE(base);
    Partition partition(base.get(), base->LocFormDic("partie", false));
    talmer::PageSC page(&partition);
    page.CalculeChrono(100, 1);
    ASSERT_GT(page.Modele()->rowCount(), 0);
    page.show();
    QTableView &grille = *page.Grille();
    const QHeaderView &entete = *grille.horizontalHeader();
    for (const int vue : {215, 260, 700}) {
        for (int fois = 0; fois < 2; ++fois) {
            page.resize(page.width() - grille.viewport()->width() + vue, 300);
            QCoreApplication::processEvents();
        }
        ASSERT_EQ(grille.viewport()->width(), vue);
        for (int c = 0; c < 4; ++c) {
            EXPECT_LE(entete.sectionViewportPosition(c) + entete.sectionSize(c), vue) << c << " in " << vue;
            EXPECT_EQ(talmer::TitreAffiche(entete, c), page.Modele()->headerData(c, Qt::Horizontal).toString())
                << c << " in " << vue;
        }
    }
    // Wide enough, the spellings have their designed width and the runs show too.
    EXPECT_GE(grille.columnWidth(0), 204);
    EXPECT_LE(entete.length(), grille.viewport()->width());
}

} // namespace
