// The report pages of the partition statistics window: the counts per part ("pclc") and the
// table of forms by parts with its coefficients ("tfg"), each as an HTML page and an XML fragment
// for the report's XML document.
//
// Texts are 8-bit in the display code page; every text taken from the base is escaped (in element
// content & < >, in attribute values also "), and each page declares its character set.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class CalcSpecTot;
class Partition;
class Rapport;
class QString;

namespace talmer {

class FrequencesParties;

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
// The rows in their display order, with the coefficients of the last run (none when null).
DonneesTFG DonneesTFGDe(const Partition &partition, const std::vector<std::int32_t> &lignes,
                        const CalcSpecTot *calcul, const FrequencesParties &frequences, std::string titre,
                        std::string charset);

std::string PagePCLCHtml(const DonneesPCLC &d);
std::string PagePCLCXml(const DonneesPCLC &d);
std::string PageTFGHtml(const DonneesTFG &d);
std::string PageTFGXml(const DonneesTFG &d);

// A base name for an item of the report that no file of its temporary folder bears yet: `racine`
// itself, else racine + "_2", "_3"... (racine comes from NomDeFichierSur, which never leaves a
// bare "_", so no other key's name can be met this way).
QString NomElementLibre(const Rapport &rapport, const std::string &racine);

// Writes bytes under a temporary name in the same folder and renames it when complete; false,
// with the reason in French in *erreur, on failure (nothing is left behind then).
bool EcritFichierRapport(const QString &chemin, const std::string &octets, QString *erreur);

// Writes N.html and N.xml (N from the prefix "pclc" or "tfg" and the key) in the report's
// temporary folder and adds the item with the caption `titre` (the window's plain caption,
// escaped for the index); false, with the reason in *erreur, when a file could not be written
// (nothing is added then).
bool AjoutePagesAuRapport(Rapport &rapport, const char *prefixe, const std::string &cle, const QString &titre,
                          const std::string &html, const std::string &xml, QString *erreur);

} // namespace talmer

namespace talmer {

// The counts page of the partition and its fragment, added to the report with the caption
// `titre` (the statistics window's caption).
bool ExportePCLC(Rapport &rapport, const Partition &partition, const QString &titre, QString *erreur);

} // namespace talmer
