#include "tools/ta3afc/resultats.h"

#include "engine/fichiers.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string_view>
#include <vector>

#include <dirent.h>

#include <sys/stat.h>
#include <unistd.h>

namespace talmer::afc {

namespace {

namespace fichiers = talmer::fichiers;

// The two results in the order of their renames: "vp.txt" first, "facteurs.txt" (the file the
// workbench looks for) last.
constexpr std::size_t NbResultats = 2;
const char *const Finals[NbResultats] = {NomValeursPropres, NomFacteurs};
// The new files of a run, the earlier ones kept aside, and the journal: hidden, and known to the
// next run, which removes them once it has settled what they say.
const char *const Nouveaux[NbResultats] = {".ta3afc.vp.txt", ".ta3afc.facteurs.txt"};
const char *const Anciens[NbResultats] = {".ta3afc.anc.vp.txt", ".ta3afc.anc.facteurs.txt"};
const char *const Journal = ".ta3afc.pub";

struct Identite {
    std::uint64_t inode = 0;
    std::int64_t taille = 0;
};

bool Existe(const char *nom)
{
    struct stat st {};
    return lstat(nom, &st) == 0;
}

std::optional<Identite> IdentiteDe(const char *nom)
{
    struct stat st {};
    if (lstat(nom, &st) != 0 || !S_ISREG(st.st_mode))
        return std::nullopt;
    return Identite{static_cast<std::uint64_t>(st.st_ino), static_cast<std::int64_t>(st.st_size)};
}

// The journal: "ta3afc", then one line "inode size" per new file, then "fin". One cut short (the
// run was killed while writing it, before any final name changed) names nothing.
std::string TexteJournal(const Identite (&nouveaux)[NbResultats])
{
    std::string texte = "ta3afc\n";
    for (const Identite &id : nouveaux)
        texte += std::to_string(id.inode) + " " + std::to_string(id.taille) + "\n";
    return texte + "fin\n";
}

bool LitJournal(Identite (&nouveaux)[NbResultats])
{
    std::string texte;
    if (!fichiers::LitTout(Journal, texte) || texte.size() > 4096)
        return false;
    const char *p = texte.data();
    const char *const fin = p + texte.size();
    auto mot = [&](std::string_view attendu) {
        if (static_cast<std::size_t>(fin - p) < attendu.size() || std::string_view(p, attendu.size()) != attendu)
            return false;
        p += attendu.size();
        return true;
    };
    if (!mot("ta3afc\n"))
        return false;
    for (Identite &id : nouveaux) {
        auto r = std::from_chars(p, fin, id.inode);
        if (r.ec != std::errc() || !(p = r.ptr, mot(" ")))
            return false;
        r = std::from_chars(p, fin, id.taille);
        if (r.ec != std::errc() || !(p = r.ptr, mot("\n")))
            return false;
    }
    return mot("fin\n") && p == fin;
}

bool EstNouveau(const char *nom, const std::optional<Identite> &attendu)
{
    const std::optional<Identite> id = IdentiteDe(nom);
    return attendu && id && id->inode == attendu->inode && id->taille == attendu->taille;
}

// Earlier versions wrote each result under "." + its name + "." + six letters or digits.
void RetireAnciensTemporaires()
{
    DIR *d = opendir(".");
    if (!d)
        return;
    std::vector<std::string> restes;
    while (const dirent *e = readdir(d)) {
        const std::string_view nom = e->d_name;
        for (const char *final : Finals) {
            const std::string prefixe = std::string(".") + final + ".";
            if (nom.size() != prefixe.size() + 6 || nom.substr(0, prefixe.size()) != prefixe)
                continue;
            const std::string_view suffixe = nom.substr(prefixe.size());
            if (std::all_of(suffixe.begin(), suffixe.end(), [](char c) {
                    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
                }))
                restes.emplace_back(nom);
        }
    }
    closedir(d);
    for (const std::string &nom : restes)
        unlink(nom.c_str());
}

// What a run killed (or failed) after its journal leaves: when the new "facteurs.txt" is in place
// the pair was whole and stays; otherwise the earlier files take their names back, "vp.txt"
// first, and a new file with no earlier one leaves. Then every hidden file goes, the journal last.
void Regle()
{
    Identite ids[NbResultats];
    const bool journal = LitJournal(ids);
    std::optional<Identite> nouveaux[NbResultats];
    if (journal)
        for (std::size_t i = 0; i < NbResultats; ++i)
            nouveaux[i] = ids[i];
    const bool publie = EstNouveau(Finals[NbResultats - 1], nouveaux[NbResultats - 1]);
    if (!publie) {
        for (std::size_t i = 0; i < NbResultats; ++i) {
            const bool nouveau = EstNouveau(Finals[i], nouveaux[i]);
            if (Existe(Anciens[i])) {
                // An earlier file comes back where its name is empty or holds the new file; a file
                // put there by someone else since stays.
                if (!Existe(Finals[i]) || nouveau)
                    std::rename(Anciens[i], Finals[i]);
            } else if (nouveau) {
                unlink(Finals[i]);
            }
        }
    }
    fichiers::SynchroniseDossier();
    for (std::size_t i = 0; i < NbResultats; ++i) {
        unlink(Nouveaux[i]);
        unlink(Anciens[i]);
    }
    RetireAnciensTemporaires();
    unlink(Journal);
}

bool EcritNouveau(const char *nom, const std::string &octets)
{
    const int fd = fichiers::CreeExclusif(nom);
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
    const bool complet = ecrits == octets.size() && fichiers::Synchronise(fd);
    const int erreur = complet ? 0 : (errno != 0 ? errno : EIO);
    if (close(fd) != 0 || !complet) {
        unlink(nom);
        errno = erreur != 0 ? erreur : EIO;
        return false;
    }
    return true;
}

std::string Raison(const std::string &quoi)
{
    return quoi + " : " + std::strerror(errno);
}

} // namespace

void ReprendResultats()
{
    fichiers::VerrouDossier verrou;
    Regle();
}

bool PublieResultats(const std::string &facteurs, const std::string &valeursPropres, std::string &raison)
{
    fichiers::VerrouDossier verrou;
    Regle();
    for (const char *nom : Finals) {
        struct stat st {};
        if (lstat(nom, &st) == 0 && !S_ISREG(st.st_mode) && !S_ISLNK(st.st_mode)) {
            raison = std::string(nom) + " existe et n'est pas un fichier ordinaire";
            return false;
        }
    }
    const std::string *textes[NbResultats] = {&valeursPropres, &facteurs};
    Identite ids[NbResultats];
    for (std::size_t i = 0; i < NbResultats; ++i) {
        if (!EcritNouveau(Nouveaux[i], *textes[i])) {
            raison = Raison(std::string("impossible d'écrire ") + Finals[i]);
            Regle();
            return false;
        }
        const std::optional<Identite> id = IdentiteDe(Nouveaux[i]);
        if (!id) {
            raison = std::string("impossible d'écrire ") + Finals[i];
            Regle();
            return false;
        }
        ids[i] = *id;
    }
    // The earlier pair stays under its names while it is kept aside (a folder without hard links
    // loses it for a moment).
    for (std::size_t i = 0; i < NbResultats; ++i) {
        if (Existe(Finals[i]) && link(Finals[i], Anciens[i]) != 0 && std::rename(Finals[i], Anciens[i]) != 0) {
            raison = Raison(std::string("impossible de garder l'ancien ") + Finals[i]);
            Regle();
            return false;
        }
    }
    if (!EcritNouveau(Journal, TexteJournal(ids))) {
        raison = Raison("impossible d'écrire le journal de publication");
        Regle();
        return false;
    }
    fichiers::SynchroniseDossier();
    // From here on the journal tells the next run what to put back.
    if (Existe(NomFacteurs) && unlink(NomFacteurs) != 0) {
        raison = Raison("impossible de remplacer facteurs.txt");
        Regle();
        return false;
    }
    for (std::size_t i = 0; i < NbResultats; ++i) {
        if (fichiers::Renomme(Nouveaux[i], Finals[i]) != 0) {
            raison = Raison(std::string("impossible d'écrire ") + Finals[i]);
            Regle();
            return false;
        }
    }
    Regle();
    return true;
}

bool LitResultats(std::string &facteurs, std::string &valeursPropres, std::string &raison)
{
    fichiers::VerrouDossier verrou;
    if (Existe(Journal)) {
        raison = "la publication des résultats a été interrompue : relancez l'analyse";
        return false;
    }
    std::string *textes[NbResultats] = {&valeursPropres, &facteurs};
    for (std::size_t i = 0; i < NbResultats; ++i) {
        fichiers::Lecture etat = fichiers::Lecture::Possible;
        if (!fichiers::LitTout(Finals[i], *textes[i], &etat)) {
            raison = etat == fichiers::Lecture::NonRegulier ? std::string(Finals[i]) + " n'est pas un fichier ordinaire"
                                                             : Raison(std::string("impossible de lire ") + Finals[i]);
            return false;
        }
    }
    return true;
}

} // namespace talmer::afc
