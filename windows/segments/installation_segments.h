// The main window's repeated-segment command: the set-up dialog and the docked list.
#pragma once

class TFenPrinc;

namespace talmer {

void InstalleSegments(TFenPrinc &fenPrinc);

} // namespace talmer
