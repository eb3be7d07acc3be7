// Reading a text on several threads, for the segmenter.
//
// The text goes through windows of a few megabytes. A window is cut at line feeds into as many
// pieces as threads, and the threads cut their pieces into tokens at once, each into articles and
// items of its own. The pieces are then merged in text order: their articles found in, or added
// to, the segmentation's articles in the order a reading from the start meets them, their items
// renumbered and appended, their counts added. So the articles, their numbers and frequencies,
// the items and the counts are those of a reading one token at a time.
//
// A piece that a thread cannot read as a whole (a faulty key marker, a marker that runs over a
// line feed), or whose merge would pass a limit of the segmentation, stops the reading before it:
// the caller reads on from there one token at a time and meets the fault as it always does. The
// text after the last line feed is left to the caller too.
#pragma once

#include "engine/segmentation_articles.h"
#include "engine/segmentation_lecture.h"

#include <cstdint>
#include <functional>

namespace talmer::segmentation {

// The counts of a reading.
struct Comptes {
    std::int32_t items = 0;
    std::int32_t occurrences = 0;
    std::int32_t sauts = 0;              // line feeds
    std::int64_t ponctuations[256] = {}; // occurrences of each delimiter character of code 33 or above
};

struct ReglageParallele {
    unsigned fils = 1;                         // threads
    std::int64_t fenetre = std::int64_t{2} << 20;  // bytes of text per thread and window
};

// Reads the text of descriptor fd (a regular file) from its start, as far as it can that way,
// into the articles, items and counts (which the caller starts empty). Returns the position
// reached: the start of the first byte left to the caller, just after a line feed (0 when nothing
// was read). `apres(position)` is called after each piece is merged, with the position of its end.
std::int64_t LitEnParallele(int fd, const bool (&delimiteur)[256], const ReglageParallele &reglage, Articles &articles,
                            Items &items, Comptes &comptes, const std::function<void(std::int64_t)> &apres);

} // namespace talmer::segmentation
