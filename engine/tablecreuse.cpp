#include "engine/tablecreuse.h"

#include <algorithm>
#include <stdexcept>

TableCreuse::TableCreuse(std::int32_t nbColonnes, std::vector<std::int64_t> debuts, std::vector<Cellule> cellules)
    : nbColonnes_(nbColonnes), debuts_(std::move(debuts)), cellules_(std::move(cellules))
{
    if (nbColonnes_ < 0 || debuts_.empty() || debuts_.front() != 0 ||
        debuts_.back() != static_cast<std::int64_t>(cellules_.size()) ||
        debuts_.size() - 1 > static_cast<std::size_t>(INT32_MAX))
        throw std::invalid_argument("TableCreuse: row offsets");
    for (std::size_t i = 0; i + 1 < debuts_.size(); ++i) {
        if (debuts_[i + 1] < debuts_[i])
            throw std::invalid_argument("TableCreuse: row offsets");
        std::int32_t precedente = -1;
        for (std::int64_t c = debuts_[i]; c < debuts_[i + 1]; ++c) {
            const Cellule &cellule = cellules_[static_cast<std::size_t>(c)];
            if (cellule.colonne <= precedente || cellule.colonne >= nbColonnes_ || cellule.valeur == 0)
                throw std::invalid_argument("TableCreuse: cells");
            precedente = cellule.colonne;
        }
    }
}

TableCreuse TableCreuse::DepuisColonnes(std::int32_t nbLignes, const std::vector<std::int64_t> &debuts,
                                        const std::vector<Cellule> &cellules)
{
    if (nbLignes < 0 || debuts.empty() || debuts.front() != 0 ||
        debuts.back() != static_cast<std::int64_t>(cellules.size()) ||
        debuts.size() - 1 > static_cast<std::size_t>(INT32_MAX))
        throw std::invalid_argument("TableCreuse: column offsets");
    const auto nbGroupes = static_cast<std::int32_t>(debuts.size() - 1);
    std::vector<std::int64_t> lignes(static_cast<std::size_t>(nbLignes) + 1, 0);
    for (const Cellule &c : cellules) {
        if (c.colonne < 0 || c.colonne >= nbLignes || c.valeur == 0)
            throw std::invalid_argument("TableCreuse: cells");
        ++lignes[static_cast<std::size_t>(c.colonne) + 1];
    }
    for (std::size_t i = 1; i < lignes.size(); ++i)
        lignes[i] += lignes[i - 1];

    // Groups are taken in order, so every row receives its columns ascending.
    std::vector<Cellule> sortie(cellules.size());
    std::vector<std::int64_t> curseur(lignes.begin(), lignes.end() - 1);
    for (std::int32_t g = 0; g < nbGroupes; ++g) {
        const auto debut = debuts[static_cast<std::size_t>(g)];
        const auto fin = debuts[static_cast<std::size_t>(g) + 1];
        if (fin < debut)
            throw std::invalid_argument("TableCreuse: column offsets");
        for (std::int64_t i = debut; i < fin; ++i) {
            const Cellule &c = cellules[static_cast<std::size_t>(i)];
            const auto ligne = static_cast<std::size_t>(c.colonne);
            std::int64_t &ou = curseur[ligne];
            if (ou > lignes[ligne] && sortie[static_cast<std::size_t>(ou) - 1].colonne == g)
                throw std::invalid_argument("TableCreuse: two cells for one row in a column");
            sortie[static_cast<std::size_t>(ou++)] = Cellule{g, c.valeur};
        }
    }
    TableCreuse t;
    t.nbColonnes_ = nbGroupes;
    t.debuts_ = std::move(lignes);
    t.cellules_ = std::move(sortie);
    return t;
}

std::span<const TableCreuse::Cellule> TableCreuse::Ligne(std::int32_t i) const
{
    if (i < 0 || i >= NbLignes())
        return {};
    const auto debut = static_cast<std::size_t>(debuts_[static_cast<std::size_t>(i)]);
    const auto fin = static_cast<std::size_t>(debuts_[static_cast<std::size_t>(i) + 1]);
    return std::span<const Cellule>(cellules_.data() + debut, fin - debut);
}

std::int32_t TableCreuse::Valeur(std::int32_t i, std::int32_t j) const
{
    const std::span<const Cellule> ligne = Ligne(i);
    // Most rows are short: a walk costs less than a search there.
    if (ligne.size() <= 16) {
        for (const Cellule &c : ligne) {
            if (c.colonne == j)
                return c.valeur;
            if (c.colonne > j)
                break;
        }
        return 0;
    }
    const auto it = std::lower_bound(ligne.begin(), ligne.end(), j,
                                     [](const Cellule &c, std::int32_t colonne) { return c.colonne < colonne; });
    return it != ligne.end() && it->colonne == j ? it->valeur : 0;
}

std::vector<std::int32_t> TableCreuse::LigneDense(std::int32_t i) const
{
    std::vector<std::int32_t> ligne(static_cast<std::size_t>(nbColonnes_), 0);
    for (const Cellule &c : Ligne(i))
        ligne[static_cast<std::size_t>(c.colonne)] = c.valeur;
    return ligne;
}

TableCreuse TableCreuse::Transposee() const
{
    return DepuisColonnes(nbColonnes_, debuts_, cellules_);
}

std::size_t TableCreuse::Octets() const
{
    return debuts_.capacity() * sizeof(std::int64_t) + cellules_.capacity() * sizeof(Cellule);
}
