#include "engine/primspecchr.h"

#include "engine/charg1.h"
#include "engine/fils.h"
#include "engine/partition.h"
#include "engine/periodes.h"
#include "engine/specificite.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <tuple>

PrimSpecChr::PrimSpecChr(Partition *partition, std::int32_t seuilPourcent, std::int32_t freqMin)
    : partition_(partition), seuil_(seuilPourcent * 0.01), freqMin_(freqMin)
{
}

PrimSpecChr::~PrimSpecChr() = default;

void PrimSpecChr::Prepare()
{
    parties_ = partition_->NbParties();
    charg1 *base = partition_->Base();
    T_ = base != nullptr ? base->Nbocc() : 0;
    std::vector<std::int32_t> tailles(static_cast<std::size_t>(std::max<std::int32_t>(parties_, 0)), 0);
    for (std::int32_t k = 0; k < parties_; ++k)
        tailles[static_cast<std::size_t>(k)] = partition_->NbOccPartie(k);
    recherche_ = std::make_unique<RecherchePeriodes>(T_, std::move(tailles), seuil_, FilsMachine());
}

namespace {

// What the threads of one computation share.
struct Partage {
    std::mutex verrou;
    std::condition_variable avance;
    std::int32_t faites = 0;          // forms examined (under the lock)
    std::int64_t poids = 0;           // their occurrences (under the lock)
    std::exception_ptr erreur;        // the first failure of a thread (under the lock)
    std::atomic<std::int32_t> prochaine{0};
    std::atomic<bool> arret{false};
};

// Forms taken at a time by a thread: the first ones, the most frequent, one by one (a frequent
// form over thousands of parts takes seconds: several of them on one thread would hold the
// whole computation back), the others by lots.
constexpr std::int32_t Seules = 64;
constexpr std::int32_t Lot = 8;

// The forms of the ticket t: [debut, fin) before the bound n.
std::pair<std::int32_t, std::int32_t> FormesDuTicket(std::int32_t t, std::int32_t n)
{
    const std::int64_t debut = t < Seules ? t : Seules + std::int64_t{t - Seules} * Lot;
    const std::int64_t fin = t < Seules ? debut + 1 : debut + Lot;
    return {static_cast<std::int32_t>(std::min<std::int64_t>(debut, n)), static_cast<std::int32_t>(std::min<std::int64_t>(fin, n))};
}

} // namespace

void PrimSpecChr::Calcule(FnProgression pas)
{
    Prepare();
    // The search's table is large (8 bytes per occurrence): it goes with the computation.
    struct Libere {
        std::unique_ptr<RecherchePeriodes> &r;
        ~Libere() { r.reset(); }
    } libere{recherche_};
    charg1 *base = partition_->Base();
    if (base == nullptr)
        return;
    // Only the forms above the minimum frequency cost anything (the others are dismissed at
    // once): they are the ones spread over the threads, and the steps are spread over them.
    const std::int32_t nbform = std::max<std::int32_t>(base->Nbform(), 0);
    std::vector<std::int32_t> examinees;
    for (std::int32_t e = 0; e < nbform; ++e)
        if (base->RetourneFrq(e) > freqMin_)
            examinees.push_back(e);
    const auto n = static_cast<std::int32_t>(examinees.size());
    std::vector<StructSpecChr> trouvees(examinees.size());
    std::vector<char> aLigne(examinees.size(), 0);
    // The steps are those of a walk stepping after every hundredth of the examined forms, made
    // as the occurrences of the forms done add up: the most frequent forms come first and cost
    // the most, and counted by forms the bar would sit still through them.
    std::int64_t occurrences = 0;
    for (std::int32_t e : examinees)
        occurrences += base->RetourneFrq(e);
    PasRepartis progression(pas, NbAppelsCentiemes(n), occurrences);
    auto avance = [&](std::int64_t poids) { progression.Atteint(poids); };
    const auto poidsDe = [&](std::int32_t debut, std::int32_t fin) {
        std::int64_t p = 0;
        for (std::int32_t k = debut; k < fin; ++k)
            p += base->RetourneFrq(examinees[static_cast<std::size_t>(k)]);
        return p;
    };

    Partage partage;
    auto travaille = [&](bool seul) {
        try {
            for (;;) {
                const auto [debut, fin] = FormesDuTicket(partage.prochaine.fetch_add(1), n);
                if (debut >= n || partage.arret.load())
                    break;
                for (std::int32_t k = debut; k < fin; ++k)
                    aLigne[static_cast<std::size_t>(k)] =
                        Examine(examinees[static_cast<std::size_t>(k)], trouvees[static_cast<std::size_t>(k)],
                                seul ? nullptr : &partage.arret)
                            ? 1
                            : 0;
                const std::int64_t poidsLot = poidsDe(debut, fin);
                std::int64_t poids;
                {
                    std::lock_guard<std::mutex> g(partage.verrou);
                    partage.faites += fin - debut;
                    poids = partage.poids += poidsLot;
                }
                if (seul) {
                    avance(poids);
                    Veille();
                } else
                    partage.avance.notify_one();
            }
        } catch (const RechercheArretee &) {
            // The calling thread stopped the work: nothing to tell it.
        } catch (...) {
            if (seul)
                throw;
            std::lock_guard<std::mutex> g(partage.verrou);
            if (!partage.erreur)
                partage.erreur = std::current_exception();
            partage.arret = true;
            partage.avance.notify_one();
        }
    };

    {
        Fils travailleurs;
        std::int32_t lances = 0;
        const auto voulus = static_cast<std::int32_t>(std::min<std::int64_t>(FilsMachine(), n));
        for (std::int32_t k = 0; k < voulus; ++k)
            lances += travailleurs.Lance([&] { travaille(false); }) ? 1 : 0;
        if (lances == 0) {
            travaille(true);
        } else {
            // The calling thread only follows the others and calls the callback; when the callback
            // throws, the others stop after the forms they hold and are waited for.
            try {
                std::unique_lock<std::mutex> v(partage.verrou);
                for (;;) {
                    const std::int32_t faites = partage.faites;
                    const std::int64_t poids = partage.poids;
                    v.unlock();
                    avance(poids);
                    v.lock();
                    if (partage.erreur || partage.faites == n)
                        break;
                    // Not only when forms are done: the watch is kept while a thread holds
                    // forms that take long.
                    partage.avance.wait_for(v, std::chrono::milliseconds(20),
                                            [&] { return partage.faites != faites || partage.erreur; });
                    v.unlock();
                    Veille();
                    v.lock();
                }
            } catch (...) {
                partage.arret = true;
                throw;
            }
        }
        travailleurs.Attend();
    }
    if (partage.erreur)
        std::rethrow_exception(partage.erreur);
    avance(occurrences);

    std::size_t lignes = 0;
    for (char l : aLigne)
        lignes += l != 0;
    lignes_.reserve(lignes_.size() + lignes);
    for (std::size_t k = 0; k < trouvees.size(); ++k)
        if (aLigne[k])
            lignes_.push_back(trouvees[k]);
}

void PrimSpecChr::CalculeEntite(std::int32_t entite)
{
    if (!recherche_)
        Prepare();
    StructSpecChr ligne;
    if (Examine(entite, ligne))
        lignes_.push_back(ligne);
}

bool PrimSpecChr::Examine(std::int32_t e, StructSpecChr &ligne, const std::atomic<bool> *arret) const
{
    charg1 *base = partition_->Base();
    if (base == nullptr)
        return false;
    // The strict test also dismisses every entity the base does not know (frequency -1).
    const std::int32_t F = base->RetourneFrq(e);
    if (!(F > freqMin_))
        return false;
    const std::vector<std::int32_t> frq = partition_->FrqParPartie(e);
    const Periode meilleure = recherche_->Cherche(F, frq.data(), arret);
    std::int32_t coef = ArrondiSpecif(meilleure.Coef);
    std::int32_t premiere = meilleure.Premiere, derniere = meilleure.Derniere;
    if (coef == 0)
        return false;
    if (coef < 0 && premiere == 0) {
        // Under-use from the first part on: the rest of the parts over-uses the term.
        coef = -coef;
        premiere = derniere + 1;
        derniere = parties_ - 1;
    } else if (coef < 0 && derniere == parties_ - 1) {
        coef = -coef;
        derniere = premiere - 1;
        premiere = 0;
    }
    ligne = StructSpecChr{e, meilleure.f, coef, premiere, derniere};
    return true;
}

void PrimSpecChr::Trie(int code)
{
    charg1 *base = partition_->Base();
    if (code < 0 || code > 9 || base == nullptr)
        return;
    auto cle = [&](const StructSpecChr &l) -> std::tuple<std::int32_t, std::int32_t> {
        switch (code) {
        case AlphaCroissant:
        case AlphaDecroissant:
            return {base->Lexg(l.Entite), 0};
        case FrqCroissante:
        case FrqDecroissante:
            return {base->RetourneFrq(l.Entite), 0};
        case PeriodeCroissante:
        case PeriodeDecroissante:
            return {l.Premiere, l.Derniere};
        case SousFrqCroissante:
        case SousFrqDecroissante:
            return {l.f, 0};
        default:
            return {l.Coef, 0};
        }
    };
    const bool decroissant = code % 2 == 1;
    std::sort(lignes_.begin(), lignes_.end(), [&](const StructSpecChr &a, const StructSpecChr &b) {
        const auto ka = cle(a);
        const auto kb = cle(b);
        if (ka != kb)
            return decroissant ? kb < ka : ka < kb;
        return a.Entite < b.Entite;
    });
}
