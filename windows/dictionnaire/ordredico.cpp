#include "windows/dictionnaire/ordredico.h"

#include "engine/charg1.h"

#include <algorithm>
#include <cstring>

namespace talmer {

OrdreDictionnaire::OrdreDictionnaire(const charg1 &base)
    : base_(base), nbForm_(std::max(0, base.Nbform())),
      nbLignes_(nbForm_ + std::max(0, base.Nbartponct()))
{
}

void OrdreDictionnaire::FixeAlphabetique(bool alphabetique)
{
    alphabetique_ = alphabetique;
    if (!alphabetique || !ordre_.empty())
        return;
    // The alphabetical indexes come from the .dic file: an index outside 0..Nbform-1, or one
    // that a form already took, is not trusted to place a form. Those forms take the rows left
    // free, in frequency order, so every form is still shown exactly once.
    const auto n = static_cast<std::size_t>(nbForm_);
    ordre_.assign(n, -1);
    rang_.assign(n, -1);
    std::vector<std::int32_t> egares;
    for (std::int32_t i = 0; i < nbForm_; ++i) {
        const std::int32_t lexg = base_.Lexg(i);
        if (lexg >= 0 && lexg < nbForm_ && ordre_[static_cast<std::size_t>(lexg)] < 0) {
            ordre_[static_cast<std::size_t>(lexg)] = i;
            rang_[static_cast<std::size_t>(i)] = lexg;
        } else {
            egares.push_back(i);
        }
    }
    auto it = egares.begin();
    for (std::size_t r = 0; r < n && it != egares.end(); ++r) {
        if (ordre_[r] < 0) {
            ordre_[r] = *it;
            rang_[static_cast<std::size_t>(*it)] = static_cast<std::int32_t>(r);
            ++it;
        }
    }
}

std::int32_t OrdreDictionnaire::Entite(std::int32_t ligne) const
{
    if (ligne < 0 || ligne >= nbLignes_)
        return -1;
    if (alphabetique_ && ligne < nbForm_)
        return ordre_[static_cast<std::size_t>(ligne)];
    return ligne;
}

std::int32_t OrdreDictionnaire::Ligne(std::int32_t entite) const
{
    if (entite < 0 || entite >= nbLignes_)
        return -1;
    if (alphabetique_ && entite < nbForm_)
        return rang_[static_cast<std::size_t>(entite)];
    return entite;
}

std::int32_t OrdreDictionnaire::Cherche(std::string_view prefixe, std::int32_t apres) const
{
    if (prefixe.empty())
        return -1;
    for (std::int32_t ligne = std::max(-1, apres) + 1; ligne < nbLignes_; ++ligne) {
        const char *graphie = base_.RetourneGraphie(Entite(ligne), true);
        // Only within the spelling: a spelling shorter than the prefix cannot match.
        const std::size_t longueur = std::strlen(graphie);
        if (longueur >= prefixe.size() && std::memcmp(graphie, prefixe.data(), prefixe.size()) == 0)
            return ligne;
    }
    return -1;
}

} // namespace talmer
