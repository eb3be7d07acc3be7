// The room of the analysis windows: tiling and cascading inside the visible area, the window
// list with previous and next, and the sheets.
#include "shell/fenprinc_fixture.h"

#include "shell/rendu_memoire.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTreeView>

using talmer::test::FenPrincTest;
using talmer::test::TraiteEvenements;

namespace {

TEST_F(FenPrincTest, TiledAndCascadedWindowsStayInsideTheVisibleArea)
{
    fen->resize(1366, 768);
    fen->show();
    // A window whose controls need more than its share of the width, and smaller ones.
    QMdiSubWindow *large = Enfant(QStringLiteral("Carte"));
    large->widget()->setMinimumSize(640, 200);
    for (const char *titre : {"B", "C", "D", "E"})
        Enfant(QString::fromLatin1(titre))->resize(900, 500);
    const QRect zone(QPoint(0, 0), fen->Zone().ZoneVisible());
    ASSERT_GT(zone.width(), 640 + 100);
    for (const char *commande : {"Mosaique", "Cascade1", "Mosaique"}) {
        fen->Action(commande)->trigger();
        talmer::test::TraiteEvenements();
        // Whole (never below what its controls need) and in sight.
        for (QMdiSubWindow *s : fen->Zone().Mdi()->subWindowList()) {
            const std::string nom = std::string(commande) + " " + s->windowTitle().toStdString();
            EXPECT_TRUE(zone.contains(s->geometry())) << nom;
            EXPECT_EQ(s->size().expandedTo(s->minimumSizeHint()), s->size()) << nom;
        }
    }
    // Tiled, the wide window is beside its neighbours in its row, not under them.
    for (QMdiSubWindow *s : fen->Zone().Mdi()->subWindowList()) {
        if (s != large && s->y() == large->y()) {
            EXPECT_FALSE(s->geometry().intersects(large->geometry())) << s->windowTitle().toStdString();
        }
    }
}

TEST_F(FenPrincTest, WindowListAndPreviousNext)
{
    ASSERT_TRUE(fen->Ouverture().OuvreBase(BaseEchantillon()));
    QMdiSubWindow *c = Enfant(QStringLiteral("C"));
    QMdiSubWindow *b = Enfant(QStringLiteral("B"));
    QMdiSubWindow *a = Enfant(QStringLiteral("A"));
    ASSERT_EQ(fen->Zone().EnfantsMdi(), (std::vector<QMdiSubWindow *>{a, b, c}));
    EXPECT_EQ(fen->Zone().ListeFenetres(), (QStringList{QStringLiteral("1 B"), QStringLiteral("2 C"), QStringLiteral("3 A")}));

    fen->Zone().ChoisitFenetre(2); // the active window's own item
    EXPECT_EQ(fen->Zone().EnfantsMdi().front(), a);
    fen->Zone().ChoisitFenetre(1);
    EXPECT_EQ(fen->Zone().EnfantsMdi().front(), c);

    // With three windows, next brings the third from the front (the one at the back) forward,
    // and so cycles through them all; previous does the same.
    fen->Zone().Mdi()->setActiveSubWindow(a);
    fen->Zone().Mdi()->setActiveSubWindow(b);
    fen->Zone().Mdi()->setActiveSubWindow(c);
    fen->Zone().Mdi()->setActiveSubWindow(b);
    fen->Zone().Mdi()->setActiveSubWindow(a);
    ASSERT_EQ(fen->Zone().EnfantsMdi(), (std::vector<QMdiSubWindow *>{a, b, c}));
    fen->Action("BtnFenSuiv")->trigger();
    EXPECT_EQ(fen->Zone().EnfantsMdi(), (std::vector<QMdiSubWindow *>{c, a, b}));
    fen->Action("BtnFenSuiv")->trigger();
    EXPECT_EQ(fen->Zone().EnfantsMdi(), (std::vector<QMdiSubWindow *>{b, c, a}));
    fen->Action("BtnFenSuiv")->trigger();
    EXPECT_EQ(fen->Zone().EnfantsMdi(), (std::vector<QMdiSubWindow *>{a, b, c}));
    fen->Action("BtnFenPrec")->trigger();
    EXPECT_EQ(fen->Zone().EnfantsMdi(), (std::vector<QMdiSubWindow *>{c, a, b}));

    // With four, the third comes forward and the one at the back stays there.
    QMdiSubWindow *d = Enfant(QStringLiteral("D"));
    ASSERT_EQ(fen->Zone().EnfantsMdi(), (std::vector<QMdiSubWindow *>{d, c, a, b}));
    fen->Action("BtnFenSuiv")->trigger();
    EXPECT_EQ(fen->Zone().EnfantsMdi(), (std::vector<QMdiSubWindow *>{a, d, c, b}));

    // With one or two, next does nothing.
    delete d;
    delete c;
    fen->Zone().Mdi()->setActiveSubWindow(b);
    ASSERT_EQ(fen->Zone().EnfantsMdi(), (std::vector<QMdiSubWindow *>{b, a}));
    fen->Action("BtnFenSuiv")->trigger();
    EXPECT_EQ(fen->Zone().EnfantsMdi(), (std::vector<QMdiSubWindow *>{b, a}));
    delete b;
    fen->Action("BtnFenSuiv")->trigger();
    EXPECT_EQ(fen->Zone().EnfantsMdi(), (std::vector<QMdiSubWindow *>{a}));
}

TEST_F(FenPrincTest, SheetsHideRecordAndShowTheirWindows)
{
    ASSERT_TRUE(fen->Ouverture().OuvreBase(BaseEchantillon()));
    QMdiSubWindow *a = Enfant(QStringLiteral("A"));
    QMdiSubWindow *b = Enfant(QStringLiteral("B"));
    fen->Action("BtnNvFeuille")->trigger();
    ASSERT_EQ(fen->Zone().OngletsFeuilles()->count(), 2);
    EXPECT_EQ(fen->Zone().OngletsFeuilles()->tabText(1), QStringLiteral("Feuille 2"));
    EXPECT_EQ(fen->Zone().OngletsFeuilles()->currentIndex(), 0);

    // Moving B to sheet 2 hides it at once.
    fen->Zone().Mdi()->setActiveSubWindow(b);
    fen->Zone().DeplaceVersFeuille(1);
    EXPECT_TRUE(b->isHidden());
    EXPECT_FALSE(a->isHidden());

    // Entering sheet 2 hides A (recorded in sheet 1) and shows B.
    fen->Zone().OngletsFeuilles()->setCurrentIndex(1);
    EXPECT_TRUE(a->isHidden());
    EXPECT_FALSE(b->isHidden());
    EXPECT_EQ(fen->Zone().FenetresDeFeuille(0), (std::vector<QMdiSubWindow *>{a}));

    // A closed while recorded in a hidden sheet is never shown again.
    delete a;
    fen->Zone().OngletsFeuilles()->setCurrentIndex(0);
    EXPECT_TRUE(b->isHidden());
    EXPECT_TRUE(fen->Zone().FenetresDeFeuille(0).empty());
    EXPECT_TRUE(fen->Zone().EnfantsMdi().empty());

    // "Nouvelle feuille" makes a sheet and moves the window there.
    fen->Zone().OngletsFeuilles()->setCurrentIndex(1);
    fen->Zone().Mdi()->setActiveSubWindow(b);
    fen->Zone().DeplaceVersFeuille(-1);
    EXPECT_EQ(fen->Zone().OngletsFeuilles()->count(), 3);
    EXPECT_EQ(fen->Zone().OngletsFeuilles()->tabText(2), QStringLiteral("Feuille 3"));
    EXPECT_EQ(fen->Zone().FenetresDeFeuille(2), (std::vector<QMdiSubWindow *>{b}));
    EXPECT_TRUE(b->isHidden());
}

TEST_F(FenPrincTest, FreedMemoryGoesBackToTheSystemOnceTheWindowsOrTheBaseHaveGone)
{
    ASSERT_TRUE(fen->Ouverture().OuvreBase(BaseEchantillon()));
    fen->show();
    TraiteEvenements();
    const int avant = NombreRendusMemoire();
    // Two windows closed in one turn: the memory is asked back once, after the turn.
    QMdiSubWindow *a = Enfant(QStringLiteral("A"));
    QMdiSubWindow *b = Enfant(QStringLiteral("B"));
    a->close();
    b->close();
    EXPECT_EQ(NombreRendusMemoire(), avant);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(fen->Zone().Mdi()->subWindowList().isEmpty());
    EXPECT_EQ(NombreRendusMemoire(), avant);
    TraiteEvenements();
    EXPECT_EQ(NombreRendusMemoire(), avant + 1);

    // The base closed, with the windows it had open (its reading view, its lists).
    fen->Ouverture().FermeBase();
    TraiteEvenements();
    EXPECT_EQ(NombreRendusMemoire(), avant + 2);
}

} // namespace
