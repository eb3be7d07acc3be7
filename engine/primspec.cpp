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
    charg1 *base = partition_->Base();
    if (base == nullptr) {
        liste_.clear();
        return;
    }
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
    const double seuil = seuil_ * 0.01;
    // The list and sizes change only once the computation is complete.
    std::vector<StructSpec> liste;

    // Parts that count in F, and in f.
    std::vector<std::int32_t> dansF, dansf;
    for (std::int32_t k = 0; k < parties; ++k) {
        if (references_[k]) {
            dansF.push_back(k);
            if (cibles_[k])
                dansf.push_back(k);
        }
    }

    const TableFormesParties &table = partition_->Table();
    PasCentiemes progressionFormes(progression_, nbform, 0);
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
                liste.push_back(StructSpec{j, F, f, c});
        }
        progressionFormes.Avance();
    }

    // Repeated segments, entities Nbart + 1 to NbTotEntites: a segment absent from the target
    // parts can be under-used.
    PasCentiemes progressionSegments(progression_, nbTot - nbart + 1, 1);
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
                liste.push_back(StructSpec{e, F, f, c});
        }
        progressionSegments.Avance();
    }

    std::sort(liste.begin(), liste.end(), AvantDans);
    liste_ = std::move(liste);
    T_ = T;
    t_ = t;
}

namespace {

// The indices, among n entities walked in order, after which the progress callback is called:
// a counter from 0, checked against the interval after each entity, reset when they are equal,
// then increased.
std::vector<std::int32_t> IndicesAppels(std::int32_t n, std::int32_t intervalle)
{
    std::vector<std::int32_t> appels;
    std::int32_t compteur = 0;
    for (std::int32_t j = 0; j < n; ++j) {
        if (compteur == intervalle) {
            appels.push_back(j);
            compteur = 0;
        }
        ++compteur;
    }
    return appels;
}

// Turns per-part counts into the offsets of a table grouped by part.
std::vector<std::int64_t> Debuts(const std::vector<std::int64_t> &nombres)
{
    std::vector<std::int64_t> debuts(nombres.size() + 1, 0);
    for (std::size_t k = 0; k < nombres.size(); ++k)
        debuts[k + 1] = debuts[k] + nombres[k];
    return debuts;
}

} // namespace

PrimSpec::Marges PrimSpec::PrepareMarges(const Partition &partition)
{
    Marges m;
    const charg1 *base = partition.Base();
    if (base == nullptr)
        return m;
    const std::int32_t nbform = base->Nbform();
    const std::int32_t nbart = base->Nbart();
    const std::int32_t nbSegments = std::max<std::int32_t>(base->NbTotEntites() - nbart, 0);
    const std::int32_t parties = partition.NbParties();
    const std::size_t nbParties = static_cast<std::size_t>(std::max<std::int32_t>(parties, 0));
    const char *references = partition.Cochees();

    for (std::int32_t k = 0; k < parties; ++k)
        if (references[k])
            m.T += partition.NbOccPartie(k);

    // Forms: the table is read row by row, as it lies in memory.
    const TableFormesParties &table = partition.Table();
    m.Fformes.assign(static_cast<std::size_t>(std::max<std::int32_t>(nbform, 0)), 0);
    std::vector<std::int64_t> nombres(nbParties, 0);
    for (std::int32_t j = 0; j < nbform; ++j) {
        const std::int32_t *ligne = table.data() + static_cast<std::size_t>(j) * nbParties;
        std::int32_t F = 0;
        for (std::size_t k = 0; k < nbParties; ++k) {
            if (references[k] && ligne[k] != 0) {
                F += ligne[k];
                ++nombres[k];
            }
        }
        m.Fformes[static_cast<std::size_t>(j)] = F;
    }
    m.debutFormes = Debuts(nombres);
    m.formes.resize(static_cast<std::size_t>(m.debutFormes.back()));
    m.frqFormes.resize(m.formes.size());
    {
        std::vector<std::int64_t> curseur(m.debutFormes.begin(), m.debutFormes.end() - 1);
        for (std::int32_t j = 0; j < nbform; ++j) {
            const std::int32_t *ligne = table.data() + static_cast<std::size_t>(j) * nbParties;
            for (std::size_t k = 0; k < nbParties; ++k) {
                if (references[k] && ligne[k] != 0) {
                    const auto i = static_cast<std::size_t>(curseur[k]++);
                    m.formes[i] = j;
                    m.frqFormes[i] = ligne[k];
                }
            }
        }
    }

    // Segments: the positions of each are read once, for every part.
    m.Fsegments.assign(static_cast<std::size_t>(nbSegments), 0);
    struct Entree {
        std::int32_t partie, segment, frq;
    };
    std::vector<Entree> entrees;
    std::fill(nombres.begin(), nombres.end(), 0);
    for (std::int32_t s = 0; s < nbSegments; ++s) {
        const std::vector<std::int32_t> frq = partition.FrqParPartie(nbart + 1 + s);
        std::int32_t F = 0;
        for (std::size_t k = 0; k < nbParties && k < frq.size(); ++k) {
            if (references[k] && frq[k] != 0) {
                F += frq[k];
                ++nombres[k];
                entrees.push_back({static_cast<std::int32_t>(k), s, frq[k]});
            }
        }
        m.Fsegments[static_cast<std::size_t>(s)] = F;
    }
    m.debutSegments = Debuts(nombres);
    m.segments.resize(entrees.size());
    m.frqSegments.resize(entrees.size());
    {
        std::vector<std::int64_t> curseur(m.debutSegments.begin(), m.debutSegments.end() - 1);
        for (const Entree &e : entrees) {
            const auto i = static_cast<std::size_t>(curseur[static_cast<std::size_t>(e.partie)]++);
            m.segments[i] = e.segment;
            m.frqSegments[i] = e.frq;
        }
    }

    m.appelsFormes = IndicesAppels(nbform, nbform / 100);
    m.appelsSegments = IndicesAppels(nbSegments, (nbSegments + 1) / 100);
    return m;
}

void PrimSpec::CalculePartie(const Marges &marges, std::int32_t partie)
{
    const charg1 *base = partition_->Base();
    if (base == nullptr) {
        liste_.clear();
        return;
    }
    const std::int32_t nbart = base->Nbart();
    const std::int32_t parties = partition_->NbParties();

    std::int32_t T = marges.T;
    std::int32_t t = 0;
    for (std::int32_t k = 0; k < parties; ++k)
        if (cibles_[k])
            t += partition_->NbOccPartie(k);
    if (diviseur_ > 1) {
        T = static_cast<std::int32_t>(static_cast<double>(T) / diviseur_);
        t = static_cast<std::int32_t>(static_cast<double>(t) / diviseur_);
    }
    const double seuil = seuil_ * 0.01;
    std::vector<StructSpec> liste;
    // f counts only in a part that is both target and reference.
    const bool compte = partie >= 0 && partie < parties && references_[partie] && cibles_[partie]
                        && static_cast<std::size_t>(partie) + 1 < marges.debutFormes.size();

    // Forms: only those present in the part can have a row (f != 0).
    std::size_t appel = 0;
    if (compte) {
        const auto debut = static_cast<std::size_t>(marges.debutFormes[static_cast<std::size_t>(partie)]);
        const auto fin = static_cast<std::size_t>(marges.debutFormes[static_cast<std::size_t>(partie) + 1]);
        for (std::size_t i = debut; i < fin; ++i) {
            const std::int32_t j = marges.formes[i];
            for (; appel < marges.appelsFormes.size() && marges.appelsFormes[appel] < j; ++appel)
                if (progression_ != nullptr)
                    progression_(0);
            const std::int32_t F = marges.Fformes[static_cast<std::size_t>(j)];
            const std::int32_t f = marges.frqFormes[i];
            if (F != 0 && F >= freqMin_) {
                const std::int32_t c = CalcSpecifEntier(T, t, F, f, seuil);
                if (c != 0)
                    liste.push_back(StructSpec{j, F, f, c});
            }
        }
    }
    for (; appel < marges.appelsFormes.size(); ++appel)
        if (progression_ != nullptr)
            progression_(0);

    // Segments: every one that is frequent enough, present in the part or not.
    std::size_t i = 0, fin = 0;
    if (compte && static_cast<std::size_t>(partie) + 1 < marges.debutSegments.size()) {
        i = static_cast<std::size_t>(marges.debutSegments[static_cast<std::size_t>(partie)]);
        fin = static_cast<std::size_t>(marges.debutSegments[static_cast<std::size_t>(partie) + 1]);
    }
    appel = 0;
    const auto nbSegments = static_cast<std::int32_t>(marges.Fsegments.size());
    for (std::int32_t s = 0; s < nbSegments; ++s) {
        std::int32_t f = 0;
        if (i < fin && marges.segments[i] == s)
            f = marges.frqSegments[i++];
        const std::int32_t F = marges.Fsegments[static_cast<std::size_t>(s)];
        if (F >= freqMin_) {
            const std::int32_t c = CalcSpecifEntier(T, t, F, f, seuil);
            if (c != 0)
                liste.push_back(StructSpec{nbart + 1 + s, F, f, c});
        }
        if (appel < marges.appelsSegments.size() && marges.appelsSegments[appel] == s) {
            ++appel;
            if (progression_ != nullptr)
                progression_(1);
        }
    }

    std::sort(liste.begin(), liste.end(), AvantDans);
    liste_ = std::move(liste);
    T_ = T;
    t_ = t;
}
