#include "windows/specificites/textes_coef.h"

namespace talmer {

std::string TexteCoefTableau(std::int32_t s)
{
    if (s == 0)
        return {};
    if (s > 50 || s < -50)
        return "***";
    return s > 0 ? "+" + std::to_string(s) : std::to_string(s);
}

std::string TexteCoefListe(std::int32_t s)
{
    if (s >= 50 || s <= -50)
        return "***";
    return std::to_string(s);
}

std::string TexteCoefPageListe(std::int32_t s)
{
    if (s > 50 || s < -50)
        return "***";
    return std::to_string(s);
}

} // namespace talmer
