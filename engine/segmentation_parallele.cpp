#include "engine/segmentation_parallele.h"

#include "engine/fils.h"
#include "engine/memoire.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>
#include <new>
#include <vector>

#include <unistd.h>

namespace talmer::segmentation {

namespace {

// A piece of a window and what a thread made of it.
struct Morceau {
    const unsigned char *debut = nullptr, *fin = nullptr;
    std::int64_t origine = 0;  // position of debut in the text

    // The piece's articles, in the order of their first occurrence in it: each tagged spelling in
    // the pool, followed by kDebordement zero bytes; its frequency in the piece; the article of the
    // segmentation it stands for (-1 while unknown).
    struct Local {
        std::uint32_t decalage, longueur;  // of the tagged spelling in the pool
    };
    TableGraphies table;
    std::vector<unsigned char> pool;
    std::vector<Local> articles;
    std::vector<std::int32_t> frq;
    std::vector<std::int32_t> global;
    // Items as in the segmentation, the piece's own article numbers in place of the articles'
    // (room for one a byte: an item takes at least one).
    Items::Tampon items;
    std::size_t nbItems = 0;
    std::int32_t occurrences = 0, sauts = 0;
    std::int64_t ponctuations[256] = {};
    bool entier = true;  // read as a whole, without a fault

    void Efface(const unsigned char *d, const unsigned char *f, std::int64_t o)
    {
        debut = d;
        fin = f;
        origine = o;
        table.vide();
        pool.clear();
        articles.clear();
        frq.clear();
        global.clear();
        items.reset();
        nbItems = 0;
        occurrences = sauts = 0;
        std::fill(std::begin(ponctuations), std::end(ponctuations), 0);
        entier = true;
    }
    const unsigned char *Texte(const Local &l) const { return pool.data() + l.decalage + 1; }
    char Tag(const Local &l) const { return static_cast<char>(pool[l.decalage]); }
};

// What Decoupe hands over, as a thread reads its piece.
class PuitsMorceau {
public:
    explicit PuitsMorceau(Morceau &m) : m_(m) {}

    bool avant(std::int64_t) const { return m_.entier; }
    void mot(const unsigned char *t, std::size_t n)
    {
        m_.items[m_.nbItems++] = local(kTagForme, t, n);
        ++m_.occurrences;
    }
    void saut()
    {
        m_.items[m_.nbItems++] = kCodeSautLigne;
        ++m_.sauts;
    }
    void ponct(unsigned char c)
    {
        ++m_.ponctuations[c];
        m_.items[m_.nbItems++] = kCodePonct - c;
    }
    template <class Source>
    void cle(Source &in)
    {
        const char tags[2] = {kTagType, kTagContenu};
        const int fins[2] = {'=', '>'};
        std::int32_t parts[2];
        for (int k = 0; k < 2; ++k) {
            char tampon[1 + kCaracteresCle + kDebordement] = {};
            int n = 0;
            std::int32_t sauts = 0;
            if (LitPartieCle(in, tags[k], fins[k], tampon, n, sauts) != DefautCle::Aucun) {
                m_.entier = false;
                return;
            }
            parts[k] = local(tampon[0], reinterpret_cast<const unsigned char *>(tampon + 1), static_cast<std::size_t>(n - 1));
        }
        m_.items[m_.nbItems++] = parts[0];
        m_.items[m_.nbItems++] = parts[1];
    }

private:
    std::int32_t local(char tag, const unsigned char *t, std::size_t n)
    {
        const Cle cle(tag, t, n);
        bool trouve = false;
        const std::size_t i = m_.table.cherche(
            cle, n + 1,
            [&](std::int32_t a) {
                const Morceau::Local &l = m_.articles[static_cast<std::size_t>(a)];
                return l.longueur == n + 1 && std::memcmp(m_.Texte(l), t, n) == 0;
            },
            &trouve);
        if (trouve) {
            const std::int32_t a = m_.table.article(i);
            ++m_.frq[static_cast<std::size_t>(a)];
            return a;
        }
        // Local numbers stay below the codes of the items.
        if (m_.articles.size() >= static_cast<std::size_t>(kCodeSautLigne)) {
            m_.entier = false;
            return 0;
        }
        const auto a = static_cast<std::int32_t>(m_.articles.size());
        m_.articles.push_back(Morceau::Local{static_cast<std::uint32_t>(m_.pool.size()), static_cast<std::uint32_t>(n + 1)});
        m_.pool.push_back(static_cast<unsigned char>(tag));
        m_.pool.insert(m_.pool.end(), t, t + n);
        m_.pool.insert(m_.pool.end(), kDebordement, 0);
        m_.frq.push_back(1);
        m_.table.insere(i, cle, a);
        return a;
    }

    Morceau &m_;
};

// A thread's reading of its piece, then the articles of the segmentation that its own stand for,
// as far as the segmentation holds them at the window's start (nothing makes any meanwhile).
void LitMorceau(Morceau &m, const bool (&delimiteur)[256], const Articles &articles)
{
    try {
        LecteurMemoire in(m.debut, m.fin, m.origine);
        PuitsMorceau puits(m);
        const auto octets = static_cast<std::size_t>(m.fin - m.debut);
        m.items.reset(static_cast<std::int32_t *>(
            talmer::memoire::AlloueEnPetitesPages(std::max<std::size_t>(octets, 1) * sizeof(std::int32_t))));
        if (!m.items)
            throw std::bad_alloc();
        Decoupe(in, puits, delimiteur);
        if (!m.entier)
            return;
        m.global.resize(m.articles.size());
        for (std::size_t a = 0; a < m.articles.size(); ++a) {
            const Morceau::Local &l = m.articles[a];
            const unsigned char *texte = m.Texte(l);
            m.global[a] = articles.Cherche(Cle(m.Tag(l), texte, l.longueur - 1), texte, l.longueur - 1);
        }
    } catch (const std::bad_alloc &) {
        // The reading one token at a time takes the piece over, and says so if memory fails again.
        m.entier = false;
    }
}

// Whether the counts of a piece can be added without passing a limit of the segmentation (the
// reading one token at a time refuses a text there, and says so).
bool Ajoutable(const Comptes &c, const Morceau &m)
{
    const std::int64_t max = std::numeric_limits<std::int32_t>::max();
    return c.items + static_cast<std::int64_t>(m.nbItems) < max && c.occurrences + std::int64_t{m.occurrences} < max &&
           c.sauts + std::int64_t{m.sauts} < max - kLimd - 2;
}

// Merges a piece into the segmentation, or leaves everything as it was and says false when its
// new articles would pass the segmentation's limits.
bool Fusionne(Morceau &m, Articles &articles, Comptes &c)
{
    if (!Ajoutable(c, m))
        return false;
    // The articles it may have to make: when even all those the threads did not find would pass a
    // limit, the ones that the pieces before it in the window have made since are told apart.
    std::int64_t nouveaux = 0, octets = 0;
    for (std::size_t a = 0; a < m.articles.size(); ++a) {
        if (m.global[a] < 0) {
            ++nouveaux;
            octets += m.articles[a].longueur;
        }
    }
    if (!articles.Place(nouveaux, octets)) {
        nouveaux = octets = 0;
        for (std::size_t a = 0; a < m.articles.size(); ++a) {
            if (m.global[a] >= 0)
                continue;
            const Morceau::Local &l = m.articles[a];
            const unsigned char *texte = m.Texte(l);
            m.global[a] = articles.Cherche(Cle(m.Tag(l), texte, l.longueur - 1), texte, l.longueur - 1);
            if (m.global[a] < 0) {
                ++nouveaux;
                octets += l.longueur;
            }
        }
        if (!articles.Place(nouveaux, octets))
            return false;
    }
    for (std::size_t a = 0; a < m.articles.size(); ++a) {
        const Morceau::Local &l = m.articles[a];
        const unsigned char *texte = m.Texte(l);
        std::int32_t g = m.global[a];
        if (g < 0)
            articles.Compte(Cle(m.Tag(l), texte, l.longueur - 1), m.Tag(l), texte, l.longueur - 1, m.frq[a], g);
        else
            articles.AjouteFrequence(g, m.frq[a]);
        m.global[a] = g;
    }
    c.items += static_cast<std::int32_t>(m.nbItems);
    c.occurrences += m.occurrences;
    c.sauts += m.sauts;
    for (int k = 0; k < 256; ++k)
        c.ponctuations[k] += m.ponctuations[k];
    return true;
}

// The piece's items with the segmentation's article numbers.
void Renumerote(Morceau &m)
{
    const std::int32_t *global = m.global.data();
    std::int32_t *v = m.items.get();
    for (std::size_t i = 0; i < m.nbItems; ++i)
        if (v[i] < kCodeSautLigne)
            v[i] = global[v[i]];
}

// Reads n bytes at position p into buf; the number read (less at the end of the file), or -1.
std::int64_t LitA(int fd, unsigned char *buf, std::size_t n, std::int64_t p)
{
    std::size_t lus = 0;
    while (lus < n) {
        const ssize_t r = pread(fd, buf + lus, n - lus, static_cast<off_t>(p + static_cast<std::int64_t>(lus)));
        if (r < 0 && errno == EINTR)
            continue;
        if (r < 0)
            return -1;
        if (r == 0)
            break;
        lus += static_cast<std::size_t>(r);
    }
    return static_cast<std::int64_t>(lus);
}

} // namespace

std::int64_t LitEnParallele(int fd, const bool (&delimiteur)[256], const ReglageParallele &reglage, Articles &articles,
                            Items &items, Comptes &comptes, const std::function<void(std::int64_t)> &apres)
{
    const std::size_t fils = std::max(1u, reglage.fils);
    const auto parFil = static_cast<std::size_t>(std::max<std::int64_t>(reglage.fenetre, 1024));
    const std::size_t fenetre = parFil * fils;
    std::vector<unsigned char> tampon;
    std::vector<Morceau> morceaux(fils);
    try {
        tampon.resize(fenetre + kDebordement);
    } catch (const std::bad_alloc &) {
        return 0;
    }
    std::int64_t position = 0;
    for (;;) {
        // The window, read by the threads a slice each.
        std::vector<std::int64_t> lus(fils, 0);
        SurLesFils(fils, [&](std::size_t k) { lus[k] = LitA(fd, tampon.data() + k * parFil, parFil, position + static_cast<std::int64_t>(k * parFil)); });
        std::size_t taille = 0;
        for (std::size_t k = 0; k < fils; ++k) {
            if (lus[k] < 0)
                return position;  // the reading one token at a time reports the failure
            taille += static_cast<std::size_t>(lus[k]);
            if (static_cast<std::size_t>(lus[k]) < parFil)
                break;
        }
        // Up to its last line feed (what follows goes with the next window), in pieces that end at
        // line feeds.
        const unsigned char *debut = tampon.data();
        const unsigned char *dernier = taille > 0 ? static_cast<const unsigned char *>(memrchr(debut, '\n', taille)) : nullptr;
        if (dernier == nullptr)
            return position;
        const unsigned char *fin = dernier + 1;
        std::fill(tampon.begin() + (fin - debut), tampon.begin() + (fin - debut) + kDebordement, 0);
        std::size_t pieces = 0;
        const unsigned char *d = debut;
        for (std::size_t k = 1; k <= fils && d < fin; ++k) {
            const unsigned char *f = fin;
            if (k < fils) {
                const unsigned char *nominal = std::max(d, debut + static_cast<std::size_t>(fin - debut) * k / fils);
                const void *lf = std::memchr(nominal, '\n', static_cast<std::size_t>(fin - nominal));
                f = lf ? static_cast<const unsigned char *>(lf) + 1 : fin;
            }
            morceaux[pieces++].Efface(d, f, position + (d - debut));
            d = f;
        }
        SurLesFils(pieces, [&](std::size_t k) { LitMorceau(morceaux[k], delimiteur, articles); });

        std::size_t fusionnes = 0;
        while (fusionnes < pieces && morceaux[fusionnes].entier && Fusionne(morceaux[fusionnes], articles, comptes))
            ++fusionnes;
        SurLesFils(fusionnes, [&](std::size_t k) { Renumerote(morceaux[k]); });
        for (std::size_t k = 0; k < fusionnes; ++k) {
            Morceau &m = morceaux[k];
            items.adopte(std::move(m.items), m.nbItems);
            position = m.origine + (m.fin - m.debut);
            apres(position);
        }
        if (fusionnes < pieces)
            return position;
    }
}

} // namespace talmer::segmentation
