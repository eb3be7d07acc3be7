#include "engine/specificite.h"

#include "engine/fils.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>

const double PlancherProba = std::bit_cast<double>(std::uint64_t{0x358DEE7A4AD4B81EULL});

namespace {

// 2 pi as the program has always written it.
constexpr double DeuxPi = 6.283185307179586;

// A term of a tail smaller than this ends the summation (after it has been added).
constexpr double TermeNegligeable = 1e-10;

} // namespace

double LnFact(double n)
{
    if (n > 33.0) {
        // Stirling: n ln n - n + 0.5 ln(2 pi n) + 1 / (12 n), summed left to right.
        double r = n * std::log(n);
        r = r - n;
        r = r + 0.5 * std::log(DeuxPi * n);
        r = r + 1.0 / (12.0 * n);
        return r;
    }
    double p = 1.0;
    for (double g = 2.0; g <= n; g = g + 1.0)
        p = p * g;
    return std::log(p);
}

TableLnFact::TableLnFact(std::int32_t max, unsigned fils)
    : valeurs_(static_cast<std::size_t>(std::max<std::int32_t>(max, -1) + 1)),
      taille_(static_cast<double>(valeurs_.size()))
{
    const std::size_t n = valeurs_.size();
    fils = std::max(1u, std::min<unsigned>(fils, static_cast<unsigned>(n / 65536 + 1)));
    SurLesFils(fils, [&](std::size_t k) {
        for (std::size_t i = n * k / fils, fin = n * (k + 1) / fils; i < fin; ++i)
            valeurs_[i] = LnFact(static_cast<double>(i));
    });
}

namespace {

// The model, once, over a source of ln n!: LnFact itself or a table of its values.
template <class Source>
double ProbaHypergeoDe(const Source &LnF, double T, double t, double F, double k)
{
    double s = LnF(T - F) - LnF(T);
    s = s + LnF(T - t);
    s = s - LnF(T - F - t + k);
    if (k != 0.0) {
        s = s + LnF(F);
        s = s + LnF(t);
        s = s - LnF(k);
        s = s - LnF(F - k);
        s = s - LnF(t - k);
    }
    return std::exp(s);
}

template <class Source>
double CalcSpecifDe(const Source &LnF, double T, double t, double F, double f, double seuil)
{
    if (f > t || F > T)
        return 0.0;
    // More occurrences outside the part than the rest of the corpus holds (sizes divided by the
    // labels count can give such a table): the recurrences would run through negative factors
    // and end in a logarithm of a negative sum. Such a table is not significant.
    if (F - f > T - t)
        return 0.0;
    // Only one sub-frequency is possible (the part is the whole corpus, or empty, or the term
    // fills the corpus or is absent): nothing can depart from chance. Tested before the
    // threshold, which at 100 % would otherwise let the probability 1 through as -1.
    if (std::max(0.0, F + t - T) == std::min(F, t))
        return 0.0;
    double P = ProbaHypergeoDe(LnF, T, t, F, f);
    if (P > seuil)
        return 0.0;
    if (P < PlancherProba)
        P = PlancherProba;
    double terme = P;
    double somme = P;
    const double mode = (F + 1.0) * (t + 1.0) / (T + 2.0);
    const bool sousEmploi = mode > f;
    if (sousEmploi) {
        // Lower tail: the probability of s - 1 from that of s.
        for (double s = f; s > 0.0; s = s - 1.0) {
            terme = (terme * s * (T - F - t + s)) / ((F - s + 1.0) * (t - s + 1.0));
            somme = somme + terme;
            if (somme > seuil)
                return 0.0;
            if (terme < TermeNegligeable)
                break;
        }
    } else {
        // Upper tail: the probability of s + 1 from that of s.
        for (double s = f; s < F; s = s + 1.0) {
            terme = ((F - s) * terme * (t - s)) / ((s + 1.0) * (T - F - t + s + 1.0));
            somme = somme + terme;
            if (somme > seuil)
                return 0.0;
            if (terme < TermeNegligeable)
                break;
        }
    }
    const double r = std::log10(somme) - 1.0;
    return sousEmploi ? r : -r;
}

double LnFactDirect(double n)
{
    return LnFact(n);
}

} // namespace

double ProbaHypergeo(double T, double t, double F, double k)
{
    return ProbaHypergeoDe(LnFactDirect, T, t, F, k);
}

double CalcSpecif(double T, double t, double F, double f, double seuil)
{
    return CalcSpecifDe(LnFactDirect, T, t, F, f, seuil);
}

double CalcSpecif(const TableLnFact &lnFact, double T, double t, double F, double f, double seuil)
{
    return CalcSpecifDe(lnFact, T, t, F, f, seuil);
}

std::int32_t ArrondiSpecif(double x)
{
    if (std::isnan(x))
        return 0;
    constexpr double haut = static_cast<double>(std::numeric_limits<std::int32_t>::max());
    constexpr double bas = static_cast<double>(std::numeric_limits<std::int32_t>::min());
    const double a = x >= 0.0 ? x + 0.5 : x - 0.5;
    if (a >= haut)
        return std::numeric_limits<std::int32_t>::max();
    if (a <= bas)
        return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(a);
}

std::int32_t CalcSpecifEntier(double T, double t, double F, double f, double seuil)
{
    return ArrondiSpecif(CalcSpecif(T, t, F, f, seuil));
}
