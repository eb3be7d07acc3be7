#include "windows/sections/coloration.h"

#include "engine/section.h"
#include "engine/specificite.h"
#include "engine/tgen.h"

namespace talmer {

namespace {

// Calls f(s, count) for every section s holding count > 0 of the ascending positions.
template <class F>
void ParcourtSections(const Section &section, const std::vector<std::int32_t> &positions, F &&f)
{
    const std::vector<std::int32_t> &debuts = section.Debuts();
    const std::int32_t n = section.NbSections();
    std::size_t k = 0;
    for (std::int32_t s = 0; s < n && k < positions.size(); ++s) {
        const std::int32_t debut = debuts[static_cast<std::size_t>(s)];
        const std::int32_t fin = debuts[static_cast<std::size_t>(s) + 1];
        while (k < positions.size() && positions[k] < debut)
            ++k;
        std::int32_t compte = 0;
        while (k < positions.size() && positions[k] < fin) {
            ++compte;
            ++k;
        }
        if (compte > 0)
            f(s, compte);
    }
}

} // namespace

ColorationSections ColoreSections(const Section &section, const Tgen &groupe, std::int32_t nbOcc)
{
    const std::size_t n = static_cast<std::size_t>(section.NbSections());
    ColorationSections c;
    c.touche.assign(n, 0);
    c.specif.assign(n, 0);
    const double T = nbOcc;
    const double F = groupe.NbOcc();
    ParcourtSections(section, groupe.PositionsTriees(), [&](std::int32_t s, std::int32_t f) {
        c.touche[static_cast<std::size_t>(s)] = 1;
        c.specif[static_cast<std::size_t>(s)] = CalcSpecifEntier(T, section.NbOcc(s), F, f, 0.05);
    });
    return c;
}

std::vector<char> MarqueSections(const Section &section, const Tgen &groupe)
{
    std::vector<char> marque(static_cast<std::size_t>(section.NbSections()), 0);
    ParcourtSections(section, groupe.PositionsTriees(),
                     [&](std::int32_t s, std::int32_t) { marque[static_cast<std::size_t>(s)] = 1; });
    return marque;
}

} // namespace talmer
