// The distributional inventory of a group: the repeated segments (2 to 11 items, at least 2
// occurrences, maximal) that begin with an occurrence of the group, in alphabetical order, one
// line each with its frequency and a run of dashes that lines the segments up.
#pragma once

#include "engine/segrep.h"

#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <vector>

class charg1;

namespace talmer {

struct Entete;

// The delimiter entities named by the characters of the field: each character that is a
// punctuation mark of the base; any other character (a form, a key, nothing) adds nothing.
std::set<std::int32_t> DelimiteursInventaire(const charg1 &base, std::string_view caracteres);

// The segments beginning at the positions (any order; each position counted once), each listed
// once with its number of occurrences, sorted alphabetically. The first item of a segment is the
// group's own item at the occurrence, also when that is a punctuation mark or a key; the rest are
// the forms that follow it. The positions given are not reordered.
std::vector<Segment> InventaireDistributionnel(const charg1 &base, const std::vector<std::int32_t> &positions,
                                               const std::set<std::int32_t> &delimiteurs);

// One line: the frequency and dashes, the first item as the pole, the other items each followed
// by a blank (escaped).
std::string LigneInventaire(const charg1 &base, const Segment &segment);

// The page: head, title (written as given), lines, end.
std::string PageInventaire(const charg1 &base, const std::vector<Segment> &segments, const Entete &e,
                           std::string_view titre);

} // namespace talmer
