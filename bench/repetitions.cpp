// Context sorts and repeated segments on a generated corpus whose documents repeat long passages:
// about 10 million items in 500 documents, a Zipf-like vocabulary of 50,000 forms, and every fifth
// document a word-for-word copy of an earlier one. TriCont of the most frequent form in both
// directions, then CalcSegRep with minimum frequency 10.
//
//   build/bench/bench_repetitions [occurrences]

#include "bench/commun/corpus_genere.h"

#include "engine/charg1.h"
#include "engine/segrep.h"

#include <cstdio>
#include <set>
#include <vector>

int main(int argc, char **argv)
{
    using bench::Secondes;
    using Horloge = bench::HorlogeProcesseur;  // processor time

    const bench::Corpus corpus({.occurrences = bench::Argument(argc, argv, 1, 8'700'000),
                                .formes = 50'000,
                                .cles = {{"document", 500}},
                                .copieToutesLes = 5});
    const auto &base = corpus.base;
    bench::LigneCorpus(*base, corpus.preparation.processeur);

    const std::vector<std::int32_t> occ0 = base->LocOccFor(0);
    const double centMille = static_cast<double>(occ0.size()) / 100'000.0;
    for (const std::int32_t pas : {1, -1}) {
        std::vector<std::int32_t> positions = occ0;
        const auto t0 = Horloge::now();
        base->TriCont(positions.data(), static_cast<std::int32_t>(positions.size()), pas, base->Nbform() - 1, {});
        const double t = Secondes(t0);
        std::printf("TriCont (%+d) of the most frequent form, %zu positions: %.3f s (%.3f s per 100,000)\n", pas,
                    positions.size(), t, t / centMille);
    }

    const std::set<std::int32_t> delimiteurs = {base->Nbform()};
    SegRep segments(base.get(), delimiteurs);
    const auto t0 = Horloge::now();
    segments.CalcSegRep(0, 10);
    std::printf("CalcSegRep (fmin 10): %d segments in %.2f s\n", segments.NbSegments(), Secondes(t0));
    return 0;
}
