// Repeated segments of a generated corpus: a Zipf-like vocabulary of 50,000 forms, a full stop
// every 12th word, minimum frequency 10. Prints the time of the computation and the peak memory
// of the process.
//
//   build/bench/bench_segments [occurrences]

#include "bench/commun/corpus_genere.h"

#include "engine/charg1.h"
#include "engine/segrep.h"

#include <cstdio>
#include <set>

int main(int argc, char **argv)
{
    using bench::Secondes;
    using Horloge = bench::HorlogeProcesseur;  // processor time
    const auto PicMo = [] { return static_cast<long>(bench::MemoireMo("VmHWM")); };

    const bench::Corpus corpus(
        {.occurrences = bench::Argument(argc, argv, 1, 10'000'000), .formes = 50'000, .cles = {{"partie", 50}}});
    const auto &base = corpus.base;
    std::printf("corpus: %d items, %d occurrences, %d forms, generated and loaded in %.2f s, peak %ld MB\n",
                base->Nbitem(), base->Nbocc(), base->Nbform(), corpus.preparation.processeur, PicMo());

    // The full stop is the only punctuation entity, right after the forms.
    const std::set<std::int32_t> delimiteurs = {base->Nbform()};
    SegRep segments(base.get(), delimiteurs);
    const auto t0 = Horloge::now();
    segments.CalcSegRep(0, 10);
    const double secondes = Secondes(t0);
    std::printf("CalcSegRep (fmin 10): %d segments in %.2f s, peak %ld MB\n", segments.NbSegments(), secondes, PicMo());
    return 0;
}
