// Repeated segments of a base: maximal sequences of 2 to 11 consecutive word forms, inside
// stretches bounded by chosen delimiters, that occur at least a minimum number of times.
//
// The positions of every segment are written to <base>.loc.sr (signed 32-bit little-endian text
// positions, for each segment its occurrences ascending, segments in the order of computation);
// <base>.desc.sr is created empty. Both files are rewritten from empty by every computation and
// stay open, for reading back, while the SegRep lives.
#pragma once

#include "engine/progression.h"

#include <cstdint>
#include <fstream>
#include <set>
#include <string>
#include <vector>

class charg1;
class Tgen;

// One repeated segment.
struct Segment {
    std::vector<std::int32_t> Formes;  // entity numbers of its forms, 2 to 11; the first is the pivot
    std::int32_t Frq = 0;              // number of occurrences
    std::int32_t Offset = -1;          // byte offset of its first position in <base>.loc.sr; -1 when
                                       // the positions file had failed when the segment was made
};

class SegRep {
public:
    // Marks the absence of a form in the sequences and left marks (above every entity number and
    // every line-break code).
    static constexpr std::int32_t Bourrage = 1000000000;
    // Longest segment, and the slots of a sequence read by LectSeg (left context + 11 forms).
    static constexpr int LongueurMax = 11;
    static constexpr int TailleSequence = 12;

    // Run state of the context scan, one slot per length k from 1 to 11 (slot 12 stays 0 so that
    // the right-maximality test of length 11 always passes; slot 0 is unused).
    struct EtatRuns {
        std::int32_t count[LongueurMax + 2] = {};
        std::int32_t start[LongueurMax + 2] = {};
        std::int32_t leftmark[LongueurMax + 2] = {};
    };

    // Keeps the base (not owned) and a copy of the delimiter entities; opens no file. Becomes the
    // base of the alphabetical comparison of segments.
    SegRep(charg1 *base, const std::set<std::int32_t> &delimiteurs);
    ~SegRep();
    SegRep(const SegRep &) = delete;
    SegRep &operator=(const SegRep &) = delete;

    void AttribGauge(FnProgression callback);

    // Computes every segment of the base whose forms reach the minimum frequency fmin (the first
    // argument is not used). The list is empty when none is found or a file cannot be opened.
    // The files are written under temporary names and take their own once the computation is
    // complete, so the files of the last complete computation stay whole on disk until then.
    // When the progress callback throws (CalculInterrompu), the exception goes through, the
    // list is empty, this object's files are closed and the temporary ones removed; the base's
    // files and the colour turn of the groups are as they were.
    void CalcSegRep(std::int32_t inutilise, std::int32_t fmin);
    // Segments whose first form is an occurrence of the group; appended to the list when ajoute.
    // The minimum frequency must be set before.
    std::vector<Segment> CalcTgenSR(Tgen *groupe, bool ajoute);
    // Segments starting at the n positions; the array is reordered in place by right context.
    std::vector<Segment> SelSegRep(std::int32_t *positions, std::int32_t n);
    // Reads the sequence at a position: out[0] the left context, out[1..11] the forms from the
    // position on, Bourrage where there is none.
    void LectSeg(std::int32_t out[TailleSequence], std::int32_t position) const;
    // Closes the runs of lengths j to 11 at occurrence m, emitting the segments that qualify.
    std::vector<Segment> EdiSeg(int j, EtatRuns &etat, const std::int32_t *positions, std::int32_t m,
                                const std::int32_t seq[TailleSequence],
                                const std::int32_t seq2[TailleSequence]);

    // Positions of segment k ascending, read back from the positions file; empty when the file is
    // not open, k is not a segment, or its positions cannot be reached. Never a value not read.
    std::vector<std::int32_t> LocOccSeg(std::int32_t k);
    // Spellings of the forms of segment k, each followed by a blank; "" when k is not a segment.
    std::string RetourneGraphie(std::int32_t k) const;
    // Sorts the list in alphabetical order of the segments' forms.
    void TriAlpha();
    // Alphabetical order of two segments (alphabetical indexes of their forms in the base of the
    // last SegRep constructed, then the shorter first); never 0.
    static int ComparSegAlpha(const Segment &a, const Segment &b);

    // State.
    charg1 *Base() const { return base_; }
    std::int32_t FreqMin() const { return freqMin_; }
    void SetFreqMin(std::int32_t fmin) { freqMin_ = fmin; }
    const std::set<std::int32_t> &Delimiteurs() const { return delimiteurs_; }
    const std::vector<Segment> &Segments() const { return segments_; }
    std::vector<Segment> &Segments() { return segments_; }
    std::int32_t NbSegments() const { return static_cast<std::int32_t>(segments_.size()); }
    bool FichiersOuverts() const { return fpos_.is_open(); }

    // Reads every segment's positions into memory and closes both files, so that a later
    // computation on the same base, which rewrites them, leaves this list's answers intact.
    // False, the files left as they were, when the positions cannot all be read back.
    bool GardePositionsEnMemoire();
    bool PositionsEnMemoire() const { return enMemoire_; }

    // Creates (or empties) <base>.loc.sr and <base>.desc.sr in the current directory, both open for
    // reading and writing; false, with both closed, when either cannot be opened.
    bool OuvreFichiers();
    // Sorts the positions ascending and writes them at the end of the positions file; returns their
    // offset, or -1 when the file is not open or has failed (nothing is then written).
    std::int32_t EcritPositions(std::vector<std::int32_t> positions);
    // Appends a segment made by hand with these forms and occurrence positions (written to the
    // positions file when it is open).
    void AjouteSegment(const std::vector<std::int32_t> &formes, std::vector<std::int32_t> positions);

    // Called by a base when it is destroyed, so that the alphabetical comparison never uses it.
    static void OublieBase(const charg1 *base);

private:
    std::fstream fpos_;
    std::fstream fdesc_;
    charg1 *base_ = nullptr;
    std::int32_t freqMin_ = 0;
    std::set<std::int32_t> delimiteurs_;
    std::vector<Segment> segments_;
    FnProgression gauge_ = nullptr;
    // The positions file's content once kept in memory (one entry per 4 bytes of the file).
    std::vector<std::int32_t> memoire_;
    bool enMemoire_ = false;

    // Opens both files under these names as OuvreFichiers does; closes them.
    bool OuvreFichiersSous(const std::string &positions, const std::string &description);
    void FermeFichiers();

    // The computation's own machinery (segrep_calc.cpp).
    struct Contextes;
    // One entry per delimiter entity below Nbart, so that the sequence read tests an item without
    // a search in the set; empty until a computation prepares it.
    std::vector<char> estDelim_;
    void PrepareDelimiteurs();
    bool EstDelimiteur(std::int32_t item) const;
    // Sorts the n occurrences by right context (the first counted item of each is compared from
    // its index `debuts[i]` in the counted text) and scans the runs, appending what they emit.
    // The sequence of each occurrence is read from the counted text at debuts[i] - decalage when
    // lectureComptee is set (see Contextes::LitSequence), from the text itself otherwise.
    // `suivi`, when given, hears of the occurrences scanned (a few thousand at a time) so that
    // the progress and the watch go on through a pivot of many occurrences.
    struct Suivi {
        PasRepartis *progression = nullptr;
        std::int64_t fait = 0;  // the work done before this pivot
    };
    void TrieEtParcourt(const Contextes &ctx, const std::int32_t *debuts, std::int32_t *positions,
                        std::int32_t n, std::int32_t decalage, bool lectureComptee, std::vector<Segment> &sortie,
                        const Suivi *suivi = nullptr);
    // lecture(m, out) reads the sequence of the m-th occurrence in sorted order.
    template <class Lecture>
    void ParcourtRuns(const std::int32_t *positions, std::int32_t n, Lecture &&lecture, std::vector<Segment> &sortie,
                      const Suivi *suivi);
    // True when the sequence read of the counted text gives what LectSeg gives: every delimiter
    // is an entity up to the first key type, where both reads test the delimiters alike.
    bool LectureCompteePossible() const;
};

// For each segment of `anciens`, the index in `nouveaux` of the segment made of the same forms,
// -1 when the new set has none (so that segment entity numbers can be carried from one
// computation to the next).
std::vector<std::int32_t> CorrespondanceSegments(const std::vector<Segment> &anciens,
                                                 const std::vector<Segment> &nouveaux);

// What carrying entity numbers to a new computation did.
struct BilanRenumerotation {
    bool segments = false;        // the numbers held at least one segment
    std::int32_t renumerotes = 0; // segments found again under another number
    std::int32_t retires = 0;     // segments the new computation lacks, dropped
};
// Carries entity numbers of a base (Nbart = nbart) from one computation of its segments to the
// next, in place and in order: numbers up to nbart stay; segment k (number nbart+1+k) becomes
// nbart+1+correspondance[k], or is dropped when that is -1 or k lies beyond it.
BilanRenumerotation RenumeroteSegments(std::vector<std::int32_t> &entites, std::int32_t nbart,
                                       const std::vector<std::int32_t> &correspondance);
