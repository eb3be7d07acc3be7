#include "shell/disposition_mdi.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace {

// Shares `longueur` between cells that each need at least their minimum, the minimums fitting
// together: equal cells where they are big enough, the cells that need more take it from the
// rest; the last of the equal cells takes the remainder.
void Partage(int longueur, const std::vector<int> &minimums, std::vector<int> &debuts, std::vector<int> &tailles)
{
    const int n = static_cast<int>(minimums.size());
    debuts.assign(static_cast<std::size_t>(n), 0);
    tailles.assign(static_cast<std::size_t>(n), 0);
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
    for (int i = 0, x = 0; i < n; ++i) {
        debuts[static_cast<std::size_t>(i)] = x;
        x += tailles[static_cast<std::size_t>(i)];
    }
}

int Somme(const std::vector<int> &valeurs) { return std::accumulate(valeurs.begin(), valeurs.end(), 0); }

// The minimum widths of the windows of each row, `colonnes` windows to a row.
std::vector<std::vector<int>> LargeursParRangee(const std::vector<QSize> &minimums, int colonnes)
{
    std::vector<std::vector<int>> rangees;
    for (std::size_t i = 0; i < minimums.size(); ++i) {
        if (i % static_cast<std::size_t>(colonnes) == 0)
            rangees.emplace_back();
        rangees.back().push_back(minimums[i].width());
    }
    return rangees;
}

// The height each row needs: that of its highest window.
std::vector<int> HauteursRangees(const std::vector<QSize> &minimums, int colonnes)
{
    std::vector<int> hauteurs;
    for (std::size_t i = 0; i < minimums.size(); ++i) {
        if (i % static_cast<std::size_t>(colonnes) == 0)
            hauteurs.push_back(0);
        hauteurs.back() = std::max(hauteurs.back(), minimums[i].height());
    }
    return hauteurs;
}

// Whether the windows of every row fit side by side. A row of one always does: a window wider
// than the area is too wide for any grid.
bool TientEnLargeur(int largeur, const std::vector<QSize> &minimums, int colonnes)
{
    for (const std::vector<int> &rangee : LargeursParRangee(minimums, colonnes))
        if (rangee.size() > 1 && Somme(rangee) > largeur)
            return false;
    return true;
}

// The lowest top each row may have so that its highest window, and every row below it with a
// title bar's height between them, end inside the area.
std::vector<int> ToitsMaximums(int hauteur, const std::vector<int> &minimums, int titre)
{
    std::vector<int> toits(minimums.size(), 0);
    for (std::size_t k = minimums.size(); k-- > 0;) {
        toits[k] = hauteur - minimums[k];
        if (k + 1 < minimums.size())
            toits[k] = std::min(toits[k], toits[k + 1] - titre);
    }
    return toits;
}

// Whether rows of these heights, overlapping, can each start a title bar below the one above and
// still all end inside the area.
bool TientEnChevauchant(int hauteur, const std::vector<int> &minimums, int titre)
{
    const std::vector<int> toits = ToitsMaximums(hauteur, minimums, titre);
    for (std::size_t k = 0; k < toits.size(); ++k)
        if (toits[k] < static_cast<int>(k) * titre)
            return false;
    return true;
}

// The number of columns: the grid closest to a square where every window has its minimum (more
// columns first, the area being wider than high); else the fewest rows whose windows fit side by
// side and that, overlapping, end inside the area; else the fewest rows whose windows fit side
// by side.
int ChoisitColonnes(QSize zone, const std::vector<QSize> &minimums, int titre)
{
    const int n = static_cast<int>(minimums.size());
    const int carre = std::max(1, static_cast<int>(std::ceil(std::sqrt(static_cast<double>(n)))));
    for (int ecart = 0; ecart < n; ++ecart) {
        for (int colonnes : {carre + ecart, carre - ecart}) {
            if (colonnes >= 1 && colonnes <= n && TientEnLargeur(zone.width(), minimums, colonnes) &&
                Somme(HauteursRangees(minimums, colonnes)) <= zone.height())
                return colonnes;
        }
    }
    for (int colonnes = n; colonnes > 1; --colonnes)
        if (TientEnLargeur(zone.width(), minimums, colonnes) &&
            TientEnChevauchant(zone.height(), HauteursRangees(minimums, colonnes), titre))
            return colonnes;
    for (int colonnes = n; colonnes > 1; --colonnes)
        if (TientEnLargeur(zone.width(), minimums, colonnes))
            return colonnes;
    return 1;
}

// The tops and the visible heights of rows that do not fit one below the other: each row shows
// at least a title bar above the next one, the rows share what is left, and no row starts lower
// than leaves its highest window and the rows below inside the area (unless the title bars above
// push it).
void RangeesChevauchees(int hauteur, const std::vector<int> &minimums, int titre, std::vector<int> &ys,
                        std::vector<int> &bandes)
{
    const int n = static_cast<int>(minimums.size());
    const std::vector<int> toits = ToitsMaximums(hauteur, minimums, titre);
    ys.assign(static_cast<std::size_t>(n), 0);
    bandes.assign(static_cast<std::size_t>(n), 0);
    for (int k = 1; k < n; ++k) {
        const auto i = static_cast<std::size_t>(k);
        const int precedent = ys[i - 1];
        const int part = (hauteur - minimums.back() - precedent) / (n - k);
        ys[i] = std::max(std::min(precedent + std::max(titre, part), toits[i]), precedent + titre);
    }
    for (int k = 0; k < n; ++k) {
        const auto i = static_cast<std::size_t>(k);
        bandes[i] = (k + 1 < n ? ys[i + 1] : hauteur) - ys[i];
    }
}

} // namespace

std::vector<QRect> Mosaique(QSize zone, const std::vector<QSize> &minimums, QSize barreTitre)
{
    const int n = static_cast<int>(minimums.size());
    std::vector<QRect> cadres;
    if (n == 0 || zone.isEmpty())
        return cadres;
    // No window smaller than a usable title bar.
    std::vector<QSize> mins;
    mins.reserve(minimums.size());
    for (const QSize &m : minimums)
        mins.push_back(m.expandedTo(barreTitre).expandedTo(QSize(0, 0)));
    const int titre = std::max(1, barreTitre.height());

    const int colonnes = ChoisitColonnes(zone, mins, titre);
    const std::vector<int> minRangees = HauteursRangees(mins, colonnes);
    std::vector<int> ys, hauteurs;
    if (Somme(minRangees) <= zone.height())
        Partage(zone.height(), minRangees, ys, hauteurs);
    else
        RangeesChevauchees(zone.height(), minRangees, titre, ys, hauteurs);

    cadres.reserve(mins.size());
    const std::vector<std::vector<int>> largeurs = LargeursParRangee(mins, colonnes);
    for (std::size_t r = 0; r < largeurs.size(); ++r) {
        std::vector<int> xs, tailles;
        if (largeurs[r].size() == 1 && largeurs[r].front() > zone.width()) {
            // Too wide for the area: it ends at the right edge, where its buttons are.
            xs = {zone.width() - largeurs[r].front()};
            tailles = largeurs[r];
        } else {
            Partage(zone.width(), largeurs[r], xs, tailles);
        }
        for (std::size_t c = 0; c < xs.size(); ++c) {
            const QSize &m = mins[r * static_cast<std::size_t>(colonnes) + c];
            cadres.emplace_back(xs[c], ys[r], tailles[c], std::max(hauteurs[r], m.height()));
        }
    }
    return cadres;
}

QRect DansLaZone(const QRect &cadre, QSize minimum, QSize zone)
{
    const int largeur = std::max(std::min(cadre.width(), zone.width()), minimum.width());
    const int hauteur = std::max(std::min(cadre.height(), zone.height()), minimum.height());
    const int x = largeur > zone.width() ? zone.width() - largeur : std::max(0, std::min(cadre.x(), zone.width() - largeur));
    const int y = std::max(0, std::min(cadre.y(), zone.height() - hauteur));
    return QRect(x, y, largeur, hauteur);
}
