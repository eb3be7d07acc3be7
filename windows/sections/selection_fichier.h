// The saved selection of sections "exportselec.xml" (one flag per section) and the trace
// "control.txt" written when such a file is loaded. Both are bytes of text-mode files: every line
// ends in CR LF.
#pragma once

#include <QString>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace talmer {

// The bytes of "exportselec.xml" for the flags of n sections (each 0 or 1).
std::string ExporteSelection(const std::vector<char> &drapeaux);

struct SelectionImportee {
    bool valide = false;
    QString erreur;                 // in French, when not valid
    QString avertissement;          // in French, when the file describes another number of sections
    std::string nom, type, couleur; // values read (ASCII)
    std::int32_t dimension = 0;
    std::int32_t freq = 0;
    std::vector<char> selection;    // n flags: the sections selected by the file and the offsets
    std::string trace;              // the bytes of "control.txt"
};

// Reads a saved selection for a map of n sections: every section whose flag is 1 selects itself
// shifted by each offset. The file is read to its own dimension d; only the sections 0 to
// min(d, n) - 1 are marked and traced, and a file of another dimension is taken with a warning
// that says both numbers. The whole file is checked first (its lines, each value's length, its d
// flags and the end of the file); a file that is not whole is refused (valide false) with a
// message.
SelectionImportee ImporteSelection(std::string_view octets, std::int32_t n, const std::vector<int> &decalages);

// The file names, in the current directory.
QString FichierSelection();   // "exportselec.xml"
QString FichierControle();    // "control.txt"

// Writes bytes to the file under a temporary name, then renames it; false with the reason in
// French in *erreur.
bool EcritFichierTexte(const QString &chemin, const std::string &octets, QString *erreur);

} // namespace talmer
