// Text of the corpus inserted into a generated page as element content: & < > become character
// references, every other byte (code page unchanged) is copied.
#pragma once

#include <string>
#include <string_view>

namespace talmer {

inline void AjouteTexteEchappe(std::string &sortie, std::string_view texte)
{
    for (const char c : texte) {
        switch (c) {
        case '&': sortie += "&amp;"; break;
        case '<': sortie += "&lt;"; break;
        case '>': sortie += "&gt;"; break;
        default: sortie += c; break;
        }
    }
}

} // namespace talmer
