#include "engine/verifcles.h"

#include "engine/fichiers.h"
#include "engine/segmenteur.h"
#include "engine/trace.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

namespace {

// The text read in large blocks: scanned a block at a time between markers, and one character at
// a time (CR LF read as one line feed, as a text-mode stream gives it) inside a marker.
class LecteurTexte {
public:
    static constexpr std::size_t kBloc = std::size_t{1} << 20;

    explicit LecteurTexte(std::FILE *f) : f_(f), buf_(new char[kBloc]) {}
    // The bytes not read yet in the buffer, refilled when it is empty; empty at the end.
    std::string_view reste()
    {
        if (pos_ == len_)
            recharge();
        return std::string_view(buf_.get() + pos_, len_ - pos_);
    }
    void avance(std::size_t n) { pos_ += n; }
    int lit()
    {
        const int c = octet();
        if (c == '\r') {
            const int d = octet();
            if (d == '\n')
                return '\n';
            if (d != EOF)
                --pos_;
        }
        return c;
    }
    void rend() { --pos_; }  // only a character other than a folded line end, right after lit()
    bool erreur() const { return erreur_; }

private:
    int octet()
    {
        if (pos_ == len_) {
            recharge();
            if (pos_ == len_)
                return EOF;
        }
        return static_cast<unsigned char>(buf_[pos_++]);
    }
    void recharge()
    {
        // Keeps the last byte read, so that a character can always be given back.
        std::size_t garde = pos_ > 0 ? 1 : 0;
        if (garde)
            buf_[0] = buf_[pos_ - 1];
        pos_ = garde;
        len_ = garde;
        if (fin_)
            return;
        const std::size_t n = std::fread(buf_.get() + garde, 1, kBloc - garde, f_);
        if (n == 0) {
            fin_ = true;
            erreur_ = std::ferror(f_) != 0;
        }
        len_ += n;
    }

    std::FILE *f_;
    std::unique_ptr<char[]> buf_;
    std::size_t pos_ = 0, len_ = 0;
    bool fin_ = false, erreur_ = false;
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
    for (;;) {
        // Up to the next '<': only line feeds and stray '>' matter there.
        const std::string_view bloc = in.reste();
        if (bloc.empty())
            break;
        const std::size_t ouvrant = bloc.find('<');
        std::string_view avant = bloc.substr(0, ouvrant);
        for (std::size_t ferme = avant.find('>'); ferme != std::string_view::npos; ferme = avant.find('>')) {
            ligne += static_cast<long>(std::count(avant.begin(), avant.begin() + static_cast<std::ptrdiff_t>(ferme), '\n'));
            Ajoutef("\nL%5ld Cl\xE9 incorrecte \t\t\t\t\t\t\t\t: Mauvais emplacement de balise de fermeture", ligne);
            avant.remove_prefix(ferme + 1);
        }
        ligne += static_cast<long>(std::count(avant.begin(), avant.end(), '\n'));
        if (ouvrant == std::string_view::npos) {
            in.avance(bloc.size());
            continue;
        }
        in.avance(ouvrant + 1);

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
                in.rend();
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
    const bool erreur = in.erreur();
    std::fclose(f);
    if (erreur) {
        Ajoutef("\nfichier %s illisible !", cheminTexte);
        return -1;
    }
    Ajoute("\n*****Fin de la v\xE9rification******");
    return fautes;
}
