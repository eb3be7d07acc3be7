#include "services/parametres.h"

#include "engine/segmenteur.h"

namespace {
std::int32_t maxArt = MaxArtDefaut;
std::int32_t nbEtiquettes = 1;
} // namespace

std::int32_t MaxArt()
{
    return maxArt;
}

void FixeMaxArt(std::int32_t n)
{
    maxArt = n;
}

std::int32_t NbEtiquettes()
{
    return nbEtiquettes;
}

void FixeNbEtiquettes(std::int32_t n)
{
    nbEtiquettes = n;
}
