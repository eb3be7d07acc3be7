// How soon and how often the long computations step the progress bar and look for a stop: for the
// load, the segmentation, the repeated segments, "Sp. Tot" without and with the segments and the
// chronological specificities of a generated corpus (10 million occurrences, 50,000 forms, 5,230
// parts) or of an existing base, the wall-clock time to the first progress step, the longest
// wait between two steps, and the longest wait between two looks for a stop (a step or the
// watch, on the calling thread). The workbench repaints and takes a stop at each look, so the
// last figure bounds how long a request waits.
//
//   build/bench/bench_etapes [occurrences] [parts]
//   build/bench/bench_etapes -f base.par key

#include "bench/commun/corpus_genere.h"

#include "engine/calcspectot.h"
#include "engine/charg1.h"
#include "engine/partition.h"
#include "engine/primspecchr.h"
#include "engine/progression.h"
#include "engine/segmenteur.h"
#include "engine/segrep.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <set>
#include <string>

namespace {

using Horloge = bench::HorlogeMur;

// What one run's steps and looks were.
struct Releve {
    Horloge::time_point debut;
    Horloge::time_point dernierPas;
    Horloge::time_point dernierRegard;
    double premierPas = -1;
    double ecartPas = 0;
    double ecartRegard = 0;
    long pas = 0;

    void Regarde()
    {
        const auto t = Horloge::now();
        ecartRegard = std::max(ecartRegard, std::chrono::duration<double>(t - dernierRegard).count());
        dernierRegard = t;
    }
    void Pas()
    {
        const auto t = Horloge::now();
        if (premierPas < 0)
            premierPas = std::chrono::duration<double>(t - debut).count();
        ecartPas = std::max(ecartPas, std::chrono::duration<double>(t - dernierPas).count());
        dernierPas = t;
        ++pas;
        Regarde();
    }
};

Releve releve;

void PasReleve(std::int32_t) { releve.Pas(); }
void VeilleReleve(bool) { releve.Regarde(); }

void Mesure(const char *quoi, const std::function<void()> &travail)
{
    releve = Releve{};
    releve.debut = releve.dernierPas = releve.dernierRegard = Horloge::now();
    travail();
    const auto fin = Horloge::now();
    const double total = std::chrono::duration<double>(fin - releve.debut).count();
    // The wait after the last step or look counts too.
    releve.ecartPas = std::max(releve.ecartPas, std::chrono::duration<double>(fin - releve.dernierPas).count());
    releve.ecartRegard = std::max(releve.ecartRegard, std::chrono::duration<double>(fin - releve.dernierRegard).count());
    std::printf("%-34s %7.3f s, %5ld steps, first step after %6.3f s, longest wait between steps %6.3f s, "
                "between looks for a stop %6.3f s\n",
                quoi, total, releve.pas, releve.premierPas, releve.ecartPas, releve.ecartRegard);
}

} // namespace

int main(int argc, char **argv)
{
    const bool existante = argc > 3 && std::strcmp(argv[1], "-f") == 0;
    const std::string cle = existante ? argv[3] : "partie";
    bench::Parametres parametres{.occurrences = bench::Argument(argc, argv, 1, 10'000'000),
                                 .formes = 50'000,
                                 .cles = {{cle, static_cast<int>(bench::Argument(argc, argv, 2, 5230))}}};
    const bench::Corpus corpus = existante ? bench::Corpus(argv[2]) : bench::Corpus(parametres);
    charg1 &base = *corpus.base;
    std::printf("corpus: %d items, %d occurrences, %d forms\n", base.Nbitem(), base.Nbocc(), base.Nbform());
    FixeVeille(VeilleReleve);

    Mesure("load", [&] {
        charg1 autre;
        autre.AttribGauge(PasReleve);
        autre.ChargeBase((base.NomBase() + std::string(".par")).c_str());
    });
    if (!existante) {
        bench::EcritTexte(parametres, "texte.txt");
        Mesure("segmentation", [&] {
            ParametresSegm p;
            p.delimiteurs = ".";
            p.progression = PasReleve;
            SegmPrinc("texte.txt", p);
        });
    }
    Partition partition(&base, bench::TypeDeCle(base, cle));
    Mesure("Sp. Tot", [&] { CalcSpecTot(&partition, false, false, PasReleve, nullptr); });
    // The full stop and the line break end the segments, as the set-up dialog offers by default.
    const std::set<std::int32_t> delimiteurs = {base.LocFormDic(".", true)};
    SegRep segments(&base, delimiteurs);
    segments.AttribGauge(PasReleve);
    Mesure("repeated segments (fmin 10)", [&] { segments.CalcSegRep(0, 10); });
    base.AssigneSR(&segments);
    Partition avecSegments(&base, bench::TypeDeCle(base, cle));
    Mesure("Sp. Tot with the segments", [&] { CalcSpecTot(&avecSegments, false, false, PasReleve, nullptr); });
    base.AssigneSR(nullptr);
    Mesure("chronological specificities", [&] {
        PrimSpecChr chr(&partition, 5, 10);
        chr.Calcule(PasReleve);
    });
    FixeVeille(nullptr);
    return 0;
}
