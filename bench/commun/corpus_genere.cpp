#include "bench/commun/corpus_genere.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <numeric>
#include <random>
#include <stdexcept>

#include <stdlib.h>

namespace bench {

DossierTemporaire::DossierTemporaire()
{
    ancien_ = std::filesystem::current_path();
    std::string modele = (std::filesystem::temp_directory_path() / "t3bench-XXXXXX").string();
    if (!mkdtemp(modele.data()))
        throw std::runtime_error("mkdtemp");
    chemin_ = modele;
    std::filesystem::current_path(chemin_);
}

DossierTemporaire::~DossierTemporaire()
{
    std::error_code ec;
    std::filesystem::current_path(ancien_, ec);
    std::filesystem::remove_all(chemin_, ec);
}

namespace {

std::string Graphie(int rang)
{
    // Lower-case letters only: byte order is alphabetical order.
    std::string s = "w";
    do {
        s += static_cast<char>('a' + rang % 26);
        rang /= 26;
    } while (rang > 0);
    return s;
}

// The sequence of raw items of a generated corpus: >= 0 a raw form (its rank), -1 a full stop,
// -2 a line break, -(100 + 100000 * key + value) a key marker.
std::vector<std::int32_t> TireItems(const Parametres &p)
{
    const int N = p.formes;
    std::vector<double> cumul(static_cast<std::size_t>(N));
    double s = 0;
    for (int r = 0; r < N; ++r)
        cumul[static_cast<std::size_t>(r)] = (s += 1.0 / (r + 1));
    std::mt19937_64 alea(p.graine);
    std::uniform_real_distribution<double> u01(0.0, 1.0);
    auto tire = [&]() {
        const double x = u01(alea) * s;
        return static_cast<int>(std::lower_bound(cumul.begin(), cumul.end(), x) - cumul.begin());
    };

    const int parties = p.cles.empty() ? 1 : p.cles.front().valeurs;
    std::vector<std::int32_t> brut;
    brut.reserve(static_cast<std::size_t>(p.occurrences + p.occurrences / 12 + p.occurrences / 15 + 1000));
    std::vector<int> valeurCourante(p.cles.size(), -1);
    int partie = 0;
    std::vector<std::int32_t> mots;          // the words drawn or copied, in order
    std::vector<std::int64_t> debutPartie;   // index in mots of each part's first word
    if (p.copieToutesLes > 0)
        mots.reserve(static_cast<std::size_t>(p.occurrences));
    for (std::int64_t i = 0; i < p.occurrences; ++i) {
        for (std::size_t c = 0; c < p.cles.size(); ++c) {
            const int v = static_cast<int>(i * p.cles[c].valeurs / p.occurrences);
            if (v != valeurCourante[c]) {
                valeurCourante[c] = v;
                brut.push_back(-(100 + 100000 * static_cast<std::int32_t>(c) + v));
                if (c == 0) {
                    partie = v;
                    debutPartie.push_back(i);
                }
            }
        }
        int rang;
        const int k = p.copieToutesLes;
        if (k > 1 && partie % k == k - 1 && partie >= k - 2) {
            const std::int64_t source = debutPartie[static_cast<std::size_t>(partie - (k - 2))];
            rang = mots[static_cast<std::size_t>(source + (i - debutPartie.back()))];
        } else {
            rang = tire();
            if (u01(alea) < p.partPropre)
                rang = (rang + partie * (N / parties + 7)) % N;
        }
        if (k > 0)
            mots.push_back(rang);
        brut.push_back(rang);
        if (i % 12 == 11)
            brut.push_back(-1);
        if (i % 15 == 14)
            brut.push_back(-2);
    }

    return brut;
}

// The spelling of value v of key c: the type's initial, then enough digits for every value of
// the type, so that the contents sort in value order.
std::string ContenuCle(const Parametres &p, std::size_t c, int v)
{
    const int chiffres = std::max<int>(3, static_cast<int>(std::to_string(p.cles[c].valeurs - 1).size()));
    std::string b = std::to_string(v);
    b.insert(0, static_cast<std::size_t>(std::max<int>(0, chiffres - static_cast<int>(b.size()))), '0');
    return p.cles[c].type.substr(0, 1) + b;
}

} // namespace

void EcritTexte(const Parametres &p, const std::string &chemin)
{
    const std::vector<std::int32_t> brut = TireItems(p);
    std::string texte;
    texte.reserve(brut.size() * 6);
    for (std::int32_t x : brut) {
        if (x >= 0) {
            texte += Graphie(x);
            texte += ' ';
        } else if (x == -1) {
            texte += ". ";
        } else if (x == -2) {
            texte += "\r\n";
        } else {
            const int code = -x - 100;
            const auto c = static_cast<std::size_t>(code / 100000);
            texte += "<" + p.cles[c].type + "=" + ContenuCle(p, c, code % 100000) + "> ";
        }
    }
    std::ofstream f(chemin, std::ios::binary);
    f.write(texte.data(), static_cast<std::streamsize>(texte.size()));
}

std::unique_ptr<charg1> GenereBase(const Parametres &p, const std::string &nom)
{
    const int N = p.formes;
    const std::vector<std::int32_t> brut = TireItems(p);

    // Numbering: forms by decreasing frequency, ties alphabetical; then the full stop, the key
    // types, the key contents (each group alphabetical).
    std::vector<std::int64_t> frq(static_cast<std::size_t>(N), 0);
    for (std::int32_t x : brut)
        if (x >= 0)
            ++frq[static_cast<std::size_t>(x)];
    std::vector<int> tires;
    for (int r = 0; r < N; ++r)
        if (frq[static_cast<std::size_t>(r)] > 0)
            tires.push_back(r);
    std::vector<std::string> graphies(static_cast<std::size_t>(N));
    for (int r : tires)
        graphies[static_cast<std::size_t>(r)] = Graphie(r);
    std::vector<int> alpha = tires;
    std::sort(alpha.begin(), alpha.end(), [&](int a, int b) { return graphies[a] < graphies[b]; });
    std::vector<std::int32_t> indexAlpha(static_cast<std::size_t>(N), -1);
    for (std::size_t i = 0; i < alpha.size(); ++i)
        indexAlpha[static_cast<std::size_t>(alpha[i])] = static_cast<std::int32_t>(i);
    std::vector<int> ordre = tires;
    std::sort(ordre.begin(), ordre.end(), [&](int a, int b) {
        if (frq[a] != frq[b])
            return frq[a] > frq[b];
        return indexAlpha[a] < indexAlpha[b];
    });
    std::vector<std::int32_t> numero(static_cast<std::size_t>(N), -1);
    for (std::size_t i = 0; i < ordre.size(); ++i)
        numero[static_cast<std::size_t>(ordre[i])] = static_cast<std::int32_t>(i);

    const auto nbform = static_cast<std::int32_t>(ordre.size());
    const std::int32_t point = nbform;
    const std::int32_t premierType = nbform + 1;
    const auto nbcle = static_cast<std::int32_t>(p.cles.size());
    // Key types in alphabetical order; their contents ("<type><value>"), grouped by type in that
    // order, are alphabetical too.
    std::vector<int> typesAlpha(p.cles.size());
    std::iota(typesAlpha.begin(), typesAlpha.end(), 0);
    std::sort(typesAlpha.begin(), typesAlpha.end(), [&](int a, int b) { return p.cles[a].type < p.cles[b].type; });
    std::vector<std::int32_t> numeroType(p.cles.size()), premierContenu(p.cles.size());
    std::int32_t prochain = premierType + nbcle;
    for (std::size_t i = 0; i < typesAlpha.size(); ++i) {
        numeroType[static_cast<std::size_t>(typesAlpha[i])] = premierType + static_cast<std::int32_t>(i);
        premierContenu[static_cast<std::size_t>(typesAlpha[i])] = prochain;
        prochain += p.cles[static_cast<std::size_t>(typesAlpha[i])].valeurs;
    }
    const std::int32_t nbart = prochain;

    // .num
    std::int64_t nbitem = 0;
    {
        std::vector<std::int32_t> num;
        num.reserve(brut.size() + 2 * 200);
        for (std::int32_t x : brut) {
            if (x >= 0) {
                num.push_back(numero[static_cast<std::size_t>(x)]);
            } else if (x == -1) {
                num.push_back(4999999 - '.');
            } else if (x == -2) {
                num.push_back(4999742);
            } else {
                const int code = -x - 100;
                const auto c = static_cast<std::size_t>(code / 100000);
                num.push_back(numeroType[c]);
                num.push_back(premierContenu[c] + code % 100000);
            }
        }
        nbitem = static_cast<std::int64_t>(num.size());
        std::ofstream f(nom + ".num", std::ios::binary);
        f.write(reinterpret_cast<const char *>(num.data()), static_cast<std::streamsize>(num.size() * 4));
    }

    // .dic
    std::int64_t nhap = 0, fmax = 0, points = 0;
    for (std::int32_t x : brut)
        points += x == -1;
    {
        std::ofstream f(nom + ".dic", std::ios::binary);
        char ligne[128];
        for (int r : ordre) {
            const std::int64_t n = frq[static_cast<std::size_t>(r)];
            nhap += n == 1;
            fmax = std::max(fmax, n);
            std::snprintf(ligne, sizeof ligne, " %-7lld %7d  %s\r\n", static_cast<long long>(n),
                          indexAlpha[static_cast<std::size_t>(r)], graphies[static_cast<std::size_t>(r)].c_str());
            f << ligne;
        }
        std::snprintf(ligne, sizeof ligne, " %-7lld %7d  .\r\n", static_cast<long long>(points), point);
        f << ligne;
        for (std::size_t i = 0; i < typesAlpha.size(); ++i) {
            const auto c = static_cast<std::size_t>(typesAlpha[i]);
            std::snprintf(ligne, sizeof ligne, " %-7d %7d  %s\r\n", p.cles[c].valeurs, numeroType[c], p.cles[c].type.c_str());
            f << ligne;
        }
        for (std::size_t i = 0; i < typesAlpha.size(); ++i) {
            const auto c = static_cast<std::size_t>(typesAlpha[i]);
            for (int v = 0; v < p.cles[c].valeurs; ++v) {
                std::snprintf(ligne, sizeof ligne, " %-7d %7d  %s\r\n", 1, premierContenu[c] + v, ContenuCle(p, c, v).c_str());
                f << ligne;
            }
        }
    }

    // .par
    {
        std::ofstream f(nom + ".par", std::ios::binary);
        char ligne[256];
        std::snprintf(ligne, sizeof ligne, "%s\r\n%lld %lld %d %lld %d %lld %lld 5000000 1 %d %d 0 0\r\n", nom.c_str(),
                      static_cast<long long>(nbitem), static_cast<long long>(nbitem), nbart - 1,
                      static_cast<long long>(p.occurrences), nbform, static_cast<long long>(fmax),
                      static_cast<long long>(nhap), nbcle, nbart - premierType - nbcle);
        f << ligne;
    }

    auto base = std::make_unique<charg1>();
    const int code = base->ChargeBase((nom + ".par").c_str());
    if (code != 0) {
        std::fprintf(stderr, "loading the generated base failed with code %d (see atrace.txt)\n", code);
        std::exit(1);
    }
    return base;
}

std::int32_t TypeDeCle(const charg1 &base, const std::string &type)
{
    const std::int32_t premier = base.Nbform() + base.Nbartponct();
    for (std::int32_t k = premier; k < premier + base.Nbcle(); ++k)
        if (type == base.RetourneGraphie(k, false))
            return k;
    return -1;
}

std::unique_ptr<charg1> ChargeBaseExistante(const std::string &par)
{
    const std::filesystem::path chemin = std::filesystem::absolute(par);
    std::filesystem::current_path(chemin.parent_path());
    auto base = std::make_unique<charg1>();
    const int code = base->ChargeBase(chemin.filename().c_str());
    if (code != 0) {
        std::fprintf(stderr, "loading %s failed with code %d (see atrace.txt)\n", par.c_str(), code);
        std::exit(1);
    }
    return base;
}

Corpus::Corpus(const Parametres &p)
{
    dossier.emplace();
    const Chronometre chrono;
    base = GenereBase(p);
    preparation = chrono.Ecoule();
}

Corpus::Corpus(const char *par)
{
    const Chronometre chrono;
    base = ChargeBaseExistante(par);
    preparation = chrono.Ecoule();
}

void LigneCorpus(const charg1 &base, double secondes)
{
    std::printf("corpus: %d items, %d occurrences, %d forms, generated and loaded in %.2f s\n", base.Nbitem(),
                base.Nbocc(), base.Nbform(), secondes);
}

} // namespace bench
