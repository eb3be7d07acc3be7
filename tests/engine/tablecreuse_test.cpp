// TableCreuse: a table holding its non-zero cells only, against plain dense tables.

#include "engine/tablecreuse.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <stdexcept>
#include <vector>

namespace {

using Cellule = TableCreuse::Cellule;
using Dense = std::vector<std::vector<std::int32_t>>;  // rows of values

TableCreuse DepuisDense(const Dense &d, std::int32_t nbColonnes)
{
    std::vector<std::int64_t> debuts(1, 0);
    std::vector<Cellule> cellules;
    for (const auto &ligne : d) {
        for (std::int32_t j = 0; j < nbColonnes; ++j)
            if (ligne[static_cast<std::size_t>(j)] != 0)
                cellules.push_back({j, ligne[static_cast<std::size_t>(j)]});
        debuts.push_back(static_cast<std::int64_t>(cellules.size()));
    }
    return TableCreuse(nbColonnes, std::move(debuts), std::move(cellules));
}

// Every way of reading the table gives the dense table's values.
void ExpectEgale(const TableCreuse &t, const Dense &d, std::int32_t nbColonnes)
{
    ASSERT_EQ(t.NbLignes(), static_cast<std::int32_t>(d.size()));
    ASSERT_EQ(t.NbColonnes(), nbColonnes);
    std::int64_t nonNuls = 0;
    for (std::int32_t i = 0; i < t.NbLignes(); ++i) {
        const auto &ligne = d[static_cast<std::size_t>(i)];
        EXPECT_EQ(t.LigneDense(i), ligne) << "row " << i;
        std::vector<Cellule> attendues;
        for (std::int32_t j = 0; j < nbColonnes; ++j) {
            EXPECT_EQ(t.Valeur(i, j), ligne[static_cast<std::size_t>(j)]) << i << ", " << j;
            if (ligne[static_cast<std::size_t>(j)] != 0)
                attendues.push_back({j, ligne[static_cast<std::size_t>(j)]});
        }
        const auto cellules = t.Ligne(i);
        EXPECT_EQ(std::vector<Cellule>(cellules.begin(), cellules.end()), attendues) << "row " << i;
        nonNuls += static_cast<std::int64_t>(attendues.size());
        EXPECT_EQ(t.Valeur(i, -1), 0);
        EXPECT_EQ(t.Valeur(i, nbColonnes), 0);
    }
    EXPECT_EQ(t.NbCellules(), nonNuls);
    EXPECT_TRUE(t.Ligne(-1).empty());
    EXPECT_TRUE(t.Ligne(t.NbLignes()).empty());
    EXPECT_EQ(t.Valeur(t.NbLignes(), 0), 0);
    EXPECT_EQ(t.LigneDense(-1), std::vector<std::int32_t>(static_cast<std::size_t>(nbColonnes), 0));
}

Dense Transposee(const Dense &d, std::int32_t nbColonnes)
{
    Dense t(static_cast<std::size_t>(nbColonnes), std::vector<std::int32_t>(d.size(), 0));
    for (std::size_t i = 0; i < d.size(); ++i)
        for (std::size_t j = 0; j < static_cast<std::size_t>(nbColonnes); ++j)
            t[j][i] = d[i][j];
    return t;
}

} // namespace

TEST(TableCreuse, RandomTablesReadAsTheirDenseCopies)
{
    std::mt19937 g(20261211);
    for (int essai = 0; essai < 60; ++essai) {
        const auto lignes = static_cast<std::size_t>(g() % 30);
        const auto colonnes = static_cast<std::int32_t>(g() % 50);
        // Sparse to full, so that rows both shorter and longer than a short walk occur.
        const unsigned densite = 1 + g() % 10;
        Dense d(lignes, std::vector<std::int32_t>(static_cast<std::size_t>(colonnes), 0));
        for (auto &ligne : d)
            for (auto &v : ligne)
                if (g() % 10 < densite)
                    v = 1 + static_cast<std::int32_t>(g() % 1000);
        const TableCreuse t = DepuisDense(d, colonnes);
        ExpectEgale(t, d, colonnes);
        ExpectEgale(t.Transposee(), Transposee(d, colonnes), static_cast<std::int32_t>(lignes));

        // The same table counted column by column, each column's cells in any order.
        std::vector<std::int64_t> debuts(1, 0);
        std::vector<Cellule> cellules;
        for (std::int32_t j = 0; j < colonnes; ++j) {
            const std::size_t debut = cellules.size();
            for (std::size_t i = 0; i < lignes; ++i)
                if (d[i][static_cast<std::size_t>(j)] != 0)
                    cellules.push_back({static_cast<std::int32_t>(i), d[i][static_cast<std::size_t>(j)]});
            std::shuffle(cellules.begin() + static_cast<std::ptrdiff_t>(debut), cellules.end(), g);
            debuts.push_back(static_cast<std::int64_t>(cellules.size()));
        }
        ExpectEgale(TableCreuse::DepuisColonnes(static_cast<std::int32_t>(lignes), debuts, cellules), d, colonnes);
        if (HasFailure())
            break;
    }
}

TEST(TableCreuse, EmptyTables)
{
    ExpectEgale(TableCreuse(), Dense{}, 0);
    ExpectEgale(TableCreuse(3, {0, 0, 0}, {}), Dense(2, std::vector<std::int32_t>(3, 0)), 3);
    ExpectEgale(TableCreuse::DepuisColonnes(2, {0}, {}), Dense(2, std::vector<std::int32_t>()), 0);
    ExpectEgale(TableCreuse(0, {0, 0}, {}).Transposee(), Dense{}, 1);
}

TEST(TableCreuse, MalformedCellsAreRefused)
{
    struct Cas {
        const char *quoi;
        std::int32_t colonnes;
        std::vector<std::int64_t> debuts;
        std::vector<Cellule> cellules;
    };
    const Cas rangees[] = {
        {"no offsets", 2, {}, {}},
        {"offsets not from 0", 2, {1, 1}, {{0, 1}}},
        {"offsets short of the cells", 2, {0, 1}, {{0, 1}, {1, 1}}},
        {"offsets going back", 2, {0, 2, 1, 2}, {{0, 1}, {1, 1}}},
        {"columns not ascending", 2, {0, 2}, {{1, 1}, {0, 1}}},
        {"a column twice", 2, {0, 2}, {{1, 1}, {1, 2}}},
        {"a column beyond the table", 2, {0, 1}, {{2, 1}}},
        {"a negative column", 2, {0, 1}, {{-1, 1}}},
        {"a zero value", 2, {0, 1}, {{0, 0}}},
        {"negative columns count", -1, {0}, {}},
    };
    for (const Cas &c : rangees)
        EXPECT_THROW(TableCreuse(c.colonnes, c.debuts, c.cellules), std::invalid_argument) << c.quoi;

    const Cas colonnes[] = {
        {"no offsets", 2, {}, {}},
        {"offsets short of the cells", 2, {0, 1}, {{0, 1}, {1, 1}}},
        {"offsets going back", 2, {0, 2, 1, 2}, {{0, 1}, {1, 1}}},
        {"a row beyond the table", 2, {0, 1}, {{2, 1}}},
        {"a zero value", 2, {0, 1}, {{0, 0}}},
        {"a row twice in one column", 2, {0, 2}, {{1, 1}, {1, 2}}},
    };
    for (const Cas &c : colonnes)
        EXPECT_THROW(TableCreuse::DepuisColonnes(c.colonnes, c.debuts, c.cellules), std::invalid_argument) << c.quoi;
    // The same row in two columns is two cells of that row.
    EXPECT_EQ(TableCreuse::DepuisColonnes(2, {0, 1, 2}, {{1, 5}, {1, 6}}).LigneDense(1),
              (std::vector<std::int32_t>{5, 6}));
}
