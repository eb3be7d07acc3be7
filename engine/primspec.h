// Specificities of a group of parts of a partition: the target parts (the selected ones) against
// the reference parts (the checked ones), for every word form and then every repeated segment
// attached to the base; the significant ones only, sorted by coefficient, highest first.
#pragma once

#include "engine/progression.h"
#include "engine/tablecreuse.h"

#include <cstdint>
#include <functional>
#include <vector>

class Partition;

// One significant entity.
struct StructSpec {
    std::int32_t Entite = 0;  // a form, or Nbart + 1 + k for repeated segment k
    std::int32_t F = 0;       // frequency summed over the reference parts
    std::int32_t f = 0;       // frequency summed over the parts both reference and target
    std::int32_t Coef = 0;    // rounded coefficient, never 0

    bool operator==(const StructSpec &) const = default;
};

class PrimSpec {
public:
    // Keeps the partition (not owned) and reads its flag arrays as they stand when computing;
    // copies its threshold and minimum frequency. With a divisor above 1 (the labels count), the
    // corpus and part sizes are divided by it.
    PrimSpec(Partition *partition, std::int32_t diviseur);
    PrimSpec(const PrimSpec &) = delete;
    PrimSpec &operator=(const PrimSpec &) = delete;

    // The callback is called about 100 times for the forms and 100 for the segments. When it
    // throws (CalculInterrompu), Calcule and CalculePartie let the exception through and leave
    // the list and sizes as they were.
    void SetProgression(FnProgression callback);
    // Fills the list (once).
    void Calcule();

    // What the specificities of each part alone against the same reference parts share, read
    // from the partition once: the corpus size, the reference frequency F of every entity and,
    // part by part, the entities present there with their frequency.
    struct Marges {
        std::int32_t T = 0;                      // word occurrences of the reference parts
        std::vector<std::int32_t> Fformes;       // per form
        std::vector<std::int32_t> Fsegments;     // per attached segment
        // Per segment, the index of its F among the distinct values of Fsegments: in a part
        // where they are absent, segments of one F have one coefficient, computed once.
        std::vector<std::int32_t> rangsFsegments;
        std::int32_t nbFsegments = 0;
        // Row k: the forms of part k, ascending, with their frequency there (cell columns are
        // form numbers); the same for the attached segments (segment indices), whose rows hold
        // the reference parts only.
        TableCreuse formesParPartie, segmentsParPartie;
        // The forms and segments after which the progress callback is called.
        std::vector<std::int32_t> appelsFormes, appelsSegments;
    };
    // The shared values for the partition's checked parts as they stand. Reading the segments'
    // positions is the long part: `segmentLu`, when given, is called after each segment with the
    // margins so far (their lists of steps already made) and the number of segments read; it
    // may throw to stop the preparation.
    static Marges PrepareMarges(const Partition &partition,
                                const std::function<void(const Marges &, std::int32_t)> &segmentLu = {});
    // Fills the list as Calcule does when the one target part is `partie`, a checked part, and
    // the checked parts are those the margins were prepared for. The selected flags are not
    // read, and nothing but this object is written: several threads may each compute a part at
    // once, each with its own PrimSpec. At each of the progress steps, `pas` is called with the
    // phase when given, else the progress callback.
    void CalculePartie(const Marges &marges, std::int32_t partie, const std::function<void(std::int32_t)> &pas = {});

    const std::vector<StructSpec> &Liste() const { return liste_; }
    std::int32_t NbLignes() const { return static_cast<std::int32_t>(liste_.size()); }
    const StructSpec &Ligne(std::int32_t i) const { return liste_[static_cast<std::size_t>(i)]; }

    Partition *PartitionSource() const { return partition_; }
    std::int32_t Seuil() const { return seuil_; }
    std::int32_t FreqMin() const { return freqMin_; }
    std::int32_t Diviseur() const { return diviseur_; }
    // The corpus and part sizes of the last computation, after the division.
    std::int32_t TailleCorpus() const { return T_; }
    std::int32_t TaillePartie() const { return t_; }

    // The order of the lists: coefficient highest first, then entity number ascending, so that
    // rows of equal coefficient always come in the same order.
    static bool AvantDans(const StructSpec &a, const StructSpec &b);

private:
    FnProgression progression_ = nullptr;
    std::vector<StructSpec> liste_;
    Partition *partition_;
    const char *references_;
    const char *cibles_;
    std::int32_t seuil_;
    std::int32_t freqMin_;
    std::int32_t diviseur_;
    std::int32_t T_ = 0;
    std::int32_t t_ = 0;
};
