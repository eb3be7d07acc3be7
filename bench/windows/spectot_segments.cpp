// "Sp. Tot" with repeated segments attached on thousands of parts, and the sort of the table of
// forms by parts by one part's column: a generated corpus of 7 million word occurrences, 27,000
// forms, 5,230 parts (one per document, every third a word-for-word copy of the one before) and
// its repeated segments (minimum frequency 6: about 127,000), the partition's minimum frequency
// set to the segments' so that every segment is computed in every part (about 670 million
// coefficients).
//
// CalcSpecTot on one thread and on the machine's threads: wall-clock and processor time (every
// thread of the process), the progress steps, when the first came and the longest wait between
// two; the columns of both runs compared. Then the table's rows and its frequency sort on one
// part's column (the segments' frequencies read then), again (kept), and the coefficient sort:
// wall-clock time and the peak of resident memory above what was in use before.
//
//   build/bench/bench_spectot_segments [occurrences] [parts] [segment fmin] [threads]

#include "bench/commun/corpus_genere.h"
#include "bench/commun/specificites.h"

#include "windows/specificites/tfg.h"

#include "engine/calcspectot.h"
#include "engine/charg1.h"
#include "engine/fils.h"
#include "engine/partition.h"
#include "engine/segrep.h"

#include <algorithm>
#include <cstdio>
#include <memory>

namespace {

// The progress steps of the run measured: how many, when the first came, the longest wait.
int pas = 0;
bench::HorlogeMur::time_point debut, dernier;
double premier = 0, attente = 0;
void Pas(std::int32_t)
{
    const auto maintenant = bench::HorlogeMur::now();
    const double ecart = std::chrono::duration<double>(maintenant - dernier).count();
    if (pas++ == 0)
        premier = ecart;
    attente = std::max(attente, ecart);
    dernier = maintenant;
}

std::unique_ptr<CalcSpecTot> MesureSpecTot(Partition &partition, unsigned fils)
{
    pas = 0;
    premier = attente = 0;
    debut = dernier = bench::HorlogeMur::now();
    const bench::Chronometre chrono;
    auto calcul = std::make_unique<CalcSpecTot>(&partition, false, false, Pas, nullptr, fils);
    const bench::Temps t = chrono.Ecoule();
    attente = std::max(attente, std::chrono::duration<double>(bench::HorlogeMur::now() - dernier).count());
    std::printf("CalcSpecTot, %u thread(s): %.2f s wall, %.2f s processor; %ld significant rows; %d progress steps, "
                "the first after %.2f s, at most %.2f s between two\n",
                fils, t.mur, t.processus, bench::LignesSignificatives(*calcul), pas, premier, attente);
    return calcul;
}

bool MemesColonnes(const CalcSpecTot &a, const CalcSpecTot &b)
{
    if (a.NbPartiesCalculees() != b.NbPartiesCalculees())
        return false;
    for (std::int32_t k = 0; k < a.NbPartiesCalculees(); ++k)
        if (a.Colonne(k)->Liste() != b.Colonne(k)->Liste())
            return false;
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    const int parties = static_cast<int>(bench::Argument(argc, argv, 2, 5230));
    const auto fmin = static_cast<std::int32_t>(bench::Argument(argc, argv, 3, 6));
    const auto fils = static_cast<unsigned>(bench::Argument(argc, argv, 4, FilsMachine()));
    const bench::Corpus corpus({.occurrences = bench::Argument(argc, argv, 1, 7'000'000),
                                .formes = 27'000,
                                .cles = {{"page", parties}},
                                .copieToutesLes = 3});
    const auto &base = corpus.base;
    bench::LigneCorpus(*base, corpus.preparation.processeur);

    SegRep segments(base.get(), {base->Nbform()});
    bench::Chronometre chrono;
    segments.CalcSegRep(0, fmin);
    base->AssigneSR(&segments);
    std::printf("repeated segments: %d (fmin %d) in %.2f s\n", segments.NbSegments(), fmin, chrono.Ecoule().mur);

    Partition partition(base.get(), bench::TypeDeCle(*base, "page"));
    partition.FixeFreqMin(fmin);
    long long formes = 0;
    for (std::int32_t k = 0; k < partition.NbParties(); ++k)
        formes += partition.NbFormesPartie(k);
    std::printf("partition: %d parts; about %.0f million coefficients\n", partition.NbParties(),
                (static_cast<double>(partition.NbParties()) * segments.NbSegments() + static_cast<double>(formes)) / 1e6);

    std::unique_ptr<CalcSpecTot> calcul = MesureSpecTot(partition, fils);
    if (fils != 1) {
        const std::unique_ptr<CalcSpecTot> seul = MesureSpecTot(partition, 1);
        std::printf("columns on %u threads and on one: %s\n", fils, MemesColonnes(*calcul, *seul) ? "equal" : "DIFFERENT");
    }

    talmer::ModeleTFG modele(&partition);
    modele.FixeCalcul(calcul.get());
    modele.RemplitLignes();
    std::printf("table: %d rows x %d parts; resident %.1f MB\n", modele.rowCount(), modele.columnCount(),
                bench::MemoireMo("VmRSS"));
    const int colonne = calcul->NbPartiesCalculees() / 2;
    struct Tri {
        const char *quoi;
        talmer::OrdreTFG ordre;
    };
    const Tri tris[] = {
        {"frequency descending, segments read", talmer::OrdreTFG::FrqDecroissante},
        {"frequency ascending, kept", talmer::OrdreTFG::FrqCroissante},
        {"coefficient descending", talmer::OrdreTFG::CoefDecroissant},
    };
    for (const Tri &t : tris) {
        const double avant = bench::MemoireMo("VmRSS");
        bench::RemetPicMemoire();
        chrono = bench::Chronometre();
        modele.Trie(t.ordre, colonne);
        const double secondes = chrono.Ecoule().mur;
        std::printf("sort by part %d, %s: %.3f s, peak +%.1f MB (resident %.1f MB after)\n", colonne, t.quoi, secondes,
                    bench::MemoireMo("VmHWM") - avant, bench::MemoireMo("VmRSS"));
    }
    modele.FixeCalcul(nullptr);
    base->AssigneSR(nullptr);
    return 0;
}
