// The exchange file of the correspondence analysis: the table of forms (and repeated segments) by
// parts, written as "coran.don" for the analysis program ta3afc, and the test of the dimensions
// the user typed. Plain code, driven by the tests without a screen.
#pragma once

#include "engine/progression.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class Partition;

namespace talmer {

struct EchecEcriture;

// The dimensions of an analysis once checked.
struct DimensionsAFC {
    std::int32_t ni = 0; // form rows
    std::int32_t nj = 0; // parts
    std::int32_t nf = 0; // factors asked for
};

// The value of a whole decimal number typed in a field (blanks around it allowed, sign allowed);
// nothing when the text is not one or leaves the 32-bit range.
std::optional<std::int32_t> EntierSaisi(std::string_view texte);

// The dimensions are valid when the three texts are integers, 1 < NF, NF < NI, NF < NJ, NJ is
// the number of parts of the table and NI does not exceed the forms that reach the minimum
// frequency (the rows that exist). Nothing otherwise.
std::optional<DimensionsAFC> ValideDimensions(std::string_view ni, std::string_view nj, std::string_view nf,
                                              std::int32_t formesRetenues, std::int32_t nbParties);

// What the analysis program says on its standard output as it runs, one line at a time: how much
// of "coran.don" it has read ("lecture N", N per cent), then that it computes the factors
// ("calcul"). Nothing for any other line.
struct AvancementAFC {
    bool calcul = false;
    std::int32_t pourcent = 0; // of the table read, while !calcul
};
std::optional<AvancementAFC> LitAvancementAFC(std::string_view ligne);

// The number of forms 0 .. Nbform-1 whose total frequency reaches freqMin.
std::int32_t FormesRetenues(const Partition &partition, std::int32_t freqMin);

// One row of the table: its number, its spelling and one count per part.
struct LigneAFC {
    std::int32_t numero = 0;
    std::string graphie;
    std::vector<std::int32_t> comptes;
};

// Everything "coran.don" holds.
struct DonneesAFC {
    std::string titre;
    DimensionsAFC dimensions;
    std::vector<char> drapeaux;     // per part: 1 active, 2 supplementary
    std::vector<LigneAFC> formes;   // NI rows
    std::vector<LigneAFC> segments; // after the control line; none when no segment was computed
};

// Gathers the table of a partition: the forms 0 .. NI-1, the repeated segments attached to the
// base whose frequency (the sum of their per-part counts) reaches freqMin, and the flags (every
// part active when !seulementCochees, else checked parts active and the others supplementary).
DonneesAFC RassembleDonnees(const Partition &partition, const std::string &titre, const DimensionsAFC &dimensions,
                            std::int32_t freqMin, bool seulementCochees);

// The bytes of "coran.don", CR LF line ends. The layout keeps fixed columns wherever a value
// fits them; where it cannot (NJ or a part index of 4 digits or more, a count of more than 5
// digits, a row number of more than 5 digits) values stay separated by at least one blank so every
// row reads back unambiguously, and labels are always cut to 20 bytes.
std::string TexteCoranDon(const DonneesAFC &donnees);

// Writes "coran.don" for the partition to `chemin`, the bytes TexteCoranDon(RassembleDonnees(...))
// would give, a few rows at a time: with thousands of parts the table and its text run to hundreds
// of megabytes, and neither is ever whole in memory. Under a temporary name renamed when complete
// (EcritFichierSur); false, with the file and the system's reason in *echec, when it cannot be
// written. The callback, when given, is called about a hundred times over the form rows and a
// hundred over the segment rows; what it throws goes through, and nothing is written then.
bool EcritCoranDon(const std::string &chemin, const Partition &partition, const std::string &titre,
                   const DimensionsAFC &dimensions, std::int32_t freqMin, bool seulementCochees,
                   FnProgression pas = nullptr, EchecEcriture *echec = nullptr);

} // namespace talmer
