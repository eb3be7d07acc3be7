// Specificities on a generated corpus of 10 million word occurrences, 50,000 distinct forms, a
// key of 50 parts and a key of 20 parts: CalcSpecTot over all 50 parts and PrimSpecChr over the
// 20 parts (5 %, minimum frequency 10).
//
//   build/bench/bench_specificites [occurrences]

#include "bench/commun/corpus_genere.h"
#include "bench/commun/specificites.h"

#include "engine/charg1.h"
#include "engine/partition.h"
#include "engine/primspecchr.h"

#include <cstdio>

int main(int argc, char **argv)
{
    const bench::Corpus corpus({.occurrences = bench::Argument(argc, argv, 1, 10'000'000),
                                .formes = 50'000,
                                .cles = {{"partie", 50}, {"epoque", 20}}});
    const auto &base = corpus.base;
    bench::LigneCorpus(*base, corpus.preparation.processeur);

    Partition parties50(base.get(), base->LocFormDic("partie", false));
    Partition parties20(base.get(), base->LocFormDic("epoque", false));
    std::printf("partitions: %d and %d parts\n", parties50.NbParties(), parties20.NbParties());

    bench::MesureSpecTot(parties50);

    const auto t0 = bench::HorlogeProcesseur::now();
    PrimSpecChr chr(&parties20, parties20.Seuil(), parties20.FreqMin());
    chr.Calcule();
    std::printf("PrimSpecChr over %d parts: %.3f s (%d rows)\n", parties20.NbParties(), bench::Secondes(t0),
                chr.NbLignes());
    return 0;
}
