// The reading page: the whole text of a base as one HTML page, every form and punctuation mark
// in text order, each key marker as a tag "<type=value>", each line break as a break, and the
// occurrences of a group in bold in the group's colour.
#pragma once

#include <QString>

#include <functional>
#include <string>

class charg1;
class Tgen;

namespace talmer {

struct ParametresPage {
    std::string charset = "windows-1252"; // declared in the page's head
    std::string direction = "LTR";        // "LTR" or "RTL"
};

// Writes the page in one pass over the text. The bytes gather in `tampon`; each time it passes
// about one megabyte, and once at the end, `vide` is called to take them (and empty the buffer).
// False when `vide` returned false (the writing stops there).
bool ProduitPageLecture(const charg1 &base, const Tgen *groupe, const ParametresPage &parametres,
                        std::string &tampon, const std::function<bool(std::string &)> &vide);

// The whole page in memory.
std::string PageLecture(const charg1 &base, const Tgen *groupe, const ParametresPage &parametres);

// Writes the page to a file (created or emptied). False, with the reason in French in *erreur,
// when the file cannot be written.
bool EcritPageLecture(const charg1 &base, const Tgen *groupe, const ParametresPage &parametres,
                      const QString &chemin, QString *erreur = nullptr);

} // namespace talmer
