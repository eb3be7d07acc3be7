// Specificities of every checked part of a partition, each part alone against all checked parts:
// one PrimSpec per checked part (a column), in part order.
#pragma once

#include "engine/primspec.h"
#include "engine/progression.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

class Partition;

class CalcSpecTot {
public:
    // Computes every column at once, the columns spread over `fils` threads (0: as many as the
    // machine runs at once); the columns are the same whatever their number. The step callback
    // is called as a computation column after column would call it: per column about 100 times
    // for the forms and, with segments attached, 100 for the segments, all on the calling
    // thread, spread over the whole work (the reading of the segments' positions before the
    // columns included). The reset callback is kept for the caller and never called. The two
    // option flags select no further step. The partition's flags are not changed. When a
    // computation fails or the step callback throws (CalculInterrompu goes through), the
    // threads are stopped and waited for, and no object is made.
    CalcSpecTot(Partition *partition, bool option1, bool option2, FnProgression pas, FnProgression remiseAZero,
                unsigned fils = 0);
    CalcSpecTot(const CalcSpecTot &) = delete;
    CalcSpecTot &operator=(const CalcSpecTot &) = delete;

    // The coefficient of the entity in the column; 0 when it has no row there (not significant,
    // below the minimum frequency) or the column does not exist.
    std::int32_t RetourneSpec(std::int32_t entite, std::int32_t colonne) const;

    std::int32_t NbPartiesCalculees() const { return nbPartiesCalculees_; }
    // Entry k: the index of the part of column k.
    const std::vector<std::int32_t> &IndicesParties() const { return indicesParties_; }
    const PrimSpec *Colonne(std::int32_t k) const;
    Partition *PartitionSource() const { return partition_; }
    FnProgression RemiseAZero() const { return remiseAZero_; }

private:
    friend class LecteurSpecTot;
    void CalculeSpecParties(unsigned fils);

    FnProgression pas_;
    FnProgression remiseAZero_;
    std::vector<std::unique_ptr<PrimSpec>> parties_;
    Partition *partition_;
    std::int32_t nbPartiesCalculees_ = 0;
    std::vector<std::int32_t> indicesParties_;
    // Per column, (entity, coefficient) ascending by entity: each entity has at most one row in
    // a column, so a binary search answers as a walk of the list would.
    std::vector<std::vector<std::pair<std::int32_t, std::int32_t>>> index_;
};

// Reads the coefficients of many entities column by column, as RetourneSpec answers them: each
// column keeps where its last entity was found, so that entities read in ascending order cost a
// step or two rather than a search. The computation must outlive the reader.
class LecteurSpecTot {
public:
    explicit LecteurSpecTot(const CalcSpecTot &calcul);

    std::int32_t Coef(std::int32_t entite, std::int32_t colonne);

private:
    const CalcSpecTot &calcul_;
    std::vector<std::size_t> positions_;  // per column: where the entity last read is, or would be
};
