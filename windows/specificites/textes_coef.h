// How a specificity coefficient is written. The table of forms by parts and every page of the
// partition statistics signs positive values and hides magnitudes beyond 50; the specificity
// list shows no sign and hides them from 50 on (its page only beyond 50).
#pragma once

#include <cstdint>
#include <string>

namespace talmer {

// "" for 0, "***" beyond 50 either way, "+s" for a positive s, "s" for a negative one.
std::string TexteCoefTableau(std::int32_t s);
// The specificity list: "***" from 50 and from -50 on, otherwise s in decimal.
std::string TexteCoefListe(std::int32_t s);
// The specificity list's page: "***" beyond 50 either way, otherwise s in decimal.
std::string TexteCoefPageListe(std::int32_t s);

} // namespace talmer
