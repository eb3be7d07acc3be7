#include "windows/courbes/points_courbes.h"

#include "engine/charg1.h"
#include "engine/partition.h"
#include "engine/selection.h"

#include <algorithm>
#include <cmath>

namespace talmer {

namespace {

// The parts a curve covers: those selected, or every part when none is.
std::vector<std::int32_t> PartiesChoisies(const Partition &partition, bool *aucuneSelectionnee = nullptr)
{
    std::vector<std::int32_t> parties;
    for (std::int32_t k = 0; k < partition.NbParties(); ++k)
        if (partition.EstSelectionnee(k))
            parties.push_back(k);
    if (aucuneSelectionnee)
        *aucuneSelectionnee = parties.empty();
    if (parties.empty())
        for (std::int32_t k = 0; k < partition.NbParties(); ++k)
            parties.push_back(k);
    return parties;
}

std::string NomsJoints(const Partition &partition, const std::vector<std::int32_t> &parties)
{
    std::string titre;
    for (std::int32_t k : parties) {
        if (!titre.empty())
            titre += ", ";
        titre += partition.NomPartie(k);
    }
    return titre;
}

// The walk of one growth curve over the text: `compte(p)` tells whether the word occurrence at
// p counts at all, `marque(p)` whether it may add a point.
class Marcheur {
public:
    explicit Marcheur(const charg1 &base) : base_(base), vues_(static_cast<std::size_t>(std::max(0, base.Nbform())), 0) {}

    void Occurrence(std::int32_t forme, bool marque)
    {
        ++x_;
        if (!marque || vues_[static_cast<std::size_t>(forme)])
            return;
        points_.push_back({x_, d_});
        vues_[static_cast<std::size_t>(forme)] = 1;
        ++d_;
    }
    // The form at position p when it is a word occurrence, else -1.
    std::int32_t Forme(std::int32_t p) const
    {
        const std::int32_t item = base_.Tnum(p);
        return item >= 0 && item < base_.Nbform() ? item : -1;
    }
    std::vector<PointCourbe> Termine()
    {
        points_.push_back({x_, d_});
        return std::move(points_);
    }

private:
    const charg1 &base_;
    std::vector<char> vues_;
    std::vector<PointCourbe> points_;
    std::int32_t x_ = 0;
    std::int32_t d_ = 0;
};

} // namespace

Courbe CourbeZipf(const Partition &partition)
{
    Courbe courbe;
    const std::vector<std::int32_t> parties = PartiesChoisies(partition);
    courbe.titre = NomsJoints(partition, parties);
    const charg1 *base = partition.Base();
    if (!base)
        return courbe;

    const std::int32_t np = partition.NbParties();
    const TableCreuse &table = partition.Table();
    const std::int32_t nbform = base->Nbform();
    if (np <= 0 || table.NbLignes() < nbform)
        return courbe;
    std::vector<char> choisie(static_cast<std::size_t>(np), 0);
    for (std::int32_t k : parties)
        choisie[static_cast<std::size_t>(k)] = 1;

    // Number of forms of each frequency in the chosen parts.
    std::vector<std::int32_t> nombre;
    for (std::int32_t f = 0; f < nbform; ++f) {
        std::int64_t frq = 0;
        for (const TableCreuse::Cellule &c : table.Ligne(f))
            if (choisie[static_cast<std::size_t>(c.colonne)])
                frq += c.valeur;
        if (frq <= 0)
            continue;
        if (static_cast<std::size_t>(frq) >= nombre.size())
            nombre.resize(static_cast<std::size_t>(frq) + 1, 0);
        ++nombre[static_cast<std::size_t>(frq)];
    }
    // N(F), from the highest frequency down.
    std::int32_t cumul = 0;
    for (std::size_t f = nombre.size(); f-- > 1;) {
        if (nombre[f] == 0)
            continue;
        cumul += nombre[f];
        nombre[f] = cumul;
    }
    for (std::size_t f = 1; f < nombre.size(); ++f)
        if (nombre[f] > 0)
            courbe.points.push_back({nombre[f], static_cast<std::int32_t>(f)});
    return courbe;
}

std::int32_t FrequenceMax(const Courbe &courbe)
{
    std::int32_t fmax = 0;
    for (const PointCourbe &p : courbe.points)
        fmax = std::max(fmax, p.y);
    return fmax;
}

Courbe CourbeAccroissementPartition(const charg1 &base, const Partition &partition)
{
    Courbe courbe;
    bool aucune = true;
    const std::vector<std::int32_t> parties = PartiesChoisies(partition, &aucune);
    std::vector<char> retenue(static_cast<std::size_t>(std::max(0, partition.NbParties())), 1);
    if (aucune) {
        courbe.titre = "Corpus entier";
        courbe.titreDuProgramme = true;
    } else {
        courbe.titre = NomsJoints(partition, parties);
        std::fill(retenue.begin(), retenue.end(), 0);
        for (std::int32_t k : parties)
            retenue[static_cast<std::size_t>(k)] = 1;
    }
    auto partieRetenue = [&](std::int32_t k) {
        return k >= 0 && static_cast<std::size_t>(k) < retenue.size() && retenue[static_cast<std::size_t>(k)];
    };

    Marcheur marche(base);
    const std::int32_t nbitem = base.Nbitem();
    auto parcourt = [&](std::int32_t debut, std::int32_t fin) {
        for (std::int32_t p = std::max(0, debut); p < std::min(fin, nbitem); ++p) {
            const std::int32_t forme = marche.Forme(p);
            if (forme >= 0)
                marche.Occurrence(forme, true);
        }
    };
    const std::int32_t nbZones = partition.NbZones();
    if (nbZones <= 0 || partition.Zones().size() < static_cast<std::size_t>(nbZones) + 1) {
        parcourt(0, nbitem);
    } else {
        // Before the first marker: the first zone's part. Then each zone up to the next one's
        // start, the last up to the closing record (the end of the text).
        if (partieRetenue(partition.ZoneNo(0).Partie))
            parcourt(0, partition.ZoneNo(0).Debut);
        for (std::int32_t z = 0; z < nbZones; ++z)
            if (partieRetenue(partition.ZoneNo(z).Partie))
                parcourt(partition.ZoneNo(z).Debut, partition.ZoneNo(z + 1).Debut);
    }
    courbe.points = marche.Termine();
    return courbe;
}

bool CourbeAccroissementSelection(const charg1 &base, const Selection &selection, Courbe &courbe)
{
    const std::vector<char> masque = selection.MasqueItems();
    if (masque.size() != static_cast<std::size_t>(std::max(0, base.Nbitem())))
        return false;
    courbe.titre = "Titre à définir";
    courbe.titreDuProgramme = true;
    const bool groupe = selection.EstGroupeFormes();
    Marcheur marche(base);
    for (std::int32_t p = 0; p < base.Nbitem(); ++p) {
        const std::int32_t forme = marche.Forme(p);
        if (forme < 0)
            continue;
        const bool dedans = masque[static_cast<std::size_t>(p)] == 1;
        if (groupe)
            marche.Occurrence(forme, dedans);
        else if (dedans)
            marche.Occurrence(forme, true);
    }
    courbe.points = marche.Termine();
    return true;
}

std::vector<PointCourbe> Eclaircit(const std::vector<PointCourbe> &points, int colonnes, bool logX, std::size_t seuil)
{
    if (points.size() < seuil || colonnes <= 0)
        return points;
    auto abscisse = [logX](std::int32_t x) { return logX ? std::log(static_cast<double>(std::max(1, x))) : static_cast<double>(x); };
    double mini = abscisse(points.front().x), maxi = mini;
    for (const PointCourbe &p : points) {
        mini = std::min(mini, abscisse(p.x));
        maxi = std::max(maxi, abscisse(p.x));
    }
    const double largeur = maxi - mini;
    if (largeur <= 0)
        return points;
    auto colonne = [&](const PointCourbe &p) {
        return std::min(colonnes - 1, static_cast<int>((abscisse(p.x) - mini) / largeur * colonnes));
    };

    std::vector<PointCourbe> garde;
    std::size_t debut = 0;
    while (debut < points.size()) {
        const int c = colonne(points[debut]);
        std::size_t fin = debut + 1;
        while (fin < points.size() && colonne(points[fin]) == c)
            ++fin;
        // The first, lowest, highest and last points of the column, in their order.
        std::size_t bas = debut, haut = debut;
        for (std::size_t i = debut; i < fin; ++i) {
            if (points[i].y < points[bas].y)
                bas = i;
            if (points[i].y > points[haut].y)
                haut = i;
        }
        std::size_t indices[4] = {debut, bas, haut, fin - 1};
        std::sort(std::begin(indices), std::end(indices));
        std::size_t precedent = points.size();
        for (std::size_t i : indices) {
            if (i != precedent)
                garde.push_back(points[i]);
            precedent = i;
        }
        debut = fin;
    }
    return garde;
}

double PasGraduations(double maxi)
{
    for (double puissance = 1;; puissance *= 10)
        for (double facteur : {1.0, 2.0, 5.0})
            if (maxi <= 5 * facteur * puissance)
                return facteur * puissance;
}

} // namespace talmer
