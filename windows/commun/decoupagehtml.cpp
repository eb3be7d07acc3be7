#include "windows/commun/decoupagehtml.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string>

namespace talmer {

namespace {

char Minuscule(char c)
{
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

// First (or last) position of `motif` (lower case) in `texte` from `debut`, ignoring case.
std::size_t Cherche(std::string_view texte, std::string_view motif, std::size_t debut, bool dernier)
{
    const auto egal = [](char a, char b) { return Minuscule(a) == b; };
    if (debut > texte.size())
        return std::string_view::npos;
    const auto zone = texte.substr(debut);
    if (dernier) {
        const auto it = std::find_end(zone.begin(), zone.end(), motif.begin(), motif.end(), egal);
        return it == zone.end() ? std::string_view::npos : debut + static_cast<std::size_t>(it - zone.begin());
    }
    const auto it = std::search(zone.begin(), zone.end(), motif.begin(), motif.end(), egal);
    return it == zone.end() ? std::string_view::npos : debut + static_cast<std::size_t>(it - zone.begin());
}

// Elements that never hold content, so open no nesting level even when written "<br>".
bool ElementVide(const std::string &nom)
{
    static const std::array<const char *, 14> vides = {"area", "base", "br", "col", "embed", "hr", "img",
                                                       "input", "link", "meta", "param", "source", "track", "wbr"};
    return std::any_of(vides.begin(), vides.end(), [&](const char *v) { return nom == v; });
}

bool Blanc(char c)
{
    return c == ' ' || c == '\n' || c == '\r' || c == '\t';
}

} // namespace

DecoupageHtml DecoupeHtml(std::string_view page, std::size_t taillePartie)
{
    DecoupageHtml d;
    d.debutFin = page.size();
    std::size_t corps = Cherche(page, "<body", 0, false);
    if (corps != std::string_view::npos) {
        // The body tag ends at its '>' (attribute values in quotes may hold one).
        char guillemet = 0;
        std::size_t i = corps + 5;
        for (; i < page.size(); ++i) {
            const char c = page[i];
            if (guillemet) {
                if (c == guillemet)
                    guillemet = 0;
            } else if (c == '"' || c == '\'') {
                guillemet = c;
            } else if (c == '>') {
                break;
            }
        }
        if (i >= page.size())
            corps = std::string_view::npos;
        else
            d.finEntete = i + 1;
    }
    if (corps == std::string_view::npos) {
        d.debuts.push_back(0);
        return d;
    }
    const std::size_t fin = Cherche(page, "</body", d.finEntete, true);
    if (fin != std::string_view::npos)
        d.debutFin = fin;
    d.debuts.push_back(d.finEntete);
    if (taillePartie == 0)
        taillePartie = 1;
    if (d.debutFin - d.finEntete <= taillePartie)
        return d;

    int profondeur = 0;
    std::size_t i = d.finEntete;
    const auto coupePossible = [&](std::size_t p) {
        if (profondeur == 0 && p < d.debutFin && p - d.debuts.back() >= taillePartie)
            d.debuts.push_back(p);
    };
    while (i < d.debutFin) {
        const char c = page[i];
        if (c != '<') {
            ++i;
            if (Blanc(c))
                coupePossible(i);
            continue;
        }
        if (page.substr(i, 4) == "<!--") {
            const std::size_t f = page.find("-->", i + 4);
            i = f == std::string_view::npos || f + 3 > d.debutFin ? d.debutFin : f + 3;
            coupePossible(i);
            continue;
        }
        std::size_t k = i + 1;
        const bool fermante = k < d.debutFin && page[k] == '/';
        if (fermante)
            ++k;
        std::string nom;
        while (k < d.debutFin && std::isalnum(static_cast<unsigned char>(page[k])))
            nom += Minuscule(page[k++]);
        char guillemet = 0;
        for (; k < d.debutFin; ++k) {
            const char ck = page[k];
            if (guillemet) {
                if (ck == guillemet)
                    guillemet = 0;
            } else if (ck == '"' || ck == '\'') {
                guillemet = ck;
            } else if (ck == '>') {
                break;
            }
        }
        if (k >= d.debutFin)
            break; // a tag left open runs to the end: no cut inside it
        const bool autoFermante = page[k - 1] == '/';
        if (nom.empty()) {
            // "<!DOCTYPE", "<?...": no element
        } else if (fermante) {
            profondeur = std::max(0, profondeur - 1);
        } else if (!autoFermante && !ElementVide(nom)) {
            ++profondeur;
        }
        i = k + 1;
        coupePossible(i);
    }
    return d;
}

} // namespace talmer
