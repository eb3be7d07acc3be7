// Many parts: a generated corpus of 1 million word occurrences, 30,000 forms, cut into 2,000
// parts (one per document). Partition construction, then CalcSpecTot over every part.
//
//   build/bench/bench_parties [occurrences] [parts]

#include "corpus_genere.h"

#include "engine/calcspectot.h"
#include "engine/charg1.h"
#include "engine/partition.h"

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
    p.occurrences = 1'000'000;
    if (argc > 1)
        p.occurrences = std::atoll(argv[1]);
    const int parties = argc > 2 ? std::atoi(argv[2]) : 2000;
    p.formes = 30'000;
    p.cles = {{"document", parties}};
    bench::DossierTemporaire dossier;

    auto t0 = Horloge::now();
    auto base = bench::GenereBase(p);
    std::printf("corpus: %d items, %d occurrences, %d forms, generated and loaded in %.2f s\n", base->Nbitem(),
                base->Nbocc(), base->Nbform(), Secondes(t0));

    t0 = Horloge::now();
    Partition partition(base.get(), base->LocFormDic("document", false));
    std::printf("Partition: %d parts built in %.3f s\n", partition.NbParties(), Secondes(t0));

    t0 = Horloge::now();
    CalcSpecTot tot(&partition, false, false, Pas, nullptr);
    const double tTot = Secondes(t0);
    long lignes = 0;
    for (std::int32_t k = 0; k < tot.NbPartiesCalculees(); ++k)
        lignes += tot.Colonne(k)->NbLignes();
    std::printf("CalcSpecTot over %d parts: %.3f s (%ld significant rows, %d progress steps)\n",
                tot.NbPartiesCalculees(), tTot, lignes, pas);
    return 0;
}
