// The Zipf and growth windows that the partition statistics window opens.
#pragma once

namespace talmer {

void InstalleCourbes();

} // namespace talmer
