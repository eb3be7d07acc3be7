#include "windows/sections/installation_sections.h"

#include "shell/fenprinc.h"
#include "windows/sections/dialogues_carte.h"
#include "windows/sections/fenchoixdelim.h"

namespace talmer {

void InstalleSections(TFenPrinc &fenPrinc)
{
    fenPrinc.Fabriques().carteSections = CarteSections;
    CreeParamCarte(&fenPrinc);
}

} // namespace talmer
