// Reading the paragraphs of a Word document (.doc) with the Debian tools antiword or catdoc.
//
// antiword is asked first: it keeps empty paragraphs, so paragraph numbers are those of the word
// processor. It refuses documents whose text is stored in the small-stream area (short documents
// written by some word processors); catdoc, which reads them, is then asked, but only for a file
// that really is a compound document, since catdoc copies any other file to its output unchanged.
// catdoc drops empty paragraphs.
#pragma once

#include <QString>

#include <functional>
#include <string>
#include <vector>

namespace talmer::platform {

enum class OutilWord {
    Automatique, // antiword, then catdoc for what antiword cannot read
    Antiword,
    Catdoc,
};

struct LectureWord {
    bool ok = false;
    // The paragraphs in document order, each without its paragraph mark.
    std::vector<QString> paragraphes;
    // French, for the user, when !ok.
    QString erreur;
};

// Unicode to the 8-bit display code page.
using VersPageAffichage = std::function<std::string(const QString &)>;

struct LectureWord8 {
    bool ok = false;
    std::vector<std::string> paragraphes; // display code page, without paragraph mark
    QString erreur;
};

// Longest time one document may take before the reading is given up.
inline constexpr int DelaiLectureWordMs = 120000;

LectureWord LitParagraphesWord(const QString &chemin, OutilWord outil = OutilWord::Automatique);

// The same, each paragraph converted to the display code page.
LectureWord8 LitParagraphesWord(const QString &chemin, const VersPageAffichage &conversion,
                                OutilWord outil = OutilWord::Automatique);

// True when the file starts with the signature of a compound (OLE) document.
bool EstDocumentComposite(const QString &chemin);

} // namespace talmer::platform
