#include "engine/tgen.h"

#include "engine/charg1.h"

#include <algorithm>

namespace {

// The program-wide colour turn.
int indexCouleur = 0;

} // namespace

Tgen::Tgen(charg1 *base, const std::int32_t *formes, std::int32_t n, const char *nom)
    : base_(base), couleur_(Palette[indexCouleur])
{
    indexCouleur = (indexCouleur + 1) % TaillePalette;
    if (formes != nullptr && n > 0)
        formes_.assign(formes, formes + n);
    if (nom != nullptr && nom[0] != '\0') {
        nom_ = nom;
    } else if (!formes_.empty() && base_ != nullptr) {
        nom_ = base_->RetourneGraphie(formes_[0], false);
        if (formes_.size() > 1)
            nom_ += '+';
    }
    LocOcc();
}

void Tgen::LocOcc()
{
    positions_.clear();
    if (base_ != nullptr && !formes_.empty())
        positions_ = base_->LocOccFor(formes_.data(), NbFormes());
    triees_ = positions_;
    if (!std::is_sorted(triees_.begin(), triees_.end()))
        std::sort(triees_.begin(), triees_.end());
}

void Tgen::RemplaceFormes(std::vector<std::int32_t> formes)
{
    formes_ = std::move(formes);
    LocOcc();
}

bool Tgen::Contient(std::int32_t p) const
{
    return std::binary_search(triees_.begin(), triees_.end(), p);
}

std::int32_t Tgen::NbOccEntre(std::int32_t debut, std::int32_t fin) const
{
    if (fin <= debut)
        return 0;
    const auto a = std::lower_bound(triees_.begin(), triees_.end(), debut);
    const auto b = std::lower_bound(a, triees_.end(), fin);
    return static_cast<std::int32_t>(b - a);
}

std::vector<char> Tgen::MasqueItems() const
{
    const std::int32_t nbitem = base_ != nullptr ? base_->Nbitem() : 0;
    std::vector<char> masque(static_cast<std::size_t>(std::max<std::int32_t>(nbitem, 0)), 0);
    for (std::int32_t p : triees_)
        if (p >= 0 && p < nbitem)
            masque[static_cast<std::size_t>(p)] = 1;
    return masque;
}

int Tgen::IndexCouleurSuivante()
{
    return indexCouleur;
}
