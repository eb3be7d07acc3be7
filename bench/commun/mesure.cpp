#include "bench/commun/mesure.h"

#include <charconv>
#include <cstdlib>
#include <fstream>
#include <string>

namespace bench {

double MemoireMo(const char *champ)
{
    std::ifstream f("/proc/self/status");
    std::string ligne;
    const std::string cle = std::string(champ) + ":";
    while (std::getline(f, ligne)) {
        if (ligne.compare(0, cle.size(), cle) != 0)
            continue;
        std::size_t i = cle.size();
        while (i < ligne.size() && (ligne[i] == ' ' || ligne[i] == '\t'))
            ++i;
        long long ko = 0;
        if (std::from_chars(ligne.data() + i, ligne.data() + ligne.size(), ko).ec != std::errc())
            return -1;
        return static_cast<double>(ko) / 1024.0;
    }
    return -1;
}

bool RemetPicMemoire()
{
    std::ofstream f("/proc/self/clear_refs");
    f << "5";
    f.flush();
    return static_cast<bool>(f);
}

std::int64_t Argument(int argc, char **argv, int i, std::int64_t defaut)
{
    return i < argc ? std::atoll(argv[i]) : defaut;
}

int Environnement(const char *nom, int defaut)
{
    const char *valeur = std::getenv(nom);
    return valeur ? std::atoi(valeur) : defaut;
}

} // namespace bench
