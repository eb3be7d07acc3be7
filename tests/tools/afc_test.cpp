// ta3afc: the analysis on a table small enough to solve by hand, a cross-check against an
// independent numpy computation, the layouts it reads, the tables it refuses and what it says.
#include "support/locale_fr.h"
#include "tools/afc_reference.h"
#include "support/tempdir.h"
#include "tools/coran_don.h"
#include "tools/ta3afc/afc.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include <sys/wait.h>

namespace {

using talmer::afc::Analyse;
using talmer::afc::LitCoranDon;
using talmer::afc::ResultatAfc;
using talmer::afc::TableAfc;
using namespace talmer::test::afc;

// Rows of a table whose centred matrix is symmetric: (2 1 0 / 1 2 0 / 0 0 3). With all margins
// 1/3, S = (N - 1) / 3, whose eigenvectors are (1,-1,0), (1,1,-2) and (1,1,1): the principal
// inertias are 1 and 1/9, and the part coordinates follow from v_jk sqrt(lambda_k / c_j).
const std::vector<std::vector<int>> TableSymetrique = {{2, 1, 0}, {1, 2, 0}, {0, 0, 3}};

// A table whose forms and parts fall into five themes of unequal strength (so that the first
// factors stand apart), the counts drawn from Poisson laws; every row and part non-empty.
TableAfc TableAThemes(int formes, int parties, int nf, const std::string &drapeaux, std::uint32_t graine)
{
    std::mt19937 alea(graine);
    TableAfc table;
    table.ni = formes;
    table.nj = parties;
    table.nf = nf;
    table.drapeaux.assign(drapeaux.begin(), drapeaux.end());
    for (int j = 0; j < parties; ++j)
        table.parties.push_back(std::to_string(j));
    table.libelles.assign(static_cast<std::size_t>(formes), std::string(20, ' '));
    for (int i = 0; i < formes; ++i)
        for (int j = 0; j < parties; ++j) {
            const double moyenne = 40.0 / (i + 4) * (i % 5 == j % 5 ? 2 + i % 5 : 1);
            table.effectifs.push_back(std::poisson_distribution<int>(moyenne)(alea) + (j == i % parties ? 1 : 0));
        }
    return table;
}

// Every figure of the analysis within 1e-9 (relative beyond 1) of the reference's.
void CommeLaReference(const TableAfc &table)
{
    ResultatAfc obtenu;
    ASSERT_EQ(Analyse(table, obtenu), "");
    const ResultatAfc attendu = AnalyseReference(table);
    auto proche = [](double a, double b) { return std::abs(a - b) <= 1e-9 * std::max(1.0, std::abs(b)); };
    ASSERT_EQ(obtenu.nbFacteurs, attendu.nbFacteurs);
    ASSERT_EQ(obtenu.valeursPropres.size(), attendu.valeursPropres.size());
    for (std::size_t k = 0; k < obtenu.valeursPropres.size(); ++k)
        EXPECT_PRED2(proche, obtenu.valeursPropres[k], attendu.valeursPropres[k]) << "eigenvalue " << k;
    ASSERT_EQ(obtenu.points.size(), attendu.points.size());
    for (std::size_t j = 0; j < obtenu.points.size(); ++j) {
        const auto &o = obtenu.points[j], &a = attendu.points[j];
        EXPECT_EQ(o.actif, a.actif);
        EXPECT_PRED2(proche, o.masse, a.masse) << "part " << j;
        EXPECT_PRED2(proche, o.distance, a.distance) << "part " << j;
        for (std::size_t k = 0; k < static_cast<std::size_t>(attendu.nbFacteurs); ++k) {
            EXPECT_PRED2(proche, o.coordonnees[k], a.coordonnees[k]) << "part " << j << " factor " << k;
            EXPECT_PRED2(proche, o.contributions[k], a.contributions[k]) << "part " << j << " factor " << k;
            EXPECT_PRED2(proche, o.cosinus2[k], a.cosinus2[k]) << "part " << j << " factor " << k;
        }
    }
}

TEST(Ta3afcTest, SymmetricTableSolvedByHand)
{
    talmer::test::TempDir dossier;
    Ecrit("coran.don", CoranDon(TableSymetrique, "111", 2));
    ASSERT_EQ(LanceTa3afc(), 0) << Lit("ta3afc.err");
    EXPECT_EQ(Lit("vp.txt"), "2\r\n1.00000000\r\n0.11111111\r\n");
    // Part 2 lies farthest on factor 1 and part 0 (first of a tie) on factor 2: both positive.
    EXPECT_EQ(Lit("facteurs.txt"),
              "3 2\r\n"
              "A 0 333.333 666.667 -707.107 408.248 166.667 500.000 750.000 250.000\r\n"
              "A 1 333.333 666.667 -707.107 -408.248 166.667 500.000 750.000 250.000\r\n"
              "A 2 333.333 2000.000 1414.214 0.000 666.667 0.000 1000.000 0.000\r\n");
}

TEST(Ta3afcTest, SupplementaryPartEqualToAnActiveOneLiesOnIt)
{
    TableAfc table;
    ASSERT_EQ(LitCoranDon(CoranDon({{2, 1, 0, 4}, {1, 2, 0, 2}, {0, 0, 3, 0}}, "1112", 2), table), "");
    ResultatAfc resultat;
    ASSERT_EQ(Analyse(table, resultat), "");
    ASSERT_EQ(resultat.points.size(), 4u);
    const auto &active = resultat.points[0];
    const auto &supplementaire = resultat.points[3];
    EXPECT_FALSE(supplementaire.actif);
    for (int k = 0; k < 2; ++k) {
        EXPECT_NEAR(supplementaire.coordonnees[k], active.coordonnees[k], 1e-12);
        EXPECT_EQ(supplementaire.contributions[k], 0.0);
    }
    EXPECT_NEAR(supplementaire.distance, active.distance, 1e-12);
    EXPECT_NEAR(supplementaire.masse, 6.0 / 9.0, 1e-12);
}

TEST(Ta3afcTest, AgreesWithAnIndependentNumpyComputation)
{
    talmer::test::TempDir dossier;
    std::mt19937 alea(12345);
    std::vector<std::vector<int>> table(60, std::vector<int>(8));
    for (auto &rangee : table)
        for (int &n : rangee)
            n = static_cast<int>(alea() % 40);
    Ecrit("coran.don", CoranDon(table, "11211121", 4));
    ASSERT_EQ(LanceTa3afc(), 0) << Lit("ta3afc.err");
    const std::string script = std::string(TALMER_SOURCE_DIR) + "/tests/tools/afc_reference.py";
    ASSERT_EQ(std::system(("/usr/bin/python3 " + script + " coran.don > reference.txt").c_str()), 0);

    std::istringstream reference(Lit("reference.txt"));
    std::string mot;
    reference >> mot;
    ASSERT_EQ(mot, "vp");
    std::istringstream vp(Lit("vp.txt"));
    int n = 0;
    vp >> n;
    EXPECT_EQ(n, 5); // six active parts
    for (int k = 0; k < n; ++k) {
        double attendu = 0, obtenu = 0;
        reference >> attendu;
        vp >> obtenu;
        EXPECT_NEAR(obtenu, attendu, 1e-7) << "eigenvalue " << k;
    }
    std::istringstream facteurs(Lit("facteurs.txt"));
    int points = 0, f = 0;
    facteurs >> points >> f;
    ASSERT_EQ(points, 8);
    ASSERT_EQ(f, 4);
    for (int j = 0; j < points; ++j) {
        std::string type, ident;
        double masse, distance;
        facteurs >> type >> ident >> masse >> distance;
        EXPECT_EQ(type, j == 2 || j == 6 ? "S" : "A");
        int indexReference = -1;
        reference >> indexReference;
        ASSERT_EQ(indexReference, j);
        for (int k = 0; k < f; ++k) {
            double attendu = 0, obtenu = 0;
            reference >> attendu;
            facteurs >> obtenu;
            EXPECT_NEAR(obtenu, attendu, 0.002) << "part " << j << " factor " << k;
        }
        double reste;
        for (int k = 0; k < 2 * f; ++k)
            facteurs >> reste;
    }
}

TEST(Ta3afcTest, ThousandsOfPartsAndAFewFormsAgreeWithTheFullDecomposition)
{
    std::string drapeaux(3000, '1');
    for (std::size_t j = 7; j < drapeaux.size(); j += 10)
        drapeaux[j] = '2';
    CommeLaReference(TableAThemes(12, 3000, 6, drapeaux, 1));
}

TEST(Ta3afcTest, LargeTablesOnEitherSideAgreeWithTheFullDecomposition)
{
    // Both sides beyond a few hundred: the vectors come from the truncated solver.
    CommeLaReference(TableAThemes(700, 450, 4, std::string(449, '1') + "2", 2));
    CommeLaReference(TableAThemes(450, 700, 4, "2" + std::string(699, '1'), 3));
}

TEST(Ta3afcTest, ARankBelowNFGivesThatManyFactors)
{
    // Rows made of three profiles: two non-trivial factors, whatever NF asks.
    for (int parties : {6, 450}) {
        SCOPED_TRACE(parties);
        TableAfc table = TableAThemes(500, parties, 4, std::string(static_cast<std::size_t>(parties), '1'), 4);
        for (int i = 0; i < table.ni; ++i)
            for (int j = 0; j < parties; ++j)
                table.effectifs[static_cast<std::size_t>(i * parties + j)] = (i % 7 + 1) * (1 + (i % 3 == 0 ? j % 2 : i % 3 == 1 ? j % 3 : j % 5));
        ResultatAfc resultat;
        ASSERT_EQ(Analyse(table, resultat), "");
        EXPECT_EQ(resultat.nbFacteurs, 2);
        EXPECT_EQ(resultat.valeursPropres.size(), 2u);
        CommeLaReference(table);
    }
}

TEST(Ta3afcTest, ReadsWideCountsAndLongRowNumbers)
{
    // A count of 100,000 or more: every count of its row after a blank. A row number of six
    // digits: read up to its blank.
    std::string texte = CoranDon({{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}, "111", 2);
    const std::string vieille = Rangee(1, "f1", {4, 5, 6});
    texte.replace(texte.find(vieille), vieille.size(),
                  "    1 f1                   123456      5      6\r\n");
    const std::string autre = Rangee(2, "f2", {7, 8, 9});
    texte.replace(texte.find(autre), autre.size(), "123456 un libelle de vingt    7    8    9\r\n");
    TableAfc table;
    ASSERT_EQ(LitCoranDon(texte, table), "");
    EXPECT_EQ(table.effectifs, (std::vector<std::int64_t>{1, 2, 3, 123456, 5, 6, 7, 8, 9}));
    EXPECT_EQ(table.libelles[2], "un libelle de vingt ");
}

TEST(Ta3afcTest, RefusedTables)
{
    const std::string bon = CoranDon(TableSymetrique, "111", 2);
    auto remplaceDans = [](std::string t, const std::string &avant, const std::string &apres) {
        t.replace(t.find(avant), avant.size(), apres);
        return t;
    };
    auto remplace = [&](const std::string &avant, const std::string &apres) { return remplaceDans(bon, avant, apres); };
    const std::string uneForme = CoranDon({{2, 1, 3}}, "111", 2);
    // The messages name the line of coran.don (from 1; the first form row is line 6) and the
    // label of the form or the part.
    struct Cas {
        const char *nom;
        std::string texte;
        const char *message = nullptr;
    } cas[] = {
        {"truncated", bon.substr(0, bon.find("    2 f2"))},
        {"NJ not the number of parts", remplace("   3   3   5", "   3   4   5"),
         "ligne 2 de coran.don : NJ vaut 4 mais la ligne 4 donne 3 parties"},
        {"NJ not the single part", remplace("\r\n111\r\n", "\r\n1\r\n"),
         "ligne 2 de coran.don : NJ vaut 3 mais la ligne 4 donne 1 partie"},
        {"flag neither 1 nor 2", remplace("\r\n111\r\n", "\r\n131\r\n"),
         "ligne 4 de coran.don : indicateur de partie autre que 1 ou 2"},
        {"count not an integer", remplace("    2    1    0", "    2    x    0")},
        {"empty row", CoranDon({{2, 1, 0}, {0, 0, 0}, {0, 0, 3}}, "111", 2),
         "ligne 7 de coran.don : la forme «\u00A0f1\u00A0» n'a aucune occurrence"},
        {"empty part", CoranDon({{2, 1, 0}, {1, 2, 0}, {3, 3, 0}}, "111", 2),
         "ligne 3 de coran.don : la partie «\u00A02\u00A0» (colonne 3) n'a aucune occurrence dans les lignes "
         "analysées"},
        {"a single factor", CoranDon(TableSymetrique, "112", 2)},
        {"one factor asked for", CoranDon(TableSymetrique, "111", 1)},
        {"NF not an integer", remplace("   2   0   0   4 150", "   z   0   0   4 150")},
        {"format line", remplace("(6x,5A4,3F5.0)", "(6x,5A4,4F5.0)")},
        {"NI above the rows", remplace("   3   3   5", "   4   3   5"),
         "ligne 2 de coran.don : NI vaut 4 mais le fichier a 3 lignes de formes (la ligne de contrôle est la ligne 9)"},
        {"NI below the rows", remplace("   3   3   5", "   2   3   5"),
         "ligne 2 de coran.don : NI vaut 2 mais le fichier a 3 lignes de formes (la ligne de contrôle est la ligne 9)"},
        {"NI above a single row", remplaceDans(uneForme, "   1   3   5", "   2   3   5"),
         "ligne 2 de coran.don : NI vaut 2 mais le fichier a 1 ligne de formes (la ligne de contrôle est la ligne 7)"},
        {"NI past the end", remplace("   2   0   0   4 150   0   0\r\n", ""),
         "ligne 2 de coran.don : NI vaut 3 mais le fichier n'a que 3 lignes après la ligne 5, et pas de ligne de "
         "contrôle"},
        {"NI past the end of a single row",
         remplaceDans(remplaceDans(uneForme, "   1   3   5", "   3   3   5"), "   2   0   0   4 150   0   0\r\n", ""),
         "ligne 2 de coran.don : NI vaut 3 mais le fichier n'a que 1 ligne après la ligne 5, et pas de ligne de "
         "contrôle"},
        {"part indexes", remplace("   0   1   2\r\n", "   0   1\r\n"),
         "ligne 3 de coran.don : le nombre d'index de parties n'est pas celui des parties de la ligne 4 (3)"},
    };
    for (const Cas &c : cas) {
        TableAfc table;
        ResultatAfc resultat;
        std::string raison = LitCoranDon(c.texte, table);
        if (raison.empty())
            raison = Analyse(table, resultat);
        EXPECT_FALSE(raison.empty()) << c.nom;
        if (c.message) {
            EXPECT_EQ(raison, c.message) << c.nom;
        }
    }
}

TEST(Ta3afcTest, ResultBytesAreTheSameInAFrenchLocale)
{
    TableAfc table;
    ASSERT_EQ(LitCoranDon(CoranDon(TableSymetrique, "111", 2), table), "");
    ResultatAfc resultat;
    ASSERT_EQ(Analyse(table, resultat), "");
    talmer::test::LocaleFrancaise francais;
    ASSERT_TRUE(francais.Active()) << "fr_FR.UTF-8 is missing: run scripts/install-deps.sh";
    EXPECT_EQ(talmer::afc::TexteValeursPropres(resultat), "2\r\n1.00000000\r\n0.11111111\r\n");
    EXPECT_EQ(talmer::afc::TexteFacteurs(resultat).substr(0, 33), "3 2\r\nA 0 333.333 666.667 -707.107");
}

TEST(Ta3afcTest, PartIndexesReadInBothLayoutsFromAThousandParts)
{
    // 1,002 parts. The dialog writes the indexes 0 to 999 in fields of 4 characters and puts a
    // blank before 1000 and 1001; earlier versions ran them together ("99910001001").
    const std::size_t p = 1002;
    std::string fixes;
    for (std::size_t j = 0; j < 1000; ++j) {
        const std::string n = std::to_string(j);
        fixes += std::string(4 - n.size(), ' ') + n;
    }
    const std::string nouvelle = fixes + " 1000 1001";
    const std::string ancienne = fixes + "10001001";
    ASSERT_EQ(nouvelle.substr(nouvelle.size() - 22), " 997 998 999 1000 1001");
    for (const std::string &ligne3 : {nouvelle, ancienne}) {
        std::string texte = "t\r\n   1 1002   5   1   0\r\n" + ligne3 + "\r\n" + std::string(p, '1') +
                            "\r\n(6x,5A4,1002F5.0)\r\n" + Rangee(0, "f0", std::vector<int>(p, 1)) +
                            "   2   0   0   4 150   0   0\r\n";
        TableAfc table;
        ASSERT_EQ(LitCoranDon(texte, table), "") << (&ligne3 == &nouvelle ? "new" : "earlier");
        ASSERT_EQ(table.parties.size(), p);
        EXPECT_EQ(table.parties[0], "0");
        EXPECT_EQ(table.parties[999], "999");
        EXPECT_EQ(table.parties[1000], "1000");
        EXPECT_EQ(table.parties[1001], "1001");
    }
}

TEST(Ta3afcTest, AStrayCarriageReturnIsPartOfTheLineEnd)
{
    std::string texte = CoranDon(TableSymetrique, "111", 2);
    for (const char *ligne : {"\r\n111\r\n", "   2   0   0   4 150   0   0\r\n"}) {
        const std::string avant = std::string(ligne).substr(0, std::string(ligne).size() - 2);
        texte.replace(texte.find(ligne), std::string(ligne).size(), avant + "\r\r\n");
    }
    const std::string rangee = Rangee(1, "f1", {1, 2, 0});
    texte.replace(texte.find(rangee), rangee.size(), rangee.substr(0, rangee.size() - 2) + "\r\r\n");
    TableAfc table;
    ASSERT_EQ(LitCoranDon(texte, table), "");
    EXPECT_EQ(table.drapeaux, (std::vector<char>{'1', '1', '1'}));
    EXPECT_EQ(table.effectifs[5], 0);
    EXPECT_EQ(table.nf, 2);
}

// A table of 900 parts, 250 forms and 40 segment rows: 1.3 MB, more than one block of the reading,
// with a form row across the first block's end. Segment row k is line 257 + k.
struct GrandeTable {
    std::vector<std::vector<int>> formes;
    std::string texte;
};

GrandeTable TableDePlusieursBlocs()
{
    std::mt19937 alea(7);
    GrandeTable t;
    t.formes.assign(250, std::vector<int>(900, 0));
    for (std::size_t i = 0; i < 250; ++i)
        for (std::size_t j = 0; j < 900; ++j)
            t.formes[i][j] = (alea() % 5 == 0 ? static_cast<int>(alea() % 30) : 0) + (j % 250 == i ? 1 : 0);
    t.texte = CoranDon(t.formes, std::string(899, '1') + "2", 3);
    for (int k = 0; k < 40; ++k)
        t.texte += Rangee(1000 + k, "segment", std::vector<int>(900, k % 3));
    return t;
}

// Reads coran.don from a file, as the program does.
std::string LitFichier(const std::string &texte, talmer::afc::TableCreuse &table, std::vector<std::uint64_t> *lus = nullptr)
{
    Ecrit("coran.don", texte);
    std::FILE *f = std::fopen("coran.don", "rb");
    if (!f)
        return "coran.don non ouvert";
    const std::string raison = LitCoranDon(f, table, [&](std::uint64_t n) {
        if (lus)
            lus->push_back(n);
    });
    std::fclose(f);
    return raison;
}

TEST(Ta3afcTest, AFileReadByBlocksKeepsTheNonZeroCellsOfItsFormRows)
{
    talmer::test::TempDir dossier;
    const GrandeTable t = TableDePlusieursBlocs();
    ASSERT_GT(t.texte.size(), std::size_t{1} << 20);
    // A form row runs over the end of the first block (1 MB).
    ASSERT_NE(t.texte[(std::size_t{1} << 20) - 1], '\n');
    ASSERT_GT(t.texte.find("   3   0   0   4 150"), std::size_t{1} << 20);
    talmer::afc::TableCreuse table;
    std::vector<std::uint64_t> lus;
    ASSERT_EQ(LitFichier(t.texte, table, &lus), "");
    EXPECT_GT(lus.size(), 1u);
    EXPECT_EQ(lus.back(), t.texte.size());
    EXPECT_EQ(table.nbSegments, 40);
    EXPECT_EQ(table.nf, 3);
    ASSERT_EQ(table.libelles.size(), 250u);
    EXPECT_EQ(table.libelles[249], "f249" + std::string(16, ' '));
    ASSERT_EQ(table.debuts.size(), 251u);
    for (std::size_t i = 0; i < 250; ++i) {
        std::vector<int> rangee(900, 0);
        for (std::size_t p = table.debuts[i]; p < table.debuts[i + 1]; ++p) {
            EXPECT_NE(table.valeurs[p], 0);
            if (p > table.debuts[i]) {
                EXPECT_LT(table.colonnes[p - 1], table.colonnes[p]);
            }
            rangee[static_cast<std::size_t>(table.colonnes[p])] = static_cast<int>(table.valeurs[p]);
        }
        EXPECT_EQ(rangee, t.formes[i]) << "row " << i;
    }
    // The same analysis as the whole table's.
    TableAfc dense;
    ASSERT_EQ(LitCoranDon(t.texte, dense), "");
    ResultatAfc depuisFichier, depuisTexte;
    ASSERT_EQ(Analyse(table, depuisFichier), "");
    ASSERT_EQ(Analyse(dense, depuisTexte), "");
    EXPECT_EQ(talmer::afc::TexteFacteurs(depuisFichier), talmer::afc::TexteFacteurs(depuisTexte));
    EXPECT_EQ(talmer::afc::TexteValeursPropres(depuisFichier), talmer::afc::TexteValeursPropres(depuisTexte));
}

TEST(Ta3afcTest, AFileReadByBlocksIsRefusedWhereItsTextIs)
{
    talmer::test::TempDir dossier;
    const GrandeTable t = TableDePlusieursBlocs();
    const std::string segment20 = Rangee(1020, "segment", std::vector<int>(900, 20 % 3));
    const std::size_t debut20 = t.texte.find(segment20);
    ASSERT_GT(debut20, std::size_t{1} << 20);
    std::string mauvaisSegment = t.texte;
    mauvaisSegment[debut20 + 26 + 5 * 450 + 4] = 'x';
    const std::string forme10 = Rangee(10, "f10", t.formes[10]);
    const std::size_t debut10 = t.texte.find(forme10);
    ASSERT_NE(debut10, std::string::npos);
    struct Cas {
        const char *nom;
        std::string texte;
        const char *message;
    } cas[] = {
        {"a bad segment row past the first block", mauvaisSegment,
         "ligne 277 de coran.don : effectif illisible"},
        {"cut in the middle of the last segment row", t.texte.substr(0, t.texte.size() - 2000),
         "ligne 296 de coran.don : nombre d'effectifs différent du nombre de parties"},
        {"cut in the middle of a segment row's label", t.texte.substr(0, debut20 + 15),
         "ligne 277 de coran.don : ligne trop courte"},
        // Before the control line: what tells is the NI that leads nowhere.
        {"cut in the middle of a form row", t.texte.substr(0, debut10 + 1000),
         "ligne 2 de coran.don : NI vaut 250 mais le fichier n'a que 11 lignes après la ligne 5, et pas de ligne de "
         "contrôle"},
        {"a blank line between segment rows", std::string(t.texte).insert(debut20, "  \r\n"),
         "ligne 277 de coran.don : numéro de ligne illisible"},
        // Blank lines after the last row, and a last row without its line end, are read.
        {"blank lines at the end", t.texte + "\r\n  \r\n\t\n", ""},
        {"no line end at the end", t.texte.substr(0, t.texte.size() - 2), ""},
    };
    for (const Cas &c : cas) {
        talmer::afc::TableCreuse depuisFichier, depuisTexte;
        EXPECT_EQ(LitFichier(c.texte, depuisFichier), c.message) << c.nom;
        EXPECT_EQ(LitCoranDon(c.texte, depuisTexte), c.message) << c.nom;
    }
}

TEST(Ta3afcTest, TheRunSaysHowMuchItHasReadThenThatItComputes)
{
    talmer::test::TempDir dossier;
    Ecrit("coran.don", TableDePlusieursBlocs().texte);
    const std::string commande = "timeout 60 " + std::string(TALMER_BIN_DIR) + "/ta3afc >ta3afc.out 2>ta3afc.err";
    ASSERT_EQ(WEXITSTATUS(std::system(commande.c_str())), 0) << Lit("ta3afc.err");
    std::istringstream sortie(Lit("ta3afc.out"));
    std::vector<std::string> lignes;
    for (std::string ligne; std::getline(sortie, ligne);)
        lignes.push_back(ligne);
    ASSERT_GE(lignes.size(), 3u);
    EXPECT_EQ(lignes.back(), "calcul");
    EXPECT_EQ(lignes[lignes.size() - 2], "lecture 100");
    int avant = -1;
    for (std::size_t k = 0; k + 1 < lignes.size(); ++k) {
        ASSERT_EQ(lignes[k].rfind("lecture ", 0), 0u) << lignes[k];
        const int pourcent = std::stoi(lignes[k].substr(8));
        EXPECT_GT(pourcent, avant);
        avant = pourcent;
    }
}

TEST(Ta3afcTest, RefusedTableLeavesNoFactorFile)
{
    talmer::test::TempDir dossier;
    EXPECT_EQ(LanceTa3afc(), 1);
    EXPECT_NE(Lit("ta3afc.err").find("coran.don"), std::string::npos);
    Ecrit("coran.don", CoranDon({{2, 1, 0}, {0, 0, 0}, {0, 0, 3}}, "111", 2));
    EXPECT_EQ(LanceTa3afc(), 1);
    EXPECT_FALSE(std::filesystem::exists("facteurs.txt"));
    EXPECT_FALSE(std::filesystem::exists("vp.txt"));
}

} // namespace
