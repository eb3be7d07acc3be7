// Signed 32-bit values stored as four little-endian bytes, the layout of the numeric text and of
// the repeated-segment positions, whatever the machine's own byte order.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>

namespace talmer {

// On a little-endian machine one plain store and one plain load (the numeric text is read and
// written a value at a time, millions of them).
inline void EcritLE32(unsigned char *sortie, std::int32_t valeur)
{
    const auto u = static_cast<std::uint32_t>(valeur);
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(sortie, &u, 4);
    } else {
        sortie[0] = static_cast<unsigned char>(u);
        sortie[1] = static_cast<unsigned char>(u >> 8);
        sortie[2] = static_cast<unsigned char>(u >> 16);
        sortie[3] = static_cast<unsigned char>(u >> 24);
    }
}

inline std::int32_t LitLE32(const unsigned char *entree)
{
    std::uint32_t u;
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(&u, entree, 4);
    } else {
        u = static_cast<std::uint32_t>(entree[0]) | (static_cast<std::uint32_t>(entree[1]) << 8) |
            (static_cast<std::uint32_t>(entree[2]) << 16) | (static_cast<std::uint32_t>(entree[3]) << 24);
    }
    return static_cast<std::int32_t>(u);
}

} // namespace talmer
