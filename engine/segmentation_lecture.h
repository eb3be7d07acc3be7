// The segmenter's reading machinery: the text read in large blocks, the items of the text held in
// memory or in the work file, and the table of spellings. Used by the segmenter only.
#pragma once

#include "engine/memoire.h"
#include "platform/core/octets_le.h"

#include <bit>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

namespace talmer::segmentation {

// Bytes that may be read past the end of a token's text (never used): the buffers that hold
// tokens leave this much room behind them, so that a key is made with whole-word reads.
constexpr std::size_t kDebordement = 8;

// The text, read in large blocks. Before each token the main loop asks for a margin of bytes
// ahead (a word is at most 59 letters) and scans the token straight in the buffer; key markers,
// which blanks may stretch without bound, are read one character at a time.
class Lecteur {
public:
    static constexpr std::size_t kBloc = std::size_t{1} << 20;

    explicit Lecteur(std::FILE *f) : f_(f), buf_(new unsigned char[kBloc + kDebordement]()) {}
    // At least n bytes ahead of the position (n below the block size), unless the text ends first.
    void assure(std::size_t n)
    {
        if (len_ - pos_ < n && !fin_)
            recharge();
    }
    std::size_t disponible() const { return len_ - pos_; }
    const unsigned char *courant() const { return buf_.get() + pos_; }
    void avance(std::size_t n) { pos_ += n; }
    int lit()
    {
        if (pos_ == len_) {
            recharge();
            if (pos_ == len_)
                return EOF;
        }
        return buf_[pos_++];
    }
    bool erreur() const { return erreur_; }
    // Bytes of the text consumed so far.
    std::int64_t lus() const { return debut_ + static_cast<std::int64_t>(pos_); }

private:
    void recharge()
    {
        std::memmove(buf_.get(), buf_.get() + pos_, len_ - pos_);
        len_ -= pos_;
        debut_ += static_cast<std::int64_t>(pos_);
        pos_ = 0;
        while (len_ < kBloc && !fin_) {
            const std::size_t n = std::fread(buf_.get() + len_, 1, kBloc - len_, f_);
            if (n == 0) {
                fin_ = true;
                erreur_ = std::ferror(f_) != 0;
            }
            len_ += n;
        }
    }

    std::FILE *f_;
    std::unique_ptr<unsigned char[]> buf_;
    std::size_t pos_ = 0, len_ = 0;
    std::int64_t debut_ = 0;
    bool fin_ = false, erreur_ = false;
};

// The items of the text in text order: held in memory in blocks while they fit within the limit,
// else all in the work file (32-bit little-endian values), which is then read back once.
class Items {
public:
    static constexpr std::size_t kBloc = std::size_t{1} << 20;

    Items(std::FILE *travail, std::int64_t maxEnMemoire)
        : travail_(travail), max_(maxEnMemoire),
          taille_(maxEnMemoire < 1 ? 1 : maxEnMemoire < static_cast<std::int64_t>(kBloc) ? static_cast<std::size_t>(maxEnMemoire) : kBloc)
    {
    }
    void ajoute(std::int32_t v)
    {
        if (courant_ == finBloc_)
            nouveauBloc();
        *courant_++ = v;
    }
    // Ends the writing; false when the work file failed.
    bool termine()
    {
        if (!dansFichier_)
            return true;
        ecritBloc(blocs_.back().get(), static_cast<std::size_t>(courant_ - blocs_.back().get()));
        courant_ = finBloc_ = blocs_.back().get();
        return ok_ && std::fflush(travail_) == 0;
    }
    bool dansFichier() const { return dansFichier_; }
    // Hands the items over in order, a run at a time, to f(std::int32_t *, std::size_t), which may
    // change them in place (they are not read again); returns the number handed over (-1 when the
    // work file cannot be read back).
    template <typename F> std::int64_t parcourt(F f)
    {
        std::int64_t n = 0;
        if (!dansFichier_) {
            for (std::size_t b = 0; b < blocs_.size(); ++b) {
                const std::size_t m = b + 1 < blocs_.size() ? taille_ : static_cast<std::size_t>(courant_ - blocs_[b].get());
                f(blocs_[b].get(), m);
                n += static_cast<std::int64_t>(m);
            }
            return n;
        }
        if (std::fseek(travail_, 0, SEEK_SET) != 0)
            return -1;
        std::vector<unsigned char> octets(4 * taille_);
        std::int32_t *valeurs = blocs_.back().get();
        for (;;) {
            const std::size_t lus = std::fread(octets.data(), 4, taille_, travail_);
            for (std::size_t i = 0; i < lus; ++i)
                valeurs[i] = talmer::LitLE32(octets.data() + 4 * i);
            f(valeurs, lus);
            n += static_cast<std::int64_t>(lus);
            if (lus < taille_)
                break;
        }
        return std::ferror(travail_) ? -1 : n;
    }

private:
    // Called when the current block is full (or at the first item).
    void nouveauBloc()
    {
        if (!blocs_.empty() && !dansFichier_ && static_cast<std::int64_t>(blocs_.size() + 1) * static_cast<std::int64_t>(taille_) > max_) {
            // Beyond the limit: what memory holds goes to the work file, and every item after it;
            // one block stays as the buffer.
            dansFichier_ = true;
            for (const auto &b : blocs_)
                ecritBloc(b.get(), taille_);
            blocs_.resize(1);
        } else if (dansFichier_) {
            ecritBloc(blocs_.back().get(), taille_);
        } else {
            auto *bloc = static_cast<std::int32_t *>(talmer::memoire::Alloue(taille_ * sizeof(std::int32_t)));
            if (!bloc)
                throw std::bad_alloc();
            blocs_.emplace_back(bloc);
        }
        courant_ = blocs_.back().get();
        finBloc_ = courant_ + taille_;
    }
    void ecritBloc(const std::int32_t *v, std::size_t n)
    {
        octets_.resize(4 * taille_);
        for (std::size_t i = 0; i < n; ++i)
            talmer::EcritLE32(octets_.data() + 4 * i, v[i]);
        if (n > 0 && std::fwrite(octets_.data(), 4, n, travail_) != n)
            ok_ = false;
    }

    std::FILE *travail_;
    std::int64_t max_;
    std::size_t taille_;  // items per block
    struct Libere {
        void operator()(std::int32_t *p) const { talmer::memoire::Libere(p); }
    };
    std::vector<std::unique_ptr<std::int32_t[], Libere>> blocs_;
    std::int32_t *courant_ = nullptr;
    std::int32_t *finBloc_ = nullptr;
    std::vector<unsigned char> octets_;
    bool dansFichier_ = false;
    bool ok_ = true;
};

// A tagged spelling (the tag, then the text) as the table sees it: its first eight bytes, zero
// padded (no spelling holds a zero byte, so a spelling of fewer than eight bytes is told apart by
// them alone), and a hash of the whole. The text must be followed by kDebordement readable bytes.
struct Cle {
    std::uint64_t debut = 0;
    std::uint32_t hache = 0;

    Cle(char tag, const unsigned char *s, std::size_t n)
    {
        // The tag and the first seven bytes of the text, in memory order.
        std::uint64_t w;
        std::memcpy(&w, s, 8);
        if constexpr (std::endian::native == std::endian::little) {
            debut = (w << 8) | static_cast<unsigned char>(tag);
            if (n < 7)
                debut &= ~std::uint64_t{0} >> (8 * (7 - n));
        } else {
            unsigned char tete[8] = {static_cast<unsigned char>(tag)};
            std::memcpy(tete + 1, s, n < 7 ? n : 7);
            std::memcpy(&debut, tete, 8);
        }
        std::uint64_t h = (debut ^ (0x9E3779B97F4A7C15ull + n)) * 0xFF51AFD7ED558CCDull;
        for (std::size_t i = 7; i < n; i += 8) {
            std::uint64_t w = 0;
            std::memcpy(&w, s + i, n - i < 8 ? n - i : 8);
            h = ((h ^ (h >> 32)) ^ w) * 0xC4CEB9FE1A85EC53ull;
        }
        h ^= h >> 29;
        h *= 0xFF51AFD7ED558CCDull;
        hache = static_cast<std::uint32_t>(h >> 32);
    }
};

// Articles by tagged spelling: open addressing over a power-of-two table, at most half full.
class TableGraphies {
public:
    TableGraphies() : cases_(kDepart) {}
    // The slot of the article with this key (of a tagged spelling of this length), or the free
    // slot where a new one goes (then *trouve is false). Below eight bytes the key is the whole
    // spelling; from eight on, `egal` compares the spellings themselves.
    template <typename Egal> std::size_t cherche(const Cle &cle, std::size_t longueur, Egal egal, bool *trouve) const
    {
        const std::size_t masque = cases_.size() - 1;
        for (std::size_t i = cle.hache & masque;; i = (i + 1) & masque) {
            const Case &c = cases_[i];
            if (c.article < 0) {
                *trouve = false;
                return i;
            }
            if (c.debut == cle.debut && c.hache == cle.hache && (longueur < 8 || egal(c.article))) {
                *trouve = true;
                return i;
            }
        }
    }
    std::int32_t article(std::size_t i) const { return cases_[i].article; }
    void insere(std::size_t i, const Cle &cle, std::int32_t article)
    {
        cases_[i] = Case{cle.debut, cle.hache, article};
        if (2 * ++nombre_ > cases_.size())
            agrandit();
    }
    void vide()
    {
        cases_.assign(kDepart, Case{});
        nombre_ = 0;
    }

private:
    static constexpr std::size_t kDepart = std::size_t{1} << 12;
    struct Case {
        std::uint64_t debut = 0;
        std::uint32_t hache = 0;
        std::int32_t article = -1;
    };
    void agrandit()
    {
        std::vector<Case> anciennes(cases_.size() * 2);
        anciennes.swap(cases_);
        const std::size_t masque = cases_.size() - 1;
        for (const Case &c : anciennes) {
            if (c.article < 0)
                continue;
            std::size_t i = c.hache & masque;
            while (cases_[i].article >= 0)
                i = (i + 1) & masque;
            cases_[i] = c;
        }
    }
    std::vector<Case> cases_;
    std::size_t nombre_ = 0;
};

} // namespace talmer::segmentation
