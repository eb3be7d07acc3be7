// Installs the analysis windows on the main window: the factories its commands call, and the
// windows the partition statistics window opens.
#pragma once

class TFenPrinc;

namespace talmer {

void InstalleFenetres(TFenPrinc &fenPrinc);

} // namespace talmer
