#include "engine/primspecchr.h"

#include "engine/charg1.h"
#include "engine/partition.h"
#include "engine/specificite.h"

#include <algorithm>
#include <cmath>
#include <tuple>

PrimSpecChr::PrimSpecChr(Partition *partition, std::int32_t seuilPourcent, std::int32_t freqMin)
    : partition_(partition), seuil_(seuilPourcent * 0.01), freqMin_(freqMin)
{
}

void PrimSpecChr::Prepare()
{
    parties_ = partition_->NbParties();
    charg1 *base = partition_->Base();
    T_ = base != nullptr ? base->Nbocc() : 0;
    taillesParties_.assign(static_cast<std::size_t>(std::max<std::int32_t>(parties_, 0)), 0);
    for (std::int32_t k = 0; k < parties_; ++k)
        taillesParties_[static_cast<std::size_t>(k)] = partition_->NbOccPartie(k);
    prepare_ = true;
}

void PrimSpecChr::Calcule(FnProgression pas)
{
    Prepare();
    charg1 *base = partition_->Base();
    if (base == nullptr)
        return;
    const std::int32_t nbform = base->Nbform();
    // Only the forms above the minimum frequency cost anything (the others are dismissed at
    // once): the steps are spread over them.
    std::int32_t examinees = 0;
    for (std::int32_t e = 0; e < nbform; ++e)
        if (base->RetourneFrq(e) > freqMin_)
            ++examinees;
    PasCentiemes progression(pas, examinees);
    // The new rows join the list only once every form has been examined.
    std::vector<StructSpecChr> nouvelles;
    for (std::int32_t e = 0; e < nbform; ++e) {
        if (!(base->RetourneFrq(e) > freqMin_))
            continue;
        StructSpecChr ligne;
        if (Examine(e, ligne))
            nouvelles.push_back(ligne);
        progression.Avance();
    }
    lignes_.reserve(lignes_.size() + nouvelles.size());
    lignes_.insert(lignes_.end(), nouvelles.begin(), nouvelles.end());
}

void PrimSpecChr::CalculeEntite(std::int32_t entite)
{
    if (!prepare_)
        Prepare();
    StructSpecChr ligne;
    if (Examine(entite, ligne))
        lignes_.push_back(ligne);
}

bool PrimSpecChr::Examine(std::int32_t e, StructSpecChr &ligne) const
{
    charg1 *base = partition_->Base();
    if (base == nullptr)
        return false;
    // The strict test also dismisses every entity the base does not know (frequency -1).
    const std::int32_t F = base->RetourneFrq(e);
    if (!(F > freqMin_))
        return false;
    const std::vector<std::int32_t> frq = partition_->FrqParPartie(e);

    double meilleur = 0.0;
    std::int32_t fGarde = 0, premiere = 0, derniere = 0, coef = 0;
    for (std::int32_t i = 0; i < parties_; ++i) {
        std::int32_t f = 0;
        std::int32_t t = 0;
        for (std::int32_t j = i; j < parties_; ++j) {
            f += frq[static_cast<std::size_t>(j)];
            t += taillesParties_[static_cast<std::size_t>(j)];
            const double c = CalcSpecif(T_, t, F, f, seuil_);
            if (std::fabs(c) > std::fabs(meilleur)) {
                meilleur = c;
                fGarde = f;
                premiere = i;
                derniere = j;
                coef = ArrondiSpecif(c);
            }
        }
    }
    if (coef == 0)
        return false;
    if (coef < 0 && premiere == 0) {
        // Under-use from the first part on: the rest of the parties over-uses the term.
        coef = -coef;
        premiere = derniere + 1;
        derniere = parties_ - 1;
    } else if (coef < 0 && derniere == parties_ - 1) {
        coef = -coef;
        derniere = premiere - 1;
        premiere = 0;
    }
    ligne = StructSpecChr{e, fGarde, coef, premiere, derniere};
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
