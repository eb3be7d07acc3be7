// Text to loaded base: the key check, the segmentation and the loading of a generated corpus
// text (bench/commun/corpus_genere.h: 8 million word occurrences, 30,000 forms, 10,000 parts of key
// "document", about 36 MB), or of a text given on the command line.
//
//   bench_chargement [occurrences] [parts]
//   bench_chargement -f texte [délims]   an existing text, segmented in a temporary folder
//
// Each step runs TOURS times (default 3) and shows its best wall-clock time and its best
// processor time of the whole process (the segmentation spreads the text over the machine's
// threads), so that a busy machine disturbs the figures less.
#include "bench/commun/corpus_genere.h"

#include "engine/charg1.h"
#include "engine/segmenteur.h"
#include "engine/verifcles.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

int main(int argc, char **argv)
{
    bench::Parametres p;
    p.occurrences = 8'000'000;
    p.formes = 30'000;
    p.cles = {{"document", 10'000}};
    std::string texte;
    std::string delimiteurs = ".";
    if (argc > 2 && std::strcmp(argv[1], "-f") == 0) {
        texte = std::filesystem::absolute(argv[2]).string();
        delimiteurs = argc > 3 ? argv[3] : DelimiteursDefaut;
    } else {
        p.occurrences = bench::Argument(argc, argv, 1, p.occurrences);
        p.cles = {{"document", static_cast<int>(bench::Argument(argc, argv, 2, 10'000))}};
    }
    const int tours = bench::Environnement("TOURS", 3);

    bench::DossierTemporaire dossier;
    if (texte.empty())
        bench::EcritTexte(p, "bench.txt");
    else
        std::filesystem::create_symlink(texte, "bench.txt");
    const double mo = static_cast<double>(std::filesystem::file_size("bench.txt")) / 1e6;

    bool ok = true;
    const bench::Temps verification = bench::MeilleurDe(tours, [&] { ok = ok && VerifCles("bench.txt") == 0; });
    if (!ok) {
        std::fprintf(stderr, "Probl\xE8me dans les clefs\n");
        return 1;
    }
    std::printf("VerifCles   %8.3f s  %7.1f MB/s  (processor time %.3f s)\n", verification.mur, mo / verification.mur,
                verification.processus);

    ParametresSegm params;
    params.delimiteurs = delimiteurs;
    params.maxArt = 5000000;
    ResultatSegm r = ResultatSegm::Reussie;
    const bench::Temps segmentation = bench::MeilleurDe(tours, [&] {
        const ResultatSegm e = SegmPrinc("bench.txt", params);
        if (e != ResultatSegm::Reussie)
            r = e;
    });
    if (r != ResultatSegm::Reussie) {
        std::fprintf(stderr, "%s\n", MessageSegmentation(r));
        return 1;
    }
    std::printf("SegmPrinc   %8.3f s  %7.1f MB/s  (%.1f MB; processor time %.3f s)\n", segmentation.mur,
                mo / segmentation.mur, mo, segmentation.processus);

    std::int32_t items = 0;
    const bench::Temps chargement = bench::MeilleurDe(tours, [&] {
        charg1 base;
        ok = ok && base.ChargeBase("bench.par") == ChargeReussie;
        items = base.Nbitem();
    });
    if (!ok)
        return 1;
    std::printf("ChargeBase  %8.3f s  (processor time %.3f s; %d items)\n", chargement.mur, chargement.processus, items);
    const double total = verification.mur + segmentation.mur + chargement.mur;
    std::printf("text to loaded base %8.3f s  %7.1f MB/s  (processor time %.3f s)\n", total, mo / total,
                verification.processus + segmentation.processus + chargement.processus);
    return 0;
}
