// The search for the run of parts where a term is most specific, against the plain walk over
// every run (kept here as the definition of the answer) on random counts: spread and concentrated
// terms, empty parts, repeated parts that make equal coefficients, terms at the floor, frequent
// terms of wide tails, and counts that no consistent base gives.

#include "engine/periodes.h"

#include "engine/specificite.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <numeric>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

// Every run by first part, then by last part; a run replaces the best only with a strictly
// larger magnitude.
Periode MarcheSimple(std::int32_t T, const std::vector<std::int32_t> &tailles, double seuil, std::int32_t F,
                     const std::vector<std::int32_t> &frq)
{
    Periode meilleure;
    const auto parties = static_cast<std::int32_t>(tailles.size());
    for (std::int32_t i = 0; i < parties; ++i) {
        std::int32_t f = 0, t = 0;
        for (std::int32_t j = i; j < parties; ++j) {
            f += frq[static_cast<std::size_t>(j)];
            t += tailles[static_cast<std::size_t>(j)];
            const double c = CalcSpecif(T, t, F, f, seuil);
            if (std::fabs(c) > std::fabs(meilleure.Coef))
                meilleure = Periode{c, i, j, f};
        }
    }
    return meilleure;
}

struct Cas {
    std::int32_t T = 0;
    std::vector<std::int32_t> tailles;
    double seuil = 0.05;
    std::vector<std::int32_t> frq;  // one term, or several sharing the sizes
    std::vector<std::int32_t> F;
    std::size_t termes() const { return F.size(); }
};

std::string Decrit(const Cas &c, std::size_t terme)
{
    std::ostringstream o;
    o << "T " << c.T << " seuil " << c.seuil << " F " << c.F[terme] << "\ntailles";
    for (std::int32_t t : c.tailles)
        o << " " << t;
    o << "\nfrq";
    for (std::size_t k = 0; k < c.tailles.size(); ++k)
        o << " " << c.frq[terme * c.tailles.size() + k];
    return o.str();
}

void Compare(const Cas &c)
{
    const RecherchePeriodes recherche(c.T, c.tailles, c.seuil);
    RecherchePeriodes::Brouillon brouillon;  // one work space for every term, as a thread has
    for (std::size_t terme = 0; terme < c.termes(); ++terme) {
        const std::vector<std::int32_t> frq(c.frq.begin() + static_cast<std::ptrdiff_t>(terme * c.tailles.size()),
                                            c.frq.begin() + static_cast<std::ptrdiff_t>((terme + 1) * c.tailles.size()));
        const Periode attendu = MarcheSimple(c.T, c.tailles, c.seuil, c.F[terme], frq);
        const Periode obtenu = recherche.Cherche(c.F[terme], frq.data(), brouillon);
        ASSERT_EQ(std::bit_cast<std::uint64_t>(obtenu.Coef), std::bit_cast<std::uint64_t>(attendu.Coef))
            << obtenu.Coef << " instead of " << attendu.Coef << "\n" << Decrit(c, terme);
        ASSERT_EQ(obtenu.Premiere, attendu.Premiere) << Decrit(c, terme);
        ASSERT_EQ(obtenu.Derniere, attendu.Derniere) << Decrit(c, terme);
        ASSERT_EQ(obtenu.f, attendu.f) << Decrit(c, terme);
    }
}

// Sizes of parts: some empty, some repeated (a repeated stretch of parts with the same counts
// gives runs of exactly equal coefficients).
std::vector<std::int32_t> Tailles(std::mt19937 &alea, int parties, int moyenne)
{
    std::vector<std::int32_t> t(static_cast<std::size_t>(parties));
    for (std::int32_t &x : t) {
        const int genre = static_cast<int>(alea() % 10);
        x = genre == 0 ? 0 : static_cast<std::int32_t>(1 + alea() % static_cast<unsigned>(2 * moyenne));
    }
    return t;
}

// A term's frequencies in parts of those sizes, of one of several shapes.
std::vector<std::int32_t> Frequences(std::mt19937 &alea, const std::vector<std::int32_t> &tailles, int forme)
{
    const auto parties = static_cast<int>(tailles.size());
    std::vector<std::int32_t> f(tailles.size(), 0);
    auto tire = [&](int k, double part) {
        const std::int32_t n = tailles[static_cast<std::size_t>(k)];
        std::binomial_distribution<std::int32_t> b(n, std::min(1.0, part));
        f[static_cast<std::size_t>(k)] = std::min(n, b(alea));
    };
    switch (forme) {
    case 0:  // spread evenly
        for (int k = 0; k < parties; ++k)
            tire(k, 0.02);
        break;
    case 1: {  // over-used over a stretch
        const int a = static_cast<int>(alea() % static_cast<unsigned>(parties));
        const int b = std::min(parties - 1, a + static_cast<int>(alea() % 5));
        for (int k = 0; k < parties; ++k)
            tire(k, k >= a && k <= b ? 0.2 : 0.01);
        break;
    }
    case 2: {  // concentrated in one or two parts: runs at the floor
        const int a = static_cast<int>(alea() % static_cast<unsigned>(parties));
        tire(a, 0.9);
        if (alea() % 2 && a + 1 < parties)
            tire(a + 1, 0.9);
        break;
    }
    case 3:  // absent from a stretch: under-use
        for (int k = 0; k < parties; ++k)
            tire(k, k < parties / 3 ? 0.0 : 0.05);
        break;
    default:  // a few occurrences here and there
        for (int k = 0; k < parties; ++k)
            if (alea() % 4 == 0)
                tire(k, 0.01);
        break;
    }
    return f;
}

Cas Tirage(std::mt19937 &alea, int parties, int moyenne, double seuil)
{
    Cas c;
    c.seuil = seuil;
    c.tailles = Tailles(alea, parties, moyenne);
    // A repeated stretch: equal coefficients between its copies.
    const bool repete = alea() % 3 == 0 && parties >= 6;
    const int longueur = repete ? 1 + static_cast<int>(alea() % static_cast<unsigned>(parties / 3)) : 0;
    if (repete)
        for (int k = longueur; k + longueur <= parties && k < 3 * longueur; ++k)
            c.tailles[static_cast<std::size_t>(k)] = c.tailles[static_cast<std::size_t>(k - longueur)];
    c.T = std::accumulate(c.tailles.begin(), c.tailles.end(), 0);
    for (int forme = 0; forme < 5; ++forme) {
        std::vector<std::int32_t> f = Frequences(alea, c.tailles, forme);
        if (repete)
            for (int k = longueur; k + longueur <= parties && k < 3 * longueur; ++k)
                f[static_cast<std::size_t>(k)] = f[static_cast<std::size_t>(k - longueur)];
        c.F.push_back(std::accumulate(f.begin(), f.end(), 0));
        c.frq.insert(c.frq.end(), f.begin(), f.end());
    }
    return c;
}

TEST(Periodes, TheSameRunAsThePlainWalkOnRandomCounts)
{
    std::mt19937 alea(2718);
    const double seuils[] = {0.05, 0.01, 0.001, 0.3, 1.0};
    for (int essai = 0; essai < 1500; ++essai) {
        const int parties = 1 + static_cast<int>(alea() % 40);
        const int moyenne = essai % 3 == 0 ? 20 : 300;
        Compare(Tirage(alea, parties, moyenne, seuils[essai % 5]));
        if (HasFatalFailure())
            return;
    }
}

TEST(Periodes, TheSameRunOnManyPartsAndFrequentTerms)
{
    // Large parts and frequent terms: wide tails, where the search counts on the tail sums; a
    // corpus larger than the parts (T above their sum) as well.
    std::mt19937 alea(31415);
    for (int essai = 0; essai < 40; ++essai) {
        Cas c = Tirage(alea, 150 + static_cast<int>(alea() % 150), 5000, 0.05);
        if (essai % 4 == 0)
            c.T += 1000;
        Compare(c);
        if (HasFatalFailure())
            return;
    }
}

TEST(Periodes, EqualCoefficientsKeepTheFirstRunOfTheWalk)
{
    Cas c;
    c.seuil = 0.05;
    // Four equal parts; the term over-uses parts 1 and 3 alike: runs (1, 1) and (3, 3) have the
    // same coefficient, and so have (0, 1) and (2, 3): the first in the walk's order wins.
    c.tailles = {1000, 1000, 1000, 1000};
    c.T = 4000;
    c.frq = {5, 60, 5, 60,
             // the whole term in part 1: every run holding it reaches the floor
             0, 200, 0, 0};
    c.F = {130, 200};
    Compare(c);
    const RecherchePeriodes r(c.T, c.tailles, c.seuil);
    const Periode p = r.Cherche(200, c.frq.data() + 4);
    EXPECT_EQ(p.Premiere, 0);  // (0, 1) before (0, 2), (1, 1) and the others
    EXPECT_EQ(p.Derniere, 1);
    EXPECT_EQ(ArrondiSpecif(p.Coef), 51);
}

TEST(Periodes, CountsOfNoConsistentBaseGoThroughThePlainWalk)
{
    std::mt19937 alea(1618);
    for (int essai = 0; essai < 200; ++essai) {
        Cas c = Tirage(alea, 1 + static_cast<int>(alea() % 25), 100, 0.05);
        switch (essai % 4) {
        case 0:  // a dictionary frequency below the frequencies in the parts
            for (std::int32_t &F : c.F)
                F = std::max(0, F - 3);
            break;
        case 1:  // parts larger than the corpus
            c.T = std::max(1, c.T / 2);
            break;
        case 2:  // a threshold of 0 or above 100 %
            c.seuil = essai % 8 == 2 ? 0.0 : 1.5;
            break;
        default:  // a term more frequent than the corpus
            c.F[0] = c.T + 5;
            break;
        }
        Compare(c);
        if (HasFatalFailure())
            return;
    }
}

} // namespace
