#include "engine/verifcles.h"

#include "engine/fichiers.h"
#include "engine/segmenteur.h"
#include "engine/trace.h"

#include <cstdio>
#include <string>

namespace {

// The text as a text-mode stream gives it: CR LF read as one line feed.
class LecteurTexte {
public:
    explicit LecteurTexte(std::FILE *f) : f_(f) {}
    int lit()
    {
        if (rendu_ != EOF) {
            const int c = rendu_;
            rendu_ = EOF;
            return c;
        }
        int c = std::getc(f_);
        if (c == '\r') {
            const int d = std::getc(f_);
            if (d == '\n')
                return '\n';
            if (d != EOF)
                std::ungetc(d, f_);
        }
        return c;
    }
    void rend(int c) { rendu_ = c; }

private:
    std::FILE *f_;
    int rendu_ = EOF;
};

constexpr int kLongueurTroncon = 249;  // characters read after the '<'

} // namespace

std::int32_t VerifCles(const char *cheminTexte)
{
    using talmer::trace::Ajoute;
    using talmer::trace::Ajoutef;
    // A text under a reserved name may be the trace file itself, which the check starts afresh:
    // nothing is written then.
    if (cheminTexte && ExamineTexte(cheminTexte) == EtatTexte::NomReserve)
        return -1;
    talmer::trace::Demarre("\n*****COMPTE-RENDU DE LA SEGMENTATION*****\n\n");
    talmer::fichiers::Lecture lecture = talmer::fichiers::Lecture::Illisible;
    std::FILE *f = cheminTexte ? talmer::fichiers::OuvreLecture(cheminTexte, &lecture) : nullptr;
    if (lecture == talmer::fichiers::Lecture::NonRegulier) {
        Ajoutef("\nFichier %s refus\xE9 : ce n'est pas un fichier ordinaire (dossier, tube ou p\xE9riph\xE9rique)",
                cheminTexte);
        return -1;
    }
    if (!f) {
        Ajoutef("\nfichier %s pas ouvert !", cheminTexte ? cheminTexte : "");
        return -1;
    }
    Ajoutef("Fichier -- %s -- ouvert pour v\xE9rification", cheminTexte);

    LecteurTexte in(f);
    std::int32_t fautes = 0;
    long ligne = 1;
    for (int c = in.lit(); c != EOF; c = in.lit()) {
        if (c == '\n') {
            ++ligne;
            continue;
        }
        if (c == '>') {
            Ajoutef("\nL%5ld Cl\xE9 incorrecte \t\t\t\t\t\t\t\t: Mauvais emplacement de balise de fermeture", ligne);
            continue;
        }
        if (c != '<')
            continue;

        std::string t(1, '<');
        for (int k = 0; k < kLongueurTroncon; ++k) {
            const int d = in.lit();
            if (d == EOF)
                break;
            t.push_back(static_cast<char>(d));
            if (d == '\n')
                ++ligne;
            if (d == '>')
                break;
            if (d == '<') {
                in.rend(d);
                break;
            }
        }
        const bool ferme = t.size() > 1 && t.back() == '>';
        const std::size_t premierEgal = t.find('=');
        const bool aEgal = premierEgal != std::string::npos;
        // Without a closing '>' or an '=', the '<' itself stands for the '='.
        const std::size_t egal = ferme && aEgal ? premierEgal : 0;
        const std::size_t finContenu = ferme ? t.size() - 1 : t.size();
        const char *s = t.c_str();

        if (!ferme) {
            Ajoutef("\nL%5ld Cl\xE9 incorrecte \t\t\t\t\t\t\t\t: %s", ligne, s);
            ++fautes;
        } else if (!aEgal) {
            Ajoutef("\nL%5ld Cl\xE9 incorrecte (pas d'=)\t\t\t\t\t: %s", ligne, s);
            ++fautes;
        }
        bool blanc = false;
        for (std::size_t i = 1; i < egal; ++i) {
            if (t[i] == ' ') {
                blanc = true;
            } else if (blanc) {
                Ajoutef("\nL%5ld Cl\xE9 incorrecte (espace dans type) \t\t: %s", ligne, s);
                ++fautes;
                break;
            }
        }
        if (egal + 1 < t.size() && t[egal + 1] == '>') {
            Ajoutef("\nL%5ld Cl\xE9 incorrecte (pas de contenu) \t\t: %s", ligne, s);
            ++fautes;
        }
        bool mot = false;
        blanc = false;
        for (std::size_t i = egal + 1; i < finContenu; ++i) {
            if (t[i] == ' ') {
                blanc = mot;
            } else if (blanc) {
                Ajoutef("\nL%5ld Cl\xE9 incorrecte (espace dans contenu)  : %s", ligne, s);
                ++fautes;
                break;
            } else {
                mot = true;
            }
        }
    }
    const bool erreur = std::ferror(f) != 0;
    std::fclose(f);
    if (erreur) {
        Ajoutef("\nfichier %s illisible !", cheminTexte);
        return -1;
    }
    Ajoute("\n*****Fin de la v\xE9rification******");
    return fautes;
}
