// The partition windows on a generated corpus of 10 million word occurrences, 5000 forms and 50
// parts: building the partition and opening its statistics window (counts grid drawn once), and
// the distribution graph's series of a group of 1000 forms (relative frequencies and specificity
// bars), the group's collection of occurrences timed apart.
//
//   QT_QPA_PLATFORM=offscreen build/bench/bench_partitions_fenetres [occurrences]

#include "bench/commun/application.h"
#include "bench/commun/corpus_genere.h"

#include "engine/partition.h"
#include "engine/tgen.h"
#include "windows/graphe/series_graphe.h"
#include "windows/partitions/fenstatpart.h"

#include <cstdio>
#include <vector>

int main(int argc, char **argv)
{
    using bench::Secondes;
    using Horloge = bench::HorlogeMur;
    bench::Application application(argc, argv);

    const bench::Corpus corpus(
        {.occurrences = bench::Argument(argc, argv, 1, 10'000'000), .formes = 5000, .cles = {{"partie", 50}}});
    const auto &base = corpus.base;
    bench::LigneCorpus(*base, corpus.preparation.mur);
    const std::int32_t cle = base->LocFormDic("partie", false);

    // Best of three, the first run included in the figures printed.
    for (int essai = 0; essai < 3; ++essai) {
        const auto t0 = Horloge::now();
        Partition partition(base.get(), cle);
        const double tPartition = Secondes(t0);
        auto *fenetre = new TFenStatPart(nullptr, partition);
        fenetre->resize(1000, 700);
        fenetre->show();
        QApplication::processEvents();
        const double tTotal = Secondes(t0);
        std::printf("partition of %d parts built in %.3f s; with the statistics window open: %.3f s\n",
                    partition.NbParties(), tPartition, tTotal);
        delete fenetre;
    }

    Partition partition(base.get(), cle);
    std::vector<std::int32_t> formes;
    for (std::int32_t e = 0; e < base->Nbform() && formes.size() < 1000; e += 5)
        formes.push_back(e);
    auto t0 = Horloge::now();
    Tgen groupe(base.get(), formes.data(), static_cast<std::int32_t>(formes.size()));
    std::printf("group of %zu forms: %d occurrences collected in %.3f s\n", formes.size(), groupe.NbOcc(),
                Secondes(t0));
    for (int essai = 0; essai < 3; ++essai) {
        t0 = Horloge::now();
        const auto relatives = talmer::SerieFrequences(partition, groupe, true);
        const double tFrq = Secondes(t0);
        t0 = Horloge::now();
        std::int32_t bas = 0, haut = 0;
        const auto specificites = talmer::SerieSpecificites(partition, groupe, &bas, &haut);
        const double tSpec = Secondes(t0);
        std::printf("series over %zu parts: relative frequencies %.6f s, specificities %.6f s (from %d to %d)\n",
                    relatives.size(), tFrq, tSpec, bas, haut);
        (void)specificites;
    }
    return 0;
}
