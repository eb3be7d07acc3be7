// The report pages of the partition statistics window: the counts per part ("pclc") and the
// table of forms by parts with its coefficients ("tfg"), each as an HTML page and an XML fragment
// for the report's XML document.
//
// Texts are 8-bit in the display code page; every text taken from the base is escaped (in element
// content & < >, in attribute values also "), and each page declares its character set.
#pragma once

#include "engine/calcspectot.h"
#include "engine/progression.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

class Partition;
class Rapport;
class QString;

namespace talmer {

struct PartiePCLC {
    std::string nom;      // spelling of the part's key value
    std::int32_t code = 0; // its entity number
    std::int32_t occ = 0;
    std::int32_t formes = 0;
    std::int32_t hapax = 0;
    std::int32_t fmax = 0;
    std::string forme;    // the form of highest frequency; empty for a part without forms
};

struct DonneesPCLC {
    std::string cle;      // spelling of the partition's key
    std::string titre;    // the window's caption as HTML (EnCodePageTexteHtml), written as given
    std::string charset;  // "windows-1252"
    std::vector<PartiePCLC> parties;
};

struct LigneTFG {
    std::string graphie;            // a repeated segment: its forms each followed by a blank
    std::vector<std::int32_t> frq;  // per part
    std::vector<std::int32_t> coef; // per part, 0 where not computed or not significant
};

struct DonneesTFG {
    std::string cle;
    std::string titre;              // as in DonneesPCLC
    std::string charset;
    bool segments = false;          // repeated segments are attached to the base
    std::vector<std::string> noms;  // per part
    std::vector<std::int32_t> codes;
    std::vector<LigneTFG> lignes;
};

// The counts of every part, as the statistics window shows them.
DonneesPCLC DonneesPCLCDe(const Partition &partition, std::string titre, std::string charset);
// Everything of the table's pages but its rows: the key, the parts' names and codes, whether
// segments are attached.
DonneesTFG EnteteTFG(const Partition &partition, std::string titre, std::string charset);

std::string PagePCLCHtml(const DonneesPCLC &d);
std::string PagePCLCXml(const DonneesPCLC &d);
// The table's page and fragment made whole from rows held in memory.
std::string PageTFGHtml(const DonneesTFG &d);
std::string PageTFGXml(const DonneesTFG &d);

// The bytes of the table's page and fragment, made piece by piece (the head, each row, the tail,
// each appended to a text), so that they can go to their files as they are made; the pages made
// whole are these pieces end to end.
class TexteTFG {
public:
    // From everything in `d` but its rows.
    explicit TexteTFG(const DonneesTFG &d);

    void TeteHtml(std::string &s) const;
    void TeteXml(std::string &s) const;
    // One row: its spelling, then per part its frequency and coefficient (0 past the values given).
    void LigneHtml(std::string &s, const std::string &graphie, std::span<const std::int32_t> frq,
                   std::span<const std::int32_t> coef) const;
    void LigneXml(std::string &s, const std::string &graphie, std::span<const std::int32_t> frq,
                  std::span<const std::int32_t> coef) const;
    void QueueHtml(std::string &s) const;
    void QueueXml(std::string &s) const;

private:
    DonneesTFG entete_;
    std::vector<std::string> debutsXml_;  // per part: "<partie nom=... frq=\""
};

// The rows of the table for its pages, one at a time: the frequencies from the partition's table
// of forms by parts (any other entity, a repeated segment say, has its positions counted part by
// part), the coefficients from the last run (none when null). One row is kept and reused, so
// that the memory does not grow with the number of rows.
class LignesTFG {
public:
    LignesTFG(const Partition &partition, const CalcSpecTot *calcul);
    // The row of the entity: NbParties() frequencies and coefficients; valid until the next call.
    const LigneTFG &Ligne(std::int32_t entite);

private:
    const Partition &partition_;
    std::optional<LecteurSpecTot> coefs_;
    std::vector<std::int32_t> colonnes_;  // per part, its column in the run; -1 when not computed
    std::vector<std::int32_t> remplies_;  // the parts whose frequency the row holds non-zero
    LigneTFG ligne_;
};

// The sizes of the table's page and fragment in bytes, estimated from the counts alone (rows,
// parts and their names): every cell is counted as a one-digit frequency without a coefficient.
struct TailleTFG {
    std::int64_t html = 0;
    std::int64_t xml = 0;
};
TailleTFG TailleEstimeeTFG(const DonneesTFG &entete, std::int64_t nbLignes);
// Pages from this size on are written only once the user has agreed.
inline constexpr std::int64_t SeuilQuestionTFG = std::int64_t{200} * 1024 * 1024;
// True when the user is to be asked before the page is written.
bool DemandeAvantEcriture(const TailleTFG &taille);
// The question, in French, with the sizes in megabytes.
QString QuestionTailleTFG(const TailleTFG &taille);

// Writes the table's page to `cheminHtml` and its fragment to `cheminXml` as the rows are made
// (a few megabytes in memory, whatever the table's size), each under a temporary name renamed
// once whole. `pas` is called about a thousand times over the rows (after each row when there
// are fewer); when it throws (CalculInterrompu), the exception goes through and neither file is
// left. False, with the reason in French in *erreur, when a file could not be written; neither is
// left then.
bool EcritPagesTFG(const QString &cheminHtml, const QString &cheminXml, const DonneesTFG &entete,
                   const Partition &partition, const std::vector<std::int32_t> &lignes,
                   const CalcSpecTot *calcul, FnProgression pas, QString *erreur);
// How many times EcritPagesTFG calls its step for that many rows.
std::int32_t NbPasEcritureTFG(std::size_t nbLignes);

// A base name for an item of the report that no file of its temporary folder bears yet: `racine`
// itself, else racine + "_2", "_3"... (racine comes from NomDeFichierSur, which never leaves a
// bare "_", so no other key's name can be met this way).
QString NomElementLibre(const Rapport &rapport, const std::string &racine);

// Writes bytes under a temporary name in the same folder and renames it when complete; false,
// with the reason in French in *erreur, on failure (nothing is left behind then).
bool EcritFichierRapport(const QString &chemin, const std::string &octets, QString *erreur);

// Writes the files N.html and N.xml (N from the prefix "pclc" or "tfg" and the key) in the
// report's temporary folder through `ecrit`, given their paths, then adds the item with the
// caption `titre` (the window's plain caption, escaped for the index). False, with the reason
// in *erreur, when the folder is missing or `ecrit` failed (it leaves no file then; nothing is
// added). An exception of `ecrit` goes through, and nothing is added.
using EcritPages = std::function<bool(const QString &html, const QString &xml, QString *erreur)>;
bool AjouteElementPages(Rapport &rapport, const char *prefixe, const std::string &cle, const QString &titre,
                        const EcritPages &ecrit, QString *erreur);
// The same for a page and a fragment made whole.
bool AjoutePagesAuRapport(Rapport &rapport, const char *prefixe, const std::string &cle, const QString &titre,
                          const std::string &html, const std::string &xml, QString *erreur);

} // namespace talmer

namespace talmer {

// The counts page of the partition and its fragment, added to the report with the caption
// `titre` (the statistics window's caption).
bool ExportePCLC(Rapport &rapport, const Partition &partition, const QString &titre, QString *erreur);

} // namespace talmer
