// The lists docked in the main window's side panel: the specificity and segment lists close (their
// rows freed, their report items kept), every docked window floats and docks again, and the
// panel's own pages keep their tabs however many lists pile up.
#include "windows/fenprinc_echantillon.h"

#include "engine/charg1.h"
#include "engine/primspec.h"
#include "services/rapport.h"
#include "shell/fennavig.h"
#include "shell/page_rapport.h"
#include "services/mesures.h"
#include "windows/dictionnaire/fendicnum.h"
#include "windows/segments/fenprepsr.h"
#include "windows/segments/frmsr.h"
#include "windows/segments/modele_segments.h"
#include "windows/specificites/fenspecgrp.h"

#include <QAbstractItemModel>
#include <QCoreApplication>
#include <QDockWidget>
#include <QHeaderView>
#include <QPointer>
#include <QRadioButton>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QTabBar>
#include <QToolButton>
#include <QTableView>
#include <QTreeView>

#include <gtest/gtest.h>

#include <functional>

using namespace talmer;

namespace {

class ListesAncrees : public talmer::test::FenPrincEchantillon {
protected:
    void SetUp() override
    {
        FenPrincEchantillon::SetUp();
        fen->resize(1366, 768);
        fen->show();
        talmer::test::TraiteEvenements();
    }

    TFenSpecGrp *OuvreListeSpecifs()
    {
        auto *liste = new TFenSpecGrp(nullptr, base, {{0, 20, 9, 7}, {1, 15, 2, -3}});
        liste->Affiche();
        return liste;
    }
    TfrmSR *OuvreListeSegments()
    {
        dialogues.repondDialogue = [](QDialog &d) {
            if (auto *prep = qobject_cast<TFenPrepSR *>(&d))
                prep->EditSR()->setValue(2);
            return int(QDialog::Accepted);
        };
        fen->Action("BtnSR")->trigger();
        for (QWidget *page : fen->ListesGauche()->Pages())
            if (auto *liste = qobject_cast<TfrmSR *>(page))
                return liste;
        return nullptr;
    }
    TFenDicNum *Dictionnaire() const
    {
        for (QWidget *page : fen->ListesGauche()->Pages())
            if (auto *d = qobject_cast<TFenDicNum *>(page))
                return d;
        return nullptr;
    }
    int NbElementsRapport() const { return fen->Rapports().Modele()->item(0)->rowCount(); }
    // The tab bar of the side panel that shows a tab with this text.
    QTabBar *BarreAvecOnglet(const QString &texte) const
    {
        for (QTabBar *barre : fen->ListesGauche()->findChildren<QTabBar *>())
            if (barre->isVisible())
                for (int i = 0; i < barre->count(); ++i)
                    if (barre->tabText(i) == texte)
                        return barre;
        return nullptr;
    }
};

TEST_F(ListesAncrees, AClosedListFreesItsRowsAndKeepsItsReportItem)
{
    struct Cas {
        const char *nom;
        std::function<QWidget *()> ouvre;
        std::function<QAbstractItemModel *(QWidget *)> modele;
    };
    const Cas cas[] = {
        {"specificites", [this] { return OuvreListeSpecifs(); },
         [](QWidget *w) -> QAbstractItemModel * { return static_cast<TFenSpecGrp *>(w)->Modele(); }},
        {"segments", [this] { return OuvreListeSegments(); },
         [](QWidget *w) -> QAbstractItemModel * { return static_cast<TfrmSR *>(w)->Modele(); }},
    };
    for (const Cas &c : cas) {
        SCOPED_TRACE(c.nom);
        QWidget *liste = c.ouvre();
        ASSERT_NE(liste, nullptr);
        QPointer<QDockWidget> dock = fen->ListesGauche()->Dock(liste);
        ASSERT_TRUE(dock);
        EXPECT_TRUE(dock->features().testFlag(QDockWidget::DockWidgetClosable));
        EXPECT_TRUE(fen->ListesGauche()->EstDevant(liste));
        QPointer<QAbstractItemModel> modele = c.modele(liste);
        ASSERT_TRUE(modele);
        ASSERT_GT(modele->rowCount(), 0);

        const int avant = NbElementsRapport();
        dynamic_cast<ContributeurRapport *>(liste)->AjouteAuRapport();
        ASSERT_EQ(NbElementsRapport(), avant + 1);
        const QString fichier = fen->Rapports().Courant()->DossierTemporaire() +
                                fen->Rapports().Courant()->FichiersElements().back() + QStringLiteral(".html");
        ASSERT_TRUE(QFile::exists(fichier));

        // The close box of its title bar.
        EXPECT_TRUE(dock->close());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(dock.isNull());
        EXPECT_TRUE(modele.isNull());
        EXPECT_EQ(fen->ListesGauche()->Pages().size(), 1u); // the dictionary
        EXPECT_EQ(NbElementsRapport(), avant + 1);
        EXPECT_TRUE(QFile::exists(fichier));
    }
    // The dictionary lives as long as its base: it floats but has no close box.
    QDockWidget *dico = fen->ListesGauche()->Dock(Dictionnaire());
    ASSERT_NE(dico, nullptr);
    EXPECT_FALSE(dico->features().testFlag(QDockWidget::DockWidgetClosable));
    EXPECT_TRUE(dico->features().testFlag(QDockWidget::DockWidgetFloatable));
}

TEST_F(ListesAncrees, ListsFloatAndDockAgainWithTheOthers)
{
    TFenDicNum *dictionnaire = Dictionnaire();
    TFenSpecGrp *liste = OuvreListeSpecifs();
    PanneauLateral *panneau = fen->ListesGauche();
    QDockWidget *dockDico = panneau->Dock(dictionnaire);
    QDockWidget *dockListe = panneau->Dock(liste);
    EXPECT_EQ(panneau->tabifiedDockWidgets(dockListe), QList<QDockWidget *>{dockDico});

    for (QDockWidget *dock : {dockListe, dockDico}) {
        dock->setFloating(true);
        talmer::test::TraiteEvenements();
        EXPECT_TRUE(dock->isFloating());
        EXPECT_TRUE(dock->isVisible());
        EXPECT_TRUE(panneau->EstDevant(dock->widget()));
    }
    // With every list floating, a new one docks below the panel's own pages again.
    TFenSpecGrp *autre = OuvreListeSpecifs();
    QDockWidget *dockAutre = panneau->Dock(autre);
    EXPECT_FALSE(dockAutre->isFloating());
    EXPECT_TRUE(panneau->tabifiedDockWidgets(dockAutre).isEmpty());
    EXPECT_TRUE(panneau->EstDevant(autre));

    // Back in the panel, they are tabbed where they were, never with the panel's own pages.
    dockListe->setFloating(false);
    dockDico->setFloating(false);
    talmer::test::TraiteEvenements();
    EXPECT_EQ(panneau->dockWidgetArea(dockListe), Qt::LeftDockWidgetArea);
    EXPECT_EQ(panneau->tabifiedDockWidgets(dockListe), QList<QDockWidget *>{dockDico});
    EXPECT_TRUE(panneau->EstDevant(fen->FenNavig()));
    EXPECT_NE(panneau->EstDevant(liste), panneau->EstDevant(dictionnaire));
    EXPECT_EQ(panneau->Pages(), (std::vector<QWidget *>{dictionnaire, liste, autre}));

    // A window the navigation tree brings to the front is shown in its tab.
    fen->MontreFenetre(dictionnaire);
    EXPECT_TRUE(panneau->EstDevant(dictionnaire));
    EXPECT_FALSE(panneau->EstDevant(liste));
}

TEST_F(ListesAncrees, ThePanelsOwnPagesKeepTheirTabsWithManyListsDocked)
{
    OuvreListeSegments();
    for (int i = 0; i < 12; ++i)
        OuvreListeSpecifs();
    talmer::test::TraiteEvenements();
    ASSERT_EQ(fen->ListesGauche()->Pages().size(), 14u);

    QTabBar *propres = BarreAvecOnglet(QStringLiteral("Navigation"));
    ASSERT_NE(propres, nullptr);
    ASSERT_EQ(propres->count(), 2);
    EXPECT_EQ(propres->tabText(1), QStringLiteral("Rapport"));
    for (int i = 0; i < propres->count(); ++i)
        EXPECT_TRUE(propres->rect().contains(propres->tabRect(i))) << i;

    // Choosing the tab shows the report tree, whatever list is in front below.
    propres->setCurrentIndex(1);
    talmer::test::TraiteEvenements();
    EXPECT_FALSE(fen->Rapports().Arbre()->visibleRegion().isEmpty());
    EXPECT_TRUE(fen->FenNavig()->visibleRegion().isEmpty());
    propres->setCurrentIndex(0);
    talmer::test::TraiteEvenements();
    EXPECT_FALSE(fen->FenNavig()->TreePages()->visibleRegion().isEmpty());
}

TEST_F(ListesAncrees, TheListsTabsShowTheirWholeCaptions)
{
    OuvreListeSegments();
    OuvreListeSpecifs();
    OuvreListeSpecifs();
    talmer::test::TraiteEvenements();
    QTabBar *listes = BarreAvecOnglet(QStringLiteral("Dictionnaire"));
    ASSERT_NE(listes, nullptr);
    ASSERT_EQ(listes->count(), 4);
    // The panel is narrower than the three captions: the tabs scroll rather than cut them.
    for (int i = 0; i < listes->count(); ++i)
        EXPECT_GE(listes->tabRect(i).width(), listes->fontMetrics().horizontalAdvance(listes->tabText(i)))
            << listes->tabText(i).toStdString();
}

// Docked at the panel's width, the dictionary shows its frequencies beside the forms without a
// horizontal scroll: the forms' title gives up its room first, elided, and its tool tip gives it
// whole.
TEST_F(ListesAncrees, TheDockedDictionaryShowsItsFrequenciesWithoutScrolling)
{
    TFenDicNum *dictionnaire = Dictionnaire();
    ASSERT_NE(dictionnaire, nullptr);
    const QTableView &liste = *dictionnaire->ListeFormes();
    const QHeaderView &entete = *liste.horizontalHeader();
    EXPECT_LE(entete.length(), liste.viewport()->width());
    EXPECT_GE(entete.sectionSize(0), 175);
    const QString titre = liste.model()->headerData(0, Qt::Horizontal).toString();
    if (entete.sectionSize(0) < entete.sectionSizeHint(0))
        EXPECT_EQ(BulleTitre(liste, 0), titre);
    else
        EXPECT_EQ(BulleTitre(liste, 0), QString());
    EXPECT_EQ(BulleTitre(liste, 1), QString());
    // Narrower than the designed widths allow, the list scrolls and the forms keep their room.
    fen->ListesGauche()->Dock(dictionnaire)->setFloating(true);
    fen->ListesGauche()->Dock(dictionnaire)->resize(200, 400);
    talmer::test::TraiteEvenements();
    EXPECT_GE(entete.sectionSize(0), 175);
    EXPECT_GT(entete.length(), liste.viewport()->width());
}

} // namespace

namespace {

// Docked at the panel's width, the specificity list's controls each have their room, none over
// another, and the reference parts' label is elided rather than cut.
TEST_F(ListesAncrees, TheDockedSpecificityListsControlsHoldInThePanel)
{
    TFenSpecGrp *liste = OuvreListeSpecifs();
    QString noms;
    for (int k = 0; k < 523; ++k)
        noms += QStringLiteral("page_%1, ").arg(k);
    liste->FixeLibelles(QString::fromUtf8("Corpus de référence : ") + noms, QString::fromUtf8("Parties sélectionnées : page_3, "));
    talmer::test::TraiteEvenements();
    ASSERT_TRUE(fen->ListesGauche()->EstDevant(liste));

    QWidget *haut = liste->BoutonPositives()->parentWidget();
    const std::vector<QWidget *> controles = {liste->LbCorpRef(), liste->LbParties(), liste->BoutonPositives(),
                                              liste->BoutonNegatives(),
                                              liste->findChild<QWidget *>(QStringLiteral("BtnSpfAddRap")),
                                              liste->findChild<QWidget *>(QStringLiteral("ShPastille"))};
    for (std::size_t i = 0; i < controles.size(); ++i) {
        ASSERT_NE(controles[i], nullptr) << i;
        const QRect a = controles[i]->geometry();
        EXPECT_TRUE(haut->rect().contains(a)) << controles[i]->objectName().toStdString();
        if (qobject_cast<QRadioButton *>(controles[i]) || qobject_cast<QToolButton *>(controles[i])) {
            EXPECT_GE(a.width(), controles[i]->sizeHint().width()) << controles[i]->objectName().toStdString();
        }
        for (std::size_t j = i + 1; j < controles.size(); ++j)
            EXPECT_FALSE(a.intersects(controles[j]->geometry()))
                << controles[i]->objectName().toStdString() << " and " << controles[j]->objectName().toStdString();
    }
    // The two choices stand apart: the second's circle is not against the first's text.
    EXPECT_GE(liste->BoutonNegatives()->x() - liste->BoutonPositives()->geometry().right(), 4);

    const QString montre = liste->LbCorpRef()->TexteAffiche();
    EXPECT_TRUE(montre.endsWith(QChar(0x2026))) << montre.toStdString();
    EXPECT_TRUE(liste->LbCorpRef()->text().startsWith(montre.chopped(1)));
    EXPECT_LE(liste->LbCorpRef()->fontMetrics().horizontalAdvance(montre), liste->LbCorpRef()->width());
    EXPECT_EQ(liste->LbParties()->TexteAffiche(), liste->LbParties()->text());
    // The long label does not widen the list beyond the panel.
    EXPECT_LE(liste->width(), fen->ListesGauche()->Dock(liste)->width());
}

} // namespace
