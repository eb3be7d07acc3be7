// Queries on a loaded base: entities, positions, occurrences, attached segments, context sort.
#include "engine/base_fixture.h"
#include "engine/charg1.h"
#include "engine/segrep.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <random>
#include <set>
#include <string>
#include <vector>

using talmer::test::InTempDir;
using talmer::test::makeBase;

using Positions = std::vector<std::int32_t>;

class Queries : public InTempDir {
protected:
    std::int32_t e(const char *s) const { return base->LocFormDic(s, false); }
    std::unique_ptr<charg1> base;
};

TEST_F(Queries, EntitiesAndPositionsAtTheBounds)
{
    // items: auteur Hugo de la mer . <br> de la terre , le chat .
    base = makeBase("<auteur=Hugo> de la mer.\nde la terre, le chat.", ".,");
    ASSERT_TRUE(base);
    const charg1 &b = *base;
    ASSERT_EQ(b.Nbitem(), 14);
    const std::int32_t type = b.Nbform() + b.Nbartponct();  // the first key type
    EXPECT_STREQ(b.RetourneGraphie(type, true), "");
    EXPECT_STREQ(b.RetourneGraphie(type, false), "auteur");
    EXPECT_STREQ(b.RetourneGraphie(b.Nbform(), true), ",");

    for (std::int32_t n : {-1, b.Nbart(), b.Nbart() + 1, INT_MAX, INT_MIN}) {
        SCOPED_TRACE(n);
        const EntreeDico r = b.RetourneLexm(n);
        EXPECT_EQ(r.Lexg, 0);
        EXPECT_EQ(r.Frq, 0);
        EXPECT_EQ(r.Graphie, nullptr);
        EXPECT_EQ(r.Info, 0);
        EXPECT_EQ(b.RetourneFrq(n), -1);
        EXPECT_EQ(b.Lexg(n), -1);
        EXPECT_STREQ(b.RetourneGraphie(n, false), "");
        EXPECT_TRUE(b.LocOccFor(n).empty());
        base->SetInfo(n, 5);
    }
    for (std::int32_t p : {-1, b.Nbitem(), INT_MAX, INT_MIN}) {
        SCOPED_TRACE(p);
        EXPECT_EQ(b.Tnum(p), -1);
        base->SetTnum(p, 3);
        EXPECT_EQ(b.RetourneLexmAtPos(p).Graphie, nullptr);
        EXPECT_EQ(b.RetourneFrqAtPos(p), -1);
        EXPECT_EQ(b.RetourneGraphieAtPos(p, false), nullptr);
    }
    // Position 6 holds the line break, 1 the key content.
    EXPECT_EQ(b.Tnum(6), b.Limd() + 2);
    EXPECT_EQ(b.RetourneLexmAtPos(6).Graphie, nullptr);
    EXPECT_EQ(b.RetourneFrqAtPos(6), -1);
    EXPECT_EQ(b.RetourneGraphieAtPos(6, false), nullptr);
    EXPECT_EQ(b.RetourneGraphieAtPos(1, true), nullptr);
    EXPECT_STREQ(b.RetourneGraphieAtPos(1, false), "Hugo");
    EXPECT_STREQ(b.RetourneGraphieAtPos(5, true), ".");
    EXPECT_STREQ(b.RetourneLexmAtPos(2).Graphie, "de");
    EXPECT_EQ(b.RetourneFrqAtPos(2), 2);

    base->SetInfo(e("mer"), 42);
    EXPECT_EQ(b.RetourneLexm(e("mer")).Info, 42);
    base->SetTnum(4, e("terre"));
    EXPECT_EQ(b.Tnum(4), e("terre"));
}

TEST_F(Queries, LocFormDicFindsTheLowestExactSpelling)
{
    base = makeBase("<titre=mer> Le le mer, chat.", ".,");
    ASSERT_TRUE(base);
    const charg1 &b = *base;
    EXPECT_EQ(b.LocFormDic(",", true), b.Nbform());
    EXPECT_STREQ(b.RetourneGraphie(b.LocFormDic("Le", true), true), "Le");
    EXPECT_NE(b.LocFormDic("Le", true), b.LocFormDic("le", true));
    // "mer" is both a form and a key content: the form comes first.
    EXPECT_LT(b.LocFormDic("mer", false), b.Nbform());
    EXPECT_EQ(b.LocFormDic("titre", true), -1);
    EXPECT_EQ(b.LocFormDic("titre", false), b.Nbform() + b.Nbartponct());
    EXPECT_EQ(b.LocFormDic("LE", false), -1);
    EXPECT_EQ(b.LocFormDic(nullptr, false), -1);
}

TEST_F(Queries, OccurrencesOfFormsAndSegments)
{
    base = makeBase("de la mer. de la terre. la de la ville.", ".");
    ASSERT_TRUE(base);
    charg1 &b = *base;
    const std::int32_t de = e("de"), la = e("la");
    EXPECT_EQ(b.LocOccFor(la), (Positions{1, 5, 8, 10}));
    const std::int32_t twice[] = {de, de};
    EXPECT_EQ(b.LocOccFor(twice, 2), (Positions{0, 4, 9}));
    const std::int32_t both[] = {la, de};
    EXPECT_EQ(b.LocOccFor(both, 2), (Positions{0, 1, 4, 5, 8, 9, 10}));
    EXPECT_TRUE(b.LocOccFor(nullptr, 3).empty());
    EXPECT_TRUE(b.LocOccFor(both, 0).empty());

    // Segment entities mean nothing before segments are attached.
    const std::int32_t seg0 = b.Nbart() + 1;
    EXPECT_TRUE(b.LocOccFor(seg0).empty());
    EXPECT_STREQ(b.RetourneGraphie(seg0, false), "");

    SegRep sr(&b, {b.LocFormDic(".", true)});
    ASSERT_TRUE(sr.OuvreFichiers());
    sr.AjouteSegment({de, la}, {9, 0, 4});
    b.AssigneSR(&sr);
    EXPECT_EQ(b.NbFormSup(), 1);
    EXPECT_EQ(b.NbTotEntites(), b.Nbart() + 1);
    EXPECT_STREQ(b.RetourneGraphie(seg0, false), "de la ");
    EXPECT_EQ(b.LocOccFor(seg0), (Positions{0, 4, 9}));
    EXPECT_TRUE(b.LocOccFor(b.Nbart()).empty());
    EXPECT_TRUE(b.LocOccFor(seg0 + 1).empty());
    EXPECT_STREQ(b.RetourneGraphie(seg0 + 1, false), "");
    // A form and a segment that share positions: each position as often as it comes.
    const std::int32_t mixed[] = {de, seg0, seg0 + 7};
    EXPECT_EQ(b.LocOccFor(mixed, 3), (Positions{0, 0, 4, 4, 9, 9}));

    // Attaching again replaces the former set; nullptr detaches.
    SegRep sr2(&b, {});
    sr2.AjouteSegment({la, de}, {});
    sr2.AjouteSegment({de, la}, {});
    b.AssigneSR(&sr2);
    EXPECT_EQ(b.NbFormSup(), 2);
    EXPECT_STREQ(b.RetourneGraphie(seg0 + 1, true), "de la ");
    EXPECT_TRUE(b.LocOccFor(seg0).empty());  // the second set has no positions file
    b.AssigneSR(nullptr);
    EXPECT_EQ(b.NbFormSup(), 0);
    EXPECT_EQ(b.NbTotEntites(), b.Nbart());
}

TEST_F(Queries, ContextSortExamples)
{
    base = makeBase("le chat le abri le Zoo x a b x a b", "");
    ASSERT_TRUE(base);
    const charg1 &b = *base;
    const std::set<std::int32_t> none;
    const std::int32_t limit = b.Nbform() - 1;

    Positions le = b.LocOccFor(e("le"));
    ASSERT_EQ(le, (Positions{0, 2, 4}));
    b.TriCont(le.data(), 3, 1, limit, none);
    EXPECT_EQ(le, (Positions{4, 2, 0}));  // Zoo, abri, chat: capitals first

    Positions leftOf = {2, 4, 6};  // after chat, abri, Zoo: sorted by what precedes them
    b.TriCont(leftOf.data(), 3, -1, limit, none);
    EXPECT_EQ(leftOf, (Positions{6, 4, 2}));

    // Contexts equal up to the end of the text keep their order, either way round.
    Positions x = {6, 9};
    b.TriCont(x.data(), 2, 1, limit, none);
    EXPECT_EQ(x, (Positions{6, 9}));
    x = {9, 6};
    b.TriCont(x.data(), 2, 1, limit, none);
    EXPECT_EQ(x, (Positions{9, 6}));
    EXPECT_TRUE(b.Compar(b.Nbitem() - 1, 0, 1, limit, none));
    EXPECT_TRUE(b.Compar(0, b.Nbitem() - 1, 1, limit, none));

    // Step 0 changes nothing.
    Positions same = {4, 0, 2};
    b.TriCont(same.data(), 3, 0, limit, none);
    EXPECT_EQ(same, (Positions{4, 0, 2}));
    EXPECT_TRUE(b.Compar(0, 2, 0, limit, none));
}

TEST_F(Queries, ContextSortSkipsWhatDoesNotCount)
{
    base = makeBase("le , abri le\nchat <k=v> ok", ",");
    ASSERT_TRUE(base);
    const charg1 &b = *base;
    const std::int32_t limit = b.Nbform() - 1;
    // Without the comma: abri before chat (line break and key skipped).
    Positions p = {3, 0};
    b.TriCont(p.data(), 2, 1, limit, {});
    EXPECT_EQ(p, (Positions{0, 3}));
    // With the comma kept, it is compared: punctuation ranks after every form.
    p = {0, 3};
    b.TriCont(p.data(), 2, 1, limit, {b.LocFormDic(",", true)});
    EXPECT_EQ(p, (Positions{3, 0}));
}

namespace {

// The context comparison and the Shell sort written the plain way, item by item.
bool plainCompar(const charg1 &b, std::int64_t a, std::int64_t c, int step, std::int32_t limit,
                 const std::set<std::int32_t> &kept)
{
    if (step == 0)
        return true;
    for (;;) {
        std::int32_t x, y;
        do {
            a += step;
            if (a < 0 || a >= b.Nbitem())
                return true;
            x = b.Tnum(static_cast<std::int32_t>(a));
        } while (x > limit && !kept.count(x));
        do {
            c += step;
            if (c < 0 || c >= b.Nbitem())
                return true;
            y = b.Tnum(static_cast<std::int32_t>(c));
        } while (y > limit && !kept.count(y));
        if (b.Lexg(x) < b.Lexg(y))
            return true;
        if (b.Lexg(x) > b.Lexg(y))
            return false;
    }
}

void plainTriCont(const charg1 &b, Positions &p, int step, std::int32_t limit, const std::set<std::int32_t> &kept)
{
    if (step == 0)
        return;
    const std::int64_t n = static_cast<std::int64_t>(p.size());
    for (std::int64_t gap = n / 2; gap > 0; gap /= 2) {
        for (std::int64_t i = gap; i < n; ++i) {
            for (std::int64_t j = i - gap; j >= 0; j -= gap) {
                if (plainCompar(b, p[j], p[j + gap], step, limit, kept))
                    break;
                std::swap(p[j], p[j + gap]);
            }
        }
    }
}

} // namespace

TEST_F(Queries, ContextSortMatchesThePlainShellSortOnRandomTexts)
{
    std::mt19937 rng(20240611);
    const std::vector<std::string> words = {"a", "b", "c", "de", "la", "Le", "\xE9t\xE9", "z"};
    const std::string puncts = ".,;";
    for (int t = 0; t < 150; ++t) {
        // Small vocabularies and repeated stretches give long equal contexts and ties at the end.
        const int vocab = 2 + static_cast<int>(rng() % (words.size() - 1));
        std::vector<std::string> tokens;
        const int len = 5 + static_cast<int>(rng() % 120);
        for (int i = 0; i < len; ++i) {
            const unsigned r = rng() % 20;
            if (r == 0)
                tokens.push_back(std::string(1, puncts[rng() % puncts.size()]));
            else if (r == 1)
                tokens.push_back("\n");
            else if (r == 2)
                tokens.push_back("<k=v" + std::to_string(rng() % 3) + ">");
            else
                tokens.push_back(words[rng() % static_cast<unsigned>(vocab)]);
        }
        const unsigned repetition = rng() % 4;
        if (repetition == 1) {  // the text ends by repeating one of its stretches
            const std::size_t from = rng() % tokens.size();
            const std::size_t count = std::min<std::size_t>(tokens.size() - from, 1 + rng() % 8);
            for (std::size_t i = 0; i < count; ++i)
                tokens.push_back(tokens[from + i]);
        } else if (repetition >= 2) {
            // Long passages copied again, once or several times, inside the text or at its end
            // (as documents that reprint one another): contexts equal over many items.
            const std::size_t copies = 1 + rng() % 3;
            for (std::size_t c = 0; c < copies; ++c) {
                const std::size_t from = rng() % tokens.size();
                const std::size_t count = std::min<std::size_t>(tokens.size() - from, tokens.size() / 2 + 1);
                const std::vector<std::string> passage(tokens.begin() + static_cast<std::ptrdiff_t>(from),
                                                       tokens.begin() + static_cast<std::ptrdiff_t>(from + count));
                const std::size_t at = repetition == 2 ? tokens.size() : rng() % (tokens.size() + 1);
                tokens.insert(tokens.begin() + static_cast<std::ptrdiff_t>(at), passage.begin(), passage.end());
            }
        }
        std::string text;
        for (const std::string &tok : tokens)
            text += tok + " ";
        auto b = makeBase(text, ".,;", "r" + std::to_string(t));
        ASSERT_TRUE(b);
        for (int trial = 0; trial < 16; ++trial) {
            Positions p;
            const unsigned kind = rng() % 5;
            const auto uneForme = [&]() {
                return static_cast<std::int32_t>(rng() % static_cast<unsigned>(std::max(1, b->Nbform())));
            };
            if (kind <= 1) {  // a pivot's occurrences, as the concordance and the segments sort them
                p = b->LocOccFor(uneForme());
            } else if (kind == 2) {  // a group of forms, or every other occurrence of one
                std::vector<std::int32_t> groupe = {uneForme(), uneForme()};
                if (rng() % 2)
                    groupe.push_back(b->Nbform() + static_cast<std::int32_t>(rng() % 3));  // punctuation
                p = b->LocOccFor(groupe.data(), static_cast<std::int32_t>(groupe.size()));
                if (rng() % 2) {
                    Positions moitie;
                    for (std::size_t i = 0; i < p.size(); i += 2)
                        moitie.push_back(p[i]);
                    p = moitie;
                }
                std::shuffle(p.begin(), p.end(), rng);
            } else {  // any positions, some repeated, some just outside the text
                const int m = static_cast<int>(rng() % 40);
                for (int i = 0; i < m; ++i)
                    p.push_back(static_cast<std::int32_t>(rng() % static_cast<unsigned>(b->Nbitem() + 4)) - 2);
            }
            std::set<std::int32_t> kept;
            for (std::int32_t k = b->Nbform(); k < b->Nbform() + b->Nbartponct(); ++k) {
                if (rng() % 2)
                    kept.insert(k);
            }
            if (rng() % 4 == 0)
                kept.insert(b->Limd() + 2);  // a line break taken into account
            const int steps[] = {1, -1, 1, -1, 2, -2};
            const int step = steps[rng() % 6];
            const std::int32_t limit = rng() % 5 == 0 ? static_cast<std::int32_t>(rng() % 6) : b->Nbform() - 1;
            Positions expected = p;
            plainTriCont(*b, expected, step, limit, kept);
            b->TriCont(p.data(), static_cast<std::int32_t>(p.size()), step, limit, kept);
            ASSERT_EQ(p, expected) << "text " << t << " trial " << trial << " step " << step;
            for (std::size_t i = 0; i + 1 < p.size() && i < 3; ++i)
                EXPECT_EQ(b->Compar(p[i], p[i + 1], step, limit, kept),
                          plainCompar(*b, p[i], p[i + 1], step, limit, kept));
        }
    }
}
