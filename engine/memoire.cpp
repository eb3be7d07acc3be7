#include "engine/memoire.h"

#include <cstdlib>

#include <sys/mman.h>

namespace talmer::memoire {

namespace {
constexpr std::size_t kPageGeante = std::size_t{2} << 20;
} // namespace

void *Alloue(std::size_t n) noexcept
{
    if (n < kPageGeante)
        return std::malloc(n > 0 ? n : 1);
    const std::size_t arrondi = (n + kPageGeante - 1) / kPageGeante * kPageGeante;
    void *p = std::aligned_alloc(kPageGeante, arrondi);
#ifdef MADV_HUGEPAGE
    if (p)
        madvise(p, arrondi, MADV_HUGEPAGE);  // a hint only: its failure changes nothing
#endif
    return p;
}

void *AlloueEnPetitesPages(std::size_t n) noexcept { return std::malloc(n > 0 ? n : 1); }

void Libere(void *p) noexcept { std::free(p); }

} // namespace talmer::memoire
