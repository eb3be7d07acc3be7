#include "windows/commun/decoupagehtml.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstring>

namespace talmer {

namespace {

char Minuscule(char c)
{
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

bool EgalSansCasse(std::string_view texte, std::size_t pos, std::string_view motifMinuscule)
{
    if (pos + motifMinuscule.size() > texte.size())
        return false;
    for (std::size_t i = 0; i < motifMinuscule.size(); ++i)
        if (Minuscule(texte[pos + i]) != motifMinuscule[i])
            return false;
    return true;
}

// Elements that never hold content, so open no nesting level even when written "<br>".
bool ElementVide(std::string_view nom)
{
    static const std::array<std::string_view, 14> vides = {"area", "base", "br", "col", "embed", "hr", "img",
                                                           "input", "link", "meta", "param", "source", "track", "wbr"};
    if (nom.size() > 6)
        return false;
    char minuscules[6];
    for (std::size_t i = 0; i < nom.size(); ++i)
        minuscules[i] = Minuscule(nom[i]);
    const std::string_view m(minuscules, nom.size());
    return std::any_of(vides.begin(), vides.end(), [&](std::string_view v) { return m == v; });
}

bool Blanc(char c)
{
    return c == ' ' || c == '\n' || c == '\r' || c == '\t';
}

// The '>' that closes the tag whose name ends before `k` (quoted attribute values may hold one);
// `fin` when the tag is not closed before it.
const char *FinDeBalise(const char *k, const char *fin)
{
    char guillemet = 0;
    for (; k < fin; ++k) {
        const char c = *k;
        if (guillemet) {
            if (c == guillemet)
                guillemet = 0;
        } else if (c == '"' || c == '\'') {
            guillemet = c;
        } else if (c == '>') {
            return k;
        }
    }
    return fin;
}

} // namespace

std::size_t FinEnteteHtml(std::string_view debutPage)
{
    for (std::size_t p = debutPage.find('<'); p != std::string_view::npos; p = debutPage.find('<', p + 1)) {
        if (!EgalSansCasse(debutPage, p, "<body"))
            continue;
        const char *fin = debutPage.data() + debutPage.size();
        const char *k = FinDeBalise(debutPage.data() + p + 5, fin);
        return k < fin ? static_cast<std::size_t>(k - debutPage.data()) + 1 : std::string_view::npos;
    }
    return std::string_view::npos;
}

std::size_t DebutFinHtml(std::string_view finPage)
{
    for (std::size_t p = finPage.rfind('<'); p != std::string_view::npos; p = p == 0 ? std::string_view::npos : finPage.rfind('<', p - 1))
        if (EgalSansCasse(finPage, p, "</body"))
            return p;
    return std::string_view::npos;
}

std::size_t LongueurPartie(std::string_view corps, std::size_t taillePartie)
{
    taillePartie = std::max<std::size_t>(taillePartie, 1);
    if (corps.size() <= taillePartie)
        return std::string_view::npos;
    int profondeur = 0;
    const char *const base = corps.data();
    const char *const fin = base + corps.size();
    const char *const seuil = base + taillePartie;
    const char *p = base;
    // A place where the part may end, once the nesting depth is known there.
    const auto possible = [&](const char *q) { return profondeur == 0 && q >= seuil && q < fin; };
    while (p < fin) {
        const char *tag = static_cast<const char *>(std::memchr(p, '<', static_cast<std::size_t>(fin - p)));
        if (!tag)
            tag = fin;
        // Text up to the tag: at depth zero, the part may end after a blank past the threshold.
        if (profondeur == 0 && tag >= seuil) {
            for (const char *q = std::max(p, seuil - 1); q < tag; ++q)
                if (Blanc(*q) && possible(q + 1))
                    return static_cast<std::size_t>(q + 1 - base);
        }
        p = tag;
        if (p >= fin)
            break;
        if (static_cast<std::size_t>(fin - p) >= 4 && std::memcmp(p, "<!--", 4) == 0) {
            const std::size_t f = corps.find("-->", static_cast<std::size_t>(p - base) + 4);
            if (f == std::string_view::npos)
                break;
            p = base + f + 3;
            if (possible(p))
                return static_cast<std::size_t>(p - base);
            continue;
        }
        const char *k = p + 1;
        const bool fermante = k < fin && *k == '/';
        if (fermante)
            ++k;
        const char *nom = k;
        while (k < fin && std::isalnum(static_cast<unsigned char>(*k)))
            ++k;
        const std::string_view nomVu(nom, static_cast<std::size_t>(k - nom));
        k = FinDeBalise(k, fin);
        if (k >= fin)
            break; // a tag left open runs past the end: no end inside it
        const bool autoFermante = k[-1] == '/';
        if (nomVu.empty()) {
            // "<!DOCTYPE", "<?...": no element
        } else if (fermante) {
            profondeur = std::max(0, profondeur - 1);
        } else if (!autoFermante && !ElementVide(nomVu)) {
            ++profondeur;
        }
        p = k + 1;
        if (possible(p))
            return static_cast<std::size_t>(p - base);
    }
    return std::string_view::npos;
}

DecoupageHtml DecoupeHtml(std::string_view page, std::size_t taillePartie)
{
    DecoupageHtml d;
    d.debutFin = page.size();
    const std::size_t entete = FinEnteteHtml(page);
    if (entete == std::string_view::npos) {
        d.debuts.push_back(0);
        return d;
    }
    d.finEntete = entete;
    const std::size_t fin = DebutFinHtml(page.substr(entete));
    if (fin != std::string_view::npos)
        d.debutFin = entete + fin;
    d.debuts.push_back(entete);
    for (;;) {
        const std::size_t debut = d.debuts.back();
        const std::size_t n = LongueurPartie(page.substr(debut, d.debutFin - debut), taillePartie);
        if (n == std::string_view::npos)
            break;
        d.debuts.push_back(debut + n);
    }
    return d;
}

} // namespace talmer
