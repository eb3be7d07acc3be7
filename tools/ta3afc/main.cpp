// ta3afc: the correspondence analysis of the table of forms by parts. Started by the workbench in
// the folder of the open base, it reads "coran.don" there and leaves "vp.txt" then "facteurs.txt"
// beside it. When the table cannot be analysed it writes neither, says why on standard error and
// ends with status 1.
#include "tools/ta3afc/afc.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include <fcntl.h>
#include <unistd.h>

namespace {

int Echec(const std::string &raison)
{
    std::fprintf(stderr, "ta3afc : %s\n", raison.c_str());
    return 1;
}

// Written under a fresh name in the same folder, then renamed: the workbench never reads half a
// file.
bool EcritFichier(const char *nom, const std::string &octets)
{
    std::string modele = std::string(".") + nom + ".XXXXXX";
    const int fd = mkstemp(modele.data());
    if (fd < 0)
        return false;
    std::size_t ecrits = 0;
    while (ecrits < octets.size()) {
        const ssize_t n = write(fd, octets.data() + ecrits, octets.size() - ecrits);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        ecrits += static_cast<std::size_t>(n);
    }
    const bool complet = ecrits == octets.size() && fsync(fd) == 0;
    if (close(fd) != 0 || !complet || std::rename(modele.c_str(), nom) != 0) {
        std::remove(modele.c_str());
        return false;
    }
    return true;
}

} // namespace

int main()
{
    std::ifstream entree("coran.don", std::ios::binary);
    if (!entree)
        return Echec("impossible de lire coran.don");
    const std::string texte((std::istreambuf_iterator<char>(entree)), std::istreambuf_iterator<char>());
    if (entree.bad())
        return Echec("impossible de lire coran.don");

    talmer::afc::TableAfc table;
    std::string raison = talmer::afc::LitCoranDon(texte, table);
    if (!raison.empty())
        return Echec(raison);
    talmer::afc::ResultatAfc resultat;
    raison = talmer::afc::Analyse(table, resultat);
    if (!raison.empty())
        return Echec(raison);

    if (!EcritFichier("vp.txt", talmer::afc::TexteValeursPropres(resultat)))
        return Echec(std::string("impossible d'écrire vp.txt : ") + std::strerror(errno));
    if (!EcritFichier("facteurs.txt", talmer::afc::TexteFacteurs(resultat)))
        return Echec(std::string("impossible d'écrire facteurs.txt : ") + std::strerror(errno));
    return 0;
}
