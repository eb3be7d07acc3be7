// The report pages of the partition statistics: counts per part and table of forms by parts.
#include "windows/specificites/pages_statpart.h"

#include "windows/specificites/textes_coef.h"
#include "windows/specificites/tfg.h"

#include "corpus_parties.h"

#include "engine/calcspectot.h"
#include "engine/segrep.h"

#include "services/rapport.h"

#include <QStandardItemModel>
#include <QXmlStreamReader>

#include <filesystem>
#include <set>
#include <utility>

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
    LignesTFG source(*partition, &calcul);
    const std::vector<std::int32_t> lignes = {2, 0, 1, 3};
    EXPECT_EQ(source.Ligne(2).graphie, "chien");
    EXPECT_EQ(source.Ligne(2).frq, (std::vector<std::int32_t>{0, 0, 1}));
    // The row reused for the next entity holds nothing of the previous one.
    EXPECT_EQ(source.Ligne(0).frq, (std::vector<std::int32_t>{0, 2, 1}));
    EXPECT_EQ(source.Ligne(3).frq, (std::vector<std::int32_t>{0, 1, 0}));
    bool unCoef = false;
    for (std::int32_t e : lignes) {
        const LigneTFG &l = source.Ligne(e);
        EXPECT_EQ(l.coef[0], 0) << e;
        EXPECT_EQ(l.coef[1], calcul.RetourneSpec(e, 0)) << e;
        EXPECT_EQ(l.coef[2], calcul.RetourneSpec(e, 1)) << e;
        unCoef = unCoef || l.coef[1] != 0;
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

// The table's pages made whole, every row held at once with the frequency and coefficient of
// every part: what the pages written row by row must equal.
DonneesTFG TableEntiere(const Partition &partition, const std::vector<std::int32_t> &lignes,
                        const CalcSpecTot *calcul)
{
    DonneesTFG d = EnteteTFG(partition, "T", "windows-1252");
    const std::vector<std::int32_t> indices = calcul ? calcul->IndicesParties() : std::vector<std::int32_t>{};
    for (std::int32_t e : lignes) {
        LigneTFG l;
        l.graphie = partition.Base()->RetourneGraphie(e, false);
        l.frq = partition.FrqParPartie(e);
        l.coef.assign(l.frq.size(), 0);
        for (std::size_t c = 0; c < indices.size(); ++c)
            l.coef[static_cast<std::size_t>(indices[c])] = calcul->RetourneSpec(e, static_cast<std::int32_t>(c));
        d.lignes.push_back(std::move(l));
    }
    return d;
}

int pasVus = 0;
void ComptePas(std::int32_t)
{
    ++pasVus;
}
void ArreteAuTroisieme(std::int32_t)
{
    if (++pasVus == 3)
        throw CalculInterrompu{};
}

// Text before the first marker (counted in part b for the forms, in no part for the segments), a
// part without words, forms, punctuation and repeated segments.
class PagesTFGEcrites : public talmer::test::InTempDir {
protected:
    void SetUp() override
    {
        base = talmer::test::makeBase("le chat dort <partie=b> le chat dort . <partie=c> le chien , le chat . "
                                      "<partie=a><partie=b> le chat , le chien dort .",
                                      ".,");
        ASSERT_TRUE(base);
        partition = std::make_unique<Partition>(base.get(), base->LocFormDic("partie", false));
        ASSERT_EQ(partition->NbParties(), 3);
        segments = std::make_unique<SegRep>(base.get(), std::set<std::int32_t>{base->Nbform(), base->Nbform() + 1});
        segments->CalcSegRep(0, 2);
        ASSERT_GT(segments->NbSegments(), 1);
        base->AssigneSR(segments.get());
        partition->FixeSeuil(100);
        partition->FixeFreqMin(1);
        calcul = std::make_unique<CalcSpecTot>(partition.get(), false, false, nullptr, nullptr);
        // Segments and forms out of entity order, a punctuation entity, the same row twice.
        const std::int32_t premierSegment = base->Nbart() + 1;
        for (std::int32_t k = segments->NbSegments() - 1; k >= 0; --k)
            lignes.push_back(premierSegment + k);
        for (std::int32_t e = 0; e <= base->Nbform(); ++e)
            lignes.push_back(e);
        lignes.push_back(premierSegment);
    }
    void TearDown() override
    {
        calcul.reset();
        base->AssigneSR(nullptr);
        segments.reset();
        partition.reset();
        base.reset();
    }

    std::unique_ptr<charg1> base;
    std::unique_ptr<Partition> partition;
    std::unique_ptr<SegRep> segments;
    std::unique_ptr<CalcSpecTot> calcul;
    std::vector<std::int32_t> lignes;
};

TEST_F(PagesTFGEcrites, PagesWrittenRowByRowAreThePagesMadeWhole)
{
    // Once as the rows stand, once with enough rows that the texts go out in several pieces.
    std::vector<std::int32_t> beaucoup;
    while (beaucoup.size() < 30'000)
        beaucoup.insert(beaucoup.end(), lignes.begin(), lignes.end());
    for (const std::vector<std::int32_t> *l : {&lignes, &beaucoup}) {
        const DonneesTFG entiere = TableEntiere(*partition, *l, calcul.get());
        const std::string html = PageTFGHtml(entiere), xml = PageTFGXml(entiere);
        // The segments counted part by part, and some coefficients: the pages show what they must.
        ASSERT_NE(html.find("<tr><td>Formes/SR"), std::string::npos);
        ASSERT_NE(html.find("<tr><td>le chat "), std::string::npos);
        ASSERT_NE(xml.find(" spf=\""), std::string::npos);
        pasVus = 0;
        QString erreur;
        ASSERT_TRUE(EcritPagesTFG("t.html", "t.xml", EnteteTFG(*partition, "T", "windows-1252"), *partition, *l,
                                  calcul.get(), ComptePas, &erreur))
            << erreur.toStdString();
        EXPECT_EQ(talmer::test::readFile("t.html"), html);
        EXPECT_EQ(talmer::test::readFile("t.xml"), xml);
        EXPECT_EQ(pasVus, NbPasEcritureTFG(l->size()));
        EXPECT_GT(html.size(), l == &beaucoup ? std::size_t{2} << 20 : 0);
    }
    EXPECT_EQ(NbPasEcritureTFG(0), 0);
    EXPECT_EQ(NbPasEcritureTFG(7), 7);
    EXPECT_EQ(NbPasEcritureTFG(157'000), 1000);
}

TEST_F(PagesTFGEcrites, AStoppedOrFailedWritingLeavesNoFile)
{
    std::vector<std::int32_t> beaucoup;
    while (beaucoup.size() < 30'000)
        beaucoup.insert(beaucoup.end(), lignes.begin(), lignes.end());
    const DonneesTFG entete = EnteteTFG(*partition, "T", "windows-1252");
    const auto fichiers = [] {
        std::vector<std::string> noms;
        for (const auto &f : std::filesystem::recursive_directory_iterator("."))
            if (f.path().filename().string().rfind("t.", 0) == 0 || f.path().string().find("absent") != std::string::npos)
                noms.push_back(f.path().string());
        return noms;
    };
    pasVus = 0;
    QString erreur;
    EXPECT_THROW(EcritPagesTFG("t.html", "t.xml", entete, *partition, beaucoup, calcul.get(), ArreteAuTroisieme, &erreur),
                 CalculInterrompu);
    EXPECT_EQ(fichiers(), std::vector<std::string>{});

    // Either file in a folder that does not exist: the other is not left either.
    for (const auto &[html, xml] : {std::pair<QString, QString>{"absent/t.html", "t.xml"}, {"t.html", "absent/t.xml"}}) {
        erreur.clear();
        EXPECT_FALSE(EcritPagesTFG(html, xml, entete, *partition, lignes, calcul.get(), nullptr, &erreur));
        EXPECT_TRUE(erreur.contains(QStringLiteral("absent/t."))) << erreur.toStdString();
        EXPECT_EQ(fichiers(), std::vector<std::string>{});
    }
}

TEST(PagesStatPart, ThePageIsSizedFromTheCountsAndABigOneAsksFirst)
{
    // A table of 5,230 parts with its forms and segments asks; its forms by 50 parts does not.
    const auto entete = [](int parties) {
        DonneesTFG d;
        d.cle = "page";
        d.titre = "Principales caract&#233;ristiques de la partition : page";
        d.charset = "windows-1252";
        for (int k = 0; k < parties; ++k) {
            d.noms.push_back("page" + std::to_string(k));
            d.codes.push_back(30'000 + k);
        }
        return d;
    };
    const TailleTFG grand = TailleEstimeeTFG(entete(5230), 157'000);
    EXPECT_TRUE(DemandeAvantEcriture(grand));
    EXPECT_GT(grand.html, std::int64_t{30'000} << 20);
    EXPECT_GT(grand.xml, grand.html);
    EXPECT_FALSE(DemandeAvantEcriture(TailleEstimeeTFG(entete(50), 27'000)));
    EXPECT_FALSE(DemandeAvantEcriture({SeuilQuestionTFG - 1, 0}));
    EXPECT_TRUE(DemandeAvantEcriture({SeuilQuestionTFG, 0}));
    EXPECT_EQ(QuestionTailleTFG({std::int64_t{1500} << 20, std::int64_t{2047} << 20}),
              QString::fromUtf8("La page du tableau fera environ 1500 Mo (et 2047 Mo de plus pour le fichier XML du "
                                "rapport).\nVoulez-vous continuer ?"));

    // The estimate follows the real size of a page of zeros and of its fragment.
    DonneesTFG d = entete(40);
    for (int i = 0; i < 200; ++i)
        d.lignes.push_back({"forme", std::vector<std::int32_t>(40, 0), std::vector<std::int32_t>(40, 0)});
    const TailleTFG estimee = TailleEstimeeTFG(d, 200);
    const auto proche = [](std::int64_t estime, std::size_t reel) {
        return estime > static_cast<std::int64_t>(reel) * 9 / 10 && estime < static_cast<std::int64_t>(reel) * 11 / 10;
    };
    EXPECT_TRUE(proche(estimee.html, PageTFGHtml(d).size())) << estimee.html << " " << PageTFGHtml(d).size();
    EXPECT_TRUE(proche(estimee.xml, PageTFGXml(d).size())) << estimee.xml << " " << PageTFGXml(d).size();
}

} // namespace
