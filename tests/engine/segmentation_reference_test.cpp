// The key check and the segmentation against plain character-by-character references, on random
// texts: long words, spellings that share their first bytes, accented letters, CR LF, keys, stray
// and unclosed markers, and texts long enough to cross the readers' block boundaries. The items
// spilled to the work file give the same base files as the items kept in memory.
#include "engine/charg1.h"
#include "engine/segmenteur.h"
#include "engine/verifcles.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <set>
#include <string>
#include <vector>

using talmer::test::InTempDir;
using talmer::test::readFile;
using talmer::test::writeFile;

namespace {

std::string f(const char *format, long ligne, const std::string &troncon = "")
{
    char tampon[512];
    std::snprintf(tampon, sizeof tampon, format, ligne, troncon.c_str());
    return tampon;
}

// The key check's report, read one character at a time (CR LF as one line feed), lines as the
// trace file holds them; returns the number of faults.
int verifieReference(const std::string &brut, std::string &rapport)
{
    std::string texte;
    for (std::size_t i = 0; i < brut.size(); ++i) {
        if (brut[i] == '\r' && i + 1 < brut.size() && brut[i + 1] == '\n')
            continue;
        texte.push_back(brut[i]);
    }
    int fautes = 0;
    long ligne = 1;
    std::size_t i = 0;
    while (i < texte.size()) {
        const char c = texte[i++];
        if (c == '\n') {
            ++ligne;
            continue;
        }
        if (c == '>') {
            rapport += f("\nL%5ld Cl\xE9 incorrecte \t\t\t\t\t\t\t\t: Mauvais emplacement de balise de fermeture", ligne);
            continue;
        }
        if (c != '<')
            continue;
        std::string t(1, '<');
        for (int k = 0; k < 249 && i < texte.size(); ++k) {
            const char d = texte[i++];
            t.push_back(d);
            if (d == '\n')
                ++ligne;
            if (d == '>')
                break;
            if (d == '<') {
                --i;
                break;
            }
        }
        const bool ferme = t.size() > 1 && t.back() == '>';
        const std::size_t premierEgal = t.find('=');
        const bool aEgal = premierEgal != std::string::npos;
        const std::size_t egal = ferme && aEgal ? premierEgal : 0;
        const std::size_t finContenu = ferme ? t.size() - 1 : t.size();
        if (!ferme) {
            rapport += f("\nL%5ld Cl\xE9 incorrecte \t\t\t\t\t\t\t\t: %s", ligne, t);
            ++fautes;
        } else if (!aEgal) {
            rapport += f("\nL%5ld Cl\xE9 incorrecte (pas d'=)\t\t\t\t\t: %s", ligne, t);
            ++fautes;
        }
        bool blanc = false;
        for (std::size_t j = 1; j < egal; ++j) {
            if (t[j] == ' ') {
                blanc = true;
            } else if (blanc) {
                rapport += f("\nL%5ld Cl\xE9 incorrecte (espace dans type) \t\t: %s", ligne, t);
                ++fautes;
                break;
            }
        }
        if (egal + 1 < t.size() && t[egal + 1] == '>') {
            rapport += f("\nL%5ld Cl\xE9 incorrecte (pas de contenu) \t\t: %s", ligne, t);
            ++fautes;
        }
        bool mot = false;
        blanc = false;
        for (std::size_t j = egal + 1; j < finContenu; ++j) {
            if (t[j] == ' ') {
                blanc = mot;
            } else if (blanc) {
                rapport += f("\nL%5ld Cl\xE9 incorrecte (espace dans contenu)  : %s", ligne, t);
                ++fautes;
                break;
            } else {
                mot = true;
            }
        }
    }
    return fautes;
}

std::string avecCrLf(const std::string &s)
{
    std::string out;
    for (char c : s) {
        if (c == '\n')
            out.push_back('\r');
        out.push_back(c);
    }
    return out;
}

// The items of a text with well-formed keys, one character at a time: a word as '0' and its
// letters (59 at most), a punctuation character as '1' and itself, a key as '2' type and
// '3' content (blanks dropped), a line break as "|".
std::vector<std::string> itemsReference(const std::string &t, const std::string &delimiteurs)
{
    bool delim[256] = {};
    for (int c = 0; c < 256; ++c)
        delim[c] = c <= 32 || c == '<' || c == '>';
    for (unsigned char c : delimiteurs)
        delim[c] = true;
    std::vector<std::string> items;
    std::size_t i = 0;
    while (i < t.size()) {
        const unsigned char c = static_cast<unsigned char>(t[i]);
        if (c == '\n') {
            items.push_back("|");
            ++i;
        } else if (c < 33) {
            ++i;
        } else if (c == '<') {
            std::string type = "2", contenu = "3";
            for (++i; t[i] != '='; ++i)
                if (t[i] != ' ')
                    type.push_back(t[i]);
            for (++i; t[i] != '>'; ++i)
                if (t[i] != ' ')
                    contenu.push_back(t[i]);
            ++i;
            items.push_back(type);
            items.push_back(contenu);
        } else if (!delim[c]) {
            std::size_t j = i;
            while (j < t.size() && j - i < 59 && !delim[static_cast<unsigned char>(t[j])])
                ++j;
            items.push_back("0" + t.substr(i, j - i));
            i = j;
        } else {
            items.push_back(std::string("1") + static_cast<char>(c));
            ++i;
        }
    }
    return items;
}

// The items of a loaded base in the same notation.
std::vector<std::string> itemsBase(const charg1 &b)
{
    std::vector<std::string> items;
    const std::int32_t ponct = b.Nbform(), types = ponct + b.Nbartponct(), contenus = types + b.Nbcle();
    for (std::int32_t p = 0; p < b.Nbitem(); ++p) {
        const std::int32_t v = b.Tnum(p);
        if (v >= b.Limd()) {
            items.push_back("|");
            continue;
        }
        const char tag = v < ponct ? '0' : v < types ? '1' : v < contenus ? '2' : '3';
        items.push_back(tag + std::string(b.RetourneGraphie(v, false)));
    }
    return items;
}

// A random text: words drawn from a vocabulary where many share their first eight bytes, some
// longer than 59 letters, accented letters, punctuation, blanks, tabs, LF and CR LF, keys.
std::string texteAleatoire(std::mt19937 &rng, std::size_t taille, bool fautes)
{
    std::vector<std::string> vocabulaire;
    for (int i = 0; i < 300; ++i) {
        std::string w = i % 3 == 0 ? "prefixe" : i % 3 == 1 ? "pr\xE9" "fix" : "";
        const int longueur = 1 + static_cast<int>(rng() % (i % 17 == 0 ? 70 : 9));
        for (int k = 0; k < longueur; ++k)
            w.push_back(static_cast<char>(rng() % 4 == 0 ? 0xE0 + rng() % 28 : 'a' + rng() % 26));
        vocabulaire.push_back(w);
    }
    const std::string separateurs[] = {" ", " ", " ", "  ", "\t", ", ", ".", "\n", "\r\n", "'", "\r"};
    std::string t;
    while (t.size() < taille) {
        const unsigned r = rng() % 100;
        if (r < 3) {
            t += "<cle" + std::to_string(rng() % 4) + " = " + vocabulaire[rng() % 40] + " >";
        } else if (fautes && r < 5) {
            const char *malformes[] = {"<a b=c>", "<x=>", "<sans egal>", "a > b", "<ouvert\n", "<a=b c>", ">"};
            t += malformes[rng() % 7];
        } else {
            t += vocabulaire[rng() % vocabulaire.size()];
        }
        t += separateurs[rng() % 11];
    }
    return t;
}

} // namespace

class ReferenceSegmentation : public InTempDir {};

TEST_F(ReferenceSegmentation, KeyCheckReportsAsTheCharacterReader)
{
    std::mt19937 rng(7);
    for (std::size_t taille : {std::size_t{300}, std::size_t{5000}, std::size_t{2500000}}) {
        for (int tour = 0; tour < (taille > 100000 ? 1 : 20); ++tour) {
            const std::string texte = texteAleatoire(rng, taille, true);
            writeFile("t.txt", texte);
            std::string rapport;
            const int fautes = verifieReference(texte, rapport);
            ASSERT_EQ(VerifCles("t.txt"), fautes) << "size " << taille << ", round " << tour;
            const std::string attendu = avecCrLf("\n*****COMPTE-RENDU DE LA SEGMENTATION*****\n\n"
                                                 "Fichier -- t.txt -- ouvert pour v\xE9rification" +
                                                 rapport + "\n*****Fin de la v\xE9rification******");
            ASSERT_EQ(readFile("atrace.txt"), attendu) << "size " << taille << ", round " << tour;
        }
    }
}

TEST_F(ReferenceSegmentation, ItemsAsTheCharacterReaderAndTheSameFilesWithTheWorkFile)
{
    std::mt19937 rng(11);
    const std::string delimiteurs = ".,'";
    for (std::size_t taille : {std::size_t{200}, std::size_t{4000}, std::size_t{2500000}}) {
        for (int tour = 0; tour < (taille > 100000 ? 1 : 15); ++tour) {
            SCOPED_TRACE("size " + std::to_string(taille) + ", round " + std::to_string(tour));
            const std::string texte = texteAleatoire(rng, taille, false);
            writeFile("t.txt", texte);
            ParametresSegm p;
            p.delimiteurs = delimiteurs;
            ASSERT_EQ(SegmPrinc("t.txt", p), ResultatSegm::Reussie);
            charg1 b;
            ASSERT_EQ(b.ChargeBase("t.par"), ChargeReussie);
            ASSERT_EQ(itemsBase(b), itemsReference(texte, delimiteurs));

            const std::string dic = readFile("t.dic"), num = readFile("t.num"), par = readFile("t.par");
            p.itemsEnMemoire = 7;
            ASSERT_EQ(SegmPrinc("t.txt", p), ResultatSegm::Reussie);
            EXPECT_EQ(readFile("t.dic"), dic);
            EXPECT_EQ(readFile("t.num"), num);
            EXPECT_EQ(readFile("t.par"), par);
        }
    }
}

namespace {

int g_pas = 0;
void comptePas(std::int32_t) { ++g_pas; }

// Everything a segmentation leaves: its result, its trace, its base files, its progress calls.
struct Issue {
    ResultatSegm resultat;
    std::string trace, dic, num, par;
    int pas;
    bool operator==(const Issue &) const = default;
};

Issue segmente(const ParametresSegm &p)
{
    std::remove("atrace.txt");
    std::remove("t.dic");
    std::remove("t.num");
    std::remove("t.par");
    g_pas = 0;
    Issue i;
    i.resultat = SegmPrinc("t.txt", p);
    i.pas = g_pas;
    i.trace = readFile("atrace.txt");
    if (i.resultat == ResultatSegm::Reussie) {
        i.dic = readFile("t.dic");
        i.num = readFile("t.num");
        i.par = readFile("t.par");
    }
    return i;
}

} // namespace

// Threads that read the text in pieces give what one reading token after token gives: the same
// result, trace, base files and progress calls, also when a piece holds a faulty key, when a
// limit of the segmentation is reached half-way, when the items go to the work file, and on texts
// whose lines a piece cannot end at.
TEST_F(ReferenceSegmentation, SeveralThreadsGiveWhatOneReadingGives)
{
    std::mt19937 rng(13);
    std::vector<std::string> textes;
    for (int tour = 0; tour < 12; ++tour)
        textes.push_back(texteAleatoire(rng, 20000 + rng() % 300000, tour % 3 == 2));
    textes.push_back(std::string(200000, 'a'));                        // no line feed at all
    textes.push_back(avecCrLf(texteAleatoire(rng, 150000, false)));
    std::string cr = texteAleatoire(rng, 100000, false);               // carriage returns only
    for (char &c : cr)
        if (c == '\n')
            c = '\r';
    textes.push_back(cr + "\nfin\n");
    textes.push_back(texteAleatoire(rng, 100000, false) + "<cle=sur\ndeux lignes>" + texteAleatoire(rng, 100000, false));
    textes.push_back(texteAleatoire(rng, 100000, false) + "\n<cle=jamais fermee");
    std::string longs;  // long spellings, all distinct: the pool fills before the articles run out
    for (int i = 0; i < 4000; ++i) {
        for (int k = 0; k < 50; ++k)
            longs.push_back(static_cast<char>('a' + rng() % 26));
        longs += i % 7 == 6 ? "\n" : " ";
    }
    textes.push_back(longs);

    std::set<ResultatSegm> resultats;
    for (std::size_t t = 0; t < textes.size(); ++t) {
        writeFile("t.txt", textes[t]);
        for (int reglage = 0; reglage < 4; ++reglage) {
            SCOPED_TRACE("text " + std::to_string(t) + ", setting " + std::to_string(reglage));
            ParametresSegm p;
            p.delimiteurs = ".,'";
            p.progression = comptePas;
            p.octetsParFil = reglage == 0 ? 1024 : 5000;
            if (reglage == 1)
                p.itemsEnMemoire = 1000;  // the work file
            if (reglage == 2)
                p.maxArt = 150;           // too many articles half-way
            if (reglage == 3)
                p.maxArt = 260;           // long spellings fill the pool first
            p.fils = 1;
            const Issue un = segmente(p);
            p.fils = 4;
            const Issue plusieurs = segmente(p);
            EXPECT_EQ(plusieurs.resultat, un.resultat);
            EXPECT_EQ(plusieurs.trace, un.trace);
            EXPECT_EQ(plusieurs.pas, un.pas);
            EXPECT_TRUE(plusieurs.dic == un.dic && plusieurs.num == un.num && plusieurs.par == un.par);
            resultats.insert(un.resultat);
        }
    }
    // The texts and settings reach each way a reading can end.
    for (ResultatSegm r : {ResultatSegm::Reussie, ResultatSegm::TropDArticles, ResultatSegm::ReserveGraphies,
                           ResultatSegm::CleIllisible, ResultatSegm::CleInachevee})
        EXPECT_TRUE(resultats.count(r)) << MessageSegmentation(r);
}
