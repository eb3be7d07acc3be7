// The correspondence analysis computed by ta3afc: reading the table written by the analysis dialog
// ("coran.don"), the analysis itself, and the two result files the factor plane reads back
// ("facteurs.txt", "vp.txt"). Plain C++ with Eigen, no user interface.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace talmer::afc {

// What "coran.don" says besides its counts: the dimensions, the parts and the form rows' labels.
struct EnteteAfc {
    std::string titre;
    std::int32_t ni = 0;              // number of form rows, as the second line gives it
    std::int32_t nj = 0;              // number of parts, as the second line gives it
    std::int32_t nf = 0;              // number of factors asked for (the control line)
    std::vector<char> drapeaux;       // per part: '1' active, '2' supplementary
    std::vector<std::string> parties; // per part: its label on the third line (the dialog's index)
    std::vector<std::string> libelles; // per form row: its 20-byte label
    std::int32_t nbSegments = 0;      // segment rows after the control line (read, not analysed)

    std::int32_t NbParties() const { return static_cast<std::int32_t>(drapeaux.size()); }
};

// The table as the program holds it: the non-zero counts of each form row, in part order. A page
// partition has thousands of parts and most forms occur in few of them.
struct TableCreuse : EnteteAfc {
    std::vector<std::size_t> debuts;    // per form row, where its cells start; one more at the end
    std::vector<std::int32_t> colonnes; // the part of each cell, increasing within a row
    std::vector<std::int64_t> valeurs;  // its count, never 0
};

// The same table with every count, row after row: for small tables built or read in memory.
struct TableAfc : EnteteAfc {
    std::vector<std::int64_t> effectifs; // form rows x parts, row after row
};

// Where the reading of "coran.don" stands: the bytes read so far.
using FnLecture = std::function<void(std::uint64_t lus)>;

// Reads "coran.don" from `fichier` as it comes, one line at a time: the segment rows are checked
// and forgotten, the form rows kept as their non-zero cells (CR LF or LF line ends). Returns an
// empty string when the table is well formed, otherwise the reason in French, naming the line of
// the file (from 1), or the read that failed; `table` is then unspecified. `lu`, when given, is
// called after each block read.
std::string LitCoranDon(std::FILE *fichier, TableCreuse &table, const FnLecture &lu = {});
// The same from the text of the file.
std::string LitCoranDon(std::string_view texte, TableCreuse &table);
std::string LitCoranDon(std::string_view texte, TableAfc &table);

// One part of the result (a column of the table).
struct PointAfc {
    bool actif = true;
    double masse = 0;     // column total / total of the active table
    double distance = 0;  // squared chi-square distance of the part's profile to the centroid
    std::vector<double> coordonnees;   // principal coordinates, one per factor
    std::vector<double> contributions; // share of the factor's eigenvalue (0 for supplementary)
    std::vector<double> cosinus2;      // squared cosine with the factor
};

struct ResultatAfc {
    std::vector<double> valeursPropres; // every non-trivial eigenvalue, largest first
    std::int32_t nbFacteurs = 0;        // F = min(asked, non-trivial)
    std::vector<PointAfc> points;       // one per part, in the table's order
};

// The analysis of the active table (form rows x parts flagged '1'); supplementary parts are
// projected afterwards. Returns an empty string on success, otherwise the reason in French (a form
// row by its line in "coran.don" and its label, a part by its label on the third line).
std::string Analyse(const TableCreuse &table, ResultatAfc &resultat);
std::string Analyse(const TableAfc &table, ResultatAfc &resultat);

// The bytes of "facteurs.txt" and "vp.txt" (CR LF line ends; units in FORMAT.txt), the same in
// every locale.
std::string TexteFacteurs(const ResultatAfc &resultat);
std::string TexteValeursPropres(const ResultatAfc &resultat);

} // namespace talmer::afc
