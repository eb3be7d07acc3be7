#include "windows/partitions/ouverture.h"

#include "engine/charg1.h"
#include "engine/partition.h"
#include "services/affichage.h"
#include "services/corpus_registry.h"
#include "services/translation.h"
#include "shell/fennavig.h"
#include "shell/fenprinc.h"
#include "shell/zone_fenetres.h"
#include "windows/graphe/fengraphetgen.h"
#include "windows/partitions/fenstatpart.h"

#include <QMdiSubWindow>
#include <QStandardItemModel>

#include <memory>

namespace talmer {

namespace {

bool EstTypeDeCle(const charg1 &base, std::int32_t cle)
{
    const std::int32_t premiere = base.Nbform() + base.Nbartponct();
    return cle >= premiere && cle < premiere + base.Nbcle();
}

TFenStatPart *OuvreStatistiques(TFenPrinc &fenPrinc, Partition &partition)
{
    auto *fenetre = new TFenStatPart(&fenPrinc, partition);
    QMdiSubWindow *sous = fenPrinc.Zone().AjouteFenetre(fenetre);
    sous->showMaximized();
    return fenetre;
}

// The key's node with its four children, under "Partitions"; the entry keeps "Graphiques".
QStandardItem *AjouteNoeuds(TFenPrinc &fenPrinc, InfoPartition &entree, TFenStatPart *statistiques)
{
    TFenNavig *navig = fenPrinc.FenNavig();
    QStandardItem *partitions = fenPrinc.FenNavig()->NoeudPartitions();
    if (!navig || !partitions)
        return nullptr;
    const QString nom = EnUnicode(entree.partition->NomPartition());
    NoeudNavig *cle = navig->AjouteNoeud(partitions, nom, 2);
    navig->AjouteNoeud(cle, QStringLiteral("PCLC"), 1, statistiques);
    NoeudNavig *graphiques = navig->AjouteNoeud(cle, Traduit("Graphiques"), 2);
    navig->AjouteNoeud(cle, Traduit("Spécifs"), 2);
    navig->AjouteNoeud(cle, QStringLiteral("AFC"), 2);
    entree.noeud = graphiques->index();
    return cle;
}

} // namespace

QStandardItem *NoeudCle(TFenPrinc &fenPrinc, const InfoPartition &entree)
{
    if (!entree.noeud.isValid() || !fenPrinc.FenNavig())
        return nullptr;
    QStandardItem *graphiques = fenPrinc.FenNavig()->Modele()->itemFromIndex(entree.noeud);
    return graphiques ? graphiques->parent() : nullptr;
}

TFenStatPart *FenetreStatistiques(TFenPrinc &fenPrinc, const InfoPartition &entree)
{
    QStandardItem *cle = NoeudCle(fenPrinc, entree);
    QStandardItem *pclc = cle ? cle->child(RangPCLC) : nullptr;
    return qobject_cast<TFenStatPart *>(TFenNavig::FenetreDuNoeud(pclc));
}

InfoPartition *OuvrePartition(TFenPrinc &fenPrinc, charg1 &base, std::int32_t cle)
{
    if (!EstTypeDeCle(base, cle))
        return nullptr;
    Corpus &registre = fenPrinc.Registre();
    auto nouvelle = std::make_unique<Partition>(&base, cle);
    const bool ajoutee = registre.AjoutePartition(nouvelle.get(), &base, cle);
    InfoPartition *entree = registre.EntreePartition(registre.IndexPartition(&base, cle));
    if (!entree)
        return nullptr;
    if (ajoutee)
        nouvelle.release(); // the registry's from now on; freed when the base is closed
    else
        nouvelle.reset();
    Partition &partition = *entree->partition;

    QStandardItem *noeudCle = NoeudCle(fenPrinc, *entree);
    if (!noeudCle) {
        noeudCle = AjouteNoeuds(fenPrinc, *entree, OuvreStatistiques(fenPrinc, partition));
    } else if (!FenetreStatistiques(fenPrinc, *entree)) {
        // The window of a partition chosen again after it was closed opens anew, so its node
        // never points at nothing.
        QStandardItem *pclc = noeudCle->child(RangPCLC);
        if (pclc && pclc->type() == NoeudNavig(QString(), 1).type())
            static_cast<NoeudNavig *>(pclc)->FixeFenetre(OuvreStatistiques(fenPrinc, partition));
    }

    auto *graphe = new TFenGrapheTgen(&fenPrinc, partition);
    const int n = static_cast<int>(entree->vues.size());
    entree->vues.emplace_back(graphe);
    if (QStandardItem *graphiques = fenPrinc.FenNavig()->Modele()->itemFromIndex(entree->noeud))
        fenPrinc.FenNavig()->AjouteNoeud(graphiques, QStringLiteral("Graphique (%1)").arg(n + 1), 1, graphe);
    // Restored when another window opens in its normal state, it keeps a size at which its chart
    // reads well: the visible area's width, two thirds of its height.
    ZoneFenetres &zone = fenPrinc.Zone();
    const QSize visible = zone.ZoneVisible();
    zone.MontreMaximisee(zone.AjouteFenetre(graphe), QRect(0, 0, visible.width(), visible.height() * 2 / 3));
    return entree;
}

} // namespace talmer
