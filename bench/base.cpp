// Segmentation, loading and the main queries on a generated corpus of about 10 million items:
// a Zipf-like vocabulary of 5000 forms, a full stop every 20 words or so, a line break every 15,
// 50 values of one key.
#include "bench/commun/corpus_genere.h"

#include "engine/charg1.h"
#include "engine/segmenteur.h"
#include "engine/trishell.h"

#include <algorithm>
#include <cstdio>
#include <random>
#include <set>
#include <string>
#include <vector>

int main(int argc, char **argv)
{
    using bench::Secondes;
    using Horloge = bench::HorlogeMur;

    const std::int64_t cible = bench::Argument(argc, argv, 1, 10'000'000);
    bench::DossierTemporaire dossier;

    // Zipf weights over 5000 forms.
    const int nbFormes = 5000;
    std::vector<double> cumul(nbFormes);
    double s = 0;
    for (int i = 0; i < nbFormes; ++i)
        cumul[static_cast<std::size_t>(i)] = (s += 1.0 / (i + 1));
    std::mt19937_64 rng(12345);
    std::uniform_real_distribution<double> u(0, s);
    {
        std::FILE *f = std::fopen("bench.txt", "wb");
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

    auto t0 = Horloge::now();
    ParametresSegm p;
    p.delimiteurs = ".";
    if (SegmPrinc("bench.txt", p) != ResultatSegm::Reussie)
        return 1;
    std::printf("SegmPrinc                    %8.3f s\n", Secondes(t0));

    t0 = Horloge::now();
    charg1 base;
    if (base.ChargeBase("bench.par") != ChargeReussie)
        return 1;
    std::printf("ChargeBase                   %8.3f s  (%d items, %d forms)\n", Secondes(t0), base.Nbitem(), base.Nbform());

    t0 = Horloge::now();
    std::vector<std::int32_t> pos = base.LocOccFor(0);
    std::printf("LocOccFor(form 0)            %8.3f s  (%zu positions)\n", Secondes(t0), pos.size());

    std::vector<std::int32_t> groupe;
    for (std::int32_t e = 0; e < 200; ++e)
        groupe.push_back(e);
    t0 = Horloge::now();
    const std::vector<std::int32_t> plusieurs = base.LocOccFor(groupe.data(), static_cast<std::int32_t>(groupe.size()));
    std::printf("LocOccFor(200 forms)         %8.3f s  (%zu positions)\n", Secondes(t0), plusieurs.size());

    const std::set<std::int32_t> kept = {base.LocFormDic(".", true)};
    std::vector<std::int32_t> rapide = pos;
    t0 = Horloge::now();
    base.TriCont(rapide.data(), static_cast<std::int32_t>(rapide.size()), 1, base.Nbform() - 1, kept);
    std::printf("TriCont(form 0, +1)          %8.3f s\n", Secondes(t0));

    std::vector<std::int32_t> shell = pos;
    t0 = Horloge::now();
    talmer::TriShell(shell.data(), static_cast<std::int64_t>(shell.size()), [&](std::int32_t a, std::int32_t b) {
        return base.Compar(a, b, 1, base.Nbform() - 1, kept);
    });
    std::printf("plain Shell sort with Compar %8.3f s  (%s order)\n", Secondes(t0), shell == rapide ? "same" : "DIFFERENT");

    return shell == rapide ? 0 : 1;
}
