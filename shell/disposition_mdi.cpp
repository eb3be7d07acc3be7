#include "shell/disposition_mdi.h"

#include <algorithm>
#include <cmath>

namespace {

// Shares `longueur` between cells that each need at least their minimum: what is left over goes
// to every cell in equal parts (the last one takes the remainder). When the minimums do not fit,
// each cell keeps its minimum and the starts are pulled back so that the last cell ends at the
// area's end.
void Partage(int longueur, const std::vector<int> &minimums, std::vector<int> &debuts, std::vector<int> &tailles)
{
    const int n = static_cast<int>(minimums.size());
    debuts.assign(static_cast<std::size_t>(n), 0);
    tailles.assign(static_cast<std::size_t>(n), 0);
    if (n == 0)
        return;
    int somme = 0;
    for (int m : minimums)
        somme += m;
    if (somme <= longueur) {
        // Equal cells where they are wide enough; the cells that need more take it from the rest.
        std::vector<bool> fixe(static_cast<std::size_t>(n), false);
        int libre = longueur;
        int restantes = n;
        for (bool change = true; change && restantes > 0;) {
            change = false;
            const int part = libre / restantes;
            for (int i = 0; i < n; ++i) {
                const auto k = static_cast<std::size_t>(i);
                if (!fixe[k] && minimums[k] > part) {
                    fixe[k] = true;
                    tailles[k] = minimums[k];
                    libre -= minimums[k];
                    --restantes;
                    change = true;
                }
            }
        }
        int derniereLibre = -1;
        for (int i = 0; i < n; ++i)
            if (!fixe[static_cast<std::size_t>(i)])
                derniereLibre = i;
        for (int i = 0, servies = 0; i < n; ++i) {
            const auto k = static_cast<std::size_t>(i);
            if (fixe[k])
                continue;
            tailles[k] = i == derniereLibre ? libre - servies * (libre / restantes) : libre / restantes;
            ++servies;
        }
        int x = 0;
        for (int i = 0; i < n; ++i) {
            debuts[static_cast<std::size_t>(i)] = x;
            x += tailles[static_cast<std::size_t>(i)];
        }
        return;
    }
    // Too narrow for every minimum: each keeps its own, overlapping its neighbours, none beyond
    // the end unless it is larger than the whole length.
    const int pas = n > 1 ? std::max(0, (longueur - minimums.back()) / (n - 1)) : 0;
    for (int i = 0; i < n; ++i) {
        const auto k = static_cast<std::size_t>(i);
        tailles[k] = minimums[k];
        debuts[k] = std::max(0, std::min(i * pas, longueur - minimums[k]));
    }
}

} // namespace

std::vector<QRect> Mosaique(QSize zone, const std::vector<QSize> &minimums)
{
    const int n = static_cast<int>(minimums.size());
    std::vector<QRect> cadres;
    if (n == 0 || zone.isEmpty())
        return cadres;
    const int colonnes = std::max(1, static_cast<int>(std::ceil(std::sqrt(static_cast<double>(n)))));
    const int rangees = (n + colonnes - 1) / colonnes;

    // The rows' heights: each at least its highest window's minimum.
    std::vector<int> minRangees(static_cast<std::size_t>(rangees), 0);
    for (int i = 0; i < n; ++i) {
        int &m = minRangees[static_cast<std::size_t>(i / colonnes)];
        m = std::max(m, minimums[static_cast<std::size_t>(i)].height());
    }
    std::vector<int> ys, hauteurs;
    Partage(zone.height(), minRangees, ys, hauteurs);

    cadres.reserve(static_cast<std::size_t>(n));
    for (int r = 0; r < rangees; ++r) {
        const int premiere = r * colonnes;
        const int derniere = std::min(n, premiere + colonnes);
        std::vector<int> minLargeurs;
        for (int i = premiere; i < derniere; ++i)
            minLargeurs.push_back(minimums[static_cast<std::size_t>(i)].width());
        std::vector<int> xs, largeurs;
        Partage(zone.width(), minLargeurs, xs, largeurs);
        for (int i = premiere; i < derniere; ++i) {
            const auto c = static_cast<std::size_t>(i - premiere);
            const auto k = static_cast<std::size_t>(r);
            const int h = std::max(hauteurs[k], minimums[static_cast<std::size_t>(i)].height());
            cadres.emplace_back(xs[c], ys[k], largeurs[c], h);
        }
    }
    return cadres;
}

QRect DansLaZone(const QRect &cadre, QSize minimum, QSize zone)
{
    const int largeur = std::max(std::min(cadre.width(), zone.width()), minimum.width());
    const int hauteur = std::max(std::min(cadre.height(), zone.height()), minimum.height());
    const int x = std::max(0, std::min(cadre.x(), zone.width() - largeur));
    const int y = std::max(0, std::min(cadre.y(), zone.height() - hauteur));
    return QRect(x, y, largeur, hauteur);
}
