// A corpus of thousands of parts, the steps of a session on it with their processor time (best
// of several runs) and the resident memory they take: the partition (the table of forms by parts
// and the counts of each part), the Zipf curve of every part, "Sp. Tot" (CalcSpecTot, then the
// rows of the table window and two of its sorts), and the exchange file of a correspondence
// analysis (FreqMin 10, 5 factors).
//
//   build/bench/bench_milliers_de_parties                    a generated corpus of 10,000 parts
//   build/bench/bench_milliers_de_parties base.par [key]     a base of one's own (key "page")
//
// The generated corpus: 12 million word occurrences, 35,000 forms, one part per document.

#include "bench/commun/corpus_genere.h"
#include "bench/commun/specificites.h"

#include "windows/afc/donnees_afc.h"
#include "windows/courbes/points_courbes.h"
#include "windows/specificites/tfg.h"

#include "engine/calcspectot.h"
#include "engine/charg1.h"
#include "engine/partition.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

namespace {

double pic = 0;  // the highest resident memory seen, over every step

// Runs the step `essais` times and prints its best processor time; the memory it takes is that
// of its first run: the peak during it above what was in use before.
void Etape(const char *nom, int essais, const std::function<void()> &pas)
{
    const double avant = bench::MemoireMo("VmRSS");
    bench::RemetPicMemoire();
    double picEtape = 0;
    const bench::Temps t = bench::MeilleurDe(essais, pas, [&](int i) {
        if (i == 0)
            picEtape = bench::MemoireMo("VmHWM");
    });
    pic = std::max(pic, picEtape);
    std::printf("%-44s %8.3f s   peak +%7.1f MB (resident %7.1f MB after)\n", nom, t.processeur, picEtape - avant,
                bench::MemoireMo("VmRSS"));
}

} // namespace

int main(int argc, char **argv)
{
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    const std::string nomCle = argc > 1 ? (argc > 2 ? argv[2] : "page") : "document";
    const bench::Corpus corpus =
        argc > 1 ? bench::Corpus(argv[1])
                 : bench::Corpus({.occurrences = 12'000'000, .formes = 35'000, .cles = {{nomCle, 10'000}}});
    const auto &base = corpus.base;
    std::printf("base: %d items, %d occurrences, %d forms, loaded in %.2f s; resident %.1f MB\n", base->Nbitem(),
                base->Nbocc(), base->Nbform(), corpus.preparation.processeur, bench::MemoireMo("VmRSS"));
    pic = bench::MemoireMo("VmHWM");
    const std::int32_t cle = bench::TypeDeCle(*base, nomCle);
    if (cle < 0) {
        std::fprintf(stderr, "no key type \"%s\" in the base\n", nomCle.c_str());
        return 1;
    }

    std::unique_ptr<Partition> partition;
    Etape("Partition", 5, [&] {
        partition.reset();
        partition = std::make_unique<Partition>(base.get(), cle);
    });
    std::printf("  %d parts, %d zones; table of forms by parts: %lld non-zero cells of %lld, %.1f MB\n",
                partition->NbParties(), partition->NbZones(), static_cast<long long>(partition->Table().NbCellules()),
                static_cast<long long>(base->Nbform()) * partition->NbParties(),
                static_cast<double>(partition->Table().Octets()) / (1024.0 * 1024.0));

    long points = 0;
    Etape("Zipf curve, every part", 3, [&] { points = static_cast<long>(talmer::CourbeZipf(*partition).points.size()); });
    std::printf("  %ld points\n", points);

    std::unique_ptr<CalcSpecTot> calcul;
    Etape("CalcSpecTot, every part", 3, [&] {
        calcul.reset();
        calcul = talmer::CalculeSpecTot(*partition, false, nullptr);
    });
    if (!calcul) {
        std::fprintf(stderr, "nothing to compute: the partition has no part\n");
        return 1;
    }
    std::printf("  %d columns, %ld significant rows\n", calcul->NbPartiesCalculees(), bench::LignesSignificatives(*calcul));

    talmer::ModeleTFG modele(partition.get());
    Etape("table of forms by parts: its rows", 3, [&] {
        modele.FixeCalcul(calcul.get());
        modele.RemplitLignes();
    });
    const int colonne = calcul->NbPartiesCalculees() / 2;
    Etape("table: sort by frequency in one part", 3, [&] { modele.Trie(talmer::OrdreTFG::FrqDecroissante, colonne); });
    Etape("table: sort by coefficient in one part", 3, [&] { modele.Trie(talmer::OrdreTFG::CoefDecroissant, colonne); });

    Etape("correspondence analysis: coran.don", 1, [&] {
        const std::int32_t ni = talmer::FormesRetenues(*partition, 10);
        if (!talmer::EcritCoranDon("coran.don", *partition, "bench : cle", {ni, partition->NbParties(), 5}, 10, false))
            std::fprintf(stderr, "coran.don could not be written\n");
    });
    std::error_code ec;
    std::printf("  %.1f MB written\n", static_cast<double>(std::filesystem::file_size("coran.don", ec)) / (1024.0 * 1024.0));
    if (!corpus.dossier)
        std::filesystem::remove("coran.don", ec);

    std::printf("peak resident memory over the session: %.1f MB\n", pic);
    return 0;
}
