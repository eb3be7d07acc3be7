// Cutting a large HTML page into parts that a text widget can lay out quickly: every part is
// shown as the page's head, a run of its body and the page's end, so each part is a page of its
// own with the same style sheet.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace talmer {

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

// Cuts `page` into parts of at least `taillePartie` bytes of body each (the last may be
// shorter). A part only ends where no element is open (after a tag that leaves the nesting
// depth at zero, or after a blank outside any element), never inside a tag, a comment, an
// attribute or a character reference; a page whose elements stay open is not cut there. A page
// without a <body> tag, or no larger than taillePartie, is one part (then finEntete is 0 and
// debutFin the page's size when there is no body).
DecoupageHtml DecoupeHtml(std::string_view page, std::size_t taillePartie);

} // namespace talmer
