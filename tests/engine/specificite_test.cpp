// The hypergeometric specificity model.
//
// Expected values come from tests/engine/specificite_reference.py, an independent evaluation of
// the same formulas with mpmath at 60 digits (exact factorials up to 33, Stirling above, the
// 1e-10 stop of the tails, the floor), not from this program. The script also prints the exact
// hypergeometric tails (fractions, no approximation) as a check of the model itself.

#include "engine/specificite.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

namespace {

TEST(Specificite, FloorIsTheDoubleJustBelowOneE50)
{
    EXPECT_EQ(std::bit_cast<std::uint64_t>(PlancherProba), 0x358DEE7A4AD4B81EULL);
    EXPECT_EQ(PlancherProba, std::nextafter(1e-50, 0.0));
}

TEST(Specificite, LnFactExactUpTo33StirlingAbove)
{
    struct Cas { double n; double attendu; double tolerance; };
    const Cas cas[] = {
        {-3.0, 0.0, 0.0}, {0.0, 0.0, 0.0}, {0.5, 0.0, 0.0}, {1.0, 0.0, 0.0}, {1.9, 0.0, 0.0},
        {2.0, 0.6931471805599453094, 1e-15},
        {10.0, 15.104412573075515295, 1e-13},
        // 33 is still the product of the integers: equal to ln(33!) ...
        {33.0, 85.054467017581517414, 1e-12},
        // ... and 34 is Stirling's value, 7.07e-8 above ln(34!) = 88.580827542197678804.
        {34.0, 88.580827612854397548, 1e-12},
        {100.0, 363.73937555834118856, 1e-11},
        {1000000.0, 12815518.384658169624, 1e-8},
    };
    for (const Cas &c : cas)
        EXPECT_NEAR(LnFact(c.n), c.attendu, c.tolerance) << "n = " << c.n;
    // The cut-over is visible: 34 differs from the exact ln(34!) by Stirling's remainder.
    EXPECT_GT(LnFact(34.0) - 88.580827542197678804, 7e-8);
}

TEST(Specificite, ProbaHypergeo)
{
    struct Cas { double T, t, F, k, attendu; };
    const Cas cas[] = {
        {30, 10, 6, 2, 0.36718453959833270178},
        {30, 10, 6, 0, 0.065277251484148035872},
        {1000, 100, 50, 12, 0.0017542905533679200292},
        {20, 20, 5, 5, 1.0},
    };
    for (const Cas &c : cas)
        EXPECT_NEAR(ProbaHypergeo(c.T, c.t, c.F, c.k) / c.attendu, 1.0, 1e-11)
            << c.T << " " << c.t << " " << c.F << " " << c.k;
}

TEST(Specificite, CoefficientTable)
{
    struct Cas {
        const char *quoi;
        double T, t, F, f, seuil;
        double attendu;
        std::int32_t entier;
    };
    const Cas cas[] = {
        {"over-use", 1000, 100, 50, 15, 0.05, 5.376737694317574005, 5},
        {"f = 0, mode above 0: log10(P(0)) - 1", 1000, 100, 50, 0, 0.05, -3.349130203482113604, -3},
        {"under-use, rounds -2.51 to -3", 1000, 100, 50, 1, 0.05, -2.511829666095802186, -3},
        {"large corpus, Stirling everywhere", 100000, 10000, 200, 40, 0.05, 5.778934164548389353, 6},
        {"f equal to the mode: upper tail, positive", 98, 9, 9, 1, 1.0, 1.224692075756536897, 1},
        {"f just below the mode: lower tail, negative", 98, 9, 9, 0, 1.0, -1.393709621690323438, -1},
        {"point probability below the floor, over-use", 10000, 100, 100, 100, 0.05, 51.0, 51},
        {"point probability below the floor, under-use", 10000, 5000, 1000, 0, 0.05, -51.0, -51},
        {"P under the threshold, running sum above it", 1000, 100, 50, 9, 0.05, 0.0, 0},
        {"just significant", 1000, 100, 50, 10, 0.05, 2.668768556848519518, 3},
        // The exact tail gives 9.588694; the summation stops after the first term below 1e-10.
        {"tail cut at the first term below 1e-10", 100000, 50000, 60, 52, 0.05, 9.589558526742527810, 10},
        {"part of half the corpus holding all occurrences", 200, 100, 10, 10, 0.05, 4.112930941823445573, 4},
        {"point probability above the threshold", 1000, 100, 50, 5, 0.05, 0.0, 0},
        {"f > t", 1000, 10, 50, 11, 0.05, 0.0, 0},
        {"F > T", 100, 10, 101, 5, 0.05, 0.0, 0},
        {"part is the whole corpus", 500, 500, 40, 40, 0.05, 0.0, 0},
        {"part is the whole corpus, threshold 100 %", 500, 500, 40, 40, 0.999, 0.0, 0},
        {"part is the whole corpus, threshold exactly 100 %", 500, 500, 40, 40, 1.0, 0.0, 0},
        {"empty part, threshold 100 %", 500, 0, 40, 0, 1.0, 0.0, 0},
        {"term filling the corpus, threshold 100 %", 40, 10, 40, 10, 1.0, 0.0, 0},
        // 20 occurrences outside a part of 27 in a corpus of 30: no such table exists.
        {"impossible table (F - f > T - t)", 30, 27, 30, 10, 0.05, 0.0, 0},
    };
    for (const Cas &c : cas) {
        EXPECT_NEAR(CalcSpecif(c.T, c.t, c.F, c.f, c.seuil), c.attendu, 1e-9) << c.quoi;
        EXPECT_EQ(CalcSpecifEntier(c.T, c.t, c.F, c.f, c.seuil), c.entier) << c.quoi;
    }
}

TEST(Specificite, RoundingHalfAwayFromZero)
{
    struct Cas { double x; std::int32_t attendu; };
    const Cas cas[] = {
        {2.5, 3}, {-2.5, -3}, {2.4999, 2}, {-2.4999, -2}, {-0.5, -1}, {0.5, 1},
        {0.0, 0}, {-0.0, 0}, {51.0, 51}, {-51.0, -51},
        {std::numeric_limits<double>::quiet_NaN(), 0},
    };
    for (const Cas &c : cas)
        EXPECT_EQ(ArrondiSpecif(c.x), c.attendu) << c.x;
}

// With a threshold of at most 1, a significant coefficient is at least 1 in magnitude, so the
// rounded value is 0 exactly when the coefficient is; and no coefficient passes 51.
TEST(Specificite, RoundedIsZeroExactlyWhenNotSignificant)
{
    int significatifs = 0;
    for (double seuil : {0.01, 0.05, 0.5, 1.0})
        for (double T = 2; T <= 60; T += 7)
            for (double t = 0; t <= T; t += 3)
                for (double F = 0; F <= T; F += 5)
                    for (double f = std::max(0.0, t + F - T); f <= F && f <= t; f += 1) {
                        const double c = CalcSpecif(T, t, F, f, seuil);
                        const std::int32_t e = CalcSpecifEntier(T, t, F, f, seuil);
                        EXPECT_EQ(c == 0.0, e == 0) << T << " " << t << " " << F << " " << f;
                        EXPECT_LE(std::fabs(c), 51.0);
                        if (c != 0.0) {
                            EXPECT_GE(std::fabs(c), 1.0);
                            ++significatifs;
                        }
                    }
    EXPECT_GT(significatifs, 100);
}

// The table of ln n! gives LnFact's own bits, and the model computed from it the same
// coefficients; arguments outside the table (negative, fractional, too large) go to LnFact.
TEST(Specificite, TableOfLnFactGivesTheSameBits)
{
    const TableLnFact table(200000, 4);
    for (double n : {0.0, 1.0, 2.0, 33.0, 34.0, 35.0, 1000.0, 65535.0, 65536.0, 131071.0, 199999.0, 200000.0,
                     200001.0, 1e7, -1.0, 0.5, 34.5})
        EXPECT_EQ(std::bit_cast<std::uint64_t>(table(n)), std::bit_cast<std::uint64_t>(LnFact(n))) << n;
    for (std::int32_t n = 0; n <= 200000; n += 7)
        ASSERT_EQ(std::bit_cast<std::uint64_t>(table(n)), std::bit_cast<std::uint64_t>(LnFact(n))) << n;
    for (double seuil : {0.05, 1.0})
        for (double T : {50.0, 4000.0, 200000.0})
            for (double t = 0; t <= T; t += T / 9 + 1)
                for (double F = 1; F <= T; F += T / 7 + 1)
                    for (double f = 0; f <= F && f <= t; f += F / 11 + 1)
                        ASSERT_EQ(std::bit_cast<std::uint64_t>(CalcSpecif(table, T, t, F, f, seuil)),
                                  std::bit_cast<std::uint64_t>(CalcSpecif(T, t, F, f, seuil)))
                            << T << " " << t << " " << F << " " << f;
}

} // namespace
