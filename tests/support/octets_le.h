// Expected contents of little-endian files, spelled out byte by byte (independent of the
// program's own reading and writing code).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace talmer::test {

inline std::string le32(const std::vector<std::int32_t> &valeurs)
{
    std::string octets;
    for (std::int32_t v : valeurs) {
        const auto u = static_cast<std::uint32_t>(v);
        for (int i = 0; i < 4; ++i)
            octets.push_back(static_cast<char>((u >> (8 * i)) & 0xFF));
    }
    return octets;
}

} // namespace talmer::test
