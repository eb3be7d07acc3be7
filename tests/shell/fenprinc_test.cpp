// The main window: the commands at start, its titles and icons, the side panel, help, the
// navigation tree, the progress bar, and "Ajouter au rapport" handed to the active window.
#include "shell/fenprinc_fixture.h"

#include "services/contributeur.h"
#include "shell/barre_etat.h"
#include "shell/fennavig.h"
#include "shell/splash.h"
#include "support/lanceur_factice.h"

#include <QDockWidget>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProgressBar>
#include <QScrollBar>
#include <QSplitter>
#include <QStandardItemModel>
#include <QTableView>
#include <QTest>
#include <QToolButton>
#include <QTreeView>

using talmer::test::Actif;
using talmer::test::FenPrincTest;
using talmer::test::TraiteEvenements;

namespace {

TEST_F(FenPrincTest, AtStartOnlyTheCommandsThatNeedNoBaseAreEnabled)
{
    for (const char *nom : {"BtnSegment", "BtnOuvrir", "BtnEdit", "HelpBtn", "BtnFenPrec", "BtnListFen",
                            "BtnFenSuiv", "BtnOptions", "ExitBtn"})
        EXPECT_TRUE(Actif(*fen, nom)) << nom;
    for (const char *nom : {"BtnDocu", "BtnParag", "BtnSR", "BtnSelFormes", "BtnPart", "BtnPCLC",
                            "BtnVaVersFeuille", "BtnNvFeuille", "BtnAjouteRap", "BtnNouvRap",
                            "BtnSauvRapport"})
        EXPECT_FALSE(Actif(*fen, nom)) << nom;
    EXPECT_EQ(fen->windowTitle(), QStringLiteral("Talmer3"));
    EXPECT_EQ(fen->Etat().Progression()->minimum(), 0);
    EXPECT_EQ(fen->Etat().Progression()->maximum(), 200);
    EXPECT_EQ(fen->Etat().Pas(), 1);
    EXPECT_EQ(FenetrePrincipale(), fen.get());
}

TEST_F(FenPrincTest, TitlesAndIconsAreTheProgramsOwn)
{
    fen->show();
    QMdiSubWindow *lecture = Enfant(QStringLiteral("Lectorium"));
    const QImage icone = IconeProgramme().pixmap(16).toImage();
    EXPECT_EQ(fen->windowIcon().pixmap(16).toImage(), icone);
    EXPECT_EQ(lecture->windowIcon().pixmap(16).toImage(), icone);
    // A maximised child names itself in the main window's title, and goes with it.
    lecture->showMaximized();
    EXPECT_EQ(fen->windowTitle(), QStringLiteral("Talmer3 - [Lectorium]"));
    lecture->showNormal();
    EXPECT_EQ(fen->windowTitle(), QStringLiteral("Talmer3"));

    // The navigation window reads "Navigation" in its tab and title bar; it floats and docks
    // again, and has no close box.
    QDockWidget *navig = fen->FenNavig();
    EXPECT_EQ(navig->windowTitle(), QStringLiteral("Navigation"));
    EXPECT_EQ(navig->features(), QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    navig->setFloating(true);
    EXPECT_TRUE(navig->isFloating());
    navig->setFloating(false);
    EXPECT_EQ(fen->ListesGauche()->dockWidgetArea(navig), Qt::LeftDockWidgetArea);
}

class Contributeur : public QWidget, public ContributeurRapport {
public:
    void AjouteAuRapport() override { ++appels; }
    int appels = 0;
};

TEST_F(FenPrincTest, AddToReportGoesToTheActiveWindowOnceTheClickIsOver)
{
    ASSERT_TRUE(fen->Ouverture().OuvreBase(BaseEchantillon()));
    fen->Action("BtnAjouteRap")->trigger(); // no child: nothing
    TraiteEvenements();

    auto *c = new Contributeur;
    fen->Zone().AjouteFenetre(c);
    Enfant(QStringLiteral("autre"));
    fen->Zone().Mdi()->setActiveSubWindow(qobject_cast<QMdiSubWindow *>(c->parentWidget()));
    fen->Action("BtnAjouteRap")->trigger();
    EXPECT_EQ(c->appels, 0);
    TraiteEvenements();
    EXPECT_EQ(c->appels, 1);

    // A window that does not contribute ignores it.
    fen->Zone().Mdi()->setActiveSubWindow(fen->Zone().EnfantsMdi().back());
    fen->Action("BtnAjouteRap")->trigger();
    TraiteEvenements();
    EXPECT_EQ(c->appels, 1);
}

TEST_F(FenPrincTest, NavigationNodesBringTheirWindowAndSurviveItsClosing)
{
    ASSERT_TRUE(fen->Ouverture().OuvreBase(BaseEchantillon()));
    QMdiSubWindow *a = Enfant(QStringLiteral("A"));
    QMdiSubWindow *b = Enfant(QStringLiteral("B"));
    NoeudNavig *noeud = fen->FenNavig()->AjouteNoeud(fen->FenNavig()->NoeudPartitions(), QStringLiteral("PCLC"), 1, a);
    a->showMinimized();
    fen->Zone().Mdi()->setActiveSubWindow(b);

    fen->FenNavig()->TreePages()->setCurrentIndex(noeud->index());
    EXPECT_EQ(fen->Zone().Mdi()->currentSubWindow(), a);
    EXPECT_FALSE(a->isMinimized());

    delete a;
    EXPECT_EQ(noeud->Fenetre(), nullptr);
    fen->FenNavig()->TreePages()->setCurrentIndex(fen->FenNavig()->NoeudTexte()->index());
    fen->FenNavig()->TreePages()->setCurrentIndex(noeud->index());
    EXPECT_EQ(fen->Zone().Mdi()->currentSubWindow(), b);
}

TEST_F(FenPrincTest, ProgressBarStepsAndStartsOverPastItsEnd)
{
    fen->Etat().FixeProgression(0);
    PasProgression(0);
    EXPECT_EQ(fen->Etat().Progression()->value(), 1);
    PasProgression2(0);
    EXPECT_EQ(fen->Etat().Progression()->value(), 3);
    fen->Etat().FixePas(2);
    PasProgression(1);
    EXPECT_EQ(fen->Etat().Progression()->value(), 5);
    ResetProgress();
    EXPECT_EQ(fen->Etat().Progression()->value(), 0);
    AfficheStatut(QStringLiteral("Calcul"));
    EXPECT_EQ(fen->Etat().TexteStatut(), QStringLiteral("Calcul"));
    fen->Etat().FixeProgression(200);
    PasProgression(0);
    EXPECT_LT(fen->Etat().Progression()->value(), 200);
}

// Collapsed, the panel keeps its strip: 15 pixels, or the strip's width where its caption needs
// more.
int LargeurRepliee(const TFenPrinc &fen)
{
    return std::max(15, fen.findChild<QWidget *>(QStringLiteral("PanBtnRetreci"))->width());
}

TEST_F(FenPrincTest, SidePanelCollapsesAndRestores)
{
    EXPECT_EQ(fen->PanneauFond()->width(), 296);
    fen->Action("BtnRetreci")->trigger();
    EXPECT_EQ(fen->PanneauFond()->width(), LargeurRepliee(*fen));
    fen->Action("BtnRetreci")->trigger();
    EXPECT_EQ(fen->PanneauFond()->width(), 296);
}

// The strip's button "|<" lies beside the windows' area, never over it nor over the first control
// of a maximised window, the area's edge between them, its caption whole; collapsed, the area
// takes the room the panel left.
TEST_F(FenPrincTest, TheCollapseButtonHasItsOwnRoomBesideTheWindows)
{
    fen->resize(1366, 768);
    fen->show();
    auto *contenu = new QWidget;
    auto *ligne = new QHBoxLayout(contenu);
    ligne->setContentsMargins(0, 0, 0, 0);
    auto *premier = new QToolButton(contenu);
    premier->setText(QStringLiteral("< Axe horizontal"));
    ligne->addWidget(premier, 0, Qt::AlignLeft | Qt::AlignTop);
    fen->Zone().AjouteFenetre(contenu)->showMaximized();
    auto *bouton = fen->findChild<QToolButton *>(QStringLiteral("BtnRetreci"));
    ASSERT_NE(bouton, nullptr);
    QMdiArea *mdi = fen->Zone().Mdi();
    auto dansFenetre = [this](const QWidget *w) { return QRect(w->mapTo(fen.get(), QPoint(0, 0)), w->size()); };
    for (const char *etat : {"open", "collapsed", "open again"}) {
        TraiteEvenements();
        const QRect retreci = dansFenetre(bouton);
        const QRect zone = dansFenetre(mdi);
        EXPECT_TRUE(bouton->isVisible()) << etat;
        EXPECT_GE(bouton->width(), bouton->fontMetrics().horizontalAdvance(bouton->text())) << etat;
        EXPECT_LT(retreci.right(), zone.left()) << etat;
        EXPECT_FALSE(retreci.intersects(dansFenetre(premier))) << etat;
        // The area's edge lies between them.
        EXPECT_GT(mdi->frameWidth(), 0) << etat;
        EXPECT_GE(dansFenetre(premier).left(), zone.left() + mdi->frameWidth()) << etat;
        // Nothing between the panel and the area but the splitter's handle.
        EXPECT_LE(zone.left() - dansFenetre(fen->PanneauFond()).right() - 1,
                  fen->findChild<QSplitter *>(QStringLiteral("SeparateurPanneau"))->handleWidth())
            << etat;
        fen->Action("BtnRetreci")->trigger();
    }
}

TEST_F(FenPrincTest, SidePanelKeepsItsWidthUnlessTheUserDragsItsEdge)
{
    fen->resize(1366, 768);
    fen->show();
    TraiteEvenements();
    ASSERT_EQ(fen->PanneauFond()->width(), 296);
    // A list whose columns ask for 640 pixels: docked, it scrolls in the panel.
    QStandardItemModel modele(3, 4);
    auto *liste = new QTableView;
    liste->setModel(&modele);
    for (int c = 0; c < 4; ++c)
        liste->setColumnWidth(c, 160);
    QDockWidget *dock = fen->AjoutePageLaterale(liste, QStringLiteral("Liste"), GenrePage::Fermable, false);
    TraiteEvenements();
    EXPECT_EQ(fen->PanneauFond()->width(), 296);
    EXPECT_LE(dock->width(), 296);
    EXPECT_GT(liste->horizontalScrollBar()->maximum(), 0);
    // Closed, the panel is as it was, and the room of the windows with it.
    const int libre = fen->LargeurLibre();
    dock->close();
    TraiteEvenements();
    EXPECT_EQ(fen->PanneauFond()->width(), 296);
    EXPECT_EQ(fen->LargeurLibre(), libre);

    // The user drags the panel's edge 100 pixels to the right: it stays so, collapsed and opened.
    auto *separateur = fen->findChild<QSplitter *>(QStringLiteral("SeparateurPanneau"));
    ASSERT_NE(separateur, nullptr);
    QSplitterHandle *bord = separateur->handle(1);
    ASSERT_NE(bord, nullptr);
    const QPoint milieu = bord->rect().center();
    QTest::mousePress(bord, Qt::LeftButton, {}, milieu);
    QTest::mouseMove(bord, milieu + QPoint(100, 0));
    QTest::mouseRelease(bord, Qt::LeftButton, {}, milieu + QPoint(100, 0));
    TraiteEvenements();
    EXPECT_EQ(fen->PanneauFond()->width(), 396);
    EXPECT_EQ(fen->LargeurLibre(), libre - 100);
    fen->Action("BtnRetreci")->trigger();
    EXPECT_EQ(fen->PanneauFond()->width(), LargeurRepliee(*fen));
    fen->Action("BtnRetreci")->trigger();
    TraiteEvenements();
    EXPECT_EQ(fen->PanneauFond()->width(), 396);
    EXPECT_LT(fen->PanneauFond()->minimumWidth(), fen->PanneauFond()->maximumWidth());
}

TEST_F(FenPrincTest, HelpOpensThePageBesideTheProgram)
{
    fen->Action("HelpBtn")->trigger();
    ASSERT_EQ(dialogues.documents.size(), 1u);
    EXPECT_EQ(dialogues.documents[0], QCoreApplication::applicationDirPath() + QStringLiteral("/aide/html/aide.html"));
    EXPECT_TRUE(QFileInfo::exists(dialogues.documents[0]));
    EXPECT_TRUE(dialogues.messages.empty());
}

TEST_F(FenPrincTest, HelpThatNoBrowserCanOpenGivesThePagesPath)
{
    const QString page = QCoreApplication::applicationDirPath() + QStringLiteral("/aide/html/aide.html");
    const QString attendu = QStringLiteral("Impossible d'ouvrir l'aide : aucun navigateur n'a pu être lancé.\n"
                                           "Ouvrez vous-même le fichier :\n") + page;
    dialogues.lanceurBureau = true;
    struct Cas {
        const char *quoi;
        std::string path;
    };
    const Cas cas[] = {
        {"no launcher on the PATH", (dir_.path() / "vide").string()},
        // xdg-open's status when the browser it ran refused to start.
        {"a browser that fails", talmer::test::FauxLanceur(dir_.path() / "bin", "exit 4").string()},
    };
    for (const Cas &c : cas) {
        talmer::test::VariableEnv chemin("PATH", c.path);
        dialogues.messages.clear();
        fen->Action("HelpBtn")->trigger();
        ASSERT_TRUE(QTest::qWaitFor([this] { return !dialogues.messages.empty(); }, 5000)) << c.quoi;
        ASSERT_EQ(dialogues.messages.size(), 1u) << c.quoi;
        EXPECT_EQ(dialogues.messages[0].texte, attendu) << c.quoi;
        EXPECT_EQ(dialogues.messages[0].icone, IconeMessage::Exclamation) << c.quoi;
    }
}

} // namespace
