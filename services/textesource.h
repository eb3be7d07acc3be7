// What the workbench checks on a text before it segments it: whether it is UTF-8 (the segmenter
// reads the display code page, so "très" would become "trÃ¨s"), its conversion into a new file,
// and whether it holds any word form at all.
#pragma once

#include <QString>

#include <cstdint>
#include <string>
#include <string_view>

namespace talmer {

class CodePage;

// Follows a byte stream, given in pieces, and tells whether it is valid UTF-8 (no overlong form,
// no surrogate, nothing beyond U+10FFFF, no sequence cut at the end) and holds a non-ASCII byte.
class ValideurUtf8 {
public:
    void Ajoute(std::string_view octets);
    bool Valide() const { return valide_ && reste_ == 0; }
    bool NonAscii() const { return nonAscii_; }
    // A byte that no continuation can make valid was met (a cut sequence is not yet that).
    bool Rompu() const { return !valide_; }

private:
    int reste_ = 0;
    unsigned char bas_ = 0x80, haut_ = 0xBF;
    bool valide_ = true;
    bool nonAscii_ = false;
};

// Converts a UTF-8 byte stream, given in pieces, into a code page: a character cut between two
// pieces waits for the next one, a byte-order mark at the start is dropped, and each character
// the code page lacks becomes '?' and is counted.
class ConvertisseurUtf8 {
public:
    explicit ConvertisseurUtf8(const CodePage &codePage) : codePage_(codePage) {}
    std::string Convertit(std::string_view octets);
    // What is left at the end of the stream.
    std::string Termine();
    std::int64_t Manquants() const { return manquants_; }

private:
    std::string convertitAttente(std::size_t fin);

    const CodePage &codePage_;
    std::string attente_;
    bool debut_ = true;
    std::int64_t manquants_ = 0;
};

// True when the file is valid UTF-8 holding at least one non-ASCII byte (a pure ASCII text reads
// the same in every code page and needs nothing). False too when it cannot be read.
bool EstTexteUtf8(const QString &chemin);

// The name of the converted copy, beside the user's text: its name with "_cp" and the code page
// added before the extension ("discours.txt" gives "discours_cp1252.txt"), then "-2", "-3"...
// until the name is free.
QString NomTexteConverti(const QString &chemin, const std::string &codePage);

struct ResultatConversion {
    QString chemin;              // the new file, empty on failure
    std::int64_t manquants = 0;  // characters the code page cannot hold, written as '?'
    QString erreur;              // in French, when the conversion failed
};

// Writes the UTF-8 text converted into the code page into a new file (NomTexteConverti), never
// over an existing one; a byte-order mark at the start is dropped. On failure nothing is left.
ResultatConversion ConvertitTexteUtf8(const QString &chemin, const CodePage &codePage);

enum class FormesDuTexte {
    AuMoinsUne,    // the segmenter will find a word form
    Aucune,        // only blanks, control bytes, key markers and delimiters
    CleInachevee,  // a key marker that the text ends before closing: for the key checker to say
    Illisible,     // the text cannot be read
};

// Looks for a word form as the segmenter reads the text: bytes up to the blank separate words,
// '<' opens a key marker closed by '=' then '>', and '>' and the given delimiters are
// punctuation; any other byte outside a marker starts a form.
FormesDuTexte ChercheForme(const QString &chemin, std::string_view delimiteurs);

} // namespace talmer
