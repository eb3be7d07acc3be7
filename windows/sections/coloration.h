// What a group of forms does to a section map: the sections that hold one of its occurrences and
// the group's specificity coefficient in each of them.
#pragma once

#include <cstdint>
#include <vector>

class Section;
class Tgen;

namespace talmer {

struct ColorationSections {
    std::vector<char> touche;          // 1 where the section holds an occurrence of the group
    std::vector<std::int32_t> specif;  // the coefficient there (0 elsewhere)
};

// Flags and coefficients for every section: corpus size T (the base's word occurrences), the
// section's word occurrences, the group's occurrences and those in the section, at the 0.05 level.
ColorationSections ColoreSections(const Section &section, const Tgen &groupe, std::int32_t nbOcc);

// 1 where the section holds an occurrence of the group.
std::vector<char> MarqueSections(const Section &section, const Tgen &groupe);

} // namespace talmer
