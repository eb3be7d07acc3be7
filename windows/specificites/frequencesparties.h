// The frequency of any entity in every part of a partition, for the table of forms by parts and
// its pages. A form is read from the partition's table; any other entity (a repeated segment, or
// punctuation from a dropped group) has its positions counted part by part once, on first use,
// and kept, so that drawing and sorting never read the positions file again. Only the parts
// where it occurs are kept: what a segment holds follows its occurrences, not the number of
// parts.
#pragma once

#include "engine/tablecreuse.h"

#include <cstdint>
#include <unordered_map>
#include <vector>

class Partition;

namespace talmer {

class FrequencesParties {
public:
    explicit FrequencesParties(const Partition *partition);

    // Frequency of the entity in part k (0 for a part that does not exist).
    std::int32_t Frq(std::int32_t entite, std::int32_t partie) const;
    // The frequencies of the entity in every part, NbParties() values.
    std::vector<std::int32_t> Ligne(std::int32_t entite) const;

    // Forgets what was counted: the segments attached to the base may have changed since.
    void Oublie() { autres_.clear(); }

    std::int32_t NbParties() const { return nbParties_; }
    const Partition *PartitionSource() const { return partition_; }

private:
    // The parts of an entity other than a form, ascending, counted on first use.
    const std::vector<TableCreuse::Cellule> &Autre(std::int32_t entite) const;

    const Partition *partition_;
    std::int32_t nbParties_ = 0;
    std::int32_t nbform_ = 0;
    mutable std::unordered_map<std::int32_t, std::vector<TableCreuse::Cellule>> autres_;
};

} // namespace talmer
