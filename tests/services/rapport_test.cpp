// The analysis report: items in the temporary folder, notes, and the report folder it writes.
#include "services/rapport.h"

#include "engine/base_fixture.h"

#include "services/configuration.h"
#include "services/utilitaires.h"
#include "support/tempdir.h"

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QStandardItemModel>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <set>

namespace fs = std::filesystem;
using talmer::test::readFile;
using talmer::test::writeFile;

namespace {

const QDateTime creation(QDate(2026, 12, 9), QTime(8, 5, 3));

CaracteristiquesBase ville()
{
    CaracteristiquesBase c;
    c.NomBase = "ville";
    c.Nbocc = 1234;
    c.Nbform = 456;
    c.Fmax = 78;
    c.Nhap = 90;
    return c;
}

std::string fixture(const char *nom)
{
    return readFile(fs::path(TALMER_FIXTURES_DIR) / "rapport" / nom);
}

std::set<std::string> contenuDe(const fs::path &dossier)
{
    std::set<std::string> noms;
    for (const auto &e : fs::recursive_directory_iterator(dossier))
        noms.insert(fs::relative(e.path(), dossier).generic_string());
    return noms;
}

fs::path chemin(const QString &q)
{
    return fs::path(q.toStdString());
}

class RapportTest : public talmer::test::InTempDir {
protected:
    void SetUp() override
    {
        fs::create_directory("tmp");
        temp_.emplace("TEMP", (fs::current_path() / "tmp").string());
        FixeConfigurationProgramme(&config_);
        Rapport::InitArbreRapport(&arbre_);
    }
    void TearDown() override
    {
        FixeConfigurationProgramme(nullptr);
        temp_.reset();
    }

    // Writes the files of an HTML item into the report's temporary folder.
    static void page(const Rapport &r, const char *base, const std::string &html, const char *xml = nullptr)
    {
        const fs::path t = chemin(r.DossierTemporaire());
        writeFile(t / (std::string(base) + ".html"), html);
        if (xml)
            writeFile(t / (std::string(base) + ".xml"), xml);
    }

    static void image(const Rapport &r, const char *nom)
    {
        QImage img(40, 30, QImage::Format_RGB32);
        img.fill(Qt::darkGreen);
        ASSERT_TRUE(SauveBitmapJpeg(img, r.DossierTemporaire() + QString::fromLatin1(nom), 30));
    }

    ConfigurationT3 config_;
    QStandardItemModel arbre_;
    std::optional<talmer::test::VariableEnv> temp_;
};

} // namespace

TEST_F(RapportTest, ReportFolderOfASmallReportByteForByte)
{
    Rapport r(&arbre_, nullptr, ville(), creation);
    EXPECT_EQ(r.Nom(), QStringLiteral("ville_20261209-080503"));

    page(r, "pclcauteur", "<html><body>Partition auteur</body></html>\r\n",
         "<partition cle=\"auteur\">\n<partie nom=\"Dupont\"/>\n</partition>\n");
    ASSERT_NE(r.AjouteElement(QStringLiteral("PCLC - auteur"), QStringLiteral("pclcauteur"), QString(), GenreElement::Page),
              nullptr);
    image(r, "img-grapheZipf-0.jpg");
    ASSERT_NE(r.AjouteElement(QStringLiteral("Zipf (1)"), QStringLiteral("img-grapheZipf-0.jpg"),
                              QStringLiteral("Courbe de Zipf <i>ville</i>"), GenreElement::Image),
              nullptr);
    page(r, "conc1", "<html><body>Concordance</body></html>\r\n", "<concordance pivot=\"\xE9t\xE9\"/>\n");
    QStandardItem *conc = r.AjouteElement(QString::fromUtf8("Concordance de « été »"), QStringLiteral("conc1"),
                                          QString(), GenreElement::Page);
    ASSERT_NE(conc, nullptr);
    r.FixeMemo(MemoRapport(QString::fromUtf8("Première ligne\r\nDeux <b>\r\n")), conc);
    EXPECT_FALSE(r.EstSauve());

    QString erreur;
    ASSERT_TRUE(r.Genere(QStringLiteral("sortie"), &erreur)) << erreur.toStdString();
    EXPECT_TRUE(r.EstSauve());
    const fs::path R = fs::current_path() / "sortie" / "ville_20261209-080503";
    EXPECT_EQ(r.Destination(), QString::fromStdString(fs::path("sortie/ville_20261209-080503/").string()));

    EXPECT_EQ(contenuDe(R), (std::set<std::string>{
                                "index.htm", "contenu", "xml", "xml/rapport.xml", "contenu/pclcauteur.html",
                                "contenu/img-grapheZipf-0.jpg", "contenu/img-grapheZipf-0.html", "contenu/conc1.html",
                                "contenu/paper.gif", "contenu/bulle.gif", "contenu/cube.gif", "contenu/grille.gif"}));
    EXPECT_EQ(readFile(R / "index.htm"), fixture("index.htm"));
    EXPECT_EQ(readFile(R / "xml" / "rapport.xml"), fixture("rapport.xml"));
    EXPECT_EQ(readFile(R / "contenu" / "img-grapheZipf-0.html"), fixture("img-grapheZipf-0.html"));

    const fs::path t = chemin(r.DossierTemporaire());
    EXPECT_EQ(readFile(R / "contenu" / "pclcauteur.html"), readFile(t / "pclcauteur.html"));
    EXPECT_EQ(readFile(R / "contenu" / "conc1.html"), readFile(t / "conc1.html"));
    EXPECT_EQ(readFile(R / "contenu" / "img-grapheZipf-0.jpg"), readFile(t / "img-grapheZipf-0.jpg"));
    for (const char *decor : {"paper.gif", "bulle.gif", "cube.gif", "grille.gif"}) {
        const std::string source = readFile(fs::path(TALMER_SOURCE_DIR) / "resources" / "images" / decor);
        EXPECT_EQ(source.substr(0, 6), "GIF89a") << decor;
        EXPECT_EQ(readFile(R / "contenu" / decor), source) << decor;
        EXPECT_FALSE(QImage(QString::fromStdString((R / "contenu" / decor).string())).isNull()) << decor;
    }
    // Generation copies from the temporary folder and leaves it whole.
    EXPECT_TRUE(fs::exists(t / "pclcauteur.xml"));
}

TEST_F(RapportTest, SavedFlagDeletedNodesAndASecondGeneration)
{
    Rapport r(&arbre_, nullptr, ville(), creation);
    EXPECT_TRUE(r.EstSauve());
    page(r, "a", "A");
    page(r, "b", "B");
    r.AjouteElement(QStringLiteral("A"), QStringLiteral("a"), QString(), GenreElement::Page);
    EXPECT_FALSE(r.EstSauve());
    ASSERT_TRUE(r.Genere(QStringLiteral("sortie/")));
    EXPECT_TRUE(r.EstSauve());
    r.AjouteElement(QStringLiteral("B"), QStringLiteral("b"), QString(), GenreElement::Page);
    EXPECT_FALSE(r.EstSauve());

    // The node of A is deleted: A is left out of the second generation, whose files replace the
    // first ones; A's copy from the first stays in "contenu".
    QStandardItem *racine = arbre_.item(0);
    ASSERT_EQ(racine->rowCount(), 2);
    EXPECT_EQ(racine->child(1)->data(Rapport::RoleElement).toInt(), 1);
    racine->removeRow(0);
    ASSERT_TRUE(r.Genere(QStringLiteral("sortie")));
    const fs::path R = fs::path("sortie") / "ville_20261209-080503";
    const std::string index = readFile(R / "index.htm");
    EXPECT_EQ(index.find("contenu/a.html"), std::string::npos);
    EXPECT_NE(index.find("<ol>\r\n<li><a href=\"contenu/b.html\">B</a></li>\r\n</ol>\r\n"), std::string::npos);
    EXPECT_TRUE(fs::exists(R / "contenu" / "a.html"));
    EXPECT_EQ(r.NbElements(), 2);

    // Every node deleted: an index whose list is empty; no XML fragment at all.
    racine->removeRow(0);
    ASSERT_TRUE(r.Genere(QStringLiteral("sortie")));
    EXPECT_NE(readFile(R / "index.htm").find("</table><br><br>\r\n<ol>\r\n</ol>\r\n</body></html>\r\n"), std::string::npos);
    EXPECT_EQ(readFile(R / "xml" / "rapport.xml"), "<?xml version=\"1.0\" encoding=\"windows-1252\"?>\n<rapport>\n</rapport>");
}

TEST_F(RapportTest, PictureItemNamesAndLinks)
{
    Rapport r(&arbre_, nullptr, ville(), creation);
    image(r, "img-afc-3.jpg");
    r.AjouteElement(QStringLiteral("AFC (3)"), QStringLiteral("img-afc-3.jpg"), QStringLiteral("Plan"), GenreElement::Image);
    // A page whose name happens to hold ".jpg" is still a page: its kind is stored.
    page(r, "liste.jpg.notes", "P");
    r.AjouteElement(QStringLiteral("P"), QStringLiteral("liste.jpg.notes"), QString(), GenreElement::Page);
    ASSERT_TRUE(r.Genere(QStringLiteral("sortie")));
    const fs::path c = fs::path("sortie") / "ville_20261209-080503" / "contenu";
    EXPECT_TRUE(fs::exists(c / "img-afc-3.jpg"));
    EXPECT_TRUE(fs::exists(c / "img-afc-3.html"));
    EXPECT_TRUE(fs::exists(c / "liste.jpg.notes.html"));
    const std::string index = readFile(fs::path("sortie") / "ville_20261209-080503" / "index.htm");
    EXPECT_NE(index.find("<li><a href=\"contenu/img-afc-3.html\">AFC (3)</a></li>\r\n"), std::string::npos);
    EXPECT_NE(index.find("<li><a href=\"contenu/liste.jpg.notes.html\">P</a></li>\r\n"), std::string::npos);
}

TEST_F(RapportTest, DestinationWithOrWithoutSlash)
{
    for (const char *dest : {"Rapports", "Rapports/"}) {
        Rapport r(&arbre_, nullptr, ville(), creation);
        ASSERT_TRUE(r.Genere(QString::fromLatin1(dest)));
        EXPECT_EQ(r.Destination(), QStringLiteral("Rapports/ville_20261209-080503/")) << dest;
        EXPECT_TRUE(fs::exists("Rapports/ville_20261209-080503/index.htm"));
    }
    EXPECT_EQ(contenuDe("Rapports").count("ville_20261209-080503"), 1u);
}

TEST_F(RapportTest, RightToLeftSet)
{
    config_.SetCharsetIndex(4); // Arabe
    Rapport r(&arbre_, nullptr, ville(), creation);
    EXPECT_EQ(r.Charset(), "windows-1256");
    EXPECT_EQ(r.Direction(), "RTL");
    page(r, "p", "x");
    // An Arabic caption in the page's code page; a character it lacks as a reference.
    r.AjouteElement(QString::fromUtf8("كتاب Ж"), QStringLiteral("p"), QString(), GenreElement::Page);
    ASSERT_TRUE(r.Genere(QStringLiteral("sortie")));
    const std::string index = readFile("sortie/ville_20261209-080503/index.htm");
    EXPECT_EQ(index.rfind("<html><head><meta http-equiv=\"Content-Type\" content=\"text/html;charset=windows-1256\" />\r\n", 0), 0u);
    EXPECT_NE(index.find("<body background=\"contenu/paper.gif\"\r\ndir=\"RTL\">\r\n"), std::string::npos);
    EXPECT_NE(index.find("\">\xDF\xCA\xC7\xC8 &#1046;</a></li>"), std::string::npos);
    EXPECT_EQ(readFile("sortie/ville_20261209-080503/xml/rapport.xml").rfind("<?xml version=\"1.0\" encoding=\"windows-1256\"?>\n", 0), 0u);
}

TEST_F(RapportTest, Notes)
{
    Rapport r(&arbre_, nullptr, ville(), creation);
    page(r, "a", "A");
    page(r, "b", "B");
    QStandardItem *a = r.AjouteElement(QStringLiteral("A"), QStringLiteral("a"), QString(), GenreElement::Page);
    QStandardItem *b = r.AjouteElement(QStringLiteral("B"), QStringLiteral("b"), QString(), GenreElement::Page);
    ASSERT_TRUE(r.Genere(QStringLiteral("sortie")));
    EXPECT_EQ(a->data(Rapport::RoleEtat).toInt(), 1);
    EXPECT_EQ(r.Memo(a), nullptr);

    r.FixeMemo(MemoRapport(QStringLiteral("premier\r\n")), a);
    r.FixeMemo(MemoRapport(QStringLiteral("second\r\n")), a);
    r.FixeMemo(MemoRapport(QString()), b);
    r.FixeMemo(MemoRapport(QStringLiteral("sur la racine\r\n")), arbre_.item(0));
    EXPECT_EQ(a->data(Rapport::RoleEtat).toInt(), 2);
    EXPECT_EQ(b->data(Rapport::RoleEtat).toInt(), 2);
    EXPECT_EQ(arbre_.item(0)->data(Rapport::RoleEtat).toInt(), 2);
    ASSERT_NE(r.Memo(a), nullptr);
    EXPECT_EQ(r.Memo(a)->GetTexte(), QStringLiteral("second\r\n"));
    // Attaching a note does not make the report unsaved.
    EXPECT_TRUE(r.EstSauve());

    ASSERT_TRUE(r.Genere(QStringLiteral("sortie")));
    const std::string index = readFile("sortie/ville_20261209-080503/index.htm");
    EXPECT_NE(index.find("<li><a href=\"contenu/a.html\">A</a>second\r\n</li>\r\n"
                         "<li><a href=\"contenu/b.html\">B</a></li>\r\n</ol>"),
              std::string::npos);
    EXPECT_EQ(index.find("premier"), std::string::npos);
    EXPECT_EQ(index.find("racine"), std::string::npos);

    // A note never passes to a node added after its own node was deleted.
    arbre_.item(0)->removeRow(0);
    page(r, "c", "C");
    QStandardItem *c = r.AjouteElement(QStringLiteral("C"), QStringLiteral("c"), QString(), GenreElement::Page);
    EXPECT_EQ(r.Memo(c), nullptr);
}

TEST_F(RapportTest, CaptionsAreHtmlNotesAsTypedAndTheXmlStaysWellFormed)
{
    Rapport r(&arbre_, nullptr, ville(), creation);
    page(r, "ville_section-812_1_3", "S");
    QStandardItem *section = r.AjouteElement(QStringLiteral("Section n&deg;3"), QStringLiteral("ville_section-812_1_3"),
                                             QStringLiteral(" "), GenreElement::Page);
    ASSERT_NE(section, nullptr);
    r.FixeMemo(MemoRapport(QStringLiteral("<b>gras\r\n")), section);
    // A caption made from a spelling: the window escapes that piece when it makes the caption.
    const char *const fragment = "<documentation>\n<concordance>\n<ligContConcordance><contexte> le</contexte>"
                                 "<pole>R&amp;D \"x\"</pole><contexte></contexte></ligContConcordance>\n"
                                 "</concordance>\n</documentation>\n";
    page(r, "conc0", "C", fragment);
    QStandardItem *conc = r.AjouteElement(EchappeTexte(QString::fromUtf8("Concordance de : R&D \"x\" é")),
                                          QStringLiteral("conc0"), QStringLiteral(" "), GenreElement::Page);
    ASSERT_NE(conc, nullptr);

    // The tree shows what the index shows.
    EXPECT_EQ(section->text(), QString::fromUtf8("Section n°3"));
    EXPECT_EQ(conc->text(), QString::fromUtf8("Concordance de : R&D \"x\" é"));

    ASSERT_TRUE(r.Genere(QStringLiteral("sortie")));
    const fs::path R = fs::path("sortie") / "ville_20261209-080503";
    const std::string index = readFile(R / "index.htm");
    EXPECT_NE(index.find("</table><br><br>\r\n<ol>\r\n"
                         "<li><a href=\"contenu/ville_section-812_1_3.html\">Section n&deg;3</a><b>gras\r\n</li>\r\n"
                         "<li><a href=\"contenu/conc0.html\">Concordance de : R&amp;D \"x\" \xE9</a></li>\r\n"
                         "</ol>\r\n</body></html>\r\n"),
              std::string::npos)
        << index;

    // Captions and notes stay in the index: the XML document holds only the fragments.
    const std::string xml = readFile(R / "xml" / "rapport.xml");
    EXPECT_EQ(xml, std::string("<?xml version=\"1.0\" encoding=\"windows-1252\"?>\n<rapport>\n") + fragment + "</rapport>");
    QXmlStreamReader lecteur(QByteArray::fromStdString(xml));
    QStringList poles;
    while (!lecteur.atEnd())
        if (lecteur.readNext() == QXmlStreamReader::StartElement && lecteur.name() == QLatin1String("pole"))
            poles << lecteur.readElementText();
    EXPECT_FALSE(lecteur.hasError()) << lecteur.errorString().toStdString();
    EXPECT_EQ(poles, QStringList{QStringLiteral("R&D \"x\"")});
}

TEST_F(RapportTest, DoubleByteSetsDeclareTheirRegisteredCharsetNames)
{
    const struct {
        int index;
        const char *nom;
    } cas[] = {{3, "Shift_JIS"}, {7, "Big5"}, {8, "GBK"}, {11, "EUC-KR"}, {12, "Johab"}};
    for (const auto &c : cas) {
        SCOPED_TRACE(c.nom);
        config_.SetCharsetIndex(c.index);
        Rapport r(&arbre_, nullptr, ville(), creation);
        EXPECT_EQ(r.Charset(), c.nom);
        ASSERT_TRUE(r.Genere(QStringLiteral("sortie")));
        EXPECT_EQ(readFile("sortie/ville_20261209-080503/index.htm").rfind(std::string("<html><head><meta http-equiv=\"Content-Type\" "
                                                       "content=\"text/html;charset=") + c.nom + "\" />\r\n", 0),
                  0u);
        EXPECT_EQ(readFile("sortie/ville_20261209-080503/xml/rapport.xml"),
                  std::string("<?xml version=\"1.0\" encoding=\"") + c.nom + "\"?>\n<rapport>\n</rapport>");
    }
}

TEST_F(RapportTest, FailuresAreReportedAndKeepTheReportUnsaved)
{
    Rapport r(&arbre_, nullptr, ville(), creation);
    page(r, "present", "P");
    r.AjouteElement(QStringLiteral("Présent"), QStringLiteral("present"), QString(), GenreElement::Page);
    r.AjouteElement(QStringLiteral("Absent"), QStringLiteral("absent"), QString(), GenreElement::Page);
    r.AjouteElement(QStringLiteral("Image absente"), QStringLiteral("img-x.jpg"), QStringLiteral("T"), GenreElement::Image);

    // Items whose files are missing: the others are written, the report stays unsaved.
    QString erreur;
    EXPECT_FALSE(r.Genere(QStringLiteral("sortie"), &erreur));
    EXPECT_FALSE(r.EstSauve());
    EXPECT_TRUE(erreur.contains(QStringLiteral("absent.html"))) << erreur.toStdString();
    EXPECT_TRUE(erreur.contains(QStringLiteral("img-x.jpg"))) << erreur.toStdString();
    EXPECT_TRUE(fs::exists("sortie/ville_20261209-080503/contenu/present.html"));

    // Once the files are there, the same report saves.
    page(r, "absent", "A");
    image(r, "img-x.jpg");
    EXPECT_TRUE(r.Genere(QStringLiteral("sortie"), &erreur)) << erreur.toStdString();
    EXPECT_TRUE(r.EstSauve());

    // A missing decoration.
    r.AjouteElement(QStringLiteral("Encore"), QStringLiteral("present"), QString(), GenreElement::Page);
    fs::create_directory("decors");
    for (const char *decor : {"paper.gif", "bulle.gif", "cube.gif"})
        writeFile(fs::path("decors") / decor, "GIF89a");
    r.FixeDossierDecors(QStringLiteral("decors"));
    EXPECT_FALSE(r.Genere(QStringLiteral("sortie"), &erreur));
    EXPECT_TRUE(erreur.contains(QStringLiteral("grille.gif"))) << erreur.toStdString();
    EXPECT_FALSE(r.EstSauve());
    r.FixeDossierDecors(QString());

    // A destination that cannot be made (a file lies in the way).
    writeFile("fichier", "x");
    EXPECT_FALSE(r.Genere(QStringLiteral("fichier/sous"), &erreur));
    EXPECT_TRUE(erreur.contains(QStringLiteral("fichier/sous"))) << erreur.toStdString();
    EXPECT_FALSE(r.EstSauve());

    // An index that cannot be written (a folder in its place): the destination stays the last good one.
    const QString avant = r.Destination();
    fs::create_directories("bloque/ville_20261209-080503/index.htm");
    EXPECT_FALSE(r.Genere(QStringLiteral("bloque"), &erreur));
    EXPECT_TRUE(erreur.contains(QStringLiteral("index.htm"))) << erreur.toStdString();
    EXPECT_EQ(r.Destination(), avant);
    EXPECT_FALSE(r.EstSauve());

    // No destination: nothing written.
    EXPECT_FALSE(r.Genere(QString(), &erreur));
    EXPECT_FALSE(erreur.isEmpty());
    EXPECT_FALSE(r.EstSauve());
}

TEST_F(RapportTest, UnsafeItemNamesAreRefused)
{
    Rapport r(&arbre_, nullptr, ville(), creation);
    for (const char *nom : {"", ".", "..", "../x", "a/b", "a\\b", "a\nb"})
        EXPECT_EQ(r.AjouteElement(QStringLiteral("x"), QString::fromLatin1(nom), QString(), GenreElement::Page), nullptr)
            << nom;
    EXPECT_EQ(r.AjouteElement(QStringLiteral("x"), QStringLiteral("img.png"), QString(), GenreElement::Image), nullptr);
    EXPECT_EQ(r.AjouteElement(QStringLiteral("x"), QStringLiteral(".jpg"), QString(), GenreElement::Image), nullptr);
    EXPECT_EQ(r.NbElements(), 0);
    EXPECT_TRUE(r.EstSauve());
    EXPECT_EQ(arbre_.item(0)->rowCount(), 0);
    // A name made from a key spelling is accepted.
    const QString nom = QStringLiteral("pclc") + QString::fromStdString(NomDeFichierSur("../\xE9t\xE9"));
    EXPECT_NE(r.AjouteElement(QStringLiteral("x"), nom, QString(), GenreElement::Page), nullptr);
}

TEST_F(RapportTest, NameTreeAndTemporaryFolder)
{
    CaracteristiquesBase c = ville();
    c.NomBase = "../r\xE9sum\xE9";
    QString temporaire;
    {
        Rapport r(&arbre_, nullptr, c, creation);
        // The name is one folder name, decoded from the display code page.
        EXPECT_EQ(r.Nom(), QString::fromUtf8(".._résumé_20261209-080503"));
        EXPECT_EQ(arbre_.rowCount(), 1);
        EXPECT_EQ(arbre_.item(0)->text(), QStringLiteral("Elements du rapport"));
        EXPECT_EQ(arbre_.item(0)->data(Rapport::RoleEtat).toInt(), 1);
        ASSERT_TRUE(r.DossierTemporaireValide());
        temporaire = r.DossierTemporaire();
        EXPECT_TRUE(temporaire.endsWith(QLatin1Char('/')));
        EXPECT_TRUE(QDir(temporaire).dirName().startsWith(QStringLiteral("tam3-")));
        EXPECT_EQ(chemin(temporaire).parent_path().parent_path(), fs::current_path() / "tmp");
        page(r, "a", "A");
        // Saved (nothing added): the folder goes with the report.
    }
    EXPECT_FALSE(fs::exists(chemin(temporaire)));

    {
        Rapport r(&arbre_, nullptr, c, creation);
        temporaire = r.DossierTemporaire();
        page(r, "a", "A");
        r.AjouteElement(QStringLiteral("A"), QStringLiteral("a"), QString(), GenreElement::Page);
        // Unsaved and not abandoned: the items stay on disk.
    }
    EXPECT_TRUE(fs::exists(chemin(temporaire) / "a.html"));

    {
        Rapport r(&arbre_, nullptr, c, creation);
        temporaire = r.DossierTemporaire();
        page(r, "a", "A");
        r.AjouteElement(QStringLiteral("A"), QStringLiteral("a"), QString(), GenreElement::Page);
        r.Abandonne();
    }
    EXPECT_FALSE(fs::exists(chemin(temporaire)));

    {
        Rapport r(&arbre_, nullptr, c, creation);
        FixeRapportCourant(&r);
        EXPECT_EQ(RapportCourant(), &r);
    }
    // The current report never outlives its object.
    EXPECT_EQ(RapportCourant(), nullptr);
}

TEST_F(RapportTest, DefaultDestinationIsWritable)
{
    bool repli = true;
    const QString dossier = Rapport::DossierParDefaut(&repli);
    EXPECT_TRUE(dossier.endsWith(QStringLiteral("/RAPPORT")));
    // The build folder is writable: the folder beside the program.
    EXPECT_FALSE(repli);
    EXPECT_EQ(dossier, QCoreApplication::applicationDirPath() + QStringLiteral("/RAPPORT"));
}


TEST_F(RapportTest, NameAndCountsFromALoadedBase)
{
    auto base = talmer::test::makeBase("<auteur=A> Le chat dort. Le chat mange.\r\n", ".,", "ville");
    ASSERT_TRUE(base);
    const CaracteristiquesBase c = CaracteristiquesDe(base.get());
    EXPECT_EQ(c.NomBase, base->NomBase());
    EXPECT_EQ(c.Nbocc, base->Nbocc());
    Rapport r(&arbre_, base.get(), creation);
    EXPECT_EQ(r.Base(), base.get());
    EXPECT_TRUE(r.Nom().endsWith(QStringLiteral("_20261209-080503")));
    EXPECT_TRUE(r.Nom().startsWith(QString::fromLatin1(base->NomBase())));
    ASSERT_TRUE(r.Genere(QStringLiteral("sortie")));
    const std::string index = readFile(chemin(r.Destination()) / "index.htm");
    EXPECT_NE(index.find("Nombre des occurrences <td align=right>" + std::to_string(base->Nbocc()) + "\r\n"), std::string::npos);
    EXPECT_NE(index.find("Nombre des formes<td align=right>" + std::to_string(base->Nbform()) + "\r\n"), std::string::npos);
    EXPECT_NE(index.find("Fr&eacute;quence maximale<td align=right>" + std::to_string(base->Fmax()) + "\r\n"), std::string::npos);
    EXPECT_NE(index.find("Nombre des hapax<td align=right>" + std::to_string(base->Nhap()) + "\r\n"), std::string::npos);
    EXPECT_EQ(CaracteristiquesDe(nullptr).Nbocc, 0);
}
