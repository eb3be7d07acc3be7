// t3base: builds and loads a corpus base from the command line and prints its counts.
//
//   t3base [-d délimiteurs] [-n maxart] texte.txt|base.par
#include "engine/charg1.h"
#include "engine/segmenteur.h"
#include "engine/trace.h"
#include "engine/verifcles.h"
#include "platform/core/collation.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>

namespace {

std::string versUtf8(const char *cp1252)
{
    std::string out;
    for (char16_t u : talmer::platform::Cp1252VersUtf16(cp1252 ? cp1252 : "")) {
        if (u < 0x80) {
            out.push_back(static_cast<char>(u));
        } else if (u < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (u >> 6)));
            out.push_back(static_cast<char>(0x80 | (u & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xE0 | (u >> 12)));
            out.push_back(static_cast<char>(0x80 | ((u >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (u & 0x3F)));
        }
    }
    return out;
}

// Latin-1 spelling of the delimiters typed on a UTF-8 command line (characters beyond it dropped).
std::string versCp1252(const std::string &utf8)
{
    std::string out;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else if ((c & 0xE0) == 0xC0 && i + 1 < utf8.size()) {
            const unsigned v = ((c & 0x1Fu) << 6) | (static_cast<unsigned char>(utf8[i + 1]) & 0x3Fu);
            ++i;
            if (v >= 0xA0 && v < 0x100)
                out.push_back(static_cast<char>(v));
        }
    }
    return out;
}

int usage()
{
    std::fprintf(stderr, "Usage : t3base [-d délimiteurs] [-n maxart] texte.txt|base.par\n");
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    ParametresSegm params;
    params.delimiteurs = DelimiteursDefaut;
    std::string chemin;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-d") == 0 && i + 1 < argc) {
            params.delimiteurs = versCp1252(argv[++i]);
        } else if (std::strcmp(argv[i], "-n") == 0 && i + 1 < argc) {
            char *fin = nullptr;
            const long n = std::strtol(argv[++i], &fin, 10);
            if (!fin || *fin || n <= 0 || n > 2147483647L)
                return usage();
            params.maxArt = static_cast<std::int32_t>(n);
        } else if (chemin.empty()) {
            chemin = argv[i];
        } else {
            return usage();
        }
    }
    if (chemin.empty())
        return usage();

    // Like the workbench, work in the folder of the chosen file.
    const std::filesystem::path p(chemin);
    const std::string nom = p.filename().string();
    std::error_code ec;
    if (p.has_parent_path()) {
        std::filesystem::current_path(p.parent_path(), ec);
        if (ec) {
            std::fprintf(stderr, "Impossible d'aller dans le dossier %s : %s\n", p.parent_path().c_str(),
                         ec.message().c_str());
            return 1;
        }
    }
    if (!std::filesystem::exists(nom, ec)) {
        std::fprintf(stderr, "Fichier introuvable : %s\n", chemin.c_str());
        return 1;
    }

    std::string par = nom;
    if (p.extension() != ".par") {
        // Refused before anything is written, as in the workbench.
        const EtatTexte etat = ExamineTexte(nom.c_str());
        if (etat != EtatTexte::Accepte) {
            std::fprintf(stderr, "%s : %s\n", chemin.c_str(), MessageTexte(etat));
            return 1;
        }
        std::printf("Vérification des clés\n");
        const std::int32_t fautes = VerifCles(nom.c_str());
        if (fautes != 0) {
            std::fprintf(stderr, "%s\nConsultez %s\n",
                         fautes < 0 ? MessageTexte(EtatTexte::Illisible) : "Problème dans les clefs.",
                         talmer::trace::Chemin().c_str());
            return 1;
        }
        std::printf("Segmentation du texte\n");
        const ResultatSegm r = SegmPrinc(nom.c_str(), params);
        if (r != ResultatSegm::Reussie) {
            std::fprintf(stderr, "%s\nConsultez %s\n", MessageSegmentation(r), talmer::trace::Chemin().c_str());
            return 1;
        }
        par = NomBaseDeTexte(nom) + ".par";
    }

    std::printf("Chargement des données\n");
    charg1 base;
    const int code = base.ChargeBase(par.c_str());
    if (code != ChargeReussie) {
        std::fprintf(stderr, "%s : Erreur %s\nConsultez %s\n", par.c_str(), TexteErreurChargement(code),
                     talmer::trace::Chemin().c_str());
        return 1;
    }

    std::printf("\nBase %s\n", base.NomBase());
    std::printf("  occurrences        %10d\n", base.Nbocc());
    std::printf("  formes             %10d\n", base.Nbform());
    std::printf("  hapax              %10d\n", base.Nhap());
    std::printf("  fréquence maximale %10d\n", base.Fmax());
    std::printf("  ponctuations       %10d\n", base.Nbartponct());
    std::printf("  types de clé       %10d\n", base.Nbcle());
    std::printf("  contenus de clé    %10d\n", base.Nbctnu());
    std::printf("  entités            %10d\n", base.Nbart());
    std::printf("  items              %10d\n", base.Nbitem());
    std::printf("  lignes             %10d\n", base.NbLignes());
    const std::int32_t n = base.Nbform() < 10 ? base.Nbform() : 10;
    if (n > 0) {
        std::printf("\nFormes les plus fréquentes :\n");
        for (std::int32_t e = 0; e < n; ++e)
            std::printf("  %-20s %6d\n", versUtf8(base.RetourneGraphie(e, true)).c_str(), base.RetourneFrq(e));
    }
    const std::int32_t cles = base.Nbform() + base.Nbartponct();
    for (std::int32_t k = 0; k < base.Nbcle(); ++k) {
        if (k == 0)
            std::printf("\nTypes de clé :");
        std::printf(" %s (%d)", versUtf8(base.RetourneGraphie(cles + k, false)).c_str(), base.RetourneFrq(cles + k));
    }
    if (base.Nbcle() > 0)
        std::printf("\n");
    return 0;
}
