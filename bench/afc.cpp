// Correspondence analysis. First a table of 20,000 forms by 50 parts read, analysed and written in
// this process; then the program ta3afc run whole (reading coran.don, the analysis, the results)
// on the tables of large partitions:
//   parties  30 forms x 5,331 parts (a high minimum frequency on thousands of documents)
//   carre    2,000 forms x 5,000 parts, NF 5
//   formes   10,000 forms x 2,000 parts
// with the processor time and the peak memory of each run (best of the runs).
//   bench_afc [table...] [-n runs] [-p program] [-w]   (-w: only write coran.don here)
#include "bench/commun/corpus_genere.h"
#include "tools/ta3afc/afc.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// A table as the analysis dialog writes it. Form i (by decreasing frequency) has a share of every
// part's words following a Zipf law, three times as much in the parts of its theme (one theme in
// 20); parts hold 500 to 2,500 words; the counts are drawn from Poisson laws. Every row and every
// part holds at least one occurrence.
std::string TableGeneree(int formes, int parties, int nf, std::uint32_t graine)
{
    std::mt19937_64 alea(graine);
    std::uniform_real_distribution<double> taille(500, 2500);
    std::vector<double> mots(static_cast<std::size_t>(parties));
    for (double &m : mots)
        m = taille(alea);
    char ligne[64];
    std::string texte = "Bench : p\r\n";
    std::snprintf(ligne, sizeof ligne, "%4d%s%4d   5   1   0\r\n", formes, parties >= 1000 ? " " : "", parties);
    texte += ligne;
    for (int j = 0; j < parties; ++j) {
        std::snprintf(ligne, sizeof ligne, j >= 1000 ? " %4d" : "%4d", j);
        texte += ligne;
    }
    texte += "\r\n" + std::string(static_cast<std::size_t>(parties), '1') + "\r\n(6x,5A4," + std::to_string(parties) +
             "F5.0)\r\n";
    std::vector<int> rangee(static_cast<std::size_t>(parties));
    for (int i = 0; i < formes; ++i) {
        const double part = 0.06 / (i + 1);
        bool large = false;
        for (int j = 0; j < parties; ++j) {
            const double moyenne = mots[static_cast<std::size_t>(j)] * part * (j % 20 == i % 20 ? 3 : 1);
            int &n = rangee[static_cast<std::size_t>(j)];
            n = std::poisson_distribution<int>(moyenne)(alea) + (j == i % parties ? 1 : 0);
            large = large || n > 99999;
        }
        std::snprintf(ligne, sizeof ligne, "%5d %-20s", i, ("forme" + std::to_string(i)).c_str());
        texte += ligne;
        for (int n : rangee) {
            std::snprintf(ligne, sizeof ligne, large ? " %5d" : "%5d", n);
            texte += ligne;
        }
        texte += "\r\n";
    }
    std::snprintf(ligne, sizeof ligne, "%4d   0   0   4 150   0   0\r\n", nf);
    return texte + ligne;
}

struct Mesure {
    double processeur = 0; // seconds, user + system
    long memoire = 0;      // peak resident set, MB
    int sortie = -1;
};

Mesure Lance(const std::string &programme)
{
    Mesure m;
    const pid_t pid = fork();
    if (pid == 0) {
        execl(programme.c_str(), programme.c_str(), static_cast<char *>(nullptr));
        _exit(127);
    }
    int etat = 0;
    rusage r{};
    if (pid < 0 || wait4(pid, &etat, 0, &r) != pid)
        return m;
    m.processeur = static_cast<double>(r.ru_utime.tv_sec + r.ru_stime.tv_sec) +
                   static_cast<double>(r.ru_utime.tv_usec + r.ru_stime.tv_usec) / 1e6;
    m.memoire = r.ru_maxrss / 1024;
    m.sortie = WIFEXITED(etat) ? WEXITSTATUS(etat) : -1;
    return m;
}

void DansCeProcessus()
{
    constexpr int formes = 20000, parties = 50;
    const std::string texte = TableGeneree(formes, parties, 10, 7);
    const auto debut = bench::HorlogeProcesseur::now();
    talmer::afc::TableAfc table;
    std::string raison = talmer::afc::LitCoranDon(texte, table);
    const double lu = bench::Secondes(debut);
    talmer::afc::ResultatAfc resultat;
    if (raison.empty())
        raison = talmer::afc::Analyse(table, resultat);
    const double analyse = bench::Secondes(debut);
    const std::size_t octets =
        talmer::afc::TexteFacteurs(resultat).size() + talmer::afc::TexteValeursPropres(resultat).size();
    const double fin = bench::Secondes(debut);
    if (!raison.empty()) {
        std::fprintf(stderr, "%s\n", raison.c_str());
        std::exit(1);
    }
    std::printf("in process, %d x %d: read %.3f s, analysis %.3f s, results %.3f s (%zu bytes)\n", formes, parties, lu,
                analyse - lu, fin - analyse, octets);
}

} // namespace

int main(int argc, char **argv)
{
    struct Table {
        const char *nom;
        int formes, parties, nf;
    };
    const Table tables[] = {{"parties", 30, 5331, 10}, {"carre", 2000, 5000, 5}, {"formes", 10000, 2000, 10}};
    std::vector<const Table *> choisies;
    int tours = 3;
    bool ecritSeulement = false;
    std::string programme = TALMER_BIN_DIR "/ta3afc";
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "-n") && i + 1 < argc)
            tours = std::atoi(argv[++i]);
        else if (!std::strcmp(argv[i], "-p") && i + 1 < argc)
            programme = argv[++i];
        else if (!std::strcmp(argv[i], "-w"))
            ecritSeulement = true;
        else
            for (const Table &t : tables)
                if (t.nom == std::string(argv[i]))
                    choisies.push_back(&t);
    }
    if (choisies.empty()) {
        DansCeProcessus();
        for (const Table &t : tables)
            choisies.push_back(&t);
    }
    for (const Table *t : choisies) {
        std::optional<bench::DossierTemporaire> dossier;
        if (!ecritSeulement)
            dossier.emplace();
        const std::string texte = TableGeneree(t->formes, t->parties, t->nf, 20260101);
        std::FILE *f = std::fopen("coran.don", "wb");
        if (!f || std::fwrite(texte.data(), 1, texte.size(), f) != texte.size() || std::fclose(f) != 0)
            return 1;
        if (ecritSeulement)
            return 0;
        Mesure meilleure;
        for (int k = 0; k < tours; ++k) {
            const Mesure m = Lance(programme);
            if (m.sortie != 0) {
                std::fprintf(stderr, "%s: %s ended with %d\n", t->nom, programme.c_str(), m.sortie);
                return 1;
            }
            if (k == 0 || m.processeur < meilleure.processeur)
                meilleure = m;
        }
        std::printf("ta3afc, %s: %d forms x %d parts, NF %d (coran.don %.1f MB): %.2f s processor, %ld MB peak"
                    " (best of %d)\n",
                    t->nom, t->formes, t->parties, t->nf, static_cast<double>(texte.size()) / 1e6,
                    meilleure.processeur, meilleure.memoire, tours);
        std::fflush(stdout);
    }
    return 0;
}
