// The main window: opening and segmenting bases, error messages, the close prompt, the report
// commands, sheets, the window list and the navigation tree.
#include "poste_test.h"

#include "engine/charg1.h"
#include "engine/fichiers.h"
#include "engine/segmenteur.h"
#include "shell/contributeur.h"
#include "shell/corpus_registry.h"
#include "shell/dialogues.h"
#include "shell/fenchoixdelimforme.h"
#include "shell/fenmemo.h"
#include "shell/fennavig.h"
#include "shell/fenprinc.h"
#include "shell/mesures.h"
#include "shell/rapport.h"
#include "shell/splash.h"
#include "shell/translation.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDockWidget>
#include <QFileDialog>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QStandardItemModel>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTreeView>

#include <filesystem>
#include <memory>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;
using talmer::test::DialoguesTest;
using talmer::test::FabriqueBaseEchantillon;
using talmer::test::readFile;
using talmer::test::TraiteEvenements;
using talmer::test::writeFile;

namespace {

class FenPrincTest : public talmer::test::InTempDir {
protected:
    void SetUp() override
    {
        ancienTemp = qgetenv("TEMP");
        avaitTemp = qEnvironmentVariableIsSet("TEMP");
        qputenv("TEMP", QFile::encodeName(QString::fromStdString(dir_.path().string())));
        fen = std::make_unique<TFenPrinc>();
    }
    void TearDown() override
    {
        // A report written into the program's folder by a test goes again.
        for (const QString &d : ecrits)
            QDir(d).removeRecursively();
        if (!ecrits.isEmpty())
            QDir().rmdir(Rapport::DossierParDefaut()); // only when nothing else is there
        if (fen) {
            if (fen->RapportCourant())
                fen->RapportCourant()->Abandonne();
            fen.reset();
        }
        if (avaitTemp)
            qputenv("TEMP", ancienTemp);
        else
            qunsetenv("TEMP");
    }

    QString BaseEchantillon(const std::string &sousDossier = "base", const std::string &nom = "ville")
    {
        return QString::fromStdString(FabriqueBaseEchantillon(dir_.path() / sousDossier, nom));
    }

    // Adds one page item to the current report, as an analysis window does.
    void AjouteElementAuRapport(const QString &nom = QStringLiteral("page1"))
    {
        Rapport *r = fen->RapportCourant();
        ASSERT_NE(r, nullptr);
        writeFile((r->DossierTemporaire() + nom + QStringLiteral(".html")).toStdString(), "<p>x</p>\r\n");
        ASSERT_NE(r->AjouteElement(QStringLiteral("Elément"), nom, QString(), GenreElement::Page), nullptr);
    }

    bool Ferme()
    {
        QCloseEvent e;
        QCoreApplication::sendEvent(fen.get(), &e);
        return e.isAccepted();
    }

    QMdiSubWindow *Enfant(const QString &titre)
    {
        auto *w = new QWidget;
        w->setWindowTitle(titre);
        return fen->AjouteFenetre(w);
    }

    QByteArray ancienTemp;
    bool avaitTemp = false;
    DialoguesTest dialogues;
    std::unique_ptr<TFenPrinc> fen;
    QStringList ecrits;
};

bool Actif(TFenPrinc &f, const char *nom)
{
    return f.Action(nom) && f.Action(nom)->isEnabled();
}

// ----------------------------------------------------------------------------------------------

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
    EXPECT_EQ(fen->Progression()->minimum(), 0);
    EXPECT_EQ(fen->Progression()->maximum(), 200);
    EXPECT_EQ(fen->Pas(), 1);
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

TEST_F(FenPrincTest, TiledAndCascadedWindowsStayInsideTheVisibleArea)
{
    fen->resize(1366, 768);
    fen->show();
    // A window whose controls need more than its share of the width, and smaller ones.
    QMdiSubWindow *large = Enfant(QStringLiteral("Carte"));
    large->widget()->setMinimumSize(640, 200);
    for (const char *titre : {"B", "C", "D", "E"})
        Enfant(QString::fromLatin1(titre))->resize(900, 500);
    const QRect zone(QPoint(0, 0), fen->ZoneVisible());
    ASSERT_GT(zone.width(), 640 + 100);
    for (const char *commande : {"Mosaique", "Cascade1", "Mosaique"}) {
        fen->Action(commande)->trigger();
        talmer::test::TraiteEvenements();
        // Whole (never below what its controls need) and in sight.
        for (QMdiSubWindow *s : fen->ZoneMdi()->subWindowList()) {
            const std::string nom = std::string(commande) + " " + s->windowTitle().toStdString();
            EXPECT_TRUE(zone.contains(s->geometry())) << nom;
            EXPECT_EQ(s->size().expandedTo(s->minimumSizeHint()), s->size()) << nom;
        }
    }
    // Tiled, the wide window is beside its neighbours in its row, not under them.
    for (QMdiSubWindow *s : fen->ZoneMdi()->subWindowList()) {
        if (s != large && s->y() == large->y()) {
            EXPECT_FALSE(s->geometry().intersects(large->geometry())) << s->windowTitle().toStdString();
        }
    }
}

TEST_F(FenPrincTest, OpeningTheSampleBaseFillsTreeStatusSheetAndReport)
{
    const QString par = BaseEchantillon();
    ASSERT_FALSE(par.isEmpty());
    ASSERT_TRUE(fen->OuvreBase(par));

    EXPECT_TRUE(dialogues.messages.empty());
    ASSERT_NE(fen->Base(), nullptr);
    EXPECT_STREQ(fen->Base()->NomBase(), "ville");
    EXPECT_EQ(fen->TexteStatut(), QStringLiteral("Prêt"));
    EXPECT_EQ(fen->TexteCheminBase(), par);
    EXPECT_EQ(fen->Progression()->value(), 0);
    EXPECT_EQ(QDir::currentPath(), QFileInfo(par).absolutePath());

    QStandardItemModel *arbre = fen->FenNavig()->Modele();
    ASSERT_EQ(arbre->rowCount(), 1);
    QStandardItem *racine = arbre->item(0);
    EXPECT_EQ(racine->text(), par);
    ASSERT_EQ(racine->rowCount(), 4);
    const QStringList attendus = {QStringLiteral("Texte"), QStringLiteral("Dictionnaire"),
                                  QStringLiteral("Cartes Sections"), QStringLiteral("Partitions")};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(racine->child(i)->text(), attendus[i]);
        EXPECT_EQ(TFenNavig::FenetreDuNoeud(racine->child(i)), nullptr);
    }
    EXPECT_EQ(static_cast<NoeudNavig *>(racine->child(1))->Image(), 1);
    EXPECT_EQ(static_cast<NoeudNavig *>(racine->child(3))->Image(), 2);

    ASSERT_EQ(fen->OngletsFeuilles()->count(), 1);
    EXPECT_EQ(fen->OngletsFeuilles()->tabText(0), QStringLiteral("Feuille 1"));

    ASSERT_NE(fen->RapportCourant(), nullptr);
    EXPECT_EQ(RapportCourant(), fen->RapportCourant());
    EXPECT_TRUE(fen->RapportCourant()->EstSauve());
    ASSERT_EQ(fen->ModeleRapport()->rowCount(), 1);
    EXPECT_EQ(fen->ModeleRapport()->item(0)->text(), QStringLiteral("Elements du rapport"));

    ASSERT_EQ(fen->Registre().Bases().size(), 1u);
    EXPECT_EQ(fen->Registre().Bases()[0], fen->Base());

    for (const char *nom : {"BtnVaVersFeuille", "BtnNvFeuille", "BtnAjouteRap", "BtnNouvRap", "BtnSauvRapport"})
        EXPECT_TRUE(Actif(*fen, nom)) << nom;
    // No analysis window exists yet: their commands stay off.
    for (const char *nom : {"BtnDocu", "BtnParag", "BtnSR", "BtnSelFormes", "BtnPart", "BtnPCLC"})
        EXPECT_FALSE(Actif(*fen, nom)) << nom;
}

TEST(MessageErreurChargement, EachLoaderCodeHasItsText)
{
    const struct {
        int code;
        const char *texte;
    } cas[] = {
        {1, "Erreur de lecture du fichier de paramètres"},
        {2, "Erreur de lecture du dictionnaire numérisé"},
        {3, "Erreur de lecture du texte numérisé"},
        {4, "Erreur : Allocation mémoire impossible"},
        {7, "Erreur "},
    };
    for (const auto &c : cas)
        EXPECT_EQ(MessageErreurChargement(c.code), QString::fromUtf8(c.texte)) << c.code;
}

TEST_F(FenPrincTest, EachLoadFailureShowsItsMessageCaptionedWithThePath)
{
    const QString par = BaseEchantillon();
    const fs::path dossier = fs::path(par.toStdString()).parent_path();
    const struct {
        const char *fichierRetire;
        const char *texte;
    } cas[] = {
        {"ville.par", "Erreur de lecture du fichier de paramètres"},
        {"ville.dic", "Erreur de lecture du dictionnaire numérisé"},
        {"ville.num", "Erreur de lecture du texte numérisé"},
    };
    for (const auto &c : cas) {
        // Each case on a whole copy of the base less one file.
        const fs::path copie = dir_.path() / (std::string("copie-") + c.fichierRetire);
        fs::create_directories(copie);
        for (const char *f : {"ville.par", "ville.dic", "ville.num"})
            if (std::string(f) != c.fichierRetire)
                fs::copy_file(dossier / f, copie / f);
        const QString chemin = QString::fromStdString((copie / "ville.par").string());
        dialogues.messages.clear();
        EXPECT_FALSE(fen->OuvreBase(chemin));
        ASSERT_EQ(dialogues.messages.size(), 1u) << c.fichierRetire;
        EXPECT_EQ(dialogues.messages[0].texte, QString::fromUtf8(c.texte));
        EXPECT_EQ(dialogues.messages[0].titre, chemin);
        EXPECT_EQ(dialogues.messages[0].icone, IconeMessage::Exclamation);
        EXPECT_EQ(fen->Base(), nullptr);
        EXPECT_FALSE(Actif(*fen, "BtnNvFeuille"));
        EXPECT_EQ(fen->FenNavig()->Modele()->rowCount(), 0);
        EXPECT_EQ(fen->TexteStatut(), QString());
        EXPECT_EQ(fen->Progression()->value(), 0);
    }
}

TEST_F(FenPrincTest, AFailedLoadLeavesTheOpenBaseAndItsWorkspaceIntact)
{
    const QString par = BaseEchantillon();
    ASSERT_TRUE(fen->OuvreBase(par));
    charg1 *base = fen->Base();
    Rapport *rapport = fen->RapportCourant();
    QPointer<QMdiSubWindow> fenetre = Enfant(QStringLiteral("A"));

    EXPECT_FALSE(fen->OuvreBase(QString::fromStdString((dir_.path() / "absente.par").string())));
    EXPECT_EQ(fen->Base(), base);
    EXPECT_EQ(fen->RapportCourant(), rapport);
    EXPECT_FALSE(fenetre.isNull());
    EXPECT_EQ(fen->FenNavig()->Modele()->rowCount(), 1);
    EXPECT_EQ(fen->TexteCheminBase(), par);
    EXPECT_STREQ(base->NomBase(), "ville");
}

TEST_F(FenPrincTest, OpeningAnotherBaseClosesEverythingOfTheOldOne)
{
    const QString par1 = BaseEchantillon("un");
    const QString par2 = BaseEchantillon("deux");
    ASSERT_TRUE(fen->OuvreBase(par1));
    QPointer<QMdiSubWindow> fenetre = Enfant(QStringLiteral("A"));
    auto *page = new QWidget;
    QPointer<QWidget> pageSuivie(page);
    fen->AjoutePageLaterale(page, QStringLiteral("Dictionnaire"));
    charg1 *fermee = nullptr;
    QObject::connect(fen.get(), &TFenPrinc::fermetureBase, [&](charg1 *b) { fermee = b; });
    charg1 *ancienne = fen->Base();

    ASSERT_TRUE(fen->OuvreBase(par2));
    EXPECT_EQ(fermee, ancienne);
    EXPECT_TRUE(fenetre.isNull());
    EXPECT_TRUE(pageSuivie.isNull());
    ASSERT_EQ(fen->FenNavig()->Modele()->rowCount(), 1);
    EXPECT_EQ(fen->FenNavig()->Modele()->item(0)->text(), par2);
    ASSERT_EQ(fen->Registre().Bases().size(), 1u);
    EXPECT_EQ(fen->Registre().Bases()[0], fen->Base());
    EXPECT_EQ(fen->OngletsFeuilles()->count(), 2);
    EXPECT_EQ(fen->RapportCourant()->Base(), fen->Base());
}

TEST_F(FenPrincTest, OpeningAnotherBaseAsksAboutAnUnsavedReport)
{
    const QString par1 = BaseEchantillon("un");
    const QString par2 = BaseEchantillon("deux");
    ASSERT_TRUE(fen->OuvreBase(par1));
    AjouteElementAuRapport();
    Rapport *rapport = fen->RapportCourant();
    const QString temporaire = rapport->DossierTemporaire();

    // Cancel: nothing changes.
    dialogues.reponses = {ReponseMessage::Annuler};
    EXPECT_FALSE(fen->OuvreBase(par2));
    ASSERT_EQ(dialogues.messages.size(), 1u);
    EXPECT_EQ(dialogues.messages[0].texte, QStringLiteral("Le rapport a été modifié.\nVoulez-vous le sauvegarder ?"));
    EXPECT_EQ(dialogues.messages[0].titre, QStringLiteral("Talmer3"));
    EXPECT_EQ(dialogues.messages[0].boutons, BoutonsMessage::OuiNonAnnuler);
    EXPECT_EQ(fen->RapportCourant(), rapport);
    EXPECT_EQ(fen->TexteCheminBase(), par1);

    // No: the new base and a new report; the old report's files go.
    dialogues.reponses = {ReponseMessage::Non};
    EXPECT_TRUE(fen->OuvreBase(par2));
    EXPECT_EQ(fen->TexteCheminBase(), par2);
    EXPECT_TRUE(fen->RapportCourant()->EstSauve());
    EXPECT_EQ(fen->RapportCourant()->NbElements(), 0);
    EXPECT_FALSE(QDir(temporaire).exists());
}

TEST_F(FenPrincTest, TheClosePromptsThreeAnswers)
{
    const QString par = BaseEchantillon();

    // Nothing added: closing asks nothing.
    ASSERT_TRUE(fen->OuvreBase(par));
    EXPECT_TRUE(Ferme());
    EXPECT_TRUE(dialogues.messages.empty());

    AjouteElementAuRapport();
    // Cancel: the program stays, the report unchanged.
    dialogues.reponses = {ReponseMessage::Annuler};
    EXPECT_FALSE(Ferme());
    ASSERT_EQ(dialogues.messages.size(), 1u);
    EXPECT_EQ(dialogues.messages[0].texte, QStringLiteral("Le rapport a été modifié.\nVoulez-vous le sauvegarder ?"));
    EXPECT_EQ(dialogues.messages[0].titre, QStringLiteral("Talmer3"));
    EXPECT_EQ(dialogues.messages[0].icone, IconeMessage::Aucune);
    EXPECT_FALSE(fen->RapportCourant()->EstSauve());
    EXPECT_EQ(fen->RapportCourant()->NbElements(), 1);

    // Yes: the report is written into the default folder, then the window closes.
    dialogues.reponses = {ReponseMessage::Oui};
    EXPECT_TRUE(Ferme());
    Rapport *rapport = fen->RapportCourant();
    ASSERT_FALSE(rapport->Destination().isEmpty());
    ecrits << rapport->Destination();
    EXPECT_TRUE(rapport->EstSauve());
    EXPECT_TRUE(QFileInfo::exists(rapport->Destination() + QStringLiteral("index.htm")));
    EXPECT_TRUE(rapport->Destination().startsWith(Rapport::DossierParDefaut()));

    // After the write, closing asks nothing; after a further item, No closes without writing.
    dialogues.messages.clear();
    EXPECT_TRUE(Ferme());
    EXPECT_TRUE(dialogues.messages.empty());
    AjouteElementAuRapport(QStringLiteral("page2"));
    const QString temporaire = rapport->DossierTemporaire();
    dialogues.reponses = {ReponseMessage::Non};
    EXPECT_TRUE(Ferme());
    EXPECT_FALSE(rapport->EstSauve());
    fen.reset();
    // The user said no: the unsaved files go with the window.
    EXPECT_FALSE(QDir(temporaire).exists());
}

TEST_F(FenPrincTest, WhenTheReportCannotBeWrittenAtCloseTheUserMayQuitOrStay)
{
    // A base name of its own: the report folder beside the program is shared with the other test
    // that closes with Yes, which may run at the same second in another process.
    ASSERT_TRUE(fen->OuvreBase(BaseEchantillon("base", "echec")));
    AjouteElementAuRapport();
    Rapport *rapport = fen->RapportCourant();
    // The item's page disappeared: writing the report fails.
    ASSERT_TRUE(QFile::remove(rapport->DossierTemporaire() + QStringLiteral("page1.html")));
    const QString temporaire = rapport->DossierTemporaire();

    // Yes, then No at the failure: the program stays open, the report as it was.
    dialogues.reponses = {ReponseMessage::Oui, ReponseMessage::Non};
    EXPECT_FALSE(Ferme());
    if (!rapport->Destination().isEmpty())
        ecrits << rapport->Destination();
    ASSERT_EQ(dialogues.messages.size(), 2u);
    const auto &echec = dialogues.messages[1];
    EXPECT_EQ(echec.boutons, BoutonsMessage::OuiNon);
    EXPECT_TRUE(echec.texte.startsWith(QStringLiteral("Le rapport n'a pas pu être enregistré.\n")));
    EXPECT_TRUE(echec.texte.contains(QStringLiteral("page1.html")));
    EXPECT_TRUE(echec.texte.endsWith(QStringLiteral("Quitter sans enregistrer le rapport ?")));
    EXPECT_FALSE(rapport->EstSauve());

    // Yes, then Yes at the failure: the program closes without the report.
    dialogues.messages.clear();
    dialogues.reponses = {ReponseMessage::Oui, ReponseMessage::Oui};
    EXPECT_TRUE(Ferme());
    EXPECT_EQ(dialogues.messages.size(), 2u);
    fen.reset();
    EXPECT_FALSE(QDir(temporaire).exists());
}

TEST_F(FenPrincTest, NewReportIsOffWithoutBaseAndAsksOnlyAboutUnsavedWork)
{
    fen->BtnNouvRapClick();
    EXPECT_EQ(fen->RapportCourant(), nullptr);

    ASSERT_TRUE(fen->OuvreBase(BaseEchantillon()));
    const QString premier = fen->RapportCourant()->DossierTemporaire();
    fen->BtnNouvRapClick();
    EXPECT_TRUE(dialogues.messages.empty());
    EXPECT_NE(fen->RapportCourant()->DossierTemporaire(), premier);

    AjouteElementAuRapport();
    Rapport *modifie = fen->RapportCourant();
    dialogues.reponses = {ReponseMessage::Annuler};
    fen->BtnNouvRapClick();
    ASSERT_EQ(dialogues.messages.size(), 1u);
    EXPECT_EQ(dialogues.messages[0].texte, QStringLiteral("Voulez-vous enregistrer\nle rapport en cours?"));
    EXPECT_EQ(dialogues.messages[0].titre, QStringLiteral("Confirmation"));
    EXPECT_EQ(fen->RapportCourant(), modifie);

    // Yes with the folder browser cancelled: nothing is written and the report is kept.
    dialogues.reponses = {ReponseMessage::Oui};
    dialogues.dossier.clear();
    fen->BtnNouvRapClick();
    EXPECT_EQ(fen->RapportCourant(), modifie);
    EXPECT_FALSE(modifie->EstSauve());

    // Yes with a folder: written there, then a new report.
    dialogues.reponses = {ReponseMessage::Oui};
    dialogues.dossier = QString::fromStdString((dir_.path() / "rapports").string());
    fen->BtnNouvRapClick();
    EXPECT_EQ(fen->RapportCourant()->NbElements(), 0);
    EXPECT_TRUE(fen->RapportCourant()->EstSauve());
    ASSERT_FALSE(dialogues.titresDossier.empty());
    EXPECT_EQ(dialogues.titresDossier.back(),
              QStringLiteral("Répertoire de destination du rapport.\nUn Sous répertoire sera créé."));
    const QStringList ecritsDansDossier = QDir(dialogues.dossier).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    ASSERT_EQ(ecritsDansDossier.size(), 1);
    EXPECT_TRUE(ecritsDansDossier[0].startsWith(QStringLiteral("ville_")));
}

TEST_F(FenPrincTest, SaveAndEditorCommands)
{
    ASSERT_TRUE(fen->OuvreBase(BaseEchantillon()));
    // "Editeur" before any save.
    fen->BtnEditClick();
    ASSERT_EQ(dialogues.messages.size(), 1u);
    EXPECT_EQ(dialogues.messages[0].texte, QStringLiteral("Aucun rapport sauvé pour le moment!"));
    // "Enregistrer" on an empty report does nothing.
    dialogues.dossier = QString::fromStdString((dir_.path() / "rapports").string());
    fen->BtnSauvRapportClick();
    EXPECT_TRUE(dialogues.titresDossier.empty());

    AjouteElementAuRapport();
    fen->BtnSauvRapportClick();
    EXPECT_TRUE(fen->RapportCourant()->EstSauve());
    fen->BtnEditClick();
    ASSERT_EQ(dialogues.documents.size(), 1u);
    EXPECT_EQ(dialogues.documents[0], fen->RapportCourant()->Destination() + QStringLiteral("index.htm"));
    EXPECT_TRUE(QFileInfo::exists(dialogues.documents[0]));
}

TEST_F(FenPrincTest, NotesAndDeletionOnTheReportTree)
{
    ASSERT_TRUE(fen->OuvreBase(BaseEchantillon()));
    AjouteElementAuRapport();
    QStandardItem *racine = fen->ModeleRapport()->item(0);
    QStandardItem *element = racine->child(0);
    ASSERT_NE(element, nullptr);

    dialogues.repondDialogue = [](QDialog &d) {
        auto &memo = dynamic_cast<TFenMemo &>(d);
        EXPECT_TRUE(memo.TexteMemo()->toPlainText().isEmpty());
        memo.TexteMemo()->setPlainText(QStringLiteral("première\nseconde <b>"));
        return int(QDialog::Accepted);
    };
    fen->NoteSurNoeud(element);
    const MemoRapport *note = fen->RapportCourant()->Memo(element);
    ASSERT_NE(note, nullptr);
    EXPECT_EQ(note->GetTexte(), QStringLiteral("première\r\nseconde <b>\r\n"));
    EXPECT_EQ(element->data(Rapport::RoleEtat).toInt(), 2);
    EXPECT_TRUE(fen->RapportCourant()->EstSauve() == false);

    // Cancel attaches nothing.
    AjouteElementAuRapport(QStringLiteral("page2"));
    QStandardItem *second = racine->child(1);
    dialogues.repondDialogue = [](QDialog &) { return int(QDialog::Rejected); };
    fen->NoteSurNoeud(second);
    EXPECT_EQ(fen->RapportCourant()->Memo(second), nullptr);

    // Delete: the root stays, an item goes.
    fen->SupprimeNoeudRapport(racine);
    EXPECT_EQ(fen->ModeleRapport()->rowCount(), 1);
    fen->SupprimeNoeudRapport(element);
    EXPECT_EQ(racine->rowCount(), 1);
    EXPECT_EQ(racine->child(0), second);
}

// ----------------------------------------------------------------------------------------------
// Command line

TEST_F(FenPrincTest, CommandLineCases)
{
    const QString par = BaseEchantillon("mon corpus");
    const QString dossier = QFileInfo(par).absolutePath();
    const QString depart = QDir::currentPath();

    struct Cas {
        const char *nom;
        QStringList arguments;
        bool base;          // a base is open afterwards
        QString dossier;    // current directory afterwards
        int delimiteurs;    // times the delimiter dialog was shown
    };
    // A text whose extension is in capitals is segmented, never opened as a base.
    writeFile(dir_.path() / "mon corpus" / "texte.PAR", readFile(talmer::test::CheminEchantillon()));
    const QString texteMajuscules = dossier + QStringLiteral("/texte.PAR");
    const QString relatif = QDir(depart).relativeFilePath(par);

    const Cas cas[] = {
        {"aucun argument", {}, false, depart, 0},
        {"base .par, blanc dans le chemin", {par}, true, dossier, 0},
        {"chemin relatif", {relatif}, true, dossier, 0},
        {"fichier absent", {dossier + QStringLiteral("/absent.par")}, false, dossier, 0},
        {"chemin entre guillemets", {QLatin1Char('"') + par + QLatin1Char('"')}, false, depart, 0},
        {"extension en capitales", {texteMajuscules}, true, dossier, 1},
    };
    for (const Cas &c : cas) {
        QDir::setCurrent(depart);
        fen.reset();
        fen = std::make_unique<TFenPrinc>();
        dialogues.dialoguesVus.clear();
        fen->OuvreLigneDeCommande(c.arguments);
        EXPECT_EQ(fen->Base() != nullptr, c.base) << c.nom;
        if (QString::fromUtf8(c.nom) != QStringLiteral("chemin entre guillemets")) {
            EXPECT_EQ(QDir::currentPath(), c.dossier) << c.nom;
        }
        EXPECT_EQ(static_cast<int>(dialogues.dialoguesVus.size()), c.delimiteurs) << c.nom;
    }
    // The capitals case made the base texte.par of the text.
    EXPECT_EQ(fen->TexteCheminBase(), dossier + QStringLiteral("/texte.par"));
    QDir::setCurrent(depart);
}

TEST_F(FenPrincTest, CommandLineOpensABaseWhosePublicationWasKilled)
{
    // Base "corpus" from one text, then a run for another text killed before its first rename:
    // the parameter file is gone, the new files wait under their temporary names.
    writeFile("corpus.txt", "un deux trois.");
    ParametresSegm p;
    p.delimiteurs = ".";
    ASSERT_EQ(SegmPrinc("corpus.txt", p), ResultatSegm::Reussie);
    writeFile("corpus.txt", "quatre cinq.");
    const pid_t fils = fork();
    if (fils == 0) {
        talmer::fichiers::DefinitRenommage([](const char *, const char *) -> int { _exit(0); });
        SegmPrinc("corpus.txt", p);
        _exit(1);
    }
    int etat = 0;
    ASSERT_EQ(waitpid(fils, &etat, 0), fils);
    ASSERT_TRUE(WIFEXITED(etat) && WEXITSTATUS(etat) == 0);
    ASSERT_FALSE(QFileInfo::exists(QStringLiteral("corpus.par")));

    fen->OuvreLigneDeCommande({QDir::current().absoluteFilePath(QStringLiteral("corpus.par"))});
    ASSERT_NE(fen->Base(), nullptr);
    EXPECT_EQ(fen->Base()->Nbocc(), 2);
    EXPECT_GE(fen->Base()->LocFormDic("quatre", false), 0);
    EXPECT_LT(fen->Base()->LocFormDic("trois", false), 0);
}

// ----------------------------------------------------------------------------------------------
// Segmentation

TEST_F(FenPrincTest, SegmentingATextOpensTheBaseOfTheSameName)
{
    writeFile("corpus.txt", readFile(talmer::test::CheminEchantillon()));
    std::string delimiteursVus;
    dialogues.repondDialogue = [&](QDialog &d) {
        auto &delims = dynamic_cast<TFenChoixDelimForme &>(d);
        delimiteursVus = delims.Delimiteurs();
        return int(QDialog::Accepted);
    };
    ASSERT_TRUE(fen->SegmenteTexte(QStringLiteral("corpus.txt")));
    EXPECT_EQ(delimiteursVus, std::string(DelimiteursDefaut));
    EXPECT_EQ(fen->TexteCheminBase(), QDir::current().absoluteFilePath(QStringLiteral("corpus.par")));
    EXPECT_STREQ(fen->Base()->NomBase(), "corpus");
    EXPECT_EQ(fen->TexteStatut(), QStringLiteral("Prêt"));
}

TEST_F(FenPrincTest, ATextWithoutExtensionStillOpensItsBase)
{
    fs::create_directories("dossier.avec.points");
    writeFile("dossier.avec.points/corpus", readFile(talmer::test::CheminEchantillon()));
    ASSERT_TRUE(fen->SegmenteTexte(QStringLiteral("dossier.avec.points/corpus")));
    EXPECT_TRUE(fen->TexteCheminBase().endsWith(QStringLiteral("dossier.avec.points/corpus.par")));
    EXPECT_TRUE(dialogues.messages.empty());
}

TEST_F(FenPrincTest, BadKeysNeverReachTheDelimiterDialog)
{
    writeFile("faute.txt", "<auteur=Victor Hugo> Le texte.\r\n");
    EXPECT_FALSE(fen->SegmenteTexte(QStringLiteral("faute.txt")));
    ASSERT_EQ(dialogues.messages.size(), 1u);
    EXPECT_EQ(dialogues.messages[0].texte, QStringLiteral("Problème dans les clefs.\nConsultez atrace.txt"));
    EXPECT_TRUE(dialogues.dialoguesVus.empty());
    EXPECT_EQ(fen->Base(), nullptr);
    EXPECT_FALSE(fs::exists("faute.par"));
}

TEST_F(FenPrincTest, CancellingTheDelimiterDialogSegmentsNothing)
{
    writeFile("corpus.txt", readFile(talmer::test::CheminEchantillon()));
    dialogues.repondDialogue = [](QDialog &) { return int(QDialog::Rejected); };
    EXPECT_FALSE(fen->SegmenteTexte(QStringLiteral("corpus.txt")));
    EXPECT_FALSE(fs::exists("corpus.par"));
    EXPECT_EQ(fen->TexteStatut(), QString());
}

TEST_F(FenPrincTest, AUtf8TextIsConvertedIntoANewFileWhenTheUserSaysSo)
{
    // "très" and a character Windows-1252 lacks (Ŝ).
    const std::string texte = "<titre=un>\r\nUn texte tr\xC3\xA8s court \xC5\x9C.\r\n";
    writeFile("corpus.txt", texte);

    // Cancel: nothing is written, nothing opened.
    dialogues.reponses = {ReponseMessage::Annuler};
    EXPECT_FALSE(fen->SegmenteTexte(QStringLiteral("corpus.txt")));
    ASSERT_EQ(dialogues.messages.size(), 1u);
    EXPECT_TRUE(dialogues.messages[0].texte.contains(QStringLiteral("UTF-8")));
    EXPECT_TRUE(dialogues.messages[0].texte.contains(QStringLiteral("« corpus_cp1252.txt »")));
    EXPECT_EQ(dialogues.messages[0].boutons, BoutonsMessage::OuiNonAnnuler);
    EXPECT_TRUE(dialogues.dialoguesVus.empty());
    EXPECT_FALSE(fs::exists("corpus_cp1252.txt"));
    EXPECT_FALSE(fs::exists("atrace.txt"));

    // Yes: the converted copy is segmented, the missing character counted, the user's text kept.
    dialogues.messages.clear();
    dialogues.reponses = {ReponseMessage::Oui};
    ASSERT_TRUE(fen->SegmenteTexte(QStringLiteral("corpus.txt")));
    EXPECT_EQ(readFile("corpus.txt"), texte);
    EXPECT_EQ(readFile("corpus_cp1252.txt"), "<titre=un>\r\nUn texte tr\xE8s court ?.\r\n");
    ASSERT_EQ(dialogues.messages.size(), 2u);
    EXPECT_TRUE(dialogues.messages[1].texte.contains(QStringLiteral("1 caractère(s)")));
    EXPECT_STREQ(fen->Base()->NomBase(), "corpus_cp1252");
    EXPECT_GE(fen->Base()->LocFormDic("tr\xE8s", true), 0);

    // No: the text is segmented as it is.
    dialogues.messages.clear();
    dialogues.reponses = {ReponseMessage::Non};
    ASSERT_TRUE(fen->SegmenteTexte(QStringLiteral("corpus.txt")));
    EXPECT_STREQ(fen->Base()->NomBase(), "corpus");
    EXPECT_GE(fen->Base()->LocFormDic("tr\xC3\xA8s", true), 0);
    EXPECT_EQ(dialogues.messages.size(), 1u);
}

TEST_F(FenPrincTest, ATextWithoutAnyFormIsRefusedAndTheOpenBaseStays)
{
    const QString par = BaseEchantillon();
    ASSERT_TRUE(fen->OuvreBase(par));
    charg1 *base = fen->Base();
    struct Cas {
        std::string texte;
        bool delimiteursDemandes; // refused only once the delimiters are known
    };
    const Cas cas[] = {
        {"", false},
        {" \t\r\n \r\n", false},
        {std::string("\0\0\0\0", 4), false},
        {"<titre=un>\r\n<titre=deux>\r\n", false},
        {". , ; ! ?\r\n", true},
    };
    for (const Cas &c : cas) {
        dialogues.messages.clear();
        dialogues.dialoguesVus.clear();
        fs::create_directories("vide");
        writeFile("vide/vide.txt", c.texte);
        EXPECT_FALSE(fen->SegmenteTexte(QStringLiteral("vide/vide.txt"))) << c.texte;
        ASSERT_EQ(dialogues.messages.size(), 1u) << c.texte;
        EXPECT_EQ(dialogues.messages[0].texte,
                  QStringLiteral("Le texte « vide.txt » ne contient aucune forme : il n'y a rien à segmenter."));
        EXPECT_EQ(dialogues.dialoguesVus.size(), c.delimiteursDemandes ? 1u : 0u) << c.texte;
        // Nothing written (the key checker's trace only once it has run).
        EXPECT_FALSE(fs::exists("vide.par"));
        EXPECT_FALSE(fs::exists("vide.dic"));
        EXPECT_EQ(fs::exists("atrace.txt"), c.delimiteursDemandes) << c.texte;
        EXPECT_EQ(fen->Base(), base);
        EXPECT_EQ(fen->TexteCheminBase(), par);
        QDir::setCurrent(QString::fromStdString(dir_.path().string()));
        fs::remove_all("vide");
    }
}

TEST(DialoguesFichier, TheFolderChooserTitleHoldsOneLineAndItsTextTheWhole)
{
    const QString texte = QStringLiteral("Répertoire de destination du rapport.\nUn Sous répertoire sera créé.");
    std::unique_ptr<QFileDialog> dialogue = DialogueDossier(nullptr, texte);
    EXPECT_EQ(dialogue->windowTitle(), QStringLiteral("Répertoire de destination du rapport."));
    EXPECT_EQ(dialogue->fileMode(), QFileDialog::Directory);
    auto *etiquette = dialogue->findChild<QLabel *>(QStringLiteral("texteDossier"));
    ASSERT_NE(etiquette, nullptr);
    EXPECT_EQ(etiquette->text(), texte);
    // Above everything else of the dialog.
    auto *grille = qobject_cast<QGridLayout *>(dialogue->layout());
    ASSERT_NE(grille, nullptr);
    int ligne = -1, colonne = -1, lignes = 0, colonnes = 0;
    grille->getItemPosition(grille->indexOf(etiquette), &ligne, &colonne, &lignes, &colonnes);
    EXPECT_EQ(ligne, 0);
    for (int i = 0; i < grille->count(); ++i) {
        int l, c, ls, cs;
        grille->getItemPosition(i, &l, &c, &ls, &cs);
        if (grille->itemAt(i)->widget() != etiquette) {
            EXPECT_GE(l, 1);
        }
    }

    // The detailed list's columns get room for their titles.
    dialogue->setViewMode(QFileDialog::Detail);
    auto *vue = dialogue->findChild<QTreeView *>();
    ASSERT_NE(vue, nullptr);
    for (int i = 0; i < vue->header()->count(); ++i)
        vue->header()->resizeSection(i, 10);
    ElargitColonnes(*dialogue);
    for (int i = 0; i < vue->header()->count(); ++i)
        EXPECT_GE(vue->header()->sectionSize(i), vue->header()->sectionSizeHint(i)) << i;
}

TEST(DialoguesFichier, ColumnsWidenToTheirRowsOnceTheListHasFilledIn)
{
    talmer::test::TempDir ici;
    InitialiseTraduction(QStringLiteral("fr")); // a French user's start
    fs::create_directory("un dossier");
    writeFile("ville.par", std::string(447, 'x'));
    ColonnesDialoguesFichier filtre;
    qApp->installEventFilter(&filtre);
    QFileDialog dialogue(nullptr, QStringLiteral("Ouverture d'une base Talmer"), QDir::currentPath());
    dialogue.setOption(QFileDialog::DontUseNativeDialog, true);
    dialogue.setViewMode(QFileDialog::Detail);
    dialogue.show();
    auto *vue = dialogue.findChild<QTreeView *>();
    ASSERT_NE(vue, nullptr);
    // Qt's widths are those of short English samples ("128.88 GB", "mp3Folder"): too narrow for
    // "447 octets" and the types of the user's language.
    auto ligneDe = [vue](const QString &nom) {
        const QModelIndex racine = vue->rootIndex();
        for (int r = 0; r < vue->model()->rowCount(racine); ++r)
            if (vue->model()->index(r, 0, racine).data().toString() == nom)
                return r;
        return -1;
    };
    auto contenu = [vue](int colonne) { return static_cast<const QAbstractItemView *>(vue)->sizeHintForColumn(colonne); };
    const bool rempli = QTest::qWaitFor([&] {
        const int r = ligneDe(QStringLiteral("ville.par"));
        if (r < 0 || vue->model()->index(r, 1, vue->rootIndex()).data().toString().isEmpty())
            return false;
        for (int c = 0; c < vue->header()->count() - 1; ++c)
            if (vue->header()->sectionSize(c) < contenu(c))
                return false;
        return true;
    }, 5000);
    EXPECT_TRUE(rempli);
    for (int c = 0; c < vue->header()->count() - 1; ++c)
        EXPECT_GE(vue->header()->sectionSize(c), contenu(c)) << c;
    // A folder's type in the user's language (the interface is French here).
    const int dossier = ligneDe(QStringLiteral("un dossier"));
    ASSERT_GE(dossier, 0);
    EXPECT_EQ(vue->model()->index(dossier, 2, vue->rootIndex()).data().toString(), QStringLiteral("Dossier"));
    qApp->removeEventFilter(&filtre);
}

TEST(TFenChoixDelimForme, TheDialogIsWideEnoughForItsTitle)
{
    // Every dialog is widened to its title when it is shown.
    talmer::InstalleLargeurDialogues();
    TFenChoixDelimForme dialogue;
    dialogue.show();
    QFont police = QApplication::font();
    police.setBold(true);
    EXPECT_GE(dialogue.width(), QFontMetrics(police).horizontalAdvance(dialogue.windowTitle()) + 100);
}

TEST_F(FenPrincTest, AnUnreadableTextIsReportedAndTheProgramGoesOn)
{
    EXPECT_FALSE(fen->SegmenteTexte(QString::fromStdString((dir_.path() / "absent.txt").string())));
    ASSERT_EQ(dialogues.messages.size(), 1u);
    EXPECT_TRUE(dialogues.messages[0].texte.contains(QStringLiteral("ne peut pas être lu")));
}

TEST_F(FenPrincTest, ReservedNamesAndWhatIsNotAFileAreRefusedBeforeAnythingIsWritten)
{
    writeFile("atrace.txt", "Mon texte.");
    ASSERT_EQ(mkfifo("tube.txt", 0600), 0);
    fs::create_directory("dossier.txt");
    const QString ici = QDir::currentPath() + QStringLiteral("/");
    struct Cas {
        const char *nom;
        QString chemin;
        bool ligneDeCommande;
        EtatTexte etat;
    };
    const Cas cas[] = {
        {"the trace file, chosen", ici + QStringLiteral("atrace.txt"), false, EtatTexte::NomReserve},
        {"the trace file, on the command line", ici + QStringLiteral("atrace.txt"), true, EtatTexte::NomReserve},
        {"a FIFO, on the command line", ici + QStringLiteral("tube.txt"), true, EtatTexte::NonRegulier},
        {"a folder, chosen", ici + QStringLiteral("dossier.txt"), false, EtatTexte::NonRegulier},
    };
    for (const Cas &c : cas) {
        SCOPED_TRACE(c.nom);
        dialogues.messages.clear();
        dialogues.dialoguesVus.clear();
        if (c.ligneDeCommande)
            fen->OuvreLigneDeCommande({c.chemin});
        else
            EXPECT_FALSE(fen->SegmenteTexte(c.chemin));
        ASSERT_EQ(dialogues.messages.size(), 1u);
        EXPECT_EQ(dialogues.messages[0].texte, QString::fromUtf8(MessageTexte(c.etat)));
        EXPECT_TRUE(dialogues.dialoguesVus.empty());
        EXPECT_EQ(fen->Base(), nullptr);
        EXPECT_EQ(readFile("atrace.txt"), "Mon texte.");
    }
}

// ----------------------------------------------------------------------------------------------
// Windows, sheets, navigation

class Contributeur : public QWidget, public ContributeurRapport {
public:
    void AjouteAuRapport() override { ++appels; }
    int appels = 0;
};

TEST_F(FenPrincTest, AddToReportGoesToTheActiveWindowOnceTheClickIsOver)
{
    ASSERT_TRUE(fen->OuvreBase(BaseEchantillon()));
    fen->BtnAjouteRapClick(); // no child: nothing
    TraiteEvenements();

    auto *c = new Contributeur;
    fen->AjouteFenetre(c);
    Enfant(QStringLiteral("autre"));
    fen->ZoneMdi()->setActiveSubWindow(qobject_cast<QMdiSubWindow *>(c->parentWidget()));
    fen->BtnAjouteRapClick();
    EXPECT_EQ(c->appels, 0);
    TraiteEvenements();
    EXPECT_EQ(c->appels, 1);

    // A window that does not contribute ignores it.
    fen->ZoneMdi()->setActiveSubWindow(fen->EnfantsMdi().back());
    fen->BtnAjouteRapClick();
    TraiteEvenements();
    EXPECT_EQ(c->appels, 1);
}

TEST_F(FenPrincTest, WindowListAndPreviousNext)
{
    ASSERT_TRUE(fen->OuvreBase(BaseEchantillon()));
    QMdiSubWindow *c = Enfant(QStringLiteral("C"));
    QMdiSubWindow *b = Enfant(QStringLiteral("B"));
    QMdiSubWindow *a = Enfant(QStringLiteral("A"));
    ASSERT_EQ(fen->EnfantsMdi(), (std::vector<QMdiSubWindow *>{a, b, c}));
    EXPECT_EQ(fen->ListeFenetres(), (QStringList{QStringLiteral("1 B"), QStringLiteral("2 C"), QStringLiteral("3 A")}));

    fen->FenetreMenuClick(2); // the active window's own item
    EXPECT_EQ(fen->EnfantsMdi().front(), a);
    fen->FenetreMenuClick(1);
    EXPECT_EQ(fen->EnfantsMdi().front(), c);

    // Next walks forward through all of them, previous undoes it.
    fen->ZoneMdi()->setActiveSubWindow(a);
    fen->ZoneMdi()->setActiveSubWindow(b);
    fen->ZoneMdi()->setActiveSubWindow(c);
    fen->ZoneMdi()->setActiveSubWindow(b);
    fen->ZoneMdi()->setActiveSubWindow(a);
    ASSERT_EQ(fen->EnfantsMdi(), (std::vector<QMdiSubWindow *>{a, b, c}));
    fen->BtnFenSuivClick();
    EXPECT_EQ(fen->EnfantsMdi(), (std::vector<QMdiSubWindow *>{b, c, a}));
    fen->BtnFenSuivClick();
    EXPECT_EQ(fen->EnfantsMdi(), (std::vector<QMdiSubWindow *>{c, a, b}));
    fen->BtnFenPrecClick();
    EXPECT_EQ(fen->EnfantsMdi(), (std::vector<QMdiSubWindow *>{b, c, a}));
    fen->BtnFenPrecClick();
    EXPECT_EQ(fen->EnfantsMdi(), (std::vector<QMdiSubWindow *>{a, b, c}));
}

TEST_F(FenPrincTest, SheetsHideRecordAndShowTheirWindows)
{
    ASSERT_TRUE(fen->OuvreBase(BaseEchantillon()));
    QMdiSubWindow *a = Enfant(QStringLiteral("A"));
    QMdiSubWindow *b = Enfant(QStringLiteral("B"));
    fen->NouvelleFeuille();
    ASSERT_EQ(fen->OngletsFeuilles()->count(), 2);
    EXPECT_EQ(fen->OngletsFeuilles()->tabText(1), QStringLiteral("Feuille 2"));
    EXPECT_EQ(fen->OngletsFeuilles()->currentIndex(), 0);

    // Moving B to sheet 2 hides it at once.
    fen->ZoneMdi()->setActiveSubWindow(b);
    fen->FeuilleMenuClick(1);
    EXPECT_TRUE(b->isHidden());
    EXPECT_FALSE(a->isHidden());

    // Entering sheet 2 hides A (recorded in sheet 1) and shows B.
    fen->OngletsFeuilles()->setCurrentIndex(1);
    EXPECT_TRUE(a->isHidden());
    EXPECT_FALSE(b->isHidden());
    EXPECT_EQ(fen->FenetresDeFeuille(0), (std::vector<QMdiSubWindow *>{a}));

    // A closed while recorded in a hidden sheet is never shown again.
    delete a;
    fen->OngletsFeuilles()->setCurrentIndex(0);
    EXPECT_TRUE(b->isHidden());
    EXPECT_TRUE(fen->FenetresDeFeuille(0).empty());
    EXPECT_TRUE(fen->EnfantsMdi().empty());

    // "Nouvelle feuille" makes a sheet and moves the window there.
    fen->OngletsFeuilles()->setCurrentIndex(1);
    fen->ZoneMdi()->setActiveSubWindow(b);
    fen->FeuilleMenuClick(-1);
    EXPECT_EQ(fen->OngletsFeuilles()->count(), 3);
    EXPECT_EQ(fen->OngletsFeuilles()->tabText(2), QStringLiteral("Feuille 3"));
    EXPECT_EQ(fen->FenetresDeFeuille(2), (std::vector<QMdiSubWindow *>{b}));
    EXPECT_TRUE(b->isHidden());
}

TEST_F(FenPrincTest, NavigationNodesBringTheirWindowAndSurviveItsClosing)
{
    ASSERT_TRUE(fen->OuvreBase(BaseEchantillon()));
    QMdiSubWindow *a = Enfant(QStringLiteral("A"));
    QMdiSubWindow *b = Enfant(QStringLiteral("B"));
    NoeudNavig *noeud = fen->FenNavig()->AjouteNoeud(fen->NoeudPartitions(), QStringLiteral("PCLC"), 1, a);
    a->showMinimized();
    fen->ZoneMdi()->setActiveSubWindow(b);

    fen->FenNavig()->TreePages()->setCurrentIndex(noeud->index());
    EXPECT_EQ(fen->ZoneMdi()->currentSubWindow(), a);
    EXPECT_FALSE(a->isMinimized());

    delete a;
    EXPECT_EQ(noeud->Fenetre(), nullptr);
    fen->FenNavig()->TreePages()->setCurrentIndex(fen->NoeudTexte()->index());
    fen->FenNavig()->TreePages()->setCurrentIndex(noeud->index());
    EXPECT_EQ(fen->ZoneMdi()->currentSubWindow(), b);
}

TEST_F(FenPrincTest, ProgressBarStepsAndStartsOverPastItsEnd)
{
    fen->FixeProgression(0);
    PasProgression(0);
    EXPECT_EQ(fen->Progression()->value(), 1);
    PasProgression2(0);
    EXPECT_EQ(fen->Progression()->value(), 3);
    fen->FixePas(2);
    PasProgression(1);
    EXPECT_EQ(fen->Progression()->value(), 5);
    ResetProgress();
    EXPECT_EQ(fen->Progression()->value(), 0);
    AfficheStatut(QStringLiteral("Calcul"));
    EXPECT_EQ(fen->TexteStatut(), QStringLiteral("Calcul"));
    fen->FixeProgression(200);
    PasProgression(0);
    EXPECT_LT(fen->Progression()->value(), 200);
}

TEST_F(FenPrincTest, SidePanelCollapsesAndRestores)
{
    EXPECT_EQ(fen->PanneauFond()->width(), 296);
    fen->BtnRetreciClick();
    EXPECT_EQ(fen->PanneauFond()->width(), 15);
    fen->BtnRetreciClick();
    EXPECT_EQ(fen->PanneauFond()->width(), 296);
}

TEST_F(FenPrincTest, SidePanelWidensToTheListsItHolds)
{
    // A list that asks for more than the designed width: the panel gives it, collapsed or not.
    auto *liste = new QLabel(QStringLiteral("liste"));
    liste->setMinimumWidth(400);
    fen->AjoutePageLaterale(liste, QStringLiteral("Liste"), GenrePage::Fermable, false);
    EXPECT_GE(fen->PanneauFond()->width(), 400);
    const int largeur = fen->PanneauFond()->width();
    fen->BtnRetreciClick();
    EXPECT_EQ(fen->PanneauFond()->width(), 15);
    fen->BtnRetreciClick();
    EXPECT_EQ(fen->PanneauFond()->width(), largeur);
    // A narrower one changes nothing.
    fen->AjoutePageLaterale(new QLabel(QStringLiteral("petite")), QStringLiteral("Petite"), GenrePage::Fermable, false);
    EXPECT_EQ(fen->PanneauFond()->width(), largeur);
}

TEST_F(FenPrincTest, HelpOpensThePageBesideTheProgram)
{
    fen->HelpBtnClick();
    ASSERT_EQ(dialogues.documents.size(), 1u);
    EXPECT_EQ(dialogues.documents[0], QCoreApplication::applicationDirPath() + QStringLiteral("/aide/html/aide.html"));
    EXPECT_TRUE(QFileInfo::exists(dialogues.documents[0]));
}

} // namespace
