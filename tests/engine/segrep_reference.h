// Two independent ways of finding the repeated segments of a loaded base, for comparison with
// SegRep::CalcSegRep on random texts:
//  - reference(): the plain computation, pivot by pivot, occurrences from LocOccFor, the Shell
//    sort of the contexts (with a context that runs out at the end of the text sorting first),
//    sequence reads, run state and emission written out one step at a time;
//  - forceBrute(): every n-gram of 2 to 11 forms inside the delimiter-bounded stretches, kept
//    when frequent enough and maximal on both sides.
#pragma once

#include "engine/charg1.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace talmer::test::segref {

inline constexpr std::int32_t Filler = 1000000000;

struct Seg {
    std::vector<std::int32_t> formes;
    std::int32_t frq = 0;
    std::int32_t offset = -1;
    std::vector<std::int32_t> positions;  // ascending

    auto cle() const { return std::tie(formes, frq, positions); }
    bool operator<(const Seg &o) const { return cle() < o.cle(); }
    bool operator==(const Seg &o) const { return cle() == o.cle() && offset == o.offset; }
};

struct Resultat {
    std::vector<Seg> segments;  // in the order of emission
    std::string octets;         // the positions file
};

class Reference {
public:
    Reference(const charg1 &b, std::set<std::int32_t> delims, std::int32_t fmin)
        : b_(b), delims_(std::move(delims)), fmin_(fmin)
    {
    }

    Resultat calcule()
    {
        for (std::int32_t i = 0; i < b_.Nbform() && b_.RetourneFrq(i) >= fmin_; ++i) {
            std::vector<std::int32_t> p = b_.LocOccFor(i);
            trie(p);
            parcourt(p);
        }
        return r_;
    }

private:
    // True when a may stay before b: item by item on forms and delimiters, alphabetical index.
    bool compar(std::int32_t a, std::int32_t c) const
    {
        const std::int32_t limit = b_.Nbform() - 1;
        for (;;) {
            std::int32_t x, y;
            do {
                ++a;
                if (a >= b_.Nbitem())
                    return true;
                x = b_.Tnum(a);
            } while (x > limit && !delims_.count(x));
            do {
                ++c;
                if (c >= b_.Nbitem())
                    return false;
                y = b_.Tnum(c);
            } while (y > limit && !delims_.count(y));
            if (b_.Lexg(x) < b_.Lexg(y))
                return true;
            if (b_.Lexg(x) > b_.Lexg(y))
                return false;
        }
    }

    void trie(std::vector<std::int32_t> &p) const
    {
        const std::int64_t n = static_cast<std::int64_t>(p.size());
        for (std::int64_t gap = n / 2; gap > 0; gap /= 2)
            for (std::int64_t i = gap; i < n; ++i)
                for (std::int64_t j = i - gap; j >= 0; j -= gap) {
                    if (compar(p[j], p[j + gap]))
                        break;
                    std::swap(p[j], p[j + gap]);
                }
    }

    std::array<std::int32_t, 12> lect(std::int32_t pos) const
    {
        std::array<std::int32_t, 12> out;
        out.fill(Filler);
        for (std::int32_t a = pos - 1; a >= 0; --a) {
            const std::int32_t x = b_.Tnum(a);
            if (x < b_.Nbform()) {
                out[0] = x;
                break;
            }
            if (delims_.count(x))
                break;
        }
        int k = 1;
        for (std::int32_t a = pos; k < 12 && a < b_.Nbitem(); ++a) {
            const std::int32_t x = b_.Tnum(a);
            if (x > b_.Nbform() + b_.Nbartponct())
                continue;
            if (x < b_.Nbform())
                out[k++] = x;
            else if (delims_.count(x))
                break;
        }
        return out;
    }

    void parcourt(const std::vector<std::int32_t> &p)
    {
        const std::int32_t n = static_cast<std::int32_t>(p.size());
        std::int32_t count[13] = {}, start[13] = {}, left[13] = {};
        std::array<std::int32_t, 12> seq = lect(p[0]);
        for (int k = 1; k <= 11; ++k) {
            count[k] = seq[k] == Filler ? 0 : 1;
            start[k] = 0;
            left[k] = seq[k] == Filler ? Filler : seq[0];
        }
        auto ferme = [&](int j, std::int32_t m, const std::array<std::int32_t, 12> &seq2) {
            for (int k = j; k <= 11; ++k) {
                if (count[k] >= fmin_ && count[k] >= 1 && (k == 11 || count[k] != count[k + 1]) &&
                    left[k] == Filler && k != 1) {
                    Seg s;
                    s.formes.assign(seq.begin() + 1, seq.begin() + 1 + k);
                    s.frq = count[k];
                    s.offset = static_cast<std::int32_t>(r_.octets.size());
                    s.positions.assign(p.begin() + start[k], p.begin() + m);
                    std::sort(s.positions.begin(), s.positions.end());
                    for (std::int32_t v : s.positions)
                        for (int o = 0; o < 4; ++o)
                            r_.octets.push_back(static_cast<char>((static_cast<std::uint32_t>(v) >> (8 * o)) & 0xFF));
                    r_.segments.push_back(s);
                }
                if (seq2[k] == Filler) {
                    count[k] = 0;
                    start[k] = 0;
                } else {
                    start[k] = m;
                    count[k] = 1;
                    left[k] = seq2[0];
                }
            }
        };
        for (std::int32_t m = 1; m < n; ++m) {
            const std::array<std::int32_t, 12> seq2 = lect(p[m]);
            int j = 1;
            while (j < 12 && seq[j] == seq2[j] && seq2[j] != Filler)
                ++j;
            for (int k = 1; k < j; ++k) {
                ++count[k];
                if (left[k] != seq2[0])
                    left[k] = Filler;
            }
            ferme(j, m, seq2);
            seq = seq2;
        }
        std::array<std::int32_t, 12> fin;
        fin.fill(Filler);
        ferme(1, n, fin);
    }

    const charg1 &b_;
    std::set<std::int32_t> delims_;
    std::int32_t fmin_;
    Resultat r_;
};

inline Resultat reference(const charg1 &b, const std::set<std::int32_t> &delims, std::int32_t fmin)
{
    return Reference(b, delims, fmin).calcule();
}

// Every maximal n-gram (2 to 11 forms) of frequency >= max(fmin, 1), as a set (offsets -1).
inline std::set<Seg> forceBrute(const charg1 &b, const std::set<std::int32_t> &delims, std::int32_t fmin)
{
    // Stretches of (position, form), cut at the delimiters; every other item is passed over.
    std::vector<std::vector<std::pair<std::int32_t, std::int32_t>>> troncons(1);
    for (std::int32_t p = 0; p < b.Nbitem(); ++p) {
        const std::int32_t x = b.Tnum(p);
        if (x < b.Nbform())
            troncons.back().push_back({p, x});
        else if (delims.count(x))
            troncons.emplace_back();
    }
    struct Occ {
        std::int32_t pos, gauche, droite;
    };
    std::map<std::vector<std::int32_t>, std::vector<Occ>> ngrammes;
    for (const auto &t : troncons)
        for (std::size_t s = 0; s < t.size(); ++s)
            for (std::size_t L = 2; L <= 11 && s + L <= t.size(); ++L) {
                std::vector<std::int32_t> g;
                for (std::size_t i = s; i < s + L; ++i)
                    g.push_back(t[i].second);
                const std::int32_t gauche = s > 0 ? t[s - 1].second : -1;
                const std::int32_t droite = s + L < t.size() ? t[s + L].second : -1;
                ngrammes[g].push_back({t[s].first, gauche, droite});
            }
    std::set<Seg> res;
    for (const auto &[g, occ] : ngrammes) {
        if (static_cast<std::int32_t>(occ.size()) < std::max(fmin, 1))
            continue;
        std::set<std::int32_t> gauches, droites;
        for (const Occ &o : occ) {
            gauches.insert(o.gauche);
            droites.insert(o.droite);
        }
        if (gauches.size() == 1 && *gauches.begin() != -1)
            continue;  // always the same form before: not left-maximal
        if (g.size() < 11 && droites.size() == 1 && *droites.begin() != -1)
            continue;  // always the same form after: not right-maximal
        Seg s;
        s.formes = g;
        s.frq = static_cast<std::int32_t>(occ.size());
        for (const Occ &o : occ)
            s.positions.push_back(o.pos);
        std::sort(s.positions.begin(), s.positions.end());
        res.insert(s);
    }
    return res;
}

} // namespace talmer::test::segref
