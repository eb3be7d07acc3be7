// Handing a window the spelling of a form, which it takes as a one-form group: a plain call on
// the windows that offer it (the main window's group container, the section map, the
// distribution graph, the concordance, the group-of-forms search).
#pragma once

#include <cstdint>
#include <string_view>

class QObject;
class charg1;

namespace talmer {

class RecepteurForme {
public:
    virtual ~RecepteurForme() = default;
    // graphie: 8-bit text of the display code page. Blanks and control characters at both ends
    // are ignored; a text that is no form of the window's base changes nothing.
    virtual void DeposeForme(std::string_view graphie) = 0;
};

// The entity a handed spelling names among the forms and punctuation of the base, once blanks and
// control characters are trimmed at both ends; -1 when none.
std::int32_t EntiteDeGraphie(const charg1 &base, std::string_view graphie);

// Hands the spelling to `fenetre` when it takes forms; false when it does not.
bool EnvoieForme(QObject *fenetre, std::string_view graphie);

} // namespace talmer
