// Correspondence analysis: the exchange file written for ta3afc, the dimensions' test, the
// result files read back, the factor plane's geometry and rules, its painting and report items,
// and the dialog run end to end with the real program.
#include "engine/base_fixture.h"
#include "engine/charg1.h"
#include "engine/partition.h"
#include "engine/segrep.h"
#include "services/rapport.h"
#include "shell/barre_etat.h"
#include "shell/zone_fenetres.h"
#include "support/locale_fr.h"
#include "support/poste_test.h"
#include "tools/ta3afc/afc.h"
#include "windows/afc/donnees_afc.h"
#include "windows/afc/fengrapheafc.h"
#include "windows/afc/fenparamafc.h"
#include "windows/afc/plan_afc.h"
#include "windows/fenprinc_echantillon.h"
#include "windows/partitions/fenstatpart.h"
#include "windows/partitions/ouverture.h"

#include <QAbstractBarSeries>
#include <QAbstractButton>
#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPainter>
#include <QProgressBar>
#include <QSpinBox>
#include <QStackedWidget>
#include <QRadioButton>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

#include <sys/stat.h>

using namespace talmer;
using talmer::test::InTempDir;
using talmer::test::makeBase;

namespace {

std::string Blancs(std::size_t n) { return std::string(n, ' '); }

std::string Nom(const QWidget &w)
{
    const QString texte = w.property("text").toString();
    return (w.objectName().isEmpty() ? QString::fromLatin1(w.metaObject()->className()) : w.objectName())
               .toStdString() +
           (texte.isEmpty() ? std::string() : " \"" + texte.toStdString() + "\"");
}

ListePoints TroisPoints()
{
    // Coordinates x (-100, 0, 200) and y (50, -50, 0); the other blocks are easy to tell apart.
    ListePoints p;
    p.nbPoints = 3;
    p.nbFacteurs = 2;
    p.colonnes = {{-100, 0, 200}, {50, -50, 0}, {1, 2, 3}, {4, 5, 6}, {7, 8, 9}, {10, 11, 12}};
    p.masse = {333.3333, 333.3333, 333.3334};
    p.distance = {1, 2, 3};
    p.type = "AAA";
    return p;
}

} // namespace

// Positions: 0-1 <p=x>, 2 a, 3 b, 4 a, 5 c, 6 '.', 7-8 <p=y>, 9 a, 10 b, 11 d, 12 '.', 13-14 <p=z>,
// 15 a, 16 c, 17 c, 18 d, 19 a, 20 '.'. Parts x, y, z; forms a (2 1 2), c (1 0 2), b (1 1 0),
// d (0 1 1).
class Afc : public InTempDir {
protected:
    void SetUp() override
    {
        base = makeBase("<p=x> a b a c . <p=y> a b d . <p=z> a c c d a .", ".");
        ASSERT_TRUE(base);
        partition = std::make_unique<Partition>(base.get(), base->LocFormDic("p", false));
        ASSERT_EQ(partition->NbParties(), 3);
        ASSERT_EQ(base->Nbform(), 4);
        for (std::int32_t f = 0; f < 4; ++f)
            ASSERT_STREQ(base->RetourneGraphie(f, true), std::string(1, "acbd"[f]).c_str());
        for (std::int32_t k = 0; k < 3; ++k)
            partition->Coche(k, true);
    }
    void TearDown() override
    {
        if (base)
            base->AssigneSR(nullptr);
    }
    std::unique_ptr<charg1> base;
    std::unique_ptr<Partition> partition;
};

TEST_F(Afc, CoranDonHoldsTheFormRowsOfThePartitionByteForByte)
{
    const std::string debut = "corpus : p\r\n"
                              "   4   3   5   1   0\r\n"
                              "   0   1   2\r\n";
    const std::string suite = "(6x,5A4,3F5.0)\r\n"
                              "    0 a" + Blancs(19) + "    2    1    2\r\n"
                              "    1 c" + Blancs(19) + "    1    0    2\r\n"
                              "    2 b" + Blancs(19) + "    1    1    0\r\n"
                              "    3 d" + Blancs(19) + "    0    1    1\r\n"
                              "   2   0   0   4 150   0   0\r\n";
    partition->Coche(1, false);
    // Every part is active with tag 0, whatever the check marks; tag 1 follows them.
    EXPECT_EQ(TexteCoranDon(RassembleDonnees(*partition, "corpus : p", {4, 3, 2}, 1, false)),
              debut + "111\r\n" + suite);
    EXPECT_EQ(TexteCoranDon(RassembleDonnees(*partition, "corpus : p", {4, 3, 2}, 1, true)),
              debut + "121\r\n" + suite);
}

TEST_F(Afc, SegmentRowsFollowTheFormsThresholdAndAddUpToTheirFrequency)
{
    SegRep segments(base.get(), {base->LocFormDic(".", true)});
    ASSERT_TRUE(segments.OuvreFichiers());
    segments.AjouteSegment({0, 2}, {2, 9});  // a b: x and y
    segments.AjouteSegment({0, 1}, {4, 15}); // a c: x and z
    base->AssigneSR(&segments);
    ASSERT_EQ(base->Nbart(), 9);

    const std::string formes = "(6x,5A4,3F5.0)\r\n"
                               "    0 a" + Blancs(19) + "    2    1    2\r\n"
                               "    1 c" + Blancs(19) + "    1    0    2\r\n";
    EXPECT_EQ(TexteCoranDon(RassembleDonnees(*partition, "t", {4, 3, 2}, 2, false)),
              "t\r\n   4   3   5   1   0\r\n   0   1   2\r\n111\r\n" + formes +
                  "    2 b" + Blancs(19) + "    1    1    0\r\n"
                  "    3 d" + Blancs(19) + "    0    1    1\r\n"
                  "   2   0   0   4 150   0   0\r\n"
                  "   10 a b " + Blancs(16) + "    1    1    0\r\n"
                  "   11 a c " + Blancs(16) + "    1    0    1\r\n");
    // Segments of frequency 2 stay out with a threshold of 3, as forms of frequency 2 do.
    EXPECT_EQ(TexteCoranDon(RassembleDonnees(*partition, "t", {2, 3, 2}, 3, false)),
              "t\r\n   2   3   5   1   0\r\n   0   1   2\r\n111\r\n" + formes + "   2   0   0   4 150   0   0\r\n");
}

namespace {

std::string Contenu(const std::string &chemin)
{
    std::ifstream f(chemin, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

} // namespace

// The file is written a few rows at a time: its bytes are the whole text's, with segments, with
// either set of flags, and over a text of more than one piece.
TEST_F(Afc, CoranDonWrittenRowByRowIsTheWholeText)
{
    SegRep segments(base.get(), {base->LocFormDic(".", true)});
    ASSERT_TRUE(segments.OuvreFichiers());
    segments.AjouteSegment({0, 2}, {2, 9});
    segments.AjouteSegment({0, 1}, {4, 15});
    base->AssigneSR(&segments);
    partition->Coche(2, false);
    struct Cas {
        DimensionsAFC dimensions;
        std::int32_t freqMin;
        bool seulementCochees;
    };
    for (const Cas &c : {Cas{{4, 3, 2}, 1, false}, Cas{{4, 3, 2}, 2, true}, Cas{{2, 3, 2}, 3, false}}) {
        ASSERT_TRUE(EcritCoranDon("coran.don", *partition, "t : p", c.dimensions, c.freqMin, c.seulementCochees));
        EXPECT_EQ(Contenu("coran.don"),
                  TexteCoranDon(RassembleDonnees(*partition, "t : p", c.dimensions, c.freqMin, c.seulementCochees)));
    }
    base->AssigneSR(nullptr);

    // 6,000 forms by 40 parts: a text of more than a megabyte.
    std::string texte;
    for (int k = 0; k < 40; ++k) {
        texte += "<p=v" + std::to_string(k) + ">";
        for (int i = 0; i < 150; ++i)
            texte += " w" + std::to_string(k * 150 + i) + (i % 3 == 0 ? " w" + std::to_string(i) : "");
    }
    auto grande = makeBase(texte, ".", "grand");
    ASSERT_TRUE(grande);
    const Partition parties(grande.get(), grande->LocFormDic("p", false));
    ASSERT_EQ(parties.NbParties(), 40);
    const DimensionsAFC dimensions{grande->Nbform(), 40, 5};
    ASSERT_TRUE(EcritCoranDon("grand.don", parties, "grand", dimensions, 1, false));
    const std::string attendu = TexteCoranDon(RassembleDonnees(parties, "grand", dimensions, 1, false));
    EXPECT_GT(attendu.size(), std::size_t{1} << 20);
    EXPECT_TRUE(Contenu("grand.don") == attendu);

    // A folder that does not exist: nothing is written and the failure is told.
    EXPECT_FALSE(EcritCoranDon("absent/coran.don", *partition, "t", {4, 3, 2}, 1, false));
    EXPECT_FALSE(QFile::exists("absent/coran.don"));
}

TEST(AfcCoranDon, ValuesTooWideForTheirColumnsStaySeparated)
{
    DonneesAFC d;
    d.titre = "t";
    d.dimensions = {1, 2, 2};
    d.drapeaux = {1, 1};
    d.formes = {{0, "le", {123456, 7}}};
    d.segments = {{123456, "abcdefghijklmnopqrstuvwxyz", {3, 4}}};
    EXPECT_EQ(TexteCoranDon(d), "t\r\n"
                                "   1   2   5   1   0\r\n"
                                "   0   1\r\n"
                                "11\r\n"
                                "(6x,5A4,2F5.0)\r\n"
                                "    0 le" + Blancs(18) + " 123456     7\r\n"
                                "   2   0   0   4 150   0   0\r\n"
                                "123456 abcdefghijklmnopqrst    3    4\r\n");
    // NI and NJ of four digits keep a blank between them.
    d.dimensions = {1234, 1000, 2};
    EXPECT_EQ(TexteCoranDon(d).substr(0, 26), "t\r\n1234 1000   5   1   0\r\n");
}

TEST(AfcCoranDon, PartIndexesKeepTheirColumnsAndTakeABlankFromAThousandParts)
{
    DonneesAFC d;
    d.titre = "deux\nlignes";
    d.dimensions = {1, 1002, 2};
    d.drapeaux.assign(1002, 1);
    d.formes = {{0, "le", std::vector<std::int32_t>(1002, 1)}};
    const std::string texte = TexteCoranDon(d);
    // The title stays on its line.
    EXPECT_EQ(texte.substr(0, 13), "deux lignes\r\n");
    std::string indexes;
    for (int k = 0; k < 1000; ++k) {
        const std::string n = std::to_string(k);
        indexes += Blancs(4 - n.size()) + n;
    }
    const std::size_t debut = texte.find("\r\n", 13) + 2;
    const std::string ligne3 = texte.substr(debut, texte.find("\r\n", debut) - debut);
    EXPECT_EQ(ligne3, indexes + " 1000 1001");
    EXPECT_EQ(ligne3.substr(0, 12), "   0   1   2");
    EXPECT_EQ(ligne3.substr(ligne3.size() - 22), " 997 998 999 1000 1001");
    afc::TableAfc table;
    ASSERT_EQ(afc::LitCoranDon(texte, table), "");
    ASSERT_EQ(table.parties.size(), 1002u);
    EXPECT_EQ(table.parties[999], "999");
    EXPECT_EQ(table.parties[1001], "1001");
}

TEST(AfcCoranDon, ALargeTableReadsBackWholeInTheAnalysisProgram)
{
    DonneesAFC d;
    d.titre = "grand";
    d.dimensions = {10001, 3, 2};
    d.drapeaux = {1, 1, 2};
    for (std::int32_t j = 0; j < 10001; ++j)
        d.formes.push_back({j, "forme" + std::to_string(j), {j % 7 + 1, j == 5000 ? 150000 : 1, 2}});
    d.segments = {{100123, "un segment bien plus long que vingt", {1, 2, 3}}};
    afc::TableAfc table;
    ASSERT_EQ(afc::LitCoranDon(TexteCoranDon(d), table), "");
    EXPECT_EQ(table.ni, 10001);
    EXPECT_EQ(table.nj, 3);
    EXPECT_EQ(table.nf, 2);
    EXPECT_EQ(table.drapeaux, (std::vector<char>{'1', '1', '2'}));
    ASSERT_EQ(table.effectifs.size(), 30003u);
    EXPECT_EQ(table.effectifs[5000 * 3 + 0], 5000 % 7 + 1);
    EXPECT_EQ(table.effectifs[5000 * 3 + 1], 150000);
    EXPECT_EQ(table.effectifs[10000 * 3 + 2], 2);
    EXPECT_EQ(table.libelles[10000], "forme10000" + Blancs(10));
    EXPECT_EQ(table.nbSegments, 1);
}

TEST(AfcDimensions, ValidOnlyWhenTheFactorsFitTheTable)
{
    struct Cas {
        const char *ni, *nj, *nf;
        bool valide;
    };
    // 40 forms reach the threshold; the partition has 5 parts.
    const Cas cas[] = {
        {"40", "5", "4", true},    {" 12 ", "5", "2", true}, {"40", "5", "1", false},  {"3", "5", "3", false},
        {"40", "5", "5", false},   {"41", "5", "2", false},  {"40", "6", "2", false},  {"40", "4", "2", false},
        {"4O", "5", "2", false},   {"", "5", "2", false},    {"40", "5", "2.5", false}, {"99999999999", "5", "2", false},
        {"40", "5", "-3", false},
    };
    for (const Cas &c : cas) {
        const std::optional<DimensionsAFC> d = ValideDimensions(c.ni, c.nj, c.nf, 40, 5);
        EXPECT_EQ(d.has_value(), c.valide) << c.ni << " " << c.nj << " " << c.nf;
    }
    const std::optional<DimensionsAFC> d = ValideDimensions(" 12 ", "5", "2", 40, 5);
    ASSERT_TRUE(d);
    EXPECT_EQ(d->ni, 12);
}

TEST(AfcResultats, FacteursAreReadInAnyOrderAndCheckedWhole)
{
    const std::string bon = "3 2\r\n"
                            "S 2 100.5 3.0 -7.25 8 0 0 0.5 0.25\r\n"
                            "A 0 450 1.5 10 -20 600 700 900 50\r\n"
                            "A 1x 449.5 2.5 -3 4 400 300 100 950\r\n";
    const std::optional<ListePoints> p = LitFacteurs(bon, 3);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->nbPoints, 3);
    EXPECT_EQ(p->nbFacteurs, 2);
    EXPECT_EQ(p->type, "AAS");
    EXPECT_EQ(p->masse, (std::vector<double>{450, 449.5, 100.5}));
    EXPECT_EQ(p->distance, (std::vector<double>{1.5, 2.5, 3.0}));
    ASSERT_EQ(p->colonnes.size(), 6u);
    EXPECT_EQ(p->colonnes[0], (std::vector<double>{10, -3, -7.25}));
    EXPECT_EQ(p->colonnes[1], (std::vector<double>{-20, 4, 8}));
    EXPECT_EQ(p->colonnes[5], (std::vector<double>{50, 950, 0.25}));

    const char *mauvais[] = {
        "",
        "3 1\nA 0 1 1 1 1 1\nA 1 1 1 1 1 1\nA 2 1 1 1 1 1\n",                                         // F < 2
        "2 2\nA 0 1 1 1 1 1 1 1 1\nA 1 1 1 1 1 1 1 1 1\n",                                             // 2 rows, 3 parts
        "3 2\nA 0 1 1 1 1 1 1 1 1\nA 1 1 1 1 1 1 1 1 1\n",                                             // a row short
        "3 2\nA 0 1 1 1 1 1 1 1 1\nA 0 1 1 1 1 1 1 1 1\nA 2 1 1 1 1 1 1 1 1\n",                       // row 0 twice
        "3 2\nA 0 1 1 1 1 1 1 1 1\nA 3 1 1 1 1 1 1 1 1\nA 2 1 1 1 1 1 1 1 1\n",                       // no row 3
        "3 2\nA 0 1 1 1 1 1 1 1 1\nA x 1 1 1 1 1 1 1 1\nA 2 1 1 1 1 1 1 1 1\n",                       // no index
        "3 2\nA 0 1 1 1 1 1 1 1 1\nA 1 1 1 1 1 1 1 1\nA 2 1 1 1 1 1 1 1 1\n",                         // a value short
        "3 2\nA 0 1 1 1 1 1 1 1 1\nA 1 1 1 1 1 nan 1 1 1\nA 2 1 1 1 1 1 1 1 1\n",                     // not finite
        "3 2\nA 0 1 1 1 1 1 1 1 1\nA 1 1 1 1 1 1,5 1 1 1\nA 2 1 1 1 1 1 1 1 1\n",                     // not a number
    };
    for (const char *texte : mauvais)
        EXPECT_FALSE(LitFacteurs(texte, 3)) << texte;
}

TEST(AfcResultats, ValeursPropresNeedTheirCountOfValues)
{
    EXPECT_EQ(LitValeursPropres("2\r\n0.50000000\r\n0.25000000\r\n"), (std::vector<double>{0.5, 0.25}));
    for (const char *texte : {"", "0\n", "3\n0.5\n0.25\n", "2\n0.5\nx\n", "-1\n"})
        EXPECT_FALSE(LitValeursPropres(texte)) << texte;
    EXPECT_FALSE(LitFichier("absent.txt"));
}

TEST(AfcResultats, NumbersReadTheSameInAFrenchSession)
{
    talmer::test::LocaleFrancaise francais;
    ASSERT_TRUE(francais.Active()) << "fr_FR.UTF-8 is missing: run scripts/install-deps.sh";
    const std::optional<ListePoints> p =
        LitFacteurs("3 2\r\nA 0 407.019 2.5 -0.125 1e3 1 2 3 4\r\nA 1 1 1 1 1 1 1 1 1\r\nA 2 1 1 1 1 1 1 1 1\r\n", 3);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->masse[0], 407.019);
    EXPECT_EQ(p->distance[0], 2.5);
    EXPECT_EQ(p->colonnes[0][0], -0.125);
    EXPECT_EQ(p->colonnes[1][0], 1000.0);
    EXPECT_EQ(LitValeursPropres("2\r\n0.50000000\r\n0.25000000\r\n"), (std::vector<double>{0.5, 0.25}));
    // A decimal comma is no number in these files, whatever the locale.
    EXPECT_FALSE(LitValeursPropres("1\r\n0,5\r\n"));
}

TEST(AfcResultats, OnlyRegularFilesAreRead)
{
    talmer::test::TempDir dossier;
    std::filesystem::create_directory("dossier");
    ASSERT_EQ(mkfifo("fifo", 0644), 0);
    for (const char *chemin : {"dossier", "fifo", "/dev/zero"})
        EXPECT_FALSE(LitFichier(chemin)) << chemin;
    talmer::test::writeFile("ordinaire", "1\n0.5\n");
    EXPECT_EQ(LitFichier("ordinaire"), std::optional<std::string>("1\n0.5\n"));
}

TEST(AfcPlan, ProjectionTruncatesTowardZeroAndWidensAZeroRange)
{
    CadrePlan c;
    c.xmin = -100;
    c.xmax = 100;
    c.ymin = -50;
    c.ymax = 50;
    // Surface 230 x 130: 200 x 100 pixels for the ranges.
    EXPECT_EQ(c.EcranX(0, 230), 100);
    EXPECT_EQ(c.EcranX(-100, 230), 0);
    EXPECT_EQ(c.EcranX(33.3, 230), 133);
    EXPECT_EQ(c.EcranX(-100.5, 230), 0);
    EXPECT_EQ(c.EcranX(-101, 230), -1);
    EXPECT_EQ(c.EcranY(50, 130), 0);
    EXPECT_EQ(c.EcranY(0, 130), 50);
    EXPECT_EQ(c.EcranY(-50, 130), 100);
    EXPECT_EQ(c.EcranY(1e300, 130), -100000000);

    const CadrePlan ouverture = CadrePlan::DesColonnes({-100, 0, 200}, {5, 5, 5}, 0.02);
    EXPECT_DOUBLE_EQ(ouverture.xmin, -100);
    EXPECT_DOUBLE_EQ(ouverture.xmax, 200.02);
    EXPECT_DOUBLE_EQ(ouverture.ymin, 4);
    EXPECT_DOUBLE_EQ(ouverture.ymax, 6);
    EXPECT_EQ(ouverture.EcranY(5, 130), 50);
}

TEST(AfcPlan, ALabelNearAnEdgeMovesInsideTheSurface)
{
    const QSize surface(200, 100);
    const struct {
        QPoint coin;
        QSize taille;
        QPoint attendu;
    } cas[] = {
        {{50, 40}, {30, 20}, {50, 40}},   // inside: where its point is
        {{185, 40}, {30, 20}, {170, 40}}, // past the right edge: moved left
        {{50, 95}, {30, 20}, {50, 80}},   // past the bottom: moved up
        {{190, 95}, {30, 20}, {170, 80}}, // both
        {{170, 80}, {30, 20}, {170, 80}}, // ending on the edges: kept
        {{120, 10}, {250, 20}, {0, 10}},  // wider than the surface: from its left edge
        {{-5, -5}, {30, 20}, {0, 0}},     // before the surface: at its corner
    };
    for (const auto &c : cas)
        EXPECT_EQ(BoiteEtiquette(c.coin, c.taille, surface), QRect(c.attendu, c.taille))
            << c.coin.x() << "," << c.coin.y();
}

TEST(AfcPlan, GraduationsEveryFiftyUnitsShortStrokeFirst)
{
    const std::vector<Graduation> g = Graduations(-120, 160);
    ASSERT_EQ(g.size(), 5u);
    const double valeurs[] = {50, 100, 150, -50, -100};
    const bool longues[] = {false, true, false, false, true};
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(g[i].valeur, valeurs[i]);
        EXPECT_EQ(g[i].longue, longues[i]);
    }
    EXPECT_TRUE(Graduations(-50, 50).empty());
}

TEST(AfcPlan, TheHistogramShowsAWindowOfBarsAsTallAsTheirLabels)
{
    // Rows of a 400-pixel plot, bars half their row, labels 15 pixels: 13 rows of 30.8 pixels.
    const struct {
        double hauteur;
        int n;
        int attendu;
    } cas[] = {
        {400, 2, 2},     // few values: all of them, as tall as the plot makes them
        {400, 13, 13},   // exactly as many as fit
        {400, 426, 13},  // hundreds: a window
        {389, 426, 12},  // 13 rows would leave bars of 14.96 pixels
        {10, 426, 1},    // no room at all: still one
        {0, 426, 426},   // not laid out yet
    };
    for (const auto &c : cas)
        EXPECT_EQ(BarresVisibles(c.hauteur, c.n, 15, 0.5), c.attendu) << c.hauteur << " px, " << c.n;
    EXPECT_EQ(BarresVisibles(400, 426, 15, 1.0), 26);

    const struct {
        int visibles, decalage, premier, nombre;
    } fenetres[] = {
        {13, 0, 0, 13},      // from the first eigenvalue
        {13, 100, 100, 13},
        {13, 413, 413, 13},  // down to the last one
        {13, 1000, 413, 13}, // never past it
        {13, -5, 0, 13},
        {500, 7, 0, 426},    // more room than values
        {0, 7, 7, 1},
    };
    for (const auto &f : fenetres) {
        const FenetreValeurs w = FenetreHistogramme(426, f.visibles, f.decalage);
        EXPECT_EQ(w.premier, f.premier) << f.visibles << " from " << f.decalage;
        EXPECT_EQ(w.nombre, f.nombre) << f.visibles << " from " << f.decalage;
    }
    EXPECT_EQ(FenetreHistogramme(0, 13, 0).nombre, 0);
}

TEST(AfcPlan, LabelBoxesMeetRectanglesEdgesIncluded)
{
    const QRect boite(10, 10, 20, 10); // spans columns 10 to 30 and rows 10 to 20, edges included
    struct Cas {
        QPoint a, b;
        bool rencontre;
    };
    const Cas cas[] = {
        {{30, 20}, {40, 25}, true}, {{31, 20}, {40, 25}, false}, {{0, 0}, {10, 10}, true},
        {{0, 0}, {9, 40}, false},   {{15, 21}, {16, 30}, false}, {{12, 12}, {13, 13}, true},
        {{40, 25}, {30, 20}, true},
    };
    for (const Cas &c : cas)
        EXPECT_EQ(Rencontre(boite, RectangleOrdonne(c.a, c.b)), c.rencontre) << c.a.x() << "," << c.a.y();
}

TEST(AfcPlan, StatusTextListsEveryLabelUnderThePointer)
{
    const std::vector<QRect> boites = {QRect(0, 0, 20, 10), QRect(10, 5, 20, 10)};
    const std::vector<QString> etiquettes = {QStringLiteral("A"), QStringLiteral("B")};
    const std::vector<double> x = {1.5, 100}, y = {-2, 0.25};
    EXPECT_EQ(TexteStatut(boites, etiquettes, x, y, 0, 2, QPoint(15, 7)),
              QStringLiteral("A, F1=1.5, F3=-2; B, F1=100, F3=0.25;"));
    EXPECT_EQ(TexteStatut(boites, etiquettes, x, y, 0, 1, QPoint(25, 12)), QStringLiteral("B, F1=100, F2=0.25;"));
    EXPECT_EQ(TexteStatut(boites, etiquettes, x, y, 0, 1, QPoint(50, 50)), QString());
}

TEST(AfcPlan, FactorTableFormatsEachBlock)
{
    const ListePoints p = TroisPoints();
    EXPECT_EQ(EntetesFacteurs(2), (QStringList{"Ident.", "Masse", "Distance", "f1", "f2", "f1", "f2", "f1", "f2"}));
    const QString ligne[] = {"x", "333.333", "1.000", "-100.00", "50.00", "1.0", "4.0", "7.00", "10.00"};
    for (int c = 0; c < 9; ++c)
        EXPECT_EQ(CelluleFacteurs(p, 0, c, QStringLiteral("x")), ligne[c]) << c;
    EXPECT_EQ(CelluleFacteurs(p, 3, 1, {}), QString());
    EXPECT_EQ(CelluleFacteurs(p, 0, 9, {}), QString());
}

TEST_F(Afc, RectangleRulesSelectToggleAndColour)
{
    const std::vector<QRect> boites = {QRect(0, 0, 10, 10), QRect(50, 0, 10, 10), QRect(100, 0, 10, 10)};
    partition->Coche(1, false);
    // A left band over a supplementary part makes it active and selected.
    SelectionneRect(*partition, boites, QRect(QPoint(40, 0), QPoint(70, 5)), false);
    EXPECT_TRUE(partition->EstCochee(1));
    EXPECT_TRUE(partition->EstSelectionnee(1));
    // Adding keeps it; without Ctrl a band over nothing clears every selection.
    SelectionneRect(*partition, boites, QRect(QPoint(0, 0), QPoint(5, 5)), true);
    EXPECT_TRUE(partition->EstSelectionnee(0) && partition->EstSelectionnee(1));
    SelectionneRect(*partition, boites, QRect(QPoint(0, 30), QPoint(5, 35)), false);
    EXPECT_FALSE(partition->EstSelectionnee(0) || partition->EstSelectionnee(1));
    // A right band over a selected active part makes it supplementary and unselected.
    partition->Selectionne(2, true);
    BasculeActifsRect(*partition, boites, QRect(QPoint(95, 0), QPoint(120, 5)));
    EXPECT_FALSE(partition->EstCochee(2));
    EXPECT_FALSE(partition->EstSelectionnee(2));
    BasculeActifsRect(*partition, boites, QRect(QPoint(95, 0), QPoint(120, 5)));
    EXPECT_TRUE(partition->EstCochee(2));

    ColorieRect(*partition, boites, QRect(QPoint(0, 0), QPoint(55, 5)), 0x0000FF);
    EXPECT_EQ(partition->Couleur(0), 0x0000FF);
    EXPECT_EQ(partition->Couleur(1), 0x0000FF);
    EXPECT_NE(partition->Couleur(2), 0x0000FF);
    partition->Coche(1, false);
    partition->Selectionne(2, true);
    SelectionneCouleur(*partition, 3, 0x0000FF);
    EXPECT_TRUE(partition->EstSelectionnee(0) && partition->EstSelectionnee(1) && partition->EstCochee(1));
    EXPECT_FALSE(partition->EstSelectionnee(2));
}

TEST_F(Afc, PlanePaintsAxesAndLabelsAndTakesTheMouse)
{
    TFenGrapheAFC fen(*partition, TroisPoints(), {0.5, 0.25});
    EXPECT_EQ(fen.windowTitle(), QStringLiteral("Analyse factorielle des correspondances - p"));
    EXPECT_EQ(fen.PageControl1()->currentIndex(), 2);
    partition->FixeCouleur(0, 0x0000FF);
    partition->Coche(1, false);
    // 430 x 330: 400 x 300 pixels for x in [-100, 200.02] and y in [-50, 50].
    QImage image(430, 330, QImage::Format_RGB32);
    {
        QPainter p(&image);
        fen.Peint(p, image.size());
    }
    ASSERT_EQ(fen.Boites().size(), 3u);
    EXPECT_EQ(fen.Boites()[0].topLeft(), QPoint(0, 0));
    EXPECT_EQ(fen.Boites()[1].topLeft(), QPoint(133, 300));
    EXPECT_EQ(fen.Boites()[2].topLeft(), QPoint(399, 150));
    EXPECT_EQ(image.pixelColor(1, 1), QColor(255, 0, 0));    // checked: filled with its colour
    EXPECT_EQ(image.pixelColor(133, 20), QColor(0, 128, 0)); // the vertical axis at x = 0
    bool hachure = false;
    const QRect b1 = fen.Boites()[1];
    for (int x = b1.left() + 1; x < b1.right(); ++x)
        hachure |= image.pixelColor(x, b1.top() + 2) == QColor(255, 102, 102);
    EXPECT_TRUE(hachure);

    // A left band over the supplementary part 1 makes it active and selected: a blue frame.
    fen.SurfaceMouseDown(QPoint(130, 290));
    fen.SurfaceMouseUp(QPoint(140, 305), Qt::LeftButton, Qt::NoModifier);
    EXPECT_TRUE(partition->EstCochee(1) && partition->EstSelectionnee(1));
    {
        QPainter p(&image);
        fen.Peint(p, image.size());
    }
    EXPECT_EQ(image.pixelColor(b1.left() + 1, b1.top() + 1), QColor(0, 0, 255));
    // Right button: back to supplementary.
    fen.SurfaceMouseDown(QPoint(130, 290));
    fen.SurfaceMouseUp(QPoint(140, 305), Qt::RightButton, Qt::NoModifier);
    EXPECT_FALSE(partition->EstCochee(1) || partition->EstSelectionnee(1));

    fen.SurfaceMouseMove(QPoint(2, 2), Qt::NoButton);
    EXPECT_EQ(fen.StatusBarGraph()->currentMessage(), QStringLiteral("x, F1=-100, F2=50;"));

    // In a large font the rightmost label, at column 399, is wider than the 30 pixels left to
    // its right: it ends on the surface's edge, its frame drawn there.
    QFont grande = fen.font();
    grande.setPixelSize(60);
    fen.setFont(grande);
    {
        QPainter p(&image);
        fen.Peint(p, image.size());
    }
    const QRect b2 = fen.Boites()[2];
    EXPECT_GT(b2.width(), 31);
    EXPECT_EQ(b2.right(), image.width() - 1);
    EXPECT_EQ(image.pixelColor(b2.right(), b2.center().y()), QColor(0, 0, 0));
    fen.RadioButton1()->setChecked(true);
    EXPECT_EQ(fen.Etiquette(0), QString::number(partition->CodePartie(0)));
}

TEST_F(Afc, TheEigenvalueLabelsAreDarkOnTheLightChart)
{
    TFenGrapheAFC fen(*partition, TroisPoints(), {0.5, 0.25});
    const QList<QAbstractSeries *> series = fen.GrapheHisto()->series();
    ASSERT_EQ(series.size(), 1);
    auto *barres = qobject_cast<QAbstractBarSeries *>(series[0]);
    ASSERT_NE(barres, nullptr);
    EXPECT_TRUE(barres->isLabelsVisible());
    EXPECT_EQ(barres->labelsPosition(), QAbstractBarSeries::LabelsOutsideEnd);
    for (QBarSet *valeurs : barres->barSets())
        EXPECT_LT(qGray(valeurs->labelColor().rgb()), 100);
    // The wall behind them is light.
    EXPECT_GT(qGray(fen.VueHisto()->grab().toImage().pixel(5, 5)), 200);
}

namespace {

// The heights of the bars drawn in a column of the histogram's picture, top to bottom: runs of
// rows in the bars' orange, which the light wall and the grid lines are far from.
std::vector<int> HauteursBarres(const QImage &image, int colonne)
{
    std::vector<int> hauteurs;
    int suite = 0;
    for (int y = 0; y < image.height(); ++y) {
        const QColor c = image.pixelColor(colonne, y);
        if (c.red() - c.blue() > 40) {
            ++suite;
        } else if (suite > 0) {
            hauteurs.push_back(suite);
            suite = 0;
        }
    }
    return hauteurs;
}

} // namespace

TEST_F(Afc, HundredsOfEigenvaluesKeepReadableBarsAndScroll)
{
    for (const int nombre : {2, 426}) {
        SCOPED_TRACE(std::to_string(nombre) + " values");
        std::vector<double> valeurs(static_cast<std::size_t>(nombre));
        for (std::size_t i = 0; i < valeurs.size(); ++i)
            valeurs[i] = 0.5 - 0.001 * static_cast<double>(i);
        TFenGrapheAFC fen(*partition, TroisPoints(), valeurs);
        fen.SpeedButton1()->click();
        fen.resize(710, 500);
        fen.grab(); // lays the window and the chart out
        ASSERT_GT(fen.GrapheHisto()->plotArea().height(), 300);
        auto *barres = qobject_cast<QAbstractBarSeries *>(fen.GrapheHisto()->series().value(0));
        ASSERT_NE(barres, nullptr);
        auto *axe = qobject_cast<QBarCategoryAxis *>(fen.GrapheHisto()->axes(Qt::Vertical).value(0));
        ASSERT_NE(axe, nullptr);
        const QImage image = fen.VueHisto()->grab().toImage();
        const int interligne = std::max(QFontMetrics(axe->labelsFont()).lineSpacing(),
                                        QFontMetrics(barres->barSets()[0]->labelFont()).lineSpacing());
        const std::vector<int> hauteurs =
            HauteursBarres(image, static_cast<int>(fen.GrapheHisto()->plotArea().left()) + 3);
        ASSERT_FALSE(hauteurs.empty());
        EXPECT_GE(*std::min_element(hauteurs.begin(), hauteurs.end()), interligne);
        EXPECT_EQ(static_cast<int>(hauteurs.size()), axe->count());
        EXPECT_TRUE(barres->isLabelsVisible());
        // The first eigenvalue, labelled "2", stands at the top.
        EXPECT_EQ(axe->categories().constLast(), QStringLiteral("2"));
        // The report's picture is the chart as it stands, whatever the number of values.
        EXPECT_EQ(fen.ImageHistogramme().size(), fen.VueHisto()->size());
        QScrollBar *defil = fen.DefilHisto();
        if (nombre == 2) {
            EXPECT_TRUE(defil->isHidden());
            EXPECT_EQ(axe->categories(), (QStringList{"3", "2"}));
            EXPECT_EQ(barres->barSets()[0]->at(1), 0.5);
            continue;
        }
        ASSERT_FALSE(defil->isHidden());
        EXPECT_EQ(defil->maximum() + defil->pageStep(), nombre);
        EXPECT_EQ(defil->pageStep(), axe->count());
        // The wheel over the chart moves the bars down the list...
        QWheelEvent roue(QPointF(300, 250), QPointF(300, 250), QPoint(), QPoint(0, -120), Qt::NoButton,
                         Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(fen.VueHisto()->viewport(), &roue);
        const int decalage = defil->value();
        EXPECT_GT(decalage, 0);
        EXPECT_EQ(axe->categories().constLast(), QString::number(decalage + 2));
        EXPECT_DOUBLE_EQ(barres->barSets()[0]->at(axe->count() - 1), valeurs[static_cast<std::size_t>(decalage)]);
        // ... and the scroll bar down to the last value, its bar still as tall.
        defil->setValue(defil->maximum());
        EXPECT_EQ(axe->categories().constFirst(), QString::number(nombre + 1));
        EXPECT_DOUBLE_EQ(barres->barSets()[0]->at(0), valeurs.back());
        const std::vector<int> fin = HauteursBarres(fen.VueHisto()->grab().toImage(),
                                                    static_cast<int>(fen.GrapheHisto()->plotArea().left()) + 3);
        ASSERT_EQ(static_cast<int>(fin.size()), axe->count());
        EXPECT_GE(*std::min_element(fin.begin(), fin.end()), interligne);
    }
}

TEST_F(Afc, AxisChoiceRefusesTheOtherAxisFactorAndDropsTheOpeningMargin)
{
    ListePoints p = TroisPoints();
    p.nbFacteurs = 3;
    p.colonnes = {{-100, 0, 200}, {50, -50, 0}, {-10, 20, 30}, {}, {}, {}, {}, {}, {}};
    for (std::size_t c = 3; c < 9; ++c)
        p.colonnes[c] = {0, 0, 0};
    TFenGrapheAFC fen(*partition, p, {0.5, 0.25, 0.1});
    EXPECT_DOUBLE_EQ(fen.Cadre().xmax, 200.02);
    fen.CbAxeX()->setCurrentIndex(1);
    fen.cbAxeChange(fen.CbAxeX());
    EXPECT_EQ(fen.CbAxeX()->currentIndex(), 0);
    EXPECT_EQ(fen.X(), p.colonnes[0]);
    EXPECT_DOUBLE_EQ(fen.Cadre().xmax, 200);
    fen.CbAxeY()->setCurrentIndex(2);
    fen.cbAxeChange(fen.CbAxeY());
    EXPECT_EQ(fen.Y(), p.colonnes[2]);
    EXPECT_DOUBLE_EQ(fen.Cadre().ymin, -10);
    EXPECT_DOUBLE_EQ(fen.Cadre().ymax, 30);
}

TEST_F(Afc, ReportItemsShareOneCounterAndNameTheAnalysis)
{
    QStandardItemModel arbre;
    Rapport::InitArbreRapport(&arbre);
    Rapport rapport(&arbre, base.get());
    ASSERT_TRUE(rapport.DossierTemporaireValide());
    FixeRapportCourant(&rapport);
    CompteurImagesAFC() = 0;
    {
        TFenGrapheAFC fen(*partition, TroisPoints(), {0.5, 0.25});
        fen.resize(600, 400);
        fen.AjouteAuRapport();
        fen.SpeedButton1()->click();
        fen.AjouteAuRapport();
        fen.SpeedButton2()->click();
        fen.AjouteAuRapport();
    }
    FixeRapportCourant(nullptr);
    rapport.Abandonne();
    ASSERT_EQ(rapport.NbElements(), 2);
    EXPECT_EQ(rapport.FichiersElements(), (QStringList{"img-afc-p1.jpg", "img-afc-vp-p2.jpg"}));
    EXPECT_EQ(arbre.item(0)->child(0)->text(), QStringLiteral("Analyse factorielle des correspondances - p(1)"));
    EXPECT_EQ(arbre.item(0)->child(1)->text(), QStringLiteral("AFC - Histogramme des Valeurs Propres (2)"));
    const QString titre = rapport.TitresElements()[0];
    EXPECT_TRUE(titre.startsWith(QStringLiteral(
        "<CENTER><H3>Analyse factorielle des correspondances - p</H3></CENTER><br>"
        "<TABLE WIDTH=100% ALIGN=CENTER BORDER=1><TD>Corpus : corpus</TD>\n<TD>Date : ")))
        << titre.toStdString();
    EXPECT_TRUE(titre.endsWith(QStringLiteral("</TD>\n<TD>Partition = p</TD>\n</TABLE>Nombre de parties : 3<br>\n<br>\n")));
    EXPECT_TRUE(rapport.TitresElements()[1].startsWith(
        QStringLiteral("<CENTER><H3>Histogramme des valeurs propres</H3></CENTER><br>")));
}

class AfcDialogue : public Afc {
protected:
    void TearDown() override
    {
        TFenParamAFC::FixeProgramme({});
        Afc::TearDown();
    }
    talmer::test::DialoguesTest dialogues;
};

TEST_F(AfcDialogue, OpensOnTheTableAndKeepsTheThresholdUntilOk)
{
    partition->Coche(2, false);
    TFenParamAFC dialogue(*partition, nullptr);
    EXPECT_EQ(dialogue.windowTitle(), QStringLiteral("Paramètrage de l'AFC"));
    EXPECT_EQ(dialogue.EdTitre()->text(), QStringLiteral("corpus : p"));
    // The threshold 10 is capped at the highest frequency, 5: only "a" reaches it.
    EXPECT_EQ(dialogue.CSpinEdit1()->value(), 5);
    EXPECT_EQ(dialogue.EdNI()->text(), QStringLiteral("1"));
    EXPECT_EQ(dialogue.EdNJ()->text(), QStringLiteral("3"));
    EXPECT_EQ(dialogue.EdNF()->text(), QStringLiteral("2"));
    EXPECT_EQ(dialogue.EdNI2()->text(), QStringLiteral("0"));
    EXPECT_EQ(dialogue.EdNJ2()->text(), QStringLiteral("1"));
    dialogue.CSpinEdit1()->setValue(3);
    EXPECT_EQ(dialogue.EdNI()->text(), QStringLiteral("2"));
    EXPECT_EQ(partition->FreqMin(), Partition::FreqMinInitiale);
    // NI = NF: refused, nothing written, the threshold kept.
    dialogue.EdNI()->setText(QStringLiteral("2"));
    dialogue.BitBtn1Click();
    ASSERT_EQ(dialogues.messages.size(), 1u);
    EXPECT_EQ(dialogues.messages[0].texte, QStringLiteral("Vérifiez vos paramètres"));
    EXPECT_FALSE(QFile::exists(QStringLiteral("coran.don")));
    EXPECT_EQ(partition->FreqMin(), Partition::FreqMinInitiale);
}

TEST_F(AfcDialogue, OkRunsTheAnalysisProgramAndOpensThePlane)
{
    TFenParamAFC::FixeProgramme(QStringLiteral(TALMER_BIN_DIR "/ta3afc"));
    TFenParamAFC dialogue(*partition, nullptr);
    dialogue.CSpinEdit1()->setValue(1);
    ASSERT_EQ(dialogue.EdNI()->text(), QStringLiteral("4"));
    dialogue.BitBtn1Click();
    EXPECT_TRUE(dialogues.messages.empty()) << (dialogues.messages.empty() ? "" : dialogues.messages[0].texte.toStdString());
    EXPECT_EQ(partition->FreqMin(), 1);
    ASSERT_TRUE(dialogue.PlanOuvert());
    EXPECT_EQ(dialogue.PlanOuvert()->Points().nbPoints, 3);
    EXPECT_EQ(dialogue.PlanOuvert()->Points().nbFacteurs, 2);
    delete dialogue.PlanOuvert();
}

TEST_F(AfcDialogue, AnAnalysisTheUserStopsLeavesTheFilesOfTheLastOne)
{
    const std::string facteurs = "3 2\nA 0 1 1 1 1 1 1 1 1\nA 1 1 1 1 1 1 1 1 1\nA 2 1 1 1 1 1 1 1 1\n";
    const std::string vp = "1\n0.5\n";
    // A program that takes its time; the stop ends it (exec: no child left behind it).
    talmer::test::writeFile("lent.sh", "#!/bin/sh\nexec sleep 30\n");
    ASSERT_EQ(chmod("lent.sh", 0755), 0);
    TFenParamAFC::FixeProgramme(QDir::current().absoluteFilePath(QStringLiteral("lent.sh")));
    const struct {
        const char *quand;
        int delai;  // ms after OK; -1: before the table is written
    } cas[] = {{"while the table is written", -1}, {"while the program runs", 300}};
    for (const auto &c : cas) {
        talmer::test::writeFile("facteurs.txt", facteurs);
        talmer::test::writeFile("vp.txt", vp);
        talmer::test::writeFile("coran.don", "ancien");
        TFenParamAFC dialogue(*partition, nullptr);
        dialogue.CSpinEdit1()->setValue(1);
        if (c.delai < 0)
            talmer::test::AppuieEchap(&dialogue);
        else
            QTimer::singleShot(c.delai, &dialogue, [&dialogue] { talmer::test::AppuieEchap(&dialogue); });
        QElapsedTimer duree;
        duree.start();
        dialogue.BitBtn1Click();
        EXPECT_LT(duree.elapsed(), 10000) << c.quand;
        EXPECT_EQ(dialogue.result(), QDialog::Rejected) << c.quand;
        EXPECT_FALSE(dialogue.PlanOuvert()) << c.quand;
        EXPECT_TRUE(dialogues.messages.empty()) << c.quand;
        EXPECT_EQ(talmer::test::readFile("facteurs.txt"), facteurs) << c.quand;
        EXPECT_EQ(talmer::test::readFile("vp.txt"), vp) << c.quand;
        EXPECT_EQ(talmer::test::readFile("coran.don") == "ancien", c.delai < 0) << c.quand;
        EXPECT_EQ(partition->FreqMin() == 1, c.delai >= 0) << c.quand;
        // Nothing of the run is left beside the files.
        EXPECT_EQ(QDir::current().entryList(QDir::Files | QDir::Hidden).filter(QStringLiteral(".anc.")), QStringList())
            << c.quand;
    }
}

TEST_F(AfcDialogue, OkOpensThePlaneInAFrenchSession)
{
    talmer::test::LocaleFrancaise francais;
    ASSERT_TRUE(francais.Active()) << "fr_FR.UTF-8 is missing: run scripts/install-deps.sh";
    TFenParamAFC::FixeProgramme(QStringLiteral(TALMER_BIN_DIR "/ta3afc"));
    TFenParamAFC dialogue(*partition, nullptr);
    dialogue.CSpinEdit1()->setValue(1);
    dialogue.BitBtn1Click();
    EXPECT_TRUE(dialogues.messages.empty()) << (dialogues.messages.empty() ? "" : dialogues.messages[0].texte.toStdString());
    ASSERT_TRUE(dialogue.PlanOuvert());
    // Masses in thousandths: x holds 4 of the 12 occurrences, y 3, z 5.
    const std::vector<double> &masse = dialogue.PlanOuvert()->Points().masse;
    ASSERT_EQ(masse.size(), 3u);
    EXPECT_EQ(masse, (std::vector<double>{333.333, 250.0, 416.667}));
    delete dialogue.PlanOuvert();
}

TEST_F(AfcDialogue, TheProgramsMessageShowsSpellingsOfTheDisplayCodePage)
{
    // The program's own words in UTF-8, the form's spelling as the table holds it (Windows-1252).
    talmer::test::writeFile("programme", "#!/bin/sh\nprintf 'ta3afc : ligne 7 de coran.don : la forme \xc2\xab \xe9t\xe9 "
                                         "\xc2\xbb n\\047a aucune occurrence\\n' >&2\nexit 1\n");
    ASSERT_EQ(chmod("programme", 0755), 0);
    TFenParamAFC::FixeProgramme(QDir::current().absoluteFilePath(QStringLiteral("programme")));
    TFenParamAFC dialogue(*partition, nullptr);
    dialogue.CSpinEdit1()->setValue(1);
    dialogue.BitBtn1Click();
    ASSERT_EQ(dialogues.messages.size(), 1u);
    EXPECT_EQ(dialogues.messages[0].texte,
              QStringLiteral("Erreur de lecture du fichier des facteurs\n"
                             "ta3afc : ligne 7 de coran.don : la forme « été » n'a aucune occurrence"));
}

TEST_F(AfcDialogue, AProgramThatFailsIsReportedAndOldResultsAreGone)
{
    const struct {
        const char *programme;
        const char *raison;
    } cas[] = {
        {"/nonexistent/ta3afc", "Le programme d'analyse n'a pas pu être lancé"},
        {"/bin/false", "Le programme d'analyse a signalé une erreur."},
    };
    for (const auto &c : cas) {
        dialogues.messages.clear();
        talmer::test::writeFile("facteurs.txt", "3 2\nA 0 1 1 1 1 1 1 1 1\nA 1 1 1 1 1 1 1 1 1\nA 2 1 1 1 1 1 1 1 1\n");
        talmer::test::writeFile("vp.txt", "1\n0.5\n");
        TFenParamAFC::FixeProgramme(QString::fromUtf8(c.programme));
        TFenParamAFC dialogue(*partition, nullptr);
        dialogue.CSpinEdit1()->setValue(1);
        dialogue.BitBtn1Click();
        EXPECT_FALSE(dialogue.PlanOuvert());
        EXPECT_FALSE(QFile::exists(QStringLiteral("facteurs.txt")));
        ASSERT_EQ(dialogues.messages.size(), 1u);
        EXPECT_TRUE(dialogues.messages[0].texte.startsWith(
            QStringLiteral("Erreur de lecture du fichier des facteurs\n") + QString::fromUtf8(c.raison)))
            << dialogues.messages[0].texte.toStdString();
    }
}

class AfcPoste : public talmer::test::FenPrincEchantillon {
protected:
    void TearDown() override
    {
        TFenParamAFC::FixeProgramme({});
        FenPrincEchantillon::TearDown();
    }
};

TEST_F(AfcPoste, TheNewPlaneComesInFrontOfTheWindowThatAskedForIt)
{
    fen->show();
    TFenParamAFC::FixeProgramme(QStringLiteral(TALMER_BIN_DIR "/ta3afc"));
    const std::int32_t auteur = base->Nbform() + base->Nbartponct();
    InfoPartition *entree = OuvrePartition(*fen, *base, auteur);
    ASSERT_NE(entree, nullptr);
    TFenStatPart *statistiques = FenetreStatistiques(*fen, *entree);
    ASSERT_NE(statistiques, nullptr);
    auto *sousStatistiques = qobject_cast<QMdiSubWindow *>(statistiques->parentWidget());
    ASSERT_NE(sousStatistiques, nullptr);
    QMdiSubWindow *rendue = sousStatistiques;
    dialogues.repondDialogue = [&](QDialog &d) {
        auto &afc = dynamic_cast<TFenParamAFC &>(d);
        afc.BitBtn1Click();
        // Closing the dialog gives the focus back to the window that opened it.
        fen->Zone().Mdi()->setActiveSubWindow(rendue);
        return afc.result();
    };
    statistiques->BtnAFC()->click();
    ASSERT_TRUE(dialogues.messages.empty()) << dialogues.messages[0].texte.toStdString();
    QMdiSubWindow *devant = fen->Zone().Mdi()->activeSubWindow();
    ASSERT_NE(devant, nullptr);
    auto *plan = qobject_cast<TFenGrapheAFC *>(devant->widget());
    ASSERT_NE(plan, nullptr);

    // Reopened from the plane, the analysis brings its own new plane to the front.
    rendue = devant;
    plan->SpeedButton5Click();
    ASSERT_TRUE(dialogues.messages.empty()) << dialogues.messages[0].texte.toStdString();
    ASSERT_NE(fen->Zone().Mdi()->activeSubWindow(), nullptr);
    auto *second = qobject_cast<TFenGrapheAFC *>(fen->Zone().Mdi()->activeSubWindow()->widget());
    EXPECT_NE(second, nullptr);
    EXPECT_NE(second, plan);
}

// At its smallest the window still holds every control of its panel and of the plane's bar in
// a place of its own: none covers another or runs off the window.
TEST_F(Afc, AtItsMinimumSizeNoControlCoversAnother)
{
    TFenGrapheAFC fen(*partition, TroisPoints(), {0.5, 0.25});
    fen.show();
    fen.layout()->activate();
    const QSize minimum = fen.minimumSize();
    EXPECT_GE(minimum.width(), 100);
    EXPECT_GE(minimum.height(), 120);
    fen.resize(minimum);
    talmer::test::TraiteEvenements();
    ASSERT_EQ(fen.size(), minimum);

    std::vector<QWidget *> controles;
    for (QWidget *w : fen.findChildren<QWidget *>()) {
        if (!w->isVisibleTo(&fen))
            continue;
        if (qobject_cast<QAbstractButton *>(w) || qobject_cast<QComboBox *>(w) || qobject_cast<QLabel *>(w) ||
            w == fen.GrilleCoul() || w == fen.Surface() || w == fen.StatusBarGraph())
            controles.push_back(w);
    }
    ASSERT_GE(controles.size(), 18u);
    const auto cadre = [&fen](const QWidget *w) { return QRect(w->mapTo(&fen, QPoint(0, 0)), w->size()); };
    for (std::size_t i = 0; i < controles.size(); ++i) {
        const QRect a = cadre(controles[i]);
        EXPECT_TRUE(fen.rect().contains(a)) << Nom(*controles[i]);
        for (std::size_t j = i + 1; j < controles.size(); ++j) {
            // A control inside another (a combo box's own parts) is part of it.
            if (controles[i]->isAncestorOf(controles[j]) || controles[j]->isAncestorOf(controles[i]))
                continue;
            EXPECT_FALSE(a.intersects(cadre(controles[j])))
                << Nom(*controles[i]) << " and " << Nom(*controles[j]);
        }
    }
}

TEST_F(AfcPoste, TheStatusBarFollowsWhatTheProgramSaysOfItsRun)
{
    fen->show();
    // Half the table read, then a computation that lasts, then a failure.
    talmer::test::writeFile("programme", "#!/bin/sh\nprintf 'lecture 40\\n'\nsleep 1\nprintf 'calcul\\n'\nsleep 2\nexit 1\n");
    ASSERT_EQ(chmod("programme", 0755), 0);
    TFenParamAFC::FixeProgramme(QDir::current().absoluteFilePath(QStringLiteral("programme")));
    InfoPartition *entree = OuvrePartition(*fen, *base, base->Nbform() + base->Nbartponct());
    ASSERT_NE(entree, nullptr);
    TFenStatPart *statistiques = FenetreStatistiques(*fen, *entree);
    ASSERT_NE(statistiques, nullptr);
    struct Releve {
        QString statut;
        int maximum, valeur;
    };
    std::vector<Releve> releves;
    QTimer minuterie;
    QObject::connect(&minuterie, &QTimer::timeout, [&] {
        const QProgressBar *barre = fen->Etat().Progression();
        releves.push_back({fen->Etat().TexteStatut(), barre->maximum(), barre->value()});
    });
    dialogues.repondDialogue = [&](QDialog &d) {
        auto &afc = dynamic_cast<TFenParamAFC &>(d);
        minuterie.start(20);
        afc.BitBtn1Click();
        minuterie.stop();
        return afc.result();
    };
    statistiques->BtnAFC()->click();
    auto vu = [&](const QString &statut, int maximum, int valeur) {
        return std::any_of(releves.begin(), releves.end(), [&](const Releve &r) {
            return r.statut == statut && r.maximum == maximum && (maximum == 0 || r.valeur == valeur);
        });
    };
    EXPECT_TRUE(vu(QStringLiteral("Analyse des correspondances : lecture du tableau…"), 100, 40));
    // A busy bar while the factors are computed, and the seconds go by.
    EXPECT_TRUE(vu(QStringLiteral("Analyse des correspondances : calcul des facteurs… 0 s"), 0, 0));
    EXPECT_TRUE(vu(QStringLiteral("Analyse des correspondances : calcul des facteurs… 1 s"), 0, 0));
    ASSERT_EQ(dialogues.messages.size(), 1u);
    EXPECT_EQ(dialogues.messages[0].texte,
              QStringLiteral("Erreur de lecture du fichier des facteurs\nLe programme d'analyse a signalé une erreur."));
    // The bar is given back as it was.
    EXPECT_EQ(fen->Etat().Progression()->maximum(), 200);
}
