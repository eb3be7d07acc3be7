// Installs the group-of-forms window on the main window: its "Groupe de formes" command.
#pragma once

class TFenPrinc;

namespace talmer {

void InstalleGroupes(TFenPrinc &fenPrinc);

} // namespace talmer
