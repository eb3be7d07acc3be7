#include "windows/commun/decoupagehtml.h"
#include "windows/commun/pagetemporaire.h"
#include "windows/commun/vuehtml.h"

#include "support/tempdir.h"

#include <QFile>
#include <QFileInfo>
#include <QScrollBar>
#include <QTextBrowser>

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <string>

using namespace talmer;

namespace {

void Ecrit(const QString &chemin, const std::string &octets)
{
    std::ofstream f(chemin.toStdString(), std::ios::binary | std::ios::trunc);
    f << octets;
}

} // namespace

class PageTemporaireTest : public talmer::test::InTempDir {};

TEST_F(PageTemporaireTest, CreeeDansTempAvecLePrefixeEtSupprimeeAvecLaPage)
{
    talmer::test::VariableEnv temp("TEMP");
    const QString dossier = QString::fromStdString(dir_.path().string());
    qputenv("TEMP", dossier.toUtf8());
    QString chemin, cheminHtml;
    {
        PageTemporaire a(QStringLiteral("t3th"));
        PageTemporaire b(QStringLiteral("t3th"));
        PageTemporaire c(QStringLiteral("t3ch"), QStringLiteral(".html"));
        ASSERT_TRUE(a.Valide() && b.Valide() && c.Valide()) << a.Erreur().toStdString();
        chemin = a.Chemin();
        cheminHtml = c.Chemin();
        EXPECT_NE(a.Chemin(), b.Chemin());
        EXPECT_EQ(QFileInfo(a.Chemin()).absolutePath(), QFileInfo(dossier).absoluteFilePath());
        EXPECT_TRUE(QFileInfo(a.Chemin()).fileName().startsWith(QStringLiteral("t3th")));
        EXPECT_TRUE(QFileInfo(c.Chemin()).fileName().startsWith(QStringLiteral("t3ch")));
        EXPECT_TRUE(c.Chemin().endsWith(QStringLiteral(".html")));
        EXPECT_TRUE(QFile::exists(a.Chemin()));
        EXPECT_EQ(a.Adresse(), QStringLiteral("file://") + a.Chemin());
    }
    EXPECT_FALSE(QFile::exists(chemin));
    EXPECT_FALSE(QFile::exists(cheminHtml));

    // A TEMP that names no folder: the system's temporary folder.
    qputenv("TEMP", (dossier + QStringLiteral("/absent")).toUtf8());
    PageTemporaire d(QStringLiteral("t3sec"));
    ASSERT_TRUE(d.Valide());
    EXPECT_TRUE(QFile::exists(d.Chemin()));
    EXPECT_FALSE(d.Chemin().contains(QStringLiteral("absent")));
}

TEST(DecoupeHtml, PetitePageOuSansCorpsEnUnePartie)
{
    const std::string page = "<html><head></head><body dir=\"LTR\">\n un deux</body></html>\r\n";
    const DecoupageHtml d = DecoupeHtml(page, 1000);
    ASSERT_EQ(d.NbParties(), 1u);
    EXPECT_EQ(page.substr(0, d.finEntete), "<html><head></head><body dir=\"LTR\">");
    EXPECT_EQ(page.substr(d.debutFin), "</body></html>\r\n");

    const std::string sansCorps = "<p>un</p><p>deux</p><p>trois</p>";
    const DecoupageHtml s = DecoupeHtml(sansCorps, 1);
    ASSERT_EQ(s.NbParties(), 1u);
    EXPECT_EQ(s.finEntete, 0u);
    EXPECT_EQ(s.debutFin, sansCorps.size());
}

TEST(DecoupeHtml, CoupeSeulementHorsDesElements)
{
    // Every run of the body is a candidate for a cut; with a part size of 1 byte every legal cut
    // is taken, so the parts show exactly where the page may be cut.
    const std::string corps =
        " un<span class=\"a\"> deux trois</span><br />\n"
        "<a title=\"x > y\">quatre cinq</a><!-- a <b> --> six&amp;sept";
    const std::string page = "<html><head><style>.a{}</style></head><body>" + corps + "</BODY></html>";
    const DecoupageHtml d = DecoupeHtml(page, 1);
    std::vector<std::string> parties;
    for (std::size_t k = 0; k < d.NbParties(); ++k)
        parties.push_back(page.substr(d.DebutPartie(k), d.FinPartie(k) - d.DebutPartie(k)));
    const std::vector<std::string> attendu = {
        " ", "un<span class=\"a\"> deux trois</span>", "<br />", "\n",
        "<a title=\"x > y\">quatre cinq</a>", "<!-- a <b> -->", " ", "six&amp;sept"};
    EXPECT_EQ(parties, attendu);
    EXPECT_EQ(page.substr(d.debutFin), "</BODY></html>");

    // A larger part size groups the same runs; together the parts are the whole body.
    const DecoupageHtml g = DecoupeHtml(page, 20);
    std::string ensemble;
    for (std::size_t k = 0; k < g.NbParties(); ++k) {
        ensemble += page.substr(g.DebutPartie(k), g.FinPartie(k) - g.DebutPartie(k));
        if (k + 1 < g.NbParties()) {
            EXPECT_GE(g.FinPartie(k) - g.DebutPartie(k), 20u);
        }
    }
    EXPECT_EQ(ensemble, corps);
    EXPECT_GT(g.NbParties(), 1u);
}

TEST(DecoupeHtml, ElementNonFermeJamaisCoupe)
{
    const std::string page = "<body><div> un deux trois quatre cinq six";
    const DecoupageHtml d = DecoupeHtml(page, 2);
    EXPECT_EQ(d.NbParties(), 1u);
    EXPECT_EQ(d.debutFin, page.size());
}

class VueHtmlTest : public talmer::test::InTempDir {
protected:
    QString Fichier(const char *nom) const { return QString::fromStdString((dir_.path() / nom).string()); }
};

TEST_F(VueHtmlTest, DecodeLaPageDepuisLaPageDeCodeDAffichage)
{
    const QString chemin = Fichier("page");
    // "été" and "œuvre" in Windows-1252: E9 and 9C.
    Ecrit(chemin, "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html;charset=windows-1252\" />"
                  "</head><body> \xE9t\xE9 <b>\x9Cuvre</b> &amp; &lt;x&gt;</body></html>\r\n");
    VueHtml vue;
    ASSERT_TRUE(vue.Affiche(chemin));
    EXPECT_EQ(vue.Navigateur()->toPlainText().trimmed(), QStringLiteral("été œuvre & <x>"));
    EXPECT_EQ(vue.NbParties(), 1);
}

TEST_F(VueHtmlTest, RafraichitRelitLeFichierEtGardeLaPartie)
{
    const QString chemin = Fichier("page");
    std::string corps;
    for (int i = 0; i < 300; ++i)
        corps += " mot" + std::to_string(i) + "<br />\n";
    Ecrit(chemin, "<html><head><style>.x{color:#ff0000;}</style></head><body>" + corps + "</body></html>");
    VueHtml vue;
    vue.FixeTaillePartie(1000);
    ASSERT_TRUE(vue.Affiche(chemin));
    ASSERT_GT(vue.NbParties(), 2);
    // Each part is a whole page with the head's style sheet, and the parts follow the text.
    EXPECT_TRUE(vue.HtmlPartie().contains(QStringLiteral(".x{color:#ff0000;}")));
    EXPECT_TRUE(vue.Navigateur()->toPlainText().startsWith(QStringLiteral("mot0")));
    vue.MontrePartie(1);
    const QString partie1 = vue.Navigateur()->toPlainText();
    EXPECT_FALSE(partie1.contains(QStringLiteral("mot0\n")));
    EXPECT_TRUE(vue.HtmlPartie().contains(QStringLiteral(".x{color:#ff0000;}")));
    EXPECT_TRUE(vue.HtmlPartie().endsWith(QStringLiteral("</body></html>")));

    std::string nouveau;
    for (int i = 0; i < 300; ++i)
        nouveau += " neuf" + std::to_string(i) + "<br />\n";
    Ecrit(chemin, "<html><head></head><body>" + nouveau + "</body></html>");
    ASSERT_TRUE(vue.Rafraichit());
    EXPECT_EQ(vue.PartieCourante(), 1);
    EXPECT_TRUE(vue.Navigateur()->toPlainText().contains(QStringLiteral("neuf")));
    EXPECT_FALSE(vue.Navigateur()->toPlainText().contains(QStringLiteral("mot")));

    // Out-of-range part numbers are clamped.
    vue.MontrePartie(1000);
    EXPECT_EQ(vue.PartieCourante(), vue.NbParties() - 1);
    EXPECT_TRUE(vue.Navigateur()->toPlainText().contains(QStringLiteral("neuf299")));
    vue.MontrePartie(-3);
    EXPECT_EQ(vue.PartieCourante(), 0);
}

TEST_F(VueHtmlTest, FichierIlliblesDitPourquoiEtVideLaVue)
{
    const QString chemin = Fichier("page");
    Ecrit(chemin, "<html><body>texte</body></html>");
    VueHtml vue;
    ASSERT_TRUE(vue.Affiche(chemin));
    EXPECT_FALSE(vue.Affiche(Fichier("absente")));
    EXPECT_TRUE(vue.Erreur().contains(QStringLiteral("absente")));
    EXPECT_TRUE(vue.Navigateur()->toPlainText().isEmpty());
}

TEST_F(VueHtmlTest, AncreDUneAutrePartie)
{
    const QString chemin = Fichier("page");
    std::string corps;
    for (int i = 0; i < 200; ++i)
        corps += "<p>ligne " + std::to_string(i) + "</p>\n";
    corps += "<a name=\"fin\">fin</a>";
    Ecrit(chemin, "<html><body>" + corps + "</body></html>");
    VueHtml vue;
    vue.FixeTaillePartie(500);
    ASSERT_TRUE(vue.Affiche(chemin));
    EXPECT_TRUE(vue.AllerAAncre(QStringLiteral("fin")));
    EXPECT_EQ(vue.PartieCourante(), vue.NbParties() - 1);
    EXPECT_FALSE(vue.AllerAAncre(QStringLiteral("nulle")));
}

TEST(DecoupeHtml, TexteSansBaliseCoupeApresLesBlancs)
{
    // Plain text: parts end after a blank once they have the size; a body ending in a blank
    // gives no empty last part.
    const std::string page = "<body>aa bb cc dd </body>";
    const DecoupageHtml d = DecoupeHtml(page, 3);
    std::vector<std::string> parties;
    for (std::size_t k = 0; k < d.NbParties(); ++k)
        parties.push_back(page.substr(d.DebutPartie(k), d.FinPartie(k) - d.DebutPartie(k)));
    EXPECT_EQ(parties, (std::vector<std::string>{"aa ", "bb ", "cc ", "dd "}));
}

TEST_F(VueHtmlTest, PartiesLuesAuFurEtAMesureCommeLaPageEntiere)
{
    // The view finds the parts as it goes, reading the file piece by piece; an element longer
    // than its reading window makes it read further. Its parts are those of the whole page.
    std::string corps;
    for (int i = 0; i < 60; ++i)
        corps += " mot" + std::to_string(i);
    corps += "<div>";
    for (int i = 0; i < 80; ++i)
        corps += " long" + std::to_string(i);
    corps += "</div>";
    for (int i = 0; i < 60; ++i)
        corps += "<b>gras" + std::to_string(i) + "</b><br />\n";
    const std::string page = "<html><head><title>t</title></head><body>" + corps + "</body></html>\r\n";
    const QString chemin = Fichier("page");
    Ecrit(chemin, page);
    const DecoupageHtml d = DecoupeHtml(page, 100);
    ASSERT_GT(d.NbParties(), 5u);

    VueHtml vue;
    vue.FixeTaillePartie(100);
    ASSERT_TRUE(vue.Affiche(chemin));
    const std::string entete = page.substr(0, d.finEntete), fin = page.substr(d.debutFin);
    for (std::size_t k = 0; k < d.NbParties(); ++k) {
        vue.MontrePartie(static_cast<int>(k));
        const std::string attendu = entete + page.substr(d.DebutPartie(k), d.FinPartie(k) - d.DebutPartie(k)) + fin;
        EXPECT_EQ(vue.HtmlPartie().toStdString(), attendu) << "part " << k;
    }
    EXPECT_EQ(vue.NbParties(), static_cast<int>(d.NbParties()));
}
