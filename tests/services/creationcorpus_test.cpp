// Corpus building from .txt sources and Word documents: part names, the bytes of the corpus file,
// and the refusals that keep the user's files safe.
#include "services/creationcorpus.h"

#include "platform/qt/codepage.h"

#include "support/tempdir.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <map>

using talmer::CreationCorpus;
using talmer::Fic;
using talmer::test::readFile;
using talmer::test::writeFile;

namespace {

std::string Cp1252(const QString &s)
{
    static const talmer::CodePage page("1252");
    return page.DepuisUnicode(s);
}

// Stands in for the Word layer: documents by path.
struct FauxWord {
    std::map<QString, std::vector<std::string>> documents;
    bool operator()(const QString &chemin, std::vector<std::string> &paragraphes, QString &erreur) const
    {
        const auto it = documents.find(chemin);
        if (it == documents.end()) {
            erreur = QStringLiteral("Le document Word « %1 » ne peut pas être lu.").arg(chemin);
            return false;
        }
        paragraphes = it->second;
        return true;
    }
};

CreationCorpus Creation(FauxWord word = {}) { return CreationCorpus(Cp1252, word); }

class CreationCorpusTest : public talmer::test::InTempDir {};

} // namespace

TEST(NomDePartie, RegleDesNoms)
{
    struct Cas {
        const char *chemin;
        const char *nom;
    };
    const Cas cas[] = {
        {"/corpus/Discours 1.txt", "Discours_1"},
        {"/corpus/lettre.finale.doc", "lettre"},
        {"/c/abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRS.txt", "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMN"},
        {"/c/Élysée été.txt", "Élysée_été"},
        {"/c/a<b>=c.txt", "a_b__c"},
        {"/c/tab\there.txt", "tab_here"},
        {"/c/sans_point", "sans_point"},
        {"/c/.cache.txt", "cache"},
        {"/c/...", "fichier"},
    };
    for (const Cas &c : cas)
        EXPECT_EQ(talmer::NomDePartie(QString::fromUtf8(c.chemin)).toStdString(), c.nom) << c.chemin;
    // 40 characters, not 40 bytes.
    EXPECT_EQ(talmer::NomDePartie(QString(45, QChar(0xE9)) + ".txt"), QString(40, QChar(0xE9)));
}

TEST(TypeDeFichier, ExtensionEnMinuscules)
{
    EXPECT_EQ(talmer::TypeDeFichier("a.txt"), talmer::FicTexte);
    EXPECT_EQ(talmer::TypeDeFichier("A.TXT"), talmer::FicTexte);
    EXPECT_EQ(talmer::TypeDeFichier("lettre.finale.Doc"), talmer::FicWord);
    EXPECT_EQ(talmer::TypeDeFichier("a.txt.bak"), talmer::FicInconnu);
    EXPECT_EQ(talmer::TypeDeFichier("sans"), talmer::FicInconnu);
}

TEST_F(CreationCorpusTest, AjoutNomsDistinctsEtTaille)
{
    writeFile("a.txt", "12345");
    writeFile("a.doc", "x");
    CreationCorpus c = Creation();
    EXPECT_TRUE(c.Ajoute("a.txt"));
    EXPECT_FALSE(c.Ajoute("a.txt")); // the same path string is listed once
    EXPECT_TRUE(c.Ajoute("./a.txt")); // another spelling of the same file is another source
    EXPECT_TRUE(c.Ajoute("a.doc"));
    EXPECT_TRUE(c.Ajoute("absent.txt"));
    ASSERT_EQ(c.Fichiers().size(), 4u);
    EXPECT_EQ(c.Fichiers()[0].nom, "a");
    EXPECT_EQ(c.Fichiers()[1].nom, "a_2");
    EXPECT_EQ(c.Fichiers()[2].nom, "a_3");
    EXPECT_EQ(c.Fichiers()[0].taille, 5);
    EXPECT_EQ(c.Fichiers()[2].type, talmer::FicWord);
    EXPECT_EQ(c.Fichiers()[3].taille, -1);
    EXPECT_EQ(c.Fichiers()[3].nom, "absent");

    // A suffixed name still holds at most 40 characters.
    const std::string long40(40, 'x');
    EXPECT_TRUE(c.Ajoute(QString::fromStdString("/un/" + long40 + "1.txt")));
    EXPECT_TRUE(c.Ajoute(QString::fromStdString("/deux/" + long40 + "2.txt")));
    EXPECT_EQ(c.Fichiers()[4].nom, long40);
    EXPECT_EQ(c.Fichiers()[5].nom, std::string(38, 'x') + "_2");

    c.Retire(0);
    c.Retire(99);
    EXPECT_EQ(c.Fichiers().size(), 5u);
    EXPECT_EQ(c.Fichiers()[0].nom, "a_2");
}

TEST_F(CreationCorpusTest, UnSeulTexteEstLeCorpus)
{
    writeFile("seul.txt", "texte");
    CreationCorpus c = Creation();
    EXPECT_TRUE(c.FichierUnique().isEmpty());
    c.Ajoute("seul.txt");
    EXPECT_EQ(c.FichierUnique(), QString("seul.txt"));
    c.Ajoute("autre.doc");
    EXPECT_TRUE(c.FichierUnique().isEmpty());

    CreationCorpus d = Creation();
    d.Ajoute("lettre.doc");
    EXPECT_TRUE(d.FichierUnique().isEmpty()); // a Word document alone is still converted
}

TEST_F(CreationCorpusTest, OctetsDuCorpusDeTextes)
{
    // LF, CR LF and no final line end; bytes of the code page copied unchanged.
    writeFile("Discours 1.txt", "Le chat.\nLa nuit.");
    writeFile("Été.txt", "\xC9t\xE9\r\nhiver\r\n");
    writeFile("vide.txt", "");
    writeFile("notes.md", "a\rb\n");
    CreationCorpus c = Creation();
    c.Ajoute("Discours 1.txt");
    c.Ajoute(QString::fromUtf8("Été.txt"));
    c.Ajoute("vide.txt");
    c.Ajoute("notes.md");
    ASSERT_EQ(c.Ecrit("corpus.txt", "titre", ""), QString());
    EXPECT_EQ(readFile("corpus.txt"), "<titre=Discours_1>\r\n"
                                      "Le chat.\r\nLa nuit.\r\n"
                                      "<titre=\xC9t\xE9>\r\n"
                                      "\xC9t\xE9\r\nhiver\r\n\r\n"
                                      "<titre=vide>\r\n"
                                      "\r\n"
                                      "<titre=notes>\r\n"
                                      "a\rb\r\n\r\n");
    // Nothing but the corpus is left in the folder.
    EXPECT_EQ(QDir(".").entryList(QDir::Files).size(), 5);
}

TEST_F(CreationCorpusTest, SourcesUtf8ConvertiesALaDemande)
{
    // "été Ŝ" in UTF-8 (Windows-1252 lacks Ŝ), a Windows-1252 text and an ASCII one.
    writeFile("a.txt", "\xC3\xA9t\xC3\xA9 \xC5\x9C\n");
    writeFile("b.txt", "\xE8\n");
    writeFile("c.txt", "x\n");
    CreationCorpus c = Creation();
    c.Ajoute("a.txt");
    c.Ajoute("b.txt");
    c.Ajoute("c.txt");
    EXPECT_EQ(c.SourcesUtf8(), QStringList{QStringLiteral("a.txt")});

    // Not asked for: copied as they are.
    ASSERT_EQ(c.Ecrit("tel.txt", "titre", ""), QString());
    EXPECT_EQ(readFile("tel.txt"), "<titre=a>\r\n\xC3\xA9t\xC3\xA9 \xC5\x9C\r\n\r\n"
                                   "<titre=b>\r\n\xE8\r\n\r\n<titre=c>\r\nx\r\n\r\n");
    EXPECT_EQ(c.CaracteresManquants(), 0);

    const talmer::CodePage cp1252("1252");
    c.FixeConversionUtf8(&cp1252);
    ASSERT_EQ(c.Ecrit("converti.txt", "titre", ""), QString());
    EXPECT_EQ(readFile("converti.txt"), "<titre=a>\r\n\xE9t\xE9 ?\r\n\r\n"
                                        "<titre=b>\r\n\xE8\r\n\r\n<titre=c>\r\nx\r\n\r\n");
    EXPECT_EQ(c.CaracteresManquants(), 1);
    EXPECT_EQ(readFile("a.txt"), "\xC3\xA9t\xC3\xA9 \xC5\x9C\n");
}

TEST_F(CreationCorpusTest, LongTexteCopieParBlocs)
{
    // A CR LF pair that straddles two read blocks stays one line end.
    std::string texte(65535, 'a');
    texte += "\r\n";
    texte += std::string(70000, 'b');
    texte += "\n";
    writeFile("long.txt", texte);
    writeFile("b.txt", "x");
    CreationCorpus c = Creation();
    c.Ajoute("long.txt");
    c.Ajoute("b.txt");
    ASSERT_EQ(c.Ecrit("sortie.txt", "cle", ""), QString());
    std::string attendu = "<cle=long>\r\n" + std::string(65535, 'a') + "\r\n" + std::string(70000, 'b') +
                          "\r\n\r\n<cle=b>\r\nx\r\n";
    EXPECT_EQ(readFile("sortie.txt"), attendu);
}

TEST_F(CreationCorpusTest, ParagraphesWordEtLeursMarqueurs)
{
    FauxWord word;
    word.documents["lettre.finale.doc"] = {"Premier.", "Deuxi\xE8me.", "Troisi\xE8me."};
    CreationCorpus c = Creation(word);
    c.Ajoute("lettre.finale.doc");

    struct Cas {
        talmer::OptionsWord options;
        std::string corps;
    };
    talmer::OptionsWord sans;
    talmer::OptionsWord cle;
    cle.traitement = true;
    cle.parCle = true;
    talmer::OptionsWord car;
    car.traitement = true;
    talmer::OptionsWord carVide = car;
    carVide.caractere = "";
    talmer::OptionsWord carCle = car;
    carCle.caractere = "<p=";
    talmer::OptionsWord nonTraite = cle;
    nonTraite.traitement = false;
    const Cas cas[] = {
        {sans, "Premier.\rDeuxi\xE8me.\rTroisi\xE8me.\r"},
        {nonTraite, "Premier.\rDeuxi\xE8me.\rTroisi\xE8me.\r"},
        {carVide, "Premier.\rDeuxi\xE8me.\rTroisi\xE8me.\r"},
        {cle, "<parag=1>\r\nPremier.\r<parag=2>\r\nDeuxi\xE8me.\r<parag=3>\r\nTroisi\xE8me.\r"},
        {car, "\xB6\r\nPremier.\r\xB6\r\nDeuxi\xE8me.\r\xB6\r\nTroisi\xE8me.\r"},
        {carCle, "<p=1>\r\nPremier.\r<p=2>\r\nDeuxi\xE8me.\r<p=3>\r\nTroisi\xE8me.\r"},
    };
    for (const Cas &k : cas) {
        const std::string marqueur = talmer::MarqueurDeParagraphe(k.options);
        ASSERT_EQ(c.Ecrit("corpus.txt", "titre", marqueur), QString()) << marqueur;
        EXPECT_EQ(readFile("corpus.txt"), "<titre=lettre>\r\n" + k.corps + "\r\n") << marqueur;
    }
}

TEST_F(CreationCorpusTest, ClesEtMarqueursRefuses)
{
    writeFile("a.txt", "a");
    writeFile("b.txt", "b");
    CreationCorpus c = Creation();
    c.Ajoute("a.txt");
    c.Ajoute("b.txt");
    for (const char *type : {"", "ti tre", "a=b", "<x", "x>", "tab\tx"})
        EXPECT_FALSE(c.Ecrit("corpus.txt", type, "").isEmpty()) << type;
    EXPECT_FALSE(c.Ecrit("corpus.txt", std::string(127, 'k'), "").isEmpty());
    for (const char *m : {"<p", "<=", "<p q=", "<p=x"})
        EXPECT_FALSE(c.Ecrit("corpus.txt", "titre", m).isEmpty()) << m;
    EXPECT_FALSE(QFile::exists("corpus.txt"));
    EXPECT_EQ(c.Ecrit("corpus.txt", std::string(126, 'k'), "<p="), QString());
}

TEST_F(CreationCorpusTest, DestinationParmiLesSourcesRefusee)
{
    writeFile("a.txt", "texte a");
    writeFile("b.txt", "texte b");
    QDir().mkdir("sous");
    CreationCorpus c = Creation();
    c.Ajoute("a.txt");
    c.Ajoute("b.txt");
    EXPECT_FALSE(c.Ecrit("a.txt", "titre", "").isEmpty());
    EXPECT_FALSE(c.Ecrit("sous/../b.txt", "titre", "").isEmpty());
    EXPECT_EQ(readFile("a.txt"), "texte a");
    EXPECT_EQ(readFile("b.txt"), "texte b");
}

TEST_F(CreationCorpusTest, SourceIlisibleNeLaissePasDeCorpusPartiel)
{
    writeFile("a.txt", "texte a");
    writeFile("b.txt", "texte b");
    writeFile("corpus.txt", "ancien corpus");
    FauxWord word; // knows no document: every .doc is unreadable
    {
        CreationCorpus c = Creation(word);
        c.Ajoute("a.txt");
        c.Ajoute("b.txt");
        QFile::remove("b.txt");
        const QString raison = c.Ecrit("corpus.txt", "titre", "");
        EXPECT_TRUE(raison.contains("b.txt")) << raison.toStdString();
    }
    {
        CreationCorpus c = Creation(word);
        c.Ajoute("a.txt");
        c.Ajoute("rapport.doc");
        const QString raison = c.Ecrit("corpus.txt", "titre", "");
        EXPECT_TRUE(raison.contains("rapport.doc")) << raison.toStdString();
    }
    {
        QDir().mkdir("dossier.txt");
        CreationCorpus c = Creation(word);
        c.Ajoute("a.txt");
        c.Ajoute("dossier.txt");
        EXPECT_FALSE(c.Ecrit("corpus.txt", "titre", "").isEmpty());
    }
    // The earlier file is intact and no temporary file is left behind.
    EXPECT_EQ(readFile("corpus.txt"), "ancien corpus");
    EXPECT_EQ(QDir(".").entryList(QDir::Files), QStringList({"a.txt", "corpus.txt"}));
}

TEST_F(CreationCorpusTest, DossierDeDestinationAbsent)
{
    writeFile("a.txt", "a");
    writeFile("b.txt", "b");
    CreationCorpus c = Creation();
    c.Ajoute("a.txt");
    c.Ajoute("b.txt");
    EXPECT_FALSE(c.Ecrit("absent/corpus.txt", "titre", "").isEmpty());
    EXPECT_FALSE(Creation().Ecrit("corpus.txt", "titre", "").isEmpty()); // nothing to gather
    EXPECT_FALSE(QFile::exists("corpus.txt"));
}
