// ta3afc: the correspondence analysis of the table of forms by parts. Started by the workbench in
// the folder of the open base, it reads "coran.don" there and leaves "vp.txt" and "facteurs.txt"
// beside it, together. When the table cannot be read or analysed it writes neither, says why on
// standard error and ends with status 1. Where it stands goes to standard output as it runs.
#include "engine/fichiers.h"
#include "tools/ta3afc/afc.h"
#include "tools/ta3afc/resultats.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <exception>
#include <memory>
#include <new>
#include <string>

#include <sys/stat.h>

namespace {

int Echec(const std::string &raison)
{
    std::fprintf(stderr, "ta3afc : %s\n", raison.c_str());
    return 1;
}

// Where the run stands, one line on standard output, at once: the workbench shows it.
void Avancement(const std::string &etape)
{
    std::fputs((etape + "\n").c_str(), stdout);
    std::fflush(stdout);
}

int Execute()
{
    // What a killed run left is settled first, whatever becomes of this one.
    talmer::afc::ReprendResultats();

    talmer::fichiers::Lecture etat = talmer::fichiers::Lecture::Possible;
    const std::unique_ptr<std::FILE, int (*)(std::FILE *)> fichier(talmer::fichiers::OuvreLecture("coran.don", &etat),
                                                                   &std::fclose);
    if (!fichier) {
        if (etat == talmer::fichiers::Lecture::NonRegulier)
            return Echec("coran.don n'est pas un fichier ordinaire");
        if (errno == ENOENT)
            return Echec("coran.don est introuvable");
        return Echec(std::string("impossible de lire coran.don : ") + std::strerror(errno));
    }
    struct stat st {};
    const std::uint64_t taille = fstat(fileno(fichier.get()), &st) == 0 && st.st_size > 0 ? static_cast<std::uint64_t>(st.st_size) : 0;
    int lecture = -1;
    auto lu = [&](std::uint64_t octets) {
        const int pourcent = taille > 0 ? static_cast<int>(std::min<std::uint64_t>(octets, taille) * 100 / taille) : 100;
        if (pourcent != lecture)
            Avancement("lecture " + std::to_string(lecture = pourcent));
    };
    talmer::afc::TableCreuse table;
    std::string raison = talmer::afc::LitCoranDon(fichier.get(), table, lu);
    if (!raison.empty())
        return Echec(raison);
    Avancement("calcul");
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
    // Nobody may be reading the progress lines any more; the run goes on without them.
    std::signal(SIGPIPE, SIG_IGN);
    try {
        return Execute();
    } catch (const std::bad_alloc &) {
        return Echec("mémoire insuffisante pour cette table");
    } catch (const std::exception &e) {
        return Echec(e.what());
    }
}
