// A table of counts that holds only its non-zero cells: for each row, the columns where it is not
// zero, ascending, with their values (a compressed-row layout). The table of forms by parts is
// one (a row per form, a column per part): most forms occur in few parts, so its memory follows
// the occurrences rather than forms times parts. Its transposition gives the columns (the forms
// of each part) where a reader needs them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

class TableCreuse {
public:
    struct Cellule {
        std::int32_t colonne = 0;
        std::int32_t valeur = 0;
        bool operator==(const Cellule &) const = default;
    };

    TableCreuse() = default;
    // From the cells of each row: row i holds cellules[debuts[i]] to cellules[debuts[i + 1] - 1],
    // ascending by column, each column in 0 .. nbColonnes - 1, each value non-zero; debuts has
    // one entry more than there are rows and starts at 0. Throws std::invalid_argument otherwise.
    TableCreuse(std::int32_t nbColonnes, std::vector<std::int64_t> debuts, std::vector<Cellule> cellules);
    // The table whose column c holds, ascending by row, the cells that group g of `groupes`
    // holds for row c: groups are read in order, the cells of a group in any order (no two for
    // one row). Group g is cells[debuts[g]] to cells[debuts[g + 1] - 1]; every cell's `colonne`
    // names its row, below nbLignes. This is how a table counted column by column takes its rows.
    static TableCreuse DepuisColonnes(std::int32_t nbLignes, const std::vector<std::int64_t> &debuts,
                                      const std::vector<Cellule> &cellules);

    std::int32_t NbLignes() const { return static_cast<std::int32_t>(debuts_.size()) - 1; }
    std::int32_t NbColonnes() const { return nbColonnes_; }
    // The non-zero cells in all.
    std::int64_t NbCellules() const { return static_cast<std::int64_t>(cellules_.size()); }

    // The non-zero cells of row i, ascending by column; none for a row outside the table.
    std::span<const Cellule> Ligne(std::int32_t i) const;
    // The value of one cell: 0 where no cell is held or outside the table.
    std::int32_t Valeur(std::int32_t i, std::int32_t j) const;
    // Row i in full: NbColonnes() values, zeros where no cell is held (all zeros outside).
    std::vector<std::int32_t> LigneDense(std::int32_t i) const;
    // The same table with rows and columns exchanged.
    TableCreuse Transposee() const;

    // The memory the table holds, in bytes.
    std::size_t Octets() const;

private:
    std::int32_t nbColonnes_ = 0;
    std::vector<std::int64_t> debuts_ = {0};
    std::vector<Cellule> cellules_;
};
