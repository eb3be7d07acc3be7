// Small helpers shared by the windows: JPEG pictures for the report, string cutting and
// escaping, file tests, HTML colours, safe file names.
#pragma once

#include <QString>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class QColor;
class QImage;

namespace talmer {
struct EchecEcriture;
}

// Encodes the image as a JPEG file at the given quality (1 to 100; the windows pass 30) with
// libjpeg, every other encoder setting at its default. The file is written under a temporary
// name in the same folder and renamed when complete. Returns false, with the reason in French in
// *erreur, when the image is empty or the file cannot be written; nothing is left behind then.
bool SauveBitmapJpeg(const QImage &image, const QString &fichier, int qualite,
                     QString *erreur = nullptr);

// Why a file could not be written, in the interface's language: the program's own text for the
// common reasons (through the catalogue), the system's own text for any other.
QString RaisonEcriture(const talmer::EchecEcriture &echec);
// The message of a failed write: the file, then the reason (RaisonEcriture).
QString MessageEcriture(const talmer::EchecEcriture &echec);

// Appends to `jetons`, in order, every maximal run of characters of `texte` not in
// `delimiteurs`; delimiters at the ends or in runs give no empty token. `jetons` is not cleared.
void DecoupeChaine(std::string_view texte, std::string_view delimiteurs,
                   std::vector<std::string> &jetons);

// A copy of `texte` with a backslash before each of \ { | } ~ (pattern-safe spelling).
std::string EchappeCaracteres(std::string_view texte);

// True when a file-status query on the path succeeds (a folder counts as existing).
bool FichierExiste(const std::string &chemin);
bool FichierExiste(const QString &chemin);

// "#rrggbb" in lower-case hexadecimal. The 32-bit form holds red in its lowest byte, then green,
// then blue, the packing in which the part and group colours are kept.
std::string CouleurHtml(std::uint32_t couleur);
std::string CouleurHtml(const QColor &couleur);

// The value of a C integer literal at the start of `texte`: leading blanks skipped, optional sign,
// "0x" hexadecimal, leading "0" octal, else decimal; reading stops at the first character that
// does not fit; no digit gives 0; a value beyond the 32-bit range gives the nearest bound.
std::int32_t EntierLitteralC(std::string_view texte);

// A file-name component made from any bytes (a key's spelling, a name typed by the user): ASCII
// letters, digits and '-' are kept, every other byte becomes '_' and two lower-case hexadecimal
// digits. The result holds no separator, no dot, no blank and no control byte, and two different
// inputs never give the same result.
std::string NomDeFichierSur(std::string_view texte);

// Text inserted into an HTML or XML page as element content: & < > become character references,
// every other byte (code page unchanged, double quotes included) is copied.
std::string EchappeTexte(std::string_view texte);
inline std::string EchappeTexte(const char *texte) { return EchappeTexte(std::string_view(texte ? texte : "")); }
void AjouteTexteEchappe(std::string &sortie, std::string_view texte);
// The same for a Unicode text (a window's caption, a name typed by the user).
QString EchappeTexte(const QString &texte);
// Text inserted into an attribute value between double quotes: & < > and " become references.
std::string EchappeAttribut(std::string_view texte);
