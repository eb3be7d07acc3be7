#include "windows/sections/disposition.h"

#include "engine/partition.h"

#include <algorithm>

namespace talmer {

namespace {

// 1.3 and 1.35 as written, the products taken in double and truncated toward zero.
constexpr double Facteur = 1.3;
constexpr double FacteurSurface = 1.35;
constexpr int Marge = 20;       // left edge of every row
constexpr int HautTexte = 10;   // room above a box for its row's number (6 points)
constexpr int MargeBas = 20;

// Lays out sections [premier, fin) from (x, y) as the rows of the global grid; returns the y of
// the row after the last one started.
int PlaceSections(DispositionCarte &d, std::int32_t premier, std::int32_t fin, int x, int y)
{
    for (std::int32_t i = premier; i < fin; ++i) {
        d.x[static_cast<std::size_t>(i)] = x;
        d.y[static_cast<std::size_t>(i)] = y;
        x += d.pas;
        if ((i + 1) % 10 == 0)
            x += 2;
        if ((i + 1) % BoitesParLigne == 0) {
            x = Marge;
            y += d.pas;
        }
        if ((i + 1) % 100 == 0)
            y += 2;
    }
    return y;
}

} // namespace

int PasBoite(int taille)
{
    return static_cast<int>(taille * Facteur);
}

Teintes TeintesDe(std::int32_t couleur)
{
    Teintes t;
    t.couleur1 = couleur;
    for (int decalage = 0; decalage < 24; decalage += 8) {
        const int v = (couleur >> decalage) & 0xFF;
        const int demi = v + ((255 - v) >> 1);
        // Two thirds as the double 0.6666666666666666, the sum kept in extended precision: 255 x
        // that double stays just below 170, so black gives 169 (0xA9) in every channel.
        const int tiers = static_cast<int>(v + (255 - v) * static_cast<long double>(0.6666666666666666));
        t.couleur2 |= demi << decalage;
        t.couleur3 |= tiers << decalage;
    }
    return t;
}

std::vector<std::int32_t> IndexZonesCarte(const std::vector<Zone> &zones, const std::vector<std::int32_t> &debuts,
                                          std::int32_t n)
{
    std::vector<std::int32_t> index;
    if (zones.empty())
        return index;
    n = std::max<std::int32_t>(0, std::min<std::int32_t>(n, static_cast<std::int32_t>(debuts.size())));
    index.resize(zones.size(), n);
    std::int32_t i = 0;
    for (std::size_t z = 0; z + 1 < zones.size(); ++z) {
        while (z > 0 && i < n && debuts[static_cast<std::size_t>(i)] < zones[z].Debut)
            ++i;
        index[z] = i;
    }
    index.back() = n;
    return index;
}

DispositionCarte Dispose(std::int32_t n, int taille, const std::vector<std::int32_t> *premiersIndex)
{
    DispositionCarte d;
    n = std::max<std::int32_t>(n, 0);
    d.taille = std::clamp(taille, TailleBoiteMin, TailleBoiteMax);
    d.pas = PasBoite(d.taille);
    d.x.assign(static_cast<std::size_t>(n), 0);
    d.y.assign(static_cast<std::size_t>(n), 0);
    d.largeur = static_cast<int>(d.taille * BoitesParLigne * FacteurSurface + 125);
    d.finLigne = static_cast<int>(d.taille * BoitesParLigne * Facteur + 28);

    int bas = 5;
    const bool parZones = premiersIndex != nullptr && premiersIndex->size() >= 2;
    if (!parZones) {
        PlaceSections(d, 0, n, Marge, 5);
    } else {
        const std::vector<std::int32_t> &index = *premiersIndex;
        const std::size_t nbZones = index.size() - 1;
        d.yEntetes.reserve(nbZones);
        int y = 5;
        for (std::size_t z = 0; z < nbZones; ++z) {
            const std::int32_t premier = std::clamp<std::int32_t>(index[z], 0, n);
            const std::int32_t fin = std::clamp<std::int32_t>(index[z + 1], premier, n);
            y += 5;
            d.yEntetes.push_back(y);
            bas = std::max(bas, y + 12);
            y += 12;
            int x = Marge;
            for (std::int32_t k = 0; k < premier % BoitesParLigne; ++k) {
                x += d.pas;
                if ((k + 1) % 10 == 0)
                    x += 2;
            }
            y = PlaceSections(d, premier, fin, x, y) + d.pas + d.taille / 2;
        }
    }
    // The surface reaches below the last box and the last heading, so that every section can be
    // scrolled to and lies in a picture of the map.
    if (n > 0)
        bas = std::max(bas, d.y.back() + d.taille);
    d.hauteur = bas + MargeBas;
    return d;
}

std::int32_t SectionAuPoint(const DispositionCarte &d, int px, int py)
{
    const auto debut = std::lower_bound(d.y.begin(), d.y.end(), py - d.taille);
    for (auto it = debut; it != d.y.end() && *it <= py; ++it) {
        const std::size_t i = static_cast<std::size_t>(it - d.y.begin());
        if (d.x[i] <= px && px <= d.x[i] + d.taille)
            return static_cast<std::int32_t>(i);
    }
    return -1;
}

std::pair<std::int32_t, std::int32_t> SectionsVisibles(const DispositionCarte &d, int haut, int bas)
{
    // A box reaches S below its corner (plus a thick outline's overhang); its row's number stands
    // a few pixels above it.
    const auto debut = std::lower_bound(d.y.begin(), d.y.end(), haut - d.taille - 3);
    const auto fin = std::upper_bound(debut, d.y.end(), bas + HautTexte);
    return {static_cast<std::int32_t>(debut - d.y.begin()), static_cast<std::int32_t>(fin - d.y.begin())};
}

} // namespace talmer
