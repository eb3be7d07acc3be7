// Chronological specificities (PrimSpecChr, 5 %, minimum frequency 10) and the evolutive
// specificities of "Sp Diac." (one PrimSpec against the parts up to the selected one) on a
// generated corpus of 5 million word occurrences, 30,000 forms and 10,000 parts in time order, or
// on an existing base.
//
//   build/bench/bench_chronologiques [occurrences] [parts]
//   build/bench/bench_chronologiques -f base.par key
//
// PrimSpecChr::Calcule is timed in wall-clock and in processor time of the whole process (it
// spreads the forms over the cores), best of TOURS runs (default 3; 0 leaves it out). With
// ECHANTILLON=n, every n-th form is also examined alone on the calling thread (CalculeEntite),
// which times the search itself, one form after the other, and lets a slow search be measured on
// part of the forms.

#include "bench/commun/corpus_genere.h"

#include "engine/charg1.h"
#include "engine/partition.h"
#include "engine/primspec.h"
#include "engine/primspecchr.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

int main(int argc, char **argv)
{
    using bench::Secondes;

    const bool existante = argc > 3 && std::strcmp(argv[1], "-f") == 0;
    const std::string cle = existante ? argv[3] : "document";
    const bench::Corpus corpus =
        existante ? bench::Corpus(argv[2])
                  : bench::Corpus({.occurrences = bench::Argument(argc, argv, 1, 5'000'000),
                                   .formes = 30'000,
                                   .cles = {{cle, static_cast<int>(bench::Argument(argc, argv, 2, 10'000))}}});
    const auto &base = corpus.base;
    const int tours = bench::Environnement("TOURS", 3);
    const int echantillon = bench::Environnement("ECHANTILLON", 0);

    Partition partition(base.get(), bench::TypeDeCle(*base, cle));
    std::int32_t formes = 0;
    for (std::int32_t e = 0; e < base->Nbform(); ++e)
        formes += base->RetourneFrq(e) > 10;
    std::printf("corpus: %d occurrences, %d forms (%d above the minimum frequency), %d parts of key %s\n",
                base->Nbocc(), base->Nbform(), formes, partition.NbParties(), cle.c_str());

    if (tours > 0) {
        std::int32_t lignes = 0;
        const bench::Temps chr = bench::MeilleurDe(tours, [&] {
            PrimSpecChr calcul(&partition, 5, 10);
            calcul.Calcule();
            lignes = calcul.NbLignes();
        });
        std::printf("PrimSpecChr::Calcule: %.3f s wall-clock, %.3f s processor time (all threads), %d rows; best of %d\n",
                    chr.mur, chr.processus, lignes, tours);
    }

    if (echantillon > 0) {
        std::int32_t examinees = 0;
        PrimSpecChr calcul(&partition, 5, 10);
        const auto t0 = bench::HorlogeProcesseur::now();
        for (std::int32_t e = 0; e < base->Nbform(); e += echantillon) {
            examinees += base->RetourneFrq(e) > 10;
            calcul.CalculeEntite(e);
        }
        const double t = Secondes(t0);
        std::printf("CalculeEntite on every %d-th form: %d forms above the minimum frequency in %.3f s processor "
                    "time, %.3f ms each: %.1f s for all %d\n",
                    echantillon, examinees, t, examinees ? 1e3 * t / examinees : 0.0,
                    examinees ? t / examinees * formes : 0.0, formes);
    }

    // "Sp Diac.": the part in the middle selected, the parts after it unchecked.
    const std::int32_t i = partition.NbParties() / 2;
    for (std::int32_t k = i + 1; k < partition.NbParties(); ++k)
        partition.Coche(k, false);
    partition.Selectionne(i, true);
    std::int32_t evolutives = 0;
    const bench::Temps evol = bench::MeilleurDe(std::max(tours, 1), [&] {
        PrimSpec calcul(&partition, 1);
        calcul.Calcule();
        evolutives = static_cast<std::int32_t>(calcul.Liste().size());
    });
    std::printf("evolutive PrimSpec (part %d against parts 0..%d): %.3f s processor time, %d rows\n", i, i,
                evol.processeur, evolutives);
    return 0;
}
