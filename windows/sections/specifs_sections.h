// The specificities of a set of sections taken together against the whole corpus: the forms and
// repeated segments over- or under-used there.
#pragma once

#include "engine/primspec.h"
#include "engine/progression.h"

#include <cstdint>
#include <vector>

class Section;
class charg1;

namespace talmer {

struct ParametresSpecifsSections {
    int seuilPourcent = 5;      // probability threshold in percent
    std::int32_t freqMin = 2;   // a term below this frequency is not computed
    std::int32_t etiquettes = 1; // labels count: T and t are divided by it when above 1
};

struct SpecifsSections {
    std::int32_t nbSections = 0;  // target sections
    std::int32_t t = 0;           // their word occurrences (before the labels count)
    std::vector<StructSpec> lignes; // coefficient not 0, highest first
};

// cible: one flag per section. No row when the target sections hold no word occurrence (t = 0).
// `pas` is called about a hundred times over the forms (phase 0), then over the repeated segments
// (phase 1); when it or the watch throws (CalculInterrompu), the exception goes through.
SpecifsSections CalculeSpecifsSections(const charg1 &base, const Section &section, const std::vector<char> &cible,
                                       const ParametresSpecifsSections &p, FnProgression pas = nullptr);

} // namespace talmer
