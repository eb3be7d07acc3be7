#include "engine/calcspectot.h"

#include "engine/charg1.h"
#include "engine/fils.h"
#include "engine/partition.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <functional>
#include <mutex>
#include <optional>

namespace {

// The progress calls of the whole computation, in the order a computation column after column
// makes them (per column the forms' calls, phase 0, then the segments', phase 1), made as the
// work advances: the calls stay the same, only the moments when they come depend on the threads.
class Appels {
public:
    Appels(FnProgression pas, std::int64_t colonnes, std::int64_t formes, std::int64_t segments)
        : pas_(pas), formes_(formes), parColonne_(formes + segments), total_(colonnes * (formes + segments))
    {
    }
    // The work done so far, `fait` out of `sur`: the calls made reach the same share of all.
    void Part(std::int64_t fait, std::int64_t sur)
    {
        if (sur <= 0)
            return;
        const std::int64_t dus = std::clamp<std::int64_t>(fait, 0, sur) * total_ / sur;
        for (; faits_ < dus; ++faits_)
            if (pas_ != nullptr)
                pas_(faits_ % parColonne_ < formes_ ? 0 : 1);
    }
    std::int64_t Total() const { return total_; }

private:
    FnProgression pas_;
    std::int64_t formes_;
    std::int64_t parColonne_;
    std::int64_t total_;
    std::int64_t faits_ = 0;
};

// Reading the segments' positions before the columns, on one thread, takes about as long as
// this many columns on each thread (a read per segment against a few lookups per segment and
// column): its share of the progress.
constexpr std::int64_t ColonnesParLecture = 64;

// Thrown in a thread by its step function, to leave its column once the work stops.
struct Arret {};

// What the threads of one computation share.
struct Partage {
    std::mutex verrou;
    std::condition_variable avance;
    std::int32_t finies = 0;              // columns done (under the lock)
    std::exception_ptr erreur;            // the first failure of a thread (under the lock)
    std::atomic<std::int32_t> prochaine{0};
    std::atomic<std::int64_t> pas{0};     // progress steps the columns have passed
    std::atomic<bool> arret{false};
};

// How often the calling thread looks at the threads' progress while it waits.
constexpr std::chrono::milliseconds Regard(20);

} // namespace

CalcSpecTot::CalcSpecTot(Partition *partition, bool /*option1*/, bool /*option2*/, FnProgression pas,
                         FnProgression remiseAZero, unsigned fils)
    : pas_(pas), remiseAZero_(remiseAZero), partition_(partition)
{
    for (std::int32_t k = 0; k < partition_->NbParties(); ++k)
        if (partition_->EstCochee(k))
            indicesParties_.push_back(k);
    nbPartiesCalculees_ = static_cast<std::int32_t>(indicesParties_.size());
    CalculeSpecParties(fils == 0 ? FilsMachine() : fils);
}

void CalcSpecTot::CalculeSpecParties(unsigned fils)
{
    const auto n = static_cast<std::int32_t>(indicesParties_.size());
    const charg1 *base = partition_->Base();
    const std::int64_t segments =
        base != nullptr ? std::max<std::int64_t>(std::int64_t{base->NbTotEntites()} - base->Nbart(), 0) : 0;
    const std::int32_t voulus = std::min<std::int32_t>(static_cast<std::int32_t>(std::min(fils, 1024u)), n);

    // The progress: the reading of the segments' share, then the columns' steps, out of `sur`.
    std::optional<Appels> appels;
    std::int64_t lecture = 0;
    std::int64_t sur = 0;
    auto prepare = [&](const PrimSpec::Marges &m) {
        if (appels)
            return;
        appels.emplace(pas_, n, static_cast<std::int64_t>(m.appelsFormes.size()),
                       static_cast<std::int64_t>(m.appelsSegments.size()));
        const std::int64_t parColonne = n > 0 ? appels->Total() / n : 0;
        lecture = segments > 0 ? ColonnesParLecture * std::max(voulus, 1) * parColonne : 0;
        sur = lecture + appels->Total();
    };
    // Every column has the same reference parts: their frequencies are summed once.
    const PrimSpec::Marges marges = PrimSpec::PrepareMarges(*partition_, [&](const PrimSpec::Marges &m, std::int32_t lus) {
        prepare(m);
        appels->Part(lecture * lus / std::max<std::int64_t>(segments, 1), sur);
    });
    prepare(marges);
    appels->Part(lecture, sur);

    // Column k is made by one thread alone, from the margins and the partition, read only.
    std::vector<std::unique_ptr<PrimSpec>> colonnes(static_cast<std::size_t>(n));
    std::vector<std::vector<std::pair<std::int32_t, std::int32_t>>> index(static_cast<std::size_t>(n));
    auto calculeColonne = [&](std::int32_t k, const std::function<void(std::int32_t)> &pas) {
        auto calcul = std::make_unique<PrimSpec>(partition_, 1);
        calcul->CalculePartie(marges, indicesParties_[static_cast<std::size_t>(k)], pas);
        std::vector<std::pair<std::int32_t, std::int32_t>> lignes;
        lignes.reserve(calcul->Liste().size());
        for (const StructSpec &ligne : calcul->Liste())
            lignes.emplace_back(ligne.Entite, ligne.Coef);
        std::sort(lignes.begin(), lignes.end());
        index[static_cast<std::size_t>(k)] = std::move(lignes);
        colonnes[static_cast<std::size_t>(k)] = std::move(calcul);
    };

    Partage partage;
    auto travaille = [&] {
        try {
            const std::function<void(std::int32_t)> pas = [&](std::int32_t) {
                partage.pas.fetch_add(1, std::memory_order_relaxed);
                if (partage.arret.load(std::memory_order_relaxed))
                    throw Arret{};
            };
            for (;;) {
                const std::int32_t k = partage.prochaine.fetch_add(1);
                if (k >= n || partage.arret.load())
                    break;
                calculeColonne(k, pas);
                {
                    std::lock_guard<std::mutex> g(partage.verrou);
                    ++partage.finies;
                }
                partage.avance.notify_one();
            }
        } catch (const Arret &) {
        } catch (...) {
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
        if (voulus > 1)
            for (std::int32_t k = 0; k < voulus; ++k)
                lances += travailleurs.Lance(travaille) ? 1 : 0;
        if (lances == 0) {
            // One thread: the calling one makes each call as it passes the step.
            std::int64_t faits = 0;
            const std::function<void(std::int32_t)> pas = [&](std::int32_t) {
                appels->Part(lecture + ++faits, sur);
                Veille();
            };
            for (std::int32_t k = 0; k < n; ++k)
                calculeColonne(k, pas);
        } else {
            // The calling thread only follows the others and makes the calls; when a call throws,
            // the others leave their columns at their next step and are waited for.
            try {
                std::unique_lock<std::mutex> v(partage.verrou);
                for (;;) {
                    const bool fini = partage.erreur || partage.finies == n;
                    v.unlock();
                    if (fini)
                        break;
                    appels->Part(lecture + partage.pas.load(std::memory_order_relaxed), sur);
                    Veille();
                    v.lock();
                    partage.avance.wait_for(v, Regard, [&] { return partage.erreur || partage.finies == n; });
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
    appels->Part(sur, sur);
    parties_ = std::move(colonnes);
    index_ = std::move(index);
}

const PrimSpec *CalcSpecTot::Colonne(std::int32_t k) const
{
    if (k < 0 || k >= static_cast<std::int32_t>(parties_.size()))
        return nullptr;
    return parties_[static_cast<std::size_t>(k)].get();
}

std::int32_t CalcSpecTot::RetourneSpec(std::int32_t entite, std::int32_t colonne) const
{
    if (colonne < 0 || colonne >= static_cast<std::int32_t>(index_.size()))
        return 0;
    const auto &index = index_[static_cast<std::size_t>(colonne)];
    const auto it = std::lower_bound(index.begin(), index.end(), entite,
                                     [](const std::pair<std::int32_t, std::int32_t> &l, std::int32_t e) {
                                         return l.first < e;
                                     });
    if (it == index.end() || it->first != entite)
        return 0;
    return it->second;
}

LecteurSpecTot::LecteurSpecTot(const CalcSpecTot &calcul) : calcul_(calcul), positions_(calcul.index_.size(), 0) {}

std::int32_t LecteurSpecTot::Coef(std::int32_t entite, std::int32_t colonne)
{
    if (colonne < 0 || colonne >= static_cast<std::int32_t>(positions_.size()))
        return 0;
    const auto &index = calcul_.index_[static_cast<std::size_t>(colonne)];
    const auto avant = [](const std::pair<std::int32_t, std::int32_t> &l, std::int32_t e) { return l.first < e; };
    // Every row before p is of an entity below the last one read.
    std::size_t &p = positions_[static_cast<std::size_t>(colonne)];
    if (p > 0 && index[p - 1].first >= entite) {
        p = static_cast<std::size_t>(std::lower_bound(index.begin(), index.begin() + static_cast<std::ptrdiff_t>(p), entite, avant) -
                                     index.begin());
    } else {
        // A few steps forward, then a search of the rest.
        for (int pas = 0; p < index.size() && index[p].first < entite; ++p) {
            if (++pas == 4) {
                p = static_cast<std::size_t>(
                    std::lower_bound(index.begin() + static_cast<std::ptrdiff_t>(p), index.end(), entite, avant) - index.begin());
                break;
            }
        }
    }
    return p < index.size() && index[p].first == entite ? index[p].second : 0;
}
