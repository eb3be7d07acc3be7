#include "windows/specificites/drapeaux.h"

#include "engine/partition.h"

namespace talmer {

GardeDrapeaux::GardeDrapeaux(Partition &partition)
    : partition_(partition), selection_(partition.CopieSelection())
{
    for (std::int32_t k = 0; k < partition.NbParties(); ++k)
        cochees_.push_back(partition.EstCochee(k) ? 1 : 0);
}

GardeDrapeaux::~GardeDrapeaux()
{
    Restaure();
}

void GardeDrapeaux::Restaure()
{
    // Checked first: a part can be selected only while it is checked.
    for (std::size_t k = 0; k < cochees_.size(); ++k)
        partition_.Coche(static_cast<std::int32_t>(k), cochees_[k] != 0);
    partition_.RestaureSelection(selection_);
}

} // namespace talmer
