#include "bench/commun/specificites.h"

#include "bench/commun/mesure.h"
#include "engine/calcspectot.h"
#include "engine/partition.h"

#include <cstdio>

namespace bench {

namespace {

int pas = 0;
void Pas(std::int32_t) { ++pas; }

} // namespace

void MesureSpecTot(Partition &partition)
{
    pas = 0;
    const auto t0 = HorlogeProcesseur::now();
    CalcSpecTot tot(&partition, false, false, Pas, nullptr);
    const double secondes = Secondes(t0);
    std::printf("CalcSpecTot over %d parts: %.3f s (%ld significant rows, %d progress steps)\n",
                tot.NbPartiesCalculees(), secondes, LignesSignificatives(tot), pas);
}

long LignesSignificatives(const CalcSpecTot &calcul)
{
    long lignes = 0;
    for (std::int32_t k = 0; k < calcul.NbPartiesCalculees(); ++k)
        lignes += calcul.Colonne(k)->NbLignes();
    return lignes;
}

} // namespace bench
