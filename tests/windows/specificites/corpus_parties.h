// A small partitioned base for the specificity windows' tests.
//
//   "<partie=b> le chat dort . <partie=c> le chien . <partie=a><partie=b> le chat ."
// Forms by decreasing frequency, ties alphabetical: le 0 (3), chat 1 (2), chien 2, dort 3; '.' 4;
// the key type "partie" 5; its values a 6, b 7, c 8. Part a (index 0) holds no word at all;
// part b (1): le 2, chat 2, dort 1; part c (2): le 1, chien 1.
#pragma once

#include "engine/base_fixture.h"
#include "engine/partition.h"

#include <memory>

namespace talmer::test {

class CorpusParties : public InTempDir {
protected:
    void SetUp() override
    {
        base = makeBase("<partie=b> le chat dort . <partie=c> le chien . <partie=a><partie=b> le chat .", ".");
        ASSERT_TRUE(base);
        ASSERT_EQ(base->LocFormDic("partie", false), 5);
        partition = std::make_unique<Partition>(base.get(), 5);
        ASSERT_EQ(partition->NbParties(), 3);
    }
    void TearDown() override
    {
        partition.reset();
        base.reset();
    }

    std::unique_ptr<charg1> base;
    std::unique_ptr<Partition> partition;
};

} // namespace talmer::test
