// Queries, partition and sectioning on a generated corpus of 10 million word occurrences (about
// 11.5 million items), 5000 forms and 50 parts: LocOccFor, Partition construction, Section
// construction, TriCont on the most frequent form, and the memory of the table of forms by parts.
//
//   build/bench/bench_partition [occurrences]

#include "bench/commun/corpus_genere.h"

#include "engine/charg1.h"
#include "engine/partition.h"
#include "engine/section.h"
#include "engine/tgen.h"

#include <cstdio>
#include <set>
#include <vector>

int main(int argc, char **argv)
{
    using bench::Secondes;
    using Horloge = bench::HorlogeProcesseur;  // processor time

    const bench::Corpus corpus(
        {.occurrences = bench::Argument(argc, argv, 1, 10'000'000), .formes = 5000, .cles = {{"partie", 50}}});
    const auto &base = corpus.base;
    std::printf("corpus: %d items, %d occurrences, %d forms, Fmax %d, generated and loaded in %.2f s\n", base->Nbitem(),
                base->Nbocc(), base->Nbform(), base->Fmax(), corpus.preparation.processeur);

    auto t0 = Horloge::now();
    const std::vector<std::int32_t> occ0 = base->LocOccFor(0);
    std::printf("LocOccFor(most frequent form): %zu positions in %.3f s\n", occ0.size(), Secondes(t0));

    std::vector<std::int32_t> dix;
    for (std::int32_t e = 0; e < 10; ++e)
        dix.push_back(e * 37);
    t0 = Horloge::now();
    const std::vector<std::int32_t> occ10 = base->LocOccFor(dix.data(), static_cast<std::int32_t>(dix.size()));
    std::printf("LocOccFor(10 forms): %zu positions in %.3f s\n", occ10.size(), Secondes(t0));

    const std::int32_t cle = base->LocFormDic("partie", false);
    t0 = Horloge::now();
    Partition partition(base.get(), cle);
    const double tPartition = Secondes(t0);
    const double octets = static_cast<double>(partition.Table().Octets());
    std::printf("Partition: %d parts, %d zones, built in %.3f s; table of forms by parts %d x %d, %lld cells held "
                "in %.1f MB\n",
                partition.NbParties(), partition.NbZones(), tPartition, base->Nbform(), partition.NbParties(),
                static_cast<long long>(partition.Table().NbCellules()), octets / (1024.0 * 1024.0));

    const std::int32_t point = base->LocFormDic(".", true);
    t0 = Horloge::now();
    Section section(base.get(), &point, 1);
    std::printf("Section on the full stop: %d sections in %.3f s\n", section.NbSections(), Secondes(t0));
    t0 = Horloge::now();
    partition.IndexeZones(&section);
    std::printf("IndexeZones: %.6f s\n", Secondes(t0));

    const std::int32_t premier = 0;
    t0 = Horloge::now();
    Tgen groupe(base.get(), &premier, 1);
    std::printf("Tgen of the most frequent form: %d occurrences in %.3f s\n", groupe.NbOcc(), Secondes(t0));
    t0 = Horloge::now();
    std::int32_t total = 0;
    for (std::int32_t k = 0; k < partition.NbParties(); ++k)
        total += partition.NbPositionsDansPartie(&groupe, k);
    std::printf("NbPositionsDansPartie over every part: %d in %.6f s\n", total, Secondes(t0));

    std::vector<std::int32_t> positions = occ0;
    t0 = Horloge::now();
    base->TriCont(positions.data(), static_cast<std::int32_t>(positions.size()), 1, base->Nbform() - 1, {});
    std::printf("TriCont, right contexts of the most frequent form (%zu positions): %.3f s\n", positions.size(),
                Secondes(t0));
    positions = occ0;
    t0 = Horloge::now();
    base->TriCont(positions.data(), static_cast<std::int32_t>(positions.size()), -1, base->Nbform() - 1, {});
    std::printf("TriCont, left contexts: %.3f s\n", Secondes(t0));
    return 0;
}
