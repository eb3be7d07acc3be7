#include "windows/sections/dessin_carte.h"

#include "windows/commun/choixcouleur.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

namespace talmer {

namespace {

constexpr std::int32_t Blanc = 0xFFFFFF;
constexpr std::int32_t Noir = 0x000000;
constexpr std::int32_t Bleu = 0xFF0000;
constexpr std::int32_t Rouge = 0x0000FF;

char Drapeau(const std::vector<char> &v, std::int32_t i)
{
    return i >= 0 && static_cast<std::size_t>(i) < v.size() ? v[static_cast<std::size_t>(i)] : 0;
}

// An outline of `epaisseur` pixels drawn inside the box.
void Contour(QPainter &p, int x, int y, int taille, int epaisseur, const QColor &couleur)
{
    for (int k = 0; k < epaisseur && 2 * k < taille; ++k) {
        const int cote = taille - 2 * k;
        p.fillRect(x + k, y + k, cote, 1, couleur);
        p.fillRect(x + k, y + k + cote - 1, cote, 1, couleur);
        p.fillRect(x + k, y + k, 1, cote, couleur);
        p.fillRect(x + k + cote - 1, y + k, 1, cote, couleur);
    }
}

} // namespace

void DonneesCarte::Dimensionne(std::int32_t n)
{
    const std::size_t taille = static_cast<std::size_t>(std::max<std::int32_t>(n, 0));
    selection.assign(taille, 0);
    touche.assign(taille, 0);
    toucheSup.assign(taille, 0);
    specif.assign(taille, 0);
}

std::int32_t RemplissageSection(const DonneesCarte &donnees, std::int32_t i)
{
    if (!Drapeau(donnees.touche, i))
        return Blanc;
    if (donnees.seuillage) {
        const std::int32_t c = i < static_cast<std::int32_t>(donnees.specif.size()) ? donnees.specif[static_cast<std::size_t>(i)] : 0;
        if (c >= donnees.seuilHaut)
            return donnees.teintes.couleur1;
        if (c >= donnees.seuilBas)
            return donnees.teintes.couleur2;
        return donnees.teintes.couleur3;
    }
    // A white group would not show on the white map.
    return donnees.couleurGroupe == Blanc ? Noir : donnees.couleurGroupe;
}

void DessineCarte(QPainter &peintre, const DispositionCarte &d, const DonneesCarte &donnees,
                  const EtiquettesZones *etiquettes, const QRect &zone)
{
    const int S = d.taille;
    peintre.save();
    peintre.setBackgroundMode(Qt::TransparentMode);

    if (etiquettes) {
        QFont police = peintre.font();
        police.setPointSize(8);
        peintre.setFont(police);
        const QFontMetrics mesure(police);
        const QColor rouge = CouleurDeValeur(Rouge);
        peintre.setPen(QPen(rouge, 1));
        const int largeurCle = mesure.horizontalAdvance(etiquettes->cle);
        for (std::size_t z = 0; z < d.yEntetes.size(); ++z) {
            const int y = d.yEntetes[z];
            if (y + 12 < zone.top() || y - 3 - mesure.height() > zone.bottom())
                continue;
            peintre.drawText(QPoint(20, y - 3 + mesure.ascent()), etiquettes->cle);
            peintre.drawLine(20 + largeurCle + 2, y + 2, d.finLigne, y + 2);
            if (z < etiquettes->parties.size())
                peintre.drawText(QPoint(d.finLigne + 5, y - 3 + mesure.ascent()), etiquettes->parties[z]);
        }
    }

    QFont petite = peintre.font();
    petite.setPointSize(6);
    peintre.setFont(petite);
    const int ascent = QFontMetrics(petite).ascent();
    const auto [premier, fin] = SectionsVisibles(d, zone.top(), zone.bottom());
    const QColor bleu = CouleurDeValeur(Bleu);
    const QColor noir = CouleurDeValeur(Noir);
    const QColor couleurSup = CouleurDeValeur(donnees.couleurSup);
    for (std::int32_t i = premier; i < fin; ++i) {
        const int x = d.x[static_cast<std::size_t>(i)];
        const int y = d.y[static_cast<std::size_t>(i)];
        peintre.fillRect(x, y, S, S, CouleurDeValeur(RemplissageSection(donnees, i)));
        if (i == donnees.courante)
            Contour(peintre, x, y, S, 3, bleu);
        else if (Drapeau(donnees.selection, i))
            Contour(peintre, x, y, S, 2, bleu);
        else
            Contour(peintre, x, y, S, 1, noir);
        if (donnees.groupeSup && Drapeau(donnees.toucheSup, i)) {
            // A section hit by both groups shows the second group on its left half.
            const int w = Drapeau(donnees.touche, i) ? S / 2 + 1 : S;
            peintre.fillRect(x + 1, y + 1, w - 1, S - 2, couleurSup);
        }
        if ((i + 1) % BoitesParLigne == 0) {
            peintre.setPen(noir);
            peintre.drawText(QPoint(x + d.pas + 2 + 5, y - 2 + ascent), QString::number(i + 1));
        }
    }
    peintre.restore();
}

} // namespace talmer
