// Large tables (the items of a text, the numeric text of a base): allocated on huge-page
// boundaries and marked for huge pages where the system offers them, so that filling tens of
// megabytes costs a few page faults rather than thousands.
#pragma once

#include <cstddef>

namespace talmer::memoire {

// Uninitialised memory for n bytes, or nullptr; released with Libere.
void *Alloue(std::size_t n) noexcept;
// The same in ordinary pages: for a block of which only a part will be used (a huge page is
// cleared whole by the system as soon as one byte of it is touched).
void *AlloueEnPetitesPages(std::size_t n) noexcept;
void Libere(void *p) noexcept;

} // namespace talmer::memoire
