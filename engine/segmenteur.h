// Segmentation of a corpus text into a corpus base (<base>.par, <base>.dic, <base>.num).
//
// The text is 8-bit (the display code page), key markers written <type=value>. The base files are
// written into the current directory, which must be the text's folder, under the text's file name
// without its last extension. Everything the segmenter has to say goes to the trace file.
#pragma once

#include "engine/progression.h"

#include <cstdint>
#include <string>

// Default maximum number of articles (distinct forms, punctuation characters, key types and key
// contents together); the configuration's "numart" replaces it.
inline constexpr std::int32_t MaxArtDefaut = 100000;

// The 20 delimiter characters the segmentation dialog proposes (Windows-1252).
inline constexpr const char *DelimiteursDefaut = ".,:;!?/_-\\\"'()[]{}\xA7$";

enum class ResultatSegm {
    Reussie,
    TexteIllisible,        // the text cannot be opened or read
    TravailIllisible,      // the work file cannot be created or read back
    FichierBase,           // a base file cannot be written
    TropDArticles,         // more articles than the maximum number of articles
    ReserveGraphies,       // the spelling pool (40 bytes per article) is full
    CleTropLongue,         // a key type or content of more than 126 characters
    CleVide,               // a key type or content that is empty
    CleIllisible,          // a key type or content holding a control character (a line break...)
    CleInachevee,          // a '<' whose marker the text ends before closing
    TropDItems,            // a count beyond 32 bits
    MemoireInsuffisante,   // the tables cannot be allocated
    TexteNonRegulier,      // the text is a folder, a FIFO or a device
    NomReserve,            // the text bears the name of a file the segmentation writes
    DossierInterdit,       // the current directory cannot be written
};

// What a text is, looked at before anything is written (the key check starts the trace file afresh,
// the segmentation writes the base files): only a regular file that the run cannot overwrite is
// accepted.
enum class EtatTexte {
    Accepte,
    Illisible,     // absent or unreadable
    NonRegulier,   // a folder, a FIFO, a device: reading it would block or make no sense
    NomReserve,    // the trace file, a work file, or a file of its own base (.dic, .num, .par,
                   // .loc.sr, .desc.sr) in the current directory
};

// Looks at the text without opening it; the current directory must be where its base will go.
EtatTexte ExamineTexte(const char *cheminTexte);

// A French sentence for the user (UTF-8) saying why a text is refused; "" for Accepte.
const char *MessageTexte(EtatTexte etat);

struct ParametresSegm {
    std::string delimiteurs;             // delimiter characters typed by the user
    std::int32_t maxArt = MaxArtDefaut;  // maximum number of articles, sizes every table
    FnProgression progression = nullptr; // called with 0 about a hundred times while the text is read
    // Items held in memory at most; beyond, they all go through the work file, read back once.
    // Negative: a quarter of the machine's memory.
    std::int64_t itemsEnMemoire = -1;
    // Threads that read the text at once (0: as many as the machine runs), each taking up to
    // octetsParFil bytes at a time; a text shorter than that is read on the calling thread. The
    // base files are the same whatever the number.
    unsigned fils = 0;
    std::int64_t octetsParFil = std::int64_t{2} << 20;
};

// Segments the text; on any failure nothing of the new base is left on disk (earlier base files of
// the same name stay as they were) and the trace file says why. A text that ExamineTexte refuses is
// refused before anything is written (for a reserved name, not even the trace).
//
// The new base files are written whole and flushed to disk under temporary names, then renamed in
// the order .num, .dic, .par; a rename that fails puts the earlier files back. A run stopped between
// two renames leaves files of two segmentations, which the loader refuses (their frequencies
// disagree) rather than showing a wrong text; the next run in the folder removes its leftovers.
// A progress callback or the watch that throws (CalculInterrompu) stops the run before the base
// is published: the exception goes through and nothing of the new base is left.
ResultatSegm SegmPrinc(const char *cheminTexte, const ParametresSegm &parametres);

// A French sentence for the user (UTF-8) describing a segmentation result.
const char *MessageSegmentation(ResultatSegm resultat);

// The base name the segmenter gives a text: its file name without folder and last extension.
std::string NomBaseDeTexte(const std::string &cheminTexte);
