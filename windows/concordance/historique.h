// The history of a concordance window's requests: each new request goes right after the shown
// one (the requests that followed stay, after it), and the user walks it back and forth.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

class Tgen;

namespace talmer {

struct EntreeHistorique {
    std::shared_ptr<Tgen> groupe;
    int tri = 0; // the sort index at the time: 0 "Aucun", 1 "Avant", 2 "Après"
};

class Historique {
public:
    // Inserts the entry after the current one and makes it current.
    void Ajoute(EntreeHistorique entree)
    {
        const auto place = entrees_.begin() + (courant_ + 1);
        entrees_.insert(place, std::move(entree));
        ++courant_;
    }
    bool PeutReculer() const { return courant_ > 0; }
    bool PeutAvancer() const { return courant_ + 1 < static_cast<int>(entrees_.size()); }
    // Moves one step; false (nothing changed) at either end.
    bool Recule()
    {
        if (!PeutReculer())
            return false;
        --courant_;
        return true;
    }
    bool Avance()
    {
        if (!PeutAvancer())
            return false;
        ++courant_;
        return true;
    }
    int Courant() const { return courant_; }
    int Taille() const { return static_cast<int>(entrees_.size()); }
    // The current entry; null while the history is empty.
    const EntreeHistorique *EntreeCourante() const
    {
        return courant_ >= 0 ? &entrees_[static_cast<std::size_t>(courant_)] : nullptr;
    }
    const EntreeHistorique &Entree(int i) const { return entrees_.at(static_cast<std::size_t>(i)); }

private:
    std::vector<EntreeHistorique> entrees_;
    int courant_ = -1;
};

} // namespace talmer
