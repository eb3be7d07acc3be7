// The report page: the close prompt, a new report, saving, the editor, notes and deletion on the
// report tree.
#include "shell/fenprinc_fixture.h"

#include "shell/fenmemo.h"

#include <QDir>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QStandardItemModel>

using talmer::test::FenPrincTest;

namespace {

TEST_F(FenPrincTest, TheClosePromptsThreeAnswers)
{
    const QString par = BaseEchantillon();

    // Nothing added: closing asks nothing.
    ASSERT_TRUE(fen->Ouverture().OuvreBase(par));
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
    EXPECT_FALSE(fen->Rapports().Courant()->EstSauve());
    EXPECT_EQ(fen->Rapports().Courant()->NbElements(), 1);

    // Yes: the report is written into the default folder, then the window closes.
    dialogues.reponses = {ReponseMessage::Oui};
    EXPECT_TRUE(Ferme());
    Rapport *rapport = fen->Rapports().Courant();
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
    ASSERT_TRUE(fen->Ouverture().OuvreBase(BaseEchantillon("base", "echec")));
    AjouteElementAuRapport();
    Rapport *rapport = fen->Rapports().Courant();
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
    fen->Action("BtnNouvRap")->trigger();
    EXPECT_EQ(fen->Rapports().Courant(), nullptr);

    ASSERT_TRUE(fen->Ouverture().OuvreBase(BaseEchantillon()));
    const QString premier = fen->Rapports().Courant()->DossierTemporaire();
    fen->Action("BtnNouvRap")->trigger();
    EXPECT_TRUE(dialogues.messages.empty());
    EXPECT_NE(fen->Rapports().Courant()->DossierTemporaire(), premier);

    AjouteElementAuRapport();
    Rapport *modifie = fen->Rapports().Courant();
    dialogues.reponses = {ReponseMessage::Annuler};
    fen->Action("BtnNouvRap")->trigger();
    ASSERT_EQ(dialogues.messages.size(), 1u);
    EXPECT_EQ(dialogues.messages[0].texte, QStringLiteral("Voulez-vous enregistrer\nle rapport en cours?"));
    EXPECT_EQ(dialogues.messages[0].titre, QStringLiteral("Confirmation"));
    EXPECT_EQ(fen->Rapports().Courant(), modifie);

    // Yes with the folder browser cancelled: nothing is written and the report is kept.
    dialogues.reponses = {ReponseMessage::Oui};
    dialogues.dossier.clear();
    fen->Action("BtnNouvRap")->trigger();
    EXPECT_EQ(fen->Rapports().Courant(), modifie);
    EXPECT_FALSE(modifie->EstSauve());

    // Yes with a folder: written there, then a new report.
    dialogues.reponses = {ReponseMessage::Oui};
    dialogues.dossier = QString::fromStdString((dir_.path() / "rapports").string());
    fen->Action("BtnNouvRap")->trigger();
    EXPECT_EQ(fen->Rapports().Courant()->NbElements(), 0);
    EXPECT_TRUE(fen->Rapports().Courant()->EstSauve());
    ASSERT_FALSE(dialogues.titresDossier.empty());
    EXPECT_EQ(dialogues.titresDossier.back(),
              QStringLiteral("Répertoire de destination du rapport.\nUn Sous répertoire sera créé."));
    const QStringList ecritsDansDossier = QDir(dialogues.dossier).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    ASSERT_EQ(ecritsDansDossier.size(), 1);
    EXPECT_TRUE(ecritsDansDossier[0].startsWith(QStringLiteral("ville_")));
}

TEST_F(FenPrincTest, SaveAndEditorCommands)
{
    ASSERT_TRUE(fen->Ouverture().OuvreBase(BaseEchantillon()));
    // "Editeur" before any save.
    fen->Action("BtnEdit")->trigger();
    ASSERT_EQ(dialogues.messages.size(), 1u);
    EXPECT_EQ(dialogues.messages[0].texte, QStringLiteral("Aucun rapport sauvé pour le moment!"));
    // "Enregistrer" on an empty report does nothing.
    dialogues.dossier = QString::fromStdString((dir_.path() / "rapports").string());
    fen->Action("BtnSauvRapport")->trigger();
    EXPECT_TRUE(dialogues.titresDossier.empty());

    AjouteElementAuRapport();
    fen->Action("BtnSauvRapport")->trigger();
    EXPECT_TRUE(fen->Rapports().Courant()->EstSauve());
    fen->Action("BtnEdit")->trigger();
    ASSERT_EQ(dialogues.documents.size(), 1u);
    const QString index = fen->Rapports().Courant()->Destination() + QStringLiteral("index.htm");
    EXPECT_EQ(dialogues.documents[0], index);
    EXPECT_TRUE(QFileInfo::exists(dialogues.documents[0]));
    EXPECT_EQ(dialogues.messages.size(), 1u);

    // No browser could show it: its path is given, for the user to open it himself.
    dialogues.documentsOuverts = false;
    fen->Action("BtnEdit")->trigger();
    ASSERT_EQ(dialogues.messages.size(), 2u);
    EXPECT_EQ(dialogues.messages[1].texte, QStringLiteral("Impossible d'ouvrir le rapport : aucun navigateur n'a pu être "
                                                          "lancé.\nOuvrez vous-même le fichier :\n") + index);
    // The saved report was deleted since: nothing to hand to a browser.
    QDir(fen->Rapports().Courant()->Destination()).removeRecursively();
    fen->Action("BtnEdit")->trigger();
    EXPECT_EQ(dialogues.documents.size(), 2u);
    ASSERT_EQ(dialogues.messages.size(), 3u);
    EXPECT_EQ(dialogues.messages[2].texte,
              QStringLiteral("Impossible d'ouvrir le rapport : ce fichier est introuvable :\n") + index);
}

TEST_F(FenPrincTest, NotesAndDeletionOnTheReportTree)
{
    ASSERT_TRUE(fen->Ouverture().OuvreBase(BaseEchantillon()));
    AjouteElementAuRapport();
    QStandardItem *racine = fen->Rapports().Modele()->item(0);
    QStandardItem *element = racine->child(0);
    ASSERT_NE(element, nullptr);

    dialogues.repondDialogue = [](QDialog &d) {
        auto &memo = dynamic_cast<TFenMemo &>(d);
        EXPECT_TRUE(memo.TexteMemo()->toPlainText().isEmpty());
        memo.TexteMemo()->setPlainText(QStringLiteral("première\nseconde <b>"));
        return int(QDialog::Accepted);
    };
    fen->Rapports().NoteSurNoeud(element);
    const MemoRapport *note = fen->Rapports().Courant()->Memo(element);
    ASSERT_NE(note, nullptr);
    EXPECT_EQ(note->GetTexte(), QStringLiteral("première\r\nseconde <b>\r\n"));
    EXPECT_EQ(element->data(Rapport::RoleEtat).toInt(), 2);
    EXPECT_TRUE(fen->Rapports().Courant()->EstSauve() == false);

    // Cancel attaches nothing.
    AjouteElementAuRapport(QStringLiteral("page2"));
    QStandardItem *second = racine->child(1);
    dialogues.repondDialogue = [](QDialog &) { return int(QDialog::Rejected); };
    fen->Rapports().NoteSurNoeud(second);
    EXPECT_EQ(fen->Rapports().Courant()->Memo(second), nullptr);

    // Delete: the root stays, an item goes.
    fen->Rapports().SupprimeNoeud(racine);
    EXPECT_EQ(fen->Rapports().Modele()->rowCount(), 1);
    fen->Rapports().SupprimeNoeud(element);
    EXPECT_EQ(racine->rowCount(), 1);
    EXPECT_EQ(racine->child(0), second);
}

} // namespace
