// ta3afc: the correspondence analysis of the table of forms by parts. Started by the workbench in
// the folder of the open base, it reads "coran.don" there and leaves "vp.txt" and "facteurs.txt"
// beside it, together. When the table cannot be read or analysed it writes neither, says why on
// standard error and ends with status 1.
#include "engine/fichiers.h"
#include "tools/ta3afc/afc.h"
#include "tools/ta3afc/resultats.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <new>
#include <string>

namespace {

int Echec(const std::string &raison)
{
    std::fprintf(stderr, "ta3afc : %s\n", raison.c_str());
    return 1;
}

int Execute()
{
    // What a killed run left is settled first, whatever becomes of this one.
    talmer::afc::ReprendResultats();

    std::string texte;
    talmer::fichiers::Lecture etat = talmer::fichiers::Lecture::Possible;
    if (!talmer::fichiers::LitTout("coran.don", texte, &etat)) {
        if (etat == talmer::fichiers::Lecture::NonRegulier)
            return Echec("coran.don n'est pas un fichier ordinaire");
        if (errno == ENOENT)
            return Echec("coran.don est introuvable");
        return Echec(std::string("impossible de lire coran.don : ") + std::strerror(errno));
    }

    talmer::afc::TableAfc table;
    std::string raison = talmer::afc::LitCoranDon(texte, table);
    if (!raison.empty())
        return Echec(raison);
    texte = std::string();
    talmer::afc::ResultatAfc resultat;
    raison = talmer::afc::Analyse(table, resultat);
    if (!raison.empty())
        return Echec(raison);

    if (!talmer::afc::PublieResultats(talmer::afc::TexteFacteurs(resultat), talmer::afc::TexteValeursPropres(resultat),
                                      raison))
        return Echec(raison);
    return 0;
}

} // namespace

int main()
{
    try {
        return Execute();
    } catch (const std::bad_alloc &) {
        return Echec("mémoire insuffisante pour cette table");
    } catch (const std::exception &e) {
        return Echec(e.what());
    }
}
