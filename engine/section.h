// The text divided into sections by chosen delimiter entities: a section starts right after an
// occurrence of a delimiter and runs up to and including the next one (its last item), the last
// section to the end of the text. The text before the first delimiter belongs to no section; a
// delimiter at the last position opens an empty last section.
#pragma once

#include <cstdint>
#include <vector>

class charg1;
class Tgen;

class Section {
public:
    // Keeps each delimiter once, in the order given (a delimiter listed again is ignored: the
    // text opens one section per occurrence, however often the entity is listed), then computes
    // the section starts.
    Section(charg1 *base, const std::int32_t *delimiteurs, std::int32_t n);
    Section(const Section &) = delete;
    Section &operator=(const Section &) = delete;

    // Walks the text: each occurrence of a delimiter at j opens a section at j + 1.
    void CalcDebuts();

    // The number of the group's occurrences in section s; 0 when s is not a section.
    std::int32_t FrqTgen(const Tgen *groupe, std::int32_t s) const;
    // The number of word-form items in section s; 0 when s is not a section.
    std::int32_t NbOcc(std::int32_t s) const;
    // The number of items of section s equal to the form; 0 when s is not a section.
    std::int32_t FrqForme(std::int32_t forme, std::int32_t s) const;

    charg1 *Base() const { return base_; }
    const std::vector<std::int32_t> &Delimiteurs() const { return delimiteurs_; }
    std::int32_t NbDelimiteurs() const { return static_cast<std::int32_t>(delimiteurs_.size()); }
    // The number of delimiter occurrences (the sum of the delimiters' frequencies).
    std::int32_t NbSections() const { return nbSections_; }
    // Start of section s for s in 0..NbSections()-1, Nbitem for s = NbSections(); -1 otherwise.
    std::int32_t Debut(std::int32_t s) const;
    // The NbSections() + 1 starts, ascending, the last being Nbitem.
    const std::vector<std::int32_t> &Debuts() const { return debuts_; }

private:
    bool EstSection(std::int32_t s) const { return s >= 0 && s < nbSections_; }

    charg1 *base_;
    std::vector<std::int32_t> delimiteurs_;
    std::int32_t nbSections_ = 0;
    std::vector<std::int32_t> debuts_;
    std::vector<std::int32_t> nbOcc_;   // word-form items per section, counted by CalcDebuts
};
