// The corpus a benchmark measures: a base generated from a few parameters, written straight as
// .par/.dic/.num files in a fresh temporary folder (which becomes the current directory) and
// loaded, or an existing base loaded from its folder.
//
// Word forms follow a Zipf law (exponent 1) over their ranks; in each part a share of the draws
// comes from a Zipf law over a rotated ranking, so that every part has forms of its own and the
// specificities have something to find. A full stop follows every 12th word, a line break every
// 15th. Key types, each with its number of values, open zones at regular intervals in value
// order (a chronological corpus).
#pragma once

#include "bench/commun/mesure.h"
#include "engine/charg1.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace bench {

struct CleGeneree {
    std::string type;    // key type spelling
    int valeurs;         // number of distinct values, one zone each, in order
};

struct Parametres {
    std::int64_t occurrences = 10'000'000;
    int formes = 5000;                 // forms that may be drawn (nearly all are)
    std::vector<CleGeneree> cles = {{"partie", 50}};
    double partPropre = 0.15;          // share of draws from the part's own ranking
    // When above 0, every copieToutesLes-th part of the first key (the last of each run of that
    // many) repeats word for word the words of the part copieToutesLes - 2 before it, as corpora
    // of documents that quote or reprint one another do.
    int copieToutesLes = 0;
    std::uint32_t graine = 20260101;
};

// A fresh temporary folder, the current directory while the object lives; the folder and all it
// holds are removed with the object and the former current directory comes back.
class DossierTemporaire {
public:
    DossierTemporaire();
    ~DossierTemporaire();
    DossierTemporaire(const DossierTemporaire &) = delete;
    DossierTemporaire &operator=(const DossierTemporaire &) = delete;

private:
    std::filesystem::path ancien_, chemin_;
};

// Writes the corpus as a text to segment (Windows-1252, CR LF): the forms by their spellings
// separated by blanks, the full stops, the line breaks, the key markers <type=value>.
void EcritTexte(const Parametres &p, const std::string &chemin);

// Writes <nom>.par, .dic and .num in the current directory and loads the base; the program ends
// when it cannot be loaded.
std::unique_ptr<charg1> GenereBase(const Parametres &p, const std::string &nom = "bench");

// An existing base (.par), loaded from its folder, which becomes the current directory; the
// program ends when it cannot be loaded.
std::unique_ptr<charg1> ChargeBaseExistante(const std::string &par);

// The key type of that spelling (-1 when the base has none): forms may have the same spelling.
std::int32_t TypeDeCle(const charg1 &base, const std::string &type);

// The base a benchmark measures, with the folder it lives in.
struct Corpus {
    // Generated from p in a fresh temporary folder, which is the current directory until the end.
    explicit Corpus(const Parametres &p);
    // An existing base (.par) loaded from its own folder (see ChargeBaseExistante).
    explicit Corpus(const char *par);

    std::optional<DossierTemporaire> dossier;  // a generated base's folder; it outlives the base
    std::unique_ptr<charg1> base;
    Temps preparation;                         // generating (for a generated base) and loading
};

// Prints "corpus: <items> items, <occurrences> occurrences, <forms> forms, generated and loaded
// in <secondes> s".
void LigneCorpus(const charg1 &base, double secondes);

} // namespace bench
