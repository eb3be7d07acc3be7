// The points of the Zipf (rank-frequency) and vocabulary-growth curves, computed from the base
// without a screen, and the thinning of a long curve to what a chart can show.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class charg1;
class Partition;
class Selection;

namespace talmer {

struct PointCourbe {
    std::int32_t x = 0;
    std::int32_t y = 0;
    bool operator==(const PointCourbe &) const = default;
};

struct Courbe {
    // The parts' names (8-bit, display code page), or, when `titreDuProgramme`, one of the
    // program's own French texts (UTF-8, translated where shown).
    std::string titre;
    bool titreDuProgramme = false;
    std::vector<PointCourbe> points;
};

// The Zipf curve of the parts selected in the partition (all parts when none is): for each
// frequency F reached by a form in those parts, by increasing F, the point (N(F), F) where N(F)
// is the number of forms whose frequency there is at least F. Titled with the parts' names
// joined by ", ". No point when no form occurs in those parts.
Courbe CourbeZipf(const Partition &partition);

// The largest frequency of a Zipf curve (0 for a curve without points).
std::int32_t FrequenceMax(const Courbe &courbe);

// A growth curve walks the text; each counted word occurrence adds 1 to x, and the first
// occurrence of a form adds the point (x, d) with d the forms met before it, then counts the
// form. A closing point (x, d) holds the final counts.

// The parts selected in the partition (titled with their names joined by ", "), or the whole
// text when none is ("Corpus entier"). The text before the first key marker belongs to the
// first zone's part, as everywhere else.
Courbe CourbeAccroissementPartition(const charg1 &base, const Partition &partition);

// A dropped selection, titled "Titre à définir". A group of forms:
// x runs over every word occurrence, points only at the group's occurrences. A partition: x and
// d run over the occurrences of its selected parts only. A mask that does not cover the text
// gives no curve (false).
bool CourbeAccroissementSelection(const charg1 &base, const Selection &selection, Courbe &courbe);

// Thins a curve whose points run monotonically along x, keeping in every column of the given
// number across the x range the first, lowest, highest and last points, in their order, so that
// drawn at that width or less it looks the same. With `logX` the columns are spaced on a
// logarithmic scale (every x must then be above 0). Curves shorter than `seuil` are kept whole.
std::vector<PointCourbe> Eclaircit(const std::vector<PointCourbe> &points, int colonnes, bool logX,
                                   std::size_t seuil = 10000);

// The step between the graduations of a linear axis of counts from 0 to `maxi`: the smallest of
// 1, 2 and 5 times a power of ten that leaves at most five steps, so that every graduation falls
// on a whole number (1 for a `maxi` of 5 or less).
double PasGraduations(double maxi);

} // namespace talmer
