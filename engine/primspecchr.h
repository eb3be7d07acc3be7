// Chronological specificities: for every form, the run of consecutive parts of the partition
// over which it is most specific (coefficient of largest magnitude), when significant.
#pragma once

#include "engine/progression.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

class Partition;
class RecherchePeriodes;

struct StructSpecChr {
    std::int32_t Entite = 0;
    std::int32_t f = 0;         // frequency summed over the tested run
    std::int32_t Coef = 0;      // rounded coefficient, never 0
    std::int32_t Premiere = 0;  // first part of the reported run
    std::int32_t Derniere = 0;  // last part of the reported run

    bool operator==(const StructSpecChr &) const = default;
};

class PrimSpecChr {
public:
    // The ten orders of Trie.
    enum CodeTri : int {
        AlphaCroissant = 0, AlphaDecroissant = 1,
        FrqCroissante = 2, FrqDecroissante = 3,
        PeriodeCroissante = 4, PeriodeDecroissante = 5,
        SousFrqCroissante = 6, SousFrqDecroissante = 7,
        CoefCroissant = 8, CoefDecroissant = 9,
    };

    // threshold in percent; a form takes part when its frequency is strictly above freqMin.
    PrimSpecChr(Partition *partition, std::int32_t seuilPourcent, std::int32_t freqMin);
    ~PrimSpecChr();
    PrimSpecChr(const PrimSpecChr &) = delete;
    PrimSpecChr &operator=(const PrimSpecChr &) = delete;

    // Examines every form and appends the rows in entity order. The forms are spread over the
    // machine's threads; the rows are the same whatever their number. The callback, when given,
    // is called about a hundred times over the forms above the minimum frequency (those that
    // cost the work), always on the calling thread; when it throws (CalculInterrompu), the
    // computation stops, the exception goes through and the rows are those of before the call.
    void Calcule(FnProgression pas = nullptr);
    // Examines one entity and appends at most one row.
    void CalculeEntite(std::int32_t entite);
    // Sorts the rows by one of the ten codes; any other code leaves them as they are. Rows whose
    // keys are equal come in ascending entity order.
    void Trie(int code);

    const std::vector<StructSpecChr> &Lignes() const { return lignes_; }
    std::int32_t NbLignes() const { return static_cast<std::int32_t>(lignes_.size()); }
    const StructSpecChr &Ligne(std::int32_t i) const { return lignes_[static_cast<std::size_t>(i)]; }
    std::int32_t NbParties() const { return parties_; }
    Partition *PartitionSource() const { return partition_; }
    double Seuil() const { return seuil_; }
    std::int32_t FreqMin() const { return freqMin_; }

private:
    // Number of parts, corpus size and the search over the part sizes, from the partition.
    void Prepare();
    // The row of an entity, false when it has none. Reads only the partition, the base and the
    // search: several threads may examine entities at once.
    // `arret`: set by the thread that follows the others to stop the search (RechercheArretee).
    bool Examine(std::int32_t entite, StructSpecChr &ligne, const std::atomic<bool> *arret = nullptr) const;

    std::int32_t parties_ = 0;
    std::int32_t T_ = 0;
    Partition *partition_;
    double seuil_;
    std::int32_t freqMin_;
    std::vector<StructSpecChr> lignes_;
    std::unique_ptr<RecherchePeriodes> recherche_;
};
