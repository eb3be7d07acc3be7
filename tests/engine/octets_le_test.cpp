// Little-endian 32-bit values: the byte layout of the base files on any machine.
#include "platform/core/octets_le.h"
#include "support/octets_le.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

TEST(OctetsLE, WritesAndReadsTheFileLayout)
{
    const std::int32_t valeurs[] = {0, 1, -1, 0x01020304, std::numeric_limits<std::int32_t>::min(),
                                    std::numeric_limits<std::int32_t>::max(), 4999742};
    for (std::int32_t v : valeurs) {
        const std::string attendu = talmer::test::le32({v});
        unsigned char octets[4];
        talmer::EcritLE32(octets, v);
        EXPECT_EQ(std::string(reinterpret_cast<const char *>(octets), 4), attendu) << v;
        EXPECT_EQ(talmer::LitLE32(reinterpret_cast<const unsigned char *>(attendu.data())), v);
    }
    const unsigned char fichier[4] = {0x04, 0x03, 0x02, 0x01};
    EXPECT_EQ(talmer::LitLE32(fichier), 0x01020304);
}
