#include "engine/periodes.h"

#include "engine/progression.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <limits>
#include <utility>

// How the search skips runs without changing its answer.
//
// Notation: the corpus holds T occurrences, the term F; p(t, k) is the hypergeometric probability
// that a part of t occurrences holds exactly k of them. A run of size t and sub-frequency f gets
// from the model either 0, or the magnitude |log10(S) - 1| where S, its tail sum, starts at the
// point probability P of f (raised to the floor when below it) and then adds the probabilities
// of f + 1, f + 2, ... (over-use) or f - 1, f - 2, ... (under-use), each computed from the one
// before, until one below 1e-10 has been added; the result is 0 as soon as P or S passes the
// threshold. With a threshold of at most 1, a non-zero result has S <= 1, so its magnitude is
// 1 - log10(S): the smaller a lower bound of S, the larger the bound of the magnitude.
//
// 1. Point probabilities over a block. A block holds the runs from first parts i1..i2 to last
//    parts j1..j2 (i2 < j1), or every run within parts a..b (a triangle). Its runs have sizes in
//    [tBas, tHaut] and sub-frequencies in [kBas, kHaut] (for a triangle: the smallest part, the
//    whole stretch, 0 and the stretch's frequency). The true p(t, k) is unimodal in k for a fixed
//    t (log-concave) and unimodal in t for a fixed k (p(t + 1, k) / p(t, k) >= 1 exactly when
//    t + 1 <= k (T + 1) / F), zeros outside the support included; so over the rectangle it is
//    never below its smallest value at the four corners (for any (t, k): p(t, k) >=
//    min(p(t, kBas), p(t, kHaut)), and each of these is at least the smaller of its two corners).
//    The model computes P by Stirling's formula in doubles, within delta of the true logarithm:
//    delta bounds the formula's truncation (below 1 / (360 n^3) <= 7.1e-8 for each of nine
//    factorials above 33) and the rounding of sums of terms at most ln T! + T. The corners are
//    computed the same way; so m, their smallest logarithm less 2 delta, is below the ln P of
//    every run of the block.
//
// 2. Tail sums over a block. Beyond P, the model surely adds the K next terms when the first
//    K - 1 of them are at least 1e-10 (it stops only after adding a smaller one, or returns 0).
//    Along the upper tail, p(t, s + 1) / p(t, s) = r(t, s) = (F - s)(t - s) / ((s + 1)
//    (T - F - t + s + 1)) decreases with s (log-concavity) and grows with t; so for every run of
//    the block, term k (k <= K) is at least e^m rho^k with rho = r(tBas, kHaut + K - 1). Along
//    the lower tail the ratio q(t, s) = s (T - F - t + s) / ((F - s + 1)(t - s + 1)) grows with s
//    and decreases with t: rho = q(tHaut, kBas - K + 1). A run follows one tail or the other, so
//    with G the smaller of the two sums 1 + rho + ... + rho^K (K chosen so that e^m rho^(K-1) is
//    still at least 1.1e-10), every tail sum of the block is at least e^m G. The rounding of the
//    model's terms (far below 1e-5 of their value) is covered by taking G 1e-5 lower.
//    Where the point probabilities may be below 1.1e-10, only the first term is sure: the model
//    adds it whenever its tail has one (f < F upwards, f > 0 downwards), computed from P raised
//    to the floor, so every tail sum is at least max(floor, e^m) (1 + rho) with rho the smaller of
//    r(tBas, kHaut) and q(tHaut, kBas), both 0 where a run of the block may have no first term.
//    Near the floor this is what tells the runs apart, their point probabilities being equal.
//
// 3. So with L the logarithm of that lower bound of the tail sums: when L > ln(threshold), every
//    coefficient of the block is 0; otherwise every magnitude in it is at most
//    1 - max(log10(floor), L / ln 10), plus 2e-10, far more than the rounding of log10. A block
//    is skipped only when every coefficient is 0 or that bound is strictly below the best
//    magnitude found so far: then no run in it can win or even tie. The winner of the plain walk is the first run, in the order of first part then
//    last part, of the largest magnitude (it replaces its best only on a strictly larger one);
//    the runs computed here are compared on exactly that (magnitude, then that order), whatever
//    order the blocks come in, so the answer is the same.
//
// 4. Ties at the floor. Many runs of a concentrated term reach the floor, and their magnitudes are
//    then equal: MagnitudeMax(), the largest magnitude any sum of at least the floor can give
//    (taken over every double from the floor to 1e-12 above it; beyond, the exact logarithm is
//    4.3e-13 smaller, far more than its rounding). Once the best reaches it, nothing can beat it
//    and only an earlier run can tie and win: every block whose first run comes after the best
//    is skipped.
//
// 5. Within a block, a run's coefficient is computed with the threshold lowered to the sum at
//    which its magnitude could no longer reach the best (10^(1 - best), raised by 1e-8 of itself,
//    far more than the rounding of pow and log10): the model then gives up on a beaten run at its
//    first term. Lowering the threshold never changes a coefficient that stays non-zero (it only
//    stops the computation), and a run given up that way has a magnitude strictly below the best.
//
// 6. Everything above takes the counts to be those of a consistent base (sub-frequencies at most
//    F, part sizes adding up to at most T, a threshold in (0, 1]); anything else goes through the
//    plain walk.
//
// The blocks wait in a queue, highest bound first (then the earliest first run), so that the best
// run is met early; the search ends when no block left can reach the best magnitude.

namespace {

constexpr double Ln10 = 2.302585092994045684;
const double Log10Plancher = std::log10(PlancherProba);
const double LnPlancher = std::log(PlancherProba);
constexpr double MoinsInfini = -std::numeric_limits<double>::infinity();
// Above 1e-10, the term below which the model stops a tail sum, with room for the rounding of
// its terms.
constexpr double TermeSur = 1.1e-10;
const double LnTermeSur = std::log(TermeSur);

// The largest magnitude the model can give: that of the sums closest to the floor.
double MagnitudeMax()
{
    static const double m = [] {
        double max = 0.0;
        const double fin = PlancherProba * (1.0 + 1e-12);
        for (double s = PlancherProba; s <= fin; s = std::nextafter(s, 1.0))
            max = std::max(max, std::fabs(std::log10(s) - 1.0));
        return max;
    }();
    return m;
}

// A block in the queue: its bound; i2 = -1 for a triangle over parts i1..j2, whose j1 is then i1
// (its first run is (i1, j1) either way).
struct Bloc {
    double borne;
    std::int32_t i1, i2, j1, j2;
};

// Whether a leaves the queue after b.
bool MoinsPrometteur(const Bloc &a, const Bloc &b)
{
    if (a.borne != b.borne)
        return a.borne < b.borne;
    return a.i1 != b.i1 ? a.i1 > b.i1 : a.j1 > b.j1;
}

} // namespace

RecherchePeriodes::RecherchePeriodes(std::int32_t T, std::vector<std::int32_t> taillesParties, double seuil,
                                     unsigned fils)
    : T_(T), tailles_(std::move(taillesParties)), seuil_(seuil), lnFact_(T, fils)
{
    cumulTailles_.assign(tailles_.size() + 1, 0);
    bool coherent = seuil_ > 0.0 && seuil_ <= 1.0;
    for (std::size_t k = 0; k < tailles_.size(); ++k) {
        coherent = coherent && tailles_[k] >= 0;
        cumulTailles_[k + 1] = cumulTailles_[k] + tailles_[k];
    }
    rapide_ = coherent && cumulTailles_.back() <= T_;
    minTailles_.push_back(tailles_);
    for (std::size_t largeur = 1; 2 * largeur <= tailles_.size(); largeur *= 2) {
        const std::vector<std::int32_t> &avant = minTailles_.back();
        std::vector<std::int32_t> niveau(tailles_.size() - 2 * largeur + 1);
        for (std::size_t k = 0; k < niveau.size(); ++k)
            niveau[k] = std::min(avant[k], avant[k + largeur]);
        minTailles_.push_back(std::move(niveau));
    }
    const double Td = std::max(1.0, static_cast<double>(T_));
    deuxDelta_ = 2 * (9 * 7.1e-8 + 512 * DBL_EPSILON * (LnFact(Td) + Td));
    lnSeuil_ = seuil_ > 0.0 ? std::log(seuil_) : MoinsInfini;
}

std::int32_t RecherchePeriodes::TailleMin(std::int32_t a, std::int32_t b) const
{
    const auto n = static_cast<std::size_t>(b - a + 1);
    std::size_t niveau = 0;
    while ((std::size_t{2} << niveau) <= n)
        ++niveau;
    const std::vector<std::int32_t> &m = minTailles_[niveau];
    return std::min(m[static_cast<std::size_t>(a)], m[static_cast<std::size_t>(b + 1) - (std::size_t{1} << niveau)]);
}

namespace {
// The look of a long search for a stop.
void Regarde(const std::atomic<bool> *arret)
{
    if (arret != nullptr && arret->load(std::memory_order_relaxed))
        throw RechercheArretee{};
    Veille();
}
} // namespace

Periode RecherchePeriodes::ChercheToutes(std::int32_t F, const std::int32_t *frq, const std::atomic<bool> *arret) const
{
    Periode meilleure;
    const auto parties = static_cast<std::int32_t>(tailles_.size());
    for (std::int32_t i = 0; i < parties; ++i) {
        if ((i & 0x3F) == 0)
            Regarde(arret);
        std::int64_t f = 0;
        std::int64_t t = 0;
        for (std::int32_t j = i; j < parties; ++j) {
            f += frq[j];
            t += tailles_[static_cast<std::size_t>(j)];
            const double c = CalcSpecif(lnFact_, T_, static_cast<double>(t), F, static_cast<double>(f), seuil_);
            if (std::fabs(c) > std::fabs(meilleure.Coef))
                meilleure = Periode{c, i, j, static_cast<std::int32_t>(f)};
        }
    }
    return meilleure;
}

struct RecherchePeriodes::Brouillon::Donnees {
    std::vector<std::int64_t> cumulFrq;
    std::vector<Bloc> file;  // a heap, the most promising block first
};

RecherchePeriodes::Brouillon::Brouillon() : d_(std::make_unique<Donnees>()) {}
RecherchePeriodes::Brouillon::~Brouillon() = default;

// One search: the term's counts and the best run so far.
struct RecherchePeriodes::Etat {
    const RecherchePeriodes &r;
    double T, F;
    double constante;  // ln(T - F)! - ln T! + ln F!
    const std::vector<std::int64_t> &cumulFrq;
    Periode meilleure;
    double magnitude = 0.0;  // |meilleure.Coef|
    double seuilUtile;       // the threshold lowered to what can still beat the best

    std::int64_t Taille(std::int32_t i, std::int32_t j) const
    {
        return r.cumulTailles_[static_cast<std::size_t>(j) + 1] - r.cumulTailles_[static_cast<std::size_t>(i)];
    }
    std::int64_t Frq(std::int32_t i, std::int32_t j) const
    {
        return cumulFrq[static_cast<std::size_t>(j) + 1] - cumulFrq[static_cast<std::size_t>(i)];
    }

    void Evalue(std::int32_t i, std::int32_t j)
    {
        const auto t = static_cast<double>(Taille(i, j));
        const auto f = static_cast<double>(Frq(i, j));
        const double c = CalcSpecif(r.lnFact_, T, t, F, f, seuilUtile);
        const double m = std::fabs(c);
        if (m > magnitude || (m == magnitude && m > 0.0 && Avant(i, j))) {
            meilleure = Periode{c, i, j, static_cast<std::int32_t>(Frq(i, j))};
            magnitude = m;
            seuilUtile = std::min(r.seuil_, std::pow(10.0, 1.0 - magnitude) * (1.0 + 1e-8));
        }
    }

    // Whether run (i, j) comes before the best in the walk's order.
    bool Avant(std::int32_t i, std::int32_t j) const
    {
        return i != meilleure.Premiere ? i < meilleure.Premiere : j < meilleure.Derniere;
    }

    // Whether no run of a block (its bound, its first run) can take the best's place.
    bool Inutile(double borne, std::int32_t i, std::int32_t j) const
    {
        return borne < magnitude || (magnitude >= MagnitudeMax() && !Avant(i, j));
    }

    // The smallest ln of the point probability at the four corners, the factors grouped by what
    // they depend on (the size, the sub-frequency, their difference); minus infinity when a
    // corner lies outside the support.
    double LnProbaMin(double tBas, double tHaut, double kBas, double kHaut) const
    {
        const TableLnFact &L = r.lnFact_;
        auto horsSupport = [&](double t, double k) { return k < 0.0 || k > F || k > t || t - k > T - F; };
        if (horsSupport(tBas, kBas) || horsSupport(tBas, kHaut) || horsSupport(tHaut, kBas) || horsSupport(tHaut, kHaut))
            return MoinsInfini;
        auto taille = [&](double t) { return L(T - t) + L(t); };
        auto frq = [&](double k) { return L(k) + L(F - k); };
        auto reste = [&](double v) { return L(T - F - v) + L(v); };  // v = t - k
        const double gBas = taille(tBas), hBas = frq(kBas);
        if (tBas == tHaut && kBas == kHaut)
            return constante + gBas - hBas - reste(tBas - kBas);
        const double gHaut = taille(tHaut), hHaut = frq(kHaut);
        return std::min({constante + gBas - hBas - reste(tBas - kBas), constante + gBas - hHaut - reste(tBas - kHaut),
                         constante + gHaut - hBas - reste(tHaut - kBas), constante + gHaut - hHaut - reste(tHaut - kHaut)});
    }

    // The ratios r (upper tail) and q (lower tail) at size t and value s; 0 where the next value
    // lies outside the support.
    double RapportHaut(double t, double s) const
    {
        const double d = (s + 1.0) * (T - F - t + s + 1.0);
        return s >= F || s >= t || d <= 0.0 ? 0.0 : ((F - s) * (t - s)) / d;
    }
    double RapportBas(double t, double s) const
    {
        const double n = s * (T - F - t + s);
        const double d = (F - s + 1.0) * (t - s + 1.0);
        return s <= 0.0 || n <= 0.0 || d <= 0.0 ? 0.0 : n / d;
    }

    // G of the bounds above: every tail sum of the block is at least pMin G.
    double Gain(double tBas, double tHaut, double kBas, double kHaut, double pMin) const
    {
        auto geometrique = [](double rho, double K) {  // 1 + rho + ... + rho^K
            if (!(rho > 0.0))
                return 1.0;
            if (rho >= 1.0)
                return K + 1.0;
            return (1.0 - std::pow(rho, K + 1.0)) / (1.0 - rho);
        };
        // At most K terms, as many as stay at least TermeSur when term k is pMin rho^k.
        auto termes = [&](double K, double rho) {
            if (rho >= 1.0)
                return K;
            if (!(rho > 0.0))
                return 1.0;
            return std::max(1.0, std::min(K, 1.0 + std::floor(std::log(pMin / TermeSur) / -std::log(rho))));
        };
        // About a standard deviation of terms, where a tail gathers most of its mass (any K holds).
        auto ecartType = [&](double t) {
            return std::sqrt(t * (F / T) * (1.0 - F / T) * (T - t) / std::max(1.0, T - 1.0));
        };
        auto queue = [&](double K, auto rapport) {
            if (!(K >= 1.0))
                return 1.0;
            double rho = rapport(K);
            const double moins = termes(K, rho);
            if (moins < K) {
                K = moins;
                rho = rapport(K);
            }
            return geometrique(rho, K);
        };
        const double haut = queue(std::min({std::ceil(ecartType(tBas)), F - kHaut, tBas - kHaut}),
                                  [&](double K) { return RapportHaut(tBas, kHaut + K - 1.0); });
        const double bas = queue(std::min(std::ceil(ecartType(tHaut)), kBas),
                                 [&](double K) { return RapportBas(tHaut, kBas - K + 1.0); });
        return std::max(1.0, std::min(haut, bas) * (1.0 - 1e-5));
    }

    // The bound of a block's magnitudes, or minus infinity when every coefficient in it is 0.
    double Borne(std::int32_t i1, std::int32_t i2, std::int32_t j1, std::int32_t j2, bool triangle) const
    {
        double tBas, tHaut, kBas, kHaut;
        if (triangle) {
            tBas = i1 == j2 ? static_cast<double>(Taille(i1, i1)) : r.TailleMin(i1, j2);
            tHaut = static_cast<double>(Taille(i1, j2));
            kHaut = static_cast<double>(Frq(i1, j2));
            kBas = i1 == j2 ? kHaut : 0.0;
        } else {
            tBas = static_cast<double>(Taille(i2, j1));
            tHaut = static_cast<double>(Taille(i1, j2));
            kBas = static_cast<double>(Frq(i2, j1));
            kHaut = static_cast<double>(Frq(i1, j2));
        }
        const double m = LnProbaMin(tBas, tHaut, kBas, kHaut) - r.deuxDelta_;
        if (m - 1e-9 > r.lnSeuil_)
            return MoinsInfini;
        const double borne = 1.0 - std::max(Log10Plancher, m / Ln10) + 2e-10;
        // The tail sums are worth their cost only where the point probability alone is not
        // enough.
        if (borne < magnitude)
            return borne;
        if (!(m > LnTermeSur)) {
            // Near the floor, the model adds one term at most: the first ratio tells the runs
            // apart (it stays 0 where a run may add none).
            const double rho = std::min(RapportHaut(tBas, kHaut), RapportBas(tHaut, kBas));
            const double L = std::max(LnPlancher, m) + std::log1p(rho * (1.0 - 1e-9));
            return 1.0 - L / Ln10 + 2e-10;
        }
        const double L = m + std::log(Gain(tBas, tHaut, kBas, kHaut, std::exp(m)));
        if (L - 1e-9 > r.lnSeuil_)
            return MoinsInfini;
        return 1.0 - std::max(Log10Plancher, L / Ln10) + 2e-10;
    }
};

Periode RecherchePeriodes::Cherche(std::int32_t F, const std::int32_t *frq, Brouillon &brouillon,
                                   const std::atomic<bool> *arret) const
{
    const auto parties = static_cast<std::int32_t>(tailles_.size());
    if (parties == 0)
        return {};
    std::vector<std::int64_t> &cumul = brouillon.d_->cumulFrq;
    cumul.assign(static_cast<std::size_t>(parties) + 1, 0);
    bool coherent = rapide_ && F >= 0 && F <= T_;
    for (std::int32_t k = 0; k < parties; ++k) {
        coherent = coherent && frq[k] >= 0;
        cumul[static_cast<std::size_t>(k) + 1] = cumul[static_cast<std::size_t>(k)] + frq[k];
    }
    if (!coherent || cumul.back() > F)
        return ChercheToutes(F, frq, arret);

    const double T = static_cast<double>(T_), Fd = static_cast<double>(F);
    Etat e{*this, T, Fd, (lnFact_(T - Fd) - lnFact_(T)) + lnFact_(Fd), cumul, {}, 0.0, seuil_};
    std::vector<Bloc> &file = brouillon.d_->file;
    file.clear();
    auto ajoute = [&](std::int32_t i1, std::int32_t i2, std::int32_t j1, std::int32_t j2, bool triangle) {
        const double borne = e.Borne(i1, i2, j1, j2, triangle);
        if (borne == MoinsInfini || e.Inutile(borne, i1, triangle ? i1 : j1))
            return;
        file.push_back(triangle ? Bloc{borne, i1, -1, i1, j2} : Bloc{borne, i1, i2, j1, j2});
        std::push_heap(file.begin(), file.end(), MoinsPrometteur);
    };
    ajoute(0, 0, 0, parties - 1, true);

    constexpr std::int64_t ExamenDirect = 4;  // runs up to which a block is computed run by run
    std::uint32_t tours = 0;
    while (!file.empty()) {
        if ((++tours & 0x3FFu) == 0)
            Regarde(arret);
        std::pop_heap(file.begin(), file.end(), MoinsPrometteur);
        const Bloc b = file.back();
        file.pop_back();
        if (b.borne < e.magnitude)
            break;
        if (e.Inutile(b.borne, b.i1, b.j1))
            continue;
        if (b.i2 < 0) {
            // The runs within each half, and the block of runs from the first half into the second.
            if (b.i1 == b.j2) {
                e.Evalue(b.i1, b.i1);
                continue;
            }
            const std::int32_t m = b.i1 + (b.j2 - b.i1) / 2;
            ajoute(b.i1, 0, 0, m, true);
            ajoute(m + 1, 0, 0, b.j2, true);
            ajoute(b.i1, m, m + 1, b.j2, false);
            continue;
        }
        const std::int64_t n = std::int64_t{b.i2 - b.i1 + 1} * (b.j2 - b.j1 + 1);
        if (n <= ExamenDirect) {
            for (std::int32_t i = b.i1; i <= b.i2; ++i)
                for (std::int32_t j = b.j1; j <= b.j2; ++j)
                    e.Evalue(i, j);
        } else if (b.i2 - b.i1 >= b.j2 - b.j1) {
            const std::int32_t m = b.i1 + (b.i2 - b.i1) / 2;
            ajoute(b.i1, m, b.j1, b.j2, false);
            ajoute(m + 1, b.i2, b.j1, b.j2, false);
        } else {
            const std::int32_t m = b.j1 + (b.j2 - b.j1) / 2;
            ajoute(b.i1, b.i2, b.j1, m, false);
            ajoute(b.i1, b.i2, m + 1, b.j2, false);
        }
    }
    return e.meilleure;
}
