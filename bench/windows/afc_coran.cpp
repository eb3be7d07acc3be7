// The exchange file of the correspondence analysis for a table of 20,000 forms by 50 parts: the
// rows read from the partition, laid out and written a few at a time.
//
//   QT_QPA_PLATFORM=offscreen build/bench/bench_afc_coran [occurrences]

#include "bench/corpus_genere.h"

#include "engine/charg1.h"
#include "engine/partition.h"
#include "windows/afc/donnees_afc.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

int main(int argc, char **argv)
{
    using bench::Secondes;
    using Horloge = std::chrono::steady_clock;
    bench::Parametres p;
    p.occurrences = argc > 1 ? std::atoll(argv[1]) : 5'000'000;
    p.formes = 20'000;
    bench::DossierTemporaire dossier;
    auto base = bench::GenereBase(p);
    Partition partition(base.get(), base->Nbform() + base->Nbartponct());
    const std::int32_t ni = talmer::FormesRetenues(partition, 1);
    std::printf("base: %d occurrences, %d forms, %d parts; %d form rows\n", base->Nbocc(), base->Nbform(),
                partition.NbParties(), ni);

    double meilleur = 1e9;
    for (int essai = 0; essai < 5; ++essai) {
        const auto t0 = Horloge::now();
        if (!talmer::EcritCoranDon("coran.don", partition, "bench : partie", {ni, partition.NbParties(), 5}, 1, false)) {
            std::fprintf(stderr, "coran.don could not be written\n");
            return 1;
        }
        meilleur = std::min(meilleur, Secondes(t0));
    }
    std::printf("coran.don (%llu bytes): best of 5 %.3f s\n",
                static_cast<unsigned long long>(std::filesystem::file_size("coran.don")), meilleur);
    return 0;
}
