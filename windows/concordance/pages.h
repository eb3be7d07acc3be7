// What the concordance window writes, apart from how it shows it: the context of each occurrence
// cut to the chosen length, the order of the occurrences, the HTML page (whole, or one page of
// lines at a time for the screen), the report page and its XML fragment.
//
// Texts are 8-bit bytes of the display code page, as the base stores them; everything inserted
// into markup (spellings, names, the base name, keys) is escaped after the contexts are cut, so a
// cut never falls inside a character reference.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class charg1;
class Partition;

namespace talmer {

// One occurrence in context, as raw bytes (not escaped).
struct Contexte {
    std::string gauche; // exactly N bytes: cut at its start or padded with blanks in front
    std::string pole;   // the spelling at the position (any entity)
    std::string droite; // whole words, each followed by a blank, up to N bytes or a little more
};

// True for the double-byte code pages (932, 936, 949, 950), whose characters may take two bytes.
bool CodePageDoubleOctet(std::string_view codePage);

// The context of the occurrence at position p0 with contexts of n bytes. In a double-byte code
// page the left context is cut on a character boundary (then padded with one more blank), never
// between the two bytes of a character.
Contexte ContexteOccurrence(const charg1 &base, std::int32_t p0, std::int32_t n, std::string_view codePage);

// left + "&nbsp;<span class=\"tgenstyle\">" + pole + "</span>&nbsp;" + right + "\n", escaped.
std::string LigneHtml(const Contexte &c);
// "<ligContConcordance><contexte>" left "</contexte><pole>" pole "</pole><contexte>" right
// "</contexte></ligContConcordance>\n", escaped.
std::string LigneXml(const Contexte &c);

// The order note and head of a page.
struct Entete {
    std::string charset = "windows-1252"; // ConfigurationDeFonte::GetHtmlCharset
    std::string direction = "LTR";
    std::string couleur = "#000000";      // the group's colour as "#rrggbb"
    bool avecEntete = false;              // the report page's heading, base name and date
    std::string titreFenetre;             // heading, HTML (EnCodePageTexteHtml), written as given
    std::string nomBase;                  // (display code page; escaped when written)
    std::string date;                     // as DateDePage gives it (HTML), written as given
    std::string partition;                // spelling of the grouping key, "" for none
};
// The head of every page of the window, up to and including "<pre><font size=2>".
std::string EnteteHtml(const Entete &e);
// "</font></pre></body></html>".
std::string FinHtml();
// "<br> (tri avant)<br><br>\n" and the like, for a sort direction -1, 0 or +1.
std::string NoteTri(int sens);

// The occurrences of a group in the order the page shows them.
class Concordance {
public:
    // positions: the group's occurrences in any order, possibly several times (a form and a
    // segment that begins with it); each position is kept once.
    Concordance(const charg1 &base, const std::vector<std::int32_t> &positions);

    // -1: by left context read leftward; +1: by right context; 0: text order.
    void Trie(int sens);
    int Sens() const { return sens_; }
    const std::vector<std::int32_t> &Occurrences() const { return occurrences_; }
    std::int32_t NbOccurrences() const { return static_cast<std::int32_t>(occurrences_.size()); }

    // The lines as shown: without a partition, every occurrence in order; with one, part by part
    // in the partition's order, each part's occurrences in the current order behind a heading,
    // the parts without occurrence left out, and occurrences outside every part (the text before
    // the first key marker) not shown. Computed by Regroupe.
    struct Ligne {
        std::int32_t position = 0;
        std::int32_t partie = -1;  // -1 without grouping
    };
    void Regroupe(const Partition *partition);
    const std::vector<Ligne> &Lignes() const { return lignes_; }
    // Occurrences of part k shown (the heading's count); 0 without grouping.
    std::int32_t NbDansPartie(std::int32_t k) const;
    const Partition *Groupement() const { return partition_; }

private:
    const charg1 &base_;
    std::vector<std::int32_t> occurrences_;
    std::vector<Ligne> lignes_;
    std::vector<std::int32_t> parPartie_;
    const Partition *partition_ = nullptr;
    int sens_ = 0;
};

// The part of position p as the partition counts its groups: the part of the zone that holds it,
// -1 before the first key marker or outside the text.
std::int32_t PartieDeGroupe(const Partition &partition, std::int32_t p);

// Writes lines [debut, fin) of the concordance's shown lines, with the part headings: a heading
// stands before the first line of its part in the range.
void EcritLignes(std::string &sortie, const charg1 &base, const Concordance &c, std::size_t debut, std::size_t fin,
                 std::int32_t longueur, std::string_view codePage);

// The whole page: head, title (written as given), order note (with the heading only), lines, end.
std::string PageConcordance(const charg1 &base, const Concordance &c, const Entete &e, std::string_view titre,
                            std::int32_t longueur, std::string_view codePage);
// Page k (from 0) of the screen: the head without heading and lignesParPage lines.
std::string PageEcran(const charg1 &base, const Concordance &c, const Entete &e, std::int32_t k,
                      std::int32_t lignesParPage, std::int32_t longueur, std::string_view codePage);
std::int32_t NbPagesEcran(const Concordance &c, std::int32_t lignesParPage);
// The report's XML fragment: every occurrence in the current order, whatever the grouping.
std::string FragmentXml(const charg1 &base, const Concordance &c, std::int32_t longueur, std::string_view codePage);

} // namespace talmer
