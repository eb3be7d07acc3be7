// What the repeated-segment windows compute without a screen: the thresholds of the set-up
// dialog, the display orders of the list and the bytes of the report page.
#pragma once

#include "engine/segrep.h"

#include <QDateTime>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class charg1;

namespace talmer {

// The segment threshold of the set-up dialog for a base whose highest form frequency is fmax.
struct SeuilsPrepSR {
    std::int32_t valeur = 10;
    std::int32_t minimum = 2;
    std::int32_t maximum = 10;
    // False when no form occurs twice: no sequence can repeat, so nothing can be computed.
    bool possible = true;
};
// The designed value and range (10, from 2 to 10), the value and the maximum lowered to fmax.
SeuilsPrepSR SeuilsSegments(std::int32_t fmax);

// The orders of the list, chosen by the column clicked.
enum class OrdreSR {
    Longueur,     // shorter first
    Alphabetique, // by the alphabetical indexes of the forms, then the shorter first
    Frequence,    // more frequent first
};
// Column 0 ("Lg") by length, 1 ("Segment") alphabetical, any other ("Frq") by frequency.
OrdreSR OrdreDeColonne(int colonne);

// Sorts the display order (indexes into `segments`) from its current arrangement; rows of equal
// keys keep their relative places, so sorting twice by the same column changes nothing. `base`
// gives the alphabetical indexes (entity numbers stand in for them without a base).
void TrieOrdre(std::vector<std::int32_t> &ordre, const std::vector<Segment> &segments,
               const charg1 *base, OrdreSR critere);

// The text of a segment: each form's spelling followed by one blank (8-bit).
std::string TexteSegment(const Segment &segment, const charg1 *base);

// The date of a report page, "jeudi 10 décembre 2026 - 16:05", as HTML in the display code page
// (a reference for a letter the code page lacks): written into a page as it stands.
std::string DateDePage(const QDateTime &moment);

// The report page of a segment list, every segment in the order of computation. Texts are 8-bit
// in the page's code page: `titre` the window's caption as HTML (EnCodePageTexteHtml), `charset`
// the HTML charset name, `date` as DateDePage gives it. Spellings and the base name are escaped.
std::string PageSegments(const std::vector<Segment> &segments, const charg1 &base, std::string_view titre,
                         std::string_view charset, std::string_view date);

} // namespace talmer
