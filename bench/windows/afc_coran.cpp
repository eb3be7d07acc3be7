// The exchange file of the correspondence analysis for a table of 20,000 forms by 50 parts: the
// rows read from the partition, laid out and written a few at a time.
//
//   QT_QPA_PLATFORM=offscreen build/bench/bench_afc_coran [occurrences]

#include "bench/commun/corpus_genere.h"

#include "engine/charg1.h"
#include "engine/partition.h"
#include "windows/afc/donnees_afc.h"

#include <cstdio>
#include <filesystem>

int main(int argc, char **argv)
{
    const bench::Corpus corpus({.occurrences = bench::Argument(argc, argv, 1, 5'000'000), .formes = 20'000});
    const auto &base = corpus.base;
    Partition partition(base.get(), base->Nbform() + base->Nbartponct());
    const std::int32_t ni = talmer::FormesRetenues(partition, 1);
    std::printf("base: %d occurrences, %d forms, %d parts; %d form rows\n", base->Nbocc(), base->Nbform(),
                partition.NbParties(), ni);

    bool ecrit = true;
    const bench::Temps meilleur = bench::MeilleurDe(5, [&] {
        ecrit = ecrit &&
                talmer::EcritCoranDon("coran.don", partition, "bench : partie", {ni, partition.NbParties(), 5}, 1, false);
    });
    if (!ecrit) {
        std::fprintf(stderr, "coran.don could not be written\n");
        return 1;
    }
    std::printf("coran.don (%llu bytes): best of 5 %.3f s\n",
                static_cast<unsigned long long>(std::filesystem::file_size("coran.don")), meilleur.mur);
    return 0;
}
