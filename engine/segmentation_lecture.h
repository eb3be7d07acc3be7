// The segmenter's reading machinery: the text read in large blocks (or a piece of it held in
// memory), the cutting of a text into tokens, the items of the text held in memory or in the work
// file, and the table of spellings. Used by the segmenter only.
#pragma once

#include "engine/fils.h"
#include "engine/memoire.h"
#include "platform/core/octets_le.h"

#include <algorithm>
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

constexpr std::int32_t kLimd = 5000000;
constexpr std::int32_t kCodeSautLigne = kLimd - 258;  // 4999742
constexpr std::int32_t kCodePonct = kLimd - 1;        // 4999999 - c for punctuation character c
constexpr int kLettresMot = 59;                       // longest word
constexpr int kCaracteresCle = 126;                   // longest key type or content

// Group tags, first byte of a stored spelling.
constexpr char kTagForme = '0';
constexpr char kTagPonct = '1';
constexpr char kTagType = '2';
constexpr char kTagContenu = '3';
constexpr char kTagLemme = '4';
constexpr char kTagCategorie = '5';

// The text, read in large blocks. Before each token the main loop asks for a margin of bytes
// ahead (a word is at most 59 letters) and scans the token straight in the buffer; key markers,
// which blanks may stretch without bound, are read one character at a time.
class Lecteur {
public:
    static constexpr std::size_t kBloc = std::size_t{1} << 20;

    // The stream stands at byte `debut` of the text.
    explicit Lecteur(std::FILE *f, std::int64_t debut = 0)
        : f_(f), buf_(new unsigned char[kBloc + kDebordement]()), debut_(debut)
    {
    }
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

// A piece of text held in memory, read through the interface of Lecteur: bytes [debut, fin) of a
// buffer that holds kDebordement readable bytes after fin; `origine` is the position of debut in
// the text.
class LecteurMemoire {
public:
    LecteurMemoire(const unsigned char *debut, const unsigned char *fin, std::int64_t origine)
        : debut_(debut), p_(debut), fin_(fin), origine_(origine)
    {
    }
    void assure(std::size_t) {}
    std::size_t disponible() const { return static_cast<std::size_t>(fin_ - p_); }
    const unsigned char *courant() const { return p_; }
    void avance(std::size_t n) { p_ += n; }
    int lit() { return p_ == fin_ ? EOF : *p_++; }
    bool erreur() const { return false; }
    std::int64_t lus() const { return origine_ + (p_ - debut_); }

private:
    const unsigned char *debut_, *p_, *fin_;
    std::int64_t origine_;
};

// What is wrong with a key marker.
enum class DefautCle { Aucun, Inachevee, TropLongue, Controle, Vide };

// One part of a key marker, read after its '<' (the type, up to '=') or after its '=' (the
// content, up to '>'), blanks dropped: tampon (1 + kCaracteresCle + kDebordement bytes, zeroed)
// receives the tag and the text, n bytes in all; sauts counts the line feeds read.
template <class Source>
DefautCle LitPartieCle(Source &in, char tag, int fin, char *tampon, int &n, std::int32_t &sauts)
{
    n = 0;
    tampon[n++] = tag;
    bool controle = false;
    for (;;) {
        const int c = in.lit();
        if (c == EOF)
            return DefautCle::Inachevee;
        if (c == fin)
            break;
        if (c == '\n')
            ++sauts;
        if (c == ' ')
            continue;
        if (c < 32)
            controle = true;
        if (n == 1 + kCaracteresCle)
            return DefautCle::TropLongue;
        tampon[n++] = static_cast<char>(c);
    }
    if (controle)
        return DefautCle::Controle;
    return n == 1 ? DefautCle::Vide : DefautCle::Aucun;
}

// Cuts the text of a source into tokens and hands them to the sink, in text order:
//   puits.avant(position) before each token (false ends the cutting),
//   puits.mot(texte, n) a word: its letters up to the first delimiter, 59 at most,
//   puits.saut() a line feed,
//   puits.cle(in) a key marker, read by the sink after its '<',
//   puits.ponct(c) any other delimiter of code 33 or above.
// Blanks, tabs, carriage returns and the other control codes only separate words.
template <class Source, class Puits>
void Decoupe(Source &in, Puits &puits, const bool (&delimiteur)[256])
{
    for (;;) {
        if (!puits.avant(in.lus()))
            return;
        in.assure(kLettresMot);
        const std::size_t disponible = in.disponible();
        if (disponible == 0)
            return;
        const unsigned char *t = in.courant();
        const unsigned char c = t[0];
        if (!delimiteur[c]) {
            // Eight bytes classified at a time, without a branch per letter (the buffer leaves room
            // behind the text for the bytes looked at beyond it).
            const std::size_t limite = disponible < kLettresMot ? disponible : kLettresMot;
            std::size_t n = 1;
            while (n < limite) {
                const unsigned char *u = t + n;
                const unsigned fins = static_cast<unsigned>(delimiteur[u[0]]) | static_cast<unsigned>(delimiteur[u[1]]) << 1 |
                                      static_cast<unsigned>(delimiteur[u[2]]) << 2 | static_cast<unsigned>(delimiteur[u[3]]) << 3 |
                                      static_cast<unsigned>(delimiteur[u[4]]) << 4 | static_cast<unsigned>(delimiteur[u[5]]) << 5 |
                                      static_cast<unsigned>(delimiteur[u[6]]) << 6 | static_cast<unsigned>(delimiteur[u[7]]) << 7;
                if (fins != 0) {
                    n += static_cast<std::size_t>(std::countr_zero(fins));
                    break;
                }
                n += 8;
            }
            if (n > limite)
                n = limite;
            in.avance(n);
            puits.mot(t, n);
        } else if (c == '\n') {
            in.avance(1);
            puits.saut();
        } else if (c < 33) {
            // A whole run at once: the sink hears of the next token as it would after each.
            std::size_t n = 1;
            while (n < disponible && t[n] < 33 && t[n] != '\n')
                ++n;
            in.avance(n);
        } else if (c == '<') {
            in.avance(1);
            puits.cle(in);
        } else {
            in.avance(1);
            puits.ponct(c);
        }
    }
}

// The items of the text in text order: held in memory in blocks while they fit within the limit,
// else all in the work file (32-bit little-endian values), which is then read back once.
class Items {
public:
    static constexpr std::size_t kBloc = std::size_t{1} << 20;

    // Memory for items that adopte() takes over: from talmer::memoire, released with it.
    struct Libere {
        void operator()(std::int32_t *p) const { talmer::memoire::Libere(p); }
    };
    using Tampon = std::unique_ptr<std::int32_t[], Libere>;

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
    // Appends the n items of a buffer, which it takes over (no copy while they stay in memory).
    void adopte(Tampon v, std::size_t n)
    {
        if (n == 0)
            return;
        if (dansFichier_) {
            // After the items the buffer holds.
            std::int32_t *tampon = blocs_.back().p.get();
            ecritBloc(tampon, static_cast<std::size_t>(courant_ - tampon));
            courant_ = tampon;
            ecritBloc(v.get(), n);
            return;
        }
        fermeBloc();
        blocs_.push_back(Bloc{std::move(v), n});
        enMemoire_ += static_cast<std::int64_t>(n);
        if (enMemoire_ > max_)
            versLeFichier();
    }
    // Ends the writing; false when the work file failed.
    bool termine()
    {
        if (!dansFichier_) {
            fermeBloc();
            return true;
        }
        ecritBloc(blocs_.back().p.get(), static_cast<std::size_t>(courant_ - blocs_.back().p.get()));
        courant_ = finBloc_ = blocs_.back().p.get();
        return ok_ && std::fflush(travail_) == 0;
    }
    bool dansFichier() const { return dansFichier_; }
    // As parcourt, with a first step t(std::int32_t *, std::size_t) on each run that may change
    // it in place: while the items are in memory, t runs on all of them over `fils` threads before
    // f sees the first run; from the work file, t and f take each run in turn.
    template <typename T, typename F> std::int64_t parcourt(T t, F f, unsigned fils)
    {
        if (dansFichier_)
            return parcourt([&](std::int32_t *v, std::size_t m) {
                t(v, m);
                f(v, m);
            });
        fermeBloc();
        const std::size_t blocs = blocs_.size();
        const std::size_t n = std::max<std::size_t>(1, std::min<std::size_t>(fils, blocs));
        SurLesFils(n, [&](std::size_t k) {
            for (std::size_t b = k; b < blocs; b += n)
                t(blocs_[b].p.get(), blocs_[b].n);
        });
        return parcourt(f);
    }
    // Hands the items over in order, a run at a time, to f(std::int32_t *, std::size_t), which may
    // change them in place (they are not read again); returns the number handed over (-1 when the
    // work file cannot be read back).
    template <typename F> std::int64_t parcourt(F f)
    {
        std::int64_t n = 0;
        if (!dansFichier_) {
            fermeBloc();
            for (Bloc &b : blocs_) {
                f(b.p.get(), b.n);
                n += static_cast<std::int64_t>(b.n);
            }
            return n;
        }
        if (std::fseek(travail_, 0, SEEK_SET) != 0)
            return -1;
        std::vector<unsigned char> octets(4 * taille_);
        std::int32_t *valeurs = blocs_.back().p.get();
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
    struct Bloc {
        Tampon p;
        std::size_t n;  // items in it (for the block being filled, once it is closed)
    };
    static Tampon nouveauTampon(std::size_t n)
    {
        auto *p = static_cast<std::int32_t *>(talmer::memoire::Alloue(n * sizeof(std::int32_t)));
        if (!p)
            throw std::bad_alloc();
        return Tampon(p);
    }
    // The block being filled counts what it holds; the next item starts a block of its own.
    void fermeBloc()
    {
        if (dansFichier_ || courant_ == nullptr)
            return;
        blocs_.back().n = static_cast<std::size_t>(courant_ - blocs_.back().p.get());
        courant_ = finBloc_ = nullptr;
    }
    // Beyond the limit: what memory holds goes to the work file, and every item after it; one
    // block stays as the buffer.
    void versLeFichier()
    {
        dansFichier_ = true;
        for (const Bloc &b : blocs_)
            ecritBloc(b.p.get(), b.n);
        blocs_.clear();
        blocs_.push_back(Bloc{nouveauTampon(taille_), 0});
        courant_ = blocs_.back().p.get();
        finBloc_ = courant_ + taille_;
    }
    // Called when the current block is full (or at the first item, or after an adopted buffer).
    void nouveauBloc()
    {
        if (dansFichier_) {
            ecritBloc(blocs_.back().p.get(), taille_);
            courant_ = blocs_.back().p.get();
            return;
        }
        fermeBloc();
        if (!blocs_.empty() && enMemoire_ + static_cast<std::int64_t>(taille_) > max_) {
            versLeFichier();
            return;
        }
        blocs_.push_back(Bloc{nouveauTampon(taille_), 0});
        enMemoire_ += static_cast<std::int64_t>(taille_);
        courant_ = blocs_.back().p.get();
        finBloc_ = courant_ + taille_;
    }
    void ecritBloc(const std::int32_t *v, std::size_t n)
    {
        octets_.resize(4 * std::min(n, taille_));
        while (n > 0) {
            const std::size_t m = std::min(n, taille_);
            for (std::size_t i = 0; i < m; ++i)
                talmer::EcritLE32(octets_.data() + 4 * i, v[i]);
            if (std::fwrite(octets_.data(), 4, m, travail_) != m)
                ok_ = false;
            v += m;
            n -= m;
        }
    }

    std::FILE *travail_;
    std::int64_t max_;
    std::size_t taille_;     // items per block that ajoute fills
    std::int64_t enMemoire_ = 0;  // items the blocks can hold
    std::vector<Bloc> blocs_;
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
