// ta3afc: the analysis on a table small enough to solve by hand, a cross-check against an
// independent numpy computation, the layouts it reads, and the tables it refuses.
#include "support/tempdir.h"
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

namespace {

using talmer::afc::Analyse;
using talmer::afc::LitCoranDon;
using talmer::afc::ResultatAfc;
using talmer::afc::TableAfc;

std::string Rangee(int numero, const std::string &libelle, const std::vector<int> &effectifs)
{
    char tete[64];
    std::snprintf(tete, sizeof tete, "%5d %-20s", numero, libelle.c_str());
    std::string ligne = tete;
    for (int n : effectifs) {
        std::snprintf(tete, sizeof tete, "%5d", n);
        ligne += tete;
    }
    return ligne + "\r\n";
}

// The dialog's layout for a table of forms by parts, every part active unless flagged '2'.
std::string CoranDon(const std::vector<std::vector<int>> &table, const std::string &drapeaux, int nf)
{
    const int p = static_cast<int>(drapeaux.size());
    char ligne[128];
    std::string texte = "Essai : p\r\n";
    std::snprintf(ligne, sizeof ligne, "%4d%4d%4d%4d%4d\r\n", static_cast<int>(table.size()), p, 5, 1, 0);
    texte += ligne;
    for (int j = 0; j < p; ++j) {
        std::snprintf(ligne, sizeof ligne, "%4d", j);
        texte += ligne;
    }
    texte += "\r\n" + drapeaux + "\r\n(6x,5A4," + std::to_string(p) + "F5.0)\r\n";
    for (std::size_t i = 0; i < table.size(); ++i)
        texte += Rangee(static_cast<int>(i), "f" + std::to_string(i), table[i]);
    std::snprintf(ligne, sizeof ligne, "%4d%4d%4d%4d%4d%4d%4d\r\n", nf, 0, 0, 4, 150, 0, 0);
    return texte + ligne;
}

std::string Lit(const std::filesystem::path &chemin)
{
    std::ifstream f(chemin, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
}

void Ecrit(const std::filesystem::path &chemin, const std::string &octets)
{
    std::ofstream(chemin, std::ios::binary) << octets;
}

int LanceTa3afc()
{
    const std::string commande = std::string(TALMER_BIN_DIR) + "/ta3afc 2>ta3afc.err";
    return WEXITSTATUS(std::system(commande.c_str()));
}

// Rows of a table whose centred matrix is symmetric: (2 1 0 / 1 2 0 / 0 0 3). With all margins
// 1/3, S = (N - 1) / 3, whose eigenvectors are (1,-1,0), (1,1,-2) and (1,1,1): the principal
// inertias are 1 and 1/9, and the part coordinates follow from v_jk sqrt(lambda_k / c_j).
const std::vector<std::vector<int>> TableSymetrique = {{2, 1, 0}, {1, 2, 0}, {0, 0, 3}};

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
    auto remplace = [&](const std::string &avant, const std::string &apres) {
        std::string t = bon;
        t.replace(t.find(avant), avant.size(), apres);
        return t;
    };
    struct Cas {
        const char *nom;
        std::string texte;
    } cas[] = {
        {"truncated", bon.substr(0, bon.find("    2 f2"))},
        {"NJ not the number of parts", remplace("   3   3   5", "   3   4   5")},
        {"flag neither 1 nor 2", remplace("\r\n111\r\n", "\r\n131\r\n")},
        {"count not an integer", remplace("    2    1    0", "    2    x    0")},
        {"empty row", CoranDon({{2, 1, 0}, {0, 0, 0}, {0, 0, 3}}, "111", 2)},
        {"empty part", CoranDon({{2, 1, 0}, {1, 2, 0}, {3, 3, 0}}, "111", 2)},
        {"a single factor", CoranDon(TableSymetrique, "112", 2)},
        {"one factor asked for", CoranDon(TableSymetrique, "111", 1)},
        {"NF not an integer", remplace("   2   0   0   4 150", "   z   0   0   4 150")},
        {"format line", remplace("(6x,5A4,3F5.0)", "(6x,5A4,4F5.0)")},
    };
    for (const Cas &c : cas) {
        TableAfc table;
        ResultatAfc resultat;
        std::string raison = LitCoranDon(c.texte, table);
        if (raison.empty())
            raison = Analyse(table, resultat);
        EXPECT_FALSE(raison.empty()) << c.nom;
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
