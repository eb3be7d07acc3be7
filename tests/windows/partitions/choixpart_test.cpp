// Choosing a partition from the main window: the dialog, the registry, the statistics window and
// the graphs it opens, and their nodes in the navigation tree.
#include "engine/base_fixture.h"
#include "support/poste_test.h"
#include "windows/fenprinc_echantillon.h"

#include "engine/charg1.h"
#include "engine/partition.h"
#include "services/corpus_registry.h"
#include "services/rapport.h"
#include "shell/fennavig.h"
#include "shell/fenprinc.h"
#include "shell/zone_fenetres.h"
#include "windows/graphe/fengraphetgen.h"
#include "windows/installation.h"
#include "windows/partitions/fenchoixpart.h"
#include "windows/partitions/fenstatpart.h"
#include "windows/partitions/ouverture.h"

#include <QAction>
#include <QFile>
#include <QListWidget>
#include <QMenu>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QStandardItemModel>
#include <QToolButton>

#include <memory>

using talmer::test::DialoguesTest;
using talmer::test::TraiteEvenements;

// A closed window goes once its deferred deletion has run.
void Ferme(QWidget *fenetre)
{
    fenetre->parentWidget()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

namespace {

class ChoixPartTest : public talmer::test::FenPrincEchantillon {
protected:
    // Runs the "Partitions" command; the dialog is answered by choosing `cle` and pressing
    // "Créer" (no key: "Créer" with nothing selected).
    void Choisit(const QString &cle)
    {
        dialogues.repondDialogue = [cle](QDialog &d) {
            auto &choix = dynamic_cast<TFenChoixPart &>(d);
            for (int i = 0; i < choix.ListParts()->count(); ++i)
                if (choix.ListParts()->item(i)->text() == cle)
                    choix.ListParts()->item(i)->setSelected(true);
            choix.BtnValide()->click();
            return choix.result();
        };
        fen->Action("BtnPart")->trigger();
        TraiteEvenements();
    }

    QStandardItem *Partitions() const { return fen->FenNavig()->NoeudPartitions(); }

    static QStringList Enfants(const QStandardItem *noeud)
    {
        QStringList textes;
        for (int i = 0; noeud && i < noeud->rowCount(); ++i)
            textes << noeud->child(i)->text();
        return textes;
    }

    template <class Fenetre>
    std::vector<Fenetre *> Fenetres() const
    {
        std::vector<Fenetre *> trouvees;
        for (QMdiSubWindow *s : fen->Zone().Mdi()->subWindowList())
            if (auto *f = qobject_cast<Fenetre *>(s->widget()))
                trouvees.push_back(f);
        return trouvees;
    }

};

TEST_F(ChoixPartTest, TheDialogListsTheKeyTypesAlphabetically)
{
    TFenChoixPart choix(*fen, *base);
    EXPECT_EQ(choix.windowTitle(), QStringLiteral("Choix de la partition"));
    ASSERT_EQ(choix.ListParts()->count(), 2);
    EXPECT_EQ(choix.ListParts()->item(0)->text(), QStringLiteral("auteur"));
    EXPECT_EQ(choix.ListParts()->item(1)->text(), QStringLiteral("date"));
    EXPECT_EQ(choix.ListParts()->item(1)->data(Qt::UserRole).toInt(), base->LocFormDic("date", false));
    EXPECT_EQ(choix.BtnValide()->text(), QStringLiteral("Créer"));
    EXPECT_FALSE(choix.Creation());
}

TEST_F(ChoixPartTest, FirstChoiceRegistersOpensTheWindowsAndAddsTheNodes)
{
    Choisit(QStringLiteral("date"));
    EXPECT_TRUE(fen->Action("BtnPCLC")->isEnabled());
    ASSERT_EQ(fen->Registre().NbPartitions(), 1);
    InfoPartition *entree = fen->Registre().EntreePartition(0);
    EXPECT_EQ(entree->cle, base->LocFormDic("date", false));
    EXPECT_EQ(entree->partition->NbParties(), 3);

    ASSERT_EQ(Enfants(Partitions()), QStringList{QStringLiteral("date")});
    QStandardItem *cle = Partitions()->child(0);
    EXPECT_EQ(static_cast<NoeudNavig *>(cle)->Image(), 2);
    EXPECT_EQ(Enfants(cle), (QStringList{"PCLC", "Graphiques", "Spécifs", "AFC"}));
    EXPECT_EQ(talmer::NoeudCle(*fen, *entree), cle);

    const auto stats = Fenetres<TFenStatPart>();
    const auto graphes = Fenetres<TFenGrapheTgen>();
    ASSERT_EQ(stats.size(), 1u);
    ASSERT_EQ(graphes.size(), 1u);
    EXPECT_EQ(TFenNavig::FenetreDuNoeud(cle->child(talmer::RangPCLC)), stats[0]);
    EXPECT_EQ(&stats[0]->PartitionStat(), entree->partition);
    EXPECT_EQ(&graphes[0]->PartitionGraphe(), entree->partition);
    EXPECT_EQ(Enfants(cle->child(talmer::RangGraphiques)), QStringList{QStringLiteral("Graphique (1)")});
    EXPECT_EQ(TFenNavig::FenetreDuNoeud(cle->child(talmer::RangGraphiques)->child(0)), graphes[0]);
    ASSERT_EQ(entree->vues.size(), 1u);
    EXPECT_EQ(entree->vues[0], graphes[0]);
    EXPECT_TRUE(graphes[0]->parentWidget()->isMaximized());
    EXPECT_EQ(fen->Zone().Mdi()->activeSubWindow()->widget(), graphes[0]);
    EXPECT_EQ(graphes[0]->windowTitle(), QStringLiteral("Graphique de ventilation pour la partition : date"));
}

// The graph opens maximised; when a window opening in its normal state restores it, it keeps a
// readable size, not the least its controls allow, and it and the windows restored with it lie
// inside the area.
TEST_F(ChoixPartTest, TheGraphRestoredByAWindowOpeningNormallyStaysReadableInsideTheArea)
{
    fen->resize(1366, 768);
    fen->show();
    TraiteEvenements();
    // After the reading view, maximised, and a concordance, maximised too.
    fen->Action("BtnDocu")->trigger();
    TraiteEvenements();
    Choisit(QStringLiteral("auteur"));
    const auto graphes = Fenetres<TFenGrapheTgen>();
    ASSERT_EQ(graphes.size(), 1u);
    auto *graphe = qobject_cast<QMdiSubWindow *>(graphes[0]->parentWidget());
    ASSERT_TRUE(graphe->isMaximized());

    fen->Action("BtnSelFormes")->trigger();
    TraiteEvenements();
    ASSERT_FALSE(fen->Zone().Mdi()->activeSubWindow()->isMaximized());
    ASSERT_FALSE(graphe->isMaximized());
    const QRect vue(QPoint(0, 0), fen->Zone().ZoneVisible());
    for (QMdiSubWindow *s : fen->Zone().Mdi()->subWindowList()) {
        EXPECT_TRUE(vue.contains(s->geometry())) << s->windowTitle().toStdString();
    }
    EXPECT_GE(graphe->width(), vue.width() / 2);
    EXPECT_GE(graphe->height(), vue.height() / 2);
    EXPECT_EQ(graphe->size(), graphe->size().expandedTo(graphe->minimumSizeHint()));
}

// The statistics window, maximised, opens Pareto at its set size: the windows leave maximised,
// the statistics window at least at its designed size, all of them inside the area.
TEST_F(ChoixPartTest, TheStatisticsWindowRestoredByParetoKeepsItsDesignedSize)
{
    fen->resize(1366, 768);
    fen->show();
    TraiteEvenements();
    Choisit(QStringLiteral("auteur"));
    TFenStatPart *stat = Fenetres<TFenStatPart>().at(0);
    fen->Zone().Montre(stat);
    auto *sous = qobject_cast<QMdiSubWindow *>(stat->parentWidget());
    ASSERT_TRUE(sous->isMaximized());

    stat->findChild<QToolButton *>(QStringLiteral("BtnZipf"))->click();
    TraiteEvenements();
    ASSERT_FALSE(sous->isMaximized());
    EXPECT_EQ(stat->size(), stat->size().expandedTo(QSize(658, 440)));
    const QRect vue(QPoint(0, 0), fen->Zone().ZoneVisible());
    for (QMdiSubWindow *s : fen->Zone().Mdi()->subWindowList()) {
        EXPECT_FALSE(s->isMaximized()) << s->windowTitle().toStdString();
        EXPECT_TRUE(vue.contains(s->geometry())) << s->windowTitle().toStdString();
    }
}

TEST_F(ChoixPartTest, ChoosingAKeyAgainAddsOnlyANumberedGraph)
{
    Choisit(QStringLiteral("date"));
    Choisit(QStringLiteral("date"));
    // A closed graph keeps its place in the numbering.
    Ferme(Fenetres<TFenGrapheTgen>()[0]);
    Choisit(QStringLiteral("date"));
    EXPECT_EQ(fen->Registre().NbPartitions(), 1);
    EXPECT_EQ(Fenetres<TFenStatPart>().size(), 1u);
    ASSERT_EQ(Enfants(Partitions()), QStringList{QStringLiteral("date")});
    QStandardItem *graphiques = Partitions()->child(0)->child(talmer::RangGraphiques);
    EXPECT_EQ(Enfants(graphiques), (QStringList{"Graphique (1)", "Graphique (2)", "Graphique (3)"}));
    EXPECT_EQ(TFenNavig::FenetreDuNoeud(graphiques->child(0)), nullptr);
    EXPECT_EQ(Enfants(Partitions()->child(0)).size(), 4);

    // Another key is another partition, with its own nodes and numbering.
    Choisit(QStringLiteral("auteur"));
    EXPECT_EQ(fen->Registre().NbPartitions(), 2);
    EXPECT_EQ(Enfants(Partitions()), (QStringList{"date", "auteur"}));
    EXPECT_EQ(Enfants(Partitions()->child(1)->child(talmer::RangGraphiques)), QStringList{"Graphique (1)"});
    EXPECT_EQ(Fenetres<TFenStatPart>().size(), 2u);
}

TEST_F(ChoixPartTest, AClosedStatisticsWindowOpensAgainOnTheSameNode)
{
    Choisit(QStringLiteral("auteur"));
    QStandardItem *pclc = Partitions()->child(0)->child(talmer::RangPCLC);
    Ferme(Fenetres<TFenStatPart>()[0]);
    EXPECT_EQ(TFenNavig::FenetreDuNoeud(pclc), nullptr);

    Choisit(QStringLiteral("auteur"));
    const auto stats = Fenetres<TFenStatPart>();
    ASSERT_EQ(stats.size(), 1u);
    EXPECT_EQ(TFenNavig::FenetreDuNoeud(pclc), stats[0]);
    EXPECT_EQ(Enfants(Partitions()->child(0)), (QStringList{"PCLC", "Graphiques", "Spécifs", "AFC"}));
    EXPECT_EQ(Partitions()->rowCount(), 1);
}

TEST_F(ChoixPartTest, CreateWithNothingSelectedBuildsNothingButRaisesTheFlag)
{
    Choisit(QString());
    EXPECT_EQ(dialogues.dialoguesVus, std::vector<std::string>{"TFenChoixPart"});
    EXPECT_EQ(fen->Registre().NbPartitions(), 0);
    EXPECT_FALSE(Partitions()->hasChildren());
    EXPECT_TRUE(Fenetres<TFenStatPart>().empty());
    // The flag enables "PCLC", whose menu lists the partitions there are: none.
    ASSERT_TRUE(fen->Action("BtnPCLC")->isEnabled());
    fen->Action("BtnPCLC")->trigger();
    auto *menu = fen->findChild<QMenu *>(QStringLiteral("PmnPCLC"));
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(menu->actions().isEmpty());
    menu->close();
    EXPECT_TRUE(Fenetres<TFenStatPart>().empty());

    TFenChoixPart choix(*fen, *base);
    choix.ListParts()->item(0)->setSelected(true);
    choix.BtnAnnule()->click();
    EXPECT_FALSE(choix.Creation());
    EXPECT_EQ(choix.result(), QDialog::Rejected);
    EXPECT_EQ(fen->Registre().NbPartitions(), 0);
}

// Once enabled, "PCLC" stays so when another base replaces the open one; its menu then lists
// only the new base's partitions, and an item brings back that partition's statistics window.
TEST_F(ChoixPartTest, PclcStaysEnabledAcrossBasesAndListsOnlyTheOpenBasesPartitions)
{
    Choisit(QStringLiteral("date"));
    const std::string autre = talmer::test::FabriqueBaseEchantillon(dir_.path() / "autre");
    ASSERT_FALSE(autre.empty());
    ASSERT_TRUE(fen->Ouverture().OuvreBase(QString::fromStdString(autre)));
    ASSERT_NE(fen->Base(), base);
    EXPECT_TRUE(fen->Action("BtnPCLC")->isEnabled());

    // With no partition to list nothing pops up, and the next click, once there is one, shows it.
    auto *menu = fen->findChild<QMenu *>(QStringLiteral("PmnPCLC"));
    ASSERT_NE(menu, nullptr);
    fen->Action("BtnPCLC")->trigger();
    EXPECT_TRUE(menu->actions().isEmpty());
    EXPECT_FALSE(menu->isVisible());

    Choisit(QStringLiteral("auteur"));
    TFenStatPart *stat = Fenetres<TFenStatPart>().at(0);
    EXPECT_EQ(stat->PartitionStat().Base(), fen->Base());
    stat->parentWidget()->showMinimized();
    fen->Action("BtnPCLC")->trigger();
    EXPECT_TRUE(menu->isVisible());
    ASSERT_EQ(menu->actions().size(), 1);
    EXPECT_EQ(menu->actions()[0]->text(), QStringLiteral("auteur"));
    menu->actions()[0]->trigger();
    menu->close();
    EXPECT_EQ(fen->Zone().Mdi()->activeSubWindow()->widget(), stat);
    EXPECT_FALSE(stat->parentWidget()->isMinimized());
}

TEST_F(ChoixPartTest, ADoubleClickCreatesAndStatBringsTheStatisticsWindowBack)
{
    TFenChoixPart choix(*fen, *base);
    choix.ListParts()->item(1)->setSelected(true);
    choix.ListPartsDblClick();
    EXPECT_TRUE(choix.Creation());
    EXPECT_EQ(choix.result(), QDialog::Accepted);

    TFenStatPart *stat = Fenetres<TFenStatPart>().at(0);
    TFenGrapheTgen *graphe = Fenetres<TFenGrapheTgen>().at(0);
    stat->parentWidget()->showMinimized();
    fen->Zone().Mdi()->setActiveSubWindow(qobject_cast<QMdiSubWindow *>(graphe->parentWidget()));
    graphe->BtnPCLC()->click();
    EXPECT_EQ(fen->Zone().Mdi()->activeSubWindow()->widget(), stat);
    EXPECT_FALSE(stat->parentWidget()->isMinimized());
    EXPECT_FALSE(stat->parentWidget()->isMaximized());
}

TEST_F(ChoixPartTest, ABaseWithoutKeysOffersNothing)
{
    auto sansCle = talmer::test::makeBase("le chat dort.\n", ".", "sanscle");
    ASSERT_TRUE(sansCle);
    TFenChoixPart choix(*fen, *sansCle);
    EXPECT_EQ(choix.ListParts()->count(), 0);
    choix.BtnValide()->click();
    EXPECT_TRUE(choix.Creation());
    EXPECT_EQ(fen->Registre().NbPartitions(), 0);
    EXPECT_EQ(talmer::OuvrePartition(*fen, *sansCle, 0), nullptr);
}

} // namespace
