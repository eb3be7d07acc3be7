// The run of consecutive parts over which a term is most specific: the search behind the
// chronological specificities.
//
// Every run (first part i, last part j >= i) has the coefficient of the model, computed on the
// run's size t and the term's sub-frequency f over the run. The answer is the run of largest
// magnitude; among runs of equal magnitude, the first in the order of first part, then of last
// part. The search is exact: it gives that run and that coefficient, bit for bit, but computes
// the coefficient of few runs (see periodes.cpp for the bounds that let it skip the others).
#pragma once

#include "engine/specificite.h"

#include <cstdint>
#include <atomic>
#include <memory>
#include <vector>

// Thrown by a search asked to stop.
struct RechercheArretee {};

struct Periode {
    double Coef = 0.0;          // unrounded coefficient; 0 when no run is significant
    std::int32_t Premiere = 0;  // first and last part of the run (0, 0 when none)
    std::int32_t Derniere = 0;
    std::int32_t f = 0;         // the term's frequency over the run
};

class RecherchePeriodes {
public:
    // T: the corpus size; the sizes of the parts in their order; the threshold probability. The
    // table of ln n! (8 bytes per occurrence of the corpus) is filled over `fils` threads.
    RecherchePeriodes(std::int32_t T, std::vector<std::int32_t> taillesParties, double seuil, unsigned fils = 1);

    // Work space of a search, kept by a thread from one search to the next (it grows with the
    // hardest term met).
    class Brouillon {
    public:
        Brouillon();
        ~Brouillon();
        Brouillon(const Brouillon &) = delete;
        Brouillon &operator=(const Brouillon &) = delete;

    private:
        friend class RecherchePeriodes;
        struct Donnees;
        std::unique_ptr<Donnees> d_;
    };

    // The best run of a term of total frequency F whose frequency in part k is frq[k] (one value
    // per part). Reads only the object's constant state: several threads may search at once,
    // each with its own work space.
    // A search of a frequent term over thousands of parts takes seconds: it looks at `arret`
    // (when given) and calls the watch now and then, and throws RechercheArretee once `arret` is
    // set (or lets the watch's CalculInterrompu through).
    Periode Cherche(std::int32_t F, const std::int32_t *frq, Brouillon &brouillon,
                    const std::atomic<bool> *arret = nullptr) const;
    Periode Cherche(std::int32_t F, const std::int32_t *frq, const std::atomic<bool> *arret = nullptr) const
    {
        Brouillon b;
        return Cherche(F, frq, b, arret);
    }

    std::int32_t NbParties() const { return static_cast<std::int32_t>(tailles_.size()); }

private:
    struct Etat;
    // Every run in order, one coefficient each: for counts on which the bounds of the fast
    // search do not hold (a threshold outside (0, 1], counts of an inconsistent base).
    Periode ChercheToutes(std::int32_t F, const std::int32_t *frq, const std::atomic<bool> *arret) const;

    // The smallest size among parts a..b.
    std::int32_t TailleMin(std::int32_t a, std::int32_t b) const;

    std::int32_t T_;
    std::vector<std::int32_t> tailles_;
    std::vector<std::int64_t> cumulTailles_;  // cumulTailles_[k]: the sizes of parts 0..k-1
    // minTailles_[n][k]: the smallest size among the 2^n parts from k.
    std::vector<std::vector<std::int32_t>> minTailles_;
    double seuil_;
    TableLnFact lnFact_;
    double deuxDelta_;  // twice the bound of the model's error on ln P
    double lnSeuil_;
    bool rapide_;       // the threshold and the part sizes allow the fast search
};
