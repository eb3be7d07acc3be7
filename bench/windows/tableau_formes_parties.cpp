// The table of forms by parts on a generated corpus of 10 million word occurrences, 50,000
// distinct forms and 50 parts: the "Sp. Tot" run (specificities per part, then the rows of the
// table) against CalcSpecTot alone, and the header sorts of the table.
//
//   build/bench/bench_tableau_formes_parties [occurrences]

#include "bench/commun/corpus_genere.h"

#include "windows/specificites/tfg.h"

#include "engine/calcspectot.h"
#include "engine/charg1.h"
#include "engine/partition.h"
#include "engine/segrep.h"

#include <cstdio>
#include <memory>

int main(int argc, char **argv)
{
    using bench::Secondes;
    using Horloge = bench::HorlogeMur;
    using talmer::OrdreTFG;

    const bench::Corpus corpus(
        {.occurrences = bench::Argument(argc, argv, 1, 10'000'000), .formes = 50'000, .cles = {{"partie", 50}}});
    const auto &base = corpus.base;
    std::printf("corpus: %d occurrences, %d forms, generated and loaded in %.2f s\n", base->Nbocc(), base->Nbform(),
                corpus.preparation.mur);
    Partition partition(base.get(), base->LocFormDic("partie", false));
    std::printf("partition: %d parts\n", partition.NbParties());

    // CalcSpecTot alone, best of three.
    double seul = bench::MeilleurDe(3, [&] {
                      return std::make_unique<CalcSpecTot>(&partition, false, false, nullptr, nullptr);
                  }).mur;
    std::printf("CalcSpecTot alone: %.3f s\n", seul);

    // The whole run of the table, best of three: flags kept and put back, the computation, the
    // model taking it and its rows.
    std::unique_ptr<CalcSpecTot> calcul;
    talmer::ModeleTFG modele(&partition);
    double table = bench::MeilleurDe(3, [&] {
                       std::unique_ptr<CalcSpecTot> nouveau = talmer::CalculeSpecTot(partition, false, nullptr);
                       modele.FixeCalcul(nouveau.get());
                       calcul = std::move(nouveau);
                       modele.RemplitLignes();
                   }).mur;
    std::printf("table of forms by parts: %.3f s (%.2fx CalcSpecTot alone), %d rows x %d parts\n", table,
                table / seul, modele.rowCount(), calcul->NbPartiesCalculees());

    struct Tri {
        const char *quoi;
        OrdreTFG ordre;
        int colonne;
    };
    const Tri tris[] = {
        {"coefficient descending, part 25", OrdreTFG::CoefDecroissant, 25},
        {"coefficient ascending, part 25", OrdreTFG::CoefCroissant, 25},
        {"frequency descending, part 7", OrdreTFG::FrqDecroissante, 7},
        {"alphabetical ascending", OrdreTFG::AlphaCroissant, -1},
        {"alphabetical descending", OrdreTFG::AlphaDecroissant, -1},
    };
    for (const Tri &t : tris) {
        const auto t0 = Horloge::now();
        modele.Trie(t.ordre, t.colonne);
        std::printf("sort %s: %.3f s\n", t.quoi, Secondes(t0));
    }
    modele.FixeCalcul(nullptr);
    calcul.reset();

    // With repeated segments attached (minimum frequency 200): their per-part frequencies are
    // read from the positions file once per column by the computation, and once in all by the
    // table, which keeps them for drawing and sorting.
    SegRep segments(base.get(), {base->Nbform()});
    auto t0 = Horloge::now();
    segments.CalcSegRep(0, 200);
    base->AssigneSR(&segments);
    std::printf("segments: %d (fmin 200) in %.2f s\n", segments.NbSegments(), Secondes(t0));
    t0 = Horloge::now();
    {
        CalcSpecTot c(&partition, false, false, nullptr, nullptr);
        seul = Secondes(t0);
    }
    std::printf("CalcSpecTot alone with segments: %.3f s\n", seul);
    t0 = Horloge::now();
    calcul = talmer::CalculeSpecTot(partition, false, nullptr);
    modele.FixeCalcul(calcul.get());
    modele.RemplitLignes();
    table = Secondes(t0);
    std::printf("table with segments: %.3f s (%.2fx), %d rows\n", table, table / seul, modele.rowCount());
    for (int i = 0; i < 2; ++i) {
        t0 = Horloge::now();
        modele.Trie(OrdreTFG::FrqDecroissante, 25);
        std::printf("sort frequency descending, part 25 (%s): %.3f s\n", i == 0 ? "segment frequencies read" : "kept",
                    Secondes(t0));
    }
    t0 = Horloge::now();
    modele.Trie(OrdreTFG::CoefDecroissant, 25);
    std::printf("sort coefficient descending, part 25: %.3f s\n", Secondes(t0));
    modele.FixeCalcul(nullptr);
    base->AssigneSR(nullptr);
    return 0;
}
