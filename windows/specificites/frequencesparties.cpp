#include "windows/specificites/frequencesparties.h"

#include "engine/charg1.h"
#include "engine/partition.h"

namespace talmer {

FrequencesParties::FrequencesParties(const Partition *partition) : partition_(partition)
{
    if (partition_ != nullptr) {
        nbParties_ = partition_->NbParties();
        if (partition_->Base() != nullptr)
            nbform_ = partition_->Base()->Nbform();
    }
}

const std::vector<std::int32_t> &FrequencesParties::Autre(std::int32_t entite) const
{
    auto it = autres_.find(entite);
    if (it == autres_.end()) {
        std::vector<std::int32_t> frq;
        if (partition_ != nullptr)
            frq = partition_->FrqParPartie(entite);
        frq.resize(static_cast<std::size_t>(nbParties_), 0);
        it = autres_.emplace(entite, std::move(frq)).first;
    }
    return it->second;
}

std::vector<std::int32_t> FrequencesParties::Ligne(std::int32_t entite) const
{
    if (entite >= 0 && entite < nbform_)
        return partition_->Table().LigneDense(entite);
    return Autre(entite);
}

std::int32_t FrequencesParties::Frq(std::int32_t entite, std::int32_t partie) const
{
    if (partie < 0 || partie >= nbParties_)
        return 0;
    if (entite >= 0 && entite < nbform_)
        return partition_->Table().Valeur(entite, partie);
    return Autre(entite)[static_cast<std::size_t>(partie)];
}

} // namespace talmer
