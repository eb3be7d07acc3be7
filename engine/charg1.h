// The corpus base in memory: counts, one dictionary record and spelling per entity, and the
// numeric text; every analysis reads a base only through this class.
//
// Numbering: entities 0 to Nbart-1 (word forms by decreasing frequency, then punctuation, key
// types, key contents); Nbart names nothing; once a SegRep is attached, repeated segment k is
// entity Nbart+1+k, up to NbTotEntites. Text positions 0 to Nbitem-1; in memory the item at a
// position is an entity number or, for the k-th line break (from 0), Limd+2+k.
#pragma once

#include "engine/progression.h"

#include <cstdint>
#include <set>
#include <string>
#include <vector>

class SegRep;

// The dictionary record of one entity.
struct EntreeDico {
    std::int32_t Lexg = 0;           // alphabetical index
    std::int32_t Frq = 0;            // frequency
    const char *Graphie = nullptr;   // spelling, inside the base's spelling pool
    std::int32_t Info = 0;           // free word for the windows (0 at load)
};

// Result of charg1::ChargeBase.
enum CodeChargeBase : int {
    ChargeReussie = 0,
    ErreurFichierParam = 1,   // the parameter file could not be read
    ErreurDictionnaire = 2,   // the numeric dictionary could not be read
    ErreurTexteNum = 3,       // the numeric text could not be read
    ErreurMemoire = 4,        // memory could not be allocated
};

// The text the main window appends to "Erreur " for a ChargeBase code (UTF-8; empty for 0 and
// unknown codes).
const char *TexteErreurChargement(int code);

class charg1 {
public:
    // Fixed codes of the base files.
    static constexpr std::int32_t LimdFixe = 5000000;
    static constexpr std::int32_t CodeSautLigne = LimdFixe - 258;  // 4999742, line break in the .num
    static constexpr std::int32_t TailleNomBase = 256;
    static constexpr std::int32_t TailleLigne = 65536;             // longest spelling + 1

    charg1();
    ~charg1();
    charg1(const charg1 &) = delete;
    charg1 &operator=(const charg1 &) = delete;

    // Loading.
    void AttribGauge(FnProgression callback);
    // Reads <base>.par at the given path, then <base>.dic and <base>.num beside it (<base> is the
    // file name on the first line of the .par; one holding a '/' is refused). Every entity must
    // occur in the numeric text exactly as often as its dictionary record says. Returns a
    // CodeChargeBase; on failure the instance must not be queried further. A progress callback or
    // the watch that throws (CalculInterrompu) stops the load: the exception goes through, and the
    // instance must not be queried either.
    int ChargeBase(const char *cheminPar);
    void DesAlloc();

    // Counts and names.
    std::int32_t Nbform() const { return nbform_; }
    std::int32_t Nbartponct() const { return nbartponct_; }
    std::int32_t Nbcle() const { return nbcle_; }
    std::int32_t Nbctnu() const { return nbctnu_; }
    std::int32_t Nbart() const { return nbart_; }
    std::int32_t Nbocc() const { return nbocc_; }
    std::int32_t Nbitem() const { return nbitem_; }
    std::int32_t Nhap() const { return nhap_; }
    std::int32_t Fmax() const { return fmax_; }
    std::int32_t NbLignes() const { return nbLignes_; }
    std::int32_t Limd() const { return limd_; }
    std::int32_t NbFormSup() const { return nbFormSup_; }
    std::int32_t NbTotEntites() const { return nbTotEntites_; }
    const char *NomBase() const { return nomBase_; }

    // Entities (n an entity number).
    EntreeDico RetourneLexm(std::int32_t n) const;       // zeros when n is not an entity
    std::int32_t RetourneFrq(std::int32_t n) const;      // -1 when n is not an entity
    std::int32_t Lexg(std::int32_t n) const;             // -1 when n is not an entity
    void SetInfo(std::int32_t n, std::int32_t valeur);   // nothing when n is not an entity
    // The spelling of entity n (formsOnly: only forms and punctuation), or of an attached segment
    // (its forms each followed by a blank; valid until the next call); "" for anything else.
    const char *RetourneGraphie(std::int32_t n, bool formsOnly) const;
    // Lowest entity whose spelling equals s byte for byte, among forms and punctuation
    // (formsOnly) or all entities; -1 when none.
    std::int32_t LocFormDic(const char *s, bool formsOnly) const;

    // Positions (p a text position).
    std::int32_t Tnum(std::int32_t p) const;              // -1 outside the text
    void SetTnum(std::int32_t p, std::int32_t valeur);    // nothing outside the text
    EntreeDico RetourneLexmAtPos(std::int32_t p) const;   // zeros outside the text or on a line break
    std::int32_t RetourneFrqAtPos(std::int32_t p) const;  // -1 outside the text or on a line break
    // nullptr outside the text, on a line break, or on an entity beyond the bound of formsOnly.
    const char *RetourneGraphieAtPos(std::int32_t p, bool formsOnly) const;

    // Occurrences.
    // Positions of entity n ascending, or of an attached segment; empty for anything else.
    std::vector<std::int32_t> LocOccFor(std::int32_t n) const;
    // Positions of any of the m entities (each position once), then the positions of the listed
    // segments appended, the whole ascending.
    std::vector<std::int32_t> LocOccFor(const std::int32_t *entites, std::int32_t m) const;
    // Attaches repeated segments (not owned; nullptr detaches).
    void AssigneSR(SegRep *segments);
    SegRep *SegmentsAttaches() const { return segRep_; }

    // Context sort: sorts the n positions by the text that follows (step +1) or precedes
    // (step -1) them, comparing alphabetical indexes of the items at or below limit and of the
    // entities in kept, skipping every other item. Step 0 leaves the array as it is.
    void TriCont(std::int32_t *positions, std::int32_t n, std::int32_t step, std::int32_t limit,
                 const std::set<std::int32_t> &kept) const;
    // True when position a may stay before position b.
    bool Compar(std::int32_t a, std::int32_t b, std::int32_t step, std::int32_t limit,
                const std::set<std::int32_t> &kept) const;

private:
    bool LecParam(const char *cheminPar);
    bool AllocMem();
    bool OpenDicNum();
    bool OpenTextNum();
    // What decoding the first n items of tnum_ in place finds: the first fault in text order, or
    // the line breaks, the word occurrences and the occurrences of each entity.
    enum class FauteTexte { Aucune, TropDeSauts, Ponctuation, Entite };
    struct DecodageTexte {
        FauteTexte faute = FauteTexte::Aucune;
        std::int64_t position = 0;
        std::int32_t valeur = 0;
        std::int64_t sauts = 0, occurrences = 0;
        std::vector<std::int32_t> vus;
    };
    DecodageTexte DecodeTexte(std::int64_t n);
    bool EstEntite(std::int32_t n) const { return n >= 0 && n < nbart_ && lexm_ != nullptr; }
    bool DansTexte(std::int32_t p) const { return p >= 0 && p < nbitem_ && tnum_ != nullptr; }

    char nomBase_[TailleNomBase] = {};
    std::string dossier_;          // folder of the parameter file, with its final '/', or ""
    std::int64_t tailleDic_ = -1;  // size of the dictionary file seen before allocating, -1 unknown
    std::int32_t limd_ = 0;
    std::int32_t limdMoins1_ = 0;
    std::int32_t limdMoins258_ = 0;
    std::int32_t *tnum_ = nullptr;
    EntreeDico *lexm_ = nullptr;
    std::int32_t nbform_ = 0, nbitem_ = 0, nbart_ = 0, fmax_ = 0, nhap_ = 0, nbocc_ = 0;
    std::int32_t nbFormSup_ = 0, nbTotEntites_ = 0;
    std::int32_t nbItemsSansAnnot_ = 0;
    std::int32_t nbartponct_ = 0, nbcle_ = 0, nbctnu_ = 0;
    std::int32_t nbLignes_ = 0;
    std::int32_t *list_ = nullptr;
    std::int64_t tailleLexm_ = 0, tailleTnum_ = 0, tailleFtext_ = 0, tailleList_ = 0;
    char *ftext_ = nullptr;
    std::int32_t tablePonct_[256] = {};
    mutable std::string texteSegment_;
    SegRep *segRep_ = nullptr;
    FnProgression gauge_ = nullptr;
};
