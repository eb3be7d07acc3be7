// A user-made group of forms treated as one term: its entity numbers (forms, or repeated-segment
// entities Nbart+1+k), every occurrence of any of them, a name and a colour.
#pragma once

#include "engine/selection.h"

#include <cstdint>
#include <string>
#include <vector>

class charg1;

class Tgen : public Selection {
public:
    // The colours taken in turn by new groups, as 0x00BBGGRR values: blue, red, green, purple,
    // teal, dark red, olive, orange, pink, black.
    static constexpr int TaillePalette = 10;
    static constexpr std::int32_t Palette[TaillePalette] = {
        0xFF0000, 0x0000FF, 0x008000, 0xC000C0, 0x808000,
        0x00008C, 0x00C0C0, 0x0064FA, 0xFF80FF, 0x000000,
    };

    // Takes the next colour of the program-wide turn, copies the n entity numbers and collects
    // their occurrences. Without a name (null or empty), the group is named after the spelling of
    // its first entity, followed by "+" when it has several.
    Tgen(charg1 *base, const std::int32_t *formes, std::int32_t n, const char *nom = nullptr);
    ~Tgen() override = default;
    Tgen(const Tgen &) = delete;
    Tgen &operator=(const Tgen &) = delete;

    // (Re)collects the occurrence positions of the group from the base.
    void LocOcc();
    // Replaces the entity numbers (the name and colour stay) and collects their occurrences from
    // the base as it stands now.
    void RemplaceFormes(std::vector<std::int32_t> formes);

    std::vector<char> MasqueItems() const override;
    bool EstGroupeFormes() const override { return true; }

    charg1 *Base() const { return base_; }
    const std::vector<std::int32_t> &Formes() const { return formes_; }
    std::int32_t NbFormes() const { return static_cast<std::int32_t>(formes_.size()); }

    // The occurrence positions, ascending when collected (positions given by several segments,
    // or by a segment and a form, as often as they come). Windows that sort occurrences by
    // context reorder this array in place; the counts and the membership test below do not
    // depend on its order.
    std::int32_t *Positions() { return positions_.data(); }
    const std::int32_t *Positions() const { return positions_.data(); }
    std::int32_t NbOcc() const { return static_cast<std::int32_t>(positions_.size()); }
    // The same positions, always ascending.
    const std::vector<std::int32_t> &PositionsTriees() const { return triees_; }
    // True when p is an occurrence of the group.
    bool Contient(std::int32_t p) const;
    // The number of occurrences in [debut, fin).
    std::int32_t NbOccEntre(std::int32_t debut, std::int32_t fin) const;

    const char *Nom() const { return nom_.c_str(); }
    std::int32_t Couleur() const { return couleur_; }
    void FixeCouleur(std::int32_t couleur) { couleur_ = couleur; }

    // Index of the colour the next group will take (0 when the program starts).
    static int IndexCouleurSuivante();

private:
    charg1 *base_;
    std::vector<std::int32_t> formes_;
    std::vector<std::int32_t> positions_;
    std::vector<std::int32_t> triees_;
    std::string nom_;
    std::int32_t couleur_;
};
