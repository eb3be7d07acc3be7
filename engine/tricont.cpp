// The context sort of text positions (concordances): positions ordered by the items that follow
// (or precede) them, compared by alphabetical index, skipping the items that do not count.
//
// The order is the one of the Shell sort over the plain item-by-item comparison, in which a
// context that reaches an end of the text never forces a swap. Comparing item by item costs as
// much as the two contexts share, thousands of items where documents repeat passages; so the
// contexts are first cut into blocks, one between each position and the next in reading order,
// the blocks are ranked, and the contexts, being sequences of blocks, are ranked by doubling the
// compared length on those ranks. Each comparison then costs a few integer reads.

#include "engine/charg1.h"
#include "engine/trishell.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <numeric>
#include <vector>

bool charg1::Compar(std::int32_t a, std::int32_t b, std::int32_t step, std::int32_t limit,
                    const std::set<std::int32_t> &kept) const
{
    if (step == 0 || !tnum_)
        return true;
    std::int64_t pa = a, pb = b;
    auto compte = [&](std::int32_t x) { return x <= limit || kept.count(x) != 0; };
    for (;;) {
        std::int32_t x, y;
        do {
            pa += step;
            if (pa < 0 || pa >= nbitem_)
                return true;
            x = tnum_[pa];
        } while (!compte(x));
        do {
            pb += step;
            if (pb < 0 || pb >= nbitem_)
                return true;
            y = tnum_[pb];
        } while (!compte(y));
        const std::int32_t lx = Lexg(x), ly = Lexg(y);
        if (lx < ly)
            return true;
        if (lx > ly)
            return false;
    }
}

namespace {

constexpr std::int32_t kIgnore = -2;  // rank of an item that does not count

// The text as the context sort reads it: the rank of each item, kIgnore for items that do not
// count, and the walk in one direction.
struct Lecture {
    const std::int32_t *texte;
    std::int64_t nbitem;
    int pas;
    const std::vector<std::int32_t> &rang;  // per entity
    std::int32_t limit;
    const std::set<std::int32_t> &kept;

    std::int32_t Rang(std::int32_t x) const
    {
        if (x >= 0 && static_cast<std::size_t>(x) < rang.size())
            return rang[static_cast<std::size_t>(x)];
        // Items that are not entities (line breaks) count when limit or kept says so, with the
        // rank -1 of a non-entity.
        return x <= limit || kept.count(x) != 0 ? -1 : kIgnore;
    }
    // The next counted item after p in reading order: its position, or -1 past an end.
    std::int64_t Suivant(std::int64_t p, std::int32_t *r) const
    {
        for (;;) {
            p += pas;
            if (p < 0 || p >= nbitem)
                return -1;
            *r = Rang(texte[p]);
            if (*r != kIgnore)
                return p;
        }
    }
};

// Result of comparing two blocks as item sequences.
struct Comparaison {
    int ordre = 0;        // -1, 0 (same items, same length) or 1
    bool prefixe = false; // the first in order is the other's beginning (or equal to it)
    bool prefixeTermine = false;  // ... and it is not the last block
};

} // namespace

// Sorts by blocks; false (the array untouched) when the positions do not cut the text into
// blocks that compare on their own: a position twice, outside the text, on an item that does
// not count, or a block that is the beginning of another one without being the last block.
static bool TriParBlocs(const Lecture &lu, std::int32_t *positions, std::int32_t n)
{
    // The positions in reading order; block k runs from after ordre[k] to ordre[k + 1]
    // included, the last one to the end of the text.
    std::vector<std::int32_t> ordre(positions, positions + n);
    for (std::int32_t p : ordre)
        if (p < 0 || p >= lu.nbitem || lu.Rang(lu.texte[p]) == kIgnore)
            return false;
    if (lu.pas > 0)
        std::sort(ordre.begin(), ordre.end());
    else
        std::sort(ordre.begin(), ordre.end(), std::greater<>());
    if (std::adjacent_find(ordre.begin(), ordre.end()) != ordre.end())
        return false;
    const std::int32_t m = n;
    const std::int32_t dernier = m - 1;

    auto compareBlocs = [&](std::int32_t k, std::int32_t l) {
        Comparaison c;
        std::int64_t pa = ordre[static_cast<std::size_t>(k)], pb = ordre[static_cast<std::size_t>(l)];
        const std::int64_t ta = k < dernier ? ordre[static_cast<std::size_t>(k) + 1] : -2;
        const std::int64_t tb = l < dernier ? ordre[static_cast<std::size_t>(l) + 1] : -2;
        for (;;) {
            std::int32_t ra = 0, rb = 0;
            const bool finA = pa == ta || (pa = lu.Suivant(pa, &ra)) < 0;
            const bool finB = pb == tb || (pb = lu.Suivant(pb, &rb)) < 0;
            if (finA || finB) {
                // Two blocks that end together are equal when both are terminated; the last
                // block, ending with the text, comes first.
                if (finA && finB && k != dernier && l != dernier)
                    return c;
                const bool aPremier = finA && (!finB || k == dernier);
                c.ordre = aPremier ? -1 : 1;
                c.prefixe = true;
                c.prefixeTermine = (aPremier ? k : l) != dernier;
                return c;
            }
            if (ra != rb) {
                c.ordre = ra < rb ? -1 : 1;
                return c;
            }
        }
    };

    // Blocks ranked as item sequences; their first items, packed (0 once the block has ended,
    // so that a beginning sorts first), decide most comparisons.
    std::int32_t rangMax = 0;
    for (std::int32_t r : lu.rang)
        rangMax = std::max(rangMax, r);
    const int bits = std::bit_width(static_cast<std::uint32_t>(rangMax) + 2u);
    const int parMot = 64 / bits;
    struct Tete {
        std::uint64_t cle[2];
        std::int32_t bloc;
    };
    std::vector<Tete> tetes(static_cast<std::size_t>(m));
    for (std::int32_t k = 0; k < m; ++k) {
        Tete &t = tetes[static_cast<std::size_t>(k)];
        t.bloc = k;
        std::int64_t p = ordre[static_cast<std::size_t>(k)];
        const std::int64_t terme = k < dernier ? ordre[static_cast<std::size_t>(k) + 1] : -2;
        bool fin = false;
        for (std::uint64_t &mot : t.cle) {
            mot = 0;
            for (int i = 0; i < parMot; ++i) {
                std::int32_t r = 0;
                fin = fin || p == terme || (p = lu.Suivant(p, &r)) < 0;
                mot = (mot << bits) | (fin ? 0u : static_cast<std::uint32_t>(r + 2));
            }
        }
    }
    std::sort(tetes.begin(), tetes.end(), [&](const Tete &a, const Tete &b) {
        if (a.cle[0] != b.cle[0])
            return a.cle[0] < b.cle[0];
        if (a.cle[1] != b.cle[1])
            return a.cle[1] < b.cle[1];
        return compareBlocs(a.bloc, b.bloc).ordre < 0;
    });
    std::vector<std::int32_t> blocs(static_cast<std::size_t>(m));
    for (std::int32_t i = 0; i < m; ++i)
        blocs[static_cast<std::size_t>(i)] = tetes[static_cast<std::size_t>(i)].bloc;
    tetes = {};
    // R: rank of each block, equal blocks equal.
    std::vector<std::int32_t> R(static_cast<std::size_t>(m));
    std::int32_t rangBloc = 0;
    std::int32_t placeDernier = 0;
    for (std::int32_t i = 0; i < m; ++i) {
        const std::int32_t b = blocs[static_cast<std::size_t>(i)];
        if (i > 0) {
            const Comparaison c = compareBlocs(blocs[static_cast<std::size_t>(i) - 1], b);
            if (c.prefixeTermine)
                return false;
            if (c.ordre != 0)
                ++rangBloc;
        }
        if (b == dernier)
            placeDernier = i;
        R[static_cast<std::size_t>(b)] = rangBloc;
    }
    // The blocks that begin with the last block follow it in order.
    std::vector<char> commenceParDernier(static_cast<std::size_t>(rangBloc) + 1, 0);
    for (std::int32_t i = placeDernier + 1; i < m; ++i) {
        const std::int32_t b = blocs[static_cast<std::size_t>(i)];
        if (!compareBlocs(dernier, b).prefixe)
            break;
        commenceParDernier[static_cast<std::size_t>(R[static_cast<std::size_t>(b)])] = 1;
    }

    // Contexts are sequences of blocks: sort the suffixes of R by prefix doubling.
    std::vector<std::int32_t> sa(blocs), rk(static_cast<std::size_t>(m)), second(static_cast<std::size_t>(m));
    auto regroupe = [&](auto &&cle) {
        // sa is sorted by cle; the rank of each suffix becomes the index of its group's first.
        std::vector<std::int32_t> nouveau(static_cast<std::size_t>(m));
        std::int32_t groupes = 0;
        for (std::int32_t i = 0; i < m; ++i) {
            const std::int32_t s = sa[static_cast<std::size_t>(i)];
            if (i == 0 || cle(sa[static_cast<std::size_t>(i) - 1]) != cle(s)) {
                nouveau[static_cast<std::size_t>(s)] = i;
                ++groupes;
            } else {
                nouveau[static_cast<std::size_t>(s)] = nouveau[static_cast<std::size_t>(sa[static_cast<std::size_t>(i) - 1])];
            }
        }
        rk.swap(nouveau);
        return groupes;
    };
    std::int32_t groupes = regroupe([&](std::int32_t s) { return std::pair<std::int32_t, std::int32_t>(R[static_cast<std::size_t>(s)], 0); });
    for (std::int64_t h = 1; groupes < m; h *= 2) {
        for (std::int32_t s = 0; s < m; ++s)
            second[static_cast<std::size_t>(s)] = s + h < m ? rk[static_cast<std::size_t>(s + h)] : -1;
        // Only groups of several suffixes need sorting.
        for (std::int32_t i = 0; i < m;) {
            std::int32_t j = i + 1;
            while (j < m && rk[static_cast<std::size_t>(sa[static_cast<std::size_t>(j)])] == rk[static_cast<std::size_t>(sa[static_cast<std::size_t>(i)])])
                ++j;
            if (j - i > 1)
                std::sort(sa.begin() + i, sa.begin() + j, [&](std::int32_t a, std::int32_t b) {
                    return second[static_cast<std::size_t>(a)] < second[static_cast<std::size_t>(b)];
                });
            i = j;
        }
        groupes = regroupe([&](std::int32_t s) {
            return std::pair<std::int32_t, std::int32_t>(rk[static_cast<std::size_t>(s)], second[static_cast<std::size_t>(s)]);
        });
    }
    // rk[s] is now the rank of suffix s, all distinct.

    const bool fini = std::find(commenceParDernier.begin(), commenceParDernier.end(), 1) != commenceParDernier.end();
    if (!fini) {
        // No context runs out against another: one strict order, which the Shell sort reaches.
        for (std::int32_t i = 0; i < m; ++i)
            positions[i] = ordre[static_cast<std::size_t>(sa[static_cast<std::size_t>(i)])];
        return true;
    }

    // Some contexts run out against others. Suffix l (the context of ordre[l]) runs out against
    // the suffixes that begin with its blocks up to the last one, followed by a block that begins
    // with the last block: these follow l in order, from rk[l] + 1 to fin[l]. The comparison
    // "a may stay before b" is then rk[a] <= fin[b].
    std::vector<std::int32_t> lcp(static_cast<std::size_t>(m), 0);  // with the previous in order
    {
        std::int32_t h = 0;
        for (std::int32_t s = 0; s < m; ++s) {
            const std::int32_t r = rk[static_cast<std::size_t>(s)];
            if (r == 0) {
                h = 0;
                continue;
            }
            const std::int32_t t = sa[static_cast<std::size_t>(r) - 1];
            while (s + h < m && t + h < m && R[static_cast<std::size_t>(s + h)] == R[static_cast<std::size_t>(t + h)])
                ++h;
            lcp[static_cast<std::size_t>(r)] = h;
            if (h > 0)
                --h;
        }
    }
    std::vector<std::int32_t> fin(static_cast<std::size_t>(m));
    for (std::int32_t l = 0; l < m; ++l) {
        const std::int32_t commun = dernier - l;  // blocks before the last one
        std::int32_t j = rk[static_cast<std::size_t>(l)];
        while (j + 1 < m && lcp[static_cast<std::size_t>(j) + 1] >= commun) {
            const std::int32_t s = sa[static_cast<std::size_t>(j) + 1];
            if (s + commun >= m || !commenceParDernier[static_cast<std::size_t>(R[static_cast<std::size_t>(s + commun)])])
                break;
            ++j;
        }
        fin[static_cast<std::size_t>(l)] = j;
    }

    struct Element {
        std::int32_t position, rang, fin;
    };
    std::vector<Element> e(static_cast<std::size_t>(n));
    for (std::int32_t i = 0; i < n; ++i) {
        // The block index of the position: its place in reading order.
        const auto it = lu.pas > 0 ? std::lower_bound(ordre.begin(), ordre.end(), positions[i])
                                   : std::lower_bound(ordre.begin(), ordre.end(), positions[i], std::greater<>());
        const auto k = static_cast<std::size_t>(it - ordre.begin());
        e[static_cast<std::size_t>(i)] = {positions[i], rk[k], fin[k]};
    }
    talmer::TriShell(e.data(), n, [](const Element &a, const Element &b) { return a.rang <= b.fin; });
    for (std::int32_t i = 0; i < n; ++i)
        positions[i] = e[static_cast<std::size_t>(i)].position;
    return true;
}

void charg1::TriCont(std::int32_t *positions, std::int32_t n, std::int32_t step, std::int32_t limit,
                     const std::set<std::int32_t> &kept) const
{
    if (!positions || n < 2 || step == 0 || !tnum_)
        return;
    if (step != 1 && step != -1) {
        // Steps of more than one item are rare enough to go the plain way.
        talmer::TriShell(positions, n, [&](std::int32_t a, std::int32_t b) { return Compar(a, b, step, limit, kept); });
        return;
    }

    // Which items take part in the comparison, and their alphabetical rank, read once.
    std::vector<std::int32_t> rang(static_cast<std::size_t>(nbart_));
    for (std::int32_t e = 0; e < nbart_; ++e)
        rang[static_cast<std::size_t>(e)] = e <= limit || kept.count(e) != 0 ? lexm_[e].Lexg : kIgnore;
    const Lecture lu{tnum_, nbitem_, step, rang, limit, kept};
    if (TriParBlocs(lu, positions, n))
        return;

    // Positions that do not cut the text into blocks (several on one spot, or on items that do
    // not count, or a subset of a form's occurrences whose blocks begin one another): the
    // contexts are compared item by item. When no two of them run out against each other, the
    // Shell sort and any other sort give the one ascending order; otherwise the result depends
    // on the Shell sort's exact steps, so that case takes the Shell sort itself.
    auto compare = [&](std::int32_t a, std::int32_t b, int *fin) {
        std::int64_t pa = a, pb = b;
        for (;;) {
            std::int32_t lx = 0, ly = 0;
            pa = lu.Suivant(pa, &lx);
            pb = lu.Suivant(pb, &ly);
            if (pa < 0 || pb < 0) {
                *fin = pa < 0 && pb < 0 ? 0 : (pa < 0 ? -1 : 1);
                return 0;
            }
            if (lx != ly)
                return lx < ly ? -1 : 1;
        }
    };
    std::vector<std::int32_t> origine(positions, positions + n);
    std::sort(positions, positions + n, [&](std::int32_t a, std::int32_t b) {
        int fin = 0;
        const int r = compare(a, b, &fin);
        return r != 0 ? r < 0 : fin < 0;
    });
    bool egalite = false;
    for (std::int32_t i = 0; i + 1 < n && !egalite; ++i) {
        int fin = 0;
        egalite = compare(positions[i], positions[i + 1], &fin) == 0;
    }
    if (!egalite)
        return;
    std::copy(origine.begin(), origine.end(), positions);
    talmer::TriShell(positions, n, [&](std::int32_t a, std::int32_t b) {
        int fin = 0;
        return compare(a, b, &fin) <= 0;
    });
}
