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
    TexteIllisible,        // the text cannot be opened
    TravailIllisible,      // the work file "xxxx.txn" cannot be created or read back
    FichierBase,           // a base file cannot be written
    TropDArticles,         // more articles than the maximum number of articles
    ReserveGraphies,       // the spelling pool (40 bytes per article) is full
    CleTropLongue,         // a key type or content of more than 126 characters
    CleVide,               // a key type or content that is empty
    CleIllisible,          // a key type or content holding a control character (a line break...)
    CleInachevee,          // a '<' whose marker the text ends before closing
    TropDItems,            // a count beyond 32 bits
    MemoireInsuffisante,   // the tables cannot be allocated
};

struct ParametresSegm {
    std::string delimiteurs;             // delimiter characters typed by the user
    std::int32_t maxArt = MaxArtDefaut;  // maximum number of articles, sizes every table
    FnProgression progression = nullptr; // called with 0 about a hundred times while the text is read
};

// Segments the text; on any failure nothing of the new base is left on disk (earlier base files of
// the same name stay as they were) and the trace file says why.
ResultatSegm SegmPrinc(const char *cheminTexte, const ParametresSegm &parametres);

// A French sentence for the user (UTF-8) describing a segmentation result.
const char *MessageSegmentation(ResultatSegm resultat);

// The base name the segmenter gives a text: its file name without folder and last extension.
std::string NomBaseDeTexte(const std::string &cheminTexte);
