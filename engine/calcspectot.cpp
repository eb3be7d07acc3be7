#include "engine/calcspectot.h"

#include "engine/partition.h"

#include <algorithm>

namespace {

// Puts the partition's selected flags back as they were, however the computation ends.
class SauveSelection {
public:
    explicit SauveSelection(Partition *p) : partition_(p), sauve_(p->CopieSelection()) {}
    ~SauveSelection() { partition_->RestaureSelection(sauve_); }
    SauveSelection(const SauveSelection &) = delete;
    SauveSelection &operator=(const SauveSelection &) = delete;

private:
    Partition *partition_;
    std::vector<char> sauve_;
};

} // namespace

CalcSpecTot::CalcSpecTot(Partition *partition, bool /*option1*/, bool /*option2*/, FnProgression pas,
                         FnProgression remiseAZero)
    : pas_(pas), remiseAZero_(remiseAZero), partition_(partition)
{
    for (std::int32_t k = 0; k < partition_->NbParties(); ++k)
        if (partition_->EstCochee(k))
            indicesParties_.push_back(k);
    nbPartiesCalculees_ = static_cast<std::int32_t>(indicesParties_.size());
    CalculeSpecParties();
}

void CalcSpecTot::CalculeSpecParties()
{
    SauveSelection garde(partition_);
    const std::int32_t parties = partition_->NbParties();
    for (std::int32_t k = 0; k < parties; ++k)
        partition_->Selectionne(k, false);
    // Every column has the same reference parts: their frequencies are summed once.
    const PrimSpec::Marges marges = PrimSpec::PrepareMarges(*partition_);
    for (std::int32_t i = 0; i < parties; ++i) {
        if (i > 0)
            partition_->Selectionne(i - 1, false);
        if (!partition_->EstCochee(i))
            continue;
        partition_->Selectionne(i, true);
        auto calcul = std::make_unique<PrimSpec>(partition_, 1);
        calcul->SetProgression(pas_);
        calcul->CalculePartie(marges, i);

        std::vector<std::pair<std::int32_t, std::int32_t>> index;
        index.reserve(calcul->Liste().size());
        for (const StructSpec &ligne : calcul->Liste())
            index.emplace_back(ligne.Entite, ligne.Coef);
        std::sort(index.begin(), index.end());
        index_.push_back(std::move(index));
        parties_.push_back(std::move(calcul));
    }
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
