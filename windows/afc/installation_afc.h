// Installs the correspondence analysis behind the partition statistics window's "AFC" button.
#pragma once

namespace talmer {

void InstalleAFC();

} // namespace talmer
