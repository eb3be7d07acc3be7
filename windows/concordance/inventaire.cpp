#include "windows/concordance/inventaire.h"

#include "engine/charg1.h"
#include "services/utilitaires.h"
#include "windows/concordance/pages.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <numeric>

namespace talmer {

std::set<std::int32_t> DelimiteursInventaire(const charg1 &base, std::string_view caracteres)
{
    std::set<std::int32_t> delimiteurs;
    const std::int32_t debutPonct = base.Nbform();
    const std::int32_t finPonct = base.Nbform() + base.Nbartponct();
    for (char c : caracteres) {
        const char texte[2] = {c, '\0'};
        if (c == '\0')
            continue;
        const std::int32_t n = base.LocFormDic(texte, true);
        if (n >= debutPonct && n < finPonct)
            delimiteurs.insert(n);
    }
    return delimiteurs;
}

std::vector<Segment> InventaireDistributionnel(const charg1 &base, const std::vector<std::int32_t> &positions,
                                               const std::set<std::int32_t> &delimiteurs)
{
    using Sequence = std::array<std::int32_t, SegRep::TailleSequence>;
    SegRep segments(const_cast<charg1 *>(&base), delimiteurs);
    segments.SetFreqMin(2);

    std::vector<std::int32_t> occ(positions);
    std::sort(occ.begin(), occ.end());
    occ.erase(std::unique(occ.begin(), occ.end()), occ.end());
    const std::int32_t n = static_cast<std::int32_t>(occ.size());
    if (n == 0)
        return {};

    // The sequence read at each occurrence: slot 1 is the group's item at the position; a
    // punctuation mark or key there is followed by the forms read after it.
    std::vector<Sequence> sequences(occ.size());
    for (std::size_t i = 0; i < occ.size(); ++i) {
        Sequence &s = sequences[i];
        segments.LectSeg(s.data(), occ[i]);
        const std::int32_t item = base.Tnum(occ[i]);
        if (item < 0 || item >= base.Nbform()) {
            Sequence suite;
            segments.LectSeg(suite.data(), occ[i] + 1);
            s[1] = item;
            std::copy(suite.begin() + 1, suite.end() - 1, s.begin() + 2);
        }
    }

    // Occurrences that share their first k items stand together for every k: a total order on
    // the sequences (the filler after every item), ties in text order. The order of the emitted
    // segments does not matter: they are sorted alphabetically afterwards.
    std::vector<std::int32_t> ordre(occ.size());
    std::iota(ordre.begin(), ordre.end(), 0);
    std::stable_sort(ordre.begin(), ordre.end(), [&](std::int32_t a, std::int32_t b) {
        const Sequence &sa = sequences[static_cast<std::size_t>(a)];
        const Sequence &sb = sequences[static_cast<std::size_t>(b)];
        return std::lexicographical_compare(sa.begin() + 1, sa.end(), sb.begin() + 1, sb.end());
    });
    std::vector<std::int32_t> triees(occ.size());
    for (std::size_t i = 0; i < ordre.size(); ++i)
        triees[i] = occ[static_cast<std::size_t>(ordre[i])];
    auto seq = [&](std::int32_t m) { return sequences[static_cast<std::size_t>(ordre[static_cast<std::size_t>(m)])].data(); };

    // The runs of equal prefixes, closed as the next occurrence departs from them.
    std::vector<Segment> resultat;
    SegRep::EtatRuns etat;
    const std::int32_t *s0 = seq(0);
    for (int k = 1; k <= SegRep::LongueurMax; ++k) {
        if (s0[k] == SegRep::Bourrage) {
            etat.count[k] = 0;
            etat.leftmark[k] = SegRep::Bourrage;
        } else {
            etat.count[k] = 1;
            etat.start[k] = 0;
            etat.leftmark[k] = s0[0];
        }
    }
    for (std::int32_t m = 1; m < n; ++m) {
        const std::int32_t *s = seq(m - 1);
        const std::int32_t *s2 = seq(m);
        int j = 1;
        while (j < SegRep::TailleSequence && s[j] == s2[j] && s2[j] != SegRep::Bourrage)
            ++j;
        for (int k = 1; k < j; ++k) {
            ++etat.count[k];
            if (etat.leftmark[k] != s2[0])
                etat.leftmark[k] = SegRep::Bourrage;
        }
        std::vector<Segment> emis = segments.EdiSeg(j, etat, triees.data(), m, s, s2);
        resultat.insert(resultat.end(), emis.begin(), emis.end());
    }
    Sequence fin;
    fin.fill(SegRep::Bourrage);
    std::vector<Segment> emis = segments.EdiSeg(1, etat, triees.data(), n, seq(n - 1), fin.data());
    resultat.insert(resultat.end(), emis.begin(), emis.end());

    segments.Segments() = std::move(resultat);
    segments.TriAlpha();
    return std::move(segments.Segments());
}

std::string LigneInventaire(const charg1 &base, const Segment &segment)
{
    const int n = static_cast<int>(segment.Formes.size());
    const int d = std::max(7 - n, 1);
    std::string ligne;
    for (int i = 0; i < 5 - d; ++i)
        ligne += "     ";
    char frequence[16];
    std::snprintf(frequence, sizeof frequence, "%4d", static_cast<int>(segment.Frq));
    ligne += frequence;
    for (int i = 0; i < d; ++i)
        ligne += " ----";
    ligne += ' ';
    ligne += "&nbsp;<span class=\"tgenstyle\">";
    if (!segment.Formes.empty())
        ligne += EchappeTexte(base.RetourneGraphie(segment.Formes.front(), false));
    ligne += "</span>&nbsp;";
    for (std::size_t i = 1; i < segment.Formes.size(); ++i) {
        ligne += EchappeTexte(base.RetourneGraphie(segment.Formes[i], false));
        ligne += ' ';
    }
    ligne += '\n';
    return ligne;
}

std::string PageInventaire(const charg1 &base, const std::vector<Segment> &segments, const Entete &e,
                           std::string_view titre)
{
    std::string page = EnteteHtml(e);
    page += titre;
    for (const Segment &s : segments)
        page += LigneInventaire(base, s);
    page += FinHtml();
    return page;
}

} // namespace talmer
