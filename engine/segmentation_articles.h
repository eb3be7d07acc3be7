// The articles of one segmentation: one per distinct tagged spelling, in creation order, their
// spellings in one pool (tag, text and terminating zero, each behind the one before), the table
// that finds them, and their frequencies while the text is read. Used by the segmenter only.
#pragma once

#include "engine/segmentation_lecture.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

namespace talmer::segmentation {

struct Article {
    std::int64_t graphie = 0;   // offset of the tagged spelling in the pool
    std::int32_t longueur = 0;  // length of the tagged spelling
    std::int32_t frq = 0;
    std::int32_t alpha = 0;     // alphabetical index
    std::int32_t numero = 0;    // final entity number
};

class Articles {
public:
    // What stops the making of an article.
    enum class Refus { Aucun, TropDArticles, ReserveGraphies };

    // At most `limite` articles, whose tagged spellings with their terminators hold at most
    // `taillePool` bytes. The pool is reserved whole but only touched as spellings arrive.
    void Prepare(std::int64_t limite, std::int64_t taillePool)
    {
        limite_ = limite;
        taillePool_ = taillePool;
        poolUtilise_ = 0;
        pool_.reset(new char[static_cast<std::size_t>(taillePool_ > 0 ? taillePool_ : 1)]);
        liste_.reserve(static_cast<std::size_t>(limite_ < 1 << 20 ? limite_ : 1 << 20));
    }
    std::int64_t Limite() const { return limite_; }
    std::int64_t TaillePool() const { return taillePool_; }

    // Whether `n` more articles, of `octets` bytes of tagged spellings in all, can still be made.
    bool Place(std::int64_t n, std::int64_t octets) const
    {
        return static_cast<std::int64_t>(liste_.size()) + n <= limite_ && poolUtilise_ + octets + n <= taillePool_;
    }

    // The article of a tagged spelling (the tag, then n bytes of text followed by kDebordement
    // readable bytes), or -1. Reads only: several threads may look up at once while no article
    // is made.
    std::int32_t Cherche(const Cle &cle, const unsigned char *texte, std::size_t n) const
    {
        bool trouve = false;
        const std::size_t i = table_.cherche(cle, n + 1, [&](std::int32_t a) { return Egal(a, texte, n); }, &trouve);
        return trouve ? table_.article(i) : -1;
    }

    // Counts `frq` more occurrences of a tagged spelling into its article, made on first sight;
    // Refus when it would have to be made and cannot (nothing changes then).
    Refus Compte(const Cle &cle, char tag, const unsigned char *texte, std::size_t n, std::int32_t frq,
                 std::int32_t &article)
    {
        bool trouve = false;
        const std::size_t i = table_.cherche(cle, n + 1, [&](std::int32_t a) { return Egal(a, texte, n); }, &trouve);
        if (trouve) {
            article = table_.article(i);
            frqs_[static_cast<std::size_t>(article)] += frq;
            return Refus::Aucun;
        }
        char tagge[1 + kCaracteresCle + kDebordement];
        tagge[0] = tag;
        std::memcpy(tagge + 1, texte, n);
        const Refus r = Cree(std::string_view(tagge, n + 1), 1, article);
        if (r != Refus::Aucun)
            return r;
        frqs_.push_back(frq);
        table_.insere(i, cle, article);
        return Refus::Aucun;
    }

    // Counts `frq` more occurrences into an article of the table.
    void AjouteFrequence(std::int32_t article, std::int32_t frq) { frqs_[static_cast<std::size_t>(article)] += frq; }

    // Makes the article of a tagged spelling outside the table, of that frequency (the punctuation,
    // made once the text is read).
    Refus Cree(std::string_view tagge, std::int32_t frq, std::int32_t &article)
    {
        if (static_cast<std::int64_t>(liste_.size()) >= limite_)
            return Refus::TropDArticles;
        const auto taille = static_cast<std::int64_t>(tagge.size()) + 1;
        if (poolUtilise_ + taille > taillePool_)
            return Refus::ReserveGraphies;
        std::memcpy(pool_.get() + poolUtilise_, tagge.data(), tagge.size());
        pool_[static_cast<std::size_t>(poolUtilise_ + taille - 1)] = '\0';
        Article art;
        art.graphie = poolUtilise_;
        art.longueur = static_cast<std::int32_t>(tagge.size());
        art.frq = frq;
        poolUtilise_ += taille;
        liste_.push_back(art);
        article = static_cast<std::int32_t>(liste_.size() - 1);
        return Refus::Aucun;
    }

    // The frequencies counted while the text was read go into the articles.
    void Fige()
    {
        for (std::size_t a = 0; a < frqs_.size(); ++a)
            liste_[a].frq = frqs_[a];
    }

    std::vector<Article> &Liste() { return liste_; }
    const std::vector<Article> &Liste() const { return liste_; }
    Article &operator[](std::size_t a) { return liste_[a]; }
    const Article &operator[](std::size_t a) const { return liste_[a]; }
    std::size_t Nombre() const { return liste_.size(); }
    char Tag(const Article &a) const { return pool_[static_cast<std::size_t>(a.graphie)]; }
    const char *Graphie(const Article &a) const { return pool_.get() + a.graphie + 1; }

    void Libere()
    {
        liste_.clear();
        liste_.shrink_to_fit();
        pool_.reset();
        table_.vide();
        frqs_.clear();
        frqs_.shrink_to_fit();
    }

private:
    bool Egal(std::int32_t a, const unsigned char *texte, std::size_t n) const
    {
        const Article &art = liste_[static_cast<std::size_t>(a)];
        return static_cast<std::size_t>(art.longueur) == n + 1 && std::memcmp(pool_.get() + art.graphie + 1, texte, n) == 0;
    }

    std::int64_t limite_ = 0;
    std::int64_t taillePool_ = 0;
    std::int64_t poolUtilise_ = 0;
    std::unique_ptr<char[]> pool_;
    std::vector<Article> liste_;
    TableGraphies table_;
    std::vector<std::int32_t> frqs_;
};

} // namespace talmer::segmentation
