// The corpus divided by one key type into parts, one per distinct value of the key, in the order
// of the values' entity numbers (that is, alphabetically).
//
// Each key marker opens a zone, from the item after the marker to the next marker; the text
// before the first marker counts in the first zone's part in the table of forms by parts, the
// per-part counts and the selection mask, but not in the counts of position lists (groups of
// forms, repeated segments), which start at the first zone.
#pragma once

#include "engine/selection.h"
#include "engine/tablecreuse.h"

#include <cstdint>
#include <vector>

class charg1;
class Section;
class Tgen;

// One key marker in text order, or the closing record.
struct Zone {
    std::int32_t Partie = 0;        // index of the part; number of parts + 1 for the closing record
    std::int32_t Debut = 0;         // the position right after the marker; Nbitem for the closing record
    std::int32_t PremierIndex = 0;  // first section at or after Debut (IndexeZones), 0 until then
};

class Partition : public Selection {
public:
    static constexpr std::int32_t CouleurInitiale = 0x00FFFF40;
    static constexpr std::int32_t FreqMinInitiale = 10;
    static constexpr std::int32_t SeuilInitial = 5;

    // key: a key type entity of the base.
    Partition(charg1 *base, std::int32_t cle);
    ~Partition() override = default;
    Partition(const Partition &) = delete;
    Partition &operator=(const Partition &) = delete;

    // The key's spelling.
    const char *NomPartition() const;
    // The part of text position p; -1 outside the text (or when the key has no marker).
    std::int32_t PartieDePosition(std::int32_t p) const;
    // Sets each zone's first section index for the sectioning s.
    void IndexeZones(const Section *s);
    // How many of the n ascending positions lie in the zone; 0 when zone is not a zone.
    std::int32_t NbPositionsDansZone(const std::int32_t *positions, std::int32_t n, std::int32_t zone) const;
    // How many occurrences of the group lie in the zones of the part.
    std::int32_t NbPositionsDansPartie(const Tgen *groupe, std::int32_t partie) const;
    // Frequency of an entity in a part: the table for a form, the entity's positions counted zone
    // by zone otherwise (a repeated segment); 0 for a part that does not exist.
    std::int32_t RetourneFrqPartie(std::int32_t entite, std::int32_t partie) const;
    // The frequency of the entity in every part (one lookup of its positions for a segment).
    std::vector<std::int32_t> FrqParPartie(std::int32_t entite) const;
    // The same frequencies, only the parts where the entity occurs (ascending by part, `colonne`
    // the part, `valeur` the frequency there): what a segment costs follows its occurrences, not
    // the number of parts.
    std::vector<TableCreuse::Cellule> FrqCreuseParPartie(std::int32_t entite) const;
    // The parts of positions (in any order), counted as FrqCreuseParPartie counts an entity's.
    std::vector<TableCreuse::Cellule> CompteParPartie(const std::vector<std::int32_t> &positions) const;

    // 1 at each position whose part is selected.
    std::vector<char> MasqueItems() const override;
    bool EstGroupeFormes() const override { return false; }

    charg1 *Base() const { return base_; }
    std::int32_t Cle() const { return cle_; }
    std::int32_t NbParties() const { return nbParties_; }
    std::int32_t NbZones() const { return nbZones_; }
    // Zone z for z in 0..NbZones() (the last is the closing record).
    const Zone &ZoneNo(std::int32_t z) const { return zones_[static_cast<std::size_t>(z)]; }
    const std::vector<Zone> &Zones() const { return zones_; }
    // The zones of a part, in text order.
    const std::vector<std::int32_t> &ZonesDePartie(std::int32_t partie) const;

    // Per-part values; a part that does not exist gives 0 (-1 for its code).
    std::int32_t CodePartie(std::int32_t k) const;       // entity of the key content naming part k
    const char *NomPartie(std::int32_t k) const;         // the spelling of that content
    std::int32_t NbOccPartie(std::int32_t k) const;      // word occurrences
    std::int32_t NbFormesPartie(std::int32_t k) const;   // distinct forms
    std::int32_t NbHapaxPartie(std::int32_t k) const;    // forms of frequency 1 in the part
    std::int32_t FmaxPartie(std::int32_t k) const;       // highest frequency
    std::int32_t FormeFmaxPartie(std::int32_t k) const;  // lowest-numbered form of that frequency
    // The table of forms by parts: frequency of a form in a part (0 outside the table).
    std::int32_t FrqFormePartie(std::int32_t forme, std::int32_t k) const;
    // The whole table: a row per form (Nbform rows), a column per part, the non-zero cells only.
    const TableCreuse &Table() const { return table_; }

    // Part flags. A part can be selected only while it is checked; unchecking a part unselects it.
    bool EstCochee(std::int32_t k) const;
    bool EstSelectionnee(std::int32_t k) const;
    void Coche(std::int32_t k, bool coche);
    // Has no effect on a part that is not checked; returns the flag as it stands afterwards.
    bool Selectionne(std::int32_t k, bool selectionne);
    // The flag arrays themselves (one byte per part, nonzero = set), for the calculators that
    // must see later changes.
    const char *Cochees() const { return coche_.data(); }
    const char *Selectionnees() const { return selection_.data(); }
    // A copy of the selected flags, and its restoration (parts not checked stay unselected).
    std::vector<char> CopieSelection() const { return selection_; }
    void RestaureSelection(const std::vector<char> &selection);

    std::int32_t Couleur(std::int32_t k) const;
    void FixeCouleur(std::int32_t k, std::int32_t couleur);

    // Specificity parameters: minimum frequency, and threshold as a probability in percent.
    std::int32_t FreqMin() const { return freqMin_; }
    void FixeFreqMin(std::int32_t f) { freqMin_ = f; }
    std::int32_t Seuil() const { return seuil_; }
    void FixeSeuil(std::int32_t s) { seuil_ = s; }

private:
    void CalculeParties();
    void CalculeZones();
    void CalculeTableLexicale();
    void InitMarques();
    bool EstPartie(std::int32_t k) const { return k >= 0 && k < nbParties_; }
    // Positions in [debut, fin) of an ascending list.
    static std::int32_t CompteEntre(const std::int32_t *positions, std::int32_t n,
                                    std::int32_t debut, std::int32_t fin);

    TableCreuse table_;   // rows: forms; columns: parts
    charg1 *base_;
    std::int32_t nbZones_ = 0;
    std::int32_t nbParties_ = 0;
    std::vector<char> coche_;
    std::vector<char> selection_;
    std::vector<std::int32_t> couleur_;
    std::int32_t freqMin_ = FreqMinInitiale;
    std::int32_t seuil_ = SeuilInitial;
    std::vector<std::int32_t> codes_;
    std::vector<std::int32_t> nbOcc_;
    std::vector<std::int32_t> nbFormes_;
    std::vector<std::int32_t> nbHapax_;
    std::vector<std::int32_t> fmax_;
    std::vector<std::int32_t> formeFmax_;
    std::int32_t cle_;
    std::vector<Zone> zones_;
    std::vector<std::vector<std::int32_t>> zonesDePartie_;
};
