// Specificities on a generated corpus of 10 million word occurrences, 50,000 distinct forms, a
// key of 50 parts and a key of 20 parts: CalcSpecTot over all 50 parts and PrimSpecChr over the
// 20 parts (5 %, minimum frequency 10).
//
//   build/bench/bench_specificites [occurrences]

#include "corpus_genere.h"

#include "engine/calcspectot.h"
#include "engine/charg1.h"
#include "engine/partition.h"
#include "engine/primspecchr.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace {

int pas = 0;
void Pas(std::int32_t) { ++pas; }

} // namespace

int main(int argc, char **argv)
{
    using bench::Secondes;
    using Horloge = bench::HorlogeProcesseur;  // processor time

    bench::Parametres p;
    if (argc > 1)
        p.occurrences = std::atoll(argv[1]);
    p.formes = 50000;
    p.cles = {{"partie", 50}, {"epoque", 20}};
    bench::DossierTemporaire dossier;

    auto t0 = Horloge::now();
    auto base = bench::GenereBase(p);
    std::printf("corpus: %d items, %d occurrences, %d forms, generated and loaded in %.2f s\n", base->Nbitem(),
                base->Nbocc(), base->Nbform(), Secondes(t0));

    Partition parties50(base.get(), base->LocFormDic("partie", false));
    Partition parties20(base.get(), base->LocFormDic("epoque", false));
    std::printf("partitions: %d and %d parts\n", parties50.NbParties(), parties20.NbParties());

    t0 = Horloge::now();
    CalcSpecTot tot(&parties50, false, false, Pas, nullptr);
    const double tTot = Secondes(t0);
    long lignes = 0;
    for (std::int32_t k = 0; k < tot.NbPartiesCalculees(); ++k)
        lignes += tot.Colonne(k)->NbLignes();
    std::printf("CalcSpecTot over %d parts: %.3f s (%ld significant rows, %d progress steps)\n",
                tot.NbPartiesCalculees(), tTot, lignes, pas);

    t0 = Horloge::now();
    PrimSpecChr chr(&parties20, parties20.Seuil(), parties20.FreqMin());
    chr.Calcule();
    std::printf("PrimSpecChr over %d parts: %.3f s (%d rows)\n", parties20.NbParties(), Secondes(t0), chr.NbLignes());
    return 0;
}
