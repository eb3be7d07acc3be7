// Splitting a line of an exchange file into its blank-separated fields (blanks and tabs).
#pragma once

#include <string_view>
#include <vector>

namespace talmer {

inline std::vector<std::string_view> ChampsSepares(std::string_view ligne)
{
    std::vector<std::string_view> champs;
    std::size_t i = 0;
    while (i < ligne.size()) {
        while (i < ligne.size() && (ligne[i] == ' ' || ligne[i] == '\t'))
            ++i;
        const std::size_t debut = i;
        while (i < ligne.size() && ligne[i] != ' ' && ligne[i] != '\t')
            ++i;
        if (i > debut)
            champs.push_back(ligne.substr(debut, i - debut));
    }
    return champs;
}

} // namespace talmer
