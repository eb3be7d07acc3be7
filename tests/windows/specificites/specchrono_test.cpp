// The chronological grid's header-click codes.
#include "windows/specificites/specchrono.h"

#include "engine/primspecchr.h"

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

} // namespace
