#include "windows/commun/recherche_entites.h"

#include "engine/segrep.h"
#include "platform/core/motif.h"

#include <algorithm>

namespace talmer {

std::int32_t NbSegmentsAttaches(const charg1 &base)
{
    const SegRep *segments = base.SegmentsAttaches();
    if (!segments)
        return 0;
    return std::min(segments->NbSegments(), base.NbFormSup());
}

Correspondances EntitesCorrespondantes(const charg1 &base, platform::Motif &motif)
{
    Correspondances resultat;
    ParcourtSujets(base, [&](std::int32_t n, std::string_view sujet) {
        switch (motif.Cherche(sujet)) {
        case platform::Motif::Resultat::Correspond:
            resultat.entites.push_back(n);
            break;
        case platform::Motif::Resultat::NeCorrespondPas:
            break;
        case platform::Motif::Resultat::Erreur:
            if (resultat.echecs++ == 0)
                resultat.messageEchec = motif.MessageDerniereErreur();
            break;
        }
    });
    return resultat;
}

} // namespace talmer
