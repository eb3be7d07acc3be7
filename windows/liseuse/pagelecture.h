// The reading page: the whole text of a base as one HTML page, every form and punctuation mark
// in text order, each key marker as a tag "<type=value>", each line break as a break, and the
// occurrences of a group in bold in the group's colour.
#pragma once

#include "windows/commun/decoupagehtml.h"

#include <QString>

#include <functional>
#include <string>

class charg1;
class Tgen;

namespace talmer {

struct ParametresPage {
    std::string charset = "windows-1252"; // declared in the page's head
    std::string direction = "LTR";        // "LTR" or "RTL"
    // Bytes of body per part of the page's cutting (see DecoupeHtml).
    std::size_t taillePartie = TaillePartieHtml;
    // Bytes gathered before they are handed over.
    std::size_t seuilVidage = 1 << 20;
};

// Writes the page in one pass over the text. The bytes gather in `tampon`; each time it passes
// `seuilVidage` bytes, and once at the end, `vide` is called to take them (and empty the buffer).
// With `decoupage`, the page is cut into parts as it is written, exactly as DecoupeHtml would cut
// the whole page into parts of `taillePartie`: a view can then go to any part at once, and tell
// how many there are, without reading the page. False when `vide` returned false (the writing
// stops there; the cutting is then incomplete).
bool ProduitPageLecture(const charg1 &base, const Tgen *groupe, const ParametresPage &parametres,
                        std::string &tampon, const std::function<bool(std::string &)> &vide,
                        DecoupageHtml *decoupage = nullptr);

// The whole page in memory.
std::string PageLecture(const charg1 &base, const Tgen *groupe, const ParametresPage &parametres);

// Writes the page to a file (created or emptied), cut into parts in *decoupage when given.
// False, with the reason in French in *erreur, when the file cannot be written.
bool EcritPageLecture(const charg1 &base, const Tgen *groupe, const ParametresPage &parametres,
                      const QString &chemin, QString *erreur = nullptr, DecoupageHtml *decoupage = nullptr);

} // namespace talmer
