// Repeated segments of a generated corpus: a Zipf-like vocabulary of 50,000 forms, a full stop
// every 12th word, minimum frequency 10. Prints the time of the computation and the peak memory
// of the process.
//
//   build/bench/bench_segments [occurrences]

#include "corpus_genere.h"

#include "engine/charg1.h"
#include "engine/segrep.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <set>

#include <sys/resource.h>

namespace {

long PicMemoireKo()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

} // namespace

int main(int argc, char **argv)
{
    using bench::Secondes;
    using Horloge = bench::HorlogeProcesseur;  // processor time

    bench::Parametres p;
    if (argc > 1)
        p.occurrences = std::atoll(argv[1]);
    p.formes = 50'000;
    p.cles = {{"partie", 50}};
    bench::DossierTemporaire dossier;

    auto t0 = Horloge::now();
    auto base = bench::GenereBase(p);
    std::printf("corpus: %d items, %d occurrences, %d forms, generated and loaded in %.2f s, peak %ld MB\n",
                base->Nbitem(), base->Nbocc(), base->Nbform(), Secondes(t0), PicMemoireKo() / 1024);

    // The full stop is the only punctuation entity, right after the forms.
    const std::set<std::int32_t> delimiteurs = {base->Nbform()};
    SegRep segments(base.get(), delimiteurs);
    t0 = Horloge::now();
    segments.CalcSegRep(0, 10);
    std::printf("CalcSegRep (fmin 10): %d segments in %.2f s, peak %ld MB\n", segments.NbSegments(), Secondes(t0),
                PicMemoireKo() / 1024);
    return 0;
}
