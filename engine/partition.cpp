#include "engine/partition.h"

#include "engine/charg1.h"
#include "engine/section.h"
#include "engine/tgen.h"

#include <algorithm>
#include <cstdint>
#include <span>

namespace {

std::size_t Taille(std::int32_t n)
{
    return static_cast<std::size_t>(std::max<std::int32_t>(n, 0));
}

} // namespace

Partition::Partition(charg1 *base, std::int32_t cle) : base_(base), cle_(cle)
{
    CalculeParties();
    CalculeZones();
    CalculeTableLexicale();
    InitMarques();
    freqMin_ = FreqMinInitiale;
    seuil_ = SeuilInitial;
}

void Partition::CalculeParties()
{
    codes_.clear();
    if (base_ == nullptr)
        return;
    // Only a key type opens zones: anything else would take the item after a form for a value.
    const std::int32_t premiereCle = base_->Nbform() + base_->Nbartponct();
    if (cle_ < premiereCle || cle_ >= premiereCle + base_->Nbcle())
        return;
    const std::int32_t nbitem = base_->Nbitem();
    const std::int32_t nbart = base_->Nbart();
    std::vector<char> vu(Taille(nbart), 0);
    for (std::int32_t j = 0; j + 1 < nbitem; ++j) {
        if (base_->Tnum(j) != cle_)
            continue;
        const std::int32_t valeur = base_->Tnum(j + 1);
        if (valeur < 0 || valeur >= nbart)
            continue;
        if (!vu[static_cast<std::size_t>(valeur)]) {
            vu[static_cast<std::size_t>(valeur)] = 1;
            codes_.push_back(valeur);
        }
    }
    // The codes are distinct: any sort gives the ascending order.
    std::sort(codes_.begin(), codes_.end());
    nbParties_ = static_cast<std::int32_t>(codes_.size());
}

void Partition::CalculeZones()
{
    zones_.clear();
    zonesDePartie_.assign(Taille(nbParties_), {});
    const std::int32_t nbitem = base_ != nullptr ? base_->Nbitem() : 0;
    if (nbParties_ > 0) {
        for (std::int32_t j = 0; j + 1 < nbitem; ++j) {
            if (base_->Tnum(j) != cle_)
                continue;
            const auto it = std::lower_bound(codes_.begin(), codes_.end(), base_->Tnum(j + 1));
            if (it == codes_.end() || *it != base_->Tnum(j + 1))
                continue;
            const auto partie = static_cast<std::int32_t>(it - codes_.begin());
            zonesDePartie_[static_cast<std::size_t>(partie)].push_back(static_cast<std::int32_t>(zones_.size()));
            zones_.push_back(Zone{partie, j + 2, 0});
        }
    }
    nbZones_ = static_cast<std::int32_t>(zones_.size());
    zones_.push_back(Zone{nbParties_ + 1, nbitem, 0});
}

void Partition::CalculeTableLexicale()
{
    const std::int32_t nbform = base_ != nullptr ? std::max<std::int32_t>(base_->Nbform(), 0) : 0;
    const std::size_t parties = Taille(nbParties_);
    nbOcc_.assign(parties, 0);
    nbFormes_.assign(parties, 0);
    nbHapax_.assign(parties, 0);
    fmax_.assign(parties, 0);
    formeFmax_.assign(parties, 0);

    // Part by part, its zones are walked and its forms counted in a scratch table, of which
    // only the entries touched are read back and cleared: the text is read once, and the cells
    // of each part come out together (a column), then turned into rows. Zone z is walked from
    // where zone z - 1 stopped (the start of the text for the first zone) up to the next zone's
    // start, so the text before the first marker goes to the first zone's part.
    std::vector<std::int64_t> debuts(1, 0);
    debuts.reserve(parties + 1);
    std::vector<TableCreuse::Cellule> cellules;
    std::vector<std::int32_t> compte(Taille(nbform), 0);
    std::vector<std::int32_t> touchees;
    for (std::size_t k = 0; k < parties; ++k) {
        std::int32_t occ = 0;
        for (std::int32_t z : zonesDePartie_[k]) {
            const std::int32_t debut = z == 0 ? 0 : zones_[static_cast<std::size_t>(z)].Debut;
            const std::int32_t fin = zones_[static_cast<std::size_t>(z) + 1].Debut;
            for (std::int32_t p = debut; p < fin; ++p) {
                const std::int32_t x = base_->Tnum(p);
                if (x < 0 || x >= nbform)
                    continue;
                ++occ;
                if (compte[static_cast<std::size_t>(x)]++ == 0)
                    touchees.push_back(x);
            }
        }
        std::int32_t hapax = 0, fmax = 0, formeFmax = 0;
        for (std::int32_t x : touchees) {
            std::int32_t &n = compte[static_cast<std::size_t>(x)];
            hapax += n == 1;
            // Among the forms of the highest frequency, the lowest-numbered one.
            if (n > fmax || (n == fmax && x < formeFmax)) {
                fmax = n;
                formeFmax = x;
            }
            cellules.push_back(TableCreuse::Cellule{x, n});
            n = 0;
        }
        nbOcc_[k] = occ;
        nbFormes_[k] = static_cast<std::int32_t>(touchees.size());
        nbHapax_[k] = hapax;
        fmax_[k] = fmax;
        formeFmax_[k] = formeFmax;
        touchees.clear();
        debuts.push_back(static_cast<std::int64_t>(cellules.size()));
    }
    table_ = TableCreuse::DepuisColonnes(nbform, debuts, cellules);
}

void Partition::InitMarques()
{
    coche_.assign(Taille(nbParties_), 1);
    selection_.assign(Taille(nbParties_), 0);
    couleur_.assign(Taille(nbParties_), CouleurInitiale);
}

const char *Partition::NomPartition() const
{
    return base_ != nullptr ? base_->RetourneGraphie(cle_, false) : "";
}

std::int32_t Partition::PartieDePosition(std::int32_t p) const
{
    if (base_ == nullptr || p < 0 || p >= base_->Nbitem() || nbZones_ == 0)
        return -1;
    // The first zone whose next zone starts after p.
    const auto suivante = std::upper_bound(zones_.begin() + 1, zones_.end(), p,
                                           [](std::int32_t pos, const Zone &z) { return pos < z.Debut; });
    if (suivante == zones_.end())
        return -1;
    return (suivante - 1)->Partie;
}

void Partition::IndexeZones(const Section *s)
{
    if (s == nullptr)
        return;
    const std::vector<std::int32_t> &debuts = s->Debuts();
    const std::int32_t nbSections = s->NbSections();
    std::int32_t i = 0;
    for (std::int32_t z = 0; z < nbZones_; ++z) {
        Zone &zone = zones_[static_cast<std::size_t>(z)];
        while (i < nbSections && debuts[static_cast<std::size_t>(i)] < zone.Debut)
            ++i;
        zone.PremierIndex = i;
    }
    zones_.back().PremierIndex = nbSections;
}

std::int32_t Partition::CompteEntre(const std::int32_t *positions, std::int32_t n, std::int32_t debut,
                                    std::int32_t fin)
{
    if (positions == nullptr || n <= 0 || fin <= debut)
        return 0;
    const std::int32_t *a = std::lower_bound(positions, positions + n, debut);
    const std::int32_t *b = std::lower_bound(a, positions + n, fin);
    return static_cast<std::int32_t>(b - a);
}

std::int32_t Partition::NbPositionsDansZone(const std::int32_t *positions, std::int32_t n, std::int32_t zone) const
{
    if (zone < 0 || zone >= nbZones_)
        return 0;
    return CompteEntre(positions, n, zones_[static_cast<std::size_t>(zone)].Debut,
                       zones_[static_cast<std::size_t>(zone) + 1].Debut);
}

const std::vector<std::int32_t> &Partition::ZonesDePartie(std::int32_t partie) const
{
    static const std::vector<std::int32_t> aucune;
    return EstPartie(partie) ? zonesDePartie_[static_cast<std::size_t>(partie)] : aucune;
}

std::int32_t Partition::NbPositionsDansPartie(const Tgen *groupe, std::int32_t partie) const
{
    if (groupe == nullptr)
        return 0;
    const std::vector<std::int32_t> &pos = groupe->PositionsTriees();
    std::int32_t n = 0;
    for (std::int32_t z : ZonesDePartie(partie))
        n += NbPositionsDansZone(pos.data(), static_cast<std::int32_t>(pos.size()), z);
    return n;
}

std::int32_t Partition::RetourneFrqPartie(std::int32_t entite, std::int32_t partie) const
{
    if (!EstPartie(partie) || base_ == nullptr)
        return 0;
    if (entite >= 0 && entite < base_->Nbform())
        return table_.Valeur(entite, partie);
    const std::vector<std::int32_t> pos = base_->LocOccFor(entite);
    std::int32_t n = 0;
    for (std::int32_t z : zonesDePartie_[static_cast<std::size_t>(partie)])
        n += NbPositionsDansZone(pos.data(), static_cast<std::int32_t>(pos.size()), z);
    return n;
}

std::vector<std::int32_t> Partition::FrqParPartie(std::int32_t entite) const
{
    std::vector<std::int32_t> frq(Taille(nbParties_), 0);
    for (const TableCreuse::Cellule &c : FrqCreuseParPartie(entite))
        frq[static_cast<std::size_t>(c.colonne)] = c.valeur;
    return frq;
}

std::vector<TableCreuse::Cellule> Partition::FrqCreuseParPartie(std::int32_t entite) const
{
    if (base_ == nullptr || nbParties_ == 0)
        return {};
    if (entite >= 0 && entite < base_->Nbform()) {
        const std::span<const TableCreuse::Cellule> ligne = table_.Ligne(entite);
        return {ligne.begin(), ligne.end()};
    }
    return CompteParPartie(base_->LocOccFor(entite));
}

std::vector<TableCreuse::Cellule> Partition::CompteParPartie(const std::vector<std::int32_t> &positions) const
{
    // Each position falls in the zone that starts at or before it and whose next zone starts
    // after it; a position before the first zone, or at or after the closing record, in none.
    std::vector<TableCreuse::Cellule> parties;
    if (nbZones_ == 0)
        return parties;
    for (const std::int32_t p : positions) {
        const auto suivante = std::upper_bound(zones_.begin(), zones_.end(), p,
                                               [](std::int32_t pos, const Zone &z) { return pos < z.Debut; });
        const auto z = suivante - zones_.begin() - 1;
        if (z >= 0 && z < nbZones_)
            parties.push_back(TableCreuse::Cellule{zones_[static_cast<std::size_t>(z)].Partie, 1});
    }
    std::sort(parties.begin(), parties.end(),
              [](const TableCreuse::Cellule &a, const TableCreuse::Cellule &b) { return a.colonne < b.colonne; });
    // Equal parts are merged into their first cell.
    std::size_t n = 0;
    for (std::size_t i = 0; i < parties.size(); ++i) {
        if (n > 0 && parties[n - 1].colonne == parties[i].colonne)
            ++parties[n - 1].valeur;
        else
            parties[n++] = parties[i];
    }
    parties.resize(n);
    return parties;
}

std::vector<char> Partition::MasqueItems() const
{
    const std::int32_t nbitem = base_ != nullptr ? base_->Nbitem() : 0;
    std::vector<char> masque(Taille(nbitem), 0);
    for (std::int32_t z = 0; z < nbZones_; ++z) {
        const Zone &zone = zones_[static_cast<std::size_t>(z)];
        if (!selection_[static_cast<std::size_t>(zone.Partie)])
            continue;
        const std::int32_t debut = z == 0 ? 0 : zone.Debut;
        const std::int32_t fin = std::min(zones_[static_cast<std::size_t>(z) + 1].Debut, nbitem);
        std::fill(masque.begin() + debut, masque.begin() + std::max(debut, fin), 1);
    }
    return masque;
}

std::int32_t Partition::CodePartie(std::int32_t k) const
{
    return EstPartie(k) ? codes_[static_cast<std::size_t>(k)] : -1;
}

const char *Partition::NomPartie(std::int32_t k) const
{
    return EstPartie(k) && base_ != nullptr ? base_->RetourneGraphie(codes_[static_cast<std::size_t>(k)], false) : "";
}

std::int32_t Partition::NbOccPartie(std::int32_t k) const
{
    return EstPartie(k) ? nbOcc_[static_cast<std::size_t>(k)] : 0;
}

std::int32_t Partition::NbFormesPartie(std::int32_t k) const
{
    return EstPartie(k) ? nbFormes_[static_cast<std::size_t>(k)] : 0;
}

std::int32_t Partition::NbHapaxPartie(std::int32_t k) const
{
    return EstPartie(k) ? nbHapax_[static_cast<std::size_t>(k)] : 0;
}

std::int32_t Partition::FmaxPartie(std::int32_t k) const
{
    return EstPartie(k) ? fmax_[static_cast<std::size_t>(k)] : 0;
}

std::int32_t Partition::FormeFmaxPartie(std::int32_t k) const
{
    return EstPartie(k) ? formeFmax_[static_cast<std::size_t>(k)] : 0;
}

std::int32_t Partition::FrqFormePartie(std::int32_t forme, std::int32_t k) const
{
    if (!EstPartie(k) || base_ == nullptr || forme < 0 || forme >= base_->Nbform())
        return 0;
    return table_.Valeur(forme, k);
}

bool Partition::EstCochee(std::int32_t k) const
{
    return EstPartie(k) && coche_[static_cast<std::size_t>(k)] != 0;
}

bool Partition::EstSelectionnee(std::int32_t k) const
{
    return EstPartie(k) && selection_[static_cast<std::size_t>(k)] != 0;
}

void Partition::Coche(std::int32_t k, bool coche)
{
    if (!EstPartie(k))
        return;
    coche_[static_cast<std::size_t>(k)] = coche ? 1 : 0;
    if (!coche)
        selection_[static_cast<std::size_t>(k)] = 0;
}

bool Partition::Selectionne(std::int32_t k, bool selectionne)
{
    if (!EstPartie(k))
        return false;
    if (!selectionne)
        selection_[static_cast<std::size_t>(k)] = 0;
    else if (coche_[static_cast<std::size_t>(k)])
        selection_[static_cast<std::size_t>(k)] = 1;
    return selection_[static_cast<std::size_t>(k)] != 0;
}

void Partition::RestaureSelection(const std::vector<char> &selection)
{
    for (std::size_t k = 0; k < selection_.size(); ++k)
        selection_[k] = (k < selection.size() && selection[k] && coche_[k]) ? 1 : 0;
}

std::int32_t Partition::Couleur(std::int32_t k) const
{
    return EstPartie(k) ? couleur_[static_cast<std::size_t>(k)] : 0;
}

void Partition::FixeCouleur(std::int32_t k, std::int32_t couleur)
{
    if (EstPartie(k))
        couleur_[static_cast<std::size_t>(k)] = couleur;
}
