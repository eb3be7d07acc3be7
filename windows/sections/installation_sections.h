// Installs the section map: the main window's "Carte des sections" command and the settings
// popup of the maps, which lives for the whole run.
#pragma once

class TFenPrinc;

namespace talmer {

void InstalleSections(TFenPrinc &fenPrinc);

} // namespace talmer
