// Opening, segmenting and closing bases: what a base brings with it, the load errors, the
// command line, and the checks and questions before a text is segmented.
#include "shell/fenprinc_fixture.h"

#include "engine/charg1.h"
#include "engine/fichiers.h"
#include "services/corpus_registry.h"
#include "services/mesures.h"
#include "shell/barre_etat.h"
#include "shell/fenchoixdelimforme.h"
#include "shell/fennavig.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QMdiSubWindow>
#include <QProgressBar>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTest>
#include <QTreeView>

#include <filesystem>
#include <memory>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;
using talmer::test::Actif;
using talmer::test::FenPrincTest;
using talmer::test::readFile;
using talmer::test::writeFile;

namespace {

TEST_F(FenPrincTest, OpeningTheSampleBaseFillsTreeStatusSheetAndReport)
{
    const QString par = BaseEchantillon();
    ASSERT_FALSE(par.isEmpty());
    ASSERT_TRUE(fen->Ouverture().OuvreBase(par));

    EXPECT_TRUE(dialogues.messages.empty());
    ASSERT_NE(fen->Base(), nullptr);
    EXPECT_STREQ(fen->Base()->NomBase(), "ville");
    EXPECT_EQ(fen->Etat().TexteStatut(), QStringLiteral("Prêt"));
    EXPECT_EQ(fen->Etat().TexteCheminBase(), par);
    EXPECT_EQ(fen->Etat().Progression()->value(), 0);
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

    ASSERT_EQ(fen->Zone().OngletsFeuilles()->count(), 1);
    EXPECT_EQ(fen->Zone().OngletsFeuilles()->tabText(0), QStringLiteral("Feuille 1"));

    ASSERT_NE(fen->Rapports().Courant(), nullptr);
    EXPECT_EQ(RapportCourant(), fen->Rapports().Courant());
    EXPECT_TRUE(fen->Rapports().Courant()->EstSauve());
    ASSERT_EQ(fen->Rapports().Modele()->rowCount(), 1);
    EXPECT_EQ(fen->Rapports().Modele()->item(0)->text(), QStringLiteral("Elements du rapport"));

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
        EXPECT_FALSE(fen->Ouverture().OuvreBase(chemin));
        ASSERT_EQ(dialogues.messages.size(), 1u) << c.fichierRetire;
        EXPECT_EQ(dialogues.messages[0].texte, QString::fromUtf8(c.texte));
        EXPECT_EQ(dialogues.messages[0].titre, chemin);
        EXPECT_EQ(dialogues.messages[0].icone, IconeMessage::Exclamation);
        EXPECT_EQ(fen->Base(), nullptr);
        EXPECT_FALSE(Actif(*fen, "BtnNvFeuille"));
        EXPECT_EQ(fen->FenNavig()->Modele()->rowCount(), 0);
        EXPECT_EQ(fen->Etat().TexteStatut(), QString());
        EXPECT_EQ(fen->Etat().Progression()->value(), 0);
    }
}

TEST_F(FenPrincTest, AFailedLoadLeavesTheOpenBaseAndItsWorkspaceIntact)
{
    const QString par = BaseEchantillon();
    ASSERT_TRUE(fen->Ouverture().OuvreBase(par));
    charg1 *base = fen->Base();
    Rapport *rapport = fen->Rapports().Courant();
    QPointer<QMdiSubWindow> fenetre = Enfant(QStringLiteral("A"));

    EXPECT_FALSE(fen->Ouverture().OuvreBase(QString::fromStdString((dir_.path() / "absente.par").string())));
    EXPECT_EQ(fen->Base(), base);
    EXPECT_EQ(fen->Rapports().Courant(), rapport);
    EXPECT_FALSE(fenetre.isNull());
    EXPECT_EQ(fen->FenNavig()->Modele()->rowCount(), 1);
    EXPECT_EQ(fen->Etat().TexteCheminBase(), par);
    EXPECT_STREQ(base->NomBase(), "ville");
}

TEST_F(FenPrincTest, OpeningAnotherBaseClosesEverythingOfTheOldOne)
{
    const QString par1 = BaseEchantillon("un");
    const QString par2 = BaseEchantillon("deux");
    ASSERT_TRUE(fen->Ouverture().OuvreBase(par1));
    QPointer<QMdiSubWindow> fenetre = Enfant(QStringLiteral("A"));
    auto *page = new QWidget;
    QPointer<QWidget> pageSuivie(page);
    fen->AjoutePageLaterale(page, QStringLiteral("Dictionnaire"));
    charg1 *fermee = nullptr;
    // The watch ends with the test's body: the fixture closes the base again when it tears down.
    QObject garde;
    QObject::connect(fen.get(), &TFenPrinc::fermetureBase, &garde, [&](charg1 *b) { fermee = b; });
    charg1 *ancienne = fen->Base();

    ASSERT_TRUE(fen->Ouverture().OuvreBase(par2));
    EXPECT_EQ(fermee, ancienne);
    EXPECT_TRUE(fenetre.isNull());
    EXPECT_TRUE(pageSuivie.isNull());
    ASSERT_EQ(fen->FenNavig()->Modele()->rowCount(), 1);
    EXPECT_EQ(fen->FenNavig()->Modele()->item(0)->text(), par2);
    ASSERT_EQ(fen->Registre().Bases().size(), 1u);
    EXPECT_EQ(fen->Registre().Bases()[0], fen->Base());
    EXPECT_EQ(fen->Zone().OngletsFeuilles()->count(), 2);
    EXPECT_EQ(fen->Rapports().Courant()->Base(), fen->Base());
}

TEST_F(FenPrincTest, OpeningAnotherBaseAsksAboutAnUnsavedReport)
{
    const QString par1 = BaseEchantillon("un");
    const QString par2 = BaseEchantillon("deux");
    ASSERT_TRUE(fen->Ouverture().OuvreBase(par1));
    AjouteElementAuRapport();
    Rapport *rapport = fen->Rapports().Courant();
    const QString temporaire = rapport->DossierTemporaire();

    // Cancel: nothing changes.
    dialogues.reponses = {ReponseMessage::Annuler};
    EXPECT_FALSE(fen->Ouverture().OuvreBase(par2));
    ASSERT_EQ(dialogues.messages.size(), 1u);
    EXPECT_EQ(dialogues.messages[0].texte, QStringLiteral("Le rapport a été modifié.\nVoulez-vous le sauvegarder ?"));
    EXPECT_EQ(dialogues.messages[0].titre, QStringLiteral("Talmer3"));
    EXPECT_EQ(dialogues.messages[0].boutons, BoutonsMessage::OuiNonAnnuler);
    EXPECT_EQ(fen->Rapports().Courant(), rapport);
    EXPECT_EQ(fen->Etat().TexteCheminBase(), par1);

    // No: the new base and a new report; the old report's files go.
    dialogues.reponses = {ReponseMessage::Non};
    EXPECT_TRUE(fen->Ouverture().OuvreBase(par2));
    EXPECT_EQ(fen->Etat().TexteCheminBase(), par2);
    EXPECT_TRUE(fen->Rapports().Courant()->EstSauve());
    EXPECT_EQ(fen->Rapports().Courant()->NbElements(), 0);
    EXPECT_FALSE(QDir(temporaire).exists());
}

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
        fen->Ouverture().OuvreLigneDeCommande(c.arguments);
        EXPECT_EQ(fen->Base() != nullptr, c.base) << c.nom;
        if (QString::fromUtf8(c.nom) != QStringLiteral("chemin entre guillemets")) {
            EXPECT_EQ(QDir::currentPath(), c.dossier) << c.nom;
        }
        EXPECT_EQ(static_cast<int>(dialogues.dialoguesVus.size()), c.delimiteurs) << c.nom;
    }
    // The capitals case made the base texte.par of the text.
    EXPECT_EQ(fen->Etat().TexteCheminBase(), dossier + QStringLiteral("/texte.par"));
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

    fen->Ouverture().OuvreLigneDeCommande({QDir::current().absoluteFilePath(QStringLiteral("corpus.par"))});
    ASSERT_NE(fen->Base(), nullptr);
    EXPECT_EQ(fen->Base()->Nbocc(), 2);
    EXPECT_GE(fen->Base()->LocFormDic("quatre", false), 0);
    EXPECT_LT(fen->Base()->LocFormDic("trois", false), 0);
}

TEST_F(FenPrincTest, SegmentingATextOpensTheBaseOfTheSameName)
{
    writeFile("corpus.txt", readFile(talmer::test::CheminEchantillon()));
    std::string delimiteursVus;
    dialogues.repondDialogue = [&](QDialog &d) {
        auto &delims = dynamic_cast<TFenChoixDelimForme &>(d);
        delimiteursVus = delims.Delimiteurs();
        return int(QDialog::Accepted);
    };
    ASSERT_TRUE(fen->Ouverture().SegmenteTexte(QStringLiteral("corpus.txt")));
    EXPECT_EQ(delimiteursVus, std::string(DelimiteursDefaut));
    EXPECT_EQ(fen->Etat().TexteCheminBase(), QDir::current().absoluteFilePath(QStringLiteral("corpus.par")));
    EXPECT_STREQ(fen->Base()->NomBase(), "corpus");
    EXPECT_EQ(fen->Etat().TexteStatut(), QStringLiteral("Prêt"));
}

TEST_F(FenPrincTest, ATextWithoutExtensionStillOpensItsBase)
{
    fs::create_directories("dossier.avec.points");
    writeFile("dossier.avec.points/corpus", readFile(talmer::test::CheminEchantillon()));
    ASSERT_TRUE(fen->Ouverture().SegmenteTexte(QStringLiteral("dossier.avec.points/corpus")));
    EXPECT_TRUE(fen->Etat().TexteCheminBase().endsWith(QStringLiteral("dossier.avec.points/corpus.par")));
    EXPECT_TRUE(dialogues.messages.empty());
}

TEST_F(FenPrincTest, BadKeysNeverReachTheDelimiterDialog)
{
    writeFile("faute.txt", "<auteur=Victor Hugo> Le texte.\r\n");
    EXPECT_FALSE(fen->Ouverture().SegmenteTexte(QStringLiteral("faute.txt")));
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
    EXPECT_FALSE(fen->Ouverture().SegmenteTexte(QStringLiteral("corpus.txt")));
    EXPECT_FALSE(fs::exists("corpus.par"));
    EXPECT_EQ(fen->Etat().TexteStatut(), QString());
}

TEST_F(FenPrincTest, AUtf8TextIsConvertedIntoANewFileWhenTheUserSaysSo)
{
    // "très" and a character Windows-1252 lacks (Ŝ).
    const std::string texte = "<titre=un>\r\nUn texte tr\xC3\xA8s court \xC5\x9C.\r\n";
    writeFile("corpus.txt", texte);

    // Cancel: nothing is written, nothing opened.
    dialogues.reponses = {ReponseMessage::Annuler};
    EXPECT_FALSE(fen->Ouverture().SegmenteTexte(QStringLiteral("corpus.txt")));
    ASSERT_EQ(dialogues.messages.size(), 1u);
    EXPECT_TRUE(dialogues.messages[0].texte.contains(QStringLiteral("UTF-8")));
    EXPECT_TRUE(dialogues.messages[0].texte.contains(QStringLiteral("«\u00A0corpus_cp1252.txt\u00A0»")));
    EXPECT_EQ(dialogues.messages[0].boutons, BoutonsMessage::OuiNonAnnuler);
    EXPECT_TRUE(dialogues.dialoguesVus.empty());
    EXPECT_FALSE(fs::exists("corpus_cp1252.txt"));
    EXPECT_FALSE(fs::exists("atrace.txt"));

    // Yes: the converted copy is segmented, the missing character counted, the user's text kept.
    dialogues.messages.clear();
    dialogues.reponses = {ReponseMessage::Oui};
    ASSERT_TRUE(fen->Ouverture().SegmenteTexte(QStringLiteral("corpus.txt")));
    EXPECT_EQ(readFile("corpus.txt"), texte);
    EXPECT_EQ(readFile("corpus_cp1252.txt"), "<titre=un>\r\nUn texte tr\xE8s court ?.\r\n");
    ASSERT_EQ(dialogues.messages.size(), 2u);
    EXPECT_TRUE(dialogues.messages[1].texte.contains(QStringLiteral("1 caractère(s)")));
    EXPECT_STREQ(fen->Base()->NomBase(), "corpus_cp1252");
    EXPECT_GE(fen->Base()->LocFormDic("tr\xE8s", true), 0);

    // No: the text is segmented as it is.
    dialogues.messages.clear();
    dialogues.reponses = {ReponseMessage::Non};
    ASSERT_TRUE(fen->Ouverture().SegmenteTexte(QStringLiteral("corpus.txt")));
    EXPECT_STREQ(fen->Base()->NomBase(), "corpus");
    EXPECT_GE(fen->Base()->LocFormDic("tr\xC3\xA8s", true), 0);
    EXPECT_EQ(dialogues.messages.size(), 1u);
}

TEST_F(FenPrincTest, ATextWithoutAnyFormIsRefusedAndTheOpenBaseStays)
{
    const QString par = BaseEchantillon();
    ASSERT_TRUE(fen->Ouverture().OuvreBase(par));
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
        EXPECT_FALSE(fen->Ouverture().SegmenteTexte(QStringLiteral("vide/vide.txt"))) << c.texte;
        ASSERT_EQ(dialogues.messages.size(), 1u) << c.texte;
        EXPECT_EQ(dialogues.messages[0].texte,
                  QStringLiteral("Le texte «\u00A0vide.txt\u00A0» ne contient aucune forme : il n'y a rien à segmenter."));
        EXPECT_EQ(dialogues.dialoguesVus.size(), c.delimiteursDemandes ? 1u : 0u) << c.texte;
        // Nothing written (the key checker's trace only once it has run).
        EXPECT_FALSE(fs::exists("vide.par"));
        EXPECT_FALSE(fs::exists("vide.dic"));
        EXPECT_EQ(fs::exists("atrace.txt"), c.delimiteursDemandes) << c.texte;
        EXPECT_EQ(fen->Base(), base);
        EXPECT_EQ(fen->Etat().TexteCheminBase(), par);
        QDir::setCurrent(QString::fromStdString(dir_.path().string()));
        fs::remove_all("vide");
    }
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

TEST_F(FenPrincTest, TheDelimiterDialogsHelpThatNoBrowserCanOpenGivesThePagesPath)
{
    dialogues.documentsOuverts = false;
    TFenChoixDelimForme dialogue;
    auto *aide = dialogue.findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Help);
    ASSERT_NE(aide, nullptr);
    aide->click();
    ASSERT_EQ(dialogues.documents.size(), 1u);
    ASSERT_EQ(dialogues.messages.size(), 1u);
    EXPECT_EQ(dialogues.messages[0].texte, QStringLiteral("Impossible d'ouvrir l'aide : aucun navigateur n'a pu être lancé.\n"
                                                          "Ouvrez vous-même le fichier :\n") + dialogues.documents[0]);
}

TEST_F(FenPrincTest, AnUnreadableTextIsReportedAndTheProgramGoesOn)
{
    EXPECT_FALSE(fen->Ouverture().SegmenteTexte(QString::fromStdString((dir_.path() / "absent.txt").string())));
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
            fen->Ouverture().OuvreLigneDeCommande({c.chemin});
        else
            EXPECT_FALSE(fen->Ouverture().SegmenteTexte(c.chemin));
        ASSERT_EQ(dialogues.messages.size(), 1u);
        EXPECT_EQ(dialogues.messages[0].texte, QString::fromUtf8(MessageTexte(c.etat)));
        EXPECT_TRUE(dialogues.dialoguesVus.empty());
        EXPECT_EQ(fen->Base(), nullptr);
        EXPECT_EQ(readFile("atrace.txt"), "Mon texte.");
    }
}

} // namespace
