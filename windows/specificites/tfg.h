// The table of forms by parts: every form, then every repeated segment (or the forms of a dropped
// group), with its frequency and its specificity coefficient in each part computed by the last
// "Sp. Tot" run; sorted by clicks on the column headers.
#pragma once

#include "windows/specificites/frequencesparties.h"

#include "engine/progression.h"

#include <QAbstractTableModel>
#include <QColor>

#include <cstdint>
#include <memory>
#include <vector>

class CalcSpecTot;
class Partition;
class charg1;

namespace talmer {

// The orders of the table.
enum class OrdreTFG {
    Aucun,
    AlphaCroissant,
    AlphaDecroissant,
    FrqCroissante,
    FrqDecroissante,
    CoefDecroissant,
    CoefCroissant,
};

// The sort state of the table's header clicks: state -1 at first, then 0 alphabetical ascending,
// 1 alphabetical descending, 2 frequency ascending, 3 frequency descending, 4 coefficient
// descending, 5 coefficient ascending; and the computed part whose column was last clicked (-1
// before any). Each call returns the order the rows must now take (Aucun: leave them).
class EtatTriTFG {
public:
    // A click on the header of grid column c (0: the spellings, c >= 1: computed part c - 1);
    // modeFrq tells which of "fréquence" and "spécificité" is chosen.
    OrdreTFG ClicEntete(int c, bool modeFrq);
    // The part column sorted again in the current mode: a further click reverses its order.
    OrdreTFG TriePartie(bool modeFrq);
    // The mode buttons: a part column already sorted takes the mode's highest-first order.
    OrdreTFG ChoisitFrequence();
    OrdreTFG ChoisitSpecificite();
    // A new computation with this many computed parts: a kept part column beyond them is
    // forgotten (the state stays, so the next click on a kept column continues its toggle).
    void NouveauCalcul(int nbPartiesCalculees);

    int Etat() const { return etat_; }
    int Colonne() const { return colonne_; }

private:
    int etat_ = -1;
    int colonne_ = -1;
};

// The rows of the table and what the grid shows of them: one column per computed part, the
// spellings in the vertical header.
class ModeleTFG : public QAbstractTableModel {
    Q_OBJECT
public:
    // The corner of the grid, over the spellings.
    static constexpr const char *TitreLignes = "Formes/SR";
    // Role of a part cell: the coefficient text ("" for none) and its colour.
    static constexpr int RoleCoef = Qt::UserRole + 1;
    static constexpr int RoleCouleurCoef = Qt::UserRole + 2;
    // Role of any data cell: the entity of its row.
    static constexpr int RoleEntite = Qt::UserRole + 3;

    explicit ModeleTFG(Partition *partition, QObject *parent = nullptr);
    ~ModeleTFG() override;

    // The computed specificities (not owned; null before the first run). Keeps the rows.
    void FixeCalcul(const CalcSpecTot *calcul);
    // Every form in entity order, then every attached segment.
    void RemplitLignes();
    // The rows of a dropped group, in its order.
    void FixeLignes(std::vector<std::int32_t> lignes);
    // Sorts the rows; `partie` is the computed part of the frequency and coefficient orders.
    void Trie(OrdreTFG ordre, int partie);

    const std::vector<std::int32_t> &Lignes() const { return lignes_; }
    const CalcSpecTot *Calcul() const { return calcul_; }
    Partition *PartitionSource() const { return partition_; }
    const FrequencesParties &Frequences() const { return frequences_; }
    // Part index of computed part k (-1 when none).
    std::int32_t PartieDeColonne(int k) const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    Partition *partition_;
    const CalcSpecTot *calcul_ = nullptr;
    FrequencesParties frequences_;
    std::vector<std::int32_t> lignes_;
};

// Alphabetical comparison of two entities of the table (forms by their alphabetical index,
// segments word by word, a form before a segment that starts with it): negative, 0 or positive.
int ComparAlphaTFG(const charg1 &base, std::int32_t a, std::int32_t b);

// Sorts rows in place: the coefficient orders put rows without a coefficient last either way.
void TrieLignesTFG(std::vector<std::int32_t> &lignes, OrdreTFG ordre, const charg1 &base,
                   const FrequencesParties &frequences, const CalcSpecTot *calcul, int partieCalculee);

// The specificities per part of a "Sp. Tot" run: with `restreindre`, the checked parts only,
// otherwise every part (each marked checked during the run). The partition's checked and
// selected flags are put back afterwards, also when the computation fails. Null (nothing
// computed) when no part would be computed.
std::unique_ptr<CalcSpecTot> CalculeSpecTot(Partition &partition, bool restreindre, FnProgression pas);
// How many parts such a run computes.
std::int32_t NbPartiesACalculer(const Partition &partition, bool restreindre);

} // namespace talmer
