#include "engine/primspec.h"

#include "engine/charg1.h"
#include "engine/partition.h"
#include "engine/specificite.h"

#include <algorithm>
#include <span>

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

    const TableCreuse &table = partition_->Table();
    PasCentiemes progressionFormes(progression_, nbform, 0);
    VeilleBoucle veille;
    for (std::int32_t j = 0; j < nbform; ++j) {
        veille.Avance();
        // f counts only in the parts that are both reference and target.
        std::int32_t F = 0, f = 0;
        for (const TableCreuse::Cellule &c : table.Ligne(j)) {
            if (references_[c.colonne]) {
                F += c.valeur;
                if (cibles_[c.colonne])
                    f += c.valeur;
            }
        }
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
        Veille();
        const std::vector<std::int32_t> frq = partition_->FrqParPartie(e);
        std::int32_t F = 0, f = 0;
        for (std::int32_t k = 0; k < parties; ++k) {
            if (references_[k]) {
                F += frq[static_cast<std::size_t>(k)];
                if (cibles_[k])
                    f += frq[static_cast<std::size_t>(k)];
            }
        }
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

} // namespace

PrimSpec::Marges PrimSpec::PrepareMarges(const Partition &partition,
                                         const std::function<void(const Marges &, std::int32_t)> &segmentLu)
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
    m.appelsFormes = IndicesAppels(nbform, nbform / 100);
    m.appelsSegments = IndicesAppels(nbSegments, (nbSegments + 1) / 100);

    for (std::int32_t k = 0; k < parties; ++k)
        if (references[k])
            m.T += partition.NbOccPartie(k);

    // Forms: F from the rows, the forms of each part from the columns.
    const TableCreuse &table = partition.Table();
    m.Fformes.assign(static_cast<std::size_t>(std::max<std::int32_t>(nbform, 0)), 0);
    for (std::int32_t j = 0; j < nbform; ++j) {
        std::int32_t F = 0;
        for (const TableCreuse::Cellule &c : table.Ligne(j))
            if (references[c.colonne])
                F += c.valeur;
        m.Fformes[static_cast<std::size_t>(j)] = F;
    }
    m.formesParPartie = table.Transposee();

    // Segments: the positions of each are read once, for every part.
    m.Fsegments.assign(static_cast<std::size_t>(nbSegments), 0);
    std::vector<std::int64_t> debuts(1, 0);
    std::vector<TableCreuse::Cellule> cellules;
    for (std::int32_t s = 0; s < nbSegments; ++s) {
        std::int32_t F = 0;
        for (const TableCreuse::Cellule &c : partition.FrqCreuseParPartie(nbart + 1 + s)) {
            if (static_cast<std::size_t>(c.colonne) < nbParties && references[c.colonne]) {
                F += c.valeur;
                cellules.push_back(c);
            }
        }
        m.Fsegments[static_cast<std::size_t>(s)] = F;
        debuts.push_back(static_cast<std::int64_t>(cellules.size()));
        if (segmentLu)
            segmentLu(m, s + 1);
        Veille();
    }
    m.segmentsParPartie = TableCreuse::DepuisColonnes(parties, debuts, cellules);

    std::vector<std::int32_t> valeurs = m.Fsegments;
    std::sort(valeurs.begin(), valeurs.end());
    valeurs.erase(std::unique(valeurs.begin(), valeurs.end()), valeurs.end());
    m.nbFsegments = static_cast<std::int32_t>(valeurs.size());
    m.rangsFsegments.reserve(m.Fsegments.size());
    for (const std::int32_t F : m.Fsegments)
        m.rangsFsegments.push_back(
            static_cast<std::int32_t>(std::lower_bound(valeurs.begin(), valeurs.end(), F) - valeurs.begin()));
    return m;
}

void PrimSpec::CalculePartie(const Marges &marges, std::int32_t partie, const std::function<void(std::int32_t)> &pas)
{
    const charg1 *base = partition_->Base();
    if (base == nullptr) {
        liste_.clear();
        return;
    }
    const std::int32_t nbart = base->Nbart();
    const std::int32_t parties = partition_->NbParties();
    const auto pasDe = [&](std::int32_t phase) {
        if (pas)
            pas(phase);
        else if (progression_ != nullptr)
            progression_(phase);
    };

    // The target is the part alone.
    const bool existe = partie >= 0 && partie < parties;
    std::int32_t T = marges.T;
    std::int32_t t = existe ? partition_->NbOccPartie(partie) : 0;
    if (diviseur_ > 1) {
        T = static_cast<std::int32_t>(static_cast<double>(T) / diviseur_);
        t = static_cast<std::int32_t>(static_cast<double>(t) / diviseur_);
    }
    const double seuil = seuil_ * 0.01;
    std::vector<StructSpec> liste;
    // f counts only in a part that is both target and reference.
    const bool compte = existe && references_[partie];

    // Forms: only those present in the part can have a row (f != 0).
    std::size_t appel = 0;
    if (compte) {
        for (const TableCreuse::Cellule &c : marges.formesParPartie.Ligne(partie)) {
            const std::int32_t j = c.colonne;
            for (; appel < marges.appelsFormes.size() && marges.appelsFormes[appel] < j; ++appel)
                pasDe(0);
            const std::int32_t F = marges.Fformes[static_cast<std::size_t>(j)];
            const std::int32_t f = c.valeur;
            if (F != 0 && F >= freqMin_) {
                const std::int32_t coef = CalcSpecifEntier(T, t, F, f, seuil);
                if (coef != 0)
                    liste.push_back(StructSpec{j, F, f, coef});
            }
        }
    }
    for (; appel < marges.appelsFormes.size(); ++appel)
        pasDe(0);

    // Segments: every one that is frequent enough, present in the part or not.
    const std::span<const TableCreuse::Cellule> presents =
        compte ? marges.segmentsParPartie.Ligne(partie) : std::span<const TableCreuse::Cellule>();
    std::size_t i = 0;
    appel = 0;
    const auto nbSegments = static_cast<std::int32_t>(marges.Fsegments.size());
    // The coefficient of the absent segments of each F, once it is computed.
    std::vector<std::int32_t> coefsAbsents(static_cast<std::size_t>(marges.nbFsegments), 0);
    std::vector<char> connus(static_cast<std::size_t>(marges.nbFsegments), 0);
    for (std::int32_t s = 0; s < nbSegments; ++s) {
        std::int32_t f = 0;
        if (i < presents.size() && presents[i].colonne == s)
            f = presents[i++].valeur;
        const std::int32_t F = marges.Fsegments[static_cast<std::size_t>(s)];
        if (F >= freqMin_) {
            std::int32_t c;
            if (f == 0) {
                const auto rang = static_cast<std::size_t>(marges.rangsFsegments[static_cast<std::size_t>(s)]);
                if (!connus[rang]) {
                    coefsAbsents[rang] = CalcSpecifEntier(T, t, F, 0, seuil);
                    connus[rang] = 1;
                }
                c = coefsAbsents[rang];
            } else {
                c = CalcSpecifEntier(T, t, F, f, seuil);
            }
            if (c != 0)
                liste.push_back(StructSpec{nbart + 1 + s, F, f, c});
        }
        if (appel < marges.appelsSegments.size() && marges.appelsSegments[appel] == s) {
            ++appel;
            pasDe(1);
        }
    }

    std::sort(liste.begin(), liste.end(), AvantDans);
    liste_ = std::move(liste);
    T_ = T;
    t_ = t;
}
