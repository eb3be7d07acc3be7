// Correspondence analysis of a table of 20,000 forms by 50 parts (Zipf-like counts): reading the
// exchange text, the analysis, and the two result texts.
#include "tools/ta3afc/afc.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <random>
#include <string>

int main()
{
    constexpr int formes = 20000, parties = 50;
    std::mt19937 alea(7);
    std::string texte = "Bench : p\r\n";
    char ligne[64];
    std::snprintf(ligne, sizeof ligne, "%4d%4d%4d%4d%4d\r\n", formes, parties, 5, 1, 0);
    texte += ligne;
    for (int j = 0; j < parties; ++j) {
        std::snprintf(ligne, sizeof ligne, "%4d", j);
        texte += ligne;
    }
    texte += "\r\n" + std::string(parties, '1') + "\r\n(6x,5A4," + std::to_string(parties) + "F5.0)\r\n";
    for (int i = 0; i < formes; ++i) {
        std::snprintf(ligne, sizeof ligne, "%5d %-20s", i, ("forme" + std::to_string(i)).c_str());
        texte += ligne;
        const double moyenne = 2000.0 / (i + 10);
        std::poisson_distribution<int> loi(moyenne);
        for (int j = 0; j < parties; ++j) {
            std::snprintf(ligne, sizeof ligne, "%5d", loi(alea) + (j == i % parties ? 1 : 0));
            texte += ligne;
        }
        texte += "\r\n";
    }
    texte += "  10   0   0   4 150   0   0\r\n";

    const auto debut = std::chrono::steady_clock::now();
    talmer::afc::TableAfc table;
    std::string raison = talmer::afc::LitCoranDon(texte, table);
    const auto lu = std::chrono::steady_clock::now();
    talmer::afc::ResultatAfc resultat;
    if (raison.empty())
        raison = talmer::afc::Analyse(table, resultat);
    const auto analyse = std::chrono::steady_clock::now();
    const std::size_t octets = talmer::afc::TexteFacteurs(resultat).size() + talmer::afc::TexteValeursPropres(resultat).size();
    const auto fin = std::chrono::steady_clock::now();
    if (!raison.empty()) {
        std::fprintf(stderr, "%s\n", raison.c_str());
        return 1;
    }
    auto s = [](auto a, auto b) { return std::chrono::duration<double>(b - a).count(); };
    std::printf("ta3afc %d x %d: read %.3f s, analysis %.3f s, results %.3f s (%zu bytes), total %.3f s\n",
                formes, parties, s(debut, lu), s(lu, analyse), s(analyse, fin), octets, s(debut, fin));
    return 0;
}
