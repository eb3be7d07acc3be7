// Correspondence analysis. First a table of 20,000 forms by 50 parts read, analysed and written in
// this process; then the program ta3afc run whole (reading coran.don, the analysis, the results)
// on the tables of large partitions:
//   parties  30 forms x 5,331 parts (a high minimum frequency on thousands of documents)
//   carre    2,000 forms x 5,000 parts, NF 5
//   formes   10,000 forms x 2,000 parts
//   pages    27,000 forms x 5,230 parts and 130,000 segment rows (coran.don about 4 GB: the page
//            partition of thousands of documents with its repeated segments)
// with the processor time and the peak memory of each run (best of the runs).
//   bench_afc [table...] [-n runs] [-p program] [-s segment rows] [-f NF] [-w]
//   (-w: only write coran.don here)
#include "bench/commun/corpus_genere.h"
#include "tools/ta3afc/afc.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// A table as the analysis dialog writes it, handed out a row at a time. Form i (by decreasing
// frequency) has a share of every part's words following a Zipf law, three times as much in the
// parts of its theme (one theme in 20); parts hold 500 to 2,500 words; the counts are drawn from
// Poisson laws. Every row and every part holds at least one occurrence. The segment rows after the
// control line are those of rare repeated segments: 2 to 9 occurrences over a few parts.
void TableGeneree(int formes, int parties, int nf, int segments, std::uint32_t graine,
                  const std::function<void(const std::string &)> &ecrit)
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
    ecrit(texte);
    std::vector<int> rangee(static_cast<std::size_t>(parties));
    auto ecritRangee = [&](int numero, const std::string &libelle) {
        bool large = false;
        for (int n : rangee)
            large = large || n > 99999;
        std::snprintf(ligne, sizeof ligne, "%5d %-20.20s", numero, libelle.c_str());
        texte = ligne;
        for (int n : rangee) {
            std::snprintf(ligne, sizeof ligne, large ? " %5d" : "%5d", n);
            texte += ligne;
        }
        texte += "\r\n";
        ecrit(texte);
    };
    for (int i = 0; i < formes; ++i) {
        const double part = 0.06 / (i + 1);
        for (int j = 0; j < parties; ++j) {
            const double moyenne = mots[static_cast<std::size_t>(j)] * part * (j % 20 == i % 20 ? 3 : 1);
            rangee[static_cast<std::size_t>(j)] =
                std::poisson_distribution<int>(moyenne)(alea) + (j == i % parties ? 1 : 0);
        }
        ecritRangee(i, "forme" + std::to_string(i));
    }
    std::snprintf(ligne, sizeof ligne, "%4d   0   0   4 150   0   0\r\n", nf);
    ecrit(ligne);
    std::uniform_int_distribution<int> occurrences(2, 9), partie(0, parties - 1);
    for (int k = 0; k < segments; ++k) {
        std::fill(rangee.begin(), rangee.end(), 0);
        for (int n = occurrences(alea); n > 0; --n)
            ++rangee[static_cast<std::size_t>(partie(alea))];
        ecritRangee(formes + 1 + k, "forme" + std::to_string(k % formes) + " forme" + std::to_string(k % 97));
    }
}

std::string TexteGenere(int formes, int parties, int nf, std::uint32_t graine)
{
    std::string texte;
    TableGeneree(formes, parties, nf, 0, graine, [&](const std::string &morceau) { texte += morceau; });
    return texte;
}

struct Mesure {
    double processeur = 0; // seconds, user + system
    double duree = 0;      // seconds, wall clock
    long memoire = 0;      // peak resident set, MB
    int sortie = -1;
};

Mesure Lance(const std::string &programme)
{
    Mesure m;
    const auto debut = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        // Its progress lines are for the workbench.
        const int nul = open("/dev/null", O_WRONLY);
        if (nul >= 0)
            dup2(nul, STDOUT_FILENO);
        execl(programme.c_str(), programme.c_str(), static_cast<char *>(nullptr));
        _exit(127);
    }
    int etat = 0;
    rusage r{};
    if (pid < 0 || wait4(pid, &etat, 0, &r) != pid)
        return m;
    m.duree = std::chrono::duration<double>(std::chrono::steady_clock::now() - debut).count();
    m.processeur = static_cast<double>(r.ru_utime.tv_sec + r.ru_stime.tv_sec) +
                   static_cast<double>(r.ru_utime.tv_usec + r.ru_stime.tv_usec) / 1e6;
    m.memoire = r.ru_maxrss / 1024;
    m.sortie = WIFEXITED(etat) ? WEXITSTATUS(etat) : -1;
    return m;
}

void DansCeProcessus()
{
    constexpr int formes = 20000, parties = 50;
    const std::string texte = TexteGenere(formes, parties, 10, 7);
    const auto debut = bench::HorlogeProcesseur::now();
    talmer::afc::TableCreuse table;
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
        int formes, parties, nf, segments;
    };
    const Table tables[] = {{"parties", 30, 5331, 10, 0},
                            {"carre", 2000, 5000, 5, 0},
                            {"formes", 10000, 2000, 10, 0},
                            {"pages", 27000, 5230, 10, 130000}};
    std::vector<const Table *> choisies;
    int tours = 3;
    bool ecritSeulement = false;
    int segments = -1; // -s: segment rows of the tables that have some (scaled down on a small machine)
    int facteurs = -1; // -f: NF
    std::string programme = TALMER_BIN_DIR "/ta3afc";
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "-n") && i + 1 < argc)
            tours = std::atoi(argv[++i]);
        else if (!std::strcmp(argv[i], "-p") && i + 1 < argc)
            programme = argv[++i];
        else if (!std::strcmp(argv[i], "-s") && i + 1 < argc)
            segments = std::atoi(argv[++i]);
        else if (!std::strcmp(argv[i], "-f") && i + 1 < argc)
            facteurs = std::atoi(argv[++i]);
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
    for (const Table *choisie : choisies) {
        Table table = *choisie;
        const Table *t = &table;
        if (segments >= 0 && table.segments > 0)
            table.segments = segments;
        if (facteurs > 0)
            table.nf = facteurs;
        std::optional<bench::DossierTemporaire> dossier;
        if (!ecritSeulement)
            dossier.emplace();
        // Written as it is made: the table of a page partition runs to gigabytes.
        std::FILE *f = std::fopen("coran.don", "wb");
        if (!f)
            return 1;
        bool ecrit = true;
        double octets = 0;
        TableGeneree(t->formes, t->parties, t->nf, t->segments, 20260101, [&](const std::string &morceau) {
            ecrit = ecrit && std::fwrite(morceau.data(), 1, morceau.size(), f) == morceau.size();
            octets += static_cast<double>(morceau.size());
        });
        if (std::fclose(f) != 0 || !ecrit)
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
        std::printf("ta3afc, %s: %d forms x %d parts, %d segment rows, NF %d (coran.don %.1f MB): %.2f s processor,"
                    " %.2f s wall, %ld MB peak (best of %d)\n",
                    t->nom, t->formes, t->parties, t->segments, t->nf, octets / 1e6,
                    meilleure.processeur, meilleure.duree, meilleure.memoire, tours);
        std::fflush(stdout);
    }
    return 0;
}
