#include "windows/courbes/fenzipf.h"

#include "engine/charg1.h"
#include "engine/partition.h"
#include "services/affichage.h"
#include "services/translation.h"
#include "shell/dragobjects.h"

#include <QChart>
#include <QLineSeries>
#include <QLogValueAxis>

#include <algorithm>

TFenZipf::TFenZipf(Partition &partition, QWidget *parent)
    : FenCourbes(QColor(0xEA, 0xFE, 0xFF), parent), partition_(partition)
{
    setObjectName(QStringLiteral("TFenZipf"));

    axeFormes_ = new QLogValueAxis;
    axeFormes_->setTitleText(QStringLiteral("Nombre de formes >= F"));
    axeFormes_->setBase(10);
    axeFormes_->setLabelFormat(QStringLiteral("%g"));
    axeFormes_->setMinorTickCount(4);
    axeFormes_->setGridLinePen(QPen(Qt::lightGray, 1, Qt::SolidLine));
    axeFormes_->setMinorGridLinePen(QPen(Qt::lightGray, 1, Qt::DashLine));
    axeFrequences_ = new QLogValueAxis;
    axeFrequences_->setTitleText(QStringLiteral("Fréquence (F)"));
    axeFrequences_->setBase(10);
    axeFrequences_->setLabelFormat(QStringLiteral("%g"));
    axeFrequences_->setMinorTickCount(4);
    axeFrequences_->setGridLinePen(QPen(Qt::black, 1, Qt::SolidLine));
    axeFrequences_->setMinorGridLinePen(QPen(Qt::gray, 1, Qt::DotLine));
    axeFrequences_->setMinorGridLineVisible(true);
    Graphe()->addAxis(axeFormes_, Qt::AlignBottom);
    Graphe()->addAxis(axeFrequences_, Qt::AlignLeft);

    TraduitComposants(this);
    // The caption and the chart's title: the window's name and the partition's key.
    setWindowTitle(Traduit("Diagramme de Pareto") + QStringLiteral(" - ") +
                   EnUnicode(partition.Base() ? partition.Base()->RetourneGraphie(partition.Cle(), false) : ""));
    Graphe()->setTitle(windowTitle());
    FixeLargeurMinimale();
    TraceCourbe(partition);
}

int &TFenZipf::Compteur()
{
    static int compteur = 0;
    return compteur;
}

void TFenZipf::TraceCourbe(Partition &partition)
{
    const talmer::Courbe courbe = talmer::CourbeZipf(partition);
    QLineSeries *serie = AjouteSerie(courbe, true);
    serie->attachAxis(axeFormes_);
    serie->attachAxis(axeFrequences_);
    AjusteAxes();
}

void TFenZipf::AjusteAxes()
{
    // Both axes cover every curve drawn: the frequencies up to the highest one, the number of
    // forms up to the largest.
    double nMax = 0, fMax = 0;
    for (QLineSeries *s : Series())
        for (const QPointF &p : s->points()) {
            nMax = std::max(nMax, p.x());
            fMax = std::max(fMax, p.y());
        }
    if (nMax <= 0 || fMax <= 0)
        return; // no point: the axes stay as they were
    const auto [n0, n1] = talmer::PlageLog(1, nMax);
    const auto [f0, f1] = talmer::PlageLog(1, fMax);
    axeFormes_->setRange(n0, n1);
    axeFrequences_->setRange(f0, f1);
}

bool TFenZipf::Accepte(const QMimeData *donnees) const
{
    const talmer::TPartDragObject *objet = talmer::PartitionAcceptable(donnees, partition_.Base());
    return objet && objet->PartitionPortee() && objet->PartitionPortee()->Cle() == partition_.Cle();
}

void TFenZipf::Depose(const QMimeData *donnees)
{
    if (!Accepte(donnees))
        return;
    TraceCourbe(*talmer::PartitionAcceptable(donnees, partition_.Base())->PartitionPortee());
}
