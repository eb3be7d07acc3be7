// Many parts: a generated corpus of 1 million word occurrences, 30,000 forms, cut into 2,000
// parts (one per document). Partition construction, then CalcSpecTot over every part.
//
//   build/bench/bench_parties [occurrences] [parts]

#include "bench/commun/corpus_genere.h"
#include "bench/commun/specificites.h"

#include "engine/charg1.h"
#include "engine/partition.h"

#include <cstdio>

int main(int argc, char **argv)
{
    const bench::Corpus corpus({.occurrences = bench::Argument(argc, argv, 1, 1'000'000),
                                .formes = 30'000,
                                .cles = {{"document", static_cast<int>(bench::Argument(argc, argv, 2, 2000))}}});
    const auto &base = corpus.base;
    bench::LigneCorpus(*base, corpus.preparation.processeur);

    const auto t0 = bench::HorlogeProcesseur::now();
    Partition partition(base.get(), base->LocFormDic("document", false));
    std::printf("Partition: %d parts built in %.3f s\n", partition.NbParties(), bench::Secondes(t0));

    bench::MesureSpecTot(partition);
    return 0;
}
