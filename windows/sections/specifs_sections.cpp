#include "windows/sections/specifs_sections.h"

#include "engine/charg1.h"
#include "engine/section.h"
#include "engine/segrep.h"
#include "engine/specificite.h"

#include <algorithm>

namespace talmer {

SpecifsSections CalculeSpecifsSections(const charg1 &base, const Section &section, const std::vector<char> &cible,
                                       const ParametresSpecifsSections &p, FnProgression pas)
{
    SpecifsSections r;
    const std::int32_t n = std::min<std::int32_t>(section.NbSections(), static_cast<std::int32_t>(cible.size()));
    for (std::int32_t s = 0; s < n; ++s) {
        if (cible[static_cast<std::size_t>(s)]) {
            ++r.nbSections;
            r.t += section.NbOcc(s);
        }
    }
    if (r.t == 0)
        return r;

    double T = base.Nbocc();
    double t = r.t;
    if (p.etiquettes > 1) {
        T = static_cast<std::int32_t>(T / p.etiquettes);
        t = static_cast<std::int32_t>(t / p.etiquettes);
    }
    const double seuil = p.seuilPourcent * 0.01;

    // Sub-frequencies of every form in one walk over the target sections.
    std::vector<std::int32_t> sousFrq(static_cast<std::size_t>(std::max<std::int32_t>(base.Nbform(), 0)), 0);
    for (std::int32_t s = 0; s < n; ++s) {
        if (!cible[static_cast<std::size_t>(s)])
            continue;
        const std::int32_t fin = section.Debut(s + 1);
        VeilleBoucle veille;
        for (std::int32_t q = section.Debut(s); q < fin; ++q) {
            veille.Avance();
            const std::int32_t e = base.Tnum(q);
            if (e >= 0 && e < base.Nbform())
                ++sousFrq[static_cast<std::size_t>(e)];
        }
    }
    PasCentiemes progressionFormes(pas, base.Nbform(), 0);
    for (std::int32_t e = 0; e < base.Nbform(); ++e) {
        progressionFormes.Avance();
        const std::int32_t F = base.RetourneLexm(e).Frq;
        if (F < p.freqMin)
            continue;
        const std::int32_t f = sousFrq[static_cast<std::size_t>(e)];
        const std::int32_t c = CalcSpecifEntier(T, t, F, f, seuil);
        if (c != 0)
            r.lignes.push_back({e, F, f, c});
    }

    if (const SegRep *segments = base.SegmentsAttaches()) {
        const std::vector<std::int32_t> &debuts = section.Debuts();
        PasCentiemes progressionSegments(pas, segments->NbSegments(), 1);
        for (std::int32_t k = 0; k < segments->NbSegments(); ++k) {
            progressionSegments.Avance();
            Veille();
            const std::int32_t F = segments->Segments()[static_cast<std::size_t>(k)].Frq;
            if (F < p.freqMin)
                continue;
            const std::int32_t e = base.Nbart() + 1 + k;
            std::int32_t f = 0;
            for (std::int32_t q : base.LocOccFor(e)) {
                // The section holding q: the last start at or before it.
                const auto it = std::upper_bound(debuts.begin(), debuts.end(), q);
                const std::int32_t s = static_cast<std::int32_t>(it - debuts.begin()) - 1;
                if (s >= 0 && s < n && cible[static_cast<std::size_t>(s)])
                    ++f;
            }
            const std::int32_t c = CalcSpecifEntier(T, t, F, f, seuil);
            if (c != 0)
                r.lignes.push_back({e, F, f, c});
        }
    }
    std::stable_sort(r.lignes.begin(), r.lignes.end(),
                     [](const StructSpec &a, const StructSpec &b) { return a.Coef > b.Coef; });
    return r;
}

} // namespace talmer
