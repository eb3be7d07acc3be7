// Start-up order, the splash screen, the options dialog, the drop target and the exception
// handler; and the real program started on the sample base and closed.
#include "support/poste_test.h"

#include "services/configuration.h"
#include "services/parametres.h"
#include "shell/barre_etat.h"
#include "shell/demarrage.h"
#include "shell/droptarget.h"
#include "shell/fenopt.h"
#include "shell/fenprinc.h"
#include "shell/occupation.h"
#include "shell/splash.h"

#include <QComboBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QProcess>
#include <QProgressBar>
#include <QTimer>
#include <QToolBar>
#include <QUrl>

#include <csignal>
#include <filesystem>
#include <stdexcept>

namespace fs = std::filesystem;
using talmer::test::DialoguesTest;
using talmer::test::readFile;
using talmer::test::writeFile;

namespace {

class DemarrageTest : public talmer::test::InTempDir {
protected:
    DialoguesTest dialogues;
};

TEST_F(DemarrageTest, StepsRunInOrderAndTheSplashWaitsOnATimer)
{
    // The settings come from the user's configuration folder; only the options dialog writes there.
    const fs::path conf = fs::path(ConfigurationT3::DossierParDefaut().toStdString()) / "talmer3.conf";
    fs::create_directories(conf.parent_path());
    writeFile(conf, "numart=1234\r\n");
    FixeMaxArt(MaxArtDefaut);
    std::vector<std::string> etapes;
    QElapsedTimer chrono;
    qint64 finAttente = -1;
    bool splashVisiblePendantAttente = false;
    bool minuterieServie = false;

    OptionsDemarrage options;
    options.dureeSplash = 300;
    // The program answers while the splash screen waits: a timer set as the splash shows fires
    // during the wait.
    const auto pendantAttente = [&] {
        minuterieServie = finAttente < 0;
        for (QWidget *w : QApplication::topLevelWidgets())
            if (qobject_cast<TSplashScreen *>(w) && w->isVisible())
                splashVisiblePendantAttente = true;
    };
    options.journal = [&](const char *etape) {
        etapes.emplace_back(etape);
        if (etapes.back() == "ecran d'accueil") {
            chrono.start();
            QTimer::singleShot(0, pendantAttente);
        }
        if (etapes.back() == "fin de l'attente")
            finAttente = chrono.elapsed();
    };
    bool installe = false;
    options.installe = [&](TFenPrinc &f) {
        installe = true;
        EXPECT_EQ(&f, FenetrePrincipale());
    };

    {
        Demarrage demarrage(options);
        TFenPrinc *fen = demarrage.Prepare({});
        ASSERT_NE(fen, nullptr);
        EXPECT_TRUE(installe);
        EXPECT_EQ(MaxArt(), 1234);
        EXPECT_EQ(ConfigurationProgramme(), demarrage.Configuration());
        EXPECT_EQ(QApplication::applicationDisplayName(), QStringLiteral("Talmer3"));
        // No display name of its own, which Qt would append to every window's title: the display
        // name follows the application's name.
        QApplication::setApplicationName(QStringLiteral("Talmer3-essai"));
        EXPECT_EQ(QApplication::applicationDisplayName(), QStringLiteral("Talmer3-essai"));
        QApplication::setApplicationName(QStringLiteral("Talmer3"));
        EXPECT_EQ(QApplication::windowIcon().pixmap(16).toImage(), IconeProgramme().pixmap(16).toImage());
        EXPECT_GE(finAttente, 300);
        EXPECT_TRUE(minuterieServie);
        EXPECT_TRUE(splashVisiblePendantAttente);
        for (QWidget *w : QApplication::topLevelWidgets())
            EXPECT_EQ(qobject_cast<TSplashScreen *>(w), nullptr);
        // The command line's file is taken once the loop runs.
        EXPECT_EQ(etapes.back(), "fin de l'ecran d'accueil");
        talmer::test::TraiteEvenements();
        demarrage.Termine();
        EXPECT_EQ(ConfigurationProgramme(), nullptr);
        EXPECT_EQ(FenetrePrincipale(), nullptr);
        EXPECT_EQ(readFile(conf), "numart=1234\r\n");
    }
    const std::vector<std::string> attendues = {
        "ligne de commande gardee", "configuration", "nombre maximum d'articles", "ecran d'accueil",
        "fin de l'attente", "titre", "fenetre principale", "pause des bulles", "fin de l'ecran d'accueil",
        "ouverture du fichier de la ligne de commande", "configuration liberee"};
    EXPECT_EQ(etapes, attendues);
    FixeMaxArt(MaxArtDefaut);

    // A first run that never opens the options leaves no file behind.
    fs::remove(conf);
    {
        OptionsDemarrage rapide;
        rapide.dureeSplash = 0;
        Demarrage demarrage(rapide);
        ASSERT_NE(demarrage.Prepare({}), nullptr);
        EXPECT_EQ(MaxArt(), MaxArtDefaut);
        talmer::test::TraiteEvenements();
        demarrage.Termine();
    }
    EXPECT_FALSE(fs::exists(conf));
}

TEST_F(DemarrageTest, TheCommandLinesBaseIsOpenedOnceTheWindowIsUp)
{
    const std::string par = talmer::test::FabriqueBaseEchantillon(dir_.path() / "base");
    ASSERT_FALSE(par.empty());
    OptionsDemarrage options;
    options.dureeSplash = 0;
    Demarrage demarrage(options);
    TFenPrinc *fen = demarrage.Prepare({QString::fromStdString(par)});
    ASSERT_NE(fen, nullptr);
    EXPECT_EQ(fen->Base(), nullptr);
    talmer::test::TraiteEvenements();
    ASSERT_NE(fen->Base(), nullptr);
    EXPECT_EQ(fen->Etat().TexteStatut(), QStringLiteral("Prêt"));
    demarrage.Termine();
}

TEST(SplashScreen, ShowsTheCompiledVersion)
{
    TSplashScreen splash;
    EXPECT_EQ(splash.LbVersion()->text(), QStringLiteral("Version : ") + QStringLiteral(TALMER_VERSION));
    EXPECT_EQ(splash.size(), QSize(528, 371));
    EXPECT_FALSE(QString::fromUtf8(TALMER_VERSION).isEmpty());
}

// ----------------------------------------------------------------------------------------------

TEST_F(DemarrageTest, ExceptionsAreShownAndTheProgramGoesOn)
{
    QLabel emetteur;
    const bool r = NotifieProtege(&emetteur, []() -> bool { throw std::runtime_error("Valeur incorrecte"); });
    EXPECT_FALSE(r);
    ASSERT_EQ(dialogues.messages.size(), 1u);
    EXPECT_EQ(dialogues.messages[0].texte, QStringLiteral("Valeur incorrecte classnameQLabel"));
    EXPECT_EQ(dialogues.messages[0].icone, IconeMessage::Erreur);
    EXPECT_EQ(dialogues.messages[0].boutons, BoutonsMessage::Ok);

    NotifieProtege(&emetteur, []() -> bool { throw 42; });
    ASSERT_EQ(dialogues.messages.size(), 2u);
    EXPECT_EQ(dialogues.messages[1].texte, QStringLiteral("Exception inconnue classnameQLabel"));
    EXPECT_TRUE(NotifieProtege(&emetteur, [] { return true; }));
    EXPECT_EQ(dialogues.messages.size(), 2u);
}

TEST(DelaiBulles, HintsGetTheHidePauseUnlessTheyHaveTheirOwn)
{
    DelaiBulles filtre;
    QLabel sansDuree, avecDuree;
    avecDuree.setToolTipDuration(1000);
    sansDuree.installEventFilter(&filtre);
    avecDuree.installEventFilter(&filtre);
    QHelpEvent e1(QEvent::ToolTip, QPoint(1, 1), QPoint(1, 1));
    QHelpEvent e2(QEvent::ToolTip, QPoint(1, 1), QPoint(1, 1));
    QCoreApplication::sendEvent(&sansDuree, &e1);
    QCoreApplication::sendEvent(&avecDuree, &e2);
    EXPECT_EQ(sansDuree.toolTipDuration(), 4000);
    EXPECT_EQ(avecDuree.toolTipDuration(), 1000);
}

// ----------------------------------------------------------------------------------------------
// Options dialog

class OptionsTest : public talmer::test::InTempDir {
protected:
    void SetUp() override { FixeMaxArt(MaxArtDefaut), FixeNbEtiquettes(1); }
    void TearDown() override { FixeMaxArt(MaxArtDefaut), FixeNbEtiquettes(1); }
    DialoguesTest dialogues;
    ConfigurationT3 configuration;
};

TEST_F(OptionsTest, OkStoresTheSettingsAndSavesTheFile)
{
    TFenOpt dialogue(configuration);
    EXPECT_EQ(dialogue.EdMaxart()->text(), QStringLiteral("100000"));
    EXPECT_EQ(dialogue.EdEtiqs()->text(), QStringLiteral("1"));
    ASSERT_EQ(dialogue.CbCharset()->count(), 16);
    EXPECT_EQ(dialogue.CbCharset()->itemText(2), QStringLiteral("Grec"));
    EXPECT_EQ(dialogue.CbCharset()->currentIndex(), 0);

    dialogue.EdMaxart()->setText(QStringLiteral("200000"));
    dialogue.EdEtiqs()->setText(QStringLiteral("3"));
    dialogue.CbCharset()->setCurrentIndex(2);
    dialogue.BitBtn1Click();
    EXPECT_EQ(dialogue.result(), QDialog::Accepted);
    EXPECT_EQ(MaxArt(), 200000);
    EXPECT_EQ(NbEtiquettes(), 3);
    EXPECT_EQ(configuration.GetNumart(), 200000);
    EXPECT_EQ(configuration.GetCharsetIndex(), 2);
    EXPECT_EQ(readFile(configuration.Chemin().toStdString()), "numart=200000\r\ncharset=2\r\n");
    EXPECT_TRUE(dialogues.messages.empty());

    // Opened again, the dialog shows the current maximum and set, but a labels count of 1
    // whatever it is: OK without editing sets the count back to 1.
    TFenOpt encore(configuration);
    EXPECT_EQ(encore.EdEtiqs()->text(), QStringLiteral("1"));
    EXPECT_EQ(encore.EdMaxart()->text(), QStringLiteral("200000"));
    EXPECT_EQ(encore.CbCharset()->currentIndex(), 2);
    encore.BitBtn1Click();
    EXPECT_EQ(NbEtiquettes(), 1);
    EXPECT_EQ(MaxArt(), 200000);
    EXPECT_EQ(configuration.GetCharsetIndex(), 2);
}

// The entries are taken in order and a wrong one stops there: a wrong labels count changes
// nothing, a wrong maximum keeps the labels count read before it; neither sets the character set
// nor saves the file.
TEST_F(OptionsTest, AWrongEntryStopsAtItsStepAndSavesNothing)
{
    const struct {
        const char *etiquettes;
        const char *maxart;
        std::int32_t etiquettesApres;
    } cas[] = {{"abc", "200000", 1}, {"3", "abc", 3}, {"3", "0", 3}, {"-2", "-5", -2}, {"3", "99999999", 3}};
    for (const auto &c : cas) {
        FixeNbEtiquettes(1);
        dialogues.messages.clear();
        TFenOpt dialogue(configuration);
        dialogue.EdEtiqs()->setText(QString::fromUtf8(c.etiquettes));
        dialogue.EdMaxart()->setText(QString::fromUtf8(c.maxart));
        dialogue.CbCharset()->setCurrentIndex(4);
        dialogue.BitBtn1Click();
        EXPECT_NE(dialogue.result(), QDialog::Accepted) << c.etiquettes << " " << c.maxart;
        EXPECT_EQ(dialogues.messages.size(), 1u);
        EXPECT_EQ(NbEtiquettes(), c.etiquettesApres) << c.etiquettes << " " << c.maxart;
        EXPECT_EQ(MaxArt(), MaxArtDefaut);
        EXPECT_EQ(configuration.GetCharsetIndex(), 0);
        EXPECT_FALSE(fs::exists(configuration.Chemin().toStdString()));
    }
}

// ----------------------------------------------------------------------------------------------
// Drop target

class CibleTest : public TDropTarget {
public:
    using TDropTarget::TDropTarget;
    void TexteDepose(const QString &texte) override { recus << texte; }
    QStringList recus;
};

TEST(DropTarget, TextFromAnotherProgramIsTakenAsACopyAndIgnored)
{
    QWidget fenetre;
    QWidget cible(&fenetre);
    CibleTest depot(&fenetre, &cible);
    EXPECT_TRUE(cible.acceptDrops());

    QMimeData texte;
    texte.setText(QStringLiteral("bonjour"));
    QDragEnterEvent entree(QPoint(1, 1), Qt::CopyAction | Qt::MoveAction, &texte, Qt::NoButton, Qt::NoModifier);
    entree.setDropAction(Qt::MoveAction);
    QCoreApplication::sendEvent(&cible, &entree);
    EXPECT_TRUE(entree.isAccepted());
    EXPECT_EQ(entree.dropAction(), Qt::CopyAction);
    EXPECT_TRUE(depot.Accepte());

    QDropEvent depose(QPointF(1, 1), Qt::CopyAction | Qt::MoveAction, &texte, Qt::NoButton, Qt::NoModifier);
    depose.setDropAction(Qt::MoveAction);
    QCoreApplication::sendEvent(&cible, &depose);
    EXPECT_TRUE(depose.isAccepted());
    // Never a move: the other program keeps its text.
    EXPECT_EQ(depose.dropAction(), Qt::CopyAction);
    EXPECT_EQ(depot.recus, QStringList{QStringLiteral("bonjour")});

    QDragLeaveEvent sortie;
    QCoreApplication::sendEvent(&cible, &sortie);
    EXPECT_FALSE(depot.Accepte());
}

TEST(DropTarget, AFileWithoutTextIsRefused)
{
    QWidget cible;
    CibleTest depot(&cible, &cible);
    QMimeData fichier;
    fichier.setUrls({QUrl::fromLocalFile(QStringLiteral("/tmp/a.bin"))});
    ASSERT_FALSE(fichier.hasFormat(QStringLiteral("text/plain")));

    QDragEnterEvent entree(QPoint(1, 1), Qt::CopyAction, &fichier, Qt::NoButton, Qt::NoModifier);
    entree.ignore();
    QCoreApplication::sendEvent(&cible, &entree);
    EXPECT_FALSE(entree.isAccepted());
    EXPECT_FALSE(depot.Accepte());

    QDropEvent depose(QPointF(1, 1), Qt::CopyAction, &fichier, Qt::NoButton, Qt::NoModifier);
    depose.ignore();
    QCoreApplication::sendEvent(&cible, &depose);
    EXPECT_FALSE(depose.isAccepted());
    EXPECT_TRUE(depot.recus.isEmpty());
}

TEST(DropTarget, TheMainWindowsButtonBarIsATarget)
{
    DialoguesTest dialogues;
    TFenPrinc fen;
    ASSERT_NE(fen.CibleDepot(), nullptr);
    EXPECT_TRUE(fen.Panel1()->acceptDrops());
}

TEST_F(DemarrageTest, ACloseRequestDuringWorkIsCarriedOutOnceTheWorkIsOver)
{
    FermetureSurSignal fermeture;
    TFenPrinc fen;
    fen.show();
    {
        Occupation travail;
        ASSERT_EQ(::raise(SIGTERM), 0);
        talmer::test::TraiteEvenements();
        EXPECT_TRUE(fen.isVisible());
        EXPECT_TRUE(fermeture.EnAttente());
    }
    QElapsedTimer chrono;
    chrono.start();
    while (fen.isVisible() && chrono.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_FALSE(fen.isVisible());
    EXPECT_FALSE(fermeture.EnAttente());
}

// ----------------------------------------------------------------------------------------------
// The real program

TEST_F(DemarrageTest, TheProgramStartsOnTheSampleBaseOffscreenAndClosesCleanly)
{
    const std::string par = talmer::test::FabriqueBaseEchantillon(dir_.path() / "base");
    ASSERT_FALSE(par.empty());
    const QString temp = QString::fromStdString((dir_.path() / "temp").string());
    QDir().mkpath(temp);

    QProcess programme;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("TEMP"), temp);
    programme.setProcessEnvironment(env);
    programme.setProcessChannelMode(QProcess::MergedChannels);
    programme.start(QStringLiteral(TALMER_BIN_DIR "/talmer3"), {QString::fromStdString(par)});
    ASSERT_TRUE(programme.waitForStarted(10000));

    // The base is open once its report has made its temporary folder.
    QElapsedTimer chrono;
    chrono.start();
    bool ouverte = false;
    while (chrono.elapsed() < 30000 && programme.state() == QProcess::Running) {
        if (!QDir(temp).entryList({QStringLiteral("tam3-*")}, QDir::Dirs).isEmpty()) {
            ouverte = true;
            break;
        }
        programme.waitForFinished(100);
    }
    EXPECT_TRUE(ouverte) << programme.readAll().toStdString();

    // The signal may well arrive while the base is still being opened: it is carried out once
    // the opening is over.
    ::kill(static_cast<pid_t>(programme.processId()), SIGTERM);
    ASSERT_TRUE(programme.waitForFinished(30000)) << programme.readAll().toStdString();
    EXPECT_EQ(programme.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(programme.exitCode(), 0);
    // Closed the ordinary way: the report went, with its temporary folder.
    EXPECT_TRUE(QDir(temp).entryList({QStringLiteral("tam3-*")}, QDir::Dirs).isEmpty());
    EXPECT_TRUE(fs::exists(fs::path(par).parent_path() / "atrace.txt"));
}

} // namespace
