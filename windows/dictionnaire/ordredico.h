// What the dictionary list shows, without a screen: which entity each row shows in frequency or
// alphabetical order, and the prefix search over the rows.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

class charg1;

namespace talmer {

class OrdreDictionnaire {
public:
    // Rows: the forms then the punctuation of the base, in frequency order.
    explicit OrdreDictionnaire(const charg1 &base);

    std::int32_t NbLignes() const { return nbLignes_; }
    bool Alphabetique() const { return alphabetique_; }

    // Frequency order: row r shows entity r (forms by decreasing frequency, then punctuation in
    // character order). Alphabetical order: the form rows show the forms by alphabetical index,
    // the punctuation rows are unchanged.
    void FixeAlphabetique(bool alphabetique);

    // The entity shown in a row; -1 outside the rows.
    std::int32_t Entite(std::int32_t ligne) const;
    // The row showing an entity; -1 when it is no row's.
    std::int32_t Ligne(std::int32_t entite) const;

    // The first row after `apres` (-1: from the top) whose spelling begins with `prefixe`, byte
    // for byte (case and accents count); -1 when none or when the prefix is empty.
    std::int32_t Cherche(std::string_view prefixe, std::int32_t apres) const;

private:
    const charg1 &base_;
    std::int32_t nbForm_ = 0;
    std::int32_t nbLignes_ = 0;
    bool alphabetique_ = false;
    // Alphabetical order only (frequency order is the identity and needs no table): the entity of
    // each form row, and the row of each form.
    std::vector<std::int32_t> ordre_;
    std::vector<std::int32_t> rang_;
};

} // namespace talmer
