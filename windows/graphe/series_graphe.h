// What the distribution graph draws for one group of forms over the parts of a partition: its
// frequency in each part (absolute, or per 10 000 occurrences of the part) or its specificity
// coefficient in each part, and the names of its report pictures.
#pragma once

#include <QString>

#include <cstdint>
#include <string>
#include <vector>

class Partition;
class Tgen;

namespace talmer {

// The probability threshold of the graph's specificities, whatever the partition's own.
constexpr double SeuilGraphe = 0.05;

// The group's occurrences in each part, in the partition's order.
std::vector<std::int32_t> OccurrencesParPartie(const Partition &partition, const Tgen &groupe);

// One value per part: the group's occurrences f in the part, or, when `relative`, f × 10000 / t
// truncated toward zero, t the part's size in occurrences (1 for an empty part). The product is
// computed in 64 bits, so a group of more than 214 748 occurrences in a part keeps its value.
std::vector<std::int64_t> SerieFrequences(const Partition &partition, const Tgen &groupe, bool relative);

// One rounded specificity coefficient per part, for the group's occurrences in the part among
// the corpus's occurrences, at SeuilGraphe. *plusBas and *plusHaut, when given, are lowered and
// raised to the lowest and highest coefficient met (they keep their value when none goes
// beyond).
std::vector<std::int32_t> SerieSpecificites(const Partition &partition, const Tgen &groupe,
                                            std::int32_t *plusBas = nullptr, std::int32_t *plusHaut = nullptr);

// The report picture of a distribution graph of the partition of key `cle` (its spelling):
// "img-graphe-" + the key + n + ".jpg". The key's bytes are made safe for a file name
// (NomDeFichierSur): a key of ASCII letters and digits stays as it is.
QString NomImageGraphe(const std::string &cle, int n);
// Its caption in the report (HTML): the window caption, escaped, + " (" + n + ")".
QString LegendeImageGraphe(const QString &titreFenetre, int n);

// The counter of pictures shared by every distribution graph: returns its value and increments
// it (0 on the first call of the run).
int ProchainNumeroImageGraphe();

} // namespace talmer
