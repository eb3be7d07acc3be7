// Long work on the interface thread: the status text and the progress bar while it runs, the
// cancel button, and the user's input dropped while the work repaints, all but the stop gesture.
#include "support/poste_test.h"

#include "engine/progression.h"
#include "shell/barre_etat.h"
#include "shell/fenprinc.h"
#include "shell/occupation.h"

#include <QAbstractAnimation>
#include <QAction>
#include <QElapsedTimer>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <QWindow>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using talmer::test::AppuieEchap;
using talmer::test::TraiteEvenements;

namespace {

class TravailLongTest : public talmer::test::InTempDir {
protected:
    void SetUp() override
    {
        fen = std::make_unique<TFenPrinc>();
        fen->show();
        annuler = fen->findChild<QToolButton *>(QStringLiteral("BtnInterrompre"));
        ASSERT_NE(annuler, nullptr);
        bouton = new QPushButton(QStringLiteral("Commande"));
        QObject::connect(bouton, &QPushButton::clicked, [this] { ++clics; });
        saisie = new QLineEdit;
        autres.reset(new QWidget);
        bouton->setParent(autres.get());
        saisie->setParent(autres.get());
        saisie->move(0, 40);
        autres->show();
        TraiteEvenements();
    }
    void TearDown() override
    {
        autres.reset();
        fen.reset();
    }

    // A press and a release of the left button at a point of a widget (or of its window).
    static void Clique(QObject *cible, QPoint local, QPoint global, Qt::MouseButton b = Qt::LeftButton)
    {
        for (QEvent::Type t : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease})
            QCoreApplication::postEvent(cible, new QMouseEvent(t, local, global, b, t == QEvent::MouseButtonPress ? b : Qt::NoButton,
                                                               Qt::NoModifier));
    }
    static QPoint Centre(QWidget *w) { return w->rect().center(); }

    std::unique_ptr<TFenPrinc> fen;
    QToolButton *annuler = nullptr;
    std::unique_ptr<QWidget> autres;
    QPushButton *bouton = nullptr;
    QLineEdit *saisie = nullptr;
    int clics = 0;
};

TEST_F(TravailLongTest, ShowsWhatRunsAndPutsTheBarBackAfter)
{
    fen->Etat().Progression()->setRange(0, 200);
    {
        talmer::test::DialoguesTest dialogues;
        TravailLong travail(QStringLiteral("Calcul des spécificités chronologiques…"));
        EXPECT_EQ(fen->Etat().TexteStatut(), QStringLiteral("Calcul des spécificités chronologiques…"));
        EXPECT_TRUE(annuler->isVisible());
        EXPECT_TRUE(annuler->isEnabled());
        fen->Etat().Progression()->setMaximum(400);
        for (int i = 0; i < 3; ++i)
            PasProgression2(0);
        EXPECT_EQ(fen->Etat().Progression()->value(), 6);
        travail.FixeResultat(QStringLiteral("Spécificités chronologiques : 3 lignes"));
    }
    EXPECT_EQ(fen->Etat().TexteStatut(), QStringLiteral("Spécificités chronologiques : 3 lignes"));
    EXPECT_EQ(fen->Etat().Progression()->value(), 0);
    EXPECT_EQ(fen->Etat().Progression()->maximum(), 200);
    EXPECT_FALSE(annuler->isVisible());

    // Work that cannot be stopped shows no button, and Escape does not stop it.
    {
        TravailLong travail(QStringLiteral("Chargement des données"), false);
        EXPECT_FALSE(annuler->isVisible());
        AppuieEchap(saisie);
        RafraichitEcran();
        EXPECT_FALSE(travail.InterruptionDemandee());
        EXPECT_NO_THROW(PasProgression(0));
    }
    EXPECT_EQ(fen->Etat().TexteStatut(), QString());
}

TEST_F(TravailLongTest, TheNoticeOfStoppedWorkGoesWhenOtherWorkStarts)
{
    const auto interromps = [&] {
        TravailLong travail(QStringLiteral("Calcul"));
        travail.FixeResultat(QStringLiteral("Résultat"));
        AppuieEchap(saisie);
        RafraichitEcran();
        EXPECT_FALSE(travail.Execute([] { PasProgression(0); }));
    };
    interromps();
    EXPECT_EQ(fen->Etat().TexteStatut(), QStringLiteral("Calcul interrompu"));
    RafraichitEcran();
    EXPECT_EQ(fen->Etat().TexteStatut(), QStringLiteral("Calcul interrompu"));
    // Work without a status text of its own (a window that computes under the hourglass).
    {
        Occupation occupation;
        EXPECT_EQ(fen->Etat().TexteStatut(), QString());
    }
    EXPECT_EQ(fen->Etat().TexteStatut(), QString());

    // Stopped inside other work: the notice shows once it is over, and stays.
    {
        Occupation occupation;
        interromps();
        Occupation dedans;
        EXPECT_EQ(fen->Etat().TexteStatut(), QStringLiteral("Calcul interrompu"));
    }
    EXPECT_EQ(fen->Etat().TexteStatut(), QStringLiteral("Calcul interrompu"));
    // The next long work shows its own text; what it leaves is not cleared by the work after.
    {
        TravailLong travail(QStringLiteral("Calcul des segments répétés"), false);
        EXPECT_EQ(fen->Etat().TexteStatut(), QStringLiteral("Calcul des segments répétés"));
        travail.FixeResultat(QStringLiteral("12 segments"));
    }
    {
        Occupation occupation;
        EXPECT_EQ(fen->Etat().TexteStatut(), QStringLiteral("12 segments"));
    }
}

TEST_F(TravailLongTest, ARequestAfterTheLastStepStillDiscardsTheResultUnlessItIsInPlace)
{
    for (const TravailLong::Fin fin : {TravailLong::Fin::Verifiee, TravailLong::Fin::Gardee}) {
        const bool gardee = fin == TravailLong::Fin::Gardee;
        bool fini;
        {
            TravailLong travail(QStringLiteral("Calcul"));
            fini = travail.Execute(
                [&] {
                    PasProgression(0);
                    // Made once the last step has repainted, and read by nothing else.
                    AppuieEchap(saisie);
                },
                fin);
        }
        EXPECT_EQ(fini, gardee);
        EXPECT_EQ(fen->Etat().TexteStatut(), gardee ? QString() : QStringLiteral("Calcul interrompu"));
    }
}

TEST_F(TravailLongTest, TheNoticeOfStoppedWorkGoesWithTheNextCommand)
{
    struct Cas {
        const char *quoi;
        std::function<void()> geste;
        bool efface;
    };
    const Cas cas[] = {
        {"Escape again", [&] { AppuieEchap(saisie); }, false},
        {"a click on the status bar, where the cancel button was",
         [&] { Clique(fen->statusBar(), Centre(fen->statusBar()), fen->statusBar()->mapToGlobal(Centre(fen->statusBar()))); },
         false},
        {"a click on a button", [&] { Clique(bouton, Centre(bouton), bouton->mapToGlobal(Centre(bouton))); }, true},
        {"a key typed",
         [&] {
             QCoreApplication::postEvent(saisie, new QKeyEvent(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a")));
         },
         true},
    };
    for (const Cas &c : cas) {
        {
            TravailLong travail(QStringLiteral("Calcul"));
            AppuieEchap(saisie);
            EXPECT_FALSE(travail.Execute([] { PasProgression(0); })) << c.quoi;
        }
        ASSERT_EQ(fen->Etat().TexteStatut(), QStringLiteral("Calcul interrompu")) << c.quoi;
        c.geste();
        TraiteEvenements();
        EXPECT_EQ(fen->Etat().TexteStatut(), c.efface ? QString() : QStringLiteral("Calcul interrompu")) << c.quoi;
        fen->Etat().EffaceInterruption();
    }
    // Once gone, later input changes nothing.
    fen->Etat().AfficheStatut(QStringLiteral("Prêt"));
    Clique(bouton, Centre(bouton), bouton->mapToGlobal(Centre(bouton)));
    TraiteEvenements();
    EXPECT_EQ(fen->Etat().TexteStatut(), QStringLiteral("Prêt"));
}

// The animations that run under a widget (the style's own among them).
int AnimationsEnCours(const QWidget *w)
{
    int n = 0;
    for (const QAbstractAnimation *a : w->findChildren<QAbstractAnimation *>())
        n += a->state() == QAbstractAnimation::Running ? 1 : 0;
    return n;
}

TEST_F(TravailLongTest, NothingAnimatesOnceTheWorkIsOverAndTheStatusIsPaintedWholeAtItsStart)
{
    // The status panel as it is painted.
    struct Peintures : QObject {
        int largeur = -1;
        bool eventFilter(QObject *o, QEvent *e) override
        {
            if (e->type() == QEvent::Paint)
                largeur = static_cast<QWidget *>(o)->width();
            return false;
        }
    } peintures;
    QLabel *statut = fen->findChild<QLabel *>(QStringLiteral("Statut"));
    ASSERT_NE(statut, nullptr);
    statut->installEventFilter(&peintures);
    QProgressBar *barre = fen->Etat().Progression();
    {
        const QString texte = QStringLiteral("Analyse des correspondances : calcul des facteurs… 12 s");
        TravailLong travail(texte);
        // No event handled since: what shows is what the start painted.
        EXPECT_EQ(statut->text(), texte);
        EXPECT_GE(peintures.largeur, statut->fontMetrics().horizontalAdvance(texte));
        travail.FixeIndetermine();
        for (int i = 0; i < 3; ++i) {
            barre->repaint();
            RafraichitEcran();
        }
        // The style animates the busy bar (so the check below means something).
        EXPECT_GT(AnimationsEnCours(barre), 0);
    }
    TraiteEvenements();
    for (const QWidget *w : QApplication::allWidgets())
        EXPECT_EQ(AnimationsEnCours(w), 0) << w->metaObject()->className();
    EXPECT_EQ(barre->maximum(), 200);
    statut->removeEventFilter(&peintures);
}

TEST_F(TravailLongTest, ABarNoStepMovesForAWhileShowsActivityUntilTheNextStep)
{
    QProgressBar *barre = fen->Etat().Progression();
    {
        TravailLong travail(QStringLiteral("Calcul"));
        fen->Etat().FixeEtendue(0, 400);
        PasProgression2(0);
        ASSERT_EQ(barre->value(), 2);
        // Work that goes on without a step: the repaints show it busy once a while has passed.
        QElapsedTimer attente;
        attente.start();
        while (barre->maximum() != 0 && attente.elapsed() < 20000)
            RafraichitEcran();
        ASSERT_EQ(barre->maximum(), 0);
        for (int i = 0; i < 3; ++i) {
            barre->repaint();
            RafraichitEcran();
        }
        // The next step finds the bar as it was, one step further, and nothing animating it.
        PasProgression2(0);
        EXPECT_EQ(barre->maximum(), 400);
        EXPECT_EQ(barre->value(), 4);
        EXPECT_EQ(AnimationsEnCours(barre), 0);
    }
    EXPECT_EQ(barre->maximum(), 200);
}

TEST_F(TravailLongTest, OnlyTheStopGestureGetsThroughWhileTheWorkRepaints)
{
    struct Cas {
        const char *quoi;
        std::function<void()> geste;
        bool arret;
    };
    // The button takes its place in the status bar once the work has shown it.
    const auto surAnnuler = [this] { return annuler->mapToGlobal(Centre(annuler)); };
    const Cas cas[] = {
        {"a click on another button", [&] { Clique(bouton, Centre(bouton), bouton->mapToGlobal(Centre(bouton))); }, false},
        {"a key typed into a field",
         [&] {
             QCoreApplication::postEvent(saisie, new QKeyEvent(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a")));
         },
         false},
        {"a click beside the cancel button",
         [&] {
             const QPoint a = surAnnuler() + QPoint(0, -60);
             Clique(fen->windowHandle(), fen->mapFromGlobal(a), a);
         },
         false},
        {"a right click on the cancel button", [&] { Clique(annuler, Centre(annuler), surAnnuler(), Qt::RightButton); }, false},
        {"Escape", [&] { AppuieEchap(saisie); }, true},
        {"a click on the cancel button", [&] { Clique(annuler, Centre(annuler), surAnnuler()); }, true},
        {"a click on the cancel button's place in its window",
         [&] { Clique(fen->windowHandle(), fen->mapFromGlobal(surAnnuler()), surAnnuler()); }, true},
    };
    for (const Cas &c : cas) {
        clics = 0;
        saisie->clear();
        int minuteries = 0;
        {
            TravailLong travail(QStringLiteral("Calcul"));
            ASSERT_TRUE(annuler->isVisible()) << c.quoi;
            // What is not the user's input keeps coming: a timer, here.
            QTimer::singleShot(0, [&] { ++minuteries; });
            c.geste();
            RafraichitEcran();
            EXPECT_EQ(travail.InterruptionDemandee(), c.arret) << c.quoi;
            EXPECT_EQ(clics, 0) << c.quoi;
            EXPECT_EQ(saisie->text(), QString()) << c.quoi;
            EXPECT_EQ(minuteries, 1) << c.quoi;
            if (c.arret) {
                EXPECT_FALSE(annuler->isEnabled()) << c.quoi;
                EXPECT_THROW(PasProgression(0), CalculInterrompu) << c.quoi;
                EXPECT_FALSE(travail.Execute([] { PasProgression2(0); })) << c.quoi;
            } else {
                EXPECT_NO_THROW(PasProgression(0)) << c.quoi;
                EXPECT_TRUE(travail.Execute([] { PasProgression2(0); })) << c.quoi;
            }
        }
        EXPECT_EQ(fen->Etat().TexteStatut(), c.arret ? QStringLiteral("Calcul interrompu") : QString()) << c.quoi;
    }

    // Once the work is over, the same input reaches the windows again.
    EXPECT_NO_THROW(InterromptSiDemande());
    Clique(bouton, Centre(bouton), bouton->mapToGlobal(Centre(bouton)));
    QCoreApplication::postEvent(saisie, new QKeyEvent(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a")));
    TraiteEvenements();
    EXPECT_EQ(clics, 1);
    EXPECT_EQ(saisie->text(), QStringLiteral("a"));
}

} // namespace
