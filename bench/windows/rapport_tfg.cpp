// The report pages of the table of forms by parts on a corpus of thousands of parts: 27,000
// forms by 5,000 parts, with repeated segments. Writes the page and its XML fragment as
// "Rapport +" does, and gives the time, the peak resident memory while writing and the bytes
// written, with the estimate that decides whether the user is asked first.
//
//   build/bench/bench_rapport_tfg [occurrences] [segment rows]
//
// The forms' table is written whole (about 12 GB on disk for both files, removed afterwards);
// with the segments attached, the page of the first segments only (5,000 rows unless told), so
// that the disk holds it: the cost of a row does not depend on how many there are.

#include "bench/commun/corpus_genere.h"

#include "windows/specificites/pages_statpart.h"
#include "windows/specificites/tfg.h"

#include "engine/calcspectot.h"
#include "engine/charg1.h"
#include "engine/partition.h"
#include "engine/segrep.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <numeric>
#include <set>
#include <vector>

namespace {

double Mo(std::uintmax_t octets)
{
    return static_cast<double>(octets) / (1024.0 * 1024.0);
}

// Writes the pages of these rows and prints what it cost.
void Ecrit(const char *quoi, const Partition &partition, const std::vector<std::int32_t> &lignes,
           const CalcSpecTot *calcul)
{
    const talmer::DonneesTFG entete = talmer::EnteteTFG(partition, "bench : page", "windows-1252");
    const talmer::TailleTFG estimee = talmer::TailleEstimeeTFG(entete, static_cast<std::int64_t>(lignes.size()));
    const double avant = bench::MemoireMo("VmRSS");
    bench::RemetPicMemoire();
    QString erreur;
    const bench::Chronometre chrono;
    const bool ecrit = talmer::EcritPagesTFG("tfg.html", "tfg.xml", entete, partition, lignes, calcul, nullptr, &erreur);
    const bench::Temps t = chrono.Ecoule();
    const double pic = bench::MemoireMo("VmHWM");
    if (!ecrit) {
        std::fprintf(stderr, "%s: %s\n", quoi, erreur.toLocal8Bit().constData());
        return;
    }
    std::error_code ec;
    const std::uintmax_t html = std::filesystem::file_size("tfg.html", ec), xml = std::filesystem::file_size("tfg.xml", ec);
    std::printf("%s: %zu rows x %d parts\n", quoi, lignes.size(), partition.NbParties());
    std::printf("  written in %.1f s (processor %.1f s), peak resident +%.1f MB over %.1f MB\n", t.mur, t.processeur,
                pic - avant, avant);
    std::printf("  page %.0f MB (estimated %.0f MB, %s), fragment %.0f MB (estimated %.0f MB); %.1f MB/s\n", Mo(html),
                Mo(static_cast<std::uintmax_t>(estimee.html)),
                talmer::DemandeAvantEcriture(estimee) ? "the user is asked" : "not asked", Mo(xml),
                Mo(static_cast<std::uintmax_t>(estimee.xml)), Mo(html + xml) / t.mur);
    std::filesystem::remove("tfg.html", ec);
    std::filesystem::remove("tfg.xml", ec);
}

} // namespace

int main(int argc, char **argv)
{
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    // Every 10th part reprints one before it, as the manual pages copied ten times do: the
    // segments repeated there are what the page's segment rows are made of.
    const bench::Corpus corpus({.occurrences = bench::Argument(argc, argv, 1, 6'000'000),
                                .formes = 27'000,
                                .cles = {{"page", 5000}},
                                .copieToutesLes = 10});
    const auto &base = corpus.base;
    bench::LigneCorpus(*base, corpus.preparation.mur);
    Partition partition(base.get(), bench::TypeDeCle(*base, "page"));
    std::printf("partition: %d parts\n", partition.NbParties());

    // The rows of the table after a "Sp. Tot" run: every form in entity order.
    bench::Chronometre chrono;
    std::unique_ptr<CalcSpecTot> calcul = talmer::CalculeSpecTot(partition, false, nullptr);
    std::printf("Sp. Tot over the forms: %.1f s\n", chrono.Ecoule().processus);
    std::vector<std::int32_t> formes(static_cast<std::size_t>(base->Nbform()));
    std::iota(formes.begin(), formes.end(), 0);
    Ecrit("forms", partition, formes, calcul.get());

    // Repeated segments attached: their rows count their positions part by part. The segments'
    // coefficients are not computed (their lookups cost what the forms' do).
    SegRep segments(base.get(), {base->Nbform()});
    chrono = bench::Chronometre();
    segments.CalcSegRep(0, 5);
    base->AssigneSR(&segments);
    std::printf("repeated segments (fmin 5): %d in %.1f s\n", segments.NbSegments(), chrono.Ecoule().processeur);
    const std::int32_t nbLignes =
        std::min<std::int32_t>(segments.NbSegments(), static_cast<std::int32_t>(bench::Argument(argc, argv, 2, 5000)));
    std::vector<std::int32_t> lignes(static_cast<std::size_t>(nbLignes));
    std::iota(lignes.begin(), lignes.end(), base->Nbart() + 1);
    Ecrit("segments", partition, lignes, calcul.get());
    const talmer::TailleTFG toutes = talmer::TailleEstimeeTFG(
        talmer::EnteteTFG(partition, "bench : page", "windows-1252"), base->Nbform() + segments.NbSegments());
    std::printf("the whole table with its segments: %d rows, page estimated at %.0f MB, fragment at %.0f MB\n",
                base->Nbform() + segments.NbSegments(), Mo(static_cast<std::uintmax_t>(toutes.html)),
                Mo(static_cast<std::uintmax_t>(toutes.xml)));
    base->AssigneSR(nullptr);
    return 0;
}
