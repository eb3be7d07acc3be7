// Corpus building: several .txt and .doc files gathered into one corpus text, each preceded by a
// key marker that names it, so that each file becomes one part of a partition on that key.
//
// This is the computation behind the "Création de Corpus" window: which files, their part names
// and the bytes of the corpus file. It needs no screen.
#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class QIODevice;

namespace talmer {

class CodePage;

// Kinds of source file.
enum TypeFic : std::int32_t {
    FicInconnu = 0, // copied byte for byte, like a text
    FicTexte = 1,   // ".txt"
    FicWord = 2,    // ".doc": read paragraph by paragraph
};

// Longest part name, in characters.
inline constexpr int LongueurNomFic = 40;

// One source file.
struct Fic {
    // The part name: the file's name up to its first ".", at most 40 characters, blanks turned
    // into "_"; bytes of the display code page.
    std::string nom;
    // The full path as chosen.
    QString chemin;
    // Size in bytes; -1 when the file cannot be opened.
    std::int32_t taille = -1;
    std::int32_t type = FicInconnu;
};

// The part name of a file, before conversion: the name without folder, cut before its first ".",
// at most 40 characters, each blank (and each character that would break the marker: "<", ">",
// "=", control characters) turned into "_". A name without "." is taken whole; leading dots are
// passed over, and a name left empty becomes "fichier".
QString NomDePartie(const QString &chemin);
// 1 for ".txt", 2 for ".doc" (extension compared in lower case), else 0.
std::int32_t TypeDeFichier(const QString &chemin);
// Size in bytes, -1 when the file cannot be opened (larger than 2^31-1 bytes: 2^31-1).
std::int32_t TailleDeFichier(const QString &chemin);

// Paragraph markers of a Word document.
struct OptionsWord {
    bool traitement = false;          // "Traitement des paragraphes"
    bool parCle = false;              // true: "Clé :", false: "Caractère spécial :"
    std::string caractere = "\xB6";   // "¶" in the display code page
    std::string cle = "parag";
};

// The marker written before each paragraph: "" (none), the special character followed by a line
// feed, or "<" + key + "=" (a key marker, numbered per paragraph).
std::string MarqueurDeParagraphe(const OptionsWord &options);

// What reads a Word document: its paragraphs in order, in the display code page, each without its
// paragraph mark. Returns false with a French message when the document cannot be read.
using LecteurWord = std::function<bool(const QString &chemin, std::vector<std::string> &paragraphes,
                                       QString &erreur)>;
// Unicode to the display code page.
using ConversionPage = std::function<std::string(const QString &)>;

class CreationCorpus {
public:
    CreationCorpus(ConversionPage versPage, LecteurWord lecteur);

    // Adds one source; false when a source with exactly the same path string is listed already.
    // Two sources whose names give the same part name get distinct names ("_2", "_3"... added).
    bool Ajoute(const QString &chemin);
    // Removes the source at index i (nothing when i is out of range).
    void Retire(int i);
    const std::vector<Fic> &Fichiers() const { return fics_; }

    // With exactly one source, a text file, that file is the corpus itself and nothing is
    // written: its path; otherwise "".
    QString FichierUnique() const;

    // Checks a key type typed by the user, in the display code page: not empty, no blank, no
    // "<", ">", "=" and no control character. "" when it will do, else the French reason.
    static QString VerifieTypeCle(const std::string &type);
    // Checks a paragraph marker: a marker that starts with "<" must be "<" + a key type + "=".
    static QString VerifieMarqueur(const std::string &marqueur);

    // Writes the corpus file: for each source in order, the line "<" + key type + "=" + name +
    // ">", the source's text, and a line feed; every line feed stored as CR LF. The file is
    // written under a temporary name in the destination's folder and renamed once complete, so
    // a failure leaves no partial corpus. Returns "" on success, else the French reason.
    QString Ecrit(const QString &destination, const std::string &typeCle, const std::string &marqueur) const;

    // Writes the corpus into an open device (what Ecrit writes into its temporary file).
    // Returns "" on success, else the French reason.
    QString EcritDans(QIODevice &sortie, const std::string &typeCle, const std::string &marqueur) const;

    // When given, text sources written in UTF-8 are converted into this code page as they are
    // copied (the sources themselves never change); each character it lacks becomes '?' and is
    // counted. Null: every source is copied as it is.
    void FixeConversionUtf8(const CodePage *codePage) { conversionUtf8_ = codePage; }
    // The text sources (Word documents aside) that are written in UTF-8.
    QStringList SourcesUtf8() const;
    // Characters the code page lacked during the last writing.
    std::int64_t CaracteresManquants() const { return manquants_; }

    // Called after each source has been written (index of the source, number of sources), so
    // that a window can show progress during long work.
    void FixeAvancement(std::function<void(int, int)> avance) { avance_ = std::move(avance); }

private:
    std::string NomUnique(const QString &nom) const;
    QString EcritFic(QIODevice &sortie, const Fic &fic, const std::string &typeCle,
                     const std::string &marqueur) const;

    ConversionPage versPage_;
    LecteurWord lecteur_;
    std::function<void(int, int)> avance_;
    std::vector<Fic> fics_;
    const CodePage *conversionUtf8_ = nullptr;
    mutable std::int64_t manquants_ = 0;
};

} // namespace talmer
