#include "engine/section.h"

#include "engine/charg1.h"
#include "engine/tgen.h"

#include <algorithm>

Section::Section(charg1 *base, const std::int32_t *delimiteurs, std::int32_t n) : base_(base)
{
    if (delimiteurs != nullptr)
        for (std::int32_t i = 0; i < n; ++i)
            if (std::find(delimiteurs_.begin(), delimiteurs_.end(), delimiteurs[i]) == delimiteurs_.end())
                delimiteurs_.push_back(delimiteurs[i]);
    CalcDebuts();
}

void Section::CalcDebuts()
{
    debuts_.clear();
    nbOcc_.clear();
    const std::int32_t nbitem = base_ != nullptr ? base_->Nbitem() : 0;
    const std::int32_t nbform = base_ != nullptr ? base_->Nbform() : 0;
    // Entities are below Nbart: a table answers "is this item a delimiter" in constant time.
    const std::int32_t nbart = base_ != nullptr ? base_->Nbart() : 0;
    std::vector<char> estDelimiteur(static_cast<std::size_t>(std::max<std::int32_t>(nbart, 0)), 0);
    for (std::int32_t d : delimiteurs_)
        if (d >= 0 && d < nbart)
            estDelimiteur[static_cast<std::size_t>(d)] = 1;

    std::int32_t formes = 0;
    for (std::int32_t j = 0; j < nbitem; ++j) {
        const std::int32_t x = base_->Tnum(j);
        if (x >= 0 && x < nbform)
            ++formes;
        if (x >= 0 && x < nbart && estDelimiteur[static_cast<std::size_t>(x)]) {
            if (!debuts_.empty())
                nbOcc_.push_back(formes);
            debuts_.push_back(j + 1);
            formes = 0;
        }
    }
    if (!debuts_.empty())
        nbOcc_.push_back(formes);
    // One section per delimiter occurrence found in the text: for a sound base the sum of the
    // delimiters' dictionary frequencies, and never more starts than were found.
    nbSections_ = static_cast<std::int32_t>(debuts_.size());
    debuts_.push_back(nbitem);
}

std::int32_t Section::Debut(std::int32_t s) const
{
    if (s < 0 || s > nbSections_)
        return -1;
    return debuts_[static_cast<std::size_t>(s)];
}

std::int32_t Section::FrqTgen(const Tgen *groupe, std::int32_t s) const
{
    if (groupe == nullptr || !EstSection(s))
        return 0;
    return groupe->NbOccEntre(debuts_[static_cast<std::size_t>(s)], debuts_[static_cast<std::size_t>(s) + 1]);
}

std::int32_t Section::NbOcc(std::int32_t s) const
{
    if (!EstSection(s))
        return 0;
    return nbOcc_[static_cast<std::size_t>(s)];
}

std::int32_t Section::FrqForme(std::int32_t forme, std::int32_t s) const
{
    if (!EstSection(s))
        return 0;
    std::int32_t n = 0;
    for (std::int32_t p = debuts_[static_cast<std::size_t>(s)]; p < debuts_[static_cast<std::size_t>(s) + 1]; ++p)
        if (base_->Tnum(p) == forme)
            ++n;
    return n;
}
