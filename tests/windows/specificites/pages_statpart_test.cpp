// The report pages of the partition statistics: counts per part and table of forms by parts.
#include "windows/specificites/pages_statpart.h"

#include "windows/specificites/frequencesparties.h"
#include "windows/specificites/textes_coef.h"
#include "windows/specificites/tfg.h"

#include "corpus_parties.h"

#include "engine/calcspectot.h"

#include "services/rapport.h"

#include <QStandardItemModel>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

namespace {

using namespace talmer;

const char *const Tete = "<html>\n<head><meta http-equiv=\"Content-Type\" content=\"text/html;charset=windows-1252\" /><title>";

TEST(PagesStatPart, CountsPageAndFragmentEscapeNamesAndLeaveAnEmptyForm)
{
    DonneesPCLC d;
    d.cle = "partie";
    d.titre = "Principales caract\xE9ristiques de la partition : partie";
    d.charset = "windows-1252";
    d.parties = {{"a<b&c", 6, 5, 3, 1, 2, "le"}, {"vide", 8, 0, 0, 0, 0, ""}, {"\"q\"", 9, 1, 1, 1, 1, "\"x\""}};

    EXPECT_EQ(PagePCLCHtml(d),
              std::string(Tete) +
                  "Principales caract\xE9ristiques de la partition : partie</title></head>\n<body bgcolor=#ffffff>\n"
                  "Principales caract\xE9ristiques de la partition : partie<br>\n<table border=1><font size=-2>\n"
                  "<tr><td>Partie<td>Nb occurrences<td>Nb formes<td>Nb hapax<td>Fr\xE9q. Max<td>Forme"
                  "\n<tr><td>a&lt;b&amp;c<td align=\"right\">5<td align=\"right\">3<td align=\"right\">1"
                  "<td align=\"right\">2<td>le"
                  "\n<tr><td>vide<td align=\"right\">0<td align=\"right\">0<td align=\"right\">0"
                  "<td align=\"right\">0<td>"
                  "\n<tr><td>\"q\"<td align=\"right\">1<td align=\"right\">1<td align=\"right\">1"
                  "<td align=\"right\">1<td>\"x\""
                  "</font></table>\n</body>\n</html>");
    EXPECT_EQ(PagePCLCXml(d),
              "<pclc nomPartition=\"partie\">\n"
              "<partie nom=\"a&lt;b&amp;c\" codepartie=\"6\" nbocc=\"5\" nbform=\"3\" nbhapax=\"1\" frqmax=\"2\" "
              "formemax=\"le\"/>\n"
              "<partie nom=\"vide\" codepartie=\"8\" nbocc=\"0\" nbform=\"0\" nbhapax=\"0\" frqmax=\"0\" "
              "formemax=\"\"/>\n"
              "<partie nom=\"&quot;q&quot;\" codepartie=\"9\" nbocc=\"1\" nbform=\"1\" nbhapax=\"1\" frqmax=\"1\" "
              "formemax=\"&quot;x&quot;\"/>\n"
              "</pclc>\n");
}

TEST(PagesStatPart, TablePageAndFragmentWriteCoefficientsAsTheTableShowsThem)
{
    DonneesTFG d;
    d.cle = "partie";
    d.titre = "T";
    d.charset = "windows-1252";
    d.segments = true;
    d.noms = {"a", "b&\"c\""};
    d.codes = {6, 7};
    d.lignes = {{"le", {3, 1}, {50, 0}}, {"chat", {2, 0}, {51, -50}}, {"le \"chat\" ", {2, 0}, {0, -51}}};

    EXPECT_EQ(PageTFGHtml(d),
              std::string(Tete) +
                  "T : Tableau des sp&eacute;cificit&eacute;s</title></head>\n<body bgcolor=#ffffff>\n"
                  "T : Tableau des sp&eacute;cificit&eacute;s<br>\n<table border=1><font size=-2>\n"
                  "<tr><td>Formes/SR<td colspan=2>a<td colspan=2>b&amp;\"c\""
                  "\n<tr><td>le<td align=\"right\">3<td align=\"right\">+50<td align=\"right\">1<td align=\"right\">&nbsp;"
                  "\n<tr><td>chat<td align=\"right\">2<td align=\"right\">***<td align=\"right\">0<td align=\"right\">-50"
                  "\n<tr><td>le \"chat\" <td align=\"right\">2<td align=\"right\">&nbsp;<td align=\"right\">0"
                  "<td align=\"right\">***"
                  "</font></table>\n</body>\n</html>");
    EXPECT_EQ(PageTFGXml(d),
              "<tfg nomPartition=\"partie\">\n"
              "<ligneTfg><forme>le</forme><partie nom=\"a\" codePartie=\"6\" frq=\"3\" spf=\"+50\"/>"
              "<partie nom=\"b&amp;&quot;c&quot;\" codePartie=\"7\" frq=\"1\"/></ligneTfg>\n"
              "<ligneTfg><forme>chat</forme><partie nom=\"a\" codePartie=\"6\" frq=\"2\" spf=\"***\"/>"
              "<partie nom=\"b&amp;&quot;c&quot;\" codePartie=\"7\" frq=\"0\" spf=\"-50\"/></ligneTfg>\n"
              "<ligneTfg><forme>le \"chat\" </forme><partie nom=\"a\" codePartie=\"6\" frq=\"2\"/>"
              "<partie nom=\"b&amp;&quot;c&quot;\" codePartie=\"7\" frq=\"0\" spf=\"***\"/></ligneTfg>\n"
              "</tfg>\n");

    // Without segments and rows (before any run): head, part headers and tail only.
    d.segments = false;
    d.lignes.clear();
    EXPECT_EQ(PageTFGXml(d), "<tfg nomPartition=\"partie\">\n</tfg>\n");
    EXPECT_NE(PageTFGHtml(d).find("<tr><td>Formes<td colspan=2>a<td colspan=2>b&amp;\"c\"</font>"), std::string::npos);
}

TEST(PagesStatPart, FragmentsStayWellFormedWhateverTheSpellings)
{
    const std::string nasty = "<\"x\"&'y'>";
    DonneesPCLC p{nasty, "t", "windows-1252", {{nasty, 1, 1, 1, 1, 1, nasty}}};
    DonneesTFG t{nasty, "t", "windows-1252", false, {nasty}, {1}, {{nasty, {1}, {-3}}}};
    for (const std::string &fragment : {PagePCLCXml(p), PageTFGXml(t)}) {
        QXmlStreamReader lecteur(QByteArray::fromStdString(fragment));
        while (!lecteur.atEnd())
            lecteur.readNext();
        EXPECT_FALSE(lecteur.hasError()) << fragment << "\n" << lecteur.errorString().toStdString();
    }
}

TEST(PagesStatPart, CoefficientTexts)
{
    struct Cas {
        std::int32_t s;
        const char *tableau, *liste, *pageListe;
    };
    const Cas cas[] = {
        {0, "", "0", "0"},       {3, "+3", "3", "3"},        {-3, "-3", "-3", "-3"},
        {49, "+49", "49", "49"}, {50, "+50", "***", "50"},   {51, "***", "***", "***"},
        {-50, "-50", "***", "-50"}, {-51, "***", "***", "***"},
    };
    for (const Cas &c : cas) {
        EXPECT_EQ(TexteCoefTableau(c.s), c.tableau) << c.s;
        EXPECT_EQ(TexteCoefListe(c.s), c.liste) << c.s;
        EXPECT_EQ(TexteCoefPageListe(c.s), c.pageListe) << c.s;
    }
}

class PagesStatPartBase : public talmer::test::CorpusParties {};

TEST_F(PagesStatPartBase, CountsOfTheBaseWithAnEmptyPart)
{
    const DonneesPCLC d = DonneesPCLCDe(*partition, "t", "windows-1252");
    EXPECT_EQ(d.cle, "partie");
    ASSERT_EQ(d.parties.size(), 3u);
    const PartiePCLC &a = d.parties[0], &b = d.parties[1], &c = d.parties[2];
    // A part without words names no form of highest frequency.
    EXPECT_EQ(std::tie(a.nom, a.code, a.occ, a.formes, a.forme), std::make_tuple(std::string("a"), 6, 0, 0, std::string()));
    EXPECT_EQ(std::tie(b.nom, b.code, b.occ, b.formes, b.hapax, b.fmax, b.forme),
              std::make_tuple(std::string("b"), 7, 5, 3, 1, 2, std::string("le")));
    EXPECT_EQ(std::tie(c.nom, c.code, c.occ, c.formes, c.hapax, c.fmax, c.forme),
              std::make_tuple(std::string("c"), 8, 2, 2, 2, 1, std::string("le")));
}

TEST_F(PagesStatPartBase, TableRowsTakeEachPartsCoefficientFromItsOwnColumn)
{
    // Part a out of the run: column 0 of the computation is part b.
    partition->Coche(0, false);
    partition->FixeSeuil(100);
    partition->FixeFreqMin(1);
    CalcSpecTot calcul(partition.get(), false, false, nullptr, nullptr);
    ASSERT_EQ(calcul.IndicesParties(), (std::vector<std::int32_t>{1, 2}));
    FrequencesParties frequences(partition.get());
    const std::vector<std::int32_t> lignes = {2, 0, 1, 3};
    const DonneesTFG d = DonneesTFGDe(*partition, lignes, &calcul, frequences, "t", "windows-1252");
    ASSERT_EQ(d.lignes.size(), 4u);
    EXPECT_EQ(d.lignes[0].graphie, "chien");
    EXPECT_EQ(d.lignes[0].frq, (std::vector<std::int32_t>{0, 0, 1}));
    EXPECT_EQ(d.lignes[1].frq, (std::vector<std::int32_t>{0, 2, 1}));
    bool unCoef = false;
    for (std::size_t i = 0; i < lignes.size(); ++i) {
        EXPECT_EQ(d.lignes[i].coef[0], 0) << i;
        EXPECT_EQ(d.lignes[i].coef[1], calcul.RetourneSpec(lignes[i], 0)) << i;
        EXPECT_EQ(d.lignes[i].coef[2], calcul.RetourneSpec(lignes[i], 1)) << i;
        unCoef = unCoef || d.lignes[i].coef[1] != 0;
    }
    EXPECT_TRUE(unCoef);
}

TEST_F(PagesStatPartBase, ASecondExportNeverOverwritesTheFirst)
{
    QStandardItemModel arbre;
    Rapport::InitArbreRapport(&arbre);
    Rapport rapport(&arbre, base.get());
    ASSERT_TRUE(rapport.DossierTemporaireValide());
    QString erreur;
    ASSERT_TRUE(AjoutePagesAuRapport(rapport, "tfg", "partie", "T", "<html>1", "<tfg>1", &erreur));
    ASSERT_TRUE(AjoutePagesAuRapport(rapport, "tfg", "partie", "T", "<html>2", "<tfg>2", &erreur));
    ASSERT_TRUE(AjoutePagesAuRapport(rapport, "tfg", "p\xE9riode", "T", "<html>3", "<tfg>3", &erreur));
    EXPECT_EQ(rapport.FichiersElements(), (QStringList{"tfgpartie", "tfgpartie_2", "tfgp_e9riode"}));
    const std::filesystem::path dossier(rapport.DossierTemporaire().toStdString());
    EXPECT_EQ(talmer::test::readFile(dossier / "tfgpartie.html"), "<html>1");
    EXPECT_EQ(talmer::test::readFile(dossier / "tfgpartie_2.xml"), "<tfg>2");
    rapport.Abandonne();
}

} // namespace
