#include "windows/specificites/frequencesparties.h"

#include "engine/charg1.h"
#include "engine/partition.h"

#include <algorithm>

namespace talmer {

FrequencesParties::FrequencesParties(const Partition *partition) : partition_(partition)
{
    if (partition_ != nullptr) {
        nbParties_ = partition_->NbParties();
        if (partition_->Base() != nullptr)
            nbform_ = partition_->Base()->Nbform();
    }
}

const std::vector<TableCreuse::Cellule> &FrequencesParties::Autre(std::int32_t entite) const
{
    auto it = autres_.find(entite);
    if (it == autres_.end()) {
        std::vector<TableCreuse::Cellule> parties;
        if (partition_ != nullptr)
            parties = partition_->FrqCreuseParPartie(entite);
        parties.shrink_to_fit();
        it = autres_.emplace(entite, std::move(parties)).first;
    }
    return it->second;
}

std::vector<std::int32_t> FrequencesParties::Ligne(std::int32_t entite) const
{
    if (entite >= 0 && entite < nbform_)
        return partition_->Table().LigneDense(entite);
    std::vector<std::int32_t> ligne(static_cast<std::size_t>(nbParties_), 0);
    for (const TableCreuse::Cellule &c : Autre(entite))
        if (c.colonne >= 0 && c.colonne < nbParties_)
            ligne[static_cast<std::size_t>(c.colonne)] = c.valeur;
    return ligne;
}

std::int32_t FrequencesParties::Frq(std::int32_t entite, std::int32_t partie) const
{
    if (partie < 0 || partie >= nbParties_)
        return 0;
    if (entite >= 0 && entite < nbform_)
        return partition_->Table().Valeur(entite, partie);
    const std::vector<TableCreuse::Cellule> &parties = Autre(entite);
    const auto it = std::lower_bound(parties.begin(), parties.end(), partie,
                                     [](const TableCreuse::Cellule &c, std::int32_t k) { return c.colonne < k; });
    return it != parties.end() && it->colonne == partie ? it->valeur : 0;
}

} // namespace talmer
