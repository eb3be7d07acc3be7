// The corpus window and the open dialog of a new base, with the file dialogs answered by the test.
#include "shell/fencreercorpus.h"
#include "shell/optionsopendialog.h"

#include "support/poste_test.h"

#include "support/tempdir.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeView>

#include <gtest/gtest.h>

#include <iconv.h>

#include <functional>

using talmer::TFenCreerCorpus;
using talmer::TOptionsOpenDialog;
using talmer::test::readFile;
using talmer::test::writeFile;

namespace {

class FenTest : public TFenCreerCorpus {
public:
    QStringList sources;
    QString destination;
    QStringList messages;
    int destinationsDemandees = 0;

protected:
    QStringList ChoisitSources() override { return sources; }
    QString ChoisitDestination() override
    {
        ++destinationsDemandees;
        return destination;
    }
    void Signale(const QString &message) override { messages << message; }
};

class OuvertureTest : public TOptionsOpenDialog {
public:
    // What the user does in the corpus window.
    std::function<void(FenTest &)> utilisateur;
    QStringList ajoutsVus; // the sources the corpus window opened with

protected:
    std::unique_ptr<TFenCreerCorpus> CreeFenCreerCorpus() override { return std::make_unique<FenTest>(); }
    void ExecuteFenCreerCorpus(TFenCreerCorpus &fenetre) override
    {
        auto &f = static_cast<FenTest &>(fenetre);
        for (const auto &fic : f.Creation().Fichiers())
            ajoutsVus << fic.chemin;
        if (utilisateur)
            utilisateur(f);
    }
};

// UTF-8 to Windows-1252 by iconv, independent of the program's own code-page layer.
std::string Cp1252(const std::string &utf8)
{
    iconv_t cd = iconv_open("CP1252", "UTF-8");
    std::string out(utf8.size() * 2 + 4, '\0');
    char *in = const_cast<char *>(utf8.data());
    std::size_t inLeft = utf8.size();
    char *o = out.data();
    std::size_t oLeft = out.size();
    const std::size_t r = iconv(cd, &in, &inLeft, &o, &oLeft);
    iconv_close(cd);
    EXPECT_NE(r, static_cast<std::size_t>(-1));
    out.resize(out.size() - oLeft);
    return out;
}

std::vector<std::string> Lignes(const std::string &texte)
{
    std::vector<std::string> l;
    std::size_t debut = 0;
    while (debut < texte.size()) {
        const std::size_t fin = texte.find('\n', debut);
        l.push_back(texte.substr(debut, fin - debut));
        if (fin == std::string::npos)
            break;
        debut = fin + 1;
    }
    return l;
}

class CorpusFenetreTest : public talmer::test::InTempDir {};

} // namespace

TEST_F(CorpusFenetreTest, ChampsEtListe)
{
    writeFile("Discours 1.txt", "abc");
    writeFile("lettre.finale.doc", "x");
    FenTest f;
    EXPECT_EQ(f.windowTitle(), QString::fromUtf8("Création de Corpus"));
    EXPECT_EQ(f.EdNomCle->text(), "titre");
    EXPECT_FALSE(f.ChkTrait->isChecked());
    EXPECT_TRUE(f.RBCar->isChecked());
    EXPECT_EQ(f.EdCar->text(), QString::fromUtf8("¶"));
    EXPECT_EQ(f.EdCle->text(), "parag");
    for (QWidget *w : {static_cast<QWidget *>(f.RBCar), static_cast<QWidget *>(f.EdCar),
                       static_cast<QWidget *>(f.RBCle), static_cast<QWidget *>(f.EdCle)})
        EXPECT_FALSE(w->isEnabled());
    f.ChkTrait->setChecked(true);
    EXPECT_TRUE(f.RBCle->isEnabled());
    EXPECT_TRUE(f.EdCar->isEnabled());
    f.ChkTrait->setChecked(false);
    EXPECT_FALSE(f.EdCle->isEnabled());

    f.sources = {"Discours 1.txt", "lettre.finale.doc", "Discours 1.txt"};
    f.BtnAdd->click();
    const QAbstractItemModel *m = f.LVFiles->model();
    ASSERT_EQ(m->rowCount(), 2);
    EXPECT_EQ(m->headerData(0, Qt::Horizontal).toString(), "Nom");
    EXPECT_EQ(m->data(m->index(0, 0)).toString(), "Discours_1");
    EXPECT_EQ(m->data(m->index(0, 1)).toString(), "Discours 1.txt");
    EXPECT_EQ(m->data(m->index(0, 2)).toString(), "Texte");
    EXPECT_EQ(m->data(m->index(0, 3)).toString(), "3");
    EXPECT_EQ(m->data(m->index(1, 0)).toString(), "lettre");
    EXPECT_EQ(m->data(m->index(1, 2)).toString(), "Doc. Word");

    f.LVFiles->selectionModel()->select(m->index(0, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    f.BtnDel->click();
    ASSERT_EQ(f.LVFiles->model()->rowCount(), 1);
    EXPECT_EQ(m->data(m->index(0, 0)).toString(), "lettre");
}

TEST_F(CorpusFenetreTest, SauvegardeDeDeuxTextes)
{
    writeFile("a.txt", "un\n");
    writeFile("b.txt", "deux");
    FenTest f;
    f.BtnSave->click(); // nothing listed: nothing happens
    EXPECT_EQ(f.destinationsDemandees, 0);
    f.AjouteFichiers({"a.txt", "b.txt"});
    f.EdNomCle->setText("auteur");
    f.destination = "corpus.txt";
    f.BtnSave->click();
    EXPECT_TRUE(f.messages.isEmpty()) << f.messages.join("\n").toStdString();
    EXPECT_EQ(f.result(), QDialog::Accepted);
    EXPECT_EQ(f.NomSauve(), "corpus.txt");
    EXPECT_EQ(readFile("corpus.txt"), "<auteur=a>\r\nun\r\n\r\n<auteur=b>\r\ndeux\r\n");
}

TEST_F(CorpusFenetreTest, SourcesUtf8ConvertiesSiLUtilisateurLeVeut)
{
    talmer::test::DialoguesTest dialogues;
    writeFile("a.txt", "tr\xC3\xA8s \xC5\x9C\n");
    writeFile("b.txt", "deux");
    FenTest f;
    f.AjouteFichiers({"a.txt", "b.txt"});
    f.destination = "corpus.txt";

    // Cancel: no name asked, nothing written.
    dialogues.reponses = {ReponseMessage::Annuler};
    f.BtnSave->click();
    ASSERT_EQ(dialogues.messages.size(), 1u);
    EXPECT_TRUE(dialogues.messages[0].texte.contains(QStringLiteral("UTF-8")));
    EXPECT_TRUE(dialogues.messages[0].texte.contains(QStringLiteral("\na.txt\n")));
    EXPECT_EQ(f.destinationsDemandees, 0);

    // Yes: converted as they are gathered, the missing character told.
    dialogues.messages.clear();
    dialogues.reponses = {ReponseMessage::Oui};
    f.BtnSave->click();
    EXPECT_EQ(readFile("corpus.txt"), "<titre=a>\r\ntr\xE8s ?\r\n\r\n<titre=b>\r\ndeux\r\n");
    ASSERT_EQ(dialogues.messages.size(), 2u);
    EXPECT_TRUE(dialogues.messages[1].texte.startsWith(QStringLiteral("1 caractère(s)")));
    EXPECT_EQ(f.result(), QDialog::Accepted);
}

TEST_F(CorpusFenetreTest, UnSeulTexteNEcritRien)
{
    writeFile("seul.txt", "texte");
    FenTest f;
    f.AjouteFichiers({"seul.txt"});
    f.destination = "corpus.txt";
    f.BtnSave->click();
    EXPECT_EQ(f.destinationsDemandees, 0);
    EXPECT_EQ(f.NomSauve(), "seul.txt");
    EXPECT_EQ(f.result(), QDialog::Accepted);
    EXPECT_FALSE(QFile::exists("corpus.txt"));
}

TEST_F(CorpusFenetreTest, CleInvalideSignaleeAvantLeNom)
{
    writeFile("a.txt", "a");
    writeFile("b.txt", "b");
    FenTest f;
    f.AjouteFichiers({"a.txt", "b.txt"});
    f.destination = "corpus.txt";
    for (const char *cle : {"ti tre", "", "a=b"}) {
        f.EdNomCle->setText(cle);
        f.BtnSave->click();
    }
    f.EdNomCle->setText("titre");
    f.ChkTrait->setChecked(true);
    f.RBCle->setChecked(true);
    f.EdCle->setText("par ag");
    f.BtnSave->click();
    EXPECT_EQ(f.messages.size(), 4);
    EXPECT_EQ(f.destinationsDemandees, 0);
    EXPECT_NE(f.result(), QDialog::Accepted);
    EXPECT_FALSE(QFile::exists("corpus.txt"));
}

TEST_F(CorpusFenetreTest, DocumentWordAvecCleDeParagraphe)
{
    // Our own three-paragraph document, read through the Word layer.
    ASSERT_TRUE(QFile::copy(TALMER_FIXTURES_DIR "/word/trois_paragraphes.doc", "Ville en saisons.doc"));
    writeFile("note.txt", "Fin.");
    FenTest f;
    f.AjouteFichiers({"Ville en saisons.doc", "note.txt"});
    f.ChkTrait->setChecked(true);
    f.RBCle->setChecked(true);
    f.destination = "corpus.txt";
    f.BtnSave->click();
    ASSERT_TRUE(f.messages.isEmpty()) << f.messages.join("\n").toStdString();

    const std::vector<std::string> p = Lignes(readFile(TALMER_FIXTURES_DIR "/word/trois_paragraphes.txt"));
    ASSERT_EQ(p.size(), 3u);
    const std::string attendu = "<titre=Ville_en_saisons>\r\n"
                                "<parag=1>\r\n" + Cp1252(p[0]) + "\r"
                                "<parag=2>\r\n" + Cp1252(p[1]) + "\r"
                                "<parag=3>\r\n" + Cp1252(p[2]) + "\r"
                                "\r\n"
                                "<titre=note>\r\nFin.\r\n";
    EXPECT_EQ(readFile("corpus.txt"), attendu);
}

TEST_F(CorpusFenetreTest, DocumentWordIlisible)
{
    writeFile("faux.doc", "pas un document");
    writeFile("a.txt", "a");
    FenTest f;
    f.AjouteFichiers({"a.txt", "faux.doc"});
    f.destination = "corpus.txt";
    f.BtnSave->click();
    ASSERT_EQ(f.messages.size(), 1);
    EXPECT_TRUE(f.messages.front().contains("faux.doc")) << f.messages.front().toStdString();
    EXPECT_NE(f.result(), QDialog::Accepted);
    EXPECT_TRUE(f.NomSauve().isEmpty());
    EXPECT_FALSE(QFile::exists("corpus.txt"));
}

TEST_F(CorpusFenetreTest, DialogueDOuverture)
{
    writeFile("a.txt", "a");
    writeFile("b.txt", "b");
    QDir().mkdir("sortie");
    OuvertureTest d;
    ASSERT_NE(d.BtnOptions, nullptr);
    EXPECT_EQ(d.BtnOptions->text(), "Options...");
    EXPECT_EQ(d.BtnOptions->toolTip(), QString::fromUtf8("Options avancées (Regroupement de textes, etc.)"));
    EXPECT_EQ(d.nameFilters().size(), 3);
    EXPECT_TRUE(d.nameFilters().front().contains("*.doc"));

    const QString dossier = QDir::currentPath();
    d.setDirectory(dossier);
    d.utilisateur = [&](FenTest &f) {
        f.AjouteFichiers({dossier + "/a.txt", dossier + "/b.txt"});
        f.destination = dossier + "/sortie/corpus.txt";
        f.BtnSave->click();
    };
    d.BtnOptions->click();
    ASSERT_TRUE(QFile::exists("sortie/corpus.txt"));
    EXPECT_EQ(d.selectedFiles(), QStringList{dossier + "/sortie/corpus.txt"});
    d.accept();
    EXPECT_EQ(d.FichierChoisi(), dossier + "/sortie/corpus.txt");
}

TEST_F(CorpusFenetreTest, DocumentChoisiDirectementEstReuniDAbord)
{
    ASSERT_TRUE(QFile::copy(TALMER_FIXTURES_DIR "/word/court.doc", "court.doc"));
    const QString dossier = QDir::currentPath();
    {
        // The user closes the corpus window without saving: the open dialog stays open.
        OuvertureTest d;
        d.setDirectory(dossier);
        d.selectFile(dossier + "/court.doc");
        d.accept();
        EXPECT_EQ(d.ajoutsVus, QStringList{dossier + "/court.doc"});
        EXPECT_NE(d.result(), QDialog::Accepted);
        EXPECT_TRUE(d.FichierChoisi().isEmpty());
    }
    OuvertureTest d;
    d.setDirectory(dossier);
    d.selectFile(dossier + "/court.doc");
    d.utilisateur = [&](FenTest &f) {
        f.destination = dossier + "/court.txt";
        f.BtnSave->click();
    };
    d.accept();
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_EQ(d.FichierChoisi(), dossier + "/court.txt");
    const std::vector<std::string> p = Lignes(readFile(TALMER_FIXTURES_DIR "/word/court.txt"));
    ASSERT_EQ(p.size(), 2u);
    EXPECT_EQ(readFile("court.txt"), "<titre=court>\r\n" + Cp1252(p[0]) + "\r" + Cp1252(p[1]) + "\r\r\n");
}
