#include "windows/segments/ordre_segments.h"

#include "engine/charg1.h"
#include "services/affichage.h"
#include "services/utilitaires.h"

#include <QLocale>

#include <algorithm>

namespace talmer {

SeuilsPrepSR SeuilsSegments(std::int32_t fmax)
{
    SeuilsPrepSR s;
    if (fmax < 2) {
        // A spin box cannot run from 2 to less than 2: keep the designed range, and say why
        // nothing can be computed.
        s.possible = false;
        return s;
    }
    s.valeur = std::min(s.valeur, fmax);
    s.maximum = fmax;
    return s;
}

OrdreSR OrdreDeColonne(int colonne)
{
    if (colonne == 0)
        return OrdreSR::Longueur;
    if (colonne == 1)
        return OrdreSR::Alphabetique;
    return OrdreSR::Frequence;
}

void TrieOrdre(std::vector<std::int32_t> &ordre, const std::vector<Segment> &segments,
               const charg1 *base, OrdreSR critere)
{
    const auto n = static_cast<std::int32_t>(segments.size());
    // An index that names no segment goes to the end, in its place.
    auto valide = [n](std::int32_t s) { return s >= 0 && s < n; };
    auto seg = [&segments](std::int32_t s) -> const Segment & { return segments[static_cast<std::size_t>(s)]; };
    switch (critere) {
    case OrdreSR::Longueur:
        std::stable_sort(ordre.begin(), ordre.end(), [&](std::int32_t a, std::int32_t b) {
            if (!valide(a) || !valide(b))
                return valide(a) && !valide(b);
            return seg(a).Formes.size() < seg(b).Formes.size();
        });
        break;
    case OrdreSR::Frequence:
        std::stable_sort(ordre.begin(), ordre.end(), [&](std::int32_t a, std::int32_t b) {
            if (!valide(a) || !valide(b))
                return valide(a) && !valide(b);
            return seg(a).Frq > seg(b).Frq;
        });
        break;
    case OrdreSR::Alphabetique: {
        // The alphabetical index of every form is read once per form, not once per comparison.
        auto rang = [base](std::int32_t forme) { return base ? base->Lexg(forme) : forme; };
        std::vector<std::vector<std::int32_t>> rangs(segments.size());
        for (std::int32_t s : ordre) {
            if (!valide(s) || !rangs[static_cast<std::size_t>(s)].empty())
                continue;
            auto &r = rangs[static_cast<std::size_t>(s)];
            for (std::int32_t f : seg(s).Formes)
                r.push_back(rang(f));
        }
        std::stable_sort(ordre.begin(), ordre.end(), [&](std::int32_t a, std::int32_t b) {
            if (!valide(a) || !valide(b))
                return valide(a) && !valide(b);
            // Lexicographic on the indexes: a proper prefix comes first, equal lists are equal.
            const auto &ra = rangs[static_cast<std::size_t>(a)];
            const auto &rb = rangs[static_cast<std::size_t>(b)];
            return std::lexicographical_compare(ra.begin(), ra.end(), rb.begin(), rb.end());
        });
        break;
    }
    }
}

std::string TexteSegment(const Segment &segment, const charg1 *base)
{
    std::string texte;
    for (std::int32_t f : segment.Formes) {
        if (base)
            texte += base->RetourneGraphie(f, false);
        texte += ' ';
    }
    return texte;
}

std::string DateDePage(const QDateTime &moment)
{
    const QLocale francais(QLocale::French, QLocale::France);
    return EnCodePageTexteHtml(francais.toString(moment.date(), QStringLiteral("dddd d MMMM yyyy")) +
                               QStringLiteral(" - ") + moment.time().toString(QStringLiteral("hh:mm")));
}

std::string PageSegments(const std::vector<Segment> &segments, const charg1 &base, std::string_view titre,
                         std::string_view charset, std::string_view date)
{
    std::string page;
    page.reserve(200 + segments.size() * 64);
    page += "<html>\n<head><meta http-equiv=\"Content-Type\" content=\"text/html;charset=";
    page += charset;
    page += "\" />";
    page += "<title>";
    page += titre;
    page += "</title></head>\n<body bgcolor=#ffffff>\n";
    page += "<table><tr><td>Corpus :";
    page += EchappeTexte(base.NomBase());
    page += "</td>\n";
    page += "<td>Date :";
    page += date;
    page += "</td>\n";
    page += "</tr></table>";
    page += titre;
    page += "<br>\n<table border=1><font size=-2>\n<tr><td>Longueur</td><td>Segment</td><td>";
    page += EnCodePageHtml(QStringLiteral("Fréquence"));
    page += "</td>";
    for (const Segment &s : segments) {
        page += "<tr><td align=right>";
        page += std::to_string(s.Formes.size());
        page += "<td>";
        page += EchappeTexte(TexteSegment(s, &base));
        page += "<td align=right>";
        page += std::to_string(s.Frq);
        page += "\n";
    }
    page += "</tr></font></table>\n</body>\n</html>";
    return page;
}

} // namespace talmer
