#include "windows/sections/installation_sections.h"

#include "engine/primspec.h"
#include "shell/fenprinc.h"
#include "windows/sections/dialogues_carte.h"
#include "windows/sections/fenchoixdelim.h"
#include "windows/sections/fencarteparag.h"
#include "windows/specificites/fenspecgrp.h"

#include <string>

namespace talmer {

void InstalleSections(TFenPrinc &fenPrinc)
{
    fenPrinc.Fabriques().carteSections = CarteSections;
    CreeParamCarte(&fenPrinc);
    FabriqueSpecifsSections() = [](TFenPrinc *, charg1 &base, std::vector<StructSpec> lignes, std::int32_t nbSections) {
        auto *liste = new TFenSpecGrp(nullptr, &base, std::move(lignes));
        liste->FixeLibelles(QString::number(nbSections) + QStringLiteral(" sections"), QString());
        liste->Affiche();
    };
}

} // namespace talmer
