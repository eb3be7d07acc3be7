// The container and the corpus-open dialog on the main window: the container follows the open
// base, and a new base's text is chosen through the corpus-open dialog.
#include "shell/installation_glisser.h"

#include "services/dialogues.h"
#include "shell/conteneur.h"
#include "shell/dragobjects.h"
#include "shell/fenprinc.h"
#include "shell/optionsopendialog.h"

#include "engine/base_fixture.h"
#include "engine/tgen.h"

#include <QDir>
#include <QFileDialog>

#include <gtest/gtest.h>

namespace {

// Answers every dialog in the user's place: a file dialog is given `fichier` and confirmed.
class DialoguesTest : public Dialogues {
public:
    QString fichier;
    int executes = 0;
    ReponseMessage message(QWidget *, const QString &, const QString &, BoutonsMessage, IconeMessage) override
    {
        return ReponseMessage::Non;
    }
    QString choisitFichierBase(QWidget *) override { return {}; }
    QString choisitTexte(QWidget *) override { return {}; }
    QString choisitDossier(QWidget *, const QString &) override { return {}; }
    int execute(QDialog &d) override
    {
        ++executes;
        auto *f = qobject_cast<QFileDialog *>(&d);
        if (!f || fichier.isEmpty())
            return QDialog::Rejected;
        f->selectFile(fichier);
        static_cast<QDialog *>(f)->accept(); // the dialog's own accept, as its Open button runs it
        return f->result();
    }
    void ouvreDocument(const QString &, std::function<void(bool)> resultat) override { resultat(false); }
};

class InstallationTest : public talmer::test::InTempDir {
protected:
    void SetUp() override { FixeDialogues(&dialogues_); }
    void TearDown() override { FixeDialogues(nullptr); }
    DialoguesTest dialogues_;
};

} // namespace

TEST_F(InstallationTest, LeConteneurSuitLaBaseOuverte)
{
    ASSERT_TRUE(talmer::test::makeBase("le chat et le chien.", ".", "un"));
    ASSERT_TRUE(talmer::test::makeBase("la pie et la pie.", ".", "deux"));
    TFenPrinc fen;
    talmer::TConteneur *c = talmer::InstalleConteneurEtCorpus(fen);
    EXPECT_EQ(fen.Conteneur(), c);
    EXPECT_EQ(c->Base(), nullptr);

    ASSERT_TRUE(fen.Ouverture().OuvreBase(QDir::current().absoluteFilePath("un.par")));
    ASSERT_NE(fen.Base(), nullptr);
    EXPECT_EQ(c->Base(), fen.Base());
    c->DeposeForme("chat");
    ASSERT_NE(c->GroupeCourant(), nullptr);
    EXPECT_EQ(c->GroupeCourant()->Base(), fen.Base());

    ASSERT_TRUE(fen.Ouverture().OuvreBase(QDir::current().absoluteFilePath("deux.par")));
    EXPECT_EQ(c->Base(), fen.Base());
    EXPECT_EQ(c->Historique().Taille(), 0); // no group of the closed base is left
    c->DeposeForme("pie");
    ASSERT_NE(c->GroupeCourant(), nullptr);
    EXPECT_STREQ(c->GroupeCourant()->Nom(), "pie");
}

TEST_F(InstallationTest, TexteChoisiParLeDialogueDOuverture)
{
    talmer::test::writeFile("texte.txt", "<titre=a> un texte.\n");
    EXPECT_TRUE(talmer::ChoisitTexteAvecOptions(nullptr).isEmpty()); // cancelled
    dialogues_.fichier = QDir::current().absoluteFilePath("texte.txt");
    EXPECT_EQ(talmer::ChoisitTexteAvecOptions(nullptr), dialogues_.fichier);
    EXPECT_EQ(dialogues_.executes, 2);
}
