// Text to loaded base: segmentation throughput and loading time on the generated corpus of
// bench_base (about 10 million items: a Zipf-like vocabulary of 5000 forms, a full stop every 20
// words or so, a line break every 15, 50 values of one key), or on a text given on the command line.
//
//   bench_chargement [items]            generated text of that many items (default 10000000)
//   bench_chargement -f texte [délims]  an existing text, segmented in a temporary folder
//
// Each step runs several times and the best time is shown, so that a busy machine disturbs the
// figures less.
#include "engine/charg1.h"
#include "engine/segmenteur.h"
#include "engine/verifcles.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

double secondes(std::chrono::steady_clock::time_point t0)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

void genere(const char *nom, std::int64_t cible)
{
    const int nbFormes = 5000;
    std::vector<double> cumul(nbFormes);
    double s = 0;
    for (int i = 0; i < nbFormes; ++i)
        cumul[static_cast<std::size_t>(i)] = (s += 1.0 / (i + 1));
    std::mt19937_64 rng(12345);
    std::uniform_real_distribution<double> u(0, s);
    std::FILE *f = std::fopen(nom, "wb");
    std::int64_t items = 0;
    int part = 0;
    std::string ligne;
    while (items < cible) {
        if (items % (cible / 50 + 1) < 3 && part < 50) {
            ligne += "<partie=p" + std::to_string(part++) + "> ";
            items += 2;
        }
        const auto it = std::lower_bound(cumul.begin(), cumul.end(), u(rng));
        ligne += "f" + std::to_string(it - cumul.begin()) + " ";
        ++items;
        if (rng() % 20 == 0) {
            ligne += ". ";
            ++items;
        }
        if (rng() % 15 == 0) {
            ligne += "\r\n";
            ++items;
            std::fwrite(ligne.data(), 1, ligne.size(), f);
            ligne.clear();
        }
    }
    std::fwrite(ligne.data(), 1, ligne.size(), f);
    std::fclose(f);
}

} // namespace

int main(int argc, char **argv)
{
    std::int64_t cible = 10000000;
    std::string texte;
    std::string delimiteurs = ".";
    if (argc > 2 && std::strcmp(argv[1], "-f") == 0) {
        texte = std::filesystem::absolute(argv[2]).string();
        delimiteurs = argc > 3 ? argv[3] : DelimiteursDefaut;
    } else if (argc > 1) {
        cible = std::atoll(argv[1]);
    }

    std::string modele = (std::filesystem::temp_directory_path() / "t3bench-XXXXXX").string();
    if (!mkdtemp(modele.data()))
        return 1;
    std::filesystem::current_path(modele);
    if (texte.empty()) {
        genere("bench.txt", cible);
        texte = "bench.txt";
    } else {
        std::filesystem::create_symlink(texte, "bench.txt");
    }
    const double mo = static_cast<double>(std::filesystem::file_size(texte)) / 1e6;

    double meilleur = 1e30;
    for (int i = 0; i < 3; ++i) {
        const auto t0 = std::chrono::steady_clock::now();
        if (VerifCles("bench.txt") != 0) {
            std::fprintf(stderr, "Probl\xE8me dans les clefs\n");
            return 1;
        }
        meilleur = std::min(meilleur, secondes(t0));
    }
    std::printf("VerifCles   %8.3f s  %7.1f MB/s\n", meilleur, mo / meilleur);
    const double verification = meilleur;

    ParametresSegm p;
    p.delimiteurs = delimiteurs;
    p.maxArt = 5000000;
    meilleur = 1e30;
    double cpuSegm = 1e30;
    for (int i = 0; i < 3; ++i) {
        const auto t0 = std::chrono::steady_clock::now();
        const std::clock_t c0 = std::clock();
        const ResultatSegm r = SegmPrinc("bench.txt", p);
        if (r != ResultatSegm::Reussie) {
            std::fprintf(stderr, "%s\n", MessageSegmentation(r));
            return 1;
        }
        meilleur = std::min(meilleur, secondes(t0));
        cpuSegm = std::min(cpuSegm, static_cast<double>(std::clock() - c0) / CLOCKS_PER_SEC);
    }
    std::printf("SegmPrinc   %8.3f s  %7.1f MB/s  (%.1f MB; best processor time %.3f s)\n", meilleur, mo / meilleur, mo,
                cpuSegm);
    const double segmentation = meilleur;

    meilleur = 1e30;
    double somme = 0, processeur = 1e30;
    std::int32_t items = 0;
    const int tours = std::getenv("TOURS") ? std::atoi(std::getenv("TOURS")) : 3;
    for (int i = 0; i < tours; ++i) {
        const auto t0 = std::chrono::steady_clock::now();
        const std::clock_t c0 = std::clock();
        charg1 base;
        if (base.ChargeBase("bench.par") != ChargeReussie)
            return 1;
        const double t = secondes(t0);
        processeur = std::min(processeur, static_cast<double>(std::clock() - c0) / CLOCKS_PER_SEC);
        items = base.Nbitem();
        meilleur = std::min(meilleur, t);
        somme += t;
    }
    std::printf("ChargeBase  %8.3f s  (best of %d, mean %.3f s, best processor time %.3f s; %d items)\n", meilleur, tours,
                somme / tours, processeur, items);
    const double total = verification + segmentation + meilleur;
    std::printf("text to loaded base %8.3f s  %7.1f MB/s\n", total, mo / total);

    std::filesystem::current_path("/");
    std::filesystem::remove_all(modele);
    return 0;
}
