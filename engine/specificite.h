// The hypergeometric specificity model: how far the sub-frequency f of a term in a part of t
// occurrences departs from chance, in a corpus of T occurrences where the term occurs F times.
//
// Every specificity of the program goes through these four functions, and their results must be
// the same on every machine: the engine is compiled without fast-math and without contraction,
// and the arithmetic below follows a fixed order of operations (changing it changes last bits,
// hence occasionally a rounded coefficient).
#pragma once

#include <cstdint>
#include <vector>

// Point probabilities are raised to this floor: the double just below the double nearest to
// 1e-50 (bits 0x358DEE7A4AD4B81E, printed 9.999999999999999e-51). It bounds every coefficient
// to 51 in magnitude.
extern const double PlancherProba;

// Natural logarithm of n!: the exact product up to 33, Stirling's formula with its first
// correction term above.
double LnFact(double n);

// Probability that a part of t occurrences drawn from T holds exactly k of the F occurrences of
// a term.
double ProbaHypergeo(double T, double t, double F, double k);

// Signed specificity coefficient: positive for over-use (f at or above the mode), negative for
// under-use, 0 when not significant at the threshold (a probability, 0.05 for 5 %).
double CalcSpecif(double T, double t, double F, double f, double seuil);

// The coefficient rounded half away from zero.
std::int32_t CalcSpecifEntier(double T, double t, double F, double f, double seuil);

// ln n! for every whole n from 0 to a maximum, each value exactly the one LnFact gives, so that a
// computation that reads it gives the same bits as one that calls LnFact. Any other argument is
// passed to LnFact.
class TableLnFact {
public:
    // Fills the table over `fils` threads (at least one).
    TableLnFact(std::int32_t max, unsigned fils = 1);
    double operator()(double n) const
    {
        if (n >= 0.0 && n < taille_) {
            const auto i = static_cast<std::size_t>(n);
            if (static_cast<double>(i) == n)
                return valeurs_[i];
        }
        return LnFact(n);
    }

private:
    std::vector<double> valeurs_;
    double taille_;
};

// CalcSpecif reading the factorials from a table: the same value, bit for bit.
double CalcSpecif(const TableLnFact &lnFact, double T, double t, double F, double f, double seuil);

// Rounding half away from zero: x + 0.5 truncated when x >= 0, x - 0.5 truncated otherwise.
// A value that is not a number gives 0.
std::int32_t ArrondiSpecif(double x);
