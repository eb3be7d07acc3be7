// Cutting a large HTML page into parts that a text widget can lay out quickly: every part is
// shown as the page's head, a run of its body and the page's end, so each part is a page of its
// own with the same style sheet.
//
// A part only ends where no element is open (after a tag that leaves the nesting depth at zero,
// or after a blank outside any element), never inside a tag, a comment, an attribute or a
// character reference. So each part starts at depth zero, and the parts can be found one after
// the other, reading only as far as the one wanted.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace talmer {

// Bytes of body per part when a page is shown in parts: a text widget lays out that much at once
// in a fraction of a second.
inline constexpr std::size_t TaillePartieHtml = 128 * 1024;

// The offset right after the <body ...> tag found in `debutPage` (the first bytes of a page),
// npos when that tag is not there whole.
std::size_t FinEnteteHtml(std::string_view debutPage);

// The offset in `finPage` (the last bytes of a page) of the last "</body" (any case), npos when
// there is none.
std::size_t DebutFinHtml(std::string_view finPage);

// `corps`: body bytes from the start of a part (depth zero there) onwards. The length of the part:
// the first place at or after `taillePartie` bytes where the part may end, strictly inside
// `corps`; npos when there is none there (the part runs further, or to the end of the body).
std::size_t LongueurPartie(std::string_view corps, std::size_t taillePartie);

struct DecoupageHtml {
    // Bytes [0, finEntete): everything up to and including the <body ...> tag.
    std::size_t finEntete = 0;
    // Bytes [debutFin, size): from the last "</body" on (the page's size when there is none).
    std::size_t debutFin = 0;
    // Where each part of the body starts, ascending, the first being finEntete; part k runs up
    // to the start of part k+1, the last one up to debutFin. Never empty.
    std::vector<std::size_t> debuts;

    std::size_t NbParties() const { return debuts.size(); }
    std::size_t DebutPartie(std::size_t k) const { return debuts[k]; }
    std::size_t FinPartie(std::size_t k) const { return k + 1 < debuts.size() ? debuts[k + 1] : debutFin; }
};

// The whole page cut into parts of at least `taillePartie` bytes of body each (the last may be
// shorter). A page without a <body> tag is one part with finEntete 0 and debutFin its size.
DecoupageHtml DecoupeHtml(std::string_view page, std::size_t taillePartie);

} // namespace talmer
