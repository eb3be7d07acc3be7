// coran.don as the analysis dialog lays it out, and ta3afc run in the current directory: what
// the tests of the analysis program share.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <sys/wait.h>

namespace talmer::test::afc {

inline std::string Rangee(int numero, const std::string &libelle, const std::vector<int> &effectifs)
{
    char tete[64];
    std::snprintf(tete, sizeof tete, "%5d %-20s", numero, libelle.c_str());
    std::string ligne = tete;
    for (int n : effectifs) {
        std::snprintf(tete, sizeof tete, "%5d", n);
        ligne += tete;
    }
    return ligne + "\r\n";
}

// The dialog's layout for a table of forms by parts, every part active unless flagged '2'.
inline std::string CoranDon(const std::vector<std::vector<int>> &table, const std::string &drapeaux, int nf)
{
    const int p = static_cast<int>(drapeaux.size());
    char ligne[128];
    std::string texte = "Essai : p\r\n";
    std::snprintf(ligne, sizeof ligne, "%4d%4d%4d%4d%4d\r\n", static_cast<int>(table.size()), p, 5, 1, 0);
    texte += ligne;
    for (int j = 0; j < p; ++j) {
        std::snprintf(ligne, sizeof ligne, "%4d", j);
        texte += ligne;
    }
    texte += "\r\n" + drapeaux + "\r\n(6x,5A4," + std::to_string(p) + "F5.0)\r\n";
    for (std::size_t i = 0; i < table.size(); ++i)
        texte += Rangee(static_cast<int>(i), "f" + std::to_string(i), table[i]);
    std::snprintf(ligne, sizeof ligne, "%4d%4d%4d%4d%4d%4d%4d\r\n", nf, 0, 0, 4, 150, 0, 0);
    return texte + ligne;
}

inline std::string Lit(const std::filesystem::path &chemin)
{
    std::ifstream f(chemin, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
}

inline void Ecrit(const std::filesystem::path &chemin, const std::string &octets)
{
    std::ofstream(chemin, std::ios::binary) << octets;
}

// The exit status of ta3afc run here, its standard error in "ta3afc.err"; 124 when it has not
// ended within 60 seconds.
inline int LanceTa3afc()
{
    const std::string commande = "timeout 60 " + std::string(TALMER_BIN_DIR) + "/ta3afc 2>ta3afc.err";
    return WEXITSTATUS(std::system(commande.c_str()));
}

} // namespace talmer::test::afc
