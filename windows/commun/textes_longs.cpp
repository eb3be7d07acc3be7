#include "windows/commun/textes_longs.h"

#include "services/translation.h"

#include <QFontMetrics>

#include <algorithm>

namespace talmer {

namespace {

const QChar Points(0x2026);

// At most `lignes` lines of at most `colonnes` characters of `texte`, each cut at its last blank
// (dropped) when there is one; `fin` is where they stop in the text (its size when they hold it
// all).
struct Lignes {
    QStringList lignes;
    qsizetype fin = 0;
};

Lignes CoupeEnLignes(const QString &texte, int colonnes, int lignes)
{
    Lignes l;
    while (l.fin < texte.size() && l.lignes.size() < lignes) {
        if (texte.size() - l.fin <= colonnes) {
            l.lignes.push_back(texte.mid(l.fin));
            l.fin = texte.size();
            break;
        }
        const qsizetype blanc = texte.lastIndexOf(QLatin1Char(' '), l.fin + colonnes);
        if (blanc > l.fin) {
            l.lignes.push_back(texte.mid(l.fin, blanc - l.fin));
            l.fin = blanc + 1;
        } else {
            l.lignes.push_back(texte.mid(l.fin, colonnes));
            l.fin += colonnes;
        }
    }
    return l;
}

} // namespace

QString TexteElude(const QString &texte, const QFont &police, int largeur)
{
    const QFontMetrics mesure(police);
    largeur = std::max(0, largeur);
    // No character is narrower than a pixel: what lies beyond that many characters never shows.
    const qsizetype visible = 2 * static_cast<qsizetype>(largeur) + 8;
    if (texte.size() <= visible)
        return mesure.elidedText(texte, Qt::ElideRight, largeur);
    const QString debut = texte.left(visible);
    const QString elude = mesure.elidedText(debut, Qt::ElideRight, largeur);
    if (elude != debut)
        return elude;
    // Characters of no width: the beginning fits whole, yet the text goes on.
    const QString points(Points);
    const int reste = largeur - mesure.horizontalAdvance(points);
    if (reste < 0)
        return QString();
    const QString court = mesure.elidedText(debut, Qt::ElideRight, reste);
    return court == debut ? debut + points : court;
}

QString TexteInfobulle(const QString &nom, int colonnes, int lignes)
{
    colonnes = std::max(1, colonnes);
    if (nom.size() <= colonnes)
        return nom;
    Lignes l = CoupeEnLignes(nom, colonnes, std::max(1, lignes));
    if (l.fin < nom.size())
        l.lignes.back() += Points;
    return l.lignes.join(QLatin1Char('\n'));
}

QString NomsInfobulle(const QStringList &noms, int colonnes, int lignes)
{
    colonnes = std::max(1, colonnes);
    lignes = std::max(1, lignes);
    QString texte;
    std::vector<qsizetype> fins; // where each name ends in the text
    for (const QString &nom : noms) {
        texte += nom;
        fins.push_back(texte.size());
        texte += QStringLiteral(", ");
    }
    const Lignes toutes = CoupeEnLignes(texte, colonnes, lignes);
    if (toutes.fin >= texte.size())
        return toutes.lignes.join(QLatin1Char('\n'));
    // The last line says how many names the others leave out, a name cut short among them.
    Lignes l = CoupeEnLignes(texte, colonnes, lignes - 1);
    const auto restants = std::count_if(fins.begin(), fins.end(), [&](qsizetype fin) { return fin > l.fin; });
    l.lignes.push_back(restants == 1 ? Traduit("… et 1 autre") : Traduit("… et %1 autres").arg(restants));
    return l.lignes.join(QLatin1Char('\n'));
}

} // namespace talmer
