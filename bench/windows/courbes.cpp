// Zipf and growth curves on a generated base of 10 million items (50 parts, 50,000 forms): the
// points of each curve, and the windows opened with their first curve (thinned for the chart).
//
//   QT_QPA_PLATFORM=offscreen build/bench/bench_courbes [occurrences]

#include "bench/commun/application.h"
#include "bench/commun/corpus_genere.h"

#include "engine/charg1.h"
#include "engine/partition.h"
#include "engine/tgen.h"
#include "windows/courbes/fengrapheac.h"
#include "windows/courbes/fenzipf.h"
#include "windows/courbes/points_courbes.h"

#include <QLineSeries>

#include <cstdio>

int main(int argc, char **argv)
{
    using bench::Secondes;
    using Horloge = bench::HorlogeMur;
    bench::Application app(argc, argv);

    const bench::Corpus corpus({.occurrences = bench::Argument(argc, argv, 1, 10'000'000), .formes = 50'000});
    const auto &base = corpus.base;
    Partition partition(base.get(), base->Nbform() + base->Nbartponct());
    std::printf("base: %d items, %d occurrences, %d forms, %d parts\n", base->Nbitem(), base->Nbocc(), base->Nbform(),
                partition.NbParties());

    auto t0 = Horloge::now();
    const talmer::Courbe zipf = talmer::CourbeZipf(partition);
    std::printf("Zipf, all parts: %zu points in %.3f s\n", zipf.points.size(), Secondes(t0));
    for (std::int32_t k = 0; k < partition.NbParties(); k += 2) {
        partition.Coche(k, true);
        partition.Selectionne(k, true);
    }
    t0 = Horloge::now();
    const talmer::Courbe zipfMoitie = talmer::CourbeZipf(partition);
    std::printf("Zipf, half the parts: %zu points in %.3f s\n", zipfMoitie.points.size(), Secondes(t0));

    t0 = Horloge::now();
    const talmer::Courbe moitie = talmer::CourbeAccroissementPartition(*base, partition);
    std::printf("growth, half the parts: %zu points in %.3f s\n", moitie.points.size(), Secondes(t0));
    t0 = Horloge::now();
    talmer::Courbe deposee;
    talmer::CourbeAccroissementSelection(*base, partition, deposee);
    std::printf("growth, the same parts dropped (mask included): %zu points in %.3f s\n", deposee.points.size(),
                Secondes(t0));
    for (std::int32_t k = 0; k < partition.NbParties(); ++k)
        partition.Selectionne(k, false);
    t0 = Horloge::now();
    const talmer::Courbe entier = talmer::CourbeAccroissementPartition(*base, partition);
    std::printf("growth, whole text: %zu points in %.3f s\n", entier.points.size(), Secondes(t0));

    t0 = Horloge::now();
    const auto fines = talmer::Eclaircit(entier.points, talmer::FenCourbes::ColonnesAffichees, false);
    std::printf("thinning the whole-text curve: %zu -> %zu points in %.3f s\n", entier.points.size(), fines.size(),
                Secondes(t0));

    t0 = Horloge::now();
    {
        TFenGrapheAC fenetre(partition, *base);
        fenetre.resize(1200, 400);
        fenetre.show();
        QApplication::processEvents();
        std::printf("growth window opened (first curve computed, %lld points drawn) in %.3f s\n",
                    static_cast<long long>(fenetre.Series()[0]->count()), Secondes(t0));
    }
    t0 = Horloge::now();
    {
        TFenZipf fenetre(partition);
        fenetre.resize(1200, 400);
        fenetre.show();
        QApplication::processEvents();
        std::printf("Zipf window opened (%lld points drawn) in %.3f s\n",
                    static_cast<long long>(fenetre.Series()[0]->count()), Secondes(t0));
    }
    return 0;
}
