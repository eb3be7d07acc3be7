// Installs the concordance window on the main window: its "Concordances et inventaires
// distributionnels" command.
#pragma once

class TFenPrinc;

namespace talmer {

void InstalleConcordance(TFenPrinc &fenPrinc);

} // namespace talmer
