#include "engine/trace.h"

#include "engine/fichiers.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include <unistd.h>

namespace talmer::trace {

namespace {

std::string &repli()
{
    static std::string dossier;
    return dossier;
}

std::string &dernierChemin()
{
    static std::string chemin = NomFichier;
    return chemin;
}

bool ecritDans(const std::string &chemin, bool tronque, const std::string &texte)
{
    const int fd = talmer::fichiers::OuvreEcritureSansLien(chemin.c_str(), tronque);
    if (fd < 0)
        return false;
    std::size_t fait = 0;
    while (fait < texte.size()) {
        const ssize_t n = write(fd, texte.data() + fait, texte.size() - fait);
        if (n <= 0)
            break;
        fait += static_cast<std::size_t>(n);
    }
    close(fd);
    return fait == texte.size();
}

void ecrit(bool tronque, std::string_view message)
{
    std::string texte;
    texte.reserve(message.size() + 16);
    for (char c : message) {
        if (c == '\n')
            texte.push_back('\r');
        texte.push_back(c);
    }
    if (ecritDans(NomFichier, tronque, texte)) {
        dernierChemin() = NomFichier;
        return;
    }
    // The trace is a courtesy: a folder that refuses it must not stop the work, but the user must
    // still find it somewhere.
    const std::string ailleurs = (std::filesystem::path(DossierRepli()) / NomFichier).string();
    if (ecritDans(ailleurs, tronque, texte))
        dernierChemin() = ailleurs;
}

} // namespace

void Demarre(std::string_view message) { ecrit(true, message); }

void Ajoute(std::string_view message) { ecrit(false, message); }

void Ajoutef(const char *format, ...)
{
    va_list args;
    va_start(args, format);
    va_list copie;
    va_copy(copie, args);
    const int n = std::vsnprintf(nullptr, 0, format, copie);
    va_end(copie);
    if (n > 0) {
        std::string texte(static_cast<std::size_t>(n) + 1, '\0');
        std::vsnprintf(texte.data(), texte.size(), format, args);
        texte.resize(static_cast<std::size_t>(n));
        Ajoute(texte);
    }
    va_end(args);
}

std::string Chemin() { return dernierChemin(); }

bool DansDossierCourant() { return dernierChemin() == NomFichier; }

void DefinitDossierRepli(const std::string &dossier) { repli() = dossier; }

std::string DossierRepli()
{
    if (!repli().empty())
        return repli();
    const char *maison = std::getenv("HOME");
    std::error_code ec;
    if (maison && *maison && std::filesystem::is_directory(maison, ec))
        return maison;
    return std::filesystem::temp_directory_path(ec).string();
}

} // namespace talmer::trace
