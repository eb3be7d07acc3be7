#include "engine/segmenteur.h"

#include "engine/fichiers.h"
#include "engine/memoire.h"
#include "engine/trace.h"
#include "engine/trishell.h"
#include "platform/core/collation.h"

#include <bit>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <limits>
#include <memory>
#include <new>
#include <string_view>
#include <system_error>
#include <unordered_map>
#include <utility>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fichiers = talmer::fichiers;

using talmer::trace::Ajoute;
using talmer::trace::Ajoutef;

constexpr std::int32_t kLimd = 5000000;
constexpr std::int32_t kCodeSautLigne = kLimd - 258;  // 4999742
constexpr std::int32_t kCodePonct = kLimd - 1;        // 4999999 - c for punctuation character c
constexpr int kLettresMot = 59;                       // longest word
constexpr int kCaracteresCle = 126;                   // longest key type or content
constexpr std::int64_t kOctetsParArticle = 40;        // spelling pool per article
// Bytes that may be read past the end of a token's text (never used): the buffers that hold
// tokens leave this much room behind them, so that a key is made with whole-word reads.
constexpr std::size_t kDebordement = 8;
constexpr std::int32_t kVide = -1;                    // end of a hash chain

// Group tags, first byte of a stored spelling.
constexpr char kTagForme = '0';
constexpr char kTagPonct = '1';
constexpr char kTagType = '2';
constexpr char kTagContenu = '3';
constexpr char kTagLemme = '4';
constexpr char kTagCategorie = '5';

struct Article {
    std::int64_t graphie = 0;   // offset of the tagged spelling in the pool
    std::int32_t longueur = 0;  // length of the tagged spelling
    std::int32_t frq = 0;
    std::int32_t alpha = 0;     // alphabetical index
    std::int32_t numero = 0;    // final entity number
};

// A failure that stops the segmentation; the trace line has been written.
struct Echec {
    ResultatSegm resultat;
};

[[noreturn]] void echoue(ResultatSegm r) { throw Echec{r}; }

void ecritLE32(unsigned char *out, std::int32_t v)
{
    const auto u = static_cast<std::uint32_t>(v);
    out[0] = static_cast<unsigned char>(u);
    out[1] = static_cast<unsigned char>(u >> 8);
    out[2] = static_cast<unsigned char>(u >> 16);
    out[3] = static_cast<unsigned char>(u >> 24);
}

std::int32_t litLE32(const unsigned char *in)
{
    const std::uint32_t u = static_cast<std::uint32_t>(in[0]) | (static_cast<std::uint32_t>(in[1]) << 8) |
                            (static_cast<std::uint32_t>(in[2]) << 16) | (static_cast<std::uint32_t>(in[3]) << 24);
    return static_cast<std::int32_t>(u);
}

// Closes a C stream on every path.
struct Fichier {
    std::FILE *f = nullptr;
    Fichier() = default;
    explicit Fichier(std::FILE *fichier) : f(fichier) {}
    // A stream over a descriptor, which it then owns; -1 gives no stream.
    Fichier(int fd, const char *mode) : f(fd >= 0 ? fdopen(fd, mode) : nullptr)
    {
        if (fd >= 0 && !f)
            close(fd);
    }
    ~Fichier() { fermer(); }
    Fichier(const Fichier &) = delete;
    Fichier &operator=(const Fichier &) = delete;
    explicit operator bool() const { return f != nullptr; }
    // False when something could not be written; with surDisque, the data also reach the disk
    // before the stream is closed.
    bool fermer(bool surDisque = false)
    {
        if (!f)
            return true;
        bool ok = std::fflush(f) == 0 && std::ferror(f) == 0;
        if (surDisque && ok)
            ok = fichiers::Synchronise(fileno(f));
        const bool ferme = std::fclose(f) == 0;
        f = nullptr;
        return ok && ferme;
    }
};

// Byte-identity of two existing files (the same file under two names or through a link).
bool memeFichier(const struct stat &a, const char *chemin)
{
    struct stat b {};
    return stat(chemin, &b) == 0 && a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

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
                valeurs[i] = litLE32(octets.data() + 4 * i);
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
            ecritLE32(octets_.data() + 4 * i, v[i]);
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

class Segmenteur {
public:
    Segmenteur(const char *chemin, const ParametresSegm &p) : chemin_(chemin), p_(p) {}

    ResultatSegm lance()
    {
        // A reserved name may be the trace file itself: nothing at all is written then.
        const EtatTexte etat = ExamineTexte(chemin_.c_str());
        if (etat == EtatTexte::NomReserve)
            return ResultatSegm::NomReserve;
        Ajoute("\n\n*****D\xE9" "but SegmPrinc*****\n");
        if (etat == EtatTexte::NonRegulier) {
            refuseNonRegulier();
            return ResultatSegm::TexteNonRegulier;
        }
        try {
            traitPath();
            allocTab();
            segmText();
            travDico();
            numeDefT();
        } catch (const Echec &e) {
            nettoie();
            return e.resultat;
        } catch (const std::bad_alloc &) {
            Ajoute("\nAllocation m\xE9moire impossible, segmentation abandonn\xE9" "e\n");
            nettoie();
            return ResultatSegm::MemoireInsuffisante;
        }
        desalloc();
        effaceTxn();
        return ResultatSegm::Reussie;
    }

private:
    // ---- steps ----

    void traitPath()
    {
        nomBase_ = NomBaseDeTexte(chemin_);
        Ajoutef("\n\n*****FIN DE TraitPath : pn:%s bn:%s*****\n", chemin_.c_str(), nomBase_.c_str());
    }

    void allocTab()
    {
        const std::int64_t maxArt = p_.maxArt > 0 ? p_.maxArt : 0;
        // Article numbers must stay below the codes of the work file and the numeric text.
        limiteArticles_ = maxArt < kCodeSautLigne ? maxArt : kCodeSautLigne;
        taillePool_ = maxArt * kOctetsParArticle;
        Ajoutef("\nMAXART (Maximum d'articles trait\xE9s) = %ld", static_cast<long>(p_.maxArt));
        Ajoutef("\nAllocation de %ldK", static_cast<long>((32 + 8 + 40) * maxArt / 1024));
        // The pool is reserved whole but only touched as spellings arrive.
        pool_.reset(new char[static_cast<std::size_t>(taillePool_ > 0 ? taillePool_ : 1)]);
        articles_.reserve(static_cast<std::size_t>(limiteArticles_ < 1 << 20 ? limiteArticles_ : 1 << 20));
        Ajoute("\n\n*****FIN DE AllocTab*****\n");
    }

    void segmText()
    {
        prepDelim();
        std::int64_t compteurs[256] = {};
        fichiers::Lecture lecture = fichiers::Lecture::Possible;
        Fichier texte(fichiers::OuvreLecture(chemin_.c_str(), &lecture));
        if (lecture == fichiers::Lecture::NonRegulier) {
            refuseNonRegulier();
            echoue(ResultatSegm::TexteNonRegulier);
        }
        if (!texte) {
            Ajoutef("\nFichier %s pas ouvert !", chemin_.c_str());
            echoue(ResultatSegm::TexteIllisible);
        }
        Ajoutef("\nFichier -- %s -- ouvert pour segmentation", chemin_.c_str());
        // The work file has a name of its own, so that runs in one folder never meet; its name is
        // read by no one else, and the trace keeps calling it by its usual name.
        if (!lot_.Ouvre()) {
            const int erreur = errno;
            if (erreur == EACCES || erreur == EROFS || erreur == EPERM || erreur == ENOSPC || erreur == EDQUOT) {
                std::error_code ec;
                const std::string dossier = std::filesystem::current_path(ec).string();
                Ajoutef("\nLe dossier %s ne peut pas \xEAtre \xE9" "crit (%s), segmentation abandonn\xE9" "e\n",
                        dossier.c_str(), std::strerror(erreur));
                echoue(ResultatSegm::DossierInterdit);
            }
            Ajoute("\n           xxxx.txn pas ouvert !");
            echoue(ResultatSegm::TravailIllisible);
        }
        txn_.f = nullptr;
        {
            Fichier travail(dup(lot_.Travail()), "w+b");
            std::swap(txn_.f, travail.f);
        }
        if (!txn_) {
            Ajoute("\n           xxxx.txn pas ouvert !");
            echoue(ResultatSegm::TravailIllisible);
        }
        Ajoute("\nFichier xxxx.txn ouvert");
        Ajoutef("\nD\xE9limiteurs : %s\n", p_.delimiteurs.c_str());

        std::error_code ec;
        const auto taille = std::filesystem::file_size(chemin_, ec);
        // The progress callback comes each time a hundredth of the text has been read (once only
        // for a text of fewer than 100 bytes), looked at before each token.
        const std::int64_t intervalle = ec ? 0 : static_cast<std::int64_t>(taille / 100);
        std::int64_t palier = intervalle;

        items_ = std::make_unique<Items>(txn_.f, maxItemsEnMemoire());
        Lecteur in(texte.f);
        ligne_ = 1;
        for (;;) {
            if (p_.progression) {
                while (in.lus() > palier) {
                    p_.progression(0);
                    palier = intervalle > 0 ? palier + intervalle : std::numeric_limits<std::int64_t>::max();
                }
            }
            in.assure(kLettresMot);
            const std::size_t disponible = in.disponible();
            if (disponible == 0)
                break;
            const unsigned char *t = in.courant();
            const unsigned char c = t[0];
            if (!delimiteur_[c]) {
                // A word: its letters up to the first delimiter, 59 at most.
                // Eight bytes classified at a time, without a branch per letter (the buffer leaves
                // room behind the text for the bytes looked at beyond it).
                const std::size_t limite = disponible < kLettresMot ? disponible : kLettresMot;
                std::size_t n = 1;
                while (n < limite) {
                    unsigned fins = 0;
                    for (unsigned k = 0; k < 8; ++k)
                        fins |= static_cast<unsigned>(delimiteur_[t[n + k]]) << k;
                    if (fins != 0) {
                        n += static_cast<std::size_t>(std::countr_zero(fins));
                        break;
                    }
                    n += 8;
                }
                if (n > limite)
                    n = limite;
                in.avance(n);
                const std::int32_t a = chercheArticle(kTagForme, t, n);
                if (nbocc_ >= std::numeric_limits<std::int32_t>::max())
                    tropDItems();
                ++nbocc_;
                item(a);
            } else if (c == '\n') {
                in.avance(1);
                ++ligne_;
                if (nbSauts_ >= std::numeric_limits<std::int32_t>::max() - kLimd - 2)
                    tropDItems();
                ++nbSauts_;
                item(kCodeSautLigne);
            } else if (c < 33) {
                // blanks, tabs, carriage returns and other control codes separate words only
                in.avance(1);
            } else if (c == '<') {
                in.avance(1);
                litCle(in);
            } else {
                in.avance(1);
                ++compteurs[c];
                item(kCodePonct - c);
            }
        }
        if (in.erreur()) {
            Ajoutef("\nFichier %s pas ouvert !", chemin_.c_str());
            echoue(ResultatSegm::TexteIllisible);
        }
        if (!items_->termine() || std::ferror(txn_.f)) {
            Ajoute("\n           xxxx.txn pas ouvert !");
            echoue(ResultatSegm::TravailIllisible);
        }
        for (std::size_t a = 0; a < frqs_.size(); ++a)
            articles_[a].frq = frqs_[a];
        creeArticlesPonct(compteurs);
        compte();
        groupe();
        Ajoute("\n\n*****FIN DE SegmText*****\n");
    }

    void travDico()
    {
        const std::int32_t debutPonct = nbf_;
        const std::int32_t debutTypes = debutPonct + nbponct_;
        const std::int32_t debutContenus = debutTypes + nbcle_;
        const std::int32_t fin = debutContenus + nbctnu_;
        triAlphaGroupe(0, nbf_);
        triAlphaGroupe(debutTypes, nbcle_);
        triAlphaGroupe(debutContenus, nbctnu_);
        // lemma and category groups are always empty
        for (std::int32_t i = 0; i < fin; ++i)
            articles_[static_cast<std::size_t>(list1_[static_cast<std::size_t>(i)])].alpha = i;

        Ajoutef("\n--  Tri lexicom. de %7ld formes ", static_cast<long>(nbf_));
        talmer::TriShell(list1_.data(), nbf_, [this](std::int32_t x, std::int32_t y) {
            const Article &a = articles_[static_cast<std::size_t>(x)];
            const Article &b = articles_[static_cast<std::size_t>(y)];
            return a.frq > b.frq || (a.frq == b.frq && a.alpha < b.alpha);
        });
        fmax_ = fin > 0 ? articles_[static_cast<std::size_t>(list1_[0])].frq : 0;
        for (std::int32_t i = 0; i < fin; ++i)
            articles_[static_cast<std::size_t>(list1_[static_cast<std::size_t>(i)])].numero = i;
        Ajoute("\n--  Fin Travail Dictionnaire              ");
        Ajoute("\n\n*****FIN DE TravDico*****\n");
    }

    void numeDefT()
    {
        ecriDicNum();
        Ajoute("\n\n*****FIN DE EcriDicNum*****\n");
        ecriTexNum();
        Ajoute("\n\n*****FIN DE EcriTexNum*****\n");
        ecriParam();
        Ajoute("\n\n*****FIN DE EcriParam*****\n");
        publie();
        Ajoute("\n\n*****FIN DE LA SEGMENTATION*****\n");
        Ajoute("\n\n*****FIN DE NumeDefT*****\n");
    }

    void desalloc()
    {
        articles_.clear();
        articles_.shrink_to_fit();
        Ajoute("\nlib\xE9ration de ptrzon2");
        list_.clear();
        list_.shrink_to_fit();
        Ajoute("\nlib\xE9ration de list");
        list1_.clear();
        list1_.shrink_to_fit();
        Ajoute("\nlib\xE9ration de list1");
        pool_.reset();
        table_.vide();
        Ajoute("\nlib\xE9ration de msg");
        Ajoute("\n\n*****FIN DE Desalloc*****\n");
    }

    void effaceTxn()
    {
        txn_.fermer();
        lot_.Ferme();
        Ajoute("\n\n*****FIN DE EffaceTxn*****\n");
    }

    // ---- reading ----

    void prepDelim()
    {
        for (int c = 0; c < 256; ++c)
            delimiteur_[c] = c <= 32 || c == '<' || c == '>';
        for (unsigned char c : p_.delimiteurs)
            delimiteur_[c] = true;
    }

    void item(std::int32_t v)
    {
        if (nbitem_ >= std::numeric_limits<std::int32_t>::max())
            tropDItems();
        ++nbitem_;
        items_->ajoute(v);
    }

    // Items held in memory at most before they all go to the work file: as the caller says, or a
    // quarter of the machine's memory.
    std::int64_t maxItemsEnMemoire() const
    {
        if (p_.itemsEnMemoire >= 0)
            return p_.itemsEnMemoire;
        const long pages = sysconf(_SC_PHYS_PAGES);
        const long page = sysconf(_SC_PAGESIZE);
        if (pages <= 0 || page <= 0)
            return std::int64_t{1} << 26;
        return static_cast<std::int64_t>(pages) * page / 4 / 4;
    }

    [[noreturn]] void tropDItems()
    {
        Ajoute("\nTexte trop long : plus de 2147483647 items ou occurrences, segmentation abandonn\xE9" "e\n");
        echoue(ResultatSegm::TropDItems);
    }

    // A key marker: its type up to the first '=', its content up to the first '>', blanks dropped.
    void litCle(Lecteur &in)
    {
        const std::int32_t ligneCle = ligne_;
        std::int32_t parts[2];
        const char tags[2] = {kTagType, kTagContenu};
        const int fins[2] = {'=', '>'};
        for (int k = 0; k < 2; ++k) {
            char tampon[1 + kCaracteresCle + kDebordement] = {};
            int n = 0;
            tampon[n++] = tags[k];
            bool controle = false;
            for (;;) {
                const int c = in.lit();
                if (c == EOF) {
                    Ajoutef("\nL%5ld Cl\xE9 non ferm\xE9" "e en fin de texte, segmentation abandonn\xE9" "e\n",
                            static_cast<long>(ligneCle));
                    echoue(ResultatSegm::CleInachevee);
                }
                if (c == fins[k])
                    break;
                if (c == '\n')
                    ++ligne_;
                if (c == ' ')
                    continue;
                if (c < 32)
                    controle = true;
                if (n == 1 + kCaracteresCle) {
                    Ajoutef("\nL%5ld Cl\xE9 trop longue (plus de 126 caract\xE8res), segmentation abandonn\xE9" "e\n",
                            static_cast<long>(ligneCle));
                    echoue(ResultatSegm::CleTropLongue);
                }
                tampon[n++] = static_cast<char>(c);
            }
            if (controle) {
                Ajoutef("\nL%5ld Cl\xE9 contenant un caract\xE8re de contr\xF4le (saut de ligne, tabulation...), "
                        "segmentation abandonn\xE9" "e\n",
                        static_cast<long>(ligneCle));
                echoue(ResultatSegm::CleIllisible);
            }
            if (n == 1) {
                Ajoutef("\nL%5ld Cl\xE9 sans type ou sans contenu, segmentation abandonn\xE9" "e\n",
                        static_cast<long>(ligneCle));
                echoue(ResultatSegm::CleVide);
            }
            parts[k] = chercheArticle(tampon[0], reinterpret_cast<const unsigned char *>(tampon + 1),
                                      static_cast<std::size_t>(n - 1));
        }
        item(parts[0]);
        item(parts[1]);
    }

    // The article of a spelling under a tag, made on first sight; its frequency counts this item
    // (in frqs_ while the text is read).
    std::int32_t chercheArticle(char tag, const unsigned char *texte, std::size_t n)
    {
        const Cle cle(tag, texte, n);
        bool trouve = false;
        const std::size_t i = table_.cherche(
            cle, n + 1,
            [&](std::int32_t a) {
                const Article &art = articles_[static_cast<std::size_t>(a)];
                const char *g = pool_.get() + art.graphie;
                return static_cast<std::size_t>(art.longueur) == n + 1 && std::memcmp(g + 1, texte, n) == 0;
            },
            &trouve);
        if (trouve) {
            const std::int32_t a = table_.article(i);
            ++frqs_[static_cast<std::size_t>(a)];
            return a;
        }
        char tagge[1 + kCaracteresCle + kDebordement];
        tagge[0] = tag;
        std::memcpy(tagge + 1, texte, n);
        const std::int32_t a = creeArticle(std::string_view(tagge, n + 1), 1);
        frqs_.push_back(1);
        table_.insere(i, cle, a);
        return a;
    }

    std::int32_t creeArticle(std::string_view tagge, std::int32_t frq)
    {
        if (static_cast<std::int64_t>(articles_.size()) >= limiteArticles_) {
            Ajoutef("\nTrop d'articles : plus de %ld (MAXART), segmentation abandonn\xE9" "e\n",
                    static_cast<long>(limiteArticles_));
            echoue(ResultatSegm::TropDArticles);
        }
        const auto taille = static_cast<std::int64_t>(tagge.size()) + 1;
        if (poolUtilise_ + taille > taillePool_) {
            Ajoutef("\nR\xE9serve des graphies pleine (%ld octets), segmentation abandonn\xE9" "e\n",
                    static_cast<long>(taillePool_));
            echoue(ResultatSegm::ReserveGraphies);
        }
        std::memcpy(pool_.get() + poolUtilise_, tagge.data(), tagge.size());
        pool_[static_cast<std::size_t>(poolUtilise_ + taille - 1)] = '\0';
        Article art;
        art.graphie = poolUtilise_;
        art.longueur = static_cast<std::int32_t>(tagge.size());
        art.frq = frq;
        poolUtilise_ += taille;
        articles_.push_back(art);
        return static_cast<std::int32_t>(articles_.size() - 1);
    }

    void creeArticlesPonct(const std::int64_t (&compteurs)[256])
    {
        for (int c = 0; c < 256; ++c) {
            if (compteurs[c] > 0) {
                const char tagge[2] = {kTagPonct, static_cast<char>(c)};
                creeArticle(std::string_view(tagge, 2), static_cast<std::int32_t>(compteurs[c]));
                ++nbponct_;
            }
        }
    }

    char tag(const Article &a) const { return pool_[static_cast<std::size_t>(a.graphie)]; }
    const char *graphie(const Article &a) const { return pool_.get() + a.graphie + 1; }

    void compte()
    {
        std::int32_t nblemm = 0, nbcatg = 0;
        for (const Article &a : articles_) {
            switch (tag(a)) {
            case kTagForme:
                ++nbf_;
                if (a.frq == 1)
                    ++nhap_;
                break;
            case kTagType: ++nbcle_; break;
            case kTagContenu: ++nbctnu_; break;
            case kTagLemme: ++nblemm; break;
            case kTagCategorie: ++nbcatg; break;
            default: break;
            }
        }
        Ajoutef("\n==  nbf= %ld, nhap= %ld, nbcle= %ld, nbctnu= %ld, nblemm=%ld, nbcatg= %ld\n",
                static_cast<long>(nbf_), static_cast<long>(nhap_), static_cast<long>(nbcle_),
                static_cast<long>(nbctnu_), static_cast<long>(nblemm), static_cast<long>(nbcatg));
    }

    // "list" gets the articles group by group, each in creation order; "list1" is its copy.
    void groupe()
    {
        list_.reserve(articles_.size());
        for (char t : {kTagForme, kTagPonct, kTagType, kTagContenu, kTagLemme, kTagCategorie}) {
            for (std::size_t i = 0; i < articles_.size(); ++i) {
                if (tag(articles_[i]) == t)
                    list_.push_back(static_cast<std::int32_t>(i));
            }
        }
        list1_ = list_;
        nbart_ = static_cast<std::int32_t>(articles_.size());
    }

    // ---- numbering ----

    static int bucket(unsigned char c)
    {
        switch (c) {
        case 0xE7: return 'c';
        case 0xF1: return 'n';
        case 0xEC: case 0xED: case 0xEE: case 0xEF: return 'i';
        case 0xE8: case 0xE9: case 0xEA: case 0xEB: return 'e';
        case 0xF2: case 0xF3: case 0xF4: case 0xF6: return 'o';
        case 0xF9: case 0xFA: case 0xFB: case 0xFC: return 'u';
        case 0xE0: case 0xE1: case 0xE2: case 0xE4: case 0xE5: return 'a';
        default: return c;
        }
    }

    // Counting sort by first-letter bucket, then a Shell sort of each bucket in French order.
    void triAlphaGroupe(std::int32_t debut, std::int32_t n)
    {
        if (n <= 0)
            return;
        std::int32_t *plage = list1_.data() + debut;
        std::int64_t places[257] = {};
        for (std::int32_t i = 0; i < n; ++i)
            ++places[bucket(static_cast<unsigned char>(*graphie(articles_[static_cast<std::size_t>(plage[i])]))) + 1];
        for (int b = 1; b <= 256; ++b)
            places[b] += places[b - 1];
        const std::vector<std::int32_t> avant(plage, plage + n);
        std::int64_t curseur[256];
        std::memcpy(curseur, places, sizeof curseur);
        for (std::int32_t a : avant)
            plage[curseur[bucket(static_cast<unsigned char>(*graphie(articles_[static_cast<std::size_t>(a)])))]++] = a;

        for (int b = 0; b < 256; ++b) {
            const std::int64_t m = places[b + 1] - places[b];
            if (m < 2)
                continue;
            std::int32_t *seau = plage + places[b];
            // Collation keys computed once per spelling; their byte order is the comparison's.
            std::vector<std::pair<std::string, std::int32_t>> cles;
            cles.reserve(static_cast<std::size_t>(m));
            for (std::int64_t i = 0; i < m; ++i)
                cles.emplace_back(talmer::platform::CleDeTri(graphie(articles_[static_cast<std::size_t>(seau[i])])), seau[i]);
            talmer::TriShell(cles.data(), m, [](const auto &x, const auto &y) { return x.first < y.first; });
            for (std::int64_t i = 0; i < m; ++i)
                seau[i] = cles[static_cast<std::size_t>(i)].second;
        }
    }

    // ---- files ----

    [[noreturn]] void fichierEchoue(const std::string &nom)
    {
        Ajoutef("\n\"%s\": ne peut etre ouvert\n", nom.c_str());
        echoue(ResultatSegm::FichierBase);
    }

    void refuseNonRegulier()
    {
        Ajoutef("\nFichier %s refus\xE9 : ce n'est pas un fichier ordinaire (dossier, tube ou p\xE9riph\xE9rique)",
                chemin_.c_str());
    }

    // A new file of this run, created exclusively; a leftover of the same name can only be stale,
    // since the run's name is reserved by its work file.
    int creeTemporaire(const std::string &tmp)
    {
        int fd = fichiers::CreeExclusif(tmp.c_str());
        if (fd < 0 && errno == EEXIST && unlink(tmp.c_str()) == 0)
            fd = fichiers::CreeExclusif(tmp.c_str());
        if (fd >= 0)
            temporaires_.push_back(tmp);
        return fd;
    }

    void ecriDicNum()
    {
        const std::string nom = nomBase_ + ".dic";
        Fichier f(creeTemporaire(lot_.Nom(".dic")), "wb");
        if (!f)
            fichierEchoue(nom);
        Ajoutef("\n    Fichier Dict  :\t %s :", nom.c_str());
        std::int32_t lignes = 0;
        for (std::int32_t i = 0; i < nbart_; ++i) {
            const Article &a = articles_[static_cast<std::size_t>(list1_[static_cast<std::size_t>(i)])];
            std::fprintf(f.f, " %-7ld %7ld  %s\r\n", static_cast<long>(a.frq), static_cast<long>(a.alpha), graphie(a));
            ++lignes;
        }
        if (!f.fermer(true))
            fichierEchoue(nom);
        Ajoutef("\n--  Fin EcriDicNum  %7ld articles", static_cast<long>(lignes));
    }

    void ecriTexNum()
    {
        const std::string nom = nomBase_ + ".num";
        Fichier f(creeTemporaire(lot_.Nom(".num")), "wb");
        if (!f)
            fichierEchoue(nom);
        Ajoutef("\n    Fichier Texte :\t %s : ", nom.c_str());
        // Creation index -> entity number, read once per item.
        std::vector<std::int32_t> numero(articles_.size());
        for (std::size_t a = 0; a < articles_.size(); ++a)
            numero[a] = articles_[a].numero;
        const auto nbArticles = static_cast<std::uint32_t>(articles_.size());
        bool ecrit = true;
        const std::int64_t n = items_->parcourt([&](std::int32_t *v, std::size_t m) {
            // Each run becomes its bytes in the file in place: articles get their number; the
            // punctuation and line-break codes, far above any article index, stay as they are.
            unsigned char *o = reinterpret_cast<unsigned char *>(v);
            for (std::size_t i = 0; i < m; ++i) {
                const std::int32_t x = v[i];
                ecritLE32(o + 4 * i, static_cast<std::uint32_t>(x) < nbArticles ? numero[static_cast<std::size_t>(x)] : x);
            }
            if (m > 0 && std::fwrite(o, 4, m, f.f) != m)
                ecrit = false;
        });
        if (n != nbitem_)
            fichierEchoue("xxxx.txn");
        if (!ecrit || !f.fermer(true))
            fichierEchoue(nom);
        Ajoutef(" %7ld items.", static_cast<long>(n));
    }

    void ecriParam()
    {
        const std::string nom = nomBase_ + ".par";
        Fichier f(creeTemporaire(lot_.Nom(".par")), "wb");
        if (!f)
            fichierEchoue(nom);
        Ajoutef("\n    Fichier Param \t %s  :", nom.c_str());
        const char *b = nomBase_.c_str();
        std::fprintf(f.f, "%s\r\n", b);
        std::fprintf(f.f, "%ld %ld %ld %ld %ld %ld %ld %ld %ld %ld %ld %ld %ld", static_cast<long>(nbitem_),
                     static_cast<long>(nbitem_), static_cast<long>(nbart_ - 1), static_cast<long>(nbocc_),
                     static_cast<long>(nbf_), static_cast<long>(fmax_), static_cast<long>(nhap_),
                     static_cast<long>(kLimd), static_cast<long>(nbponct_), static_cast<long>(nbcle_),
                     static_cast<long>(nbctnu_), 0L, 0L);
        std::fprintf(f.f, "\r\n*** R\xE9sultat de la segmentation du fichier: %s.TXT ***", b);
        std::string delims;
        for (char c : p_.delimiteurs) {
            if (c == '\n')
                delims.push_back('\r');
            delims.push_back(c);
        }
        std::fprintf(f.f, "\r\nD\xE9limiteurs %s", delims.c_str());
        std::fprintf(f.f, "\r\n");
        std::fprintf(f.f, "\r\n \tnombre des occurrences :  %10ld", static_cast<long>(nbocc_));
        std::fprintf(f.f, "\r\n \tnombre des formes      :  %10ld", static_cast<long>(nbf_));
        std::fprintf(f.f, "\r\n \tfrequence maximale     :  %10ld", static_cast<long>(fmax_));
        std::fprintf(f.f, "\r\n \tnombre des hapax       :  %10ld", static_cast<long>(nhap_));
        std::fprintf(f.f, "\r\n \tnombre des cl\xE9s(type)  :  %10ld", static_cast<long>(nbcle_));
        std::fprintf(f.f, "\r\n \tnombre des cl\xE9s(ctnu)  :  %10ld", static_cast<long>(nbctnu_));
        std::fprintf(f.f, "\r\n\r\n*** Fin de la segmentation du fichier:      %s.TXT ***", b);
        if (!f.fermer(true))
            fichierEchoue(nom);
    }

    // The three complete files, already on disk, take their names. The earlier parameter file goes
    // first: while the numeric text and the dictionary change, no parameter file leads to them, so
    // a run stopped between two renames leaves a base refused as missing, never one that shows a
    // text of another segmentation. The parameter file comes last. The earlier files are kept
    // under the run's names until the end, so that a rename that fails puts the earlier base back
    // whole. Two runs never publish in one folder at the same time.
    void publie()
    {
        struct Etape {
            std::string nouveau, final, ancien;
            bool existait = false;   // an earlier file had the final name
            bool sauve = false;      // ... and is kept under `ancien`
            bool remplace = false;   // the new file has the final name
        };
        std::vector<Etape> etapes;
        for (const char *ext : {".num", ".dic", ".par"}) {
            Etape e;
            e.nouveau = lot_.Nom(ext);
            e.final = nomBase_ + ext;
            e.ancien = lot_.Nom(std::string(".anc") + ext);
            etapes.push_back(std::move(e));
        }
        Etape &par = etapes[2];

        fichiers::VerrouDossier verrou;
        std::string echec;
        for (Etape &e : etapes) {
            struct stat st {};
            if (lstat(e.final.c_str(), &st) != 0)
                continue;
            // Only files are replaced: a folder (or anything else) under a base file's name stops
            // the publication before anything is touched.
            if (!S_ISREG(st.st_mode) && !S_ISLNK(st.st_mode)) {
                echec = e.final;
                break;
            }
            e.existait = true;
            unlink(e.ancien.c_str());
            temporaires_.push_back(e.ancien);
            e.sauve = link(e.final.c_str(), e.ancien.c_str()) == 0;
        }
        // Where the file system has no hard links, an earlier file is moved aside instead.
        auto metDeCote = [](Etape &e) {
            if (e.existait && !e.sauve)
                e.sauve = std::rename(e.final.c_str(), e.ancien.c_str()) == 0;
            return !e.existait || e.sauve;
        };
        if (echec.empty() && par.existait) {
            struct stat st {};
            if (!metDeCote(par) || (lstat(par.final.c_str(), &st) == 0 && unlink(par.final.c_str()) != 0))
                echec = par.final;
        }
        for (Etape &e : etapes) {
            if (!echec.empty())
                break;
            if (!metDeCote(e) || fichiers::Renomme(e.nouveau.c_str(), e.final.c_str()) != 0)
                echec = e.final;
            else
                e.remplace = true;
        }
        if (!echec.empty()) {
            // Back to the earlier base: each earlier file under its name, no new file left.
            for (const Etape &e : etapes) {
                if (e.sauve)
                    std::rename(e.ancien.c_str(), e.final.c_str());
                else if (e.remplace && !e.existait)
                    unlink(e.final.c_str());
            }
            fichiers::SynchroniseDossier();
            fichierEchoue(echec);
        }
        for (const Etape &e : etapes) {
            if (e.sauve)
                unlink(e.ancien.c_str());
        }
        fichiers::SynchroniseDossier();
        temporaires_.clear();
    }

    // After a failure: the work file and every half-written file go.
    void nettoie()
    {
        for (const std::string &t : temporaires_)
            unlink(t.c_str());
        temporaires_.clear();
        txn_.fermer();
        lot_.Ferme();
    }

    std::string chemin_;
    const ParametresSegm &p_;
    std::string nomBase_;
    std::int64_t limiteArticles_ = 0;
    std::int64_t taillePool_ = 0;
    std::int64_t poolUtilise_ = 0;
    std::unique_ptr<char[]> pool_;
    std::vector<Article> articles_;
    TableGraphies table_;
    std::vector<std::int32_t> frqs_;
    std::unique_ptr<Items> items_;
    std::vector<std::int32_t> list_, list1_;
    bool delimiteur_[256] = {};
    std::int32_t ligne_ = 1;
    std::int32_t nbitem_ = 0, nbocc_ = 0, nbSauts_ = 0;
    std::int32_t nbf_ = 0, nhap_ = 0, nbponct_ = 0, nbcle_ = 0, nbctnu_ = 0, nbart_ = 0, fmax_ = 0;
    fichiers::LotTravail lot_;
    Fichier txn_;
    std::vector<std::string> temporaires_;
};

} // namespace

std::string NomBaseDeTexte(const std::string &cheminTexte)
{
    const std::size_t barre = cheminTexte.rfind('/');
    const std::string nom = barre == std::string::npos ? cheminTexte : cheminTexte.substr(barre + 1);
    const std::size_t point = nom.rfind('.');
    return point == std::string::npos ? nom : nom.substr(0, point);
}

EtatTexte ExamineTexte(const char *cheminTexte)
{
    switch (fichiers::Examine(cheminTexte)) {
    case fichiers::Lecture::Illisible: return EtatTexte::Illisible;
    case fichiers::Lecture::NonRegulier: return EtatTexte::NonRegulier;
    case fichiers::Lecture::Possible: break;
    }
    struct stat texte {};
    if (stat(cheminTexte, &texte) != 0)
        return EtatTexte::Illisible;
    const std::string chemin = cheminTexte;
    const std::size_t barre = chemin.rfind('/');
    if (fichiers::EstNomDeTravail(barre == std::string::npos ? chemin : chemin.substr(barre + 1)))
        return EtatTexte::NomReserve;
    // Every file of the current directory that the key check or the segmentation writes, and the
    // name of the work file in earlier versions; the same file under another name or through a
    // link counts too.
    const std::string base = NomBaseDeTexte(chemin);
    for (const std::string &nom : {std::string(talmer::trace::NomFichier), std::string("xxxx.txn"), base + ".dic",
                                   base + ".num", base + ".par", base + ".loc.sr", base + ".desc.sr"}) {
        if (memeFichier(texte, nom.c_str()))
            return EtatTexte::NomReserve;
    }
    return EtatTexte::Accepte;
}

const char *MessageTexte(EtatTexte etat)
{
    switch (etat) {
    case EtatTexte::Accepte: return "";
    case EtatTexte::Illisible: return "Le texte ne peut pas être lu.";
    case EtatTexte::NonRegulier:
        return "Ce n'est pas un fichier texte ordinaire (dossier, tube ou périphérique) : il ne peut pas être segmenté.";
    case EtatTexte::NomReserve:
        return "Ce texte porte le nom d'un fichier que la segmentation écrit (atrace.txt, fichier de travail, ou "
               "fichier .dic, .num, .par, .loc.sr ou .desc.sr de sa propre base) : il serait écrasé. "
               "Renommez-le ou placez-le dans un autre dossier avant de le segmenter.";
    }
    return "";
}

ResultatSegm SegmPrinc(const char *cheminTexte, const ParametresSegm &parametres)
{
    Segmenteur s(cheminTexte ? cheminTexte : "", parametres);
    return s.lance();
}

const char *MessageSegmentation(ResultatSegm resultat)
{
    switch (resultat) {
    case ResultatSegm::Reussie: return "Segmentation réussie.";
    case ResultatSegm::TexteIllisible: return MessageTexte(EtatTexte::Illisible);
    case ResultatSegm::TravailIllisible: return "Le fichier de travail ne peut pas être écrit ou relu.";
    case ResultatSegm::FichierBase: return "Un fichier de la base ne peut pas être écrit.";
    case ResultatSegm::TropDArticles:
        return "Trop d'articles (formes, ponctuations et clés) : augmentez le nombre maximum d'articles.";
    case ResultatSegm::ReserveGraphies: return "La réserve des graphies est pleine : augmentez le nombre maximum d'articles.";
    case ResultatSegm::CleTropLongue: return "Une clé a un type ou un contenu de plus de 126 caractères.";
    case ResultatSegm::CleVide: return "Une clé a un type ou un contenu vide.";
    case ResultatSegm::CleIllisible:
        return "Une clé contient un caractère de contrôle (saut de ligne, tabulation...).";
    case ResultatSegm::CleInachevee: return "Une clé n'est pas fermée avant la fin du texte.";
    case ResultatSegm::TropDItems: return "Le texte dépasse 2147483647 items.";
    case ResultatSegm::MemoireInsuffisante: return "Allocation mémoire impossible.";
    case ResultatSegm::TexteNonRegulier: return MessageTexte(EtatTexte::NonRegulier);
    case ResultatSegm::NomReserve: return MessageTexte(EtatTexte::NomReserve);
    case ResultatSegm::DossierInterdit:
        return "Le dossier du texte ne peut pas être écrit : la base ne peut pas y être créée. Copiez le texte "
               "dans un dossier où vous pouvez écrire.";
    }
    return "";
}
