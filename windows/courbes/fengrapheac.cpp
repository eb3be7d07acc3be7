#include "windows/courbes/fengrapheac.h"

#include "engine/charg1.h"
#include "engine/partition.h"
#include "engine/selection.h"
#include "services/translation.h"
#include "shell/dragobjects.h"

#include <QChart>
#include <QLineSeries>
#include <QValueAxis>

#include <algorithm>
#include <utility>

TFenGrapheAC::TFenGrapheAC(Partition &partition, charg1 &base, QWidget *parent)
    : FenCourbes(QColor(0xFC, 0xF4, 0xED), parent), partition_(partition), base_(base)
{
    setObjectName(QStringLiteral("TFenGrapheAC"));
    setWindowTitle(QStringLiteral("Accroissement de vocabulaire"));
    Graphe()->setTitle(QStringLiteral("Accroissement de vocabulaire"));
    axeOccurrences_ = new QValueAxis;
    axeOccurrences_->setTitleText(QStringLiteral("Position dans le texte (nombre d'occurrences)"));
    axeOccurrences_->setLabelFormat(QStringLiteral("%d"));
    axeFormes_ = new QValueAxis;
    axeFormes_->setTitleText(QStringLiteral("Nombre de formes différentes"));
    axeFormes_->setLabelFormat(QStringLiteral("%d"));
    Graphe()->addAxis(axeOccurrences_, Qt::AlignBottom);
    Graphe()->addAxis(axeFormes_, Qt::AlignLeft);

    TraduitComposants(this);
    Graphe()->setTitle(Traduit("Accroissement de vocabulaire"));
    FixeLargeurMinimale();
    TraceCourbePartition(partition);
}

int &TFenGrapheAC::Compteur()
{
    static int compteur = 0;
    return compteur;
}

void TFenGrapheAC::Ajoute(const talmer::Courbe &courbe)
{
    QLineSeries *serie = AjouteSerie(courbe, false);
    serie->attachAxis(axeOccurrences_);
    serie->attachAxis(axeFormes_);
    AjusteAxes();
}

void TFenGrapheAC::TraceCourbePartition(Partition &partition)
{
    Ajoute(talmer::CourbeAccroissementPartition(base_, partition));
}

bool TFenGrapheAC::TraceCourbeSelection(const Selection &selection)
{
    talmer::Courbe courbe;
    if (!talmer::CourbeAccroissementSelection(base_, selection, courbe))
        return false;
    Ajoute(courbe);
    return true;
}

void TFenGrapheAC::AjusteAxes()
{
    double xMax = 0, yMax = 0;
    for (QLineSeries *s : Series())
        for (const QPointF &p : s->points()) {
            xMax = std::max(xMax, p.x());
            yMax = std::max(yMax, p.y());
        }
    // Counts are whole numbers: graduations on whole steps from 0, never "0 0 0 0 1" (a chart
    // without curves runs from 0 to 1, graduated 0 and 1).
    for (auto [axe, maxi] : {std::pair{axeOccurrences_, xMax}, std::pair{axeFormes_, yMax}}) {
        axe->setRange(0, std::max(1.0, maxi));
        axe->setTickType(QValueAxis::TicksDynamic);
        axe->setTickAnchor(0);
        axe->setTickInterval(talmer::PasGraduations(maxi));
    }
}

bool TFenGrapheAC::Accepte(const QMimeData *donnees) const
{
    // Only a selection of this base: its mask must fit this text. An object that carries no
    // selection is refused rather than drawn as nothing.
    talmer::TTalmerDragObject *objet = talmer::SelectionAcceptable(donnees, &base_);
    return objet && objet->Kind() != talmer::TTalmerDragObject::GenreTalmer;
}

void TFenGrapheAC::Depose(const QMimeData *donnees)
{
    talmer::TTalmerDragObject *objet = talmer::SelectionAcceptable(donnees, &base_);
    if (!objet)
        return;
    if (const Selection *selection = objet->RetourneObjet())
        TraceCourbeSelection(*selection);
}
