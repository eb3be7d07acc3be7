// Repeated-segment list and positions file: offsets, reading back, spelling, alphabetical order,
// and a base that goes away before its segments.
#include "engine/base_fixture.h"
#include "engine/charg1.h"
#include "engine/segrep.h"
#include "support/octets_le.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using talmer::test::InTempDir;
using talmer::test::le32;
using talmer::test::makeBase;
using talmer::test::readFile;

using Positions = std::vector<std::int32_t>;

namespace {

std::vector<std::vector<std::int32_t>> formsOf(const SegRep &s)
{
    std::vector<std::vector<std::int32_t>> out;
    for (const Segment &seg : s.Segments())
        out.push_back(seg.Formes);
    return out;
}

} // namespace

class SegmentData : public InTempDir {
protected:
    void SetUp() override
    {
        base = makeBase("a b c a b. a c b. d", ".", "base");
        ASSERT_TRUE(base);
        a = base->LocFormDic("a", true);
        b = base->LocFormDic("b", true);
        c = base->LocFormDic("c", true);
        d = base->LocFormDic("d", true);
    }
    std::unique_ptr<charg1> base;
    std::int32_t a = -1, b = -1, c = -1, d = -1;
};

TEST_F(SegmentData, TwoSegmentsInATwentyByteFile)
{
    SegRep s(base.get(), {});
    ASSERT_TRUE(s.OuvreFichiers());
    EXPECT_TRUE(fs::exists("base.desc.sr"));
    s.AjouteSegment({a, b}, {7, 0, 3});
    s.AjouteSegment({b, c}, {9, 1});
    ASSERT_EQ(s.NbSegments(), 2);
    EXPECT_EQ(s.Segments()[0].Offset, 0);
    EXPECT_EQ(s.Segments()[0].Frq, 3);
    EXPECT_EQ(s.Segments()[1].Offset, 12);
    EXPECT_EQ(readFile("base.loc.sr"), le32({0, 3, 7, 1, 9}));
    EXPECT_EQ(readFile("base.desc.sr"), "");
    EXPECT_EQ(s.LocOccSeg(1), (Positions{1, 9}));
    EXPECT_EQ(s.LocOccSeg(0), (Positions{0, 3, 7}));
    EXPECT_EQ(s.LocOccSeg(1), (Positions{1, 9}));
    for (std::int32_t k : {-1, 2, 1000})
        EXPECT_TRUE(s.LocOccSeg(k).empty()) << k;

    // Opening again empties both files; the new offsets start at 0.
    s.Segments().clear();
    ASSERT_TRUE(s.OuvreFichiers());
    EXPECT_EQ(readFile("base.loc.sr"), "");
    s.AjouteSegment({c, a}, {5});
    EXPECT_EQ(s.Segments()[0].Offset, 0);
    EXPECT_EQ(s.LocOccSeg(0), (Positions{5}));
}

TEST_F(SegmentData, PositionsKeptInMemoryOutliveALaterComputation)
{
    SegRep ancien(base.get(), {});
    ASSERT_TRUE(ancien.OuvreFichiers());
    ancien.AjouteSegment({a, b}, {7, 0, 3});
    ancien.AjouteSegment({b, c}, {9, 1});
    ASSERT_TRUE(ancien.GardePositionsEnMemoire());
    EXPECT_FALSE(ancien.FichiersOuverts());

    // A new set rewrites the same file with other segments at the same offsets.
    SegRep nouveau(base.get(), {});
    ASSERT_TRUE(nouveau.OuvreFichiers());
    nouveau.AjouteSegment({c, a}, {5, 6, 8, 10});
    EXPECT_EQ(nouveau.LocOccSeg(0), (Positions{5, 6, 8, 10}));

    EXPECT_EQ(ancien.LocOccSeg(0), (Positions{0, 3, 7}));
    EXPECT_EQ(ancien.LocOccSeg(1), (Positions{1, 9}));
    for (std::int32_t k : {-1, 2})
        EXPECT_TRUE(ancien.LocOccSeg(k).empty()) << k;

    // A set whose files never opened has nothing to keep.
    SegRep ferme(base.get(), {});
    EXPECT_FALSE(ferme.GardePositionsEnMemoire());
}

TEST_F(SegmentData, NothingIsReturnedThatWasNotRead)
{
    SegRep closed(base.get(), {});
    closed.AjouteSegment({a, b}, {0, 3});
    EXPECT_EQ(closed.Segments()[0].Offset, -1);  // no positions file: nothing written
    EXPECT_TRUE(closed.LocOccSeg(0).empty());

    SegRep s(base.get(), {});
    ASSERT_TRUE(s.OuvreFichiers());
    s.AjouteSegment({a, b}, {0, 3, 7});
    s.AjouteSegment({b, c}, {1, 9});
    // The file loses its last four bytes behind the segment set's back.
    fs::resize_file("base.loc.sr", 16);
    EXPECT_EQ(s.LocOccSeg(1), (Positions{1}));
    EXPECT_EQ(s.LocOccSeg(0), (Positions{0, 3, 7}));
    // A segment whose offset is unknown gives nothing.
    s.Segments()[0].Offset = -1;
    EXPECT_TRUE(s.LocOccSeg(0).empty());
}

TEST_F(SegmentData, FilesThatCannotBeOpened)
{
    fs::create_directory("base.loc.sr");
    SegRep s(base.get(), {});
    EXPECT_FALSE(s.OuvreFichiers());
    EXPECT_FALSE(s.FichiersOuverts());
    s.AjouteSegment({a, b}, {0});
    EXPECT_EQ(s.Segments()[0].Offset, -1);
    EXPECT_TRUE(s.LocOccSeg(0).empty());
}

TEST_F(SegmentData, SpellingOfASegment)
{
    SegRep s(base.get(), {});
    s.AjouteSegment({a, b, c}, {});
    EXPECT_EQ(s.RetourneGraphie(0), "a b c ");
    EXPECT_EQ(s.RetourneGraphie(1), "");
    EXPECT_EQ(s.RetourneGraphie(-1), "");
}

TEST_F(SegmentData, AlphabeticalOrder)
{
    SegRep s(base.get(), {});
    s.AjouteSegment({a, c}, {});
    s.AjouteSegment({a, b, c}, {});
    s.AjouteSegment({d, a}, {});
    s.AjouteSegment({a, b}, {});
    s.TriAlpha();
    EXPECT_EQ(formsOf(s), (std::vector<std::vector<std::int32_t>>{{a, b}, {a, b, c}, {a, c}, {d, a}}));
    Segment ab{{a, b}, 1, -1}, abc{{a, b, c}, 1, -1};
    EXPECT_EQ(SegRep::ComparSegAlpha(ab, abc), -1);
    EXPECT_EQ(SegRep::ComparSegAlpha(abc, ab), 1);
    EXPECT_EQ(SegRep::ComparSegAlpha(ab, ab), 1);  // never equal

    // Many identical records sort without harm.
    SegRep same(base.get(), {});
    for (int i = 0; i < 100; ++i)
        same.AjouteSegment(i % 2 ? std::vector<std::int32_t>{a, b} : std::vector<std::int32_t>{b, a}, {});
    same.TriAlpha();
    for (std::int32_t k = 0; k < 100; ++k)
        EXPECT_EQ(same.Segments()[static_cast<std::size_t>(k)].Formes[0], k < 50 ? a : b);
}

TEST_F(SegmentData, OrderUsesTheBaseOfTheLastSegmentSetMade)
{
    // A second base where the numbering of a and b is the same but their alphabetical order is
    // reversed: "zz" is more frequent than "aa", so entity 0 sorts after entity 1.
    auto other = makeBase("zz zz aa", "", "autre");
    ASSERT_TRUE(other);
    ASSERT_GT(other->Lexg(0), other->Lexg(1));
    ASSERT_LT(base->Lexg(0), base->Lexg(1));
    const Segment s01{{0, 1}, 1, -1}, s10{{1, 0}, 1, -1};
    SegRep first(base.get(), {});
    EXPECT_EQ(SegRep::ComparSegAlpha(s01, s10), -1);
    SegRep second(other.get(), {});
    EXPECT_EQ(SegRep::ComparSegAlpha(s01, s10), 1);
}

TEST_F(SegmentData, BaseGoneBeforeItsSegments)
{
    auto other = makeBase("zz zz aa", "", "autre");
    ASSERT_TRUE(other);
    SegRep s(other.get(), {});
    s.AjouteSegment({1, 0}, {});
    s.AjouteSegment({0, 1}, {});
    other.reset();
    EXPECT_EQ(s.Base(), nullptr);
    EXPECT_EQ(s.RetourneGraphie(0), "");
    // Without its base the order falls back to entity numbers, still well defined.
    s.TriAlpha();
    EXPECT_EQ(formsOf(s), (std::vector<std::vector<std::int32_t>>{{0, 1}, {1, 0}}));
    EXPECT_EQ(SegRep::ComparSegAlpha(s.Segments()[0], s.Segments()[1]), -1);
    EXPECT_FALSE(s.OuvreFichiers());
}
