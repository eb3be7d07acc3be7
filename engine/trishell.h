// The Shell sort every engine sort that is not a standard-library sort uses: the gap starts at
// n / 2 and is halved (integer division) after each pass down to 1; within a pass, for each i from
// gap to n - 1, an insertion walk by the gap that stops at the first pair already in order and
// swaps every other pair. The order of elements the predicate does not separate depends on these
// exact steps, so they are kept as they are.
#pragma once

#include <cstdint>
#include <utility>

namespace talmer {

// enOrdre(x, y): true when x may stay before y.
template <class T, class EnOrdre>
void TriShell(T *a, std::int64_t n, EnOrdre &&enOrdre)
{
    for (std::int64_t gap = n / 2; gap > 0; gap /= 2) {
        for (std::int64_t i = gap; i < n; ++i) {
            for (std::int64_t j = i - gap; j >= 0; j -= gap) {
                if (enOrdre(a[j], a[j + gap]))
                    break;
                std::swap(a[j], a[j + gap]);
            }
        }
    }
}

} // namespace talmer
