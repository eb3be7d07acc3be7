#include "shell/disposition_mdi.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <utility>

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

// A row of tiles: the index of its first window and the index after its last.
using Rangee = std::pair<std::size_t, std::size_t>;

int Somme(const std::vector<int> &valeurs) { return std::accumulate(valeurs.begin(), valeurs.end(), 0); }

// The rows of a grid of `colonnes` columns, filled in order: a row takes the next windows until
// it holds `colonnes` of them or the next one would not fit beside the others (a window wider
// than the area has a row of its own).
std::vector<Rangee> Rangees(int largeur, const std::vector<QSize> &minimums, int colonnes)
{
    std::vector<Rangee> rangees;
    int occupee = 0;
    for (std::size_t i = 0; i < minimums.size(); ++i) {
        const int w = minimums[i].width();
        if (rangees.empty() || rangees.back().second - rangees.back().first >= static_cast<std::size_t>(colonnes) ||
            occupee + w > largeur) {
            rangees.emplace_back(i, i);
            occupee = 0;
        }
        rangees.back().second = i + 1;
        occupee += w;
    }
    return rangees;
}

// The height each row needs: that of its highest window.
std::vector<int> HauteursRangees(const std::vector<QSize> &minimums, const std::vector<Rangee> &rangees)
{
    std::vector<int> hauteurs;
    for (const auto &[debut, fin] : rangees) {
        hauteurs.push_back(0);
        for (std::size_t i = debut; i < fin; ++i)
            hauteurs.back() = std::max(hauteurs.back(), minimums[i].height());
    }
    return hauteurs;
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

// The rows of the grid closest to a square whose rows fit one below the other (more columns
// first, the area being wider than high); none when no grid of the windows in this order does.
std::vector<Rangee> RangeesSansChevauchement(QSize zone, const std::vector<QSize> &minimums)
{
    const int n = static_cast<int>(minimums.size());
    const int carre = std::max(1, static_cast<int>(std::ceil(std::sqrt(static_cast<double>(n)))));
    for (int ecart = 0; ecart < n; ++ecart) {
        for (int colonnes : {carre + ecart, carre - ecart}) {
            if (colonnes < 1 || colonnes > n)
                continue;
            std::vector<Rangee> rangees = Rangees(zone.width(), minimums, colonnes);
            if (Somme(HauteursRangees(minimums, rangees)) <= zone.height())
                return rangees;
        }
    }
    return {};
}

// The rows: the fewest that, overlapping, still end inside the area; else the fewest rows.
std::vector<Rangee> RangeesChevauchantes(QSize zone, const std::vector<QSize> &minimums, int titre)
{
    const int n = static_cast<int>(minimums.size());
    std::vector<Rangee> meilleures;
    for (int colonnes = n; colonnes >= 1; --colonnes) {
        std::vector<Rangee> rangees = Rangees(zone.width(), minimums, colonnes);
        if ((meilleures.empty() || rangees.size() < meilleures.size()) &&
            TientEnChevauchant(zone.height(), HauteursRangees(minimums, rangees), titre))
            meilleures = std::move(rangees);
    }
    return meilleures.empty() ? Rangees(zone.width(), minimums, n) : meilleures;
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

    // The windows in their order where a grid of them holds every minimum; else the highest
    // first, so that the high ones share rows and the rows may fit one below the other (a graph
    // and a list side by side, not each on a row of its own); else rows that overlap, in order.
    std::vector<std::size_t> ordre(mins.size());
    std::iota(ordre.begin(), ordre.end(), std::size_t{0});
    std::vector<Rangee> rangees = RangeesSansChevauchement(zone, mins);
    if (rangees.empty()) {
        std::vector<std::size_t> parHauteur = ordre;
        std::stable_sort(parHauteur.begin(), parHauteur.end(),
                         [&](std::size_t a, std::size_t b) { return mins[a].height() > mins[b].height(); });
        std::vector<QSize> tries;
        for (std::size_t i : parHauteur)
            tries.push_back(mins[i]);
        rangees = RangeesSansChevauchement(zone, tries);
        if (!rangees.empty()) {
            ordre = std::move(parHauteur);
            mins = std::move(tries);
        } else {
            rangees = RangeesChevauchantes(zone, mins, titre);
        }
    }
    const std::vector<int> minRangees = HauteursRangees(mins, rangees);
    std::vector<int> ys, hauteurs;
    if (Somme(minRangees) <= zone.height())
        Partage(zone.height(), minRangees, ys, hauteurs);
    else
        RangeesChevauchees(zone.height(), minRangees, titre, ys, hauteurs);

    cadres.resize(mins.size());
    for (std::size_t r = 0; r < rangees.size(); ++r) {
        const auto [debut, fin] = rangees[r];
        std::vector<int> largeurs;
        for (std::size_t i = debut; i < fin; ++i)
            largeurs.push_back(mins[i].width());
        std::vector<int> xs, tailles;
        if (largeurs.size() == 1 && largeurs.front() > zone.width()) {
            // Too wide for the area: it ends at the right edge, where its buttons are.
            xs = {zone.width() - largeurs.front()};
            tailles = largeurs;
        } else {
            Partage(zone.width(), largeurs, xs, tailles);
        }
        for (std::size_t c = 0; c < xs.size(); ++c)
            cadres[ordre[debut + c]] =
                QRect(xs[c], ys[r], tailles[c], std::max(hauteurs[r], mins[debut + c].height()));
    }
    return cadres;
}

std::vector<QRect> Cascade(QSize zone, const std::vector<QSize> &tailles, const std::vector<QSize> &minimums,
                           QSize barreTitre)
{
    std::vector<QRect> cadres;
    if (tailles.empty() || zone.isEmpty())
        return cadres;
    const int pas = std::max(1, barreTitre.height());
    // The tops where a title bar still ends inside the area.
    const int rangees = std::max(1, (zone.height() - barreTitre.height()) / pas + 1);
    const int n = static_cast<int>(tailles.size());
    const int colonnes = (n + rangees - 1) / rangees;
    cadres.reserve(tailles.size());
    for (int k = 0; k < n; ++k) {
        const auto i = static_cast<std::size_t>(k);
        const QSize minimum = (i < minimums.size() ? minimums[i] : QSize())
                                  .expandedTo(barreTitre)
                                  .expandedTo(QSize(0, 0));
        const QSize taille = tailles[i].expandedTo(minimum);
        const int marche = (k % rangees) * pas;
        int x = (k / rangees) * zone.width() / colonnes + marche;
        const int y = marche;
        const int largeur = std::max(minimum.width(), std::min(taille.width(), zone.width() - x));
        const int hauteur = std::max(minimum.height(), std::min(taille.height(), zone.height() - y));
        // Too wide for its place: moved left, its right end (the buttons) at the area's edge.
        if (x + largeur > zone.width())
            x = zone.width() - largeur;
        cadres.emplace_back(x, y, largeur, hauteur);
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

QRect HorsMaximise(const QRect &cadre, QSize concue, QSize minimum, QSize zone)
{
    // The area may have given the window the least its controls allow, before it was maximised.
    return DansLaZone(QRect(cadre.topLeft(), cadre.size().expandedTo(concue)), minimum, zone);
}
