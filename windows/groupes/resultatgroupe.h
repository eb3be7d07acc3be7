// What the group-of-forms window builds, apart from how it shows it: the result (entity numbers
// in insertion order, each once), the five kinds of request, and the form lists (.lst) it saves
// and loads. No widget here: tests drive it on a small base.
#pragma once

#include "engine/segrep.h"

#include <QString>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

class charg1;

namespace talmer {

// The request types, in the order of the window's list.
enum class TypeRequete : int {
    Exacte = 0,     // "est exactement ce que je recherche": the spelling itself
    Debut = 1,      // "est le début de ce que je recherche"
    Fin = 2,        // "est la fin de ce que je recherche"
    Contenu = 3,    // "est contenu dans ce que je recherche"
    Expression = 4, // "est une expression rationnelle"
};

// What a search did.
struct BilanRecherche {
    std::int32_t trouves = 0;      // entities the request named (already in the result or not)
    std::int32_t ajoutes = 0;      // numbers added to the result
    bool motifValide = true;       // false: the expression did not compile, nothing was searched
    std::string erreurMotif;       // PCRE2's message when it did not compile
    std::size_t positionErreur = 0; // byte offset of the fault in the pattern as typed
    std::int32_t echecs = 0;       // subjects the expression could not decide (not matches)
    std::string messageEchec;      // PCRE2's message for the first of them
};

// What saving a list did.
struct BilanSauvegarde {
    bool ecrit = false;             // the file was written whole
    QString erreur;                 // why not, in French
    std::int32_t lignes = 0;        // lines written
    std::int32_t segmentsOmis = 0;  // segment numbers that name no attached segment now
};

// What loading a list did.
struct BilanChargement {
    bool lu = false;                // the file could be read
    QString erreur;                 // why not, in French
    std::int32_t lignes = 0;        // non-empty lines read
    std::int32_t ajoutes = 0;       // numbers added to the result
    std::int32_t inconnues = 0;     // lines that name nothing on the base
};

class ResultatGroupe {
public:
    // base: the open base the window searches (not owned; outlives the object).
    explicit ResultatGroupe(charg1 *base);

    charg1 *Base() const { return base_; }
    const std::vector<std::int32_t> &Entites() const { return entites_; }
    std::int32_t Taille() const { return static_cast<std::int32_t>(entites_.size()); }

    // Appends n unless it is there already; true when appended.
    bool AjouteResultat(std::int32_t n);
    // Appends each number in order (duplicates skipped); the number appended.
    std::int32_t AjouteResultats(const std::vector<std::int32_t> &entites);
    void Vide();
    // Keeps only the rows not listed (rows outside the result are ignored), in their order.
    void SupprimeLignes(const std::vector<int> &lignes);
    // The base's repeated segments have been computed again: `correspondance` gives for each
    // segment of the set replaced its index in the new one, or -1. The result keeps its segments
    // under their new numbers and drops those the new set lacks.
    BilanRenumerotation RemplaceSegments(const std::vector<std::int32_t> &correspondance);

    // Runs a request with the pattern as typed (already trimmed) and adds what it finds; without
    // `ajoute` the result is replaced by it. Type 0 looks the spelling up byte for byte; types 1
    // to 4 compile the expression ExpressionDe gives, for the code page, where the pattern keeps
    // its meaning as a regular expression. An expression that does not compile searches nothing
    // and leaves the result as it was, replaced or not.
    BilanRecherche Recherche(std::string_view motif, TypeRequete type, const std::string &codePage,
                             bool ajoute = true);

    // The text and frequency of row i: a form, punctuation mark or key by its spelling, a
    // repeated segment by its forms each followed by a blank. A segment number beyond the
    // segments attached now gives "" and -1 (the row is left empty), as does a row outside the
    // result.
    std::string Graphie(int ligne) const;
    std::int32_t Frequence(int ligne) const;

    // The .lst file: one line per number in result order, a spelling (a segment as its forms
    // each followed by a blank), each line ending in CR LF. Written under a temporary name and
    // renamed; segment numbers that name no attached segment are counted, not written.
    BilanSauvegarde SauveListe(const QString &chemin) const;
    // Reads a .lst file (CR LF or LF) and adds, in file order, what each line names: a form or
    // punctuation mark, else an attached segment, else a key type or value (exact bytes, no
    // trimming). Empty lines are skipped; other lines that name nothing are counted.
    BilanChargement ChargeListe(const QString &chemin);

private:
    charg1 *base_;
    std::vector<std::int32_t> entites_;
    std::unordered_set<std::int32_t> presents_;
};

// The regular expression of a request of type 1 to 4 on pattern p: "^" p ".*" (begins),
// ".*" p "$" (ends), ".*" p ".*" (contains), p itself; p is not escaped. `avant` is the number of
// bytes put before p, so that a fault found in the expression is placed in the pattern.
struct ExpressionDeRequete {
    std::string texte;
    std::size_t avant = 0;
};
ExpressionDeRequete ExpressionDe(std::string_view motif, TypeRequete type);

// The text a dropped group gives the name or pattern field: its first entity's spelling (a
// segment as its forms each followed by a blank), "" for a group of no entity.
std::string TexteDuGroupe(const charg1 &base, const std::vector<std::int32_t> &entites);

} // namespace talmer
