#include "engine/primspec.h"

#include "engine/charg1.h"
#include "engine/partition.h"
#include "engine/specificite.h"

#include <algorithm>

PrimSpec::PrimSpec(Partition *partition, std::int32_t diviseur)
    : partition_(partition),
      references_(partition->Cochees()),
      cibles_(partition->Selectionnees()),
      seuil_(partition->Seuil()),
      freqMin_(partition->FreqMin()),
      diviseur_(diviseur)
{
}

void PrimSpec::SetProgression(FnProgression callback)
{
    progression_ = callback;
}

bool PrimSpec::AvantDans(const StructSpec &a, const StructSpec &b)
{
    if (a.Coef != b.Coef)
        return a.Coef > b.Coef;
    return a.Entite < b.Entite;
}

void PrimSpec::Calcule()
{
    liste_.clear();
    charg1 *base = partition_->Base();
    if (base == nullptr)
        return;
    const std::int32_t nbform = base->Nbform();
    const std::int32_t nbTot = base->NbTotEntites();
    const std::int32_t nbart = base->Nbart();
    const std::int32_t parties = partition_->NbParties();

    // Corpus and part sizes: independent sums, so a target part that is not checked still
    // counts in t (it never adds to f).
    std::int32_t T = 0;
    std::int32_t t = 0;
    for (std::int32_t k = 0; k < parties; ++k) {
        if (references_[k])
            T += partition_->NbOccPartie(k);
        if (cibles_[k])
            t += partition_->NbOccPartie(k);
    }
    if (diviseur_ > 1) {
        T = static_cast<std::int32_t>(static_cast<double>(T) / diviseur_);
        t = static_cast<std::int32_t>(static_cast<double>(t) / diviseur_);
    }
    T_ = T;
    t_ = t;
    const double seuil = seuil_ * 0.01;

    // Parts that count in F, and in f.
    std::vector<std::int32_t> dansF, dansf;
    for (std::int32_t k = 0; k < parties; ++k) {
        if (references_[k]) {
            dansF.push_back(k);
            if (cibles_[k])
                dansf.push_back(k);
        }
    }

    const std::vector<std::int32_t> &table = partition_->Table();
    const std::int32_t intervalleFormes = nbform / 100;
    std::int32_t compteur = 0;
    for (std::int32_t j = 0; j < nbform; ++j) {
        const std::int32_t *ligne = table.data() + static_cast<std::size_t>(j) * static_cast<std::size_t>(parties);
        std::int32_t F = 0, f = 0;
        for (std::int32_t k : dansF)
            F += ligne[k];
        for (std::int32_t k : dansf)
            f += ligne[k];
        if (f != 0 && F != 0 && F >= freqMin_) {
            const std::int32_t c = CalcSpecifEntier(T, t, F, f, seuil);
            if (c != 0)
                liste_.push_back(StructSpec{j, F, f, c});
        }
        if (compteur == intervalleFormes) {
            if (progression_ != nullptr)
                progression_(0);
            compteur = 0;
        }
        ++compteur;
    }

    // Repeated segments, entities Nbart + 1 to NbTotEntites: a segment absent from the target
    // parts can be under-used.
    const std::int32_t intervalleSegments = (nbTot - nbart + 1) / 100;
    compteur = 0;
    for (std::int32_t e = nbart + 1; e <= nbTot; ++e) {
        const std::vector<std::int32_t> frq = partition_->FrqParPartie(e);
        std::int32_t F = 0, f = 0;
        for (std::int32_t k : dansF)
            F += frq[static_cast<std::size_t>(k)];
        for (std::int32_t k : dansf)
            f += frq[static_cast<std::size_t>(k)];
        if (F >= freqMin_) {
            const std::int32_t c = CalcSpecifEntier(T, t, F, f, seuil);
            if (c != 0)
                liste_.push_back(StructSpec{e, F, f, c});
        }
        if (compteur == intervalleSegments) {
            if (progression_ != nullptr)
                progression_(1);
            compteur = 0;
        }
        ++compteur;
    }

    std::sort(liste_.begin(), liste_.end(), AvantDans);
}
